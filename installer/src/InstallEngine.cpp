// The installation engine: preparation, worker and the steps after it.
#include "installer/InstallEngine.h"

#include <algorithm>
#include <cctype>

#include "installer/InstallerMessages.h"
#include "installer/Ports.h"
#include "installer/UniversalDriver.h"
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
// The text of a failure that left no text of its own.
constexpr std::string_view kNotInstalled = "The printer was not installed.";

std::string Upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// True for a name that stands for a file: not empty, and not one the copy skips on purpose (the "0" default
// and anything else starting with '0').
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
    case err::kNotEnoughMemory:
      return "Not enough memory resources are available to process this command.";
    case err::kAlreadyExists:
      return "Cannot create a file when that file already exists.";
    case err::kInsufficientBuffer:
      return "The data area passed to a system call is too small.";
    case err::kUnknownPort:
      return "The specified port is unknown.";
    case err::kUnknownPrinterDriver:
      return "The printer driver is unknown.";
    case err::kUnknownPrintProcessor:
      return "The print processor is unknown.";
    case err::kServiceDisabled:
      return "The service cannot be started, either because it is disabled or because it has no enabled "
             "devices associated with it.";
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
    : services_(std::move(services)), config_(config), texts_(texts), ui_(ui), usb_(usb) {
  switches_ = config_.ReadSwitches();
}

std::string InstallEngine::Message(std::string_view key) const {
  return InstallerMessage(texts_, key);
}

std::string InstallEngine::ErrorText(uint32_t error) const {
  return services_.errorText ? services_.errorText(error) : ErrorTextFallback(error);
}

uint32_t InstallEngine::RegistryAccess() const {
  return config_.is64BitWindows() ? (platform::kKeyRead | platform::kKeyWrite) : platform::kKeyAllAccess;
}

bool InstallEngine::RedirectSystemFolder() const {
  // Only a 32-bit program on 64-bit Windows is redirected.
  return config_.is64BitWindows() && System().IsWow64Process();
}

std::string InstallEngine::ZntFolder() const {
  std::string windows = System().WindowsDirectory();
  return windows.substr(0, std::min<size_t>(3, windows.size())) + "Program Files\\ZNT";
}

bool InstallEngine::Stop(InstallJob& job, PrepareResult* result, std::string message) {
  // The USB step stops without a text of its own after the user said No, or after its library showed one.
  if (!message.empty()) ui_.ShowMessage(message, "");
  job.resultState = kStateFailed;
  result->outcome = PrepareResult::Outcome::kStopped;
  result->message = std::move(message);
  return false;
}

// ---------------------------------------------------------------------------------------------------------------
// Preparation

PrepareResult InstallEngine::Prepare(InstallJob& job) {
  PrepareResult result;
  CreateUtilityFolder(job);
  if (!CheckModelAndSystem(job, &result) || !DecidePortKind(job, &result)) return result;
  ReadModelDriver(job);
  if (!CheckRequiredValues(job, &result)) return result;
  CopyDriverlogConfiguration(job);
  if (!SetUpPort(job, &result)) return result;
  ChooseLanguageMonitor(job);
  if (!NamePrinterAfterPort(job, &result)) return result;
  if (job.os == OsGeneration::kNt4 && job.portKind == PortKind::kUsb) {
    Stop(job, &result, Message("IDS_ERR_NOSUPPORTUSB"));
  }
  return result;
}

// The utility folder and the path of its DriverUtility.ini.
void InstallEngine::CreateUtilityFolder(InstallJob& job) {
  std::string znt = ZntFolder();
  std::string utility = znt + "\\Utility";
  Files().CreateFolder(znt);
  Files().CreateFolder(utility);
  job.utilityIniPath = utility + "\\DriverUtility.ini";
}

// A model must be chosen, its model file must describe it, and its port section must not rule out the chosen
// Windows. A missing file or section would read as all zeros, that is as a model for no system at all.
bool InstallEngine::CheckModelAndSystem(InstallJob& job, PrepareResult* result) {
  if (job.model.empty()) return Stop(job, result, Message("IDS_ERR_SELPRINTER"));
  std::string modelFile = config_.ModelFile(job.type);
  uint32_t attributes = 0;
  if (Files().GetAttributes(modelFile, &attributes) != 0) {
    return Stop(job, result, "The model file " + modelFile + " is missing from the package.");
  }
  std::string portSection = SetupConfig::PortSection(job.model);
  std::vector<std::string> sections = services_.platform.profile.GetSectionNames(modelFile);
  if (std::none_of(sections.begin(), sections.end(),
                   [&](const std::string& name) { return text::EqualsNoCase(name, portSection); })) {
    return Stop(job, result, "The model file " + modelFile + " has no section [" + portSection + "].");
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
    if (job.os == check.os && caps.*check.supported == 0) return Stop(job, result, Message(check.message));
  }
  return true;
}

