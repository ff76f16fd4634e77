// The unattended removal: uninstall.exe /quiet [/all | /item=NAME ...] [/usbdriver] [/noreboot] [/log=FILE]
// removes the package's components with no window and no question. It runs the dialog's start checks and
// the same removal; every line the dialog would show (and every message box) goes to the log instead, and
// the exit code tells the result: 0 when every chosen component was removed, 1 when the removal failed or
// stopped, 2 for bad arguments. Windows is restarted after a removal unless /noreboot is given.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "uninstall/UninstallDialog.h"

namespace mq::uninstall {

inline constexpr int kQuietSucceeded = 0;
inline constexpr int kQuietFailed = 1;
inline constexpr int kQuietBadArguments = 2;

struct CommandLine {
  bool quiet = false;
  bool help = false;  // /? : list the switches
  bool all = false;
  std::vector<std::string> items;
  bool usbDriver = false;
  bool noReboot = false;
  std::string logFile;
};

// Parses the words after the program name. Switches start with '/' or '-' and are matched case-blind
// (/QUIET, -all); /item= and /log= take the rest of their word as it is. An empty command line opens the
// dialog. false with error set for an unknown switch, an empty value, /all together with /item, or any
// switch but /? without /quiet.
bool ParseCommandLine(const std::vector<std::string>& words, CommandLine* line, std::string* error);

// The switch list /? shows, one switch a line.
std::string_view CommandLineUsage();

// Where the unattended run's lines go.
class QuietLog {
 public:
  virtual ~QuietLog() = default;
  virtual void Line(const std::string& text) = 0;
};

// The unattended run after the shell's own checks (the mutex): the installer window check, the
// configuration, the component list, the chosen items and the removal. Returns the exit code.
int RunQuietUninstall(const CommandLine& line, DialogServices services, const StartFacts& facts,
                      QuietLog& log);

}  // namespace mq::uninstall
