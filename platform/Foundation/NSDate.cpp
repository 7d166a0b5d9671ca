#include "Foundation/NSDate.h"

#include <chrono>
#include <functional>

#include "ObjectModel/ClassBuilder.h"

Ref<NSDate> NSDate::date() {
    std::chrono::duration<double> now = std::chrono::system_clock::now().time_since_epoch();
    return dateWithTimeIntervalSinceReferenceDate(now.count() - NSTimeIntervalSince1970);
}

Ref<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds) {
    return make<NSDate>(&NSDate::initWithTimeIntervalSinceReferenceDate, seconds);
}

NSDate* NSDate::initWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds) {
    _seconds = seconds;
    return this;
}

bool NSDate::isEqual(NSObject* other) {
    const NSDate* date = as<NSDate>(other);
    return date && date->_seconds == _seconds;
}

unsigned long NSDate::hash() const {
    return std::hash<double>{}(_seconds);
}

const ClassInfo& NSDate::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSDate>()
                                      .method<"isEqual:", &NSDate::isEqual>()
                                      .method<"hash", &NSDate::hash>()
                                      .build();
    return info;
}
