// The mono and gray logo records: hand-checked layouts for sizes on and off the multiples of 8 and 32, a
// dot-by-dot reference over many sizes, palette and padding rules, refusals.
#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "imaging/LogoRecord.h"

namespace mq::imaging {
namespace {

using test::Gray8;
using test::Mono1;
using test::Stride;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

std::vector<uint8_t> EncodeMono(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> record;
  EXPECT_EQ(EncodeMonoLogo(file, &record), Status::kOk);
  return record;
}

std::vector<uint8_t> EncodeGray(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> record;
  EXPECT_EQ(EncodeGrayLogo(file, &record), Status::kOk);
  return record;
}

// Whether the mono record prints the dot at column c, row r counted from the top of the record.
bool RecordDot(const std::vector<uint8_t>& record, int c, int r) {
  int v = record[2] | (record[3] << 8);
  return (record[4 + c * v + r / 8] >> (7 - r % 8)) & 1;
}

TEST(LogoRecordTest, MonoHeaderAndSizeFollowWidthAndHeight) {
  struct Case {
    int width, height, n, v;
  };
  // n: stride in bytes (32-dot steps); v: 8-dot bands.
  for (const Case& c : {Case{1, 1, 4, 1}, Case{10, 8, 4, 1}, Case{10, 9, 4, 2}, Case{32, 16, 4, 2},
                        Case{33, 17, 8, 3}, Case{64, 7, 8, 1}, Case{1024, 768, 128, 96}}) {
    auto record = EncodeMono(Mono1(c.width, c.height, kBlack, kWhite, [](int, int) { return true; }));
    ASSERT_EQ(record.size(), 4u + static_cast<size_t>(c.n) * 8 * c.v) << c.width << "x" << c.height;
    EXPECT_EQ(record[0] | (record[1] << 8), c.n);
    EXPECT_EQ(record[2] | (record[3] << 8), c.v);
  }
}

TEST(LogoRecordTest, MonoBlankRowsGoAboveThePicture) {
  // 10 x 9, black-then-white palette, one black pixel at the top-left and one at the bottom-left. v = 2 with
  // 7 blank rows on top: the top-left dot is record row 7, the bottom-left one row 15.
  auto file = Mono1(10, 9, kBlack, kWhite, [](int x, int y) { return !(x == 0 && (y == 8 || y == 0)); });
  auto record = EncodeMono(file);
  ASSERT_EQ(record.size(), 4u + 4 * 8 * 2);
  EXPECT_EQ(record[4], 0x01);  // column 0, band 0: row 7 in the lowest bit
  EXPECT_EQ(record[5], 0x01);  // column 0, band 1: row 15
  for (size_t i = 6; i < record.size(); ++i) EXPECT_EQ(record[i], 0) << i;

  // 8 high: no blank rows, the top row is the most significant bit.
  auto eight = EncodeMono(Mono1(3, 8, kBlack, kWhite, [](int x, int y) { return !(x == 2 && y == 7); }));
  EXPECT_EQ(eight[4 + 2], 0x80);
}

// Straightforward dot-by-dot model of the record, for comparison over many sizes.
std::vector<uint8_t> ReferenceMonoRecord(int width, int height, bool invert,
                                         const std::function<bool(int, int)>& bit) {
  int n = static_cast<int>(Stride(width, 1));
  int v = (height + 7) / 8;
  int blank = 8 * v - height;
  std::vector<uint8_t> record = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                 static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  for (int c = 0; c < n * 8; ++c) {
    for (int band = 0; band < v; ++band) {
      uint8_t byte = 0;
      for (int k = 0; k < 8; ++k) {
        int top = band * 8 + k - blank;
        bool dot = top >= 0 && c < width && (bit(c, height - 1 - top) != invert);
        byte |= static_cast<uint8_t>(dot << (7 - k));
      }
      record.push_back(byte);
    }
  }
  return record;
}

TEST(LogoRecordTest, MonoMatchesDotByDotModelOverManySizes) {
  auto pattern = [](int x, int y) { return ((x * 7 + y * 13) ^ (x * y)) % 3 == 0; };
  for (int width : {1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100}) {
    for (int height : {1, 7, 8, 9, 15, 16, 17, 40}) {
      for (bool blackFirst : {true, false}) {
        // Padding bits set, so that any leak into the record shows.
        auto file =
            Mono1(width, height, blackFirst ? kBlack : kWhite, blackFirst ? kWhite : kBlack, pattern, 0xFF);
        if (width % 8) {
          for (int y = 0; y < height; ++y) file[62 + y * Stride(width, 1) + width / 8] |= 0xFF >> (width % 8);
        }
        EXPECT_EQ(EncodeMono(file), ReferenceMonoRecord(width, height, blackFirst, pattern))
            << width << "x" << height << (blackFirst ? " black-white" : " white-black");
      }
    }
  }
}

TEST(LogoRecordTest, MonoPaletteMustBeBlackAndWhite) {
  std::vector<uint8_t> record;
  auto bit = [](int, int) { return true; };
  EXPECT_EQ(EncodeMonoLogo(Mono1(8, 8, kBlack, kBlack, bit), &record), Status::kBadPalette);
  EXPECT_EQ(EncodeMonoLogo(Mono1(8, 8, kWhite, kWhite, bit), &record), Status::kBadPalette);
  EXPECT_EQ(EncodeMonoLogo(Mono1(8, 8, 0xFF0000, kWhite, bit), &record), Status::kBadPalette);
  EXPECT_EQ(EncodeMonoLogo(Mono1(8, 8, kBlack, 0xFEFFFF, bit), &record), Status::kBadPalette);
  EXPECT_EQ(EncodeMonoLogo(Gray8(8, 8, [](int, int) { return 0; }), &record), Status::kUnsupportedDepth);
  EXPECT_TRUE(record.empty());
  // A white-then-black file prints its set bits.
  auto whiteFirst = EncodeMono(Mono1(8, 8, kWhite, kBlack, [](int x, int y) { return x == 1 && y == 7; }));
  EXPECT_TRUE(RecordDot(whiteFirst, 1, 0));
  EXPECT_FALSE(RecordDot(whiteFirst, 0, 0));
}

TEST(LogoRecordTest, GrayHeaderAndSizeFollowWidthAndHeight) {
  struct Case {
    int width, height, m, r;
  };
  // a = width rounded up to 4; m = (a + 7) / 8; r = (4h + 7) / 8.
  for (const Case& c : {Case{3, 3, 1, 2}, Case{4, 2, 1, 1}, Case{5, 1, 1, 1}, Case{8, 4, 1, 2},
                        Case{9, 5, 2, 3}, Case{12, 8, 2, 4}, Case{33, 7, 5, 4}, Case{1024, 768, 128, 384}}) {
    auto record = EncodeGray(Gray8(c.width, c.height, [](int, int) { return 0; }));
    ASSERT_EQ(record.size(), 6u + static_cast<size_t>(c.m) * c.r * 8) << c.width << "x" << c.height;
    EXPECT_EQ(record[0], 0x01);
    EXPECT_EQ(record[1], 0x00);
    EXPECT_EQ(record[2] | (record[3] << 8), c.m);
    EXPECT_EQ(record[4] | (record[5] << 8), c.r);
  }
}

TEST(LogoRecordTest, GrayPlanesHandChecked) {
  // 3 x 3, a = 4, m = 1: each plane byte holds 3 pixels, the padding pixel (white) and four zero bits.
  // Top row levels 0x00, 0x90, 0xFF; the other rows 0x5A (0101 1010) everywhere.
  auto file = Gray8(3, 3, [](int x, int y) {
    const uint8_t top[3] = {0x00, 0x90, 0xFF};
    return y == 2 ? top[x] : 0x5A;
  });
  auto record = EncodeGray(file);
  ASSERT_EQ(record.size(), 6u + 16);
  const uint8_t expected[16] = {
      // top row, planes of bits 7, 6, 5, 4: a plane bit is 1 where the level's bit is 0
      0x80, 0xC0, 0xC0, 0x80,
      // 0x5A: bits 7..4 are 0, 1, 0, 1
      0xE0, 0x00, 0xE0, 0x00, 0xE0, 0x00, 0xE0, 0x00,
      // odd height: four zero plane rows
      0, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + 6, record.end()),
            std::vector<uint8_t>(expected, expected + 16));

