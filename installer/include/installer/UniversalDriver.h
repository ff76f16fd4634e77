// The Windows universal printer driver's own files, which the installer takes from the running Windows (its
// driver cache cabinets or its driver store) rather than from the package.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace mq::installer {

// The files as the driver cache's cabinets name them (members are matched case-sensitively).
inline constexpr std::array<std::string_view, 6> kUniversalDriverFiles = {
    "unidrvui.dll", "unidrv.dll", "unires.dll", "unidrv.hlp", "stdnames.gpd", "ttfsub.gpd"};

inline bool IsUniversalDriverCabinetMember(std::string_view member) {
  return std::find(kUniversalDriverFiles.begin(), kUniversalDriverFiles.end(), member) !=
         kUniversalDriverFiles.end();
}

// True for an upper-case package file name that belongs to the universal driver and so is taken from the
// system: any name containing "UNIDRV", "STDNAMES", "TTFSUB" or "UNIRES".
inline bool IsUniversalDriverFile(std::string_view upperName) {
  for (std::string_view part : {"UNIDRV", "STDNAMES", "TTFSUB", "UNIRES"}) {
    if (upperName.find(part) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace mq::installer
