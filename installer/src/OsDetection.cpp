// The Windows generation from the version record.
#include "installer/OsDetection.h"

namespace mq::installer {

using common::OsGeneration;

DetectedOs DetectOs(const platform::OsVersion& v, uint16_t nativeArchitecture) {
  constexpr uint32_t kPlatform9x = 1;
  constexpr uint32_t kPlatformNt = 2;
  constexpr uint8_t kWorkstation = 1;
  DetectedOs d;
  auto set = [&](OsGeneration g) {
    d.generation = g;
    d.recognised = true;
  };
  bool workstation = v.productType == kWorkstation;
  if (v.platformId == kPlatform9x) {
    if (v.minor != 0) set(OsGeneration::kWin98);
  } else if (v.platformId == kPlatformNt) {
    if (v.major == 4) {
      set(OsGeneration::kNt4);
    } else if (v.major == 5 && v.minor == 0) {
      set(OsGeneration::kWin2000);
    } else if (v.major == 5 && v.minor == 1) {
      set(OsGeneration::kXp);
    } else if (v.major == 5 && v.minor == 2) {
      set(workstation && nativeArchitecture == platform::kProcessorArchitectureAmd64
              ? OsGeneration::kXp
              : OsGeneration::kServer2003);
    } else if (v.major == 6 && v.minor == 0) {
      set(workstation ? OsGeneration::kVista : OsGeneration::kServer2008);
    } else if (v.major == 6 && v.minor == 1) {
      set(workstation ? OsGeneration::kWin7 : OsGeneration::kServer2008);
    } else if (v.major > 6 || (v.major == 6 && v.minor >= 2)) {
      // Every later Windows, whatever its minor version (Windows 10 reports 10.0), installs as Windows 7.
      set(OsGeneration::kWin7);
      d.windows8OrLater = true;
    }
  } else {
    d.unknownPlatform = true;
  }
  return d;
}

}  // namespace mq::installer
