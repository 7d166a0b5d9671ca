// Arbitrary bytes into one property-list reader (FUZZ_READER names it).
// Whatever it reads must write in binary and read back to the same bytes,
// and write as XML that reads back, unless XML cannot carry a value.
#include <cstdint>
#include <cstdlib>

#include "Foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    Ref<NSObject> value = FUZZ_READER({reinterpret_cast<const char*>(data), size}, error);
    if (!value) return 0;
    std::optional<std::string> binary = binaryPropertyList(value, error);
    if (!binary) std::abort();
    Ref<NSObject> again = readBinaryPropertyList(*binary, error);
    if (!again || binaryPropertyList(again, error) != binary) std::abort();
    WriteRefusal refusal = WriteRefusal::NotPropertyList;
    std::optional<std::string> xml = xmlPropertyList(value, error, &refusal);
    if (xml ? !readXMLPropertyList(*xml, error) : refusal != WriteRefusal::FormatLimit)
        std::abort();
    return 0;
}
