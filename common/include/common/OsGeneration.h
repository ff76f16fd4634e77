// The Windows generation code that selects the per-system sections of the setup configuration files, and the
// word size of the running Windows.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/SystemInfo.h"

namespace mq::common {

enum class OsGeneration : int {
  kWin98 = 0,  // Windows 98 / Me
  kNt4 = 1,    // Windows NT 4.0
  kWin2000 = 2,
  kXp = 3,  // also XP x64
  kServer2003 = 4,
  kVista = 5,
  kServer2008 = 6,  // also 2008 R2
  kWin7 = 7,        // Windows 7; Windows 8 and later are mapped here
};

// Named groups of generations, for the rules that differ between them.
constexpr bool IsWindows9x(OsGeneration g) {
  return g == OsGeneration::kWin98;
}
// Windows NT 4.0 and every later system.
constexpr bool IsNtFamily(OsGeneration g) {
  return static_cast<int>(g) >= 1 && static_cast<int>(g) <= 7;
}
// Windows 2000 and later: the systems with the version-3 driver model and the universal printer driver.
constexpr bool IsWindows2000OrLater(OsGeneration g) {
  return static_cast<int>(g) >= 2 && static_cast<int>(g) <= 7;
}
// Windows 2000, XP and Server 2003 keep the universal driver's files in the driver cache's cabinets.
constexpr bool KeepsDriverCache(OsGeneration g) {
  return static_cast<int>(g) >= 2 && static_cast<int>(g) <= 4;
}
// Vista, Server 2008 and Windows 7 keep them in the driver store.
constexpr bool IsVistaOrLater(OsGeneration g) {
  return static_cast<int>(g) >= 5 && static_cast<int>(g) <= 7;
}
constexpr bool IsXpOrServer2003(OsGeneration g) {
  return g == OsGeneration::kXp || g == OsGeneration::kServer2003;
}

// ".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"; "" for a value outside 0..7.
std::string_view OsSectionSuffix(OsGeneration generation);

// Parses "0".."7" or a suffix name without its dot ("XP", "win7", case-blind). false for anything else.
bool ParseOsGeneration(std::string_view text, OsGeneration* generation);

// True on 64-bit Windows: a 32-bit program running under WOW64, or a 64-bit program (whose native processor
// is then a 64-bit one; IsWow64Process is false in a 64-bit process).
bool Is64BitWindows(platform::SystemInfo& system);

}  // namespace mq::common
