// The defaults store: one per process. Reads consult the persistent domain
// first, then the volatile registration domain.
//
// Reads take no lock and touch no shared count: the domains live in an
// immutable snapshot published through an atomic pointer, read in a
// read-side section of userspace RCU. A writer (rare) builds a new snapshot,
// publishes it, waits for a grace period (every reader that may still see
// the old one has left) and frees it.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotificationCenter.h"
#include "ObjectModel/NSObject.h"

class DefaultsDomain;

// Posted when a value is refused or the defaults could not be saved; the
// object is the store (or the KLPSettings whose settings file failed), the
// user info holds "NSFilePath" and the reason as "NSLocalizedDescription".
inline NSString* const NSUserDefaultsSaveFailedNotification =
    "NSUserDefaultsSaveFailedNotification"_ns; // inline: see NSUserDefaultsDidChangeNotification
// Posts it for `sender` (a C++ helper of the store and the settings).
void postSaveFailure(NSObject* sender, const std::string& path, const std::string& reason);

struct NSUserDefaults : NSObject {
    OBJC_CLASS(NSUserDefaults, NSObject)

    // Loads the defaults file of the host's bundle identifier under the device
    // root's preferences folder on first use.
    OBJC_CLASS_METHOD(NSUserDefaults*, standardUserDefaults, "standardUserDefaults")
    // Forgets both domains of the standard store; its next use loads the file
    // of the device root and bundle identifier that are current then.
    OBJC_CLASS_METHOD(void, resetStandardUserDefaults, "resetStandardUserDefaults")
    // A store of the defaults file of the current device root and bundle identifier.
    OBJC_OVERRIDE(NSObject*, init, "init")
    // A store of the suite's own defaults file in the same folder, with the
    // same guarantees; nil for a name that is empty or no file name.
    OBJC_METHOD(NSUserDefaults*, initWithSuiteName, "initWithSuiteName:", NSString*)

    // The very object stored (or registered) under the key, or nil.
    OBJC_METHOD(Ref<NSObject>, objectForKey, "objectForKey:", const NSString*)
    // NO for a missing key; numbers other than 0 and "YES", "true", "1" are YES.
    OBJC_METHOD(bool, boolForKey, "boolForKey:", const NSString*)
    // Stores an immutable copy; nil removes the key. A value that is no
    // property-list object is refused with the reason on stderr and in
    // NSUserDefaultsSaveFailedNotification, and the store stays as it was.
    // Answers whether the change was made; posts
    // NSUserDefaultsDidChangeNotification after it.
    OBJC_METHOD(bool, setObject, "setObject:forKey:", NSObject*, const NSString*)
    OBJC_METHOD(bool, removeObjectForKey, "removeObjectForKey:", const NSString*)
    // The latest registration of a key wins.
    OBJC_METHOD(void, registerDefaults, "registerDefaults:", const NSDictionary*)
    // Under the domain's lock: reads the file as it is now, applies the keys
    // this process set or removed since its last synchronize, and writes it
    // durably and atomically in the binary format. On failure the changes
    // stay pending for the next call, the reason goes to stderr and to
    // NSUserDefaultsSaveFailedNotification, and the answer is NO. Another
    // process's writes reach this store's reads without a call.
    OBJC_METHOD(bool, synchronize, "synchronize")

    // C++ helpers, not messages: a copy of the persistent domain, and its file.
    Ref<NSDictionary> persistentDomain();
    const std::string& path() const { return _path; }

    ~NSUserDefaults();

    struct Snapshot;

  private:
    static NSUserDefaults* sharedStore();
    // Runs `body` on the current snapshot inside a read-side section.
    template <class Read> auto read(Read body) const;
    void load();
    void publish(NSDictionary::Storage persistent, NSDictionary::Storage registered);
    void reloadFromDisk(const DefaultsDomain* domain);
    void reportFailure(const std::string& reason);

    std::atomic<const Snapshot*> _snapshot{nullptr};
    std::atomic<bool> _loaded{false};
    std::mutex _writer;
    std::string _path;
    std::set<std::string, std::less<>> _changed; // since the last synchronize
    std::unique_ptr<DefaultsDomain> _domain;
    std::string _suite;
};