  // 9 wide (a = 12, m = 2): the second byte holds pixel 8 and three white padding pixels in its high half.
  auto wide = EncodeGray(Gray8(9, 2, [](int, int) { return 0; }));
  ASSERT_EQ(wide.size(), 6u + 2 * 1 * 8);
  for (int row = 0; row < 8; ++row) {
    EXPECT_EQ(wide[6 + 2 * row], 0xFF);
    EXPECT_EQ(wide[6 + 2 * row + 1], 0x80);
  }
}

// Straightforward model of the gray record.
std::vector<uint8_t> ReferenceGrayRecord(int width, int height,
                                         const std::function<uint8_t(int, int)>& level) {
  int a = (width + 3) / 4 * 4;
  int m = (a + 7) / 8;
  int r = (4 * height + 7) / 8;
  std::vector<uint8_t> record = {1,
                                 0,
                                 static_cast<uint8_t>(m),
                                 static_cast<uint8_t>(m >> 8),
                                 static_cast<uint8_t>(r),
                                 static_cast<uint8_t>(r >> 8)};
  for (int top = 0; top < height; ++top) {
    for (int bit = 7; bit >= 4; --bit) {
      for (int i = 0; i < m; ++i) {
        uint8_t byte = 0;
        for (int k = 0; k < 8; ++k) {
          int x = i * 8 + k;
          if (x >= a) continue;
          int value = x < width ? level(x, height - 1 - top) : 255;
          if (!((value >> bit) & 1)) byte |= static_cast<uint8_t>(0x80 >> k);
        }
        record.push_back(byte);
      }
    }
  }
  record.resize(6 + static_cast<size_t>(m) * r * 8, 0);
  return record;
}

TEST(LogoRecordTest, GrayMatchesModelOverManySizes) {
  auto level = [](int x, int y) { return static_cast<uint8_t>((x * 37 + y * 101) ^ (x * y * 3)); };
  for (int width : {1, 3, 4, 5, 7, 8, 9, 12, 16, 17, 31, 33}) {
    for (int height : {1, 2, 3, 8, 9}) {
      EXPECT_EQ(EncodeGray(Gray8(width, height, level)), ReferenceGrayRecord(width, height, level))
          << width << "x" << height;
    }
  }
}

TEST(LogoRecordTest, GrayNeedsAnEightBitFile) {
  std::vector<uint8_t> record;
  EXPECT_EQ(EncodeGrayLogo(Mono1(8, 8, kBlack, kWhite, [](int, int) { return true; }), &record),
            Status::kUnsupportedDepth);
  EXPECT_EQ(EncodeGrayLogo(std::vector<uint8_t>{'B', 'M'}, &record), Status::kTruncated);
  EXPECT_TRUE(record.empty());
}

}  // namespace
}  // namespace mq::imaging
