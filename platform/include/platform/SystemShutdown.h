// Restarting Windows: the shutdown privilege of the process token and the restart itself.
#pragma once

#include <cstdint>

namespace mq::platform {

class SystemShutdown {
 public:
  virtual ~SystemShutdown() = default;
  // OpenProcessToken(TOKEN_ADJUST_PRIVILEGES) + LookupPrivilegeValue("SeShutdownPrivilege") +
  // AdjustTokenPrivileges (that one privilege, enabled). 0 when the privilege is held afterwards.
  virtual uint32_t EnableShutdownPrivilege() = 0;
  // ExitWindowsEx(EWX_REBOOT, 0).
  virtual uint32_t Reboot() = 0;
};

}  // namespace mq::platform
