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

    enum class Kind { Bool, Integer, Float, Double };

    static Ref<NSNumber> numberWithBool(bool value);
    static Ref<NSNumber> numberWithInt(int value) { return numberWithLongLong(value); }
    static Ref<NSNumber> numberWithInteger(NSInteger value) { return numberWithLongLong(value); }
    static Ref<NSNumber> numberWithLongLong(long long value);
    static Ref<NSNumber> numberWithFloat(float value);
    static Ref<NSNumber> numberWithDouble(double value);

    Kind kind() const { return _kind; }
    bool boolValue() const;
    int intValue() const { return static_cast<int>(longLongValue()); }
    long long longLongValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    double doubleValue() const;
    Ref<NSString> stringValue() const;

    // Messages.
    bool isEqual(NSObject* other);
    unsigned long hash() const;

  private:
    NSNumber* initWithBoolean(bool value);
    NSNumber* initWithInteger(long long value);
    NSNumber* initWithReal(Kind kind, double value);

    Kind _kind = Kind::Integer;
    long long _integer = 0;
    double _real = 0;
};
