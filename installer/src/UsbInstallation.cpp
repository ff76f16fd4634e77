// What Install does for a USB port.
#include "installer/UsbInstallation.h"

#include <array>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/FsRedirection.h"

namespace mq::installer {

namespace {

// The four numbers of a version text ("1.0.0.6", "1, 0, 0, 6", "6.1.7600.16385 (win7_rtm)"); nullopt when
// it does not start with a number. Missing parts are 0; each part saturates at 65535.
std::optional<std::array<uint32_t, 4>> VersionParts(std::string_view text) {
  std::array<uint32_t, 4> parts{};
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  for (size_t part = 0; part < parts.size(); ++part) {
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      parts[part] = std::min<uint32_t>(parts[part] * 10 + static_cast<uint32_t>(text[i] - '0'), 65535);
      ++i;
    }
    if (i == start) {
      if (part == 0) return std::nullopt;
      break;
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size() || (text[i] != '.' && text[i] != ',')) break;
    ++i;
    while (i < text.size() && text[i] == ' ') ++i;
  }
  return parts;
}

}  // namespace

bool VendorDriverNeedsInstall(std::string_view installed, std::string_view package) {
  if (installed == package) return false;
  std::optional<std::array<uint32_t, 4>> have = VersionParts(installed);
  std::optional<std::array<uint32_t, 4>> offered = VersionParts(package);
  if (!have || *have == std::array<uint32_t, 4>{}) return true;  // not installed
  if (!offered) return false;
  return *have < *offered;
}

std::string ClassInstallArguments(std::string_view infPath, std::string_view hardwareId,
                                  std::string_view model, int port, bool setDefault) {
  std::string arguments = " 3 \"" + std::string(infPath) + "\" " + std::string(hardwareId);
  if (setDefault) return arguments + " 0 " + std::string(model) + "(U)" + std::to_string(port);
  return arguments + " 0";
}

int UsbPortNumber(std::string_view portName) {
  for (int n = 4; n >= 1; --n) {
    if (portName.find("USB" + std::to_string(n)) != std::string_view::npos) return n;
  }
  return 0;
}

UsbInstallation::UsbInstallation(const InstallerServices& services, const SetupConfig& config,
                                 const common::LanguageTexts& texts, InstallUi& ui, UsbPrinters& printers)
    : s_(services), config_(config), texts_(texts), ui_(ui), printers_(printers) {}

std::string UsbInstallation::PackageDriverPath() const {
  return config_.packageFolder() +
         (config_.is64BitWindows() ? "\\USBDRV\\USBDriver_x64\\ZNUSB.sys" : "\\USBDRV\\USBDriver\\ZNUSB.sys");
}

std::string UsbInstallation::InstalledDriverPath() const {
  return s_.platform.system.WindowsDirectory() + "\\system32\\drivers\\ZNUSB.sys";
}

std::string UsbInstallation::DriverInstallerPath() const {
  return config_.packageFolder() + (config_.is64BitWindows() ? "\\USBDRV\\USBDriver_x64\\Install.exe"
                                                             : "\\USBDRV\\USBDriver\\Install.exe");
}

std::string UsbInstallation::ClassInf() const {
  std::string name = config_.ReadSwitches().infFileName;
  std::string folder = config_.packageFolder() + (config_.is64BitWindows() ? "\\W64\\" : "\\W32\\");
  if (name.empty() || name.compare(0, 3, "err") == 0) return folder + "Setup.inf";
  return folder + name + (config_.is64BitWindows() ? "64.inf" : "32.inf");
}

void UsbInstallation::InstallVendorDriverIfNeeded() {
  platform::OsVersion version = s_.platform.system.Version();
  if (version.platformId != 2 || version.major < 5) return;  // before Windows 2000
  std::string installed;
  {
    platform::RedirectionOff off(s_.redirection,
                                 config_.is64BitWindows() && s_.platform.system.IsWow64Process());
    installed = printers_.FileVersion(InstalledDriverPath());
  }
  if (!VendorDriverNeedsInstall(installed, printers_.FileVersion(PackageDriverPath()))) return;

  std::string folder = config_.packageFolder() +
                       (config_.is64BitWindows() ? "\\USBDRV\\USBDriver_x64" : "\\USBDRV\\USBDriver");
  s_.platform.files.SetAttributes(folder + "\\ZNUSB.sys", platform::kFileAttributeArchive);
  s_.platform.files.SetAttributes(folder + "\\ZNUSB.INF", platform::kFileAttributeArchive);
  s_.platform.shell.Execute("open", DriverInstallerPath(), "2", folder, platform::kShowNormal);
  for (uint32_t ms : {500u, 1000u, 2000u}) s_.platform.clock.Sleep(ms);
}

