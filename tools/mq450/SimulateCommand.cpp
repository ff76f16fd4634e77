// The "simulate" command group: runs an installation of a package against a simulated Windows machine kept in
// a folder (SimulatedMachine), printing every platform call, so that a package author can check a package's
// configuration on Linux before shipping it.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "FailureInjection.h"
#include "SimulatedMachine.h"
#include "ToolSupport.h"
#include "common/LanguageTexts.h"
#include "common/OsGeneration.h"
#include "installer/InstallEngine.h"
#include "installer/Ports.h"
#include "installer/SetupConfig.h"
#include "installer/UsbInstallation.h"
#include "installer/UsbPrinters.h"

namespace mq::tool {
namespace {

namespace fs = std::filesystem;
using installer::InstallJob;
using installer::PrinterType;

// The product ID a simulated printer-class printer is connected with.
constexpr uint16_t kClassPrinterProduct = 0x0E15;

constexpr const char* kUsage =
    "usage: mq450 simulate install --package DIR --machine DIR --model NAME --os GENERATION --port PORT\n"
    "         [--type receipt|ticket|label|embedded] [--raster] [--default] [--advanced] [--64bit]\n"
    "         [--ip A.B.C.D] [--serial SPEED,PARITY,BITS,STOP,PROTOCOL] [--fail CALL=ERROR[@N]]...\n"
    "         [--usb-device PID[:BCD]]... [--usb-class-printer MODEL@N]... [--answer yes|no]\n";
constexpr const char* kHelp =
    "\n"
    "Runs an installation of the package in DIR against a simulated Windows machine kept in the --machine "
    "folder\n"
    "(created when missing, so that runs accumulate), printing every Windows call one per line, then the "
    "result\n"
    "state (1 failed, 2 succeeded) and the result text.\n"
    "\n"
    "  --os GENERATION   0..7 or 98, NT, 2K, XP, 2003, Vista, 2008, Win7; a machine keeps the kind it was\n"
    "                    created as: 32-bit, 64-bit (--64bit) or Windows 98 (which has no 64-bit edition)\n"
    "  --serial ...      the serial settings; without it the port page's: the model's BaudRate, n, 8, 1, p\n"
    "  --fail CALL=ERROR[@N]\n"
    "                    makes CALL (its A or W name) fail with ERROR, every time or only the Nth time; an\n"
    "                    injected failure that never happens ends with exit 2 and leaves the machine as it "
    "was\n"
    "  --usb-device PID[:BCD]\n"
    "                    a vendor USB device with product ID PID (hex) and bcdDevice BCD (by default the\n"
    "                    value the machine's device of that product ID keeps, else 0); repeatable\n"
    "  --usb-class-printer MODEL@N\n"
    "                    a USB printer-class printer MODEL on the spooler port USB00N; repeatable\n"
    "                    (either option replaces the USB devices the machine keeps in usb.txt)\n"
    "  --answer yes|no   the reply to the printer ID question (default no)\n"
    "\n"
    "Exit 0 when the installation succeeded or was handed to the USB driver package installer, 1 when it "
    "failed or\n"
    "stopped with a message, 2 for bad arguments.\n"
    "\n"
    "example:\n"
    "  mq450 simulate install --package dist --machine /tmp/pc --model MQ-450 --os Win7 --port ZNTCOM1: \\\n"
    "      --serial 115200,n,8,1,p --default --fail AddPrinterDriverA=5\n"
    "  mq450 simulate install --package dist --machine /tmp/pc --model MQ-450 --os Win7 --port ZNTUSB2 \\\n"
    "      --advanced --usb-device 1001:10 --answer yes\n";

struct Options {
  std::string package;
  std::string machine;
  std::string model;
  std::optional<common::OsGeneration> os;
  std::string port;
  std::optional<PrinterType> type;
  bool raster = false;
  bool setDefault = false;
  bool advanced = false;
  bool is64 = false;
  std::optional<std::array<uint8_t, 4>> ip;
  std::optional<installer::SerialSettings> serial;
  std::vector<FailRule> failures;
  // The connected USB devices, when any USB option is given.
  struct UsbDevice {
    uint16_t productId = 0;
    std::optional<uint16_t> bcdDevice;
  };
  bool usbGiven = false;
  std::vector<UsbDevice> usbDevices;
  std::vector<platform::FakeClassPrinter> classPrinters;
  bool answer = false;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

bool ParseIp(const std::string& text, std::array<uint8_t, 4>* ip) {
  std::vector<std::string> parts = Split(text, '.');
  if (parts.size() != 4) return false;
  for (int i = 0; i < 4; ++i) {
    uint64_t v = 0;
    if (!ParseCount(parts[i], 255, &v)) return false;
    (*ip)[i] = static_cast<uint8_t>(v);
  }
  return true;
}

bool ParseSerial(const std::string& text, installer::SerialSettings* s) {
  std::vector<std::string> parts = Split(text, ',');
  if (parts.size() != 5) return false;
  uint64_t speed = 0;
  uint64_t bits = 0;
  if (!ParseCount(parts[0], 1000000, &speed) || speed == 0) return false;
  if (parts[1].size() != 1 || std::string_view("emnos").find(parts[1][0]) == std::string_view::npos)
    return false;
  if (!ParseCount(parts[2], 8, &bits) || bits < 5) return false;
  double stop = 0;
  if (parts[3] == "1")
    stop = 1.0;
  else if (parts[3] == "1.5")
    stop = 1.5;
  else if (parts[3] == "2")
    stop = 2.0;
  else
    return false;
  char protocol = 0;
  if (parts[4] == "p")
    protocol = 'p';
  else if (parts[4] == "x")
    protocol = 'x';
  else if (parts[4].empty() || parts[4] == "n" || parts[4] == "none")
    protocol = ' ';
  else
    return false;
  *s =
      installer::SerialSettings{static_cast<int>(speed), static_cast<int>(bits), parts[1][0], stop, protocol};
  return true;
}

// PID[:BCD]: a product ID of one to four hex digits, a decimal bcdDevice 0..65535.
bool ParseUsbDevice(const std::string& text, Options::UsbDevice* device) {
  size_t colon = text.find(':');
  std::optional<uint16_t> product = installer::ParseProductId(text.substr(0, colon));
  if (!product) return false;
  device->productId = *product;
  device->bcdDevice.reset();
  if (colon != std::string::npos) {
    uint64_t bcd = 0;
    if (!ParseCount(text.substr(colon + 1), 0xFFFF, &bcd)) return false;
    device->bcdDevice = static_cast<uint16_t>(bcd);
  }
  return true;
}

// MODEL@N: a model name and the spooler port USB00N (1..9).
bool ParseClassPrinter(const std::string& text, platform::FakeClassPrinter* printer) {
  size_t at = text.rfind('@');
  if (at == std::string::npos || at == 0 || text.find('@') != at) return false;
  uint64_t port = 0;
  if (!ParseCount(text.substr(at + 1), 9, &port) || port == 0) return false;
  *printer = platform::FakeClassPrinter{text.substr(0, at), static_cast<int>(port)};
  return true;
}

bool ParseType(const std::string& text, PrinterType* type) {
  for (PrinterType t :
       {PrinterType::kReceipt, PrinterType::kTicket, PrinterType::kLabel, PrinterType::kEmbedded}) {
    if (text == installer::PrinterTypeName(t)) {
      *type = t;
      return true;
    }
  }
  return false;
}

bool ParseOptions(const Args& args, Options* o, std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) { return TakeOptionValue(args, &i, out, error); };
    std::string v;
    if (a == "--raster") {
      o->raster = true;
    } else if (a == "--default") {
      o->setDefault = true;
    } else if (a == "--advanced") {
      o->advanced = true;
    } else if (a == "--64bit") {
      o->is64 = true;
    } else if (a == "--package" || a == "--machine" || a == "--model" || a == "--port") {
      if (!value(&v)) return false;
      (a == "--package"   ? o->package
       : a == "--machine" ? o->machine
       : a == "--model"   ? o->model
                          : o->port) = v;
    } else if (a == "--os") {
      if (!value(&v) || !ReadOsOption(v, &o->os, error)) return false;
    } else if (a == "--type") {
      if (!value(&v)) return false;
      PrinterType type;
      if (!ParseType(v, &type)) {
        *error = "--type takes receipt, ticket, label or embedded: " + v;
        return false;
      }
      o->type = type;
    } else if (a == "--ip") {
      if (!value(&v)) return false;
      std::array<uint8_t, 4> ip;
      if (!ParseIp(v, &ip)) {
        *error = "--ip takes a dotted address A.B.C.D: " + v;
        return false;
      }
      o->ip = ip;
    } else if (a == "--serial") {
      if (!value(&v)) return false;
      installer::SerialSettings s;
      if (!ParseSerial(v, &s)) {
        *error = "--serial takes SPEED,PARITY(e|m|n|o|s),BITS(5..8),STOP(1|1.5|2),PROTOCOL(p|x|none): " + v;
        return false;
      }
      o->serial = s;
    } else if (a == "--usb-device") {
      if (!value(&v)) return false;
      Options::UsbDevice device;
      if (!ParseUsbDevice(v, &device)) {
        *error = "--usb-device takes PID (1 to 4 hex digits) or PID:BCD (BCD 0..65535): " + v;
        return false;
      }
      o->usbGiven = true;
      o->usbDevices.push_back(device);
    } else if (a == "--usb-class-printer") {
      if (!value(&v)) return false;
      platform::FakeClassPrinter printer;
      if (!ParseClassPrinter(v, &printer)) {
        *error = "--usb-class-printer takes MODEL@N with N from 1 to 9: " + v;
        return false;
      }
      o->usbGiven = true;
      o->classPrinters.push_back(printer);
    } else if (a == "--answer") {
      if (!value(&v)) return false;
      if (v != "yes" && v != "no") {
        *error = "--answer takes yes or no: " + v;
        return false;
      }
      o->answer = v == "yes";
    } else if (a == "--fail") {
      if (!value(&v) || !ReadFailOption(v, &o->failures, error)) return false;
    } else {
      *error = "unknown argument " + a;
      return false;
    }
  }
  for (auto [value, name] : {std::pair{&o->package, "--package"}, std::pair{&o->machine, "--machine"},
                             std::pair{&o->model, "--model"}, std::pair{&o->port, "--port"}}) {
    if (value->empty()) {
      *error = std::string("missing ") + name;
      return false;
    }
  }
  if (!o->os) {
    *error = "missing --os";
    return false;
  }
  if (o->is64 && common::IsWindows9x(*o->os)) {
    *error = "--os 98 with --64bit: Windows 98 has no 64-bit edition";
    return false;
  }
  return true;
}

class PrintingUi : public installer::InstallUi {
 public:
  explicit PrintingUi(bool answer) : answer_(answer) {}
  void ShowMessage(std::string_view text, std::string_view caption) override {
    std::cout << "MessageBoxW caption=" << OneLine(caption) << " text=" << OneLine(text) << "\n";
  }
  bool AskYesNo(std::string_view text) override {
    std::cout << "MessageBoxW type=yesno text=" << OneLine(text) << " -> " << (answer_ ? "yes" : "no")
              << "\n";
    return answer_;
  }
  bool RestartWindows() override { return false; }

