#include "Foundation/NSData.h"

#include <functional>

#include "objc/ClassBuilder.h"

Ref<NSData> NSData::dataWithBytes(const void* bytes, NSUInteger length) {
    std::string_view view =
        length ? std::string_view(static_cast<const char*>(bytes), length) : std::string_view();
    return make<NSData>(&NSData::initWithBytes, view);
}

NSData* NSData::initWithBytes(std::string_view bytes) {
    _bytes.assign(bytes);
    return this;
}

bool NSData::isEqual(NSObject* other) {
    const NSData* data = as<NSData>(other);
    return data && data->_bytes == _bytes;
}

unsigned long NSData::hash() const {
    return std::hash<std::string>{}(_bytes);
}

const ClassInfo& NSData::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSData>()
                                      .method<"isEqual:", &NSData::isEqual>()
                                      .method<"hash", &NSData::hash>()
                                      .build();
    return info;
}
