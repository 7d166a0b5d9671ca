#include "Foundation/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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

bool syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    std::size_t slash = path.rfind('/');
    std::string folder = folderOf(path);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = failure("create a temporary file for", path, errno) +
                " (check that the folder exists and is writable)";
        return false;
    }
    const char* failed = fillTemporary(fd, bytes);
    int code = errno;
    if (::close(fd) != 0 && !failed) {
        failed = "close";
        code = errno;
    }
    if (!failed && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failed = "rename the temporary file over";
        code = errno;
    }
    if (failed) {
        ::unlink(temporary.c_str());
        error = failure(failed, path, code) + "; the old file is unchanged";
        return false;
    }
    if (!syncFolder(folder)) {
        error = failure("flush the folder of", path, errno) +
                "; the new file may not survive a power loss";
        return false;
    }
    return true;
}

FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes,
                  std::string& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileRead::Missing;
        error = failure("open", path, errno);
        return FileRead::Damaged;
    }
    struct stat status {};
    FileRead result = FileRead::Damaged;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = path + " is not a regular file";
    } else if (static_cast<std::size_t>(status.st_size) > limit) {
        error = path + " is larger than " + std::to_string(limit) + " bytes";
    } else {
        if (!readAll(fd, static_cast<std::size_t>(status.st_size) + 1, bytes))
            error = failure("read", path, errno);
        else if (bytes.size() > limit)
            error = path + " is larger than " + std::to_string(limit) + " bytes";
        else
            result = FileRead::Ok;
    }
    ::close(fd);
    return result;
}

std::string keepAside(const std::string& path) {
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
    fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}
