#include "Foundation/CFKeyedArchiverUID.h"

#include "ObjectModel/ClassBuilder.h"

Ref<CFKeyedArchiverUID> CFKeyedArchiverUID::uidWithValueImp(Class cls, std::uint64_t value) {
    return make<CFKeyedArchiverUID>(cls, &CFKeyedArchiverUID::initWithValue, value);
}

CFKeyedArchiverUID* CFKeyedArchiverUID::initWithValueImp(std::uint64_t value) {
    _value = value;
    return this;
}

std::uint64_t CFKeyedArchiverUID::valueImp() {
    return _value;
}

bool CFKeyedArchiverUID::isEqualImp(NSObject* other) {
    const CFKeyedArchiverUID* uid = as<CFKeyedArchiverUID>(other);
    return uid && uid->_value == _value;
}

unsigned long CFKeyedArchiverUID::hashImp() {
    return _value;
}

OBJC_IMPLEMENT_LOADED_CLASS(CFKeyedArchiverUID)
