// Arbitrary bytes into the property-list reader that dictionaries and the
// defaults store use. Whatever it reads and can write again must read back.
#include <cstdint>
#include <cstdlib>

#include "Foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    Ref<NSObject> value = propertyListFromBytes({reinterpret_cast<const char*>(data), size}, error);
    if (!value) return 0;
    std::optional<std::string> xml = xmlPropertyList(value, error);
    if (xml && !propertyListFromBytes(*xml, error)) std::abort();
    return 0;
}
