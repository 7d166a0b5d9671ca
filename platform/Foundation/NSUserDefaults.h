// The defaults store: one per process. Reads consult the persistent domain
// first, then the volatile registration domain.
//
// Reads take no lock and touch no shared count: the domains live in an
// immutable snapshot published through an atomic pointer. A writer (rare)
// builds a new snapshot, publishes it, waits until every reader that may
// still see the old one has left, and frees it (see ReaderSections).
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "Foundation/NSDictionary.h"
#include "ObjectModel/NSObject.h"

struct NSUserDefaults : NSObject {
    OBJC_CLASS(NSUserDefaults, NSObject)

    // Loads the defaults file of the host's bundle identifier under the device
    // root's preferences folder on first use.
    static NSUserDefaults* standardUserDefaults();
    // Forgets both domains of the standard store; its next use loads the file
    // of the device root and bundle identifier that are current then.
    static void resetStandardUserDefaults();

    // The very object stored (or registered) under the key, or nil.
    Ref<NSObject> objectForKey(const NSString* key);
    // NO for a missing key; numbers other than 0 and "YES", "true", "1" are YES.
    bool boolForKey(const NSString* key);
    // nil removes the key. A value that is no property-list object is refused
    // with the reason on stderr, and the store stays as it was. Answers whether
    // the change was made; posts NSUserDefaultsDidChangeNotification after it.
    bool setObject(NSObject* value, const NSString* key);
    bool removeObjectForKey(const NSString* key) { return setObject(nullptr, key); }
    // The latest registration of a key wins.
    void registerDefaults(const NSDictionary* defaults);
    // Writes the persistent domain durably and atomically; answers success.
    bool synchronize();

    // A copy of the persistent domain.
    Ref<NSDictionary> persistentDomain();
    const std::string& path() const { return _path; }

    // A store of the defaults file of the current device root and bundle identifier.
    NSUserDefaults* init();
    ~NSUserDefaults();

    struct Snapshot;

  private:
    static NSUserDefaults* sharedStore();
    void load();
    void publish(NSDictionary::Storage persistent, NSDictionary::Storage registered);

    std::atomic<const Snapshot*> _snapshot{nullptr};
    std::atomic<bool> _loaded{false};
    std::mutex _writer;
    std::string _path;
    bool _dirty = false;
};
