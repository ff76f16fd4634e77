// What the uninstaller settles before its dialog opens or its unattended run starts: that no other copy of it
// and no installer window is open, and whether the vendor's USB printer driver can be offered for removal
// (its driver file is installed and exactly one of the vendor's USB printers, or several, answer through
// ZnUsbInt.dll).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FsRedirection.h"
#include "platform/Profile.h"
#include "platform/SystemInfo.h"
#include "platform/UsbLibraries.h"
#include "platform/WindowLookup.h"
#include "uninstall/UninstallConfig.h"

namespace mq::uninstall {

// The window titles the two setup programs are known by on a Chinese system.
inline constexpr std::string_view kUninstallWindowTitle = "打印机卸载程序";
inline constexpr std::string_view kInstallerWindowTitle = "打印机驱动安装程序";

// The titles an open installer window may carry: the Chinese one, then the [Setup] Caption of each of the
// package's installer language files (English, simplified and traditional Chinese), without repeats.
std::vector<std::string> InstallerWindowTitles(platform::Profile& profile, std::string_view programFolder);

enum class StartVerdict {
  kRun,
  kAlreadyRunning,    // another copy holds the program's mutex; its window was brought to the front
  kInstallerRunning,  // an installer window is open: show the Uninstall text Close and end
};

// mutexExisted: creating the program's named mutex found it already there.
StartVerdict CheckStart(bool mutexExisted, platform::WindowLookup& windows, platform::Profile& profile,
                        std::string_view programFolder, const UninstallTexts& texts);

// The USB device probe over ZnUsbInt.dll in the program folder: -1 when the library or one of its entry
// points is missing, when no device answers or when the descriptor cannot be read (each but the no-device
// case shows its message); -2 when more than one device answers; otherwise the device's bcdDevice value.
// Every handle opened is closed and the library unloaded.
inline constexpr int kUsbProbeNone = -1;
inline constexpr int kUsbProbeSeveral = -2;
int ProbeUsbDevices(platform::UsbLibraries& libraries, std::string_view programFolder,
                    const std::function<void(std::string_view)>& show);

struct UsbDriverServices {
  platform::SystemInfo& system;
  platform::FileSystem& files;
  platform::FsRedirection& redirection;
  platform::UsbLibraries& libraries;
};

// Whether the USB-driver check box stays enabled: ZNUSB.sys or BULKUSB.sys is in the system's driver folder
// (looked up with file-system redirection off on 64-bit Windows) and the probe does not report -1. When
// redirection cannot be turned off, the files cannot be looked for and the box stays enabled.
bool UsbDriverRemovable(const UsbDriverServices& services, bool is64BitWindows,
                        std::string_view programFolder, const std::function<void(std::string_view)>& show);

}  // namespace mq::uninstall
