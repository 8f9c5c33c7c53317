// Finding the name under which the file system stores an entry.
#pragma once

#include <optional>
#include <string>

namespace pictrim::platform {

// The name of the first entry of `directory` (the current directory when
// empty) that `pattern` names: an entry whose name equals the pattern byte
// for byte wins; otherwise the first in byte order of names that matches,
// with * and ? as wildcards and every other byte compared ASCII-case-
// insensitively. Every kind of entry takes part, "." and ".." included.
// Nothing when the directory cannot be read or nothing matches.
std::optional<std::string> FindStoredName(const std::string& directory, const std::string& pattern);

// True when `name` matches `pattern` in the sense above.
bool NameMatches(const std::string& pattern, const std::string& name);

}  // namespace pictrim::platform
