// Where a converted photo is written.
#pragma once

#include <string>
#include <string_view>

#include "text/path_parts.h"

namespace pictrim::app {

struct NamingRules {
  std::string suffix;  // appended to the stem, may be empty
  std::string prefix;  // put before the file name when not empty
  bool lowerCase = false;
};

// True when the stored name's last extension is .JPG in any ASCII case.
bool IsJpegName(std::string_view inputPath, const text::PathSyntax& syntax);

// The input path without its last extension, the suffix appended, the prefix
// put before the file name, the file name lower-cased when asked (never the
// directory), and ".jpg" at the end.
std::string OutputPath(std::string_view inputPath, const NamingRules& rules,
                       const text::PathSyntax& syntax);

}  // namespace pictrim::app
