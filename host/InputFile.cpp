#include "host/InputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Problem kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return {"is a folder, not a file"};
    if (S_ISFIFO(mode)) return {"is a named pipe (FIFO), not a file"};
    if (S_ISSOCK(mode)) return {"is a socket, not a file"};
    return {"is a device, not a file"};
}

std::string mebibytes(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

Problem openProblem(int error) {
    if (error == ENOENT) return {"does not exist"};
    if (error == EACCES) return {"cannot be read: permission denied"};
    return {std::string("cannot be opened: ") + std::strerror(error)};
}

Problem tooLong(std::size_t limit) {
    return {"is longer than " + mebibytes(limit) + ", the most that is read"};
}

// Reads to the end, or fails past `limit` bytes.
Result<std::string> readAll(int fd, std::size_t limit) {
    std::string text;
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Problem{std::string("could not be read: ") + std::strerror(errno)};
        if (got == 0) return text;
        if (text.size() + static_cast<std::size_t>(got) > limit) return tooLong(limit);
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

Result<std::string> readRegularFile(const std::string& path, std::size_t limit) {
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) return openProblem(errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return Problem{std::string("cannot be examined: ") + std::strerror(errno)};
    if (!S_ISREG(info.st_mode)) return kindOf(info.st_mode);
    if (static_cast<std::size_t>(info.st_size) > limit) return tooLong(limit);
    return readAll(file.fd, limit);
}

Result<std::string> readFileOrPipe(const std::string& path, std::size_t limit) {
    if (path == "-") return readAll(STDIN_FILENO, limit);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return openProblem(errno);
    if (!S_ISFIFO(info.st_mode)) return readRegularFile(path, limit);
    // A pipe is waited on as any reader of a pipe waits for its writer.
    FileDescriptor pipe{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (pipe.fd < 0) return openProblem(errno);
    return readAll(pipe.fd, limit);
}
