// The correction a size or percentage field gets when the user leaves it.
#pragma once

#include <cstdint>
#include <string>

#include "text/integer_text.h"

namespace pictrim::ui {

struct ExitRule {
  const char* replacement;  // for a text that is no integer text
  std::int32_t limit;
  const char* limitText;  // for a value above the limit
};

inline constexpr ExitRule kSizeRule{"0", 2048, "2048"};
inline constexpr ExitRule kPercentRule{"50", 100, "100"};

// The text the field holds after the check: unchanged when it is an integer
// text within the limit (blanks, signs, leading zeros and hex forms kept).
// There is no lower limit.
inline std::string CheckedFieldText(const std::string& text, const ExitRule& rule) {
  const auto value = text::ParseIntegerText(text);
  if (!value) return rule.replacement;
  if (*value > rule.limit) return rule.limitText;
  return text;
}

}  // namespace pictrim::ui
