#include "Foundation/NSString.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include "Foundation/NSNumber.h"
#include "Foundation/PropertyListSupport.h"
#include "ObjectModel/ClassBuilder.h"

NSUInteger utf16Length(std::string_view utf8) {
    NSUInteger units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) ++units; // a lead byte starts a code point
        if ((c & 0xF8) == 0xF0) ++units; // four-byte sequences need a surrogate pair
    }
    return units;
}

namespace {

// UTF-16 as UTF-8; refused for an odd length or an unpaired surrogate.
Result<std::string> utf8FromUTF16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2) return Problem{"UTF-16 of an odd length"};
    std::string units(bytes);
    if (!bigEndian)
        for (std::size_t i = 0; i < units.size(); i += 2)
            std::swap(units[i], units[i + 1]);
    return plist::utf16ToUTF8(reinterpret_cast<const unsigned char*>(units.data()),
                              units.size() / 2);
}

Result<std::string> utf8Of(std::string_view bytes, NSStringEncoding encoding) {
    auto starts = [&](std::string_view mark) { return bytes.substr(0, 2) == mark; };
    switch (encoding) {
    case NSUTF8StringEncoding:
        return std::string(bytes);
    case NSUTF16BigEndianStringEncoding:
        return utf8FromUTF16(bytes, true);
    case NSUTF16LittleEndianStringEncoding:
        return utf8FromUTF16(bytes, false);
    case NSUTF16StringEncoding:
        if (starts("\xFF\xFE")) return utf8FromUTF16(bytes.substr(2), false);
        return utf8FromUTF16(starts("\xFE\xFF") ? bytes.substr(2) : bytes, true);
    default:
        return Problem{"an encoding other than UTF-8 and UTF-16"};
    }
}

} // namespace

Ref<NSString> NSString::stringWithUTF8StringImp(Class cls, const char* text) {
    return make<NSString>(cls, &NSString::initWithUTF8String, text);
}

NSString* NSString::initWithUTF8StringImp(const char* text) {
    if (!text) return nullptr;
    return initWithBytes(text, std::strlen(text), NSUTF8StringEncoding);
}

NSString* NSString::initWithBytesImp(const void* bytes, NSUInteger length,
                                     NSStringEncoding encoding) {
    Result<std::string> text =
        utf8Of(std::string_view(static_cast<const char*>(bytes), length), encoding);
    if (!text) return nullptr;
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _utf8 = std::move(*text);
    _length = utf16Length(_utf8);
    _hash = std::hash<std::string>{}(_utf8);
    return this;
}

Ref<NSString> NSString::string(std::string_view utf8) {
    return make<NSString>(&NSString::initWithBytes, utf8.data(), utf8.size(), NSUTF8StringEncoding);
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

const char* NSString::UTF8StringImp() {
    return _utf8.c_str();
}

NSUInteger NSString::lengthImp() {
    return _length;
}

bool NSString::isEqualToStringImp(const NSString* other) {
    return other && (other == this || (other->_hash == _hash && other->_utf8 == _utf8));
}

bool NSString::isEqualImp(NSObject* other) {
    return isEqualToString(as<NSString>(other));
}

unsigned long NSString::hashImp() {
    return _hash;
}

float NSString::floatValueImp() {
    return std::strtof(_utf8.c_str(), nullptr);
}

bool NSString::boolValueImp() {
    return _utf8 == "YES" || _utf8 == "true" || _utf8 == "1";
}

Ref<NSString> describe(objc_object* object) {
    if (!object) return "(null)"_ns;
    if (NSString* text = as<NSString>(object)) return text;
    if (NSNumber* number = as<NSNumber>(object)) return number->stringValue();
    return NSString::stringWithFormat("<%s: %p>", object_getClassName(object),
                                      static_cast<void*>(object));
}

OBJC_IMPLEMENT_LOADED_CLASS(NSString)
