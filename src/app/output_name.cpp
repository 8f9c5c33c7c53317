#include "app/output_name.h"

#include "text/ascii_case.h"

namespace pictrim::app {

bool IsJpegName(std::string_view inputPath, const text::PathSyntax& syntax) {
  return text::ExtensionPart(text::AsciiUpper(inputPath), syntax) == ".JPG";
}

std::string OutputPath(std::string_view inputPath, const NamingRules& rules,
                       const text::PathSyntax& syntax) {
  std::string path = text::ReplaceExtension(inputPath, "", syntax) + rules.suffix;
  if (!rules.prefix.empty()) {
    path = text::DirectoryPrefix(path, syntax) + rules.prefix + text::FileNamePart(path, syntax);
  }
  if (rules.lowerCase) {
    path = text::DirectoryPrefix(path, syntax) +
           text::AsciiLowerName(text::FileNamePart(path, syntax), syntax.lead);
  }
  return path + ".jpg";
}

}  // namespace pictrim::app
