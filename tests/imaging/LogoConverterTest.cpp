// Gray and black-and-white conversion on tiny hand-checked pictures: each source depth, each halftone with
// its own comparison, the palette rule of 1-bit sources, the exact intermediate headers, and refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestBitmaps.h"
#include "imaging/LevelTransfer.h"
#include "imaging/LogoConverter.h"

namespace mq::imaging {
namespace {

using test::Colour;
using test::Colour24;
using test::Gray8;
using test::GrayLevel;
using test::Mono1;
using test::MonoBit;

// Mono intermediate rows as strings of '#' (black) and '.' (white), stored row 0 first.
std::vector<std::string> MonoRows(const std::vector<uint8_t>& file, int width, int height) {
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) row += MonoBit(file, width, x, y) ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

std::vector<uint8_t> Mono(const std::vector<uint8_t>& source, Halftone halftone, int contrast = 0,
                          int brightness = 0) {
  std::vector<uint8_t> out;
  EXPECT_EQ(MakeMonoBitmap(source, halftone, contrast, brightness, &out), Status::kOk);
  return out;
}

int CountWhite(const std::vector<uint8_t>& file, int width, int height) {
  int white = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) white += MonoBit(file, width, x, y);
  }
  return white;
}

TEST(LogoConverterTest, GrayIntermediateHeaderAndPaletteAreExact) {
  std::vector<uint8_t> out;
  ASSERT_EQ(MakeGrayBitmap(Gray8(5, 3, [](int, int) { return 7; }), 0, 0, &out), Status::kOk);
  const uint8_t header[54] = {'B', 'M', 0x4E, 0x04, 0, 0, 0,  0, 0, 0, 0x36, 0x04, 0, 0,  // 1078 + 8 * 3
                              40,  0,   0,    0,    5, 0, 0,  0, 3, 0, 0,    0,    1, 0,
                              8,   0,   0,    0,    0, 0, 24, 0, 0, 0};
  ASSERT_EQ(out.size(), 1078u + 24u);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 54), std::vector<uint8_t>(header, header + 54));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(out[54 + 4 * i], i);
    EXPECT_EQ(out[54 + 4 * i + 1], i);
    EXPECT_EQ(out[54 + 4 * i + 2], i);
    EXPECT_EQ(out[54 + 4 * i + 3], 0);
  }
}

TEST(LogoConverterTest, MonoIntermediateHeaderAndPaletteAreExact) {
  std::vector<uint8_t> out = Mono(Gray8(33, 2, [](int, int) { return 0; }), Halftone::kNone);
  const uint8_t expected[62] = {'B', 'M', 78, 0, 0,  0, 0, 0, 0, 0, 62, 0, 0,   0,  // 62 + 8 * 2
                                40,  0,   0,  0, 33, 0, 0, 0, 2, 0, 0,  0, 1,   0,   1,   0,
                                0,   0,   0,  0, 16, 0, 0, 0, 0, 0, 0,  0, 0,   0,   0,   0,
                                0,   0,   0,  0, 0,  0, 0, 0, 0, 0, 0,  0, 255, 255, 255, 0};
  ASSERT_EQ(out.size(), 78u);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 62),
            std::vector<uint8_t>(expected, expected + 62));
}

TEST(LogoConverterTest, GrayLevelsOfEachSourceDepth) {
  std::vector<uint8_t> out;
  // 24-bit: luma of the transferred channels, rows kept in stored order.
  auto colour = Colour24(3, 2, [](int x, int y) {
    const Colour pixels[2][3] = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                                 {{255, 255, 255}, {10, 20, 30}, {0, 0, 0}}};
    return pixels[y][x];
  });
  ASSERT_EQ(MakeGrayBitmap(colour, 0, 0, &out), Status::kOk);
  const uint8_t expected24[2][3] = {{76, 149, 29}, {255, 18, 0}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(GrayLevel(out, 3, x, y), expected24[y][x]) << x << "," << y;
  }
  // Transfer before luma: contrast -100 makes black 100 and white 155 in every channel.
  ASSERT_EQ(MakeGrayBitmap(colour, -100, 0, &out), Status::kOk);
  EXPECT_EQ(GrayLevel(out, 3, 0, 0), Luma(155, 100, 100));
  EXPECT_EQ(GrayLevel(out, 3, 0, 1), 155);

  // 8-bit: the pixel value is the level whatever the palette says.
  ASSERT_EQ(MakeGrayBitmap(Gray8(2, 1, [](int x, int) { return x ? 200 : 3; }), 0, 10, &out), Status::kOk);
  EXPECT_EQ(GrayLevel(out, 2, 0, 0), 13);
  EXPECT_EQ(GrayLevel(out, 2, 1, 0), 210);
}

