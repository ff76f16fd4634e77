// Strict hexadecimal byte text for the tool's commands.
#include "HexBytes.h"

namespace mq::tool {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool ParseHexBytes(std::string_view text, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* error) {
  std::vector<uint8_t> out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    std::string_view group = text.substr(i, end - i);
    for (char c : group) {
      if (HexDigit(c) < 0) {
        *error = "\"" + std::string(group) + "\" is not hexadecimal byte text";
        return false;
      }
    }
    if (group.size() % 2 != 0) {
      *error = "\"" + std::string(group) + "\" has an odd number of hexadecimal digits (two make one byte)";
      return false;
    }
    for (size_t k = 0; k < group.size(); k += 2)
      out.push_back(static_cast<uint8_t>(HexDigit(group[k]) * 16 + HexDigit(group[k + 1])));
    if (out.size() > maxBytes) {
      *error = "more than " + std::to_string(maxBytes) + " bytes";
      return false;
    }
    i = end;
  }
  *bytes = std::move(out);
  return true;
}

}  // namespace mq::tool
