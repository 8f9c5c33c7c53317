#include "text/command_line.h"

namespace pictrim::text {

namespace {

bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x01 && byte <= 0x20;
}

class LineReader {
 public:
  LineReader(std::string_view line, const LeadByteSet& lead) : line_(line), lead_(lead) {}

  bool AtEnd() const { return pos_ >= line_.size() || line_[pos_] == '\0'; }

  void SkipToArgument() {
    for (;;) {
      while (!AtEnd() && IsSeparator(line_[pos_])) ++pos_;
      if (line_.substr(pos_).starts_with("\"\"")) {
        pos_ += 2;
      } else {
        return;
      }
    }
  }

  std::string ReadArgument() {
    std::string argument;
    while (!AtEnd() && !IsSeparator(line_[pos_])) {
      if (line_[pos_] == '"') {
        ++pos_;
        while (!AtEnd() && line_[pos_] != '"') TakeCharacter(argument);
        if (!AtEnd()) ++pos_;  // the closing quote
      } else {
        TakeCharacter(argument);
      }
    }
    return argument;
  }

 private:
  // A double-byte character moves as one, so its second byte is never
  // mistaken for a quote or a separator.
  void TakeCharacter(std::string& out) {
    std::size_t length = 1;
    if (lead_.Contains(static_cast<unsigned char>(line_[pos_])) && pos_ + 1 < line_.size() &&
        line_[pos_ + 1] != '\0') {
      length = 2;
    }
    out.append(line_.substr(pos_, length));
    pos_ += length;
  }

  std::string_view line_;
  const LeadByteSet& lead_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line, const LeadByteSet& lead) {
  std::vector<std::string> arguments;
  LineReader reader(line, lead);
  for (;;) {
    reader.SkipToArgument();
    std::string argument = reader.ReadArgument();
    if (argument.empty()) break;
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace pictrim::text
