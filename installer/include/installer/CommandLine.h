// The setup program's command line: no arguments open the wizard; "/quiet" with a model and a port installs
// without any window, for deployment tools that set up many computers; "/?" lists the switches. Switch names
// are matched without regard to case, values after "=" as written.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/SetupTypes.h"

namespace mq::installer {

// What a quiet installation was asked for.
struct QuietOptions {
  std::string model;
  std::string port;                   // a name as the port page lists it: "LPT1:", "ZNTCOM3:", "NET:", ...
  std::optional<OsGeneration> os;     // the Windows version the OS page must show, when given
  bool advanced = false;              // advanced setup instead of typical
  std::optional<SerialSettings> serial;
  std::optional<std::array<uint8_t, 4>> ip;
  bool setDefault = false;
  bool raster = false;
  std::string logFile;                // "" = no log file
  std::optional<bool> answer;         // /yes or /no: the answer to a question such as the printer-ID change
};

struct CommandLine {
  enum class Mode { kWizard, kQuiet, kHelp };
  Mode mode = Mode::kWizard;
  QuietOptions quiet;
};

// Parses the arguments after the program name. False with *error (one line naming the switch) for an unknown
// switch, a switch given twice, a missing or malformed value, switches without "/quiet", a "/quiet" without
// "/model" or "/port", and switches that contradict each other or the port: "/yes" with "/no", "/serial" for
// a port that is not serial, "/ip" for a port that is not the network port, "/raster" without "/advanced" or for a serial port.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error);

// "SPEED,PARITY,BITS,STOP,PROTOCOL": one of the port page's speeds, parity e/m/n/o/s, 5..8 data bits, stop bits
// 1, 1.5 or 2, protocol p (hardware), x (Xon/Xoff) or n / none / empty (none).
bool ParseSerialText(std::string_view text, SerialSettings* settings);
// "A.B.C.D", each part 0..255 in decimal digits.
bool ParseAddressText(std::string_view text, std::array<uint8_t, 4>* address);

// The text "/?" shows: every switch with its meaning, an example and the exit codes.
std::string_view CommandLineHelp();

// Exit codes of a quiet installation (and of "/?" and bad arguments).
inline constexpr int kExitSucceeded = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadArguments = 2;

}  // namespace mq::installer
