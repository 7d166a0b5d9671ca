// A point in time: seconds since the reference date, 2001-01-01 00:00:00 UTC.
#pragma once

#include "ObjectModel/NSObject.h"

using NSTimeInterval = double;

struct NSDate : NSObject {
    OBJC_CLASS(NSDate, NSObject)

    OBJC_CLASS_METHOD(Ref<NSDate>, date, "date")
    OBJC_CLASS_METHOD(Ref<NSDate>, dateWithTimeIntervalSinceReferenceDate,
                      "dateWithTimeIntervalSinceReferenceDate:", NSTimeInterval)
    OBJC_METHOD(NSDate*, initWithTimeIntervalSinceReferenceDate,
                "initWithTimeIntervalSinceReferenceDate:", NSTimeInterval)
    OBJC_READONLY_AS(NSTimeInterval, seconds, timeIntervalSinceReferenceDate)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

  private:
    NSTimeInterval _seconds = 0;
};

// Seconds between the Unix epoch and the reference date.
inline constexpr NSTimeInterval NSTimeIntervalSince1970 = 978307200.0;
