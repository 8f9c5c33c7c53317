#include "app/target_size.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/errors.h"

namespace pictrim::app {
namespace {

TEST(QualityByte, ClampsAndWrapsLikeTheEncoderExpects) {
  const std::vector<std::pair<std::int32_t, int>> cases = {
      {0, 100}, {101, 100}, {1000, 100}, {1, 1}, {80, 80}, {100, 100}, {-1, 255}, {-200, 56}, {-256, 0}};
  for (const auto& [quality, byte] : cases) EXPECT_EQ(QualityByte(quality), byte) << quality;
}

struct PercentCase {
  std::int32_t percent;
  std::int32_t side;
  std::int32_t expected;
};

TEST(PercentTargetSize, DividesBySideOverTheRoundedQuotient) {
  const std::vector<PercentCase> cases = {
      {0, 100, 50},     {150, 100, 50},   {100, 4000, 4000}, {50, 333, 166},  {21, 100, 20},
      {3, 500, 15},     // double precision would give 14
      {-1, 99, 0},      {-50, 480, -240}, {33, 1000, 330},   {1, 65500, 655},
  };
  for (const auto& c : cases) {
    // Both sides follow the same rule; the height is worked out first.
    EXPECT_EQ(PercentTargetSize(c.side, 7, c.percent).width, c.expected) << c.percent << " of " << c.side;
    EXPECT_EQ(PercentTargetSize(7, c.side, c.percent).height, c.expected) << c.percent << " of " << c.side;
  }
}

TEST(PercentTargetSize, HalvesAcrossARangeOfSides) {
  for (std::int32_t side = 1; side <= 6000; ++side) {
    ASSERT_EQ(PercentTargetSize(side, side, 50), (TargetSize{side / 2, side / 2})) << side;
  }
}

struct FixedCase {
  std::int32_t width, height, x, y;
  TargetSize expected;
};

TEST(FixedTargetSize, FollowsTheProportionsOnlyForAZeroSide) {
  const std::vector<FixedCase> cases = {
      {480, 640, 100, 100, {100, 100}},
      {480, 640, 0, 84, {62, 84}},     // exact arithmetic would give 63
      {480, 640, 0, 164, {123, 164}},  // double precision would give 122
      {640, 480, 84, 0, {84, 62}},
      {640, 480, 0, -10, {-13, -10}},
      {640, 480, 0, 0, {0, 0}},
      {640, 480, 5000, 3, {5000, 3}},
      {640, 480, -5, 7, {-5, 7}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixedTargetSize(c.width, c.height, c.x, c.y), c.expected)
        << c.width << "x" << c.height << " to " << c.x << "x" << c.y;
  }
}

TEST(FixedTargetSize, AnEmptySourceRaisesTheDivisionErrors) {
  EXPECT_THROW(FixedTargetSize(0, 0, 0, 100), EZeroDivide);
  EXPECT_THROW(FixedTargetSize(0, 0, 100, 0), EZeroDivide);
  EXPECT_THROW(FixedTargetSize(0, 0, 0, 0), EInvalidOp);
  EXPECT_EQ(FixedTargetSize(0, 0, 100, 100), (TargetSize{100, 100}));
  EXPECT_EQ(PercentTargetSize(0, 0, 50), (TargetSize{0, 0}));
  try {
    FixedTargetSize(0, 0, 0, 100);
  } catch (const EZeroDivide& e) {
    EXPECT_STREQ(e.what(), "0 による浮動小数点数除算");
  }
  try {
    FixedTargetSize(0, 0, 0, 0);
  } catch (const EInvalidOp& e) {
    EXPECT_STREQ(e.what(), "不正な浮動小数点数演算命令");
  }
}

TEST(FixedTargetSize, KeepsTheLow32BitsOfAHugeSide) {
  // 65500 * (2147483647 / 1) does not fit 32 bits: the low half is kept.
  const std::int64_t whole = std::int64_t{65500} * 2147483647;
  const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
  EXPECT_EQ(FixedTargetSize(65500, 1, 0, 2147483647).width, low);
}

}  // namespace
}  // namespace pictrim::app
