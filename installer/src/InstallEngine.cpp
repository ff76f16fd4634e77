// The installation engine: preparation, worker and the steps after it.
#include "installer/InstallEngine.h"

#include <algorithm>
#include <cctype>

#include "installer/Ports.h"
#include "platform/RegistryText.h"
#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::installer {

using platform::kHkeyLocalMachine;

namespace {

constexpr std::string_view kMonitorsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
constexpr std::string_view kEnvironmentsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
constexpr std::string_view kPrintersKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Printers\\";
constexpr std::string_view kSpooler = "Spooler";
constexpr std::string_view kCrLf = "\r\n";

std::string Upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool IsUniversalDriverFile(std::string_view upperName) {
  return Contains(upperName, "UNIDRV") || Contains(upperName, "STDNAMES") || Contains(upperName, "TTFSUB") ||
         Contains(upperName, "UNIRES");
}

// A name the copy skips on purpose: the "0" default and anything else starting with '0'.
bool Named(std::string_view name) {
  return !name.empty() && !common::NamesNoFile(name);
}

}  // namespace

std::string ErrorTextFallback(uint32_t error) {
  switch (error) {
    case err::kFileNotFound:
      return "The system cannot find the file specified.";
    case err::kPathNotFound:
      return "The system cannot find the path specified.";
    case err::kAccessDenied:
      return "Access is denied.";
    case err::kSharingViolation:
      return "The process cannot access the file because it is being used by another process.";
    case err::kInvalidParameter:
      return "The parameter is incorrect.";
    case err::kInsufficientBuffer:
      return "The data area passed to a system call is too small.";
    case err::kUnknownPort:
      return "The specified port is unknown.";
    case err::kUnknownPrinterDriver:
      return "The printer driver is unknown.";
    case err::kUnknownPrintProcessor:
      return "The print processor is unknown.";
    case err::kInvalidPrinterName:
      return "The printer name is invalid.";
    case err::kPrinterAlreadyExists:
      return "The printer already exists.";
    case err::kPrintMonitorAlreadyInstalled:
      return "The specified print monitor has already been installed.";
    case err::kPrintProcessorAlreadyInstalled:
      return "The specified print processor has already been installed.";
    default:
      return "Error " + std::to_string(error) + ".";
  }
}

InstallEngine::InstallEngine(InstallerServices services, const SetupConfig& config,
                             const common::LanguageTexts& texts, InstallUi& ui, UsbInstallStep& usb)
    : s_(std::move(services)), config_(config), texts_(texts), ui_(ui), usb_(usb) {
  switches_ = config_.ReadSwitches();
}

std::string InstallEngine::ErrorText(uint32_t error) const {
  return s_.errorText ? s_.errorText(error) : ErrorTextFallback(error);
}

uint32_t InstallEngine::RegistryAccess() const {
  return config_.is64BitWindows() ? (platform::kKeyRead | platform::kKeyWrite) : platform::kKeyAllAccess;
}

bool InstallEngine::RedirectSystemFolder() const {
  // Only a 32-bit program on 64-bit Windows is redirected.
  return config_.is64BitWindows() && s_.platform.system.IsWow64Process();
}

std::string InstallEngine::ZntFolder() const {
  std::string windows = s_.platform.system.WindowsDirectory();
  return windows.substr(0, std::min<size_t>(3, windows.size())) + "Program Files\\ZNT";
}

bool InstallEngine::Stop(PrepareResult* result, std::string message) {
  ui_.ShowMessage(message, "");
  result->outcome = PrepareResult::Outcome::kStopped;
  result->message = std::move(message);
  return false;
}

// ---------------------------------------------------------------------------------------------------------------
// Preparation

