// Whole-file reads and crash-safe file replacement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace pictrim::platform {

enum class ReadResult { kOk, kCannotOpen, kShortRead };

// Reads a regular file whole into `bytes`. Directories, devices and pipes
// count as files that cannot be opened.
ReadResult ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes);

enum class ReplaceResult { kOk, kCannotCreate, kWriteFailed };

// Makes `path` hold exactly `bytes`. The bytes go to a temporary file in the
// same directory, which replaces `path` by a rename only once every byte is
// written and flushed; on any failure the old file stays whole and the
// temporary file is removed. A replaced file keeps its permission bits; a new
// one gets 0666 less the umask. An existing file that may not be written
// (no write bit at all, or not writable by this user) is kCannotCreate.
ReplaceResult ReplaceFileContents(const std::string& path, std::string_view bytes);

// True when `path` exists and may not be written in the sense above.
bool IsReadOnlyFile(const std::string& path);

// Fault injection for tests: replaces the write(2) used by
// ReplaceFileContents; nullptr restores the real one.
using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);
void SetWriteFunctionForTesting(WriteFunction write);

}  // namespace pictrim::platform
