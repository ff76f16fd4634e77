// The installation engine: the preparation that runs on the wizard's thread when the user presses Install,
// the worker that copies the driver files and registers monitors, processor, driver and printer, and the
// steps after it. Every failure ends with a language-file message in the job's result text; nothing is rolled
// back.
#pragma once

#include <string>
#include <string_view>

#include "common/LanguageTexts.h"
#include "installer/InstallServices.h"
#include "installer/SetupConfig.h"

namespace mq::installer {

// Where CopyPackageFile puts a file.
enum class Destination {
  kDriverDirectory,
  kDriverVersionFolder,  // driver directory + "\3"
  // Windows directory + "\system32\spool\drivers\w32x86\3" on every NT system, 64-bit ones too: the plug-in
  // reads the control-font table from the 32-bit driver folder whatever the word size.
  kControlFontFolder,
  kProcessorDirectory,
  kSystemFolder,
  kSystemFolderIfMissing,
  kSystemOrWbemIfMissing,
  kDriverlogFolder,  // "<system drive>Program Files\ZNT\ZNTDriverlog"
  kUtilityFolder,    // "<system drive>Program Files\ZNT\Utility"
};

enum class CopyResult {
  kCopied,  // also a "0" name, skipped on purpose, and an "if missing" file that is there already
  kFailed,  // the message is in the result text
  kLocked,  // sharing violation or access denied, no message: the caller may retry in rename mode
};

struct PrepareResult {
  enum class Outcome { kReady, kStopped, kHandedOver };
  Outcome outcome = Outcome::kReady;
  std::string message;  // the text shown when it stopped
};

class InstallEngine {
 public:
  InstallEngine(InstallerServices services, const SetupConfig& config, const common::LanguageTexts& texts,
                InstallUi& ui, UsbInstallStep& usb);

  // Steps on Install before the worker starts; a stop has shown its message through the UI.
  PrepareResult Prepare(InstallJob& job);
  // The worker thread's body; ends by setting the job's result state (1 failed, 2 succeeded).
  void RunWorker(InstallJob& job);
  // After the worker: the result message (or the restart advice), the Windows 98 restart question, and the
  // start of the package's utility program.
  void Finish(InstallJob& job);

  // Copies one package file by the rules for universal-driver files, rename mode and the destinations.
  // *lockedError (when given) receives the error behind kLocked: 32 (sharing violation) or 5 (access denied).
  CopyResult CopyPackageFile(InstallJob& job, std::string_view name, Destination destination, bool renameMode,
                             uint32_t* lockedError = nullptr);

  // "C:\Program Files\ZNT" on the system drive (the first three characters of the Windows folder).
  std::string ZntFolder() const;

 private:
  // Preparation, in the order it runs; each returns false when it stopped (the result says how).
  void CreateUtilityFolder(InstallJob& job);
  bool CheckModelAndSystem(InstallJob& job, PrepareResult* result);
  bool DecidePortKind(InstallJob& job, PrepareResult* result);
  void ReadModelDriver(InstallJob& job);
  bool CheckRequiredValues(InstallJob& job, PrepareResult* result);
  void CopyDriverlogConfiguration(InstallJob& job);
  bool SetUpPort(InstallJob& job, PrepareResult* result);
  void ChooseLanguageMonitor(InstallJob& job);
  bool NamePrinterAfterPort(InstallJob& job, PrepareResult* result);
  // Shows the message, marks the job failed and ends the preparation; returns false.
  bool Stop(InstallJob& job, PrepareResult* result, std::string message);

