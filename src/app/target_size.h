// The size a photo is redrawn at, from the settings' numbers.
//
// The quotients and products are formed in the 80-bit extended format and
// only the final conversion truncates; evaluating in double precision (or
// as side * p / 100) moves some sides by one pixel, and users compare our
// output sizes with what they got before.
#pragma once

#include <cstdint>

namespace pictrim::app {

struct TargetSize {
  std::int32_t width;
  std::int32_t height;
  bool operator==(const TargetSize&) const = default;
};

// The quality byte handed to the encoder: 0 and values above 100 become
// 100, a negative value passes as its low 8 bits (-1 as 255).
std::uint8_t QualityByte(std::int32_t quality);

// Percentage mode: each side divided by the rounded quotient 100 / p; a p
// of 0 or above 100 counts as 50, a negative p is kept.
TargetSize PercentTargetSize(std::int32_t width, std::int32_t height, std::int32_t percent);

// Size mode: X by Y; a 0 side follows the other in the source's proportions.
// Raises EZeroDivide (x / 0) or EInvalidOp (0 / 0) for an empty source.
TargetSize FixedTargetSize(std::int32_t width, std::int32_t height, std::int32_t x, std::int32_t y);

}  // namespace pictrim::app
