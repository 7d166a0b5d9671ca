#include "Foundation/NSString.h"

#include <cstdarg>
#include <cstdlib>
#include <functional>
#include <vector>

#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"

NSUInteger utf16Length(std::string_view utf8) {
    NSUInteger units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) ++units; // a lead byte starts a code point
        if ((c & 0xF8) == 0xF0) ++units; // four-byte sequences need a surrogate pair
    }
    return units;
}

Ref<NSString> NSString::stringWithUTF8String(const char* text) {
    if (!text) return nullptr;
    return string(text);
}

Ref<NSString> NSString::string(std::string_view utf8) {
    return make<NSString>(&NSString::initWithUTF8, utf8);
}

Ref<NSString> NSString::stringWithFormat(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(size > 0 ? size : 0, '\0');
    if (size > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return string(text);
}

NSString* NSString::initWithUTF8(std::string_view utf8) {
    _utf8.assign(utf8);
    _length = utf16Length(_utf8);
    _hash = std::hash<std::string>{}(_utf8);
    return this;
}

bool NSString::isEqualToString(const NSString* other) const {
    return other && (other == this || (other->_hash == _hash && other->_utf8 == _utf8));
}

bool NSString::isEqual(NSObject* other) {
    const NSString* text = as<NSString>(other);
    return isEqualToString(text);
}

float NSString::floatValue() const {
    return std::strtof(_utf8.c_str(), nullptr);
}

bool NSString::boolValue() const {
    return _utf8 == "YES" || _utf8 == "true" || _utf8 == "1";
}

Ref<NSString> describe(objc_object* object) {
    if (!object) return "(null)"_ns;
    if (NSString* text = as<NSString>(object)) return text;
    if (NSNumber* number = as<NSNumber>(object)) return number->stringValue();
    return NSString::stringWithFormat("<%s: %p>", object_getClassName(object),
                                      static_cast<void*>(object));
}

const ClassInfo& NSString::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSString>()
                                      .method<"isEqual:", &NSString::isEqual>()
                                      .method<"hash", &NSString::hash>()
                                      .build();
    return info;
}
