// The barcode data check.
#include "barcode/BarcodeCheck.h"

#include <array>
#include <cstdio>

namespace mq::plugin {
namespace {

const std::vector<BarcodeRange> kDigits = {{'0', '9'}};
const std::vector<BarcodeRange> kAscii = {{0, 127}};
const std::vector<BarcodeRange> kAnyByte = {{0, 255}};
// Code39's character set: space, '$', '%', '*', '+', '-' to '9' and the capitals.
const std::vector<BarcodeRange> kCode39 = {{' ', ' '}, {'$', '%'}, {'*', '+'}, {'-', '9'}, {'A', 'Z'}};
const std::vector<BarcodeRange> kCodabar = {{'$', '$'}, {'*', '+'}, {'-', ':'},
                                            {'A', 'E'}, {'N', 'N'}, {'T', 'T'}};
// The GS1 DataBar set: space to '"', '%' to '?', the capitals, '_', and 'a' to '|' (nothing above 124).
const std::vector<BarcodeRange> kGs1 = {{' ', '"'}, {'%', '?'}, {'A', 'Z'}, {'_', '_'}, {'a', '|'}};

const std::array<BarcodeRule, kCheckCodeCount> kRules = {{
    {"UPC-A", 11, 12, true, kDigits},
    {"UPC-E", 11, 12, true, kDigits},
    {"EAN13", 12, 13, true, kDigits},
    {"EAN8", 7, 8, true, kDigits},
    {"Code39", 1, 255, true, kCode39},
    {"ITF", 1, 255, true, kDigits},
    {"Codabar", 1, 255, true, kCodabar},
    {"Code93", 1, 255, true, kAscii},
    {"Code128", 2, 255, true, kAscii},
    {"GS1 DataBar Omnidirectional", 1, 40, true, kGs1},
    {"GS1 DataBar Truncated", 1, 40, true, kGs1},
    {"GS1 DataBar Limited", 1, 40, true, kGs1},
    {"GS1 DataBar Expanded", 1, 40, true, kGs1},
    {"PDF417", 1, 255, false, kAnyByte},
    {"GS1 DataBar Stacked", 1, 40, true, kGs1},
    {"GS1 DataBar Stacked Omnidirectional", 1, 40, true, kGs1},
    {"GS1 DataBar Expanded Stacked", 1, 40, true, kGs1},
    {"QR Code", 1, 255, false, kAnyByte},
    {"Maxi Code", 1, 84, false, kAnyByte},
}};

bool Permitted(const BarcodeRule& rule, uint8_t byte) {
  for (const BarcodeRange& range : rule.permitted)
    if (byte >= range.first && byte <= range.last) return true;
  return false;
}

bool IsDigit(uint8_t byte) {
  return byte >= '0' && byte <= '9';
}

bool CodabarEnd(uint8_t byte) {
  return byte == '*' || (byte >= 'A' && byte <= 'E') || byte == 'N' || byte == 'T';
}

// Code128 data with a code-C run anywhere: '{' and the byte after it (the code set) are copied; inside a
// code-C run each pair of digits becomes the byte 0..99 it spells.
DataCheckResult RewriteCodeC(const std::vector<uint8_t>& in, std::vector<uint8_t>* out) {
  bool codeC = false;
  size_t runDigits = 0;
  size_t runStart = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    const uint8_t byte = in[i];
    if (byte == '{') {
      if (codeC && runDigits % 2 != 0) return {DataCheck::kCodeCOddDigits, runStart};
      // The code set must follow: the data ending here would leave the brace selecting nothing.
      if (i + 1 >= in.size()) return {DataCheck::kDanglingBrace, i};
      out->push_back(byte);
      out->push_back(in[++i]);
      codeC = in[i] == 'C';
      runDigits = 0;
      runStart = i + 1;
      continue;
    }
    if (!codeC) {
      out->push_back(byte);
      continue;
    }
    if (!IsDigit(byte)) return {DataCheck::kCodeCNotDigit, i};
    if (runDigits % 2 == 1)
      out->back() = static_cast<uint8_t>(out->back() * 10 + (byte - '0'));
    else
      out->push_back(static_cast<uint8_t>(byte - '0'));
    ++runDigits;
  }
  if (codeC && runDigits % 2 != 0) return {DataCheck::kCodeCOddDigits, runStart};
  return {};
}

bool ContainsCodeC(const std::vector<uint8_t>& data) {
  for (size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == '{' && data[i + 1] == 'C') return true;
  return false;
}

}  // namespace

