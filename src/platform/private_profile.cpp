#include "platform/private_profile.h"

#include <vector>

#include <sys/stat.h>

#include "platform/files.h"
#include "text/ascii_case.h"

namespace pictrim::platform {

namespace {

// Byte offsets of one line: its content [begin, end) and its line end
// [end, next). The last line of a text may have no line end (end == next).
struct Line {
  std::size_t begin;
  std::size_t end;
  std::size_t next;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t newline = text.find('\n', begin);
    if (newline == std::string_view::npos) {
      lines.push_back({begin, text.size(), text.size()});
      break;
    }
    const bool crlf = newline > begin && text[newline - 1] == '\r';
    lines.push_back({begin, crlf ? newline - 1 : newline, newline + 1});
    begin = newline + 1;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Section and key names ignore the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b) { return text::AsciiLower(a) == text::AsciiLower(b); }

enum class LineKind { kBlank, kComment, kSection, kEntry, kOther };

struct ParsedLine {
  LineKind kind;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // entry value, trimmed
};

ParsedLine ParseLine(std::string_view content) {
  const std::string_view line = TrimBlanks(content);
  if (line.empty()) return {LineKind::kBlank, {}, {}};
  if (line.front() == ';') return {LineKind::kComment, {}, {}};
  if (line.front() == '[') {
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return {LineKind::kOther, {}, {}};
    return {LineKind::kSection, TrimBlanks(line.substr(1, close - 1)), {}};
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {LineKind::kOther, {}, {}};
  return {LineKind::kEntry, TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

// Where a key stands, or would stand, in the first section of its name.
struct KeyPlace {
  bool sectionFound = false;
  std::size_t lastNonBlankLine = 0;  // in that section, its header included
  std::optional<std::size_t> keyLine;
  std::string_view value;
};

KeyPlace LocateKey(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                   std::string_view key) {
  KeyPlace place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine line = ParseLine(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (line.kind == LineKind::kSection) {
      if (inSection) break;  // later sections of the same name are not consulted
      if (SameName(line.name, section)) {
        inSection = true;
        place.sectionFound = true;
        place.lastNonBlankLine = i;
      }
      continue;
    }
    if (!inSection || line.kind == LineKind::kBlank) continue;
    place.lastNonBlankLine = i;
    if (line.kind == LineKind::kEntry && !place.keyLine && SameName(line.name, key)) {
      place.keyLine = i;
      place.value = line.value;
    }
  }
  return place;
}

std::string_view LineEndOf(std::string_view text) {
  const std::size_t newline = text.find('\n');
  return (newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r') ? "\r\n"
                                                                                           : "\n";
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key) {
  const KeyPlace place = LocateKey(iniText, SplitLines(iniText), section, key);
  if (!place.keyLine) return std::nullopt;
  return std::string(place.value.substr(0, kMaxProfileValueBytes));
}

std::optional<std::string> WithProfileValue(std::string_view iniText, std::string_view section,
                                             std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return std::nullopt;

  const std::vector<Line> lines = SplitLines(iniText);
  const KeyPlace place = LocateKey(iniText, lines, section, key);
  const std::string_view lineEnd = LineEndOf(iniText);
  std::string entry;
  entry.append(key).append("=").append(value);

  std::string edited;
  if (place.keyLine) {
    const Line& line = lines[*place.keyLine];
    edited.append(iniText.substr(0, line.begin)).append(entry).append(iniText.substr(line.end));
  } else if (place.sectionFound) {
    const Line& last = lines[place.lastNonBlankLine];
    edited.append(iniText.substr(0, last.next));
    if (last.end == last.next) edited.append(lineEnd);  // the text's last line had no line end
    edited.append(entry).append(lineEnd).append(iniText.substr(last.next));
  } else {
    edited.append(iniText);
    if (!edited.empty() && edited.back() != '\n') edited.append(lineEnd);
    edited.append("[").append(section).append("]").append(lineEnd);
    edited.append(entry).append(lineEnd);
  }
  return edited;
}

std::optional<std::string> ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
  std::vector<unsigned char> bytes;
  if (ReadWholeFile(path, bytes) != ReadResult::kOk) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return FindProfileValue(text, section, key);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::vector<unsigned char> bytes;
  // A file that is there but cannot be read would lose its content if
  // rewritten from nothing.
  if (ReadWholeFile(path, bytes) != ReadResult::kOk) {
    if (PathExists(path)) return false;
    bytes.clear();
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const std::optional<std::string> edited = WithProfileValue(text, section, key, value);
  return edited && ReplaceFileContents(path, *edited) == ReplaceResult::kOk;
}

}  // namespace pictrim::platform
