// The Win32 implementations of the desktop roles the uninstaller needs: restarting Windows and finding other
// programs' windows by title. Compiled only by the Windows builds.
#pragma once

#include "platform/SystemShutdown.h"
#include "platform/WindowLookup.h"

namespace mq::platform {

class Win32SystemShutdown : public SystemShutdown {
 public:
  uint32_t EnableShutdownPrivilege() override;
  uint32_t Reboot() override;
};

class Win32WindowLookup : public WindowLookup {
 public:
  bool Exists(std::string_view title) override;
  bool BringToFront(std::string_view title) override;
};

}  // namespace mq::platform