// The port kind from the port name; a USB port first goes through the USB decision, which may hand the
// installation over to the USB driver package.
bool InstallEngine::DecidePortKind(InstallJob& job, PrepareResult* result) {
  PortKind kind = PortKindOf(job.portName);
  if (kind == PortKind::kUsb) {
    std::string message;
    UsbInstallStep::Outcome outcome = usb_.Decide(job, &message);
    if (outcome == UsbInstallStep::Outcome::kHandedOver) {
      result->outcome = PrepareResult::Outcome::kHandedOver;
      result->message = message;
      return false;
    }
    if (outcome == UsbInstallStep::Outcome::kStop) return Stop(job, result, message);
  } else if (kind == PortKind::kUnknown) {
    return Stop(job, result, Message("IDS_ERR_NOSUPPORTINTERFACE"));
  }
  job.portKind = kind;
  return true;
}

// The model's files and its driver and printer records for this system, file set and port kind.
void InstallEngine::ReadModelDriver(InstallJob& job) {
  FileSet set = ChooseFileSet(job.raster, switches_.gdiStdSign, job.portKind);
  job.driver = config_.ReadModelDriver(job.type, job.model, job.os, set, job.portKind);
  job.driver.printer.portName = job.portName;
}

// A driver needs its driver DLL, data file, configuration DLL, help file and name: a value that reads "0" (a
// missing key, section or file) would register a driver of no files, so the preparation stops and names what
// is missing. A value present but empty is the worker's IDS_ERR_LOSTDRIVERFILE, as it has always been.
bool InstallEngine::CheckRequiredValues(InstallJob& job, PrepareResult* result) {
  const InstallFiles& f = job.driver.files;
  std::string prefix = job.driver.fileSet == FileSet::kGdi ? "GDI" : "STD";
  std::string missing;
  auto require = [&](bool present, const std::string& key) {
    if (!present) missing += (missing.empty() ? "" : ", ") + key;
  };
  require(!common::NamesNoFile(f.driverDll), prefix + "DriverPath");
  require(!common::NamesNoFile(f.dataFile), prefix + "DataFile");
  require(!common::NamesNoFile(f.configDll), prefix + "ConfigFile");
  require(!common::NamesNoFile(f.helpFile), prefix + "HelpFile");
  require(job.driver.driver.name != "0", SetupConfig::DriverNameKey(job.os, job.portKind));
  if (missing.empty()) return true;
  return Stop(job, result, MissingValueText(job, missing));
}

std::string InstallEngine::MissingValueText(const InstallJob& job, std::string_view keys) const {
  return Message("IDS_ERR_LOSTDRIVERFILE") + std::string(kCrLf) + config_.ModelFile(job.type) + " [" +
         SetupConfig::OsSection(job.model, job.os) + "] " + std::string(keys);
}

// The driver log configuration goes in now; a failure is not shown here, its text ends the run at the
// worker's first check.
void InstallEngine::CopyDriverlogConfiguration(InstallJob& job) {
  const std::string& ini = job.driver.files.driverlogIni;
  if (ini.empty()) return;
  uint32_t lockedError = 0;
  CopyResult copied = CopyPackageFile(job, ini, Destination::kUtilityFolder, false, &lockedError);
  if (copied == CopyResult::kLocked && job.resultText.empty()) {
    job.resultText = CopyFailureText(Upper(ini), lockedError);
  }
}

// A network port is created now; the port's section of DriverUtility.ini is written for every kind.
bool InstallEngine::SetUpPort(InstallJob& job, PrepareResult* result) {
  UtilityPortSettings utilitySettings;
  utilitySettings.kind = job.portKind;
  utilitySettings.portName = job.portName;
  utilitySettings.serial = job.serial;
  if (job.portKind == PortKind::kNetwork) {
    if (job.ipAddress == std::array<uint8_t, 4>{0, 0, 0, 0})
      return Stop(job, result, Message("IDS_ERR_IPADDRISNULL"));
    std::string portName = NetworkPortName(job.ipAddress);
    if (uint32_t e = CreateNetworkPort(Spooler(), portName, DottedAddress(job.ipAddress))) {
      ui_.ShowMessage(ErrorText(e), "ERROR");
      return Stop(job, result, Message("IDS_ERR_ADDPORTERROR"));
    }
    job.portName = portName;
    job.driver.printer.portName = portName;
    utilitySettings.ipAddress = DottedAddress(job.ipAddress);
  }
  WriteDriverUtilityIni(services_.platform.profile, job.utilityIniPath, config_.is64BitWindows(),
                        utilitySettings);
  return true;
}

// Only a USB printer's driver names the package's language monitor.
void InstallEngine::ChooseLanguageMonitor(InstallJob& job) {
  MonitorSet monitors = config_.ReadMonitors(job.os);
  if (job.portKind == PortKind::kUsb && monitors.language.used) {
    job.driver.driver.monitorName = monitors.language.name;
    job.driver.files.languageMonitorDll = monitors.language.dll;
  } else {
    job.driver.driver.monitorName.clear();
    job.driver.files.languageMonitorDll.clear();
  }
}

