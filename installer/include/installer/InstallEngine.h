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
  CopyResult CopyPackageFile(InstallJob& job, std::string_view name, Destination destination,
                             bool renameMode);

  // "C:\Program Files\ZNT" on the system drive (the first three characters of the Windows folder).
  std::string ZntFolder() const;

 private:
  bool Stop(PrepareResult* result, std::string message);
  void Fail(InstallJob& job) { job.resultState = kStateFailed; }
  std::string Message(std::string_view key) const { return texts_.Message(key); }
  std::string ErrorText(uint32_t error) const;
  uint32_t RegistryAccess() const;
  bool RedirectSystemFolder() const;
  bool DestinationFolder(InstallJob& job, Destination destination, std::string* folder);
  CopyResult CopyUniversalFile(InstallJob& job, const std::string& name, bool* handled);
  CopyResult CopyFromPackage(InstallJob& job, const std::string& name, const std::string& folder,
                             bool renameMode);
  bool CopyRequired(InstallJob& job, std::string_view name, Destination destination);
  bool CopyAllowingRename(InstallJob& job, std::string_view dll, Destination destination, std::string* used);

  bool InstallPortMonitors(InstallJob& job, const MonitorSet& monitors);
  bool InstallMonitor(InstallJob& job, const std::string& name, const std::string& dll,
                      const std::string& uiDll, int version, uint32_t updateBit);
  bool InstallPrintProcessor(InstallJob& job);
  bool UpdateComponents(InstallJob& job, const MonitorSet& monitors);
  bool UpdateMonitorDll(InstallJob& job, const MonitorConfig& monitor);
  bool UpdateComponentsWin98(InstallJob& job, const MonitorSet& monitors);
  bool EnumeratePorts(InstallJob& job);
  bool CopyDriverFiles(InstallJob& job);
  void CopyUniversalDriverFiles(InstallJob& job);
  bool InstallLanguageMonitor(InstallJob& job, const MonitorSet& monitors);
  bool AddPrinter(InstallJob& job);
  void MakeDefault(InstallJob& job);
  void SetSpoolDirectory(InstallJob& job);

  // The "Spooler" service.
  void StopSpooler();
  void StartSpooler(InstallJob& job);
  uint32_t WaitUntilRunning(InstallJob& job);
  void RestartSpooler(InstallJob& job);

  std::string ProcessorKey(std::string_view name) const;
  bool SetDword(std::string_view keyPath, std::string_view name, uint32_t value, bool create);
  bool SetString(std::string_view keyPath, std::string_view name, std::string_view value);
  // 0 with *value set, or the error (ERROR_FILE_NOT_FOUND for a missing key or value).
  uint32_t QueryDword(std::string_view keyPath, std::string_view name, uint32_t* value);
  bool KeyExists(std::string_view keyPath);

  InstallerServices s_;
  const SetupConfig& config_;
  const common::LanguageTexts& texts_;
  InstallUi& ui_;
  UsbInstallStep& usb_;
  PackageSwitches switches_;
  bool universalFilesExtracted_ = false;
  bool universalExtractionFailed_ = false;
};

}  // namespace mq::installer
