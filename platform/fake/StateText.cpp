// Escaping and number rules of the simulated machines' state files.
#include "platform/fake/StateText.h"

namespace mq::platform::state {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Escape(std::string_view field, std::string_view also) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(field.size());
  for (char c : field) {
    auto b = static_cast<uint8_t>(c);
    if (b < 0x20 || b == 0x7F || c == '%' || also.find(c) != std::string_view::npos) {
      out += '%';
      out += kDigits[b >> 4];
      out += kDigits[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

bool Unescape(std::string_view field, std::string* out) {
  std::string result;
  result.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      result += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return false;
    int high = HexValue(field[i + 1]);
    int low = HexValue(field[i + 2]);
    if (high < 0 || low < 0) return false;
    result += static_cast<char>(high * 16 + low);
    i += 2;
  }
  *out = std::move(result);
  return true;
}

bool ParseUint32(std::string_view text, uint32_t* value) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return false;
  *value = static_cast<uint32_t>(v);
  return true;
}

std::string LineError(size_t lineNumber, std::string_view what) {
  return "line " + std::to_string(lineNumber) + ": " + std::string(what);
}

}  // namespace mq::platform::state
