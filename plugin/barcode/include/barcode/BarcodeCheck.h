// The barcode data check that both barcode pages run before a test print: one rule per check code (length
// range in bytes and the permitted byte values), the extra rules of UPC-E and Codabar, and the code-set
// rewriting of Code128 (digit pairs of a code-C run become one byte each). Data is in the system ANSI code
// page, so a double-byte character counts as two bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mq::plugin {

// Check codes 0..6 are the family-A 1D codes, 7 Code93, 8 Code128, 9..12 the GS1 DataBar 1D types and
// 13..18 the 2D symbols.
inline constexpr int kCheckCodeCount = 19;
inline constexpr int kCheckUpcE = 1;
inline constexpr int kCheckCodabar = 6;
inline constexpr int kCheckCode128 = 8;

enum class DataCheck {
  kAccepted,
  kLength,           // empty, or outside the rule's length range
  kFirstByte,        // UPC-E not starting with '0', Codabar not starting with 'A'..'D'
  kLastByte,         // Codabar not ending with '*', 'A'..'E', 'N' or 'T'
  kForbiddenByte,    // a byte the rule does not permit
  kNoCodeSet,        // Code128 not starting with '{' and 'A', 'B' or 'C'
  kCodeCNotDigit,    // a byte other than a digit inside a Code128 code-C run
  kCodeCOddDigits,   // a code-C run ending with an odd number of digits
  kDanglingBrace,    // Code128 with a code-C run whose data ends in a '{' that selects nothing
  kUnknownCheckCode  // a check code outside 0..18
};

struct DataCheckResult {
  DataCheck status = DataCheck::kAccepted;
  size_t position = 0;  // the offending byte's offset in the data as given (for the byte and digit faults)
  bool Accepted() const { return status == DataCheck::kAccepted; }
};

struct BarcodeRange {
  uint8_t first;
  uint8_t last;
};

// One rule of the check table.
struct BarcodeRule {
  std::string_view name;  // the symbology, as the type lists call it
  size_t minLength;
  size_t maxLength;
  bool bytesChecked;  // false where any byte value is taken
  std::vector<BarcodeRange> permitted;
};

const BarcodeRule& RuleOf(int checkCode);

// Checks data against the rule of checkCode. On acceptance *data holds what the test print sends (rewritten
// for Code128 with a code-C run); on rejection it is left as it was.
DataCheckResult CheckBarcodeData(int checkCode, std::vector<uint8_t>* data);

// A line for people: why the data was refused ("byte 0x41 at offset 3 is not permitted in EAN13").
std::string DescribeCheck(int checkCode, const DataCheckResult& result, const std::vector<uint8_t>& data);

}  // namespace mq::plugin