PrepareResult InstallEngine::Prepare(InstallJob& job) {
  PrepareResult result;
  platform::FileSystem& files = s_.platform.files;
  platform::Profile& profile = s_.platform.profile;

  // 1. The utility folder and its DriverUtility.ini.
  std::string znt = ZntFolder();
  std::string utility = znt + "\\Utility";
  files.CreateFolder(znt);
  files.CreateFolder(utility);
  job.utilityIniPath = utility + "\\DriverUtility.ini";

  // 3, 4. Model and system.
  if (job.model.empty()) {
    Stop(&result, Message("IDS_ERR_SELPRINTER"));
    return result;
  }
  PortCaps caps = config_.ReadPortCaps(job.type, job.model);
  struct OsCheck {
    OsGeneration os;
    int PortCaps::*supported;
    std::string_view message;
  };
  static constexpr OsCheck kOsChecks[] = {
      {OsGeneration::kServer2003, &PortCaps::server2003Supported, "IDS_NOTSUPPORT2003"},
      {OsGeneration::kNt4, &PortCaps::ntSupported, "IDS_NOTSUPPORTNT"},
      {OsGeneration::kVista, &PortCaps::vistaSupported, "IDS_NOTSUPPORTVISTA"},
      {OsGeneration::kServer2008, &PortCaps::server2008Supported, "IDS_NOTSUPPORT2008"},
      {OsGeneration::kWin7, &PortCaps::win7Supported, "IDS_NOTSUPPORTWin7"},
  };
  for (const OsCheck& check : kOsChecks) {
    if (job.os == check.os && caps.*check.supported == 0) {
      Stop(&result, Message(check.message));
      return result;
    }
  }

  // 5. Port kind; a USB port first goes through the USB decision.
  PortKind kind = PortKindOf(job.portName);
  if (kind == PortKind::kUsb) {
    std::string message;
    UsbInstallStep::Outcome outcome = usb_.Decide(job, &message);
    if (outcome == UsbInstallStep::Outcome::kHandedOver) {
      result.outcome = PrepareResult::Outcome::kHandedOver;
      result.message = message;
      return result;
    }
    if (outcome == UsbInstallStep::Outcome::kStop) {
      Stop(&result, message);
      return result;
    }
  } else if (kind == PortKind::kUnknown) {
    Stop(&result, Message("IDS_ERR_NOSUPPORTINTERFACE"));
    return result;
  }
  job.portKind = kind;

  // 6. The model's files and records.
  FileSet set = ChooseFileSet(job.raster, switches_.gdiStdSign, kind);
  job.driver = config_.ReadModelDriver(job.type, job.model, job.os, set, kind);
  job.driver.printer.portName = job.portName;

  // 7. The driver log configuration goes in now; a failure ends the run at the worker's first check.
  if (!job.driver.files.driverlogIni.empty()) {
    CopyResult copied =
        CopyPackageFile(job, job.driver.files.driverlogIni, Destination::kUtilityFolder, false);
    if (copied == CopyResult::kLocked && job.resultText.empty()) {
      job.resultText = Message("IDS_ERR_COPYFIEL") + job.driver.files.driverlogIni + std::string(kCrLf) +
                       ErrorText(err::kSharingViolation) + Message("IDS_ERR_COPYFIEL1");
    }
  }

  // 8. Network port; the port section of DriverUtility.ini.
  UtilityPortSettings utilitySettings;
  utilitySettings.kind = kind;
  utilitySettings.portName = job.portName;
  utilitySettings.serial = job.serial;
  if (kind == PortKind::kNetwork) {
    if (job.ipAddress == std::array<uint8_t, 4>{0, 0, 0, 0}) {
      Stop(&result, Message("IDS_ERR_IPADDRISNULL"));
      return result;
    }
    std::string portName = NetworkPortName(job.ipAddress);
    if (uint32_t e = CreateNetworkPort(s_.spooler, portName, DottedAddress(job.ipAddress))) {
      ui_.ShowMessage(ErrorText(e), "ERROR");
      Stop(&result, Message("IDS_ERR_ADDPORTERROR"));
      return result;
    }
    job.portName = portName;
    job.driver.printer.portName = portName;
    utilitySettings.ipAddress = DottedAddress(job.ipAddress);
  }
  WriteDriverUtilityIni(profile, job.utilityIniPath, config_.is64BitWindows(), utilitySettings);

  // 9. The USB language monitor.
  MonitorSet monitors = config_.ReadMonitors(job.os);
  if (kind == PortKind::kUsb && monitors.language.used) {
    job.driver.driver.monitorName = monitors.language.name;
    job.driver.files.languageMonitorDll = monitors.language.dll;
  } else {
    job.driver.driver.monitorName.clear();
    job.driver.files.languageMonitorDll.clear();
  }

  // 10. Printer name suffix; USB ports are checked and recorded.
  std::string& printerName = job.driver.printer.printerName;
  if (kind == PortKind::kUsb) {
    std::string message;
    if (usb_.CheckPrinterId(job, &message) != UsbInstallStep::Outcome::kContinue) {
      Stop(&result, message);
      return result;
    }
    job.driver.printer.portName = job.portName;
    for (int n = 1; n <= 4; ++n) {
      if (Contains(job.portName, "USB" + std::to_string(n))) printerName += "(U) " + std::to_string(n);
    }
    RecordUsbPort(s_.platform.registry, config_, job.portName);
  } else {
    printerName += kind == PortKind::kSerial ? "(S)" : kind == PortKind::kParallel ? "(P)" : "(E)";
  }

  // 11.
  if (job.os == OsGeneration::kNt4 && kind == PortKind::kUsb) {
    Stop(&result, Message("IDS_ERR_NOSUPPORTUSB"));
    return result;
  }
  return result;
}

// ---------------------------------------------------------------------------------------------------------------
// Worker