// The printer name gets its port suffix; a USB port is checked against the printer's ID and recorded.
bool InstallEngine::NamePrinterAfterPort(InstallJob& job, PrepareResult* result) {
  std::string& printerName = job.driver.printer.printerName;
  if (job.portKind != PortKind::kUsb) {
    printerName += job.portKind == PortKind::kSerial     ? "(S)"
                   : job.portKind == PortKind::kParallel ? "(P)"
                                                         : "(E)";
    return true;
  }
  std::string message;
  if (usb_.CheckPrinterId(job, &message) != UsbInstallStep::Outcome::kContinue) {
    return Stop(job, result, message);
  }
  job.driver.printer.portName = job.portName;
  for (int n = 1; n <= 4; ++n) {
    if (Contains(job.portName, "USB" + std::to_string(n))) printerName += "(U) " + std::to_string(n);
  }
  RecordUsbPort(Registry(), config_, job.portName);
  return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Worker

void InstallEngine::RunWorker(InstallJob& job) {
  job.resultState = kStateRunning;
  MonitorSet monitors = config_.ReadMonitors(job.os);

  // What the preparation left in the result text (the driver log configuration copy) ends the run here.
  if (!job.resultText.empty()) return Fail(job);
  if (!InstallPortMonitors(job, monitors)) return Fail(job);
  if (!InstallPrintProcessor(job)) return Fail(job);
  if (job.updateFlags != 0 && !UpdateComponents(job, monitors)) return Fail(job);
  if (!job.resultText.empty()) return Fail(job);
  if (job.portKind == PortKind::kUsb && !EnumeratePorts(job)) return Fail(job);
  if (!CopyDriverFiles(job) || !CopyXpSystemLibraries(job)) return Fail(job);
  CopyUniversalDriverFiles(job);
  if (!CopyColourLibraryOfOldModels(job) || !CheckUniversalDriverResource(job)) return Fail(job);
  if (!InstallLanguageMonitor(job, monitors)) return Fail(job);
  if (!AddPrinterDriver(job)) return Fail(job);
  RecordUsbPrinterPort(job);
  if (!AddPrinter(job)) return Fail(job);
  if (job.setDefault) MakeDefault(job);
  bool spoolerBack = true;
  if (Named(job.driver.files.driverlogIni) && common::IsXpOrServer2003(job.os)) {
    spoolerBack = SetSpoolDirectory(job);
  }
  if (job.portKind == PortKind::kSerial) {
    WriteSerialSettings(Registry(), services_.platform.profile, Spooler(), job.os, job.portName, job.serial);
  }
  // A spooler that did not start again leaves the printer unusable until it runs: the run says so and fails.
  if (!spoolerBack) return Fail(job);
  SetSuccessText(job);
  job.resultState = kStateSucceeded;
}

// Windows XP on 32-bit Windows gets the system libraries the driver needs, when they are missing.
bool InstallEngine::CopyXpSystemLibraries(InstallJob& job) {
  if (job.os != OsGeneration::kXp || config_.is64BitWindows()) return true;
  return CopyRequired(job, "srclient.dll", Destination::kSystemFolderIfMissing) &&
         CopyRequired(job, "framedyn.dll", Destination::kSystemOrWbemIfMissing) &&
         CopyRequired(job, "newdev.dll", Destination::kSystemFolderIfMissing);
}

// Two old colour models need the colour library on Windows 98.
bool InstallEngine::CopyColourLibraryOfOldModels(InstallJob& job) {
  if (!common::IsWindows9x(job.os) || !(Contains(job.model, "KLP-W330") || Contains(job.model, "KLP-T410"))) {
    return true;
  }
  return CopyRequired(job, "DMCOLOR.DLL", Destination::kDriverDirectory);
}

// A driver built on the universal driver cannot work without its data resource DLL.
bool InstallEngine::CheckUniversalDriverResource(InstallJob& job) {
  if (!job.driver.universalDriver || !job.driver.files.dataResourceDll.empty()) return true;
  job.resultText = MissingValueText(
      job, std::string(job.driver.fileSet == FileSet::kGdi ? "GDI" : "STD") + "DataFileDLLName");
  return false;
}

bool InstallEngine::AddPrinterDriver(InstallJob& job) {
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
  if (uint32_t e = Spooler().AddPrinterDriver(info)) {
    job.resultText = Message("IDS_ERR_ADDPRNDRV3") + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  return true;
}

// A USB printer's port is recorded once its driver is in place.
void InstallEngine::RecordUsbPrinterPort(InstallJob& job) {
  if (job.portKind == PortKind::kUsb) SetDword("SOFTWARE\\ZNT\\PRINTERPORT", job.portName, 0, true);
}

// NT systems end with the restart advice (the USB one for USB printers); Windows 98 asks its question later.
void InstallEngine::SetSuccessText(InstallJob& job) {
  if (!common::IsNtFamily(job.os)) return;
  job.resultText = Message(job.portKind == PortKind::kUsb ? "IDS_INF_USBRESTART" : "IDS_INF_NTRESTART");
}

// The message follows the result state: a failure never shows the success text.
void InstallEngine::Finish(InstallJob& job) {
  std::string message = job.resultText;
  if (message.empty()) {
    message = job.resultState == kStateSucceeded ? Message("IDS_INF_NTRESTART") : std::string(kNotInstalled);
  }
  ui_.ShowMessage(message, "");
  if (common::IsWindows9x(job.os) && ui_.AskYesNo(Message("IDS_INF_RESTART"))) {
    if (!ui_.RestartWindows()) job.resultText = Message("IDS_ERR_EXITWIN");
  }
  std::string program = config_.packageFolder() + "\\Utility\\" + switches_.shellExeName + ".exe";
  services_.platform.shell.Execute("open", program, "/VERYSILENT", "", platform::kShowNormal);
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
      if (Spooler().GetPrinterDriverDirectory("", &dir) != 0 || dir.empty())
        return fail("IDS_ERR_GETDRIVERDIR");
      if (destination == Destination::kDriverVersionFolder) {
        dir += "\\3";
        uint32_t attributes = 0;
        if (Files().GetAttributes(dir, &attributes) != 0) Files().CreateFolder(dir);
      }
      *folder = dir;
      return true;
    }
    case Destination::kProcessorDirectory: {
      std::string dir;
      if (Spooler().GetPrintProcessorDirectory("", &dir) != 0 || dir.empty())
        return fail("IDS_ERR_GETPRODIR");
      *folder = dir;
      return true;
    }
    case Destination::kSystemFolder:
    case Destination::kSystemFolderIfMissing:
    case Destination::kSystemOrWbemIfMissing: {
      std::string dir = System().SystemDirectory();
      if (dir.empty()) return fail("IDS_ERR_GETSYSDIR");
      *folder = dir;
      return true;
    }
    case Destination::kControlFontFolder: {
      const std::string windows = System().WindowsDirectory();
      if (windows.empty()) return fail("IDS_ERR_GETWINDIR");
      // A 64-bit system has no 32-bit driver folder until a 32-bit driver is added: make both levels.
      const std::string drivers = windows + "\\system32\\spool\\drivers\\w32x86";
      const std::string dir = drivers + "\\3";
      uint32_t attributes = 0;
      if (Files().GetAttributes(dir, &attributes) != 0) {
        Files().CreateFolder(drivers);
        Files().CreateFolder(dir);
      }
      *folder = dir;
      return true;
    }
    case Destination::kDriverlogFolder:
    case Destination::kUtilityFolder: {
      if (System().WindowsDirectory().empty()) return fail("IDS_ERR_GETWINDIR");
      std::string znt = ZntFolder();
      std::string dir = znt + (destination == Destination::kDriverlogFolder ? "\\ZNTDriverlog" : "\\Utility");
      uint32_t attributes = 0;
      if (Files().GetAttributes(dir, &attributes) != 0) {
        Files().CreateFolder(znt);
        Files().CreateFolder(dir);
      }
      *folder = dir;
      return true;
    }
  }
  return fail("IDS_ERR_DIRTYPE");
}

