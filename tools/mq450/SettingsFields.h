// Every field of the settings record under the name `mq450 settings show` prints, with its kind and the range
// of values the pages and the printer accept, so that `show` and `set` agree on one list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mq::tool {

enum class FieldKind {
  kUnsigned,   // little-endian unsigned integer of `width` bytes
  kSigned,     // little-endian signed integer of `width` bytes
  kSignature,  // 32-bit, shown in hexadecimal
  kText,       // UTF-16LE text of `width` code units, zero-terminated
  kCommand,    // the 128 command bytes of an operation slot; `width` is the offset of its length byte
};

struct NamedField {
  std::string name;
  FieldKind kind;
  uint32_t offset;
  uint32_t width;
  int64_t min;  // the documented range of a number; the whole width when none is documented
  int64_t max;
};

// The fields in the order `show` prints them.
const std::vector<NamedField>& SettingsFieldTable();

const NamedField* FindSettingsField(std::string_view name);

// Writes one value given as text into the record: numbers in decimal or 0x-hexadecimal, texts as UTF-8,
// commands as hexadecimal byte text ("1B 70 00 19 FA", which also sets the slot's command length). A value
// outside the field's documented range is refused unless anyWidthValue is set, in which case whatever fits
// the field's width is taken (for building damaged records). On refusal *error says why and the record is
// unchanged.
bool SetSettingsField(const NamedField& field, std::string_view value, bool anyWidthValue, uint8_t* record,
                      std::string* error);

}  // namespace mq::tool
