// Durable file replacement, bounded reading, and keeping damaged files aside.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replaces the file at `path` by `bytes`: a temporary file in the same
// folder, flushed, renamed over the old one, then the folder flushed. When a
// step before the rename fails, the old file stays as it was and no temporary
// is left. Answers whether every step succeeded; `error` says what failed.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

enum class FileRead { Ok, Missing, Damaged };
// Reads a whole regular file of at most `limit` bytes. Missing: no file at
// all. Damaged: it exists but cannot be read, is too large or is no file.
FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes,
                  std::string& error);

// Moves a damaged file aside as <path>.corrupt, or .corrupt.1, .corrupt.2 ...
// when earlier copies exist (never overwriting one). Answers the new path, or
// an empty string when the file could not be moved.
std::string keepAside(const std::string& path);

// An exclusive advisory lock (flock) on <path>.lock, held while the object
// lives, so that read-modify-write cycles of several writers of one file do
// not lose each other's entries. A folder where no lock file can be made
// leaves the lock unheld (the write that follows fails there anyway).
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};
