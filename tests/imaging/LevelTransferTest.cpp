// Contrast and brightness transfer and luma: hand-checked levels at the ends of the ranges, and the whole
// transfer against a digest computed by an independent single-precision model of the rule.
#include <gtest/gtest.h>

#include "imaging/LevelTransfer.h"

namespace mq::imaging {
namespace {

TEST(LevelTransferTest, NeutralSettingLeavesEveryLevel) {
  LevelTransfer neutral(0, 0);
  for (int v = 0; v < 256; ++v) EXPECT_EQ(neutral(static_cast<uint8_t>(v)), v);
}

TEST(LevelTransferTest, HandCheckedLevels) {
  struct Case {
    int v, contrast, brightness, expected;
  };
  const Case cases[] = {
      // Lowest contrast squeezes 0..255 into 100..155.
      {0, -100, 0, 100},
      {1, -100, 0, 100},
      {128, -100, 0, 127},
      {254, -100, 0, 154},
      {255, -100, 0, 155},
      // The single-precision divisor and the truncation toward zero: 128 / (255 / 253) + 1 is 127.99...
      {0, -1, 0, 1},
      {128, -1, 0, 127},
      {255, -1, 0, 254},
      {100, -73, 0, 115},
      // Highest contrast: at or below 100 black, at or above 155 white, the middle stretched.
      {100, 100, 0, 0},
      {101, 100, 0, 4},
      {127, 100, 0, 125},
      {154, 100, 0, 250},
      {155, 100, 0, 255},
      {1, 1, 0, 0},
      {2, 1, 0, 1},
      {254, 1, 0, 255},
      {100, 50, 0, 82},
      // Brightness is added last and clamped.
      {0, 0, 100, 100},
      {200, 0, 100, 255},
      {50, 0, -100, 0},
      {255, -100, 100, 255},
      {0, -100, -100, 0},
      {0, 100, 100, 100},
      {255, 100, -100, 155},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TransferLevel(c.v, c.contrast, c.brightness), c.expected)
        << "v " << c.v << " contrast " << c.contrast << " brightness " << c.brightness;
  }
}

// FNV-1a over TransferLevel(v, c, b) for c = -100..100, b in the list, v = 0..255, from a model that rounds
// every step to single precision by itself. The same value in every build shows that no build contracts or
// widens the arithmetic.
TEST(LevelTransferTest, WholeRangeMatchesSinglePrecisionModel) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (int c = -100; c <= 100; ++c) {
    for (int b : {-100, -37, 0, 1, 100}) {
      for (int v = 0; v < 256; ++v) {
        hash ^= static_cast<uint64_t>(TransferLevel(v, c, b));
        hash *= 0x100000001b3ull;
      }
    }
  }
  EXPECT_EQ(hash, 0x7a04a4375f9005ceull);
}

TEST(LevelTransferTest, LumaWeightsAndIntegerDivision) {
  EXPECT_EQ(Luma(255, 255, 255), 255);
  EXPECT_EQ(Luma(255, 0, 0), 76);
  EXPECT_EQ(Luma(0, 255, 0), 149);
  EXPECT_EQ(Luma(0, 0, 255), 29);
  EXPECT_EQ(Luma(4, 4, 4), 4);
  EXPECT_EQ(Luma(3, 0, 0), 0);  // 897 / 1000
}

}  // namespace
}  // namespace mq::imaging
