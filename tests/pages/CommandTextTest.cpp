// The hexadecimal command text: the display form and the tolerant tokenizer.
#include <gtest/gtest.h>

#include "pages/CommandText.h"

namespace mq::plugin {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(CommandText, FormatsTwoUpperCaseDigitsAndASpacePerByte) {
  const uint8_t command[] = {0x1D, 0x56, 0x42, 0x00, 0x0A, 0xFF};
  EXPECT_EQ(FormatCommandText(command, 4), "1D 56 42 00 ");
  EXPECT_EQ(FormatCommandText(command + 4, 2), "0A FF ");
  EXPECT_EQ(FormatCommandText(command, 0), "");
}

TEST(CommandText, TokenizerCases) {
  struct Case {
    const char* text;
    Bytes bytes;
  };
  const Case cases[] = {
      {"1D 56 42 00", {0x1D, 0x56, 0x42, 0x00}},
      {"1D 56 42 00 ", {0x1D, 0x56, 0x42, 0x00}},  // trailing space adds nothing
      {"1D56", {0x1D, 0x56}},                      // pairs need no separator
      {"1D 5", {0x1D, 0x05}},                      // a last single digit is a byte
      {"1 2", {0x01, 0x02}},                       // a digit before a space is a byte
      {"1b 1a", {0x1B, 0x1A}},                     // lower case
      {"", {}},
      {" ", {}},
      {"1D  56", {0x1D, 0x05, 0x06}},  // only one space is skipped: the second is a zero digit
      {"G1 -.", {0x01, 0x00}},         // other characters count as 0
      {"ABC", {0xAB, 0x0C}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseCommandText(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(CommandText, ReadsTheWholeTextHoweverLong) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "7F ";
  EXPECT_EQ(ParseCommandText(text), Bytes(300, 0x7F));
  // A pasted non-ASCII character is one character of the edit, worth 0.
  EXPECT_EQ(ParseCommandText("\xE4\xB8\xAD"
                             "1"),
            (Bytes{0x01}));
}

TEST(CommandText, AcceptsHexDigitsSpaceAndEditingKeysOnly) {
  for (char16_t ch : std::u16string(u"0123456789abcdefABCDEF -.\b"))
    EXPECT_TRUE(IsCommandTextChar(ch, false)) << int(ch);
  for (char16_t ch : std::u16string(u"gGxZ,;\t!")) EXPECT_FALSE(IsCommandTextChar(ch, false)) << int(ch);
  EXPECT_TRUE(IsCommandTextChar(u'\x16', true));  // Ctrl+V
  EXPECT_TRUE(IsCommandTextChar(u'x', true));
}

}  // namespace
}  // namespace mq::plugin
