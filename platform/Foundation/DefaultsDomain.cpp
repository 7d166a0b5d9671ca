#include "Foundation/DefaultsDomain.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"

namespace {

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

constexpr std::uint32_t kGone = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF;

// Watches the file's folder, or while it is missing the nearest folder above
// it that exists; answers the watch descriptor and whether it is the folder's.
int watchNearest(int inotify, int previous, const std::string& path, bool& onFolder) {
    constexpr std::uint32_t kEvents =
        IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | kGone;
    std::filesystem::path folder = folderOf(path);
    onFolder = true;
    for (; !folder.empty(); folder = folder.parent_path(), onFolder = false) {
        int descriptor = inotify_add_watch(inotify, folder.c_str(), kEvents);
        if (descriptor >= 0 || folder == folder.parent_path()) {
            if (previous >= 0 && previous != descriptor) inotify_rm_watch(inotify, previous);
            return descriptor;
        }
    }
    return -1;
}

} // namespace

DefaultsDomain::DefaultsDomain(std::string path, std::function<void(const DefaultsDomain*)> wake)
    : path_(std::move(path)), wake_(std::move(wake)), owner_(::getpid()) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ >= 0) watcher_ = std::thread([this] { watch(); });
}

DefaultsDomain::~DefaultsDomain() {
    if (!watcher_.joinable()) return;
    if (::getpid() != owner_) { // a forked child: the watcher lives in the parent only
        new std::thread(std::move(watcher_));
        return;
    }
    stopping_ = true;
    std::uint64_t one = 1;
    if (::write(wakeFd_, &one, sizeof one) < 0)
        NSLog("DefaultsDomain: waking the watcher: %s"_ns, std::strerror(errno));
    watcher_.join();
    ::close(wakeFd_);
}

// Events about the file (or the watched folder itself) wake the store, after
// a pause that lets a write of this process finish and gathers a burst.
void DefaultsDomain::watch() {
    int inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotify < 0) return;
    std::string name = std::filesystem::path(path_).filename();
    bool onFolder = false;
    int descriptor = watchNearest(inotify, -1, path_, onFolder);
    alignas(inotify_event) char events[4096];
    while (!stopping_) {
        pollfd waits[] = {{inotify, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0 && errno != EINTR) break;
        bool relevant = !onFolder, gone = false;
        for (ssize_t length; (length = ::read(inotify, events, sizeof events)) > 0;)
            for (char* at = events; at < events + length;) {
                auto* event = reinterpret_cast<inotify_event*>(at);
                at += sizeof(inotify_event) + event->len;
                if (event->wd != descriptor) continue;
                gone = gone || (event->mask & kGone);
                relevant = relevant || gone || (event->len && name == event->name);
            }
        if (gone || !onFolder)
            descriptor = watchNearest(inotify, gone ? -1 : descriptor, path_, onFolder);
        if (!relevant) continue;
        pollfd pause = {wakeFd_, POLLIN, 0};
        ::poll(&pause, 1, 20);
        if (!stopping_ && changedSinceSeen()) wake_(this);
    }
    ::close(inotify);
}

bool DefaultsDomain::changedSinceSeen() {
    std::lock_guard lock(seenMutex_);
    return identityNow() != seen_;
}

void DefaultsDomain::remember(const Identity& identity) {
    std::lock_guard lock(seenMutex_);
    seen_ = identity;
}

DefaultsDomain::Identity DefaultsDomain::identityNow() const {
    struct stat status {};
    if (::stat(path_.c_str(), &status) != 0) return {};
    return {status.st_dev, status.st_ino, status.st_size,
            status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec};
}

Result<DefaultsDomain::Storage> DefaultsDomain::readNow() {
    PropertyListFile kind = PropertyListFile::Ok;
    Result<Ref<NSDictionary>> contents = readDictionaryFile(path_, kind);
    switch (kind) {
    case PropertyListFile::Ok:
        return (*contents)->entries();
    case PropertyListFile::Missing:
        return Storage{};
    case PropertyListFile::Unavailable:
        return Problem{contents.problem() +
                       "; the file is left alone and the defaults live in memory"};
    case PropertyListFile::Damaged:
        break;
    }
    Result<std::string> aside = keepAside(path_);
    if (!aside)
        return Problem{contents.problem() + "; it could not be kept aside, so it is not replaced"};
    NSLog("NSUserDefaults: %s; starting with empty defaults (the file is kept as %s)"_ns,
          contents.problem().c_str(), aside->c_str());
    return Storage{};
}

DefaultsDomain::Storage DefaultsDomain::load() {
    Identity before = identityNow(); // a replacement after it is seen by the next event
    Result<Storage> entries = readNow();
    readable_ = static_cast<bool>(entries);
    if (!readable_) NSLog("NSUserDefaults: %s"_ns, entries.problem().c_str());
    remember(before);
    return readable_ ? std::move(*entries) : Storage{};
}

Result<DefaultsDomain::Storage> DefaultsDomain::synchronize(const Changes& changes, bool& written) {
    written = false;
    std::error_code ignored; // a folder that cannot be made fails below, with its reason
    if (!changes.empty()) std::filesystem::create_directories(folderOf(path_), ignored);
    FileLock lock(path_);
    if (!lock.held()) return Problem{lock.error()};
    Result<Storage> entries = readNow();
    if (!entries) return entries;
    readable_ = true;
    if (!changes.empty()) {
        for (const auto& [key, value] : changes)
            if (value)
                entries->insert_or_assign(key, value);
            else
                entries->erase(key);
        removeDeadTemporaries(path_);
        Identity before = identityNow();
        Ref<NSDictionary> domain = make<NSDictionary>(&NSDictionary::initWithStorage, *entries);
        Result<void> saved = writeDictionaryFile(path_, domain, PropertyListFormat::Binary);
        written = saved || identityNow() != before;
        remember(identityNow());
        if (!saved) return Problem{saved.problem()};
    }
    remember(identityNow());
    return entries;
}

std::optional<DefaultsDomain::Storage> DefaultsDomain::reloadIfChanged() {
    if (!changedSinceSeen()) return std::nullopt;
    Identity before = identityNow(); // a replacement after it is seen by the next event
    PropertyListFile kind = PropertyListFile::Ok;
    Result<Ref<NSDictionary>> contents = readDictionaryFile(path_, kind);
    switch (kind) {
    case PropertyListFile::Ok:
        remember(before);
        return (*contents)->entries();
    case PropertyListFile::Missing:
        remember(before);
        return Storage{};
    default: // left for load or synchronize to deal with
        return std::nullopt;
    }
}