void InstallEngine::RunWorker(InstallJob& job) {
  job.resultState = kStateRunning;
  int code = static_cast<int>(job.os);
  MonitorSet monitors = config_.ReadMonitors(job.os);

  // What the preparation left in the result text (the driver log configuration copy) ends the run here.
  if (!job.resultText.empty()) return Fail(job);
  if (!InstallPortMonitors(job, monitors)) return Fail(job);
  if (!InstallPrintProcessor(job)) return Fail(job);
  if (job.updateFlags != 0 && !UpdateComponents(job, monitors)) return Fail(job);
  if (!job.resultText.empty()) return Fail(job);
  if (job.portKind == PortKind::kUsb && !EnumeratePorts(job)) return Fail(job);
  if (!CopyDriverFiles(job)) return Fail(job);

  if (job.os == OsGeneration::kXp && !config_.is64BitWindows()) {
    if (!CopyRequired(job, "srclient.dll", Destination::kSystemFolderIfMissing) ||
        !CopyRequired(job, "framedyn.dll", Destination::kSystemOrWbemIfMissing) ||
        !CopyRequired(job, "newdev.dll", Destination::kSystemFolderIfMissing)) {
      return Fail(job);
    }
  }

  CopyUniversalDriverFiles(job);

  if (job.os == OsGeneration::kWin98 &&
      (Contains(job.model, "KLP-W330") || Contains(job.model, "KLP-T410"))) {
    if (!CopyRequired(job, "DMCOLOR.DLL", Destination::kDriverDirectory)) return Fail(job);
  }
  if (job.driver.universalDriver && job.driver.files.dataResourceDll.empty()) {
    job.resultText = Message("IDS_ERR_LOSTDRIVERFILE");
    return Fail(job);
  }
  if (job.portKind == PortKind::kUsb && code != 1 && !job.driver.files.languageMonitorDll.empty()) {
    if (!InstallLanguageMonitor(job, monitors)) return Fail(job);
  }

  // 11. The printer driver.
  const DriverRecord& record = job.driver.driver;
  platform::DriverInfo3 info;
  info.version = record.version;
  info.name = record.name;
  info.environment = record.environment;
  info.driverPath = record.driverPath;
  info.dataFile = record.dataFile;
  info.configFile = record.configFile;
  info.helpFile = record.helpFile;
  info.dependentFiles = record.dependentFiles;
  info.monitorName = record.monitorName;
  if (uint32_t e = s_.spooler.AddPrinterDriver(info)) {
    job.resultText = Message("IDS_ERR_ADDPRNDRV3") + std::string(kCrLf) + ErrorText(e);
    return Fail(job);
  }

  // 12.
  if (job.portKind == PortKind::kUsb) {
    SetDword("SOFTWARE\\ZNT\\PRINTERPORT", job.portName, 0, true);
  }

  // 13 - 16.
  if (!AddPrinter(job)) return Fail(job);
  if (job.setDefault) MakeDefault(job);
  if (Named(job.driver.files.driverlogIni) &&
      (job.os == OsGeneration::kXp || job.os == OsGeneration::kServer2003)) {
    SetSpoolDirectory(job);
  }
  if (job.portKind == PortKind::kSerial) {
    WriteSerialSettings(s_.platform.registry, s_.platform.profile, s_.spooler, job.os, job.portName,
                        job.serial);
  }

  // 17.
  if (code >= 1) {
    job.resultText = Message(job.portKind == PortKind::kUsb ? "IDS_INF_USBRESTART" : "IDS_INF_NTRESTART");
  }
  job.resultState = kStateSucceeded;
}

void InstallEngine::Finish(InstallJob& job) {
  ui_.ShowMessage(job.resultText.empty() ? Message("IDS_INF_NTRESTART") : job.resultText, "");
  if (job.os == OsGeneration::kWin98 && ui_.AskYesNo(Message("IDS_INF_RESTART"))) {
    if (!ui_.RestartWindows()) job.resultText = Message("IDS_ERR_EXITWIN");
  }
  std::string program = config_.packageFolder() + "\\Utility\\" + switches_.shellExeName + ".exe";
  s_.platform.shell.Execute("open", program, "/VERYSILENT", "", platform::kShowNormal);
}

// ---------------------------------------------------------------------------------------------------------------
// Copying

bool InstallEngine::DestinationFolder(InstallJob& job, Destination destination, std::string* folder) {
  auto fail = [&](std::string_view key) {
    job.resultText = Message(key);
    return false;
  };
  switch (destination) {
    case Destination::kDriverDirectory:
    case Destination::kDriverVersionFolder: {
      std::string dir;
      if (s_.spooler.GetPrinterDriverDirectory("", &dir) != 0 || dir.empty())
        return fail("IDS_ERR_GETDRIVERDIR");
      if (destination == Destination::kDriverVersionFolder) {
        dir += "\\3";
        uint32_t attributes = 0;
        if (s_.platform.files.GetAttributes(dir, &attributes) != 0) s_.platform.files.CreateFolder(dir);
      }
      *folder = dir;
      return true;
    }
    case Destination::kProcessorDirectory: {
      std::string dir;
      if (s_.spooler.GetPrintProcessorDirectory("", &dir) != 0 || dir.empty())
        return fail("IDS_ERR_GETPRODIR");
      *folder = dir;
      return true;
    }
    case Destination::kSystemFolder:
    case Destination::kSystemFolderIfMissing:
    case Destination::kSystemOrWbemIfMissing: {
      std::string dir = s_.platform.system.SystemDirectory();
      if (dir.empty()) return fail("IDS_ERR_GETSYSDIR");
      *folder = dir;
      return true;
    }
    case Destination::kDriverlogFolder:
    case Destination::kUtilityFolder: {
      if (s_.platform.system.WindowsDirectory().empty()) return fail("IDS_ERR_GETWINDIR");
      std::string znt = ZntFolder();
      std::string dir = znt + (destination == Destination::kDriverlogFolder ? "\\ZNTDriverlog" : "\\Utility");
      uint32_t attributes = 0;
      if (s_.platform.files.GetAttributes(dir, &attributes) != 0) {
        s_.platform.files.CreateFolder(znt);
        s_.platform.files.CreateFolder(dir);
      }
      *folder = dir;
      return true;
    }
  }
  return fail("IDS_ERR_DIRTYPE");
}