TEST(LogoConverterTest, OneBitPaletteDecidesWhetherBitsAreInverted) {
  struct Case {
    const char* what;
    uint32_t entry0, entry1;
    uint8_t reserved1;  // the unused fourth byte of entry 1
    uint8_t setBitLevel, clearBitLevel;
  };
  const Case cases[] = {
      {"black, white: as stored", 0x000000, 0xFFFFFF, 0, 255, 0},
      {"white, black: inverted", 0xFFFFFF, 0x000000, 0, 0, 255},
      {"coloured: inverted", 0xFF0000, 0x0000FF, 0, 0, 255},
      {"almost white: inverted", 0x000000, 0xFFFFFE, 0, 0, 255},
      {"the reserved byte is not part of the colour", 0x000000, 0xFFFFFF, 0x7F, 255, 0},
  };
  for (const Case& c : cases) {
    auto source = Mono1(10, 2, c.entry0, c.entry1, [](int x, int y) { return (x + y) % 2 == 0; });
    source[61] = c.reserved1;
    std::vector<uint8_t> out;
    ASSERT_EQ(MakeGrayBitmap(source, 0, 0, &out), Status::kOk) << c.what;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(GrayLevel(out, 10, x, y), (x + y) % 2 == 0 ? c.setBitLevel : c.clearBitLevel) << c.what;
      }
    }
  }
  // Levels 255 and 0 pass through the transfer too.
  std::vector<uint8_t> out;
  ASSERT_EQ(MakeGrayBitmap(Mono1(2, 1, 0, 0xFFFFFF, [](int x, int) { return x == 0; }), -100, 0, &out),
            Status::kOk);
  EXPECT_EQ(GrayLevel(out, 2, 0, 0), 155);
  EXPECT_EQ(GrayLevel(out, 2, 1, 0), 100);
}

TEST(LogoConverterTest, NoneComparesWithTheImageMean) {
  // Uniform picture: nothing is greater than the mean, all black.
  for (const auto& source : {Colour24(9, 3,
                                      [](int, int) {
                                        return Colour{90, 140, 200};
                                      }),
                             Gray8(9, 3, [](int, int) { return 77; })}) {
    auto out = Mono(source, Halftone::kNone);
    for (const std::string& row : MonoRows(out, 9, 3)) EXPECT_EQ(row, "#########");
  }
  // Levels 0, 100, 200 in a row: mean 100; only 200 is greater.
  auto gray = Gray8(3, 1, [](int x, int) { return static_cast<uint8_t>(100 * x); });
  EXPECT_EQ(MonoRows(Mono(gray, Halftone::kNone), 3, 1)[0], "##.");
  // The mean of colour is the luma of the channel means: red 0/30/60 and blue 0/30/60 give means 30 and 30,
  // luma(30, 0, 30) = 12; pixel lumas are 0, 12 and 24.
  auto colour = Colour24(3, 1, [](int x, int) {
    uint8_t v = static_cast<uint8_t>(30 * x);
    return Colour{v, 0, v};
  });
  EXPECT_EQ(MonoRows(Mono(colour, Halftone::kNone), 3, 1)[0], "##.");
  // The mean is taken after the transfer: brightness +100 lifts 0 to 100, 100 to 200, 200 to 255 (mean 185).
  EXPECT_EQ(MonoRows(Mono(gray, Halftone::kNone, 0, 100), 3, 1)[0], "#..");
}