  // Worker steps, in the order they run; each returns false when the installation fails.
  bool InstallPortMonitors(InstallJob& job, const MonitorSet& monitors);
  bool InstallPrintProcessor(InstallJob& job);
  bool UpdateComponents(InstallJob& job, const MonitorSet& monitors);
  bool EnumeratePorts(InstallJob& job);
  bool CopyDriverFiles(InstallJob& job);
  bool CopyXpSystemLibraries(InstallJob& job);
  void CopyUniversalDriverFiles(InstallJob& job);
  bool CopyColourLibraryOfOldModels(InstallJob& job);
  bool CheckUniversalDriverResource(InstallJob& job);
  bool InstallLanguageMonitor(InstallJob& job, const MonitorSet& monitors);
  bool AddPrinterDriver(InstallJob& job);
  void RecordUsbPrinterPort(InstallJob& job);
  bool AddPrinter(InstallJob& job);
  void MakeDefault(InstallJob& job);
  bool SetSpoolDirectory(InstallJob& job);
  void SetSuccessText(InstallJob& job);
  void Fail(InstallJob& job) { job.resultState = kStateFailed; }

  // Pieces of the monitor, processor and update steps.
  bool InstallMonitor(InstallJob& job, const std::string& name, const std::string& dll,
                      const std::string& uiDll, int version, uint32_t updateBit);
  bool UpdateMonitorDll(InstallJob& job, const MonitorConfig& monitor);
  bool UpdateProcessorDll(InstallJob& job);
  bool UpdateComponentsWin98(InstallJob& job, const MonitorSet& monitors);
  std::string ProcessorKey(std::string_view name, OsGeneration os) const;

  // Copying.
  bool DestinationFolder(InstallJob& job, Destination destination, std::string* folder);
  CopyResult CopyUniversalFile(InstallJob& job, const std::string& name, bool* handled);
  CopyResult ExtractFromDriverCache(const std::string& name, const std::string& driverDir, bool* handled);
  CopyResult CopyFromDriverStore(InstallJob& job, const std::string& name, const std::string& driverDir);
  CopyResult CopyFromPackage(InstallJob& job, const std::string& name, const std::string& folder,
                             bool renameMode, uint32_t* lockedError);
  bool CopyRequired(InstallJob& job, std::string_view name, Destination destination);
  bool CopyAllowingRename(InstallJob& job, std::string_view dll, Destination destination, std::string* used);
  std::string PackageSource(std::string_view name) const;
  // IDS_ERR_COPYFIEL, the file name, a line break, the system's text of error and IDS_ERR_COPYFIEL1.
  std::string CopyFailureText(std::string_view name, uint32_t error) const;

  // The "Spooler" service.
  void StopSpooler();
  void StartSpooler(InstallJob& job);
  uint32_t WaitUntilRunning(InstallJob& job);
  void RestartSpooler(InstallJob& job);

  // Registry values under HKEY_LOCAL_MACHINE.
  bool SetDword(std::string_view keyPath, std::string_view name, uint32_t value, bool create);
  bool SetString(std::string_view keyPath, std::string_view name, std::string_view value);
  // 0 with *value set, or the error (ERROR_FILE_NOT_FOUND for a missing key or value).
  uint32_t QueryDword(std::string_view keyPath, std::string_view name, uint32_t* value);
  bool KeyExists(std::string_view keyPath);
  uint32_t RegistryAccess() const;

  std::string Message(std::string_view key) const;
  // IDS_ERR_LOSTDRIVERFILE, a line break and where the values were looked for: "<model file> [<section>]
  // <keys>".
  std::string MissingValueText(const InstallJob& job, std::string_view keys) const;
  std::string ErrorText(uint32_t error) const;
  bool RedirectSystemFolder() const;
  platform::FileSystem& Files() { return services_.platform.files; }
  platform::Registry& Registry() { return services_.platform.registry; }
  platform::SystemInfo& System() const { return services_.platform.system; }
  platform::Clock& Clock() { return services_.platform.clock; }
  platform::Spooler& Spooler() { return services_.spooler; }

  InstallerServices services_;
  const SetupConfig& config_;
  const common::LanguageTexts& texts_;
  InstallUi& ui_;
  UsbInstallStep& usb_;
  PackageSwitches switches_;
  // The driver cache's cabinets are opened once per run, on the first universal-driver file.
  bool universalFilesExtracted_ = false;
  bool universalExtractionFailed_ = false;
};

}  // namespace mq::installer