CopyResult InstallEngine::CopyPackageFile(InstallJob& job, std::string_view name, Destination destination,
                                          bool renameMode) {
  std::string upper = Upper(name);
  if (IsUniversalDriverFile(upper)) {
    bool handled = false;
    CopyResult result = CopyUniversalFile(job, upper, &handled);
    if (handled) return result;
  }
  if (common::NamesNoFile(upper)) return CopyResult::kCopied;
  std::string folder;
  if (!DestinationFolder(job, destination, &folder)) return CopyResult::kFailed;

  bool system = destination == Destination::kSystemFolder ||
                destination == Destination::kSystemFolderIfMissing ||
                destination == Destination::kSystemOrWbemIfMissing;
  platform::RedirectionOff redirection(s_.redirection, system && RedirectSystemFolder());
  uint32_t attributes = 0;
  if (destination == Destination::kSystemFolderIfMissing &&
      s_.platform.files.GetAttributes(text::JoinPath(folder, upper), &attributes) == 0) {
    return CopyResult::kCopied;
  }
  if (destination == Destination::kSystemOrWbemIfMissing) {
    int code = static_cast<int>(job.os);
    if (code >= 5 && s_.platform.files.GetAttributes(text::JoinPath(folder, upper), &attributes) == 0) {
      return CopyResult::kCopied;
    }
    folder += "\\wbem";
    if (s_.platform.files.GetAttributes(text::JoinPath(folder, upper), &attributes) == 0)
      return CopyResult::kCopied;
  }
  return CopyFromPackage(job, upper, folder, renameMode);
}

CopyResult InstallEngine::CopyFromPackage(InstallJob& job, const std::string& name, const std::string& folder,
                                          bool renameMode) {
  std::string source = config_.packageFolder() + (config_.is64BitWindows() ? "\\W64\\" : "\\W32\\") + name;
  std::string target = text::JoinPath(folder, renameMode ? "n" + name : name);
  s_.platform.files.SetAttributes(target, platform::kFileAttributeArchive);
  uint32_t e = s_.platform.files.Copy(source, target, false);
  if (e == 0) return CopyResult::kCopied;
  if (e == err::kSharingViolation || e == err::kAccessDenied) return CopyResult::kLocked;
  job.resultText =
      Message("IDS_ERR_COPYFIEL") + name + std::string(kCrLf) + ErrorText(e) + Message("IDS_ERR_COPYFIEL1");
  return CopyResult::kFailed;
}

CopyResult InstallEngine::CopyUniversalFile(InstallJob& job, const std::string& name, bool* handled) {
  int code = static_cast<int>(job.os);
  platform::FileSystem& files = s_.platform.files;
  std::string windows = s_.platform.system.WindowsDirectory();
  std::string driverDir;
  if (code >= 2 && code <= 7 && !DestinationFolder(job, Destination::kDriverDirectory, &driverDir)) {
    *handled = true;
    return CopyResult::kFailed;
  }
  platform::RedirectionOff redirection(s_.redirection, RedirectSystemFolder());
  if (code >= 2 && code <= 4) {
    std::string temp = s_.platform.system.TempPath();
    if (!universalFilesExtracted_) {
      universalFilesExtracted_ = true;
      std::string cacheFolder =
          windows + (config_.is64BitWindows() ? "\\Driver Cache\\AMD64\\" : "\\Driver Cache\\i386\\");
      std::vector<platform::FileFindData> cabs;
      if (files.FindFiles(cacheFolder + "*.cab", &cabs) != 0) universalExtractionFailed_ = true;
      static constexpr std::string_view kWanted[] = {"unidrvui.dll", "unidrv.dll",   "unires.dll",
                                                     "unidrv.hlp",   "stdnames.gpd", "ttfsub.gpd"};
      for (const platform::FileFindData& cab : cabs) {
        uint32_t e = s_.cabinet.Extract(cacheFolder + cab.name, temp, [](std::string_view member) {
          return std::find(std::begin(kWanted), std::end(kWanted), member) != std::end(kWanted);
        });
        if (e != 0) universalExtractionFailed_ = true;
      }
    }
    if (!universalExtractionFailed_ && files.Copy(temp + name, text::JoinPath(driverDir, name), false) == 0) {
      *handled = true;
      return CopyResult::kCopied;
    }
    return CopyResult::kCopied;  // not handled: the package's copy follows
  }
  if (code >= 5 && code <= 7) {
    *handled = true;
    std::vector<platform::FileFindData> found;
    std::string pattern = windows + "\\System32\\DriverStore\\FileRepository\\ntprint*";
    uint32_t e = files.FindFiles(pattern, &found);
    const platform::FileFindData* folder = nullptr;
    for (const platform::FileFindData& entry : found) {
      if ((entry.attributes & platform::kFileAttributeDirectory) != 0) {
        folder = &entry;
        break;
      }
    }
    if (folder == nullptr) {
      job.resultText = "Couldn't find system files." + ErrorText(e != 0 ? e : err::kFileNotFound);
      return CopyResult::kFailed;
    }
    std::string source = windows + "\\System32\\DriverStore\\FileRepository\\" + folder->name +
                         (config_.is64BitWindows() ? "\\AMD64\\" : "\\I386\\") + name;
    if (uint32_t copyError = files.Copy(source, text::JoinPath(driverDir, name), false)) {
      job.resultText = Message("IDS_ERR_COPYFIEL") + name + std::string(kCrLf) + ErrorText(copyError) +
                       Message("IDS_ERR_COPYFIEL1");
      return CopyResult::kFailed;
    }
    return CopyResult::kCopied;
  }
  return CopyResult::kCopied;  // other systems: the package's copy
}