CopyResult InstallEngine::CopyPackageFile(InstallJob& job, std::string_view name, Destination destination,
                                          bool renameMode, uint32_t* lockedError) {
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
  platform::RedirectionOff redirection(services_.redirection, system && RedirectSystemFolder());
  auto present = [&](const std::string& dir) {
    uint32_t attributes = 0;
    return Files().GetAttributes(text::JoinPath(dir, upper), &attributes) == 0;
  };
  if (destination == Destination::kSystemFolderIfMissing && present(folder)) return CopyResult::kCopied;
  if (destination == Destination::kSystemOrWbemIfMissing) {
    // Vista and later keep such libraries in the system folder itself; older systems in its "wbem" folder.
    if (common::IsVistaOrLater(job.os) && present(folder)) return CopyResult::kCopied;
    folder += "\\wbem";
    if (present(folder)) return CopyResult::kCopied;
  }
  return CopyFromPackage(job, upper, folder, renameMode, lockedError);
}

std::string InstallEngine::PackageSource(std::string_view name) const {
  return config_.packageFolder() + (config_.is64BitWindows() ? "\\W64\\" : "\\W32\\") + std::string(name);
}

std::string InstallEngine::CopyFailureText(std::string_view name, uint32_t error) const {
  return Message("IDS_ERR_COPYFIEL") + std::string(name) + std::string(kCrLf) + ErrorText(error) +
         Message("IDS_ERR_COPYFIEL1");
}

