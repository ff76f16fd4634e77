// The Windows generation the installer runs on, from the system's version record (the OS page selects it and
// offers no other).
#pragma once

#include "common/OsGeneration.h"
#include "platform/SystemInfo.h"

namespace mq::installer {

struct DetectedOs {
  common::OsGeneration generation = common::OsGeneration::kWin98;
  bool recognised = false;       // false: no OS page button matches (the code stays 0)
  bool unknownPlatform = false;  // neither the 9x nor the NT platform (IDS_ERR_SYSTEM)
  bool windows8OrLater = false;  // the "Windows 8" button; the generation is then Windows 7's
};

// 9x with a minor version other than 0: 98/Me; NT 4.0; 5.0 2000; 5.1 XP; 5.2 XP x64 for a workstation on an
// x64 processor, else Server 2003; 6.0 Vista or (server) 2008; 6.1 Windows 7 or (server) 2008 R2; 6.2 and
// later, and every later major version, Windows 8 and later, which install as Windows 7.
DetectedOs DetectOs(const platform::OsVersion& version, uint16_t nativeArchitecture);

}  // namespace mq::installer
