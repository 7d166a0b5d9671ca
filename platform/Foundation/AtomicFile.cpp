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

// Reads an open regular file of at most `limit` bytes.
FileRead readOpen(int fd, const std::string& path, std::size_t limit, std::string& bytes,
                  std::string& error) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = path + " is not a regular file";
        return FileRead::Unavailable;
    }
    if (static_cast<std::size_t>(status.st_size) > limit) {
        error = path + " is larger than " + std::to_string(limit) + " bytes";
        return FileRead::Damaged;
    }
    if (!readAll(fd, static_cast<std::size_t>(status.st_size) + 1, bytes)) {
        error = failure("read", path, errno);
        return FileRead::Unavailable;
    }
    if (bytes.size() > limit) {
        error = path + " is larger than " + std::to_string(limit) + " bytes";
        return FileRead::Damaged;
    }
    return FileRead::Ok;
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

bool notRegular(const std::string& path, std::string& error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return false;
    error = path + " is not a regular file; it is left as it is";
    return true;
}

// A temporary file of `path`, locked so that no cleaner takes it for a dead
// writer's; -1 with `error` set on failure.
int createTemporary(const std::string& path, std::string& temporary, std::string& error) {
    temporary =
        folderOf(path) + "/" + temporaryPrefix(path) + std::to_string(::getpid()) + "-XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = failure("create a temporary file for", path, errno) +
                " (check that the folder exists and is writable)";
        return -1;
    }
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    return fd;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    std::string temporary;
    if (notRegular(path, error)) return false;
    int fd = createTemporary(path, temporary, error);
    if (fd < 0) return false;
    const char* failed = fillTemporary(fd, bytes);
    int code = errno;
    if (!failed && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failed = "rename the temporary file over";
        code = errno;
    }
    if (failed) ::unlink(temporary.c_str());
    if (::close(fd) != 0 && !failed) {
        error = failure("close", path, errno) + "; the new file is in place but may be incomplete";
        return false;
    }
    if (failed) {
        error = failure(failed, path, code) + "; the old file is unchanged";
        return false;
    }
    if (!syncFolder(folderOf(path))) {
        error = failure("flush the folder of", path, errno) +
                "; the new file is in place but may not survive a power loss";
        return false;
    }
    return true;
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

FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes,
                  std::string& error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileRead::Missing;
        error = failure("look at", path, errno);
        return FileRead::Unavailable;
    }
    if (!S_ISREG(status.st_mode)) {
        error = path + " is not a regular file";
        return FileRead::Unavailable;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return FileRead::Missing;
        error = failure("open", path, errno);
        return FileRead::Unavailable;
    }
    FileRead result = readOpen(fd, path, limit, bytes, error);
    ::close(fd);
    return result;
}

std::string keepAside(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    for (int copy = 0; copy < 1000; ++copy) {
        std::string aside = path + ".corrupt";
        if (copy) aside.append(".").append(std::to_string(copy));
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST) return {};
    }
    return {};
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