const BarcodeRule& RuleOf(int checkCode) {
  return kRules.at(static_cast<size_t>(checkCode));
}

DataCheckResult CheckBarcodeData(int checkCode, std::vector<uint8_t>* data) {
  if (checkCode < 0 || checkCode >= kCheckCodeCount) return {DataCheck::kUnknownCheckCode, 0};
  const BarcodeRule& rule = RuleOf(checkCode);
  const std::vector<uint8_t>& bytes = *data;
  if (bytes.empty() || bytes.size() < rule.minLength || bytes.size() > rule.maxLength)
    return {DataCheck::kLength, 0};
  if (!rule.bytesChecked) return {};
  if (checkCode == kCheckUpcE && bytes.front() != '0') return {DataCheck::kFirstByte, 0};
  if (checkCode == kCheckCodabar) {
    if (bytes.front() < 'A' || bytes.front() > 'D') return {DataCheck::kFirstByte, 0};
    if (!CodabarEnd(bytes.back())) return {DataCheck::kLastByte, bytes.size() - 1};
  }
  for (size_t i = 0; i < bytes.size(); ++i)
    if (!Permitted(rule, bytes[i])) return {DataCheck::kForbiddenByte, i};
  if (checkCode != kCheckCode128) return {};
  if (bytes[0] != '{' || (bytes[1] != 'A' && bytes[1] != 'B' && bytes[1] != 'C'))
    return {DataCheck::kNoCodeSet, 0};
  if (!ContainsCodeC(bytes)) return {};
  std::vector<uint8_t> rewritten;
  rewritten.reserve(bytes.size());
  const DataCheckResult result = RewriteCodeC(bytes, &rewritten);
  if (result.Accepted()) *data = std::move(rewritten);
  return result;
}

std::string DescribeCheck(int checkCode, const DataCheckResult& result, const std::vector<uint8_t>& data) {
  if (result.status == DataCheck::kUnknownCheckCode)
    return "check code " + std::to_string(checkCode) + " is not one of 0..18";
  const BarcodeRule& rule = RuleOf(checkCode);
  const std::string name(rule.name);
  auto byteAt = [&](size_t at) {
    char text[48];
    std::snprintf(text, sizeof text, "byte 0x%02X at offset %zu", at < data.size() ? data[at] : 0u, at);
    return std::string(text);
  };
  switch (result.status) {
    case DataCheck::kAccepted:
      return "accepted";
    case DataCheck::kLength:
      return name + " takes " + std::to_string(rule.minLength) + " to " + std::to_string(rule.maxLength) +
             " bytes, not " + std::to_string(data.size());
    case DataCheck::kFirstByte:
      return checkCode == kCheckUpcE ? "UPC-E data must begin with '0'"
                                     : "Codabar data must begin with 'A', 'B', 'C' or 'D'";
    case DataCheck::kLastByte:
      return "Codabar data must end with '*', 'A'..'E', 'N' or 'T'";
    case DataCheck::kForbiddenByte:
      return byteAt(result.position) + " is not permitted in " + name;
    case DataCheck::kNoCodeSet:
      return "Code128 data must begin with {A, {B or {C";
    case DataCheck::kCodeCNotDigit:
      return byteAt(result.position) + " is not a digit, inside a Code128 code-C run";
    case DataCheck::kCodeCOddDigits:
      return "the Code128 code-C run from offset " + std::to_string(result.position) +
             " has an odd number of digits";
    case DataCheck::kDanglingBrace:
      return "the Code128 data ends with a '{' that selects no code set";
    case DataCheck::kUnknownCheckCode:
      break;
  }
  return "rejected";
}

}  // namespace mq::plugin
