// installer.exe: the setup program's Windows entry. Until the wizard arrives it only runs the package's
// start-up check on the package beside the program and ends, showing nothing: exit status 0 when the package
// is usable, 1 when its configuration offers no port for its printers.
#include <windows.h>

#include "common/OsGeneration.h"
#include "installer/SetupConfig.h"
#include "platform/win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  mq::platform::Win32Platform platform;
  mq::installer::SetupConfig config(platform.profile, platform.system.ModuleDirectory(),
                                    mq::common::Is64BitWindows(platform.system));
  return config.PackageUsable() ? 0 : 1;
}
