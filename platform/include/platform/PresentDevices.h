// The devices Windows reports as present, as far as the installer needs them: the first hardware ID of each
// (for a USB device "USB\VID_vvvv&PID_pppp&REV_rrrr" or "USB\Vid_vvvv&Pid_pppp...").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mq::platform {

class PresentDevices {
 public:
  virtual ~PresentDevices() = default;
  // SetupDiGetClassDevsW(all classes, present devices only), then SetupDiEnumDeviceInfo and
  // SetupDiGetDeviceRegistryPropertyW(SPDRP_HARDWAREID, 1024-byte buffer) for each device: the first hardware
  // ID of every present device that has one, in enumeration order. 0, or the error when the device set
  // cannot be made (*ids is then left untouched).
  virtual uint32_t FirstHardwareIds(std::vector<std::string>* ids) = 0;
};

}  // namespace mq::platform