CopyResult InstallEngine::CopyFromPackage(InstallJob& job, const std::string& name, const std::string& folder,
                                          bool renameMode, uint32_t* lockedError) {
  std::string source = PackageSource(name);
  std::string target = text::JoinPath(folder, renameMode ? "n" + name : name);
  Files().SetAttributes(target, platform::kFileAttributeArchive);
  uint32_t e = Files().Copy(source, target, false);
  if (e == 0) return CopyResult::kCopied;
  if (e == err::kSharingViolation || e == err::kAccessDenied) {
    if (lockedError != nullptr) *lockedError = e;
    return CopyResult::kLocked;
  }
  // A file the package lacks is named by where it was looked for.
  uint32_t attributes = 0;
  bool sourceMissing =
      (e == err::kFileNotFound || e == err::kPathNotFound) && Files().GetAttributes(source, &attributes) != 0;
  job.resultText = CopyFailureText(sourceMissing ? source : name, e);
  return CopyResult::kFailed;
}

// A universal-driver file comes from the running Windows: the driver cache's cabinets on Windows 2000, XP and
// Server 2003, the driver store on Vista and later. *handled is false when the package's copy must be used.
CopyResult InstallEngine::CopyUniversalFile(InstallJob& job, const std::string& name, bool* handled) {
  if (!common::IsWindows2000OrLater(job.os)) return CopyResult::kCopied;  // the package's copy
  std::string driverDir;
  if (!DestinationFolder(job, Destination::kDriverDirectory, &driverDir)) {
    *handled = true;
    return CopyResult::kFailed;
  }
  platform::RedirectionOff redirection(services_.redirection, RedirectSystemFolder());
  if (common::KeepsDriverCache(job.os)) return ExtractFromDriverCache(name, driverDir, handled);
  *handled = true;
  return CopyFromDriverStore(job, name, driverDir);
}

// The first time in a run every cabinet of the driver cache gives up the universal driver's files into the
// temporary folder; the file is then copied from there. Any failure leaves it to the package's copy.
CopyResult InstallEngine::ExtractFromDriverCache(const std::string& name, const std::string& driverDir,
                                                 bool* handled) {
  std::string temp = System().TempPath();
  if (!universalFilesExtracted_) {
    universalFilesExtracted_ = true;
    std::string cacheFolder =
        System().WindowsDirectory() +
        (config_.is64BitWindows() ? "\\Driver Cache\\AMD64\\" : "\\Driver Cache\\i386\\");
    std::vector<platform::FileFindData> cabs;
    if (Files().FindFiles(cacheFolder + "*.cab", &cabs) != 0) universalExtractionFailed_ = true;
    for (const platform::FileFindData& cab : cabs) {
      if (services_.cabinet.Extract(cacheFolder + cab.name, temp, IsUniversalDriverCabinetMember) != 0) {
        universalExtractionFailed_ = true;
      }
    }
  }
  if (!universalExtractionFailed_ && Files().Copy(temp + name, text::JoinPath(driverDir, name), false) == 0) {
    *handled = true;
  }
  return CopyResult::kCopied;
}

// The file from the first "ntprint*" folder of the driver store.
CopyResult InstallEngine::CopyFromDriverStore(InstallJob& job, const std::string& name,
                                              const std::string& driverDir) {
  std::string repository = System().WindowsDirectory() + "\\System32\\DriverStore\\FileRepository\\";
  std::vector<platform::FileFindData> found;
  uint32_t e = Files().FindFiles(repository + "ntprint*", &found);
  const platform::FileFindData* folder = nullptr;
  for (const platform::FileFindData& entry : found) {
    if ((entry.attributes & platform::kFileAttributeDirectory) != 0) {
      folder = &entry;
      break;
    }
  }
  if (folder == nullptr) {
    job.resultText =
        "Couldn't find system files." + std::string(kCrLf) + ErrorText(e != 0 ? e : err::kFileNotFound);
    return CopyResult::kFailed;
  }
  std::string source =
      repository + folder->name + (config_.is64BitWindows() ? "\\AMD64\\" : "\\I386\\") + name;
  if (uint32_t copyError = Files().Copy(source, text::JoinPath(driverDir, name), false)) {
    job.resultText = CopyFailureText(name, copyError);
    return CopyResult::kFailed;
  }
  return CopyResult::kCopied;
}

bool InstallEngine::CopyRequired(InstallJob& job, std::string_view name, Destination destination) {
  uint32_t lockedError = 0;
  CopyResult result = CopyPackageFile(job, name, destination, false, &lockedError);
  // Without a rename a locked file is a failure like any other, and it says so with its own error.
  if (result == CopyResult::kLocked) job.resultText = CopyFailureText(Upper(name), lockedError);
  return result == CopyResult::kCopied;
}

bool InstallEngine::CopyAllowingRename(InstallJob& job, std::string_view dll, Destination destination,
                                       std::string* used) {
  *used = std::string(dll);
  uint32_t lockedError = 0;
  CopyResult result = CopyPackageFile(job, dll, destination, false);
  if (result == CopyResult::kLocked) {
    *used = "n" + std::string(dll);
    result = CopyPackageFile(job, dll, destination, true, &lockedError);
    if (result == CopyResult::kLocked) {
      job.resultText = CopyFailureText(Upper(*used), lockedError);
      return false;
    }
  }
  return result == CopyResult::kCopied;
}

