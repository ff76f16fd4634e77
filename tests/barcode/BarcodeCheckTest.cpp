// The barcode data check: both length ends and a forbidden byte of every rule, the first and last byte rules,
// and the Code128 code-set rewriting.
#include <gtest/gtest.h>

#include <string>

#include "barcode/BarcodeCheck.h"

namespace mq::plugin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

DataCheck Check(int code, Bytes data) {
  return CheckBarcodeData(code, &data).status;
}

// Valid data of any length for a rule: prefix, then filler, then suffix.
struct RuleCase {
  int code;
  std::string prefix;
  char fill;
  std::string suffix;
  uint8_t forbidden;  // refused anywhere in the middle; 0 where the rule takes every byte
};

Bytes Valid(const RuleCase& c, size_t length) {
  std::string text = c.prefix;
  while (text.size() + c.suffix.size() < length) text += c.fill;
  text += c.suffix;
  return B(text.substr(0, length));
}

TEST(BarcodeCheckTest, EveryRuleTakesItsLengthRangeAndRefusesItsForbiddenBytes) {
  const std::vector<RuleCase> cases = {
      {0, "", '1', "", 'A'},    {1, "0", '1', "", 'A'},  {2, "", '1', "", ' '},   {3, "", '1', "", '/'},
      {4, "", 'A', "", 'a'},    {5, "", '9', "", ':'},   {6, "A", '1', "B", 'F'}, {7, "", 'a', "", 0x80},
      {8, "{A", 'a', "", 0x80}, {9, "", '1', "", '#'},   {10, "", 'z', "", '$'},  {11, "", '_', "", '}'},
      {12, "", '|', "", '@'},   {13, "", '\xFF', "", 0}, {14, "", 'A', "", '#'},  {15, "", '%', "", '^'},
      {16, "", '"', "", 0x7F},  {17, "", '\0', "", 0},   {18, "", '\x80', "", 0},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE("check code " + std::to_string(c.code));
    const BarcodeRule& rule = RuleOf(c.code);
    EXPECT_EQ(Check(c.code, {}), DataCheck::kLength);
    EXPECT_EQ(Check(c.code, Valid(c, rule.minLength)), DataCheck::kAccepted);
    EXPECT_EQ(Check(c.code, Valid(c, rule.maxLength)), DataCheck::kAccepted);
    EXPECT_EQ(Check(c.code, Valid(c, rule.maxLength + 1)), DataCheck::kLength);
    if (rule.minLength > 1) {
      EXPECT_EQ(Check(c.code, Valid(c, rule.minLength - 1)), DataCheck::kLength);
    }
    if (c.forbidden != 0) {
      Bytes data = Valid(c, rule.maxLength);
      data[data.size() - 2] = c.forbidden;
      DataCheckResult result = CheckBarcodeData(c.code, &data);
      EXPECT_EQ(result.status, DataCheck::kForbiddenByte);
      EXPECT_EQ(result.position, data.size() - 2);
    }
  }
}

TEST(BarcodeCheckTest, FirstAndLastByteRules) {
  struct Case {
    int code;
    const char* data;
    DataCheck expected;
  };
  const std::vector<Case> cases = {
      {0, "12345678901", DataCheck::kAccepted},   {0, "123456789012", DataCheck::kAccepted},
      {0, "1234567890123", DataCheck::kLength},   {1, "023456789012", DataCheck::kAccepted},
      {1, "123456789012", DataCheck::kFirstByte}, {6, "A123456789A", DataCheck::kAccepted},
      {6, "E123A", DataCheck::kFirstByte},        {6, "D1T", DataCheck::kAccepted},
      {6, "A12", DataCheck::kLastByte},           {6, "A", DataCheck::kAccepted},
      {4, "123ABC*", DataCheck::kAccepted},       {19, "1", DataCheck::kUnknownCheckCode},
      {-1, "1", DataCheck::kUnknownCheckCode},
  };
  for (const Case& c : cases) EXPECT_EQ(Check(c.code, B(c.data)), c.expected) << c.code << " " << c.data;
}

TEST(BarcodeCheckTest, MaxiCodeTakesAnyEightyFourBytes) {
  EXPECT_EQ(Check(18, Bytes(84, 0xFF)), DataCheck::kAccepted);
  EXPECT_EQ(Check(18, Bytes(85, '1')), DataCheck::kLength);
  // A double-byte character counts two: 42 of them fill the symbol.
  Bytes gbk;
  for (int i = 0; i < 42; ++i) gbk.insert(gbk.end(), {0xD6, 0xD0});
  EXPECT_EQ(Check(18, gbk), DataCheck::kAccepted);
  gbk.push_back('1');
  EXPECT_EQ(Check(18, gbk), DataCheck::kLength);
}

TEST(BarcodeCheckTest, Code128CodeCRunsBecomeDigitPairs) {
  struct Case {
    const char* data;
    DataCheck expected;
    Bytes sent;  // what the check leaves, when accepted
  };
  const std::vector<Case> cases = {
      {"{A12{C3456", DataCheck::kAccepted, {'{', 'A', '1', '2', '{', 'C', 34, 56}},
      {"{C0099{B7", DataCheck::kAccepted, {'{', 'C', 0, 99, '{', 'B', '7'}},
      {"{C", DataCheck::kAccepted, {'{', 'C'}},
      {"{B1{", DataCheck::kAccepted, {'{', 'B', '1', '{'}},  // no code-C run: sent as typed
      {"{A1234", DataCheck::kAccepted, {'{', 'A', '1', '2', '3', '4'}},
      {"{C123", DataCheck::kCodeCOddDigits, {}},
      {"{C1{A12{C12", DataCheck::kCodeCOddDigits, {}},
      {"{C12A4", DataCheck::kCodeCNotDigit, {}},
      {"{C12{", DataCheck::kDanglingBrace, {}},
      {"{D12", DataCheck::kNoCodeSet, {}},
      {"A{C12", DataCheck::kNoCodeSet, {}},
  };
  for (const Case& c : cases) {
    Bytes data = B(c.data);
    const Bytes typed = data;
    EXPECT_EQ(CheckBarcodeData(8, &data).status, c.expected) << c.data;
    EXPECT_EQ(data, c.expected == DataCheck::kAccepted ? c.sent : typed) << c.data;
  }
}

TEST(BarcodeCheckTest, RefusalsNameTheirCause) {
  Bytes ean = B("1234567A");
  const DataCheckResult result = CheckBarcodeData(3, &ean);
  EXPECT_EQ(DescribeCheck(3, result, ean), "byte 0x41 at offset 7 is not permitted in EAN8");
  Bytes odd = B("{C123");
  EXPECT_EQ(DescribeCheck(8, CheckBarcodeData(8, &odd), odd),
            "the Code128 code-C run from offset 2 has an odd number of digits");
  Bytes maxi(85, '1');
  EXPECT_EQ(DescribeCheck(18, CheckBarcodeData(18, &maxi), maxi), "Maxi Code takes 1 to 84 bytes, not 85");
}

}  // namespace
}  // namespace mq::plugin
