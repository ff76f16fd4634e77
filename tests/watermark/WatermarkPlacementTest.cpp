// Placement in a preview box whose width does not divide evenly (129 x 214): the nine anchor points, rows
// taken from the middle or bottom of a tall picture, and tiled copies cut at the box's edges.
#include <gtest/gtest.h>

#include "watermark/WatermarkPlacement.h"

namespace mq::watermark {
namespace {

using platform::ui::Picture;

constexpr int kW = 129, kH = 214;

TEST(Place, NineAnchorPointsAndTiled) {
  struct Case {
    int pw, ph, size, position;
    Placement expected;  // width, height, first row, rows, x, y, tiled
  };
  const Case cases[] = {
      // 300 x 300 at 50%: 129 * 50 / 100 = 64 wide, all 300 rows, 64 high.
      {300, 300, 50, 0, {64, 64, 0, 300, 0, 0, false}},
      {300, 300, 50, 1, {64, 64, 0, 300, 32, 0, false}},
      {300, 300, 50, 2, {64, 64, 0, 300, 65, 0, false}},
      {300, 300, 50, 3, {64, 64, 0, 300, 0, 75, false}},
      {300, 300, 50, 4, {64, 64, 0, 300, 32, 75, false}},
      {300, 300, 50, 5, {64, 64, 0, 300, 65, 75, false}},
      {300, 300, 50, 6, {64, 64, 0, 300, 0, 150, false}},
      {300, 300, 50, 7, {64, 64, 0, 300, 32, 150, false}},
      {300, 300, 50, 8, {64, 64, 0, 300, 65, 150, false}},
      // 100 x 400 at full width: 100 * 214 * 100 / 12900 = 165 rows fit, 165 * 129 / 100 = 212 high; the
      // middle takes rows from (400 - 165) / 2, the bottom the last 165.
      {100, 400, 100, 1, {129, 212, 0, 165, 0, 0, false}},
      {100, 400, 100, 4, {129, 212, 117, 165, 0, 1, false}},
      {100, 400, 100, 7, {129, 212, 235, 165, 0, 2, false}},
      // Tiled at 10% is drawn at 20%: 25 wide, 25 high.
      {300, 300, 10, 9, {25, 25, 0, 300, 0, 0, true}},
      {300, 300, 30, 9, {38, 38, 0, 300, 0, 0, true}},
      // Size 0 draws nothing.
      {300, 300, 0, 4, {0, 0, 0, 0, 0, 0, false}},
  };
  for (const Case& c : cases) {
    const Placement p = Place(kW, kH, c.pw, c.ph, c.size, c.position);
    const Placement& e = c.expected;
    SCOPED_TRACE(::testing::Message() << c.pw << "x" << c.ph << " size " << c.size << " at " << c.position);
    EXPECT_EQ(p.targetWidth, e.targetWidth);
    EXPECT_EQ(p.targetHeight, e.targetHeight);
    EXPECT_EQ(p.sourceFirstRow, e.sourceFirstRow);
    if (e.targetWidth != 0) {
      EXPECT_EQ(p.sourceRows, e.sourceRows);
    }
    EXPECT_EQ(p.x, e.x);
    EXPECT_EQ(p.y, e.y);
    EXPECT_EQ(p.tiled, e.tiled);
  }
  EXPECT_EQ(EffectiveSize(10, kTiled), 20);
  EXPECT_EQ(EffectiveSize(10, 4), 10);
}

// A picture black on its top half and grey below, so that which rows were used shows in the box.
Picture TwoBands(int w, int h) {
  Picture p(w, h, 0x808080);
  p.FillRect(0, 0, w, h / 2, 0x000000);
  return p;
}

TEST(PaintPreview, AnchoredCopyLeavesTheRestWhite) {
  const Picture box = PaintPreview(kW, kH, TwoBands(300, 300), 50, 8);  // right-bottom: x 65, y 150, 64 x 64
  EXPECT_EQ(box.Width(), kW);
  EXPECT_EQ(box.Height(), kH);
  EXPECT_EQ(box.At(65, 150), 0x000000u);
  EXPECT_EQ(box.At(128, 213), 0x808080u);
  EXPECT_EQ(box.At(64, 150), 0xFFFFFFu);
  EXPECT_EQ(box.At(65, 149), 0xFFFFFFu);
  // A tall picture's bottom rows: the grey half only.
  const Picture bottom = PaintPreview(kW, kH, TwoBands(100, 400), 100, 7);
  EXPECT_EQ(bottom.At(0, 2), 0x808080u);
  EXPECT_EQ(bottom.At(0, 1), 0xFFFFFFu);
  const Picture top = PaintPreview(kW, kH, TwoBands(100, 400), 100, 1);
  EXPECT_EQ(top.At(60, 0), 0x000000u);
}

TEST(PaintPreview, TilesRepeatFromTheTopLeftAndTheLastOnesAreCut) {
  // 25 x 25 copies: columns at 0, 25, ..., 125 (the last 4 wide), rows at 0, ..., 200 (the last 14 high).
  const Picture box = PaintPreview(kW, kH, TwoBands(300, 300), 10, kTiled);
  for (int left = 0; left < kW; left += 25) {
    for (int top = 0; top < kH; top += 25) {
      EXPECT_EQ(box.At(left, top), 0x000000u) << left << "," << top;
      if (top + 13 < kH) {
        EXPECT_EQ(box.At(left, top + 13), 0x808080u) << left << "," << top;
      }
    }
  }
  // The corner tile, 4 x 14 of its 25 x 25: black over its first 12 rows, grey below.
  EXPECT_EQ(box.At(128, 211), 0x000000u);
  EXPECT_EQ(box.At(128, 213), 0x808080u);
  EXPECT_EQ(box, PaintPreview(kW, kH, TwoBands(300, 300), 20, kTiled));
}

}  // namespace
}  // namespace mq::watermark
