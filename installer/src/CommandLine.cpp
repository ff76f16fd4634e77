// The setup program's switches.
#include "installer/CommandLine.h"

#include <map>

#include "installer/Ports.h"
#include "platform/Text.h"

namespace mq::installer {

namespace {

// Decimal digits only, at most limit.
bool ParseNumber(std::string_view text, uint32_t limit, uint32_t* value) {
  if (text.empty() || text.size() > 7) return false;
  uint32_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  if (v > limit) return false;
  *value = v;
  return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return parts;
}

enum class Switch { kQuiet, kModel, kPort, kOs, kAdvanced, kSerial, kIp, kDefault, kRaster, kLog, kYes, kNo, kHelp };

struct SwitchInfo {
  const char* name;
  Switch id;
  bool takesValue;
};

constexpr SwitchInfo kSwitches[] = {
    {"quiet", Switch::kQuiet, false},   {"model", Switch::kModel, true},      {"port", Switch::kPort, true},
    {"os", Switch::kOs, true},          {"advanced", Switch::kAdvanced, false}, {"serial", Switch::kSerial, true},
    {"ip", Switch::kIp, true},          {"default", Switch::kDefault, false}, {"raster", Switch::kRaster, false},
    {"log", Switch::kLog, true},        {"yes", Switch::kYes, false},         {"no", Switch::kNo, false},
    {"?", Switch::kHelp, false},
};

}  // namespace

bool ParseSerialText(std::string_view text, SerialSettings* settings) {
  std::vector<std::string_view> parts = Split(text, ',');
  if (parts.size() != 5) return false;
  SerialSettings s;
  uint32_t speed = 0;
  uint32_t bits = 0;
  if (!ParseNumber(parts[0], 115200, &speed) || SpeedIndexOf(static_cast<int>(speed)) < 0) return false;
  if (parts[1].size() != 1 || std::string_view("emnos").find(parts[1][0]) == std::string_view::npos)
    return false;
  if (!ParseNumber(parts[2], 8, &bits) || bits < 5) return false;
  if (parts[3] == "1")
    s.stopBits = 1.0;
  else if (parts[3] == "1.5")
    s.stopBits = 1.5;
  else if (parts[3] == "2")
    s.stopBits = 2.0;
  else
    return false;
  if (parts[4] == "p")
    s.protocol = 'p';
  else if (parts[4] == "x")
    s.protocol = 'x';
  else if (parts[4].empty() || parts[4] == "n" || parts[4] == "none")
    s.protocol = ' ';
  else
    return false;
  s.speed = static_cast<int>(speed);
  s.byteSize = static_cast<int>(bits);
  s.parity = parts[1][0];
  *settings = s;
  return true;
}

bool ParseAddressText(std::string_view text, std::array<uint8_t, 4>* address) {
  std::vector<std::string_view> parts = Split(text, '.');
  if (parts.size() != 4) return false;
  std::array<uint8_t, 4> a{};
  for (int i = 0; i < 4; ++i) {
    uint32_t v = 0;
    if (parts[i].size() > 3 || !ParseNumber(parts[i], 255, &v)) return false;
    a[i] = static_cast<uint8_t>(v);
  }
  *address = a;
  return true;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error) {
  CommandLine result;
  std::map<Switch, std::string> given;
  std::string order;  // the first switch other than /quiet, for the message when /quiet is missing
  for (const std::string& arg : args) {
    if (arg.size() < 2 || arg[0] != '/') {
      *error = "unexpected argument \"" + arg + "\" (switches begin with /; /? lists them)";
      return false;
    }
    std::string_view body = std::string_view(arg).substr(1);
    size_t equals = body.find('=');
    std::string_view name = body.substr(0, equals);
    const SwitchInfo* info = nullptr;
    for (const SwitchInfo& s : kSwitches) {
      if (text::EqualsNoCase(name, s.name)) info = &s;
    }
    if (info == nullptr) {
      *error = "unknown switch /" + std::string(name) + " (/? lists the switches)";
      return false;
    }
    if (info->takesValue && (equals == std::string_view::npos || equals + 1 == body.size())) {
      *error = "/" + std::string(info->name) + " needs a value: /" + info->name + "=...";
      return false;
    }
    if (!info->takesValue && equals != std::string_view::npos) {
      *error = "/" + std::string(info->name) + " takes no value";
      return false;
    }
    if (given.count(info->id) != 0) {
      *error = "/" + std::string(info->name) + " is given twice";
      return false;
    }
    given[info->id] = info->takesValue ? std::string(body.substr(equals + 1)) : std::string();
    if (info->id != Switch::kQuiet && order.empty()) order = info->name;
  }

  if (given.count(Switch::kHelp) != 0) {
    result.mode = CommandLine::Mode::kHelp;
    *line = result;
    return true;
  }
  if (given.empty()) {
    *line = result;
    return true;
  }
  if (given.count(Switch::kQuiet) == 0) {
    *error = "/" + order + " is a switch of the quiet installation: add /quiet (/? lists the switches)";
    return false;
  }
  result.mode = CommandLine::Mode::kQuiet;
  QuietOptions& q = result.quiet;
  auto has = [&](Switch s) { return given.count(s) != 0; };
  if (!has(Switch::kModel) || !has(Switch::kPort)) {
    *error = "/quiet needs /model=NAME and /port=PORT";
    return false;
  }
  q.model = given[Switch::kModel];
  q.port = given[Switch::kPort];
  const PortKind kind = PortKindOf(q.port);
  if (has(Switch::kOs)) {
    OsGeneration os;
    if (!common::ParseOsGeneration(given[Switch::kOs], &os)) {
      *error = "/os takes 98, NT, 2K, XP, 2003, Vista, 2008 or Win7 (or 0..7): " + given[Switch::kOs];
      return false;
    }
    q.os = os;
  }
  if (has(Switch::kSerial)) {
    SerialSettings s;
    if (!ParseSerialText(given[Switch::kSerial], &s)) {
      *error = "/serial takes SPEED,PARITY,BITS,STOP,PROTOCOL, for example 9600,n,8,1,p (speeds 1200..115200, "
               "parity e|m|n|o|s, bits 5..8, stop 1|1.5|2, protocol p|x|n): " +
               given[Switch::kSerial];
      return false;
    }
    if (kind != PortKind::kSerial) {
      *error = "/serial is for serial ports; " + q.port + " is not one";
      return false;
    }
    q.serial = s;
  }
  if (has(Switch::kIp)) {
    std::array<uint8_t, 4> a{};
    if (!ParseAddressText(given[Switch::kIp], &a)) {
      *error = "/ip takes an address A.B.C.D: " + given[Switch::kIp];
      return false;
    }
    if (kind != PortKind::kNetwork) {
      *error = "/ip is for the network port NET:; " + q.port + " is not it";
      return false;
    }
    q.ip = a;
  }
  if (has(Switch::kYes) && has(Switch::kNo)) {
    *error = "/yes and /no contradict each other";
    return false;
  }
  if (has(Switch::kYes)) q.answer = true;
  if (has(Switch::kNo)) q.answer = false;
  q.advanced = has(Switch::kAdvanced);
  q.setDefault = has(Switch::kDefault);
  q.raster = has(Switch::kRaster);
  if (q.raster && !q.advanced) {
    *error = "/raster is the check box of advanced setup: add /advanced";
    return false;
  }
  if (q.raster && kind == PortKind::kSerial) {
    *error = "/raster is not offered for serial ports";
    return false;
  }
  if (has(Switch::kLog)) q.logFile = given[Switch::kLog];
  *line = result;
  return true;
}

std::string_view CommandLineHelp() {
  return "installer.exe                 opens the setup wizard\r\n"
         "installer.exe /quiet /model=NAME /port=PORT [/os=GEN] [/advanced]\r\n"
         "    [/serial=SPEED,PARITY,BITS,STOP,PROTOCOL] [/ip=A.B.C.D] [/default] [/raster]\r\n"
         "    [/log=FILE] [/yes|/no]\r\n"
         "                              installs without any window, as the wizard would\r\n"
         "\r\n"
         "  /model=NAME    a model of the package's device list (DRVCONFIG\\setup.ini)\r\n"
         "  /port=PORT     a port the port page offers for the model: LPT1:, ZNTCOM1: (COM1: on 64-bit\r\n"
         "                 Windows), NET:, ZNTUSB1, ...\r\n"
         "  /os=GEN        the Windows version expected: 2000, XP, 2003, Vista, 2008 or Win7; the\r\n"
         "                 installation stops when the computer runs another one\r\n"
         "  /advanced      advanced setup (all ports, the raster check box); default: typical setup\r\n"
         "  /serial=...    serial settings, for example 115200,n,8,1,p; default: the model's speed, n,8,1,p\r\n"
         "  /ip=A.B.C.D    the network printer's address, with /port=NET:\r\n"
         "  /default       make the printer the default printer\r\n"
         "  /raster        with /advanced: tick \"Raster Graphic Printing\" (without it the box is\r\n"
         "                 cleared; typical setup decides it by the port as the wizard does)\r\n"
         "  /log=FILE      write every message to FILE (replaced on each run), in the language file's words\r\n"
         "  /yes, /no      the answer to a question (changing the USB printer's ID); without one the\r\n"
         "                 installation stops at the question\r\n"
         "  /?             this text\r\n"
         "\r\n"
         "Example: installer.exe /quiet /model=MQ-450 /port=LPT1: /default /log=C:\\setup.log\r\n"
         "Exit code: 0 installed, 1 failed or stopped (the reason is in the log), 2 bad arguments.\r\n";
}

}  // namespace mq::installer