 private:
  bool answer_;
};

SimulatedWindows MachineKind(const Options& o) {
  if (common::IsWindows9x(*o.os)) return SimulatedWindows::kWindows98;
  return o.is64 ? SimulatedWindows::kNt64 : SimulatedWindows::kNt32;
}

// The port page's look at the USB printers shows nothing of its own in the simulation.
class SilentUi : public installer::InstallUi {
 public:
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view) override { return false; }
  bool RestartWindows() override { return false; }
};

// The USB devices the options connect. A vendor device without a bcdDevice keeps the value of the machine's
// device of the same product ID (each saved device lends its value once), so that a printer ID written in an
// earlier run stays.
void ConnectUsbDevices(SimulatedMachine& machine, const Options& o) {
  if (!o.usbGiven) return;
  platform::FakeUsbBus connected;
  std::vector<bool> lent(machine.usbBus.devices.size(), false);
  for (const Options::UsbDevice& d : o.usbDevices) {
    uint16_t bcd = 0;
    if (d.bcdDevice) {
      bcd = *d.bcdDevice;
    } else {
      for (size_t i = 0; i < machine.usbBus.devices.size(); ++i) {
        const platform::FakeUsbDevice& saved = machine.usbBus.devices[i];
        if (!lent[i] && saved.productId == d.productId && saved.vendorId == installer::kVendorUsbId) {
          bcd = saved.bcdDevice;
          lent[i] = true;
          break;
        }
      }
    }
    bool reached = installer::GroupOfProduct(d.productId) == installer::UsbProductGroup::kVendorDriver;
    connected.Add(installer::kVendorUsbId, d.productId, bcd, reached);
  }
  for (const platform::FakeClassPrinter& p : o.classPrinters) {
    connected.Add(installer::kVendorUsbId, kClassPrinterProduct, 0, false);
    connected.classPrinters.push_back(p);
  }
  machine.usbBus = std::move(connected);
}

