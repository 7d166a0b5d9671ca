// Durable file replacement, bounded reading, keeping damaged files aside,
// and the lock that serialises writers of one file across processes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Foundation/Result.h"

// Replaces the file at `path` by `bytes`: a temporary file in the same
// folder (named after the file and this process, locked while written),
// flushed, renamed over the old one, then the folder flushed. When a step
// before the rename fails, the old file stays as it was and no temporary is
// left. A path that names something other than a regular file is refused.
// A failure says which step failed.
Result<void> writeFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporaries that writers of `path` left when they were killed:
// only those whose process is gone and whose lock is free.
void removeDeadTemporaries(const std::string& path);

// Ok; Missing: nothing at the path. Damaged: a regular file larger than
// `limit`. Unavailable: no regular file (a folder, FIFO, device or socket,
// never opened for a blocking read) or a failure that may pass (EMFILE,
// EACCES, EIO ...).
enum class FileRead { Ok, Missing, Damaged, Unavailable };
// The file's bytes, or why not, with `kind` saying which failure it was.
Result<std::string> readFile(const std::string& path, std::size_t limit, FileRead& kind);

// Moves a damaged regular file aside as <path>.corrupt, or .corrupt.1,
// .corrupt.2 ... when earlier copies exist (never overwriting one). Answers
// the new path.
Result<std::string> keepAside(const std::string& path);

// An exclusive advisory lock (flock) on <path>.lock, held while the object
// lives. The lock file is never a symbolic link nor anything but a regular
// file; when it cannot be had, held() is false and error() says why.
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};
