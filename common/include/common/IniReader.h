// Configuration reads of the setup programs: every key goes through the profile service with "0" as its
// default, numbers are taken from the leading decimal digits of the text, and each text has a length limit
// (a read into a buffer of limit + 1 characters, as the programs' fixed buffers have always done).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Profile.h"

namespace mq::common {

// Length limits in characters.
inline constexpr uint32_t kNameLimit = 49;    // driver, processor, monitor names, ATTRIBUTES, monitor UI DLLs
inline constexpr uint32_t kVersionLimit = 9;  // version numbers
inline constexpr uint32_t kSwitchLimit = 4;   // the "2KDDKDEV" switches
inline constexpr uint32_t kTextLimit = 199;   // everything else

// The leading decimal digits of text as a number; no digits gives 0. Values beyond 2^31 - 1 saturate there
// instead of wrapping into a negative or small number.
int32_t LeadingNumber(std::string_view text);

// True for a file-name value that means "no file": the "0" default, or any value whose first character is
// '0'.
bool NamesNoFile(std::string_view value);

class IniReader {
 public:
  explicit IniReader(platform::Profile& profile) : profile_(profile) {}

  // The value, cut to limit characters; "0" when the file, section or key is missing, "" only when the key is
  // present with nothing after "=".
  std::string Text(std::string_view file, std::string_view section, std::string_view key,
                   uint32_t limit = kTextLimit) const;

  // The leading-digit number of the value (read with the 199-character limit); 0 when missing.
  int32_t Integer(std::string_view file, std::string_view section, std::string_view key) const;

  platform::Profile& profile() const { return profile_; }

 private:
  platform::Profile& profile_;
};

}  // namespace mq::common
