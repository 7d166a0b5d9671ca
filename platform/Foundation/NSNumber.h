// A number that remembers its kind: boolean, integer, float or double are
// kept apart, as property lists keep them. numberWithBool: answers two shared
// objects, as the platform does.
#pragma once

#include <cstdint>

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/NSObject.h"

struct NSString;

struct NSNumber : NSObject {
    OBJC_CLASS(NSNumber, NSObject)

    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithBool, "numberWithBool:", bool)
    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithInt, "numberWithInt:", int)
    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithInteger, "numberWithInteger:", NSInteger)
    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithLongLong, "numberWithLongLong:", long long)
    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithUnsignedLongLong,
                      "numberWithUnsignedLongLong:", unsigned long long)
    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithFloat, "numberWithFloat:", float)
    OBJC_CLASS_METHOD(Ref<NSNumber>, numberWithDouble, "numberWithDouble:", double)

    OBJC_METHOD(NSNumber*, initWithBool, "initWithBool:", bool)
    OBJC_METHOD(NSNumber*, initWithInt, "initWithInt:", int)
    OBJC_METHOD(NSNumber*, initWithInteger, "initWithInteger:", NSInteger)
    OBJC_METHOD(NSNumber*, initWithLongLong, "initWithLongLong:", long long)
    OBJC_METHOD(NSNumber*, initWithUnsignedLongLong,
                "initWithUnsignedLongLong:", unsigned long long)
    OBJC_METHOD(NSNumber*, initWithFloat, "initWithFloat:", float)
    OBJC_METHOD(NSNumber*, initWithDouble, "initWithDouble:", double)

    OBJC_METHOD(bool, boolValue, "boolValue")
    OBJC_METHOD(int, intValue, "intValue")
    OBJC_METHOD(NSInteger, integerValue, "integerValue")
    OBJC_METHOD(long long, longLongValue, "longLongValue")
    OBJC_METHOD(unsigned long long, unsignedLongLongValue, "unsignedLongLongValue")
    OBJC_METHOD(float, floatValue, "floatValue")
    OBJC_METHOD(double, doubleValue, "doubleValue")
    OBJC_METHOD(Ref<NSString>, stringValue, "stringValue")
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

    // Unsigned: an integer above the signed 64-bit range.
    enum class Kind { Bool, Integer, Float, Double, Unsigned };
    // The kind for the property-list codec (C++ only; the platform's objCType).
    Kind kind() const { return _kind; }

  private:
    NSNumber* initWithKind(Kind kind, long long integer, double real);
    bool integral() const { return _kind != Kind::Float && _kind != Kind::Double; }

    Kind _kind = Kind::Integer;
    long long _integer = 0;
    double _real = 0;
};
