#include "text/ascii_case.h"

namespace pictrim::text {

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return result;
}

std::string AsciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
  }
  return result;
}

std::string AsciiLowerName(std::string_view text, const LeadByteSet& lead) {
  std::string result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (lead.Contains(static_cast<unsigned char>(result[i])) && i + 1 < result.size()) {
      ++i;  // the next byte belongs to this character
      continue;
    }
    if (result[i] >= 'A' && result[i] <= 'Z') result[i] = static_cast<char>(result[i] + 0x20);
  }
  return result;
}

}  // namespace pictrim::text
