// Configuration reads with the "0" default and the leading-digit number rule.
#include "common/IniReader.h"

#include <limits>

namespace mq::common {

int32_t LeadingNumber(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(value);
}

bool NamesNoFile(std::string_view value) {
  return !value.empty() && value.front() == '0';
}

std::string IniReader::Text(std::string_view file, std::string_view section, std::string_view key,
                            uint32_t limit) const {
  return profile_.GetString(file, section, key, "0", limit + 1);
}

int32_t IniReader::Integer(std::string_view file, std::string_view section, std::string_view key) const {
  return LeadingNumber(Text(file, section, key, kTextLimit));
}

}  // namespace mq::common
