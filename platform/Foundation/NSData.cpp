#include "Foundation/NSData.h"

#include <functional>

#include "ObjectModel/ClassBuilder.h"

Ref<NSData> NSData::dataWithBytesImp(Class cls, const void* bytes, NSUInteger length) {
    return make<NSData>(cls, &NSData::initWithBytes, bytes, length);
}

NSData* NSData::initWithBytesImp(const void* bytes, NSUInteger length) {
    if (length) _bytes.assign(static_cast<const char*>(bytes), length);
    return this;
}

const void* NSData::bytesImp() {
    return _bytes.data();
}

NSUInteger NSData::lengthImp() {
    return _bytes.size();
}

bool NSData::isEqualImp(NSObject* other) {
    const NSData* data = as<NSData>(other);
    return data && data->_bytes == _bytes;
}

unsigned long NSData::hashImp() {
    return std::hash<std::string>{}(_bytes);
}

OBJC_IMPLEMENT_LOADED_CLASS(NSData)
