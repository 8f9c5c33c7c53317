// Letter case of file names: ASCII letters only, byte for byte.
#pragma once

#include <string>
#include <string_view>

#include "text/lead_bytes.h"

namespace pictrim::text {

// Every byte a-z / A-Z changes, second bytes of double-byte characters too.
// Used where only ASCII matters (testing an extension).
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);

// Lower case for names a user will see: the second byte of a double-byte
// character is left alone, so アルバム stays アルバム.
std::string AsciiLowerName(std::string_view text, const LeadByteSet& lead);

}  // namespace pictrim::text
