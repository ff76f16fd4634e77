// Windows generation codes and the word size of the running Windows.
#include "common/OsGeneration.h"

#include "platform/Text.h"

namespace mq::common {

namespace {
constexpr std::string_view kSuffixes[] = {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"};
}

std::string_view OsSectionSuffix(OsGeneration generation) {
  int code = static_cast<int>(generation);
  return code >= 0 && code < 8 ? kSuffixes[code] : std::string_view();
}

bool ParseOsGeneration(std::string_view text, OsGeneration* generation) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '7') {
    *generation = static_cast<OsGeneration>(text[0] - '0');
    return true;
  }
  for (int code = 0; code < 8; ++code) {
    if (text::EqualsNoCase(text, kSuffixes[code].substr(1))) {
      *generation = static_cast<OsGeneration>(code);
      return true;
    }
  }
  return false;
}

bool Is64BitWindows(platform::SystemInfo& system) {
  if (system.IsWow64Process()) return true;
  uint16_t architecture = system.NativeProcessorArchitecture();
  return architecture == platform::kProcessorArchitectureAmd64 ||
         architecture == platform::kProcessorArchitectureIa64;
}

}  // namespace mq::common