// The model as the package lists it (under the type asked for, when one is given).
std::optional<installer::ModelEntry> FindModel(SimulatedMachine& machine,
                                               const installer::SetupConfig& config, const Options& o) {
  platform::CallJournal::Quiet quiet(&machine.journal);
  installer::DeviceList list = config.ReadDeviceList();
  if (list.Truncated()) {
    std::cerr << "mq450: note: the device list claims " << list.claimedEntries << " models; only the first "
              << installer::kMaxDeviceEntries << " are read\n";
  }
  for (const installer::ModelEntry& m : list.models) {
    if (m.name == o.model && (!o.type || *o.type == m.type)) return m;
  }
  return std::nullopt;
}

// A port that the wizard's port page would not offer for this model, system and setup mode is worth a note:
// the run still goes ahead as asked, so that the preparation's own refusals can be checked too.
void NoteUnofferedPort(SimulatedMachine& machine, const installer::SetupConfig& config,
                       const common::LanguageTexts& texts, const installer::ModelEntry& entry,
                       const Options& o) {
  platform::CallJournal::Quiet quiet(&machine.journal);
  installer::PortListInput input;
  input.caps = config.ReadPortCaps(entry.type, entry.name);
  input.os = *o.os;
  input.is64BitWindows = o.is64;
  input.typical = !o.advanced;
  input.windowsDirectory = machine.system.windowsDirectory;
  SilentUi silent;
  installer::UsbPrinters usb(machine.presentDevices, machine.usbLibraries, machine.fileVersions,
                             kSimulatedPackageFolder, texts, silent);
  installer::PortPage page = installer::BuildPortList(input, usb, texts);
  if (std::find(page.ports.begin(), page.ports.end(), o.port) != page.ports.end()) return;
  std::string offered;
  for (const std::string& port : page.ports) offered += (offered.empty() ? "" : " ") + port;
  std::cerr << "mq450: note: the port page does not offer " << o.port << " for " << o.model
            << " here; it offers: " << (offered.empty() ? "nothing" : offered) << "\n";
}