UsbInstallStep::Outcome UsbInstallation::InstallClassPrinter(const InstallJob& job, std::string* message) {
  int port = printers_.FindClassPrinterPort(job.model);
  if (port == 0) return Stop(message, texts_.Message("IDS_ERR_CLASSPRINTERIDERROR"));
  std::string hardwareId = config_.UsbClassHardwareId(job.model, port);
  if (hardwareId.compare(0, 3, "ERR") == 0) return Stop(message, texts_.Message("IDS_ERR_HARDWAREIDNULL"));
  std::string folder = config_.packageFolder() +
                       (config_.is64BitWindows() ? "\\USBDRV\\USBDriver_x64" : "\\USBDRV\\USBDriver");
  s_.platform.shell.Execute("open", DriverInstallerPath(),
                            ClassInstallArguments(ClassInf(), hardwareId, job.model, port, job.setDefault),
                            folder, platform::kShowNormal);
  message->clear();
  return Outcome::kHandedOver;
}

UsbInstallStep::Outcome UsbInstallation::Decide(InstallJob& job, std::string* message) {
  // SupportedUSBMODE 1 allows printer-class installations only, 2 the vendor USB driver only; every other
  // value lets the connected devices decide, as 0 (the key's default) does.
  int mode = config_.ReadSwitches().supportedUsbMode;
  if (mode == 2) {
    InstallVendorDriverIfNeeded();
    return Outcome::kContinue;
  }
  switch (printers_.ClassifyUsbDevices()) {
    case platform::kUsbNoDevice:
      return Stop(message, texts_.Message("IDS_ERR_CLASSPRINTERNONEXIST"));
    case platform::kUsbClassPrinters:
      return InstallClassPrinter(job, message);
    case platform::kUsbVendorDriverPrinters:
      if (mode == 1) return Stop(message, texts_.Message("IDS_ERR_CLASSPRINTERIDERROR"));
      InstallVendorDriverIfNeeded();
      return Outcome::kContinue;
    default:
      return Stop(message, texts_.Message("IDS_ERR_ONEPRINTER"));
  }
}

UsbInstallStep::Outcome UsbInstallation::CheckPrinterId(InstallJob& job, std::string* message) {
  message->clear();
  int descriptor = printers_.ReadPrinterId();
  if (job.typical) {
    if (descriptor < 0) return Outcome::kContinue;
    job.printerId = PrinterIdOfDescriptor(descriptor);
    if (job.printerId == 1) return Outcome::kContinue;
    if (!ui_.AskYesNo(texts_.Message("IDS_INF_CHANGEID"))) return Outcome::kStop;
    if (!printers_.WritePrinterId(1)) return Outcome::kStop;  // the library's message was shown
    job.printerId = 1;
    return Outcome::kContinue;
  }

  if (descriptor == platform::kUsbNoAnswer) return Stop(message, texts_.Message("IDS_ERR_NOUSBDEVICE"));
  if (descriptor < 0) return Outcome::kStop;  // several devices: IDS_ERR_ONEPRINTER was shown
  job.printerId = PrinterIdOfDescriptor(descriptor);
  std::string underscoreId = "_";
  underscoreId += std::to_string(job.printerId);
  if (job.portName.find(underscoreId) != std::string::npos) return Outcome::kContinue;
  int port = UsbPortNumber(job.portName);
  if (port == job.printerId) return Outcome::kContinue;
  if (!ui_.AskYesNo(texts_.Message("IDS_INF_CHANGEID"))) return Outcome::kStop;
  if (!printers_.WritePrinterId(port)) return Stop(message, "Failed to set Printer ID!");
  job.printerId = port;
  return Outcome::kContinue;
}

}  // namespace mq::installer
