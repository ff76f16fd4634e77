// The bitmap reader: what it accepts, and each refusal of a damaged, lying or unsupported file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "TestBitmaps.h"
#include "imaging/BitmapReader.h"

namespace mq::imaging {
namespace {

using test::BlankBitmap;
using test::Put16;
using test::Put32;

TEST(BitmapReaderTest, AcceptsEachDepthAndDescribesIt) {
  struct Case {
    int width, height, bits;
    size_t stride;
  };
  for (const Case& c : {Case{10, 3, 24, 32}, Case{5, 2, 8, 8}, Case{33, 9, 1, 8}, Case{1024, 768, 24, 3072},
                        Case{1024, 768, 8, 1024}, Case{1, 1, 1, 4}}) {
    std::vector<uint8_t> file = BlankBitmap(c.width, c.height, c.bits);
    file.push_back(0xEE);  // trailing bytes are ignored
    Bitmap bitmap;
    ASSERT_EQ(ReadBitmap(file, &bitmap), Status::kOk) << c.width << "x" << c.height << "x" << c.bits;
    EXPECT_EQ(bitmap.width, c.width);
    EXPECT_EQ(bitmap.height, c.height);
    EXPECT_EQ(bitmap.bitsPerPixel, c.bits);
    EXPECT_EQ(bitmap.stride, c.stride);
    EXPECT_EQ(bitmap.pixels, file.data() + PixelOffset(c.bits));
  }
}

TEST(BitmapReaderTest, ReadsTheTwoPaletteEntriesOfAOneBitFile) {
  std::vector<uint8_t> file = test::Mono1(8, 1, 0x102030, 0xFFFFFF, [](int, int) { return false; });
  Bitmap bitmap;
  ASSERT_EQ(ReadBitmap(file, &bitmap), Status::kOk);
  EXPECT_EQ(bitmap.palette[0].red, 0x10);
  EXPECT_EQ(bitmap.palette[0].green, 0x20);
  EXPECT_EQ(bitmap.palette[0].blue, 0x30);
  EXPECT_TRUE(bitmap.palette[1].IsWhite());
}

TEST(BitmapReaderTest, RefusesDamagedLyingAndUnsupportedFiles) {
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    Status expected;
  };
  const Case cases[] = {
      {"empty", [](auto& f) { f.clear(); }, Status::kNotBitmap},
      {"signature", [](auto& f) { f[1] = 'A'; }, Status::kNotBitmap},
      {"cut inside the headers", [](auto& f) { f.resize(53); }, Status::kTruncated},
      {"OS/2 header", [](auto& f) { Put32(f, 14, 12); }, Status::kUnsupportedHeader},
      {"version 5 header", [](auto& f) { Put32(f, 14, 124); }, Status::kUnsupportedHeader},
      {"run-length compression", [](auto& f) { Put32(f, 30, 1); }, Status::kCompressed},
      {"bit fields", [](auto& f) { Put32(f, 30, 3); }, Status::kCompressed},
      {"4 bits", [](auto& f) { Put16(f, 28, 4); }, Status::kUnsupportedDepth},
      {"32 bits", [](auto& f) { Put16(f, 28, 32); }, Status::kUnsupportedDepth},
      {"0 bits", [](auto& f) { Put16(f, 28, 0); }, Status::kUnsupportedDepth},
      {"zero width", [](auto& f) { Put32(f, 18, 0); }, Status::kBadSize},
      {"zero height", [](auto& f) { Put32(f, 22, 0); }, Status::kBadSize},
      {"top-down rows", [](auto& f) { Put32(f, 22, static_cast<uint32_t>(-4)); }, Status::kBadSize},
      {"negative width", [](auto& f) { Put32(f, 18, 0x80000000u); }, Status::kBadSize},
      {"width 1025", [](auto& f) { Put32(f, 18, 1025); }, Status::kTooLarge},
      {"height 769", [](auto& f) { Put32(f, 22, 769); }, Status::kTooLarge},
      {"huge width", [](auto& f) { Put32(f, 18, 0x7FFFFFFF); }, Status::kTooLarge},
      {"pixels after a longer palette", [](auto& f) { Put32(f, 10, 1078); }, Status::kUnexpectedLayout},
      {"pixels inside the header", [](auto& f) { Put32(f, 10, 0); }, Status::kUnexpectedLayout},
      {"one pixel byte short", [](auto& f) { f.pop_back(); }, Status::kTruncated},
      {"height claims one row more", [](auto& f) { Put32(f, 22, 5); }, Status::kTruncated},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = BlankBitmap(7, 4, 24);
    c.damage(file);
    Bitmap bitmap;
    EXPECT_EQ(ReadBitmap(file, &bitmap), c.expected) << c.what;
  }
}

// A damaged copy must be refused even when the bytes that follow it in memory would make it complete.
TEST(BitmapReaderTest, NeverReadsPastTheGivenBytes) {
  std::vector<uint8_t> file = BlankBitmap(8, 8, 8);
  Bitmap bitmap;
  EXPECT_EQ(ReadBitmap(std::span<const uint8_t>(file.data(), file.size() - 1), &bitmap), Status::kTruncated);
  EXPECT_EQ(ReadBitmap(std::span<const uint8_t>(file.data(), 1077), &bitmap), Status::kTruncated);
}

}  // namespace
}  // namespace mq::imaging