TEST(LogoConverterTest, DitherM3ComparesColourAndGrayDifferently) {
  // Cell [4][4] of the 8 x 8 matrix holds 1. Luma 4 gives 4 / 4 = 1: white for colour (>=), black for gray
  // (>).
  auto colour = Colour24(5, 5, [](int, int) { return Colour{4, 4, 4}; });
  auto gray = Gray8(5, 5, [](int, int) { return 4; });
  EXPECT_TRUE(MonoBit(Mono(colour, Halftone::kDitherM3), 5, 4, 4));
  EXPECT_FALSE(MonoBit(Mono(gray, Halftone::kDitherM3), 5, 4, 4));
  // Cell [0][0] holds 0: a black pixel is white for colour, black for gray.
  auto black = Colour24(1, 1, [](int, int) { return Colour{0, 0, 0}; });
  EXPECT_TRUE(MonoBit(Mono(black, Halftone::kDitherM3), 1, 0, 0));
  EXPECT_FALSE(MonoBit(Mono(Gray8(1, 1, [](int, int) { return 3; }), Halftone::kDitherM3), 1, 0, 0));
  EXPECT_TRUE(MonoBit(Mono(Gray8(1, 1, [](int, int) { return 4; }), Halftone::kDitherM3), 1, 0, 0));

  // Pictures that follow the matrix (repeated every 8 pixels): for gray, level 4m + 4 is the first white of
  // cell m (cell 63 can never be white: 255 / 4 = 63); for colour, luma 4m is.
  auto cell = [](int x, int y) { return 4 * kDitherMatrix8[y % 8][x % 8]; };
  auto grayAt =
      Gray8(16, 16, [&](int x, int y) { return static_cast<uint8_t>(std::min(cell(x, y) + 4, 255)); });
  auto grayBelow = Gray8(16, 16, [&](int x, int y) { return static_cast<uint8_t>(cell(x, y) + 3); });
  auto colourAt = Colour24(16, 16, [&](int x, int y) {
    uint8_t v = static_cast<uint8_t>(cell(x, y));
    return Colour{v, v, v};
  });
  auto colourBelow = Colour24(16, 16, [&](int x, int y) {
    uint8_t v = static_cast<uint8_t>(std::max(cell(x, y) - 1, 0));
    return Colour{v, v, v};
  });
  EXPECT_EQ(CountWhite(Mono(grayAt, Halftone::kDitherM3), 16, 16), 256 - 4);
  EXPECT_EQ(CountWhite(Mono(grayBelow, Halftone::kDitherM3), 16, 16), 0);
  EXPECT_EQ(CountWhite(Mono(colourAt, Halftone::kDitherM3), 16, 16), 256);
  EXPECT_EQ(CountWhite(Mono(colourBelow, Halftone::kDitherM3), 16, 16), 4);  // cell 0 is always white
}

TEST(LogoConverterTest, DitherM4MatrixQuarters) {
  EXPECT_EQ(DitherMatrix16(0, 0), 0);
  EXPECT_EQ(DitherMatrix16(0, 8), 3);
  EXPECT_EQ(DitherMatrix16(8, 0), 2);
  EXPECT_EQ(DitherMatrix16(8, 8), 1);
  EXPECT_EQ(DitherMatrix16(7, 7), 4 * 21);
  EXPECT_EQ(DitherMatrix16(3, 12), 4 * 62 + 3);
  EXPECT_EQ(DitherMatrix16(16 + 3, 32 + 12), 4 * 62 + 3);
  std::vector<bool> seen(256, false);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) seen[DitherMatrix16(y, x)] = true;
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 256);
}

TEST(LogoConverterTest, DitherM4ColourUsesItsOwnContrastRule) {
  // Half black, half white: channel means 127. Contrast -100 gives k = 0, so every channel becomes its mean
  // and every luma 127; white where the matrix holds at most 127: half of the 256 cells.
  auto halves = Colour24(16, 16, [](int x, int) { return x < 8 ? Colour{0, 0, 0} : Colour{255, 255, 255}; });
  EXPECT_EQ(CountWhite(Mono(halves, Halftone::kDitherM4, -100, 0), 16, 16), 128);
  // Brightness is added to the flattened channels: 227, white in cells 0..227.
  EXPECT_EQ(CountWhite(Mono(halves, Halftone::kDitherM4, -100, 100), 16, 16), 228);
  // Contrast 0 gives k = 1, the picture itself: the white half, plus the one black pixel on a cell holding 0.
  auto out = Mono(halves, Halftone::kDitherM4);
  EXPECT_EQ(CountWhite(out, 16, 16), 8 * 16 + 1);
  EXPECT_TRUE(MonoBit(out, 16, 0, 0));

  // k = 1 - sqrt(50) / 10 = 0.29289...: channel 200 with mean 100 becomes trunc(129.29) = 129, channel 0 with
  // mean 100 becomes trunc(70.71) = 70. Luma 129 is white at cells up to 129, luma 70 up to 70.
  auto two = Colour24(16, 16, [](int x, int) { return x % 2 ? Colour{200, 200, 200} : Colour{0, 0, 0}; });
  auto spread = Mono(two, Halftone::kDitherM4, -50, 0);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(MonoBit(spread, 16, x, y), DitherMatrix16(y, x) <= (x % 2 ? 129 : 70)) << x << "," << y;
    }
  }
  // Contrast 100 gives k = 11: 100 + (200 - 100) * 11 clamps to 255, 100 - 1100 to 0.
  auto hard = Mono(two, Halftone::kDitherM4, 100, 0);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) EXPECT_EQ(MonoBit(hard, 16, x, y), x % 2 == 1 || DitherMatrix16(y, x) == 0);
  }
}