// ---------------------------------------------------------------------------------------------------------------
// Monitors and processor

// The package's serial monitor serves the ZNTCOM ports of 32-bit NT systems (64-bit Windows uses its own COM
// ports); its USB monitor serves USB ports on every system but NT 4.0. Parallel and network ports need none.
bool InstallEngine::InstallPortMonitors(InstallJob& job, const MonitorSet& monitors) {
  if (job.portKind == PortKind::kSerial && !config_.is64BitWindows() && common::IsNtFamily(job.os) &&
      !monitors.serial.dll.empty()) {
    return InstallMonitor(job, monitors.serial.name, monitors.serial.dll, monitors.serial.uiDll,
                          monitors.serial.version, kUpdateSerialMonitor);
  }
  if (job.portKind == PortKind::kUsb && job.os != OsGeneration::kNt4 && !monitors.usb.dll.empty()) {
    return InstallMonitor(job, monitors.usb.name, monitors.usb.dll, monitors.usb.uiDll, monitors.usb.version,
                          kUpdateUsbMonitor);
  }
  return true;
}

// A monitor already registered is only compared with the package's version (an older one sets updateBit);
// a new one is copied into the system folder and added.
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
  platform::MonitorInfo2 info{name, common::IsWindows9x(job.os) ? "Windows 4.0" : "", used};
  uint32_t e = Spooler().AddMonitor(info);
  if (e != 0 && e != err::kPrintMonitorAlreadyInstalled && e != err::kAlreadyExists) {
    job.resultText = Message("IDS_ERR_ADDMONITOR") + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  SetDword(key, "DriverVersion", static_cast<uint32_t>(version), true);
  return true;
}

// The processor's key in the environment of the system: Windows 98's own, or the local NT one.
std::string InstallEngine::ProcessorKey(std::string_view name, OsGeneration os) const {
  std::string environment = common::IsWindows9x(os)    ? "Windows 4.0"
                            : config_.is64BitWindows() ? "Windows x64"
                                                       : "Windows NT x86";
  return std::string(kEnvironmentsKey) + environment + "\\Print Processors\\" + std::string(name);
}

bool InstallEngine::InstallPrintProcessor(InstallJob& job) {
  const std::string& name = job.driver.printer.printProcessor;
  if (name == "WinPrint") return true;  // the system's own; the comparison is case-sensitive on purpose
  std::string key = ProcessorKey(name, job.os);
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
  if (Spooler().AddPrintProcessor(common::IsWindows9x(job.os) ? "Windows 4.0" : "", dll, name) != 0) {
    job.resultText = Message("IDS_ERR_ADDPROCESSOR");
    return false;
  }
  SetDword(key, "DriverVersion", static_cast<uint32_t>(switches_.processorVersion), true);
  Clock().Sleep(200);
  return true;
}

// The monitor DLL over the loaded one: when it is locked, beside it as "n" + name, and the monitor's key
// points at the new name.
bool InstallEngine::UpdateMonitorDll(InstallJob& job, const MonitorConfig& monitor) {
  std::string key = std::string(kMonitorsKey) + monitor.name;
  uint32_t lockedError = 0;
  CopyResult result = CopyPackageFile(job, monitor.dll, Destination::kSystemFolder, false);
  if (result == CopyResult::kLocked) {
    result = CopyPackageFile(job, monitor.dll, Destination::kSystemFolder, true, &lockedError);
    if (result == CopyResult::kLocked) {
      job.resultText = CopyFailureText("N" + Upper(monitor.dll), lockedError);
      return false;
    }
    if (result == CopyResult::kCopied) SetString(key, "Driver", "n" + monitor.dll);
  }
  if (result != CopyResult::kCopied) return false;
  SetDword(key, "DriverVersion", static_cast<uint32_t>(monitor.version), true);
  if (!monitor.uiDll.empty() && !CopyRequired(job, monitor.uiDll, Destination::kSystemFolder)) return false;
  return true;
}

// The print processor DLL over the installed one, from the package's folder of this word size.
bool InstallEngine::UpdateProcessorDll(InstallJob& job) {
  const std::string& dll = job.driver.files.processorDll;
  if (CopyPackageFile(job, dll, Destination::kProcessorDirectory, false) != CopyResult::kCopied) {
    job.resultText = Message("IDS_ERR_COPYFIEL") + PackageSource(dll);
    return false;
  }
  SetDword(ProcessorKey(job.driver.printer.printProcessor, job.os), "DriverVersion",
           static_cast<uint32_t>(switches_.processorVersion), true);
  return true;
}

