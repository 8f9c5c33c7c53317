// pictrim's own private-profile functions: INI text read and edited as bytes,
// so a file in code page 932 passes through untouched.
//
// Syntax: "[section]" headers and "key=value" lines; names compare ASCII-
// case-insensitively; blanks (space, tab) around names and values are not
// part of them; a line whose first non-blank byte is ';' is a comment; of
// duplicate sections or keys the first one counts; lines end in "\n" or
// "\r\n". There is no quoting: a value is the rest of its line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pictrim::platform {

// Values are read through a 2048-byte buffer, so a longer one arrives cut.
inline constexpr std::size_t kMaxProfileValueBytes = 2047;

// The value of `key` in `section` of `iniText`, cut at kMaxProfileValueBytes;
// nothing when the section or the key is absent. A key with an empty value
// gives the empty text.
std::optional<std::string> FindProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key);

// `iniText` with `key` in `section` set to `value`, every other byte kept:
// an existing key's line becomes "key=value" (its line end kept); a new key
// goes after the last non-blank line of its section; a missing section is
// added at the end of the text. New lines end as the text's first line does.
// Nothing when a name or the value holds a line break, which would spill
// into lines of their own.
std::optional<std::string> WithProfileValue(std::string_view iniText, std::string_view section,
                                             std::string_view key, std::string_view value);

// FindProfileValue on the file at `path`; nothing when it cannot be read.
std::optional<std::string> ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key);

// WithProfileValue on the file at `path`, which is then replaced whole by a
// rename, or created. False when the file, or its directory, may not be
// written; the file then keeps its content.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace pictrim::platform
