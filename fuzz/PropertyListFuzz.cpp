// Arbitrary bytes into one property-list reader (FUZZ_READER names it).
// Whatever it reads must write in binary and read back to the same bytes,
// and write as XML that reads back, unless XML cannot carry a value.
#include <cstdint>
#include <cstdlib>

#include "Foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<Ref<NSObject>> value = FUZZ_READER({reinterpret_cast<const char*>(data), size});
    if (!value) return 0;
    Result<std::string> binary = binaryPropertyList(*value);
    if (!binary) std::abort();
    Result<Ref<NSObject>> again = readBinaryPropertyList(*binary);
    Result<std::string> rewritten = again ? binaryPropertyList(*again) : Problem{};
    if (!rewritten || *rewritten != *binary) std::abort();
    WriteRefusal refusal = WriteRefusal::NotPropertyList;
    Result<std::string> xml = xmlPropertyList(*value, &refusal);
    if (xml ? !readXMLPropertyList(*xml) : refusal != WriteRefusal::FormatLimit) std::abort();
    return 0;
}
