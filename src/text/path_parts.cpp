#include "text/path_parts.h"

namespace pictrim::text {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Index of the last byte in `set` that is not the second byte of a
// double-byte character.
std::size_t LastDelimiter(std::string_view path, std::string_view set, const LeadByteSet& lead) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (set.find(path[i]) != kNone && !IsSecondByte(path, i, lead)) return i;
  }
  return kNone;
}

std::size_t ExtensionStart(std::string_view path, const PathSyntax& syntax) {
  std::string set(syntax.delimiters);
  set += '.';
  const std::size_t i = LastDelimiter(path, set, syntax.lead);
  return (i != kNone && path[i] == '.') ? i : path.size();
}

}  // namespace

std::string DirectoryPrefix(std::string_view path, const PathSyntax& syntax) {
  const std::size_t i = LastDelimiter(path, syntax.delimiters, syntax.lead);
  return i == kNone ? std::string() : std::string(path.substr(0, i + 1));
}

std::string FileNamePart(std::string_view path, const PathSyntax& syntax) {
  const std::size_t i = LastDelimiter(path, syntax.delimiters, syntax.lead);
  return std::string(i == kNone ? path : path.substr(i + 1));
}

std::string ExtensionPart(std::string_view path, const PathSyntax& syntax) {
  return std::string(path.substr(ExtensionStart(path, syntax)));
}

std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             const PathSyntax& syntax) {
  std::string result(path.substr(0, ExtensionStart(path, syntax)));
  result += extension;
  return result;
}

}  // namespace pictrim::text
