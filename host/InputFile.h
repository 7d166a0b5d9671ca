// Bounded reading of the host's inputs: the feed must be a regular file, a
// script may also be a pipe or standard input; neither may be longer than
// its bound, and nothing that is not a file is ever waited on.
#pragma once

#include <cstddef>
#include <string>

#include "Foundation/Result.h"

// Each answers the text, or why it was not read, for the user.
// A regular file of at most `limit` bytes; a folder, device, FIFO or socket
// is refused before anything is read from it.
Result<std::string> readRegularFile(const std::string& path, std::size_t limit);
// A regular file or a pipe; "-" reads standard input.
Result<std::string> readFileOrPipe(const std::string& path, std::size_t limit);
