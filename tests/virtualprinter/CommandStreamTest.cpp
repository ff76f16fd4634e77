// The virtual printer's decoder on hand-written streams: every command it knows, the logo records read back
// dot for dot, unknown bytes kept, and commands cut short by the end of the stream.
#include "virtualprinter/CommandStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mq::vprinter {
namespace {

std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < text.size(); i += 3)
    out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  return out;
}

std::vector<std::string> Describe(const std::string& hex) {
  std::vector<std::string> lines;
  for (const Item& item : DecodeCommandStream(Hex(hex + " "))) lines.push_back(DescribeItem(item));
  return lines;
}

struct StreamCase {
  const char* hex;
  std::vector<std::string> items;
};

TEST(CommandStreamTest, EachCommandBecomesOneItemWithItsParameters) {
  const StreamCase cases[] = {
      {"1B 63 3B 01 1B 63 3B 00", {"bracket open", "bracket close"}},
      {"41 42 0A 43 0D", {"text \"AB\"", "line feed", "text \"C\"", "carriage return"}},
      {"1B 40 1B 4D 01 1B 21 00 1B 61 01", {"initialize", "font B", "print mode font A", "align 1"}},
      {"1B 4A 18 1B 64 03", {"feed 24 dots", "feed 3 lines"}},
      {"1D 56 00 1D 56 31 1D 56 42 00 1D 56 41 10",
       {"cut full", "cut partial", "cut partial after feed to cutter +0",
        "cut full after feed to cutter +16"}},
      {"1B 70 00 0A 14 1B 70 31 05 05",
       {"drawer pulse pin 2 on 20 ms off 40 ms", "drawer pulse pin 5 on 10 ms off 10 ms"}},
      {"1B 42 03 02", {"buzzer 3 beeps of 100 ms"}},
      {"1D 66 01 1D 48 02 1D 77 03 1D 68 A2",
       {"hri font 1", "hri position 2", "bar width 3", "bar height 162"}},
      {"1D 6B 04 31 32 33 41 42 43 2A 00", {"barcode 4 \"123ABC*\""}},
      {"1D 6B 49 06 7B 41 31 32 33 34 00", {"barcode 73 \"{A1234\"", "nul"}},
      {"1D 6B 48 00 00", {"barcode 72 \"\"", "nul"}},
      {"1D 73 01 02 22 01 01 02 01 00 1D 6B 0D 30 31 00",
       {"gs1 databar parameters 1 2 34 1 1 2 1 0", "barcode 13 \"01\""}},
      {"1D 70 01 01 03 02 03 04 1D 71 01 1D 6B 0A 41 00",
       {"pdf417 parameters 1 1 3 2 3 4", "symbol option 1", "barcode 10 \"A\""}},
      {"1D 6F 00 03 00 02 1D 6B 0B 4D 41 2C 58 00", {"qr parameters 0 3 0 2", "barcode 11 \"MA,X\""}},
      {"1C 70 01 00", {"print logo 1 0"}},
      {"1D 28 41 02 00 00 02", {"self-test 0 2"}},
      {"1C 71 00 00 0A", {"define mono logos 0:", "nul", "line feed"}},
  };
  for (const StreamCase& c : cases) EXPECT_EQ(Describe(c.hex), c.items) << c.hex;
}

TEST(CommandStreamTest, UnknownBytesAreKeptAsOneItemPerRun) {
  const StreamCase cases[] = {
      {"1B 7E 01 02 41", {"unknown 1B 7E 01 02", "text \"A\""}},
      {"1D 56 07 0A", {"unknown 1D 56 07", "line feed"}},
      {"1B 63 3B 05", {"unknown 1B 63 3B 05"}},
      {"1D 6B 63 41", {"unknown 1D 6B 63", "text \"A\""}},
      {"1D 28 4B 01 00 30 0A", {"unknown 1D 28 4B 01 00 30", "line feed"}},
      {"7F 1C 21", {"unknown 7F 1C 21"}},
  };
  for (const StreamCase& c : cases) EXPECT_EQ(Describe(c.hex), c.items) << c.hex;
}