// The install job as the wizard's pages would fill it; without --serial the port page's own preselection.
InstallJob JobFromOptions(SimulatedMachine& machine, const installer::SetupConfig& config,
                          const installer::ModelEntry& entry, const Options& o) {
  platform::CallJournal::Quiet quiet(&machine.journal);
  InstallJob job;
  job.os = *o.os;
  job.type = entry.type;
  job.model = entry.name;
  job.portName = o.port;
  job.raster = o.raster;
  job.setDefault = o.setDefault;
  job.typical = !o.advanced;
  job.serial =
      o.serial ? *o.serial : installer::PageSerialSettings(config.ReadPortCaps(entry.type, entry.name));
  if (o.ip) job.ipAddress = *o.ip;
  return job;
}

int RunInstall(const Args& args) {
  Options o;
  std::string error;
  if (!ParseOptions(args, &o, &error)) {
    std::cerr << kUsage;
    return Fail(kExitUsage, error);
  }
  std::error_code ec;
  if (!fs::is_directory(o.package, ec) ||
      !fs::is_regular_file(fs::path(o.package) / "DRVCONFIG" / "setup.ini", ec)) {
    return Fail(kExitUsage, "not a package folder (no DRVCONFIG/setup.ini): " + o.package);
  }
  // The profile reader takes a file it cannot read for a missing one; a configuration file too large to be
  // one is worth saying so before the run reads "0" everywhere.
  for (const char* folder : {"DRVCONFIG", "language"}) {
    for (const auto& item : fs::directory_iterator(fs::path(o.package) / folder, ec)) {
      if (item.is_regular_file(ec) && item.file_size(ec) > platform::kMaxReadAllBytes) {
        return Fail(kExitUsage, item.path().string() + ": larger than " +
                                    std::to_string(platform::kMaxReadAllBytes) +
                                    " bytes, too large for a configuration file");
      }
    }
  }
  int status = kExitFailed;
  std::unique_ptr<SimulatedMachine> machine =
      SimulatedMachine::Open(o.machine, MachineKind(o), o.package, &status, &error);
  if (!machine) return Fail(status, error);

  installer::SetupConfig config(machine->profile, kSimulatedPackageFolder, o.is64);
  std::optional<installer::ModelEntry> entry = FindModel(*machine, config, o);
  if (!entry) {
    return Fail(kExitUsage,
                "the package does not list the model " + o.model +
                    (o.type ? " as a " + std::string(installer::PrinterTypeName(*o.type)) + " printer" : ""));
  }
  common::LanguageTexts texts(machine->profile, std::string(kSimulatedPackageFolder) + "\\language", "setup",
                              machine->system.langId);
  ConnectUsbDevices(*machine, o);
  NoteUnofferedPort(*machine, config, texts, *entry, o);
  InstallJob job = JobFromOptions(*machine, config, *entry, o);

  machine->journal.SetSink([](const std::string& line) { std::cout << OneLine(line) << "\n"; });
  FailureInjection injection(o.failures);
  injection.Arm(machine->journal);
  PrintingUi ui(o.answer);
  installer::UsbPrinters usb(machine->presentDevices, machine->usbLibraries, machine->fileVersions,
                             kSimulatedPackageFolder, texts, ui);
  installer::UsbInstallation usbStep(machine->InstallerServices(usb), config, texts, ui, usb);
  installer::InstallEngine engine(machine->InstallerServices(usb), config, texts, ui, usbStep);
  installer::PrepareResult prepared = engine.Prepare(job);
  bool ran = prepared.outcome == installer::PrepareResult::Outcome::kReady;
  if (ran) {
    engine.RunWorker(job);
    engine.Finish(job);
  }
  machine->journal.SetSink(nullptr);

  // A run without the failure it was asked to show proves nothing: the machine keeps its earlier state.
  std::vector<std::string> missed = injection.Missed(machine->journal);
  if (missed.empty() && !machine->Save(&error)) return Fail(kExitFailed, error);
  std::cout << "result state: " << job.resultState << "\n";
  std::cout << "result text: " << OneLine(ran ? job.resultText : prepared.message) << "\n";
  bool handedOver = prepared.outcome == installer::PrepareResult::Outcome::kHandedOver;
  if (handedOver) std::cout << "handed over: the USB driver package installer installs the printer\n";
  for (const std::string& rule : missed) {
    Fail(kExitUsage, rule + "; the machine was left as it was");
  }
  if (!missed.empty()) return kExitUsage;
  if (handedOver || (ran && job.resultState == installer::kStateSucceeded)) return kExitOk;
  return kExitFailed;
}

}  // namespace

int RunSimulate(const Args& args) {
  bool help = std::find_if(args.begin(), args.end(),
                           [](const std::string& a) { return a == "-h" || a == "--help"; }) != args.end();
  if (help && (args.empty() || args[0] == "install" || args[0] == "-h" || args[0] == "--help")) {
    std::cout << kUsage << kHelp;
    return kExitOk;
  }
  if (!args.empty() && args[0] == "uninstall") return RunSimulateUninstall(args);
  if (args.empty() || args[0] != "install") {
    std::cerr << kUsage;
    return Fail(kExitUsage, args.empty() ? "missing command" : "unknown simulate command: " + args[0]);
  }
  return RunInstall(args);
}

}  // namespace mq::tool
