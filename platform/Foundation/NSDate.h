// A point in time: seconds since the reference date, 2001-01-01 00:00:00 UTC.
#pragma once

#include "ObjectModel/NSObject.h"

using NSTimeInterval = double;

struct NSDate : NSObject {
    OBJC_CLASS(NSDate, NSObject)

    static Ref<NSDate> date();
    static Ref<NSDate> dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds);

    NSDate* initWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds);

    NSTimeInterval timeIntervalSinceReferenceDate() const { return _seconds; }

    // Messages.
    bool isEqual(NSObject* other);
    unsigned long hash() const;

  private:
    NSTimeInterval _seconds = 0;
};

// Seconds between the Unix epoch and the reference date.
inline constexpr NSTimeInterval NSTimeIntervalSince1970 = 978307200.0;
