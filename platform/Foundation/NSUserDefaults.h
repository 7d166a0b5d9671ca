// The defaults store: one per process. Reads consult the persistent domain
// first, then the volatile registration domain. Reads are thread-safe.
#pragma once

#include <mutex>
#include <string>

#include "Foundation/NSDictionary.h"
#include "objc/NSObject.h"

struct NSUserDefaults : NSObject {
    OBJC_CLASS(NSUserDefaults, NSObject)

    static NSUserDefaults* standardUserDefaults();

    // The very object stored (or registered) under the key, or nil.
    Ref<NSObject> objectForKey(const NSString* key);
    // NO for a missing key; numbers other than 0 and "YES", "true", "1" are YES.
    bool boolForKey(const NSString* key);
    // nil removes the key.
    void setObject(NSObject* value, const NSString* key);
    void removeObjectForKey(const NSString* key) { setObject(nullptr, key); }
    // The latest registration of a key wins.
    void registerDefaults(const NSDictionary* defaults);
    bool synchronize();

    NSUserDefaults* init();

  private:
    NSObject* lookup(const NSString* key) const;

    mutable std::mutex _mutex;
    NSDictionary::Storage _persistent;
    NSDictionary::Storage _registered;
};
