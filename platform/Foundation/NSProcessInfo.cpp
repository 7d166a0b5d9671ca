#include "Foundation/NSProcessInfo.h"

#include <cerrno>
#include <unistd.h>

#include "ObjectModel/ClassBuilder.h"

NSProcessInfo* NSProcessInfo::processInfoImp(Class) {
    static NSProcessInfo* const shared = [] {
        NSProcessInfo* info = make<NSProcessInfo>(&NSProcessInfo::init).leak();
        info->_processName = NSString::string(program_invocation_short_name);
        return info;
    }();
    return shared;
}

Ref<NSString> NSProcessInfo::processNameImp() {
    std::lock_guard lock(_nameLock);
    return _processName;
}

void NSProcessInfo::setProcessNameImp(NSString* name) {
    if (!name) return;
    std::lock_guard lock(_nameLock);
    _processName = name;
}

int NSProcessInfo::processIdentifierImp() {
    return getpid();
}

OBJC_IMPLEMENT_LOADED_CLASS(NSProcessInfo)
