#include "app/target_size.h"

#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace pictrim::app {

namespace {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "target sizes need the 80-bit extended format (64-bit significand)");

Extended Divide(Extended dividend, Extended divisor) {
  if (divisor == 0) {
    if (dividend == 0) throw EInvalidOp();
    throw EZeroDivide();
  }
  return dividend / divisor;
}

// Truncates toward zero to a 64-bit integer and keeps its low 32 bits.
std::int32_t TruncateToSide(Extended value) {
  if (!(std::fabs(value) < 0x1p63L)) throw EInvalidOp();
  const auto whole = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

}  // namespace

std::uint8_t QualityByte(std::int32_t quality) {
  if (quality == 0 || quality > 100) quality = 100;
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(quality) & 0xFFu);
}

TargetSize PercentTargetSize(std::int32_t width, std::int32_t height, std::int32_t percent) {
  if (percent == 0 || percent > 100) percent = 50;
  const Extended divisor = Divide(100, percent);
  const std::int32_t targetHeight = TruncateToSide(Divide(height, divisor));
  const std::int32_t targetWidth = TruncateToSide(Divide(width, divisor));
  return {targetWidth, targetHeight};
}

TargetSize FixedTargetSize(std::int32_t width, std::int32_t height, std::int32_t x, std::int32_t y) {
  TargetSize target{x, y};
  if (x == 0) {
    const Extended ratio = Divide(y, height);
    target.width = TruncateToSide(static_cast<Extended>(width) * ratio);
  }
  if (y == 0) {
    const Extended ratio = Divide(x, width);
    target.height = TruncateToSide(static_cast<Extended>(height) * ratio);
  }
  return target;
}

}  // namespace pictrim::app
