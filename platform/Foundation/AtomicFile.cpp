#include "Foundation/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string failure(const char* step, const std::string& path, int code) {
    return std::string("could not ") + step + " " + path + ": " + std::strerror(code);
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes, flushes and closes the temporary file; answers the failed step or nullptr.
const char* fillTemporary(int fd, std::string_view bytes) {
    if (::fchmod(fd, 0644) != 0) return "set the mode of";
    if (!writeAll(fd, bytes)) return "write";
    if (::fsync(fd) != 0) return "flush";
    return nullptr;
}

// Reads up to `capacity` bytes.
bool readAll(int fd, std::size_t capacity, std::string& bytes) {
    bytes.resize(capacity);
    std::size_t filled = 0;
    while (filled < capacity) {
        ssize_t got = ::read(fd, bytes.data() + filled, capacity - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

Problem largerThan(const std::string& path, std::size_t limit) {
    return {path + " is larger than " + std::to_string(limit) + " bytes"};
}

// Reads an open regular file of at most `limit` bytes.
Result<std::string> readOpen(int fd, const std::string& path, std::size_t limit, FileRead& kind) {
    struct stat status {};
    kind = FileRead::Unavailable;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return Problem{path + " is not a regular file"};
    if (static_cast<std::size_t>(status.st_size) > limit) {
        kind = FileRead::Damaged;
        return largerThan(path, limit);
    }
    std::string bytes;
    if (!readAll(fd, static_cast<std::size_t>(status.st_size) + 1, bytes))
        return Problem{failure("read", path, errno)};
    kind = bytes.size() > limit ? FileRead::Damaged : FileRead::Ok;
    if (kind == FileRead::Damaged) return largerThan(path, limit);
    return bytes;
}

bool syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::string nameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Temporaries of `path` start with this; the writer's process id follows.
std::string temporaryPrefix(const std::string& path) {
    std::string prefix(".");
    return prefix.append(nameOf(path)).append(".tmp-"); // appends: GCC 12's -Wrestrict trips on +
}

// Refuses a path that names anything but a regular file (or nothing).
Result<void> replaceable(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return {};
    return Problem{path + " is not a regular file; it is left as it is"};
}

// A temporary file of `path`, locked so that no cleaner takes it for a dead
// writer's.
Result<int> createTemporary(const std::string& path, std::string& temporary) {
    temporary =
        folderOf(path) + "/" + temporaryPrefix(path) + std::to_string(::getpid()) + "-XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Problem{failure("create a temporary file for", path, errno) +
                       " (check that the folder exists and is writable)"};
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    return fd;
}

} // namespace

Result<void> writeFileAtomically(const std::string& path, std::string_view bytes) {
    if (Result<void> allowed = replaceable(path); !allowed) return allowed;
    std::string temporary;
    Result<int> fd = createTemporary(path, temporary);
    if (!fd) return Problem{fd.problem()};
    const char* failed = fillTemporary(*fd, bytes);
    int code = errno;
    if (!failed && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failed = "rename the temporary file over";
        code = errno;
    }
    if (failed) ::unlink(temporary.c_str());
    if (::close(*fd) != 0 && !failed)
        return Problem{failure("close", path, errno) +
                       "; the new file is in place but may be incomplete"};
    if (failed) return Problem{failure(failed, path, code) + "; the old file is unchanged"};
    if (!syncFolder(folderOf(path)))
        return Problem{failure("flush the folder of", path, errno) +
                       "; the new file is in place but may not survive a power loss"};
    return {};
}

void removeDeadTemporaries(const std::string& path) {
    std::string folder = folderOf(path), prefix = temporaryPrefix(path);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing)) {
        std::string_view name = entry->d_name;
        if (!name.starts_with(prefix)) continue;
        long pid = std::strtol(entry->d_name + prefix.size(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 ||
            errno != ESRCH)
            continue;
        int fd = ::openat(::dirfd(listing), entry->d_name,
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlinkat(::dirfd(listing), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(listing);
}

Result<std::string> readFile(const std::string& path, std::size_t limit, FileRead& kind) {
    struct stat status {};
    kind = FileRead::Unavailable;
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) kind = FileRead::Missing;
        return Problem{failure("look at", path, errno)};
    }
    if (!S_ISREG(status.st_mode)) return Problem{path + " is not a regular file"};
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) kind = FileRead::Missing;
        return Problem{failure("open", path, errno)};
    }
    Result<std::string> bytes = readOpen(fd, path, limit, kind);
    ::close(fd);
    return bytes;
}

Result<std::string> keepAside(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return Problem{path + " is not a regular file"};
    for (int copy = 0; copy < 1000; ++copy) {
        std::string aside = path + ".corrupt";
        if (copy) aside.append(".").append(std::to_string(copy));
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST) return Problem{failure("move aside", path, errno)};
    }
    return Problem{path + " has 1000 copies kept aside already"};
}

FileLock::FileLock(const std::string& path) {
    std::string name = path + ".lock";
    fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                 0644);
    struct stat status {};
    if (fd_ < 0) {
        error_ = failure("open the lock file", name, errno);
    } else if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        error_ = name + " is not a regular file";
    } else {
        while (::flock(fd_, LOCK_EX) != 0)
            if (errno != EINTR) {
                error_ = failure("lock", name, errno);
                break;
            }
    }
    if (!error_.empty() && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}