TEST(CommandStreamTest, ACommandCutShortByTheEndIsReportedWithWhatWasThere) {
  const StreamCase cases[] = {
      {"41 1B", {"text \"A\"", "truncated 1B"}},
      {"1B 70 00 0A", {"truncated 1B 70 00 0A"}},
      {"1D 56 42", {"truncated 1D 56 42"}},
      {"1D 6B 04 31 32", {"truncated 1D 6B 04 31 32"}},
      {"1D 6B 49 05 31 32", {"truncated 1D 6B 49 05 31 32"}},
      {"1D 28 41 02 00 00", {"truncated 1D 28 41 02 00 00"}},
      {"1C 71 01 01 00 01 00 FF", {"truncated 1C 71 01 01 00 01 00 FF"}},
      {"1C 72 01 01 00 01 00", {"truncated 1C 72 01 01 00 01 00"}},
  };
  for (const StreamCase& c : cases) EXPECT_EQ(Describe(c.hex), c.items) << c.hex;
}

TEST(CommandStreamTest, ItemsKeepTheirBytesAndOffsets) {
  const std::vector<uint8_t> stream = Hex("41 0A 1B 64 02 ");
  const std::vector<Item> items = DecodeCommandStream(stream);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[2].offset, 2u);
  EXPECT_EQ(items[2].bytes, Hex("1B 64 02 "));
}

TEST(CommandStreamTest, MonoRecordsAreReadColumnByColumnTopDotFirst) {
  // Two logos: 8 x 8 with only column 0's top dot and column 7's bottom dot; then 8 x 16 all white.
  std::vector<uint8_t> stream = Hex("1C 71 02 01 00 01 00 ");
  const std::vector<uint8_t> first = {0x80, 0, 0, 0, 0, 0, 0, 0x01};
  stream.insert(stream.end(), first.begin(), first.end());
  const std::vector<uint8_t> second = Hex("01 00 02 00 ");
  stream.insert(stream.end(), second.begin(), second.end());
  stream.insert(stream.end(), 16, 0x00);
  const std::vector<Item> items = DecodeCommandStream(stream);
  ASSERT_EQ(items.size(), 1u);
  ASSERT_EQ(items[0].logos.size(), 2u);
  const Logo& logo = items[0].logos[0];
  EXPECT_EQ(logo.width, 8);
  EXPECT_EQ(logo.height, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool dot = (x == 0 && y == 0) || (x == 7 && y == 7);
      EXPECT_EQ(logo.At(x, y), dot ? 0 : 255) << x << "," << y;
    }
  }
  EXPECT_EQ(items[0].logos[1].height, 16);
}

TEST(CommandStreamTest, GrayRecordsGiveSixteenLevelsFromTheirFourPlanes) {
  // m = 1, r = 1: two picture rows of four plane rows each. Row 0, pixel 0: planes 1 0 1 0 (level bits
  // 0 1 0 1 = 5); pixel 1 all planes set (black). Row 1 all planes clear (white).
  std::vector<uint8_t> stream = Hex("1C 72 01 01 00 01 00 01 00 ");
  const std::vector<uint8_t> planes = {0xC0, 0x40, 0xC0, 0x40, 0, 0, 0, 0};
  stream.insert(stream.end(), planes.begin(), planes.end());
  const std::vector<Item> items = DecodeCommandStream(stream);
  ASSERT_EQ(items.size(), 1u);
  ASSERT_EQ(items[0].kind, ItemKind::kDefineGrayLogos);
  const Logo& logo = items[0].logos[0];
  EXPECT_EQ(logo.width, 8);
  EXPECT_EQ(logo.height, 2);
  EXPECT_EQ(logo.At(0, 0), 5 * 17);
  EXPECT_EQ(logo.At(1, 0), 0);
  EXPECT_EQ(logo.At(2, 0), 255);
  EXPECT_EQ(logo.At(0, 1), 255);
}

}  // namespace
}  // namespace mq::vprinter