// One older component per run, the first of serial monitor, USB monitor and print processor, with the
// spooler stopped around the copy.
bool InstallEngine::UpdateComponents(InstallJob& job, const MonitorSet& monitors) {
  if (common::IsWindows9x(job.os)) return UpdateComponentsWin98(job, monitors);
  StopSpooler();
  Clock().Sleep(500);
  bool updated = true;
  if ((job.updateFlags & kUpdateSerialMonitor) != 0) {
    updated = UpdateMonitorDll(job, monitors.serial);
  } else if ((job.updateFlags & kUpdateUsbMonitor) != 0) {
    updated = UpdateMonitorDll(job, monitors.usb);
  } else if ((job.updateFlags & kUpdateProcessor) != 0) {
    updated = UpdateProcessorDll(job);
  }
  // The spooler comes back whatever the update's outcome, so that the system is not left without printing.
  StartSpooler(job);
  // The older systems' spoolers take a while before they answer queries.
  if (job.os == OsGeneration::kNt4 || job.os == OsGeneration::kWin2000) Clock().Sleep(1000);
  if (common::IsXpOrServer2003(job.os)) Clock().Sleep(2500);
  uint32_t state = WaitUntilRunning(job);
  if (!updated) return false;
  if (state == platform::kServiceStopped || state == platform::kServiceStopPending) {
    StartSpooler(job);
    Clock().Sleep(2500);
    return true;  // the "StartSpoolService error" text ends the run at the next check
  }
  return state == platform::kServiceRunning;
}

