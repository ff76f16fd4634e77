// Hexadecimal command text: formatting and the tolerant tokenizer.
#include "pages/CommandText.h"

#include "platform/Text.h"

namespace mq::plugin {

namespace {

uint8_t DigitValue(char16_t c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return 0;
}

}  // namespace

std::string FormatCommandText(const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 3);
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
    text += ' ';
  }
  return text;
}

std::vector<uint8_t> ParseCommandText(std::string_view utf8) {
  // The edit's text is counted in UTF-16 units, so a pasted non-ASCII character is one (zero-valued) digit.
  const std::u16string text = text::Utf8ToUtf16(utf8);
  std::vector<uint8_t> bytes;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    if (text[i] == u' ') ++i;
    if (i >= n) break;
    const uint8_t high = DigitValue(text[i]);
    if (i + 1 == n) {
      bytes.push_back(high);
      break;
    }
    const char16_t second = text[i + 1];
    bytes.push_back(second == u' ' ? high : static_cast<uint8_t>(high * 16 + DigitValue(second)));
    i += 2;
  }
  return bytes;
}

bool IsCommandTextChar(char16_t ch, bool controlHeld) {
  if (controlHeld) return true;
  if ((ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F')) return true;
  return ch == u' ' || ch == u'\b' || ch == u'-' || ch == u'.';
}

}  // namespace mq::plugin
