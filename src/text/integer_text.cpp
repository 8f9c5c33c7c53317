#include "text/integer_text.h"

#include "platform/errors.h"

namespace pictrim::text {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Hexadecimal digits give a 32-bit pattern; a sign before them is ignored.
std::optional<std::int32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || value > 0x0FFFFFFFu) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDecimalDigits(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || value > 214748364) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  std::string_view rest = text.substr(pos);
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    return ParseHexDigits(rest.substr(1));
  }
  if (rest.starts_with("0x") || rest.starts_with("0X")) return ParseHexDigits(rest.substr(2));
  return ParseDecimalDigits(rest, negative);
}

std::int32_t StrToInt(std::string_view text) {
  if (auto value = ParseIntegerText(text)) return *value;
  throw EConvertError::NotAnInteger(text);
}

}  // namespace pictrim::text
