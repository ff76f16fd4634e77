// The Windows side of uninstall.exe around its portable logic: the running system's roles in one place, the
// facts read before the dialog opens, the removal worker as a Win32 thread, and the unattended run's log.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Win32DesktopRoles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SetupRoles.h"
#include "platform/win32/Win32UsbRoles.h"
#include "uninstall/QuietUninstall.h"
#include "uninstall/UninstallDialog.h"

namespace mq::uninstall {

// File-system redirection as the uninstaller needs it: a 64-bit build of the program sees the real system
// folder already, so there turning redirection off is a no-op that succeeds.
class ProgramFsRedirection : public platform::FsRedirection {
 public:
  uint32_t Disable(uintptr_t* cookie) override;
  uint32_t Revert(uintptr_t cookie) override;

 private:
  platform::Win32FsRedirection system_;
};

struct Win32UninstallMachine {
  platform::Win32Platform platform;
  platform::Win32SetupRoles roles;
  platform::Win32UsbRoles usb;
  platform::Win32SystemShutdown shutdown;
  platform::Win32WindowLookup windows;
  ProgramFsRedirection redirection;

  DialogServices Services();
};

// The system default language, the current directory (read into 256 characters, as the program always has),
// and whether winspool.drv loads and exports DeletePrinterDriverExW.
StartFacts ReadStartFacts();

class Win32WorkerStarter : public WorkerStarter {
 public:
  bool Start(std::function<void()> work) override;
};

// Writes each line (UTF-8, CR LF) to the log file when one is named and to standard output when the program
// was given one.
class FileQuietLog : public QuietLog {
 public:
  FileQuietLog() : output_(GetStdHandle(STD_OUTPUT_HANDLE)) {}
  ~FileQuietLog() override;
  // false when the file cannot be created.
  bool Open(const std::string& path);
  void Line(const std::string& text) override;
  static void WriteTo(HANDLE handle, const std::string& text);

 private:
  HANDLE output_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace mq::uninstall
