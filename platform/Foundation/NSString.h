// Immutable text. Absent is not empty: a nil NSString* is no string at all.
// length counts UTF-16 code units, as the platform does.
#pragma once

#include <string>
#include <string_view>

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/FixedString.h"
#include "ObjectModel/NSObject.h"

// Text encodings: the strings here hold UTF-8, and are made from UTF-8 or
// UTF-16 (NSUTF16StringEncoding: a byte-order mark decides the order and is
// dropped; big endian without one).
using NSStringEncoding = NSUInteger;
inline constexpr NSStringEncoding NSUTF8StringEncoding = 4;
inline constexpr NSStringEncoding NSUTF16StringEncoding = 10;
inline constexpr NSStringEncoding NSUTF16BigEndianStringEncoding = 0x90000100;
inline constexpr NSStringEncoding NSUTF16LittleEndianStringEncoding = 0x94000100;

struct NSString : NSObject {
    OBJC_CLASS(NSString, NSObject)

    // nil for a null pointer.
    OBJC_CLASS_METHOD(Ref<NSString>, stringWithUTF8String, "stringWithUTF8String:", const char*)
    OBJC_METHOD(NSString*, initWithUTF8String, "initWithUTF8String:", const char*)
    // nil for another encoding, and for UTF-16 that is malformed (an odd
    // length, a lone surrogate).
    OBJC_METHOD(NSString*, initWithBytes, "initWithBytes:length:encoding:", const void*, NSUInteger,
                NSStringEncoding)

    OBJC_METHOD(const char*, UTF8String, "UTF8String")
    OBJC_METHOD(NSUInteger, length, "length")
    OBJC_METHOD(bool, isEqualToString, "isEqualToString:", const NSString*)
    OBJC_METHOD(float, floatValue, "floatValue")
    OBJC_METHOD(bool, boolValue, "boolValue")
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

    // C++ helpers, not messages: a string of any bytes (NULs included), and
    // text formatted by printf's rules (a variadic message cannot travel
    // through a typed send, so the text is formatted here and the string
    // made by message).
    static Ref<NSString> string(std::string_view utf8);
    static Ref<NSString> stringWithFormat(const char* format, ...)
        __attribute__((format(printf, 1, 2)));

    // The text and its hash for C++ readers (not messages).
    const std::string& utf8() const { return _utf8; }
    unsigned long utf8Hash() const { return _hash; }

  private:
    std::string _utf8;
    NSUInteger _length = 0;
    unsigned long _hash = 0;
};

// Counts the UTF-16 code units of UTF-8 text.
NSUInteger utf16Length(std::string_view utf8);

// A string literal as a shared, immortal NSString: "TVLSWitch1"_ns.
template <FixedString Text> NSString* operator""_ns() {
    static NSString* const literal = [] {
        NSString* s =
            alloc<NSString>()->initWithBytes(Text.data, Text.length, NSUTF8StringEncoding);
        s->makeImmortal();
        return s;
    }();
    return literal;
}

// What a value looks like as text: strings as they are, numbers as the
// platform prints them, anything else by class name; nil as "(null)".
Ref<NSString> describe(objc_object* object);