bool InstallEngine::CopyRequired(InstallJob& job, std::string_view name, Destination destination) {
  CopyResult result = CopyPackageFile(job, name, destination, false);
  if (result == CopyResult::kLocked) {
    // Without a rename a locked file is a failure like any other, and it says so.
    job.resultText = Message("IDS_ERR_COPYFIEL") + Upper(name) + std::string(kCrLf) +
                     ErrorText(err::kSharingViolation) + Message("IDS_ERR_COPYFIEL1");
  }
  return result == CopyResult::kCopied;
}

bool InstallEngine::CopyAllowingRename(InstallJob& job, std::string_view dll, Destination destination,
                                       std::string* used) {
  *used = std::string(dll);
  CopyResult result = CopyPackageFile(job, dll, destination, false);
  if (result == CopyResult::kLocked) {
    *used = "n" + std::string(dll);
    result = CopyPackageFile(job, dll, destination, true);
    if (result == CopyResult::kLocked) {
      job.resultText = Message("IDS_ERR_COPYFIEL") + Upper(*used) + std::string(kCrLf) +
                       ErrorText(err::kSharingViolation) + Message("IDS_ERR_COPYFIEL1");
      return false;
    }
  }
  return result == CopyResult::kCopied;
}

// ---------------------------------------------------------------------------------------------------------------
// Monitors and processor

bool InstallEngine::InstallPortMonitors(InstallJob& job, const MonitorSet& monitors) {
  int code = static_cast<int>(job.os);
  if (job.portKind == PortKind::kSerial && !config_.is64BitWindows() && code >= 1 &&
      !monitors.serial.dll.empty()) {
    return InstallMonitor(job, monitors.serial.name, monitors.serial.dll, monitors.serial.uiDll,
                          monitors.serial.version, kUpdateSerialMonitor);
  }
  if (job.portKind == PortKind::kUsb && code != 1 && !monitors.usb.dll.empty()) {
    return InstallMonitor(job, monitors.usb.name, monitors.usb.dll, monitors.usb.uiDll, monitors.usb.version,
                          kUpdateUsbMonitor);
  }
  return true;
}