TEST(LogoConverterTest, DitherM4GrayUsesTheTransferAndAStrictComparison) {
  // Level m + 1 is the first white of cell m.
  auto exact = Gray8(16, 16, [](int x, int y) { return DitherMatrix16(y, x); });
  EXPECT_EQ(CountWhite(Mono(exact, Halftone::kDitherM4), 16, 16), 0);
  auto above = Gray8(
      16, 16, [](int x, int y) { return static_cast<uint8_t>(std::min(DitherMatrix16(y, x) + 1, 255)); });
  EXPECT_EQ(CountWhite(Mono(above, Halftone::kDitherM4), 16, 16), 255);  // level 255 at cell 255 stays black
  // The transfer applies: brightness +1 turns the exact picture into the one above.
  EXPECT_EQ(CountWhite(Mono(exact, Halftone::kDitherM4, 0, 1), 16, 16), 255);
}

TEST(LogoConverterTest, ErrorDiffusionHandTrace) {
  // Every level 100, three wide, two high. Stored row 0 runs right to left:
  //   x2: s 100 black, e 100: carry 37; below x2 +37, x1 +25
  //   x1: s 137 white, e -118: carry trunc(-44.25) = -44; below x1 -44 (-19), x0 trunc(-29.5) = -29
  //   x0: s 56 black, e 56: below x0 +21 (-8)
  // Row 1 runs left to right with errors -8, -19, 37: s 92 black, 100 - 19 + 34 = 115 black,
  // 100 + 37 + 43 = 180 white.
  for (const auto& source : {Gray8(3, 2, [](int, int) { return 100; }), Colour24(3, 2, [](int, int) {
                               return Colour{100, 100, 100};
                             })}) {
    auto rows = MonoRows(Mono(source, Halftone::kErrorDiffuse), 3, 2);
    EXPECT_EQ(rows[0], "#.#");
    EXPECT_EQ(rows[1], "##.");
  }
  // Threshold 129: 128 alone is black, 129 white.
  EXPECT_EQ(MonoRows(Mono(Gray8(1, 1, [](int, int) { return 128; }), Halftone::kErrorDiffuse), 1, 1)[0], "#");
  EXPECT_EQ(MonoRows(Mono(Gray8(1, 1, [](int, int) { return 129; }), Halftone::kErrorDiffuse), 1, 1)[0], ".");
  // A mid gray comes out about half white over a larger area, with errors carried along and down.
  auto mid = Gray8(64, 64, [](int, int) { return 128; });
  int white = CountWhite(Mono(mid, Halftone::kErrorDiffuse), 64, 64);
  EXPECT_NEAR(white, 64 * 64 / 2, 64);
}

TEST(LogoConverterTest, RefusesDepthsAndSettingsItCannotUse) {
  std::vector<uint8_t> out = {1, 2, 3};
  auto oneBit = Mono1(8, 8, 0, 0xFFFFFF, [](int, int) { return true; });
  auto gray = Gray8(4, 4, [](int, int) { return 9; });
  EXPECT_EQ(MakeMonoBitmap(oneBit, Halftone::kDitherM3, 0, 0, &out), Status::kUnsupportedDepth);
  EXPECT_EQ(MakeMonoBitmap(gray, static_cast<Halftone>(4), 0, 0, &out), Status::kBadSetting);
  EXPECT_EQ(MakeMonoBitmap(gray, Halftone::kNone, 101, 0, &out), Status::kBadSetting);
  EXPECT_EQ(MakeMonoBitmap(gray, Halftone::kNone, 0, -101, &out), Status::kBadSetting);
  EXPECT_EQ(MakeGrayBitmap(gray, -101, 0, &out), Status::kBadSetting);
  EXPECT_EQ(MakeGrayBitmap(gray, 0, 101, &out), Status::kBadSetting);
  gray[30] = 1;  // compressed
  EXPECT_EQ(MakeGrayBitmap(gray, 0, 0, &out), Status::kCompressed);
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3}));  // untouched on failure
}

}  // namespace
}  // namespace mq::imaging
