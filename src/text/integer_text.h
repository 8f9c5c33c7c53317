// Integer texts: how every number pictrim takes from a text is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pictrim::text {

// The value of an integer text, or nothing when the text is not one.
// Leading spaces, one sign, decimal or hexadecimal ("$", "x", "X", "0x",
// "0X") digits, and nothing after the last digit.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

// As ParseIntegerText, raising EConvertError with the whole text quoted.
std::int32_t StrToInt(std::string_view text);

}  // namespace pictrim::text
