// How pictrim names itself and words its error box.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/lead_bytes.h"
#include "text/path_parts.h"

namespace pictrim::text {

// The error box's text: the message, with "." appended when its last
// character (a double-byte character judged by its lead byte) is above "."
// by byte value.
std::string ErrorBoxText(std::string_view message, const LeadByteSet& lead);

// The application title: the executable's file name up to its first ".",
// everything after the first character lower-cased by `lowerRest`.
std::string ApplicationTitle(std::string_view executablePath, const PathSyntax& syntax,
                             const std::function<std::string(std::string_view)>& lowerRest);

}  // namespace pictrim::text