bool InstallEngine::InstallMonitor(InstallJob& job, const std::string& name, const std::string& dll,
                                   const std::string& uiDll, int version, uint32_t updateBit) {
  std::string key = std::string(kMonitorsKey) + name;
  if (KeyExists(key)) {
    uint32_t installed = 0;
    if (QueryDword(key, "DriverVersion", &installed) != 0 || installed < static_cast<uint32_t>(version)) {
      job.updateFlags |= updateBit;
    }
    return true;
  }
  std::string used;
  if (!CopyAllowingRename(job, dll, Destination::kSystemFolder, &used)) return false;
  if (!uiDll.empty() && !CopyRequired(job, uiDll, Destination::kSystemFolder)) return false;
  platform::MonitorInfo2 info{name, job.os == OsGeneration::kWin98 ? "Windows 4.0" : "", used};
  uint32_t e = s_.spooler.AddMonitor(info);
  if (e != 0 && e != err::kPrintMonitorAlreadyInstalled && e != err::kAlreadyExists) {
    job.resultText = Message("IDS_ERR_ADDMONITOR") + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  SetDword(key, "DriverVersion", static_cast<uint32_t>(version), true);
  return true;
}

std::string InstallEngine::ProcessorKey(std::string_view name) const {
  std::string environment = config_.is64BitWindows() ? "Windows x64" : "Windows NT x86";
  return std::string(kEnvironmentsKey) + environment + "\\Print Processors\\" + std::string(name);
}

bool InstallEngine::InstallPrintProcessor(InstallJob& job) {
  const std::string& name = job.driver.printer.printProcessor;
  if (name == "WinPrint") return true;  // the system's own; the comparison is case-sensitive on purpose
  bool win98 = job.os == OsGeneration::kWin98;
  std::string key =
      win98 ? std::string(kEnvironmentsKey) + "Windows 4.0\\Print Processors\\" + name : ProcessorKey(name);
  if (KeyExists(key)) {
    uint32_t installed = 0;
    if (QueryDword(key, "DriverVersion", &installed) != 0 ||
        installed < static_cast<uint32_t>(switches_.processorVersion)) {
      job.updateFlags |= kUpdateProcessor;
    }
    return true;
  }
  const std::string& dll = job.driver.files.processorDll;
  if (!dll.empty() && !CopyRequired(job, dll, Destination::kProcessorDirectory)) return false;
  if (s_.spooler.AddPrintProcessor(win98 ? "Windows 4.0" : "", dll, name) != 0) {
    job.resultText = Message("IDS_ERR_ADDPROCESSOR");
    return false;
  }
  SetDword(key, "DriverVersion", static_cast<uint32_t>(switches_.processorVersion), true);
  s_.platform.clock.Sleep(200);
  return true;
}

bool InstallEngine::UpdateMonitorDll(InstallJob& job, const MonitorConfig& monitor) {
  std::string key = std::string(kMonitorsKey) + monitor.name;
  CopyResult result = CopyPackageFile(job, monitor.dll, Destination::kSystemFolder, false);
  if (result == CopyResult::kLocked) {
    result = CopyPackageFile(job, monitor.dll, Destination::kSystemFolder, true);
    if (result == CopyResult::kLocked) {
      job.resultText = Message("IDS_ERR_COPYFIEL") + "N" + Upper(monitor.dll) + std::string(kCrLf) +
                       ErrorText(err::kSharingViolation) + Message("IDS_ERR_COPYFIEL1");
      return false;
    }
    if (result == CopyResult::kCopied) SetString(key, "Driver", "n" + monitor.dll);
  }
  if (result != CopyResult::kCopied) return false;
  SetDword(key, "DriverVersion", static_cast<uint32_t>(monitor.version), true);
  if (!monitor.uiDll.empty() && !CopyRequired(job, monitor.uiDll, Destination::kSystemFolder)) return false;
  return true;
}

bool InstallEngine::UpdateComponents(InstallJob& job, const MonitorSet& monitors) {
  if (job.os == OsGeneration::kWin98) return UpdateComponentsWin98(job, monitors);
  int code = static_cast<int>(job.os);
  StopSpooler();
  s_.platform.clock.Sleep(500);
  bool updated = true;
  if ((job.updateFlags & kUpdateSerialMonitor) != 0) {
    updated = UpdateMonitorDll(job, monitors.serial);
  } else if ((job.updateFlags & kUpdateUsbMonitor) != 0) {
    updated = UpdateMonitorDll(job, monitors.usb);
  } else if ((job.updateFlags & kUpdateProcessor) != 0) {
    const std::string& dll = job.driver.files.processorDll;
    std::string folder;
    CopyResult result = CopyPackageFile(job, dll, Destination::kProcessorDirectory, false);
    if (result != CopyResult::kCopied) {
      std::string source = config_.packageFolder() + (config_.is64BitWindows() ? "\\W64\\" : "\\W32\\") + dll;
      job.resultText = Message("IDS_ERR_COPYFIEL") + source;
      updated = false;
    } else {
      SetDword(ProcessorKey(job.driver.printer.printProcessor), "DriverVersion",
               static_cast<uint32_t>(switches_.processorVersion), true);
    }
  }
  // The spooler comes back whatever the update's outcome, so that the system is not left without printing.
  StartSpooler(job);
  if (code == 1 || code == 2) s_.platform.clock.Sleep(1000);
  if (code == 3 || code == 4) s_.platform.clock.Sleep(2500);
  uint32_t state = WaitUntilRunning(job);
  if (!updated) return false;
  if (state == platform::kServiceStopped || state == platform::kServiceStopPending) {
    StartSpooler(job);
    s_.platform.clock.Sleep(2500);
    return true;  // the "StartSpoolService error" text ends the run at the next check
  }
  return state == platform::kServiceRunning;
}

bool InstallEngine::UpdateComponentsWin98(InstallJob& job, const MonitorSet& monitors) {
  bool usbMonitor = (job.updateFlags & kUpdateUsbMonitor) != 0;
  if (!usbMonitor && (job.updateFlags & kUpdateProcessor) == 0) return true;
  std::string dll = usbMonitor ? monitors.usb.dll : job.driver.files.processorDll;
  Destination destination = usbMonitor ? Destination::kSystemFolder : Destination::kProcessorDirectory;
  std::string key = usbMonitor ? std::string(kMonitorsKey) + monitors.usb.name
                               : std::string(kEnvironmentsKey) + "Windows 4.0\\Print Processors\\" +
                                     job.driver.printer.printProcessor;
  std::string used = dll;
  CopyResult result = CopyPackageFile(job, dll, destination, false);
  if (result == CopyResult::kLocked) {
    used = "n" + dll;
    result = CopyPackageFile(job, dll, destination, true);
    if (result == CopyResult::kLocked) {
      job.resultText = Message("IDS_ERR_NEEDRESTART");
      return false;
    }
  }
  if (result != CopyResult::kCopied) return false;
  SetString(key, "Driver", used);
  SetDword(key, "DriverVersion",
           static_cast<uint32_t>(usbMonitor ? monitors.usb.version : switches_.processorVersion), true);
  return true;
}

bool InstallEngine::InstallLanguageMonitor(InstallJob& job, const MonitorSet& monitors) {
  const LanguageMonitorConfig& language = monitors.language;
  std::string key = std::string(kMonitorsKey) + language.name;
  if (!KeyExists(key)) {
    return InstallMonitor(job, language.name, language.dll, "", language.version, 0);
  }
  uint32_t installed = 0;
  if (QueryDword(key, "DriverVersion", &installed) == 0 &&
      installed >= static_cast<uint32_t>(language.version)) {
    return true;
  }
  std::string used;
  if (!CopyAllowingRename(job, language.dll, Destination::kSystemFolder, &used)) return false;
  SetString(key, "Driver", used);
  SetDword(key, "DriverVersion", static_cast<uint32_t>(language.version), true);
  return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Driver files, ports, printer

bool InstallEngine::EnumeratePorts(InstallJob& job) {
  uint32_t needed = 0;
  std::vector<std::string> ports;
  uint32_t e = s_.spooler.EnumPorts(100, &needed, &ports);
  if (e == err::kInsufficientBuffer) {
    uint32_t size = needed < 300 ? 1000 : needed;
    e = s_.spooler.EnumPorts(size, &needed, &ports);
  }
  if (e != 0) {
    job.resultText = Message("IDS_ERR_ALLOCMEMORY") + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  return true;
}

bool InstallEngine::CopyDriverFiles(InstallJob& job) {
  const InstallFiles& f = job.driver.files;
  if (f.configDll.empty() || f.dataFile.empty() || f.driverDll.empty() || f.helpFile.empty()) {
    job.resultText = Message("IDS_ERR_LOSTDRIVERFILE");
    return false;
  }
  struct Item {
    const std::string* name;
    Destination destination;
  };
  std::vector<Item> items = {
      {&f.configDll, Destination::kDriverDirectory},
      {&f.dataFile, Destination::kDriverDirectory},
      {&f.driverDll, Destination::kDriverDirectory},
      {&f.helpFile, Destination::kDriverDirectory},
      {&f.dataResourceDll, Destination::kDriverDirectory},
      {&f.uiPluginDll, Destination::kDriverDirectory},
      {&f.renderPluginDll, Destination::kDriverDirectory},
      {&f.pluginIni, Destination::kDriverDirectory},
      {&f.controlFontFile, Destination::kDriverVersionFolder},
      {&f.usbInternalId, Destination::kDriverVersionFolder},
  };
  for (const std::string& resource : f.languageResources)
    items.push_back({&resource, Destination::kDriverVersionFolder});
  items.push_back({&f.driverlogViewer, Destination::kDriverlogFolder});
  for (const Item& item : items) {
    if (item.name->empty()) continue;
    if (!CopyRequired(job, *item.name, item.destination)) return false;
  }
  return true;
}

void InstallEngine::CopyUniversalDriverFiles(InstallJob& job) {
  // Failures here leave the installation going: the driver can still be added when the system has the files.
  std::string kept = job.resultText;
  int code = static_cast<int>(job.os);
  if (code == 0) {
    CopyPackageFile(job, "ICONLIB.DLL", Destination::kDriverDirectory, false);
    std::string system = s_.platform.system.SystemDirectory();
    uint32_t attributes = 0;
    if (s_.platform.files.GetAttributes(system + "\\UNIDRV.DLL", &attributes) != 0) {
      std::string backup = s_.platform.system.WindowsDirectory() + "\\Sysbckup\\UNIDRV.DLL";
      if (s_.platform.files.Copy(backup, system + "\\UNIDRV.DLL", true) != 0) {
        CopyFromPackage(
            job, "UNIDRV.DLL",
            [&] {
              std::string dir;
              s_.spooler.GetPrinterDriverDirectory("", &dir);
              return dir;
            }(),
            false);
      }
    }
  } else if (code >= 2 && job.driver.universalDriver) {
    for (std::string_view name : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"}) {
      CopyPackageFile(job, name, Destination::kDriverDirectory, false);
    }
  }
  job.resultText = kept;
}

bool InstallEngine::AddPrinter(InstallJob& job) {
  platform::PrinterInfo2 info;
  const PrinterRecord& record = job.driver.printer;
  info.printerName = record.printerName;
  info.portName = record.portName;
  info.driverName = record.driverName;
  info.printProcessor = record.printProcessor;
  info.attributes = record.attributes;
  uint32_t e = s_.spooler.AddPrinter(info);
  if (e == err::kPrinterAlreadyExists && job.portKind != PortKind::kUsb) {
    for (int n = 1; n <= 98 && e == err::kPrinterAlreadyExists; ++n) {
      info.printerName = record.printerName + "(" + std::to_string(n) + ")";
      e = s_.spooler.AddPrinter(info);
    }
  }
  if (e == err::kPrinterAlreadyExists) {
    job.resultText = Message("IDS_ERR_TOOMANY");
    return false;
  }
  if (e != 0) {
    job.resultText = Message("IDS_ERR_ADDPRINTER") + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  job.driver.printer.printerName = info.printerName;
  return true;
}

void InstallEngine::MakeDefault(InstallJob& job) {
  const PrinterRecord& printer = job.driver.printer;
  if (job.os == OsGeneration::kWin98) {
    platform::PrinterHandle handle = 0;
    if (s_.spooler.OpenPrinter(printer.printerName, platform::kPrinterAllAccess, &handle) == 0) {
      platform::PrinterInfo2 info;
      if (s_.spooler.GetPrinter(handle, &info) == 0) {
        info.attributes |= platform::kPrinterAttributeDefault;
        s_.spooler.SetPrinter(handle, info);
      }
      s_.spooler.ClosePrinter(handle);
    }
  } else if (job.os == OsGeneration::kNt4) {
    s_.platform.profile.WriteString("win.ini", "windows", "device",
                                    printer.printerName + "," + printer.driverName + "," + printer.portName);
  } else {
    s_.spooler.SetDefaultPrinter(printer.printerName);
  }
  s_.spooler.BroadcastSettingChange("windows", 1000);
}

void InstallEngine::SetSpoolDirectory(InstallJob& job) {
  std::string windows = s_.platform.system.WindowsDirectory();
  std::string drive = windows.substr(0, std::min<size_t>(3, windows.size()));
  SetString(std::string(kPrintersKey) + job.driver.printer.printerName, "SpoolDirectory",
            drive + "windows\\system32\\spool\\printers");
  RestartSpooler(job);
}

// ---------------------------------------------------------------------------------------------------------------
// The spooler service

void InstallEngine::StopSpooler() {
  s_.services.Stop(kSpooler);  // not running is fine; other failures show in the start that follows
  s_.platform.clock.Sleep(100);
}

void InstallEngine::StartSpooler(InstallJob& job) {
  uint32_t e = s_.services.Start(kSpooler);
  if (e != 0 && e != err::kServiceAlreadyRunning) {
    job.resultText = "Start spool service error, error code = " + std::to_string(e);
  }
}

uint32_t InstallEngine::WaitUntilRunning(InstallJob& job) {
  uint32_t state = 0;
  for (int i = 0; i < 10; ++i) {
    if (s_.services.QueryState(kSpooler, &state) == 0 && state == platform::kServiceRunning) return state;
    s_.platform.clock.Sleep(300);
  }
  job.resultText = "StartSpoolService error";
  return state;
}

void InstallEngine::RestartSpooler(InstallJob& job) {
  StopSpooler();
  s_.platform.clock.Sleep(300);
  StartSpooler(job);
}

// ---------------------------------------------------------------------------------------------------------------
// Registry

bool InstallEngine::KeyExists(std::string_view keyPath) {
  platform::RegKey key = 0;
  if (s_.platform.registry.OpenKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key) != 0) return false;
  s_.platform.registry.CloseKey(key);
  return true;
}

uint32_t InstallEngine::QueryDword(std::string_view keyPath, std::string_view name, uint32_t* value) {
  platform::RegKey key = 0;
  if (uint32_t e = s_.platform.registry.OpenKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key)) return e;
  uint8_t data[4] = {};
  uint32_t size = sizeof data;
  uint32_t type = 0;
  uint32_t e = s_.platform.registry.QueryValue(key, name, &type, data, &size);
  s_.platform.registry.CloseKey(key);
  if (e != 0) return e;
  if (type != platform::kRegDword || size != 4) return err::kFileNotFound;
  *value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
  return 0;
}

bool InstallEngine::SetDword(std::string_view keyPath, std::string_view name, uint32_t value, bool create) {
  platform::RegKey key = 0;
  uint32_t e =
      create ? s_.platform.registry.CreateKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key, nullptr)
             : s_.platform.registry.OpenKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key);
  if (e != 0) return false;
  uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  e = s_.platform.registry.SetValue(key, name, platform::kRegDword, data, 4);
  s_.platform.registry.CloseKey(key);
  return e == 0;
}

bool InstallEngine::SetString(std::string_view keyPath, std::string_view name, std::string_view value) {
  platform::RegKey key = 0;
  if (s_.platform.registry.CreateKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key, nullptr) != 0)
    return false;
  uint32_t e = platform::WriteRegString(s_.platform.registry, key, name, value);
  s_.platform.registry.CloseKey(key);
  return e == 0;
}

}  // namespace mq::installer
