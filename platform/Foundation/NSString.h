// Immutable text. Absent is not empty: a nil NSString* is no string at all.
// length counts UTF-16 code units, as the platform does.
#pragma once

#include <string>
#include <string_view>

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/FixedString.h"
#include "ObjectModel/NSObject.h"

struct NSString : NSObject {
    OBJC_CLASS(NSString, NSObject)

    static Ref<NSString> stringWithUTF8String(const char* text); // nil for nullptr
    static Ref<NSString> string(std::string_view utf8);
    static Ref<NSString> stringWithFormat(const char* format, ...)
        __attribute__((format(printf, 1, 2)));

    NSString* initWithUTF8(std::string_view utf8);

    const std::string& utf8() const { return _utf8; }
    const char* UTF8String() const { return _utf8.c_str(); }
    NSUInteger length() const { return _length; }
    bool isEqualToString(const NSString* other) const;
    float floatValue() const;
    bool boolValue() const;

    // Messages.
    bool isEqual(NSObject* other);
    unsigned long hash() const { return _hash; }

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
        NSString* s = alloc<NSString>()->initWithUTF8({Text.data, Text.length});
        s->makeImmortal();
        return s;
    }();
    return literal;
}

// What a value looks like as text: strings as they are, numbers as the
// platform prints them, anything else by class name; nil as "(null)".
Ref<NSString> describe(objc_object* object);
