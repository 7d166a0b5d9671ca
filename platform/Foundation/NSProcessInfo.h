// The running process: its name (what the loader's filters and NSLog see)
// and its identifier.
#pragma once

#include <mutex>

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct NSProcessInfo : NSObject {
    OBJC_CLASS(NSProcessInfo, NSObject)

    // The one object of the process.
    OBJC_CLASS_METHOD(NSProcessInfo*, processInfo, "processInfo")
    // The executable's name unless a new one is set; a nil name is ignored.
    OBJC_METHOD(Ref<NSString>, processName, "processName")
    OBJC_METHOD(void, setProcessName, "setProcessName:", NSString*)
    OBJC_METHOD(int, processIdentifier, "processIdentifier")

  private:
    std::mutex _nameLock; // the name may be read on any thread
    Ref<NSString> _processName;
};
