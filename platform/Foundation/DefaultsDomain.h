// The file of the defaults store's persistent domain, shared by processes:
// read at load, merged and written (binary) under a lock at synchronize, and
// watched so that another process's writes reach this one within moments.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>

#include "Foundation/NSDictionary.h"
#include "Foundation/Result.h"

class DefaultsDomain {
  public:
    using Storage = NSDictionary::Storage;
    // Key -> new value; nil removes the key.
    using Changes = std::map<std::string, Ref<NSObject>, std::less<>>;

    // `wake` runs on the watcher's thread when the file's folder changes;
    // it calls reloadIfChanged under the same lock as the other calls.
    DefaultsDomain(std::string path, std::function<void(const DefaultsDomain*)> wake);
    ~DefaultsDomain();
    DefaultsDomain(const DefaultsDomain&) = delete;
    DefaultsDomain& operator=(const DefaultsDomain&) = delete;

    const std::string& path() const { return path_; }

    // The file's entries. A regular file that does not parse is kept aside;
    // anything else unreadable is left alone, and the store starts empty in
    // memory (readable() stays false, and synchronize reads again).
    Storage load();
    bool readable() const { return readable_; }

    // Takes the lock, reads the file as it is now, applies `changes` and
    // writes the result when there are any. Answers the file's entries after
    // that, or why the file could not be read, kept aside or written (a
    // write may have put the file in place; `written` tells so).
    Result<Storage> synchronize(const Changes& changes, bool& written);

    // The file's entries when another process replaced or removed it since
    // this object last read or wrote it; nothing otherwise.
    std::optional<Storage> reloadIfChanged();

  private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long modified = 0;
        bool operator==(const Identity&) const = default;
    };

    Result<Storage> readNow();
    Identity identityNow() const;
    bool changedSinceSeen();
    void remember(const Identity& identity);
    void watch();

    std::string path_;
    std::function<void(const DefaultsDomain*)> wake_;
    bool readable_ = false;
    std::atomic<bool> stopping_{false};
    std::mutex seenMutex_; // the watcher reads seen_ without the store's lock
    Identity seen_;
    int wakeFd_ = -1;
    pid_t owner_ = 0;
    std::thread watcher_;
};
