// Normalising the user's bitmap into the 24-bit watermark picture, byte for byte against hand-made files,
// the refusals, the pixel limit, reading the picture back and brightness.
#include <gtest/gtest.h>

#include "BitmapFixture.h"
#include "watermark/WatermarkPicture.h"

namespace mq::watermark {
namespace {

using testing::BitmapLayout;
using testing::Get32;
using testing::MakeBitmap;

// The 24-bit header a normalised file carries: the source's header with the 24-bit fields rewritten.
std::vector<uint8_t> Header24(int32_t width, int32_t height, uint32_t image) {
  BitmapLayout layout;
  layout.width = width;
  layout.height = height;
  layout.pixels.assign(image, 0);
  std::vector<uint8_t> file = MakeBitmap(layout);
  file.resize(54);
  return file;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(NormaliseBitmap, PaletteFilesBecomeTheirColoursRowByRow) {
  // 1-bit, 3 x 2: bottom row 1 0 1, top row 0 1 0; each source row padded to 4 bytes.
  BitmapLayout one;
  one.offset = 62;
  one.bits = 1;
  one.width = 3;
  one.height = 2;
  one.colours = 2;
  one.palette = {0x10, 0x20, 0x30, 0, 0xF0, 0xE0, 0xD0, 0};
  one.pixels = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};
  const std::vector<uint8_t> oneExpected =
      Concat(Header24(3, 2, 24), {0xF0, 0xE0, 0xD0, 0x10, 0x20, 0x30, 0xF0, 0xE0, 0xD0, 0, 0, 0,
                                  0x10, 0x20, 0x30, 0xF0, 0xE0, 0xD0, 0x10, 0x20, 0x30, 0, 0, 0});
  // 8-bit, 2 x 1: indexes 1 and 255; the 24-bit row of 6 bytes is padded to 8.
  BitmapLayout eight;
  eight.offset = 1078;
  eight.bits = 8;
  eight.width = 2;
  eight.height = 1;
  eight.colours = 256;
  eight.palette.assign(1024, 0x77);
  for (int i = 0; i < 3; ++i) {
    eight.palette[4 + i] = static_cast<uint8_t>(1 + i);
    eight.palette[255 * 4 + i] = static_cast<uint8_t>(0xAA + 0x11 * i);
  }
  eight.pixels = {0x01, 0xFF, 0, 0};
  const std::vector<uint8_t> eightExpected =
      Concat(Header24(2, 1, 8), {0x01, 0x02, 0x03, 0xAA, 0xBB, 0xCC, 0, 0});

  for (const auto& [source, expected] :
       {std::pair{MakeBitmap(one), oneExpected}, std::pair{MakeBitmap(eight), eightExpected}}) {
    const Normalised out = NormaliseBitmap(source);
    ASSERT_EQ(out.status, NormaliseStatus::kOk);
    EXPECT_FALSE(out.copied);
    EXPECT_EQ(out.file, expected);
  }
}

TEST(NormaliseBitmap, TwentyFourBitFilesAreTakenUnchanged) {
  BitmapLayout layout;
  layout.width = 1;
  layout.height = 2;
  layout.pixels = {1, 2, 3, 0, 4, 5, 6, 0, 0xEE};  // a trailing byte after the rows stays too
  const std::vector<uint8_t> source = MakeBitmap(layout);
  const Normalised out = NormaliseBitmap(source);
  ASSERT_EQ(out.status, NormaliseStatus::kOk);
  EXPECT_TRUE(out.copied);
  EXPECT_EQ(out.file, source);
}

TEST(NormaliseBitmap, RefusesWhatItCannotRead) {
  auto with = [](auto change) {
    BitmapLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.pixels.assign(16, 0x55);
    change(layout);
    return MakeBitmap(layout);
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  std::vector<Case> cases = {
      {"4-bit (offset 118)", with([](BitmapLayout& s) { s.offset = 118, s.bits = 4, s.pixels.assign(8, 0); })},
      {"32-bit at offset 54", with([](BitmapLayout& s) { s.bits = 32; })},
      {"offset 62 saying 8 bits", with([](BitmapLayout& s) { s.offset = 62, s.bits = 8; })},
      {"offset 1078 saying 1 bit", with([](BitmapLayout& s) { s.offset = 1078, s.bits = 1; })},
      {"offset 54 saying 8 bits", with([](BitmapLayout& s) { s.bits = 8; })},
      {"run-length compressed", with([](BitmapLayout& s) { s.compression = 1; })},
      {"top-down", with([](BitmapLayout& s) { s.height = -2; })},
      {"no width", with([](BitmapLayout& s) { s.width = 0; })},
      {"rows missing", with([](BitmapLayout& s) { s.height = 3; })},
      {"header only", std::vector<uint8_t>(53, 0)},
  };
  cases.push_back({"not BM", with([](BitmapLayout&) {})});
  cases.back().file[0] = 'X';
  cases.push_back({"core header", with([](BitmapLayout&) {})});
  testing::Put32(cases.back().file, 14, 12);
  cases.push_back({"1-bit short of a row",
                   with([](BitmapLayout& s) { s.offset = 62, s.bits = 1, s.pixels.assign(7, 0); })});
  for (const Case& c : cases) EXPECT_EQ(NormaliseBitmap(c.file).status, NormaliseStatus::kRefused) << c.what;
}

TEST(NormaliseBitmap, TwentyFourBitDataAboveTenMebibytesAreTooBig) {
  // 2048 pixels wide: 6144 bytes a 24-bit row, 256 a 1-bit row; 1706 rows fit the limit, 1707 do not.
  for (const auto& [rows, status] :
       {std::pair{1706, NormaliseStatus::kOk}, {1707, NormaliseStatus::kTooBig}}) {
    BitmapLayout layout;
    layout.offset = 62;
    layout.bits = 1;
    layout.width = 2048;
    layout.height = rows;
    layout.pixels.assign(static_cast<size_t>(256) * rows, 0);
    const Normalised out = NormaliseBitmap(MakeBitmap(layout));
    EXPECT_EQ(out.status, status) << rows;
    if (status == NormaliseStatus::kOk) {
      EXPECT_EQ(out.file.size(), 54u + 6144u * rows);
    }
  }
}

TEST(ReadPicture24, ReadsRowsTopDownAndRoundTripsThroughTheEncoder) {
  platform::ui::Picture picture(3, 2);
  picture.Set(0, 0, 0x112233);
  picture.Set(2, 1, 0xA0B0C0);
  const std::vector<uint8_t> file = EncodeBitmap24(picture);
  ASSERT_EQ(file.size(), 54u + 2 * 12);
  EXPECT_EQ(Get32(file, 2), file.size());
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 12, file.begin() + 57 + 12),
            (std::vector<uint8_t>{0x33, 0x22, 0x11}))
      << "the top row is stored last, blue first";
  EXPECT_EQ(ReadPicture24(file), picture);
  EXPECT_FALSE(ReadPicture24(std::vector<uint8_t>(60, 0)));
}

TEST(Brighten, AddsToEveryColourByteAndCapsAt255) {
  EXPECT_EQ(Brighten(0x102030, 50), 0x425262u);
  EXPECT_EQ(Brighten(0xF0C810, 50), 0xFFFA42u);
  EXPECT_EQ(Brighten(0x000000, 255), 0xFFFFFFu);
  EXPECT_EQ(Brighten(0x123456, 0), 0x123456u);
}

}  // namespace
}  // namespace mq::watermark