// Windows 98 replaces the USB monitor or else the print processor without touching the spooler; a DLL locked
// even under its new name needs a restart.
bool InstallEngine::UpdateComponentsWin98(InstallJob& job, const MonitorSet& monitors) {
  bool usbMonitor = (job.updateFlags & kUpdateUsbMonitor) != 0;
  if (!usbMonitor && (job.updateFlags & kUpdateProcessor) == 0) return true;
  std::string dll = usbMonitor ? monitors.usb.dll : job.driver.files.processorDll;
  Destination destination = usbMonitor ? Destination::kSystemFolder : Destination::kProcessorDirectory;
  std::string key = usbMonitor ? std::string(kMonitorsKey) + monitors.usb.name
                               : ProcessorKey(job.driver.printer.printProcessor, job.os);
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

// A USB printer's language monitor: added when it is new, its DLL replaced when the recorded version is
// older; the spooler is not stopped for it.
bool InstallEngine::InstallLanguageMonitor(InstallJob& job, const MonitorSet& monitors) {
  if (job.portKind != PortKind::kUsb || job.os == OsGeneration::kNt4 ||
      job.driver.files.languageMonitorDll.empty()) {
    return true;
  }
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

// The port enumeration of a USB installation: a first call learns the size.
bool InstallEngine::EnumeratePorts(InstallJob& job) {
  uint32_t needed = 0;
  std::vector<std::string> ports;
  uint32_t e = Spooler().EnumPorts(100, &needed, &ports);
  if (e == err::kInsufficientBuffer) {
    uint32_t size = needed < 300 ? 1000 : needed;
    e = Spooler().EnumPorts(size, &needed, &ports);
  }
  if (e != 0) {
    job.resultText = Message("IDS_ERR_ALLOCMEMORY") + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  return true;
}

// The four required files first (a required value present but empty fails), then the further driver files,
// the files of the driver version folder and the driver log viewer; "0" entries are skipped.
bool InstallEngine::CopyDriverFiles(InstallJob& job) {
  const InstallFiles& f = job.driver.files;
  std::string prefix = job.driver.fileSet == FileSet::kGdi ? "GDI" : "STD";
  std::string empty;
  for (auto [value, key] : {std::pair{&f.configDll, "ConfigFile"}, std::pair{&f.dataFile, "DataFile"},
                            std::pair{&f.driverDll, "DriverPath"}, std::pair{&f.helpFile, "HelpFile"}}) {
    if (value->empty()) empty += (empty.empty() ? "" : ", ") + prefix + key;
  }
  if (!empty.empty()) {
    job.resultText = MissingValueText(job, empty);
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
      {&f.controlFontFile, common::IsNtFamily(job.os) ? Destination::kControlFontFolder
                                                       : Destination::kDriverVersionFolder},
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

// Failures here leave the installation going: the driver can still be added when the system has the files.
void InstallEngine::CopyUniversalDriverFiles(InstallJob& job) {
  std::string kept = job.resultText;
  if (common::IsWindows9x(job.os)) {
    CopyPackageFile(job, "ICONLIB.DLL", Destination::kDriverDirectory, false);
    std::string system = System().SystemDirectory();
    uint32_t attributes = 0;
    if (Files().GetAttributes(system + "\\UNIDRV.DLL", &attributes) != 0) {
      std::string backup = System().WindowsDirectory() + "\\Sysbckup\\UNIDRV.DLL";
      if (Files().Copy(backup, system + "\\UNIDRV.DLL", true) != 0) {
        std::string driverDir;
        Spooler().GetPrinterDriverDirectory("", &driverDir);
        CopyFromPackage(job, "UNIDRV.DLL", driverDir, false, nullptr);
      }
    }
  } else if (common::IsWindows2000OrLater(job.os) && job.driver.universalDriver) {
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
  uint32_t e = Spooler().AddPrinter(info);
  // A taken name gets the first free number from 1 to 98 after it; a USB port has one printer per model.
  if (e == err::kPrinterAlreadyExists && job.portKind != PortKind::kUsb) {
    for (int n = 1; n <= 98 && e == err::kPrinterAlreadyExists; ++n) {
      info.printerName = record.printerName + "(" + std::to_string(n) + ")";
      e = Spooler().AddPrinter(info);
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

// Each generation has its own way to the default printer; failures are ignored.
void InstallEngine::MakeDefault(InstallJob& job) {
  const PrinterRecord& printer = job.driver.printer;
  if (common::IsWindows9x(job.os)) {
    platform::PrinterHandle handle = 0;
    if (Spooler().OpenPrinter(printer.printerName, platform::kPrinterAllAccess, &handle) == 0) {
      platform::PrinterInfo2 info;
      if (Spooler().GetPrinter(handle, &info) == 0) {
        info.attributes |= platform::kPrinterAttributeDefault;
        Spooler().SetPrinter(handle, info);
      }
      Spooler().ClosePrinter(handle);
    }
  } else if (job.os == OsGeneration::kNt4) {
    services_.platform.profile.WriteString(
        "win.ini", "windows", "device",
        printer.printerName + "," + printer.driverName + "," + printer.portName);
  } else {
    Spooler().SetDefaultPrinter(printer.printerName);
  }
  Spooler().BroadcastSettingChange("windows", 1000);
}

// With a driver log on XP and Server 2003 the printer spools into the system's printers folder.
bool InstallEngine::SetSpoolDirectory(InstallJob& job) {
  std::string windows = System().WindowsDirectory();
  std::string drive = windows.substr(0, std::min<size_t>(3, windows.size()));
  SetString(std::string(kPrintersKey) + job.driver.printer.printerName, "SpoolDirectory",
            drive + "windows\\system32\\spool\\printers");
  RestartSpooler(job);
  return job.resultText.empty();  // the start's error text, when the spooler did not start again
}

// ---------------------------------------------------------------------------------------------------------------
// The spooler service

void InstallEngine::StopSpooler() {
  services_.serviceControl.Stop(
      kSpooler);  // not running is fine; other failures show in the start that follows
  Clock().Sleep(100);
}

void InstallEngine::StartSpooler(InstallJob& job) {
  uint32_t e = services_.serviceControl.Start(kSpooler);
  if (e != 0 && e != err::kServiceAlreadyRunning) {
    job.resultText = "Start spool service error, error code = " + std::to_string(e);
  }
}

uint32_t InstallEngine::WaitUntilRunning(InstallJob& job) {
  uint32_t state = 0;
  for (int i = 0; i < 10; ++i) {
    if (services_.serviceControl.QueryState(kSpooler, &state) == 0 && state == platform::kServiceRunning)
      return state;
    Clock().Sleep(300);
  }
  job.resultText = "StartSpoolService error";
  return state;
}

void InstallEngine::RestartSpooler(InstallJob& job) {
  StopSpooler();
  Clock().Sleep(300);
  StartSpooler(job);
}

// ---------------------------------------------------------------------------------------------------------------
// Registry

bool InstallEngine::KeyExists(std::string_view keyPath) {
  platform::RegKey key = 0;
  if (Registry().OpenKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key) != 0) return false;
  Registry().CloseKey(key);
  return true;
}

uint32_t InstallEngine::QueryDword(std::string_view keyPath, std::string_view name, uint32_t* value) {
  platform::RegKey key = 0;
  if (uint32_t e = Registry().OpenKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key)) return e;
  uint8_t data[4] = {};
  uint32_t size = sizeof data;
  uint32_t type = 0;
  uint32_t e = Registry().QueryValue(key, name, &type, data, &size);
  Registry().CloseKey(key);
  if (e != 0) return e;
  if (type != platform::kRegDword || size != 4) return err::kFileNotFound;
  *value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
  return 0;
}

bool InstallEngine::SetDword(std::string_view keyPath, std::string_view name, uint32_t value, bool create) {
  platform::RegKey key = 0;
  uint32_t e = create ? Registry().CreateKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key, nullptr)
                      : Registry().OpenKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key);
  if (e != 0) return false;
  uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  e = Registry().SetValue(key, name, platform::kRegDword, data, 4);
  Registry().CloseKey(key);
  return e == 0;
}

bool InstallEngine::SetString(std::string_view keyPath, std::string_view name, std::string_view value) {
  platform::RegKey key = 0;
  if (Registry().CreateKey(kHkeyLocalMachine, keyPath, RegistryAccess(), &key, nullptr) != 0) return false;
  uint32_t e = platform::WriteRegString(Registry(), key, name, value);
  Registry().CloseKey(key);
  return e == 0;
}

}  // namespace mq::installer
