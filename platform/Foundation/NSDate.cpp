#include "Foundation/NSDate.h"

#include <chrono>
#include <functional>

#include "ObjectModel/ClassBuilder.h"

Ref<NSDate> NSDate::dateImp(Class cls) {
    std::chrono::duration<double> now = std::chrono::system_clock::now().time_since_epoch();
    return make<NSDate>(cls, &NSDate::initWithTimeIntervalSinceReferenceDate,
                        now.count() - NSTimeIntervalSince1970);
}

Ref<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDateImp(Class cls, NSTimeInterval seconds) {
    return make<NSDate>(cls, &NSDate::initWithTimeIntervalSinceReferenceDate, seconds);
}

NSDate* NSDate::initWithTimeIntervalSinceReferenceDateImp(NSTimeInterval seconds) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _seconds = seconds;
    return this;
}

bool NSDate::isEqualImp(NSObject* other) {
    const NSDate* date = as<NSDate>(other);
    return date && date->_seconds == _seconds;
}

unsigned long NSDate::hashImp() {
    return std::hash<double>{}(_seconds);
}

OBJC_IMPLEMENT_LOADED_CLASS(NSDate)
