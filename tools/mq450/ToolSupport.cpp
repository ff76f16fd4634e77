// Error output and whole-file I/O for the tool.
#include "ToolSupport.h"

#include <charconv>
#include <iostream>

#include "platform/HostFile.h"

namespace mq::tool {

int Fail(int status, std::string_view message) {
  std::cerr << "mq450: " << message << '\n';
  return status;
}

std::optional<int> ParseWholeNumber(std::string_view text, int min, int max) {
  bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  bool minus = !plus && !text.empty() && text.front() == '-';
  size_t first = minus ? 1 : 0;
  if (text.size() <= first || text[first] < '0' || text[first] > '9') return std::nullopt;
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) return std::nullopt;
  return value;
}

bool ReadWholeFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>* bytes,
                   std::string* error) {
  std::string reason = platform::ReadHostFile(path, maxBytes, bytes);
  if (reason.empty()) return true;
  *error = "cannot read " + path + ": " + reason;
  return false;
}

bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  std::string reason = platform::WriteHostFile(path, bytes);
  if (reason.empty()) return true;
  *error = "cannot write " + path + ": " + reason;
  return false;
}

bool ParseCount(std::string_view text, uint64_t max, uint64_t* value) {
  if (text.empty() || text.size() > 12) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > max) return false;
  *value = v;
  return true;
}

bool TakeOptionValue(const std::vector<std::string>& args, size_t* i, std::string* value, std::string* error) {
  if (*i + 1 >= args.size()) {
    *error = "missing value after " + args[*i];
    return false;
  }
  *value = args[++*i];
  return true;
}

std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

}  // namespace mq::tool
