// The uninstaller's removal: the component list built from the spooler, the check that no local printer still
// has jobs, and the removal worker that walks the list and removes every checked printer (with its driver,
// its USB INF files and its network port), port monitor (with its registry key and files) and print processor
// (with its registry key and file), then optionally runs the USB driver package's removal and offers a
// restart. Every step writes one progress-log line through RemovalUi; every wait goes through the clock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/OsGeneration.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/FsRedirection.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/ServiceControl.h"
#include "platform/Shell.h"
#include "platform/Spooler.h"
#include "platform/SystemInfo.h"
#include "platform/SystemShutdown.h"
#include "uninstall/UninstallConfig.h"

namespace mq::uninstall {

struct UninstallServices {
  platform::Spooler& spooler;
  platform::Registry& registry;
  platform::FileSystem& files;
  platform::Profile& profile;
  platform::SystemInfo& system;
  platform::Clock& clock;
  platform::Shell& shell;
  platform::ServiceControl& serviceControl;
  platform::FsRedirection& redirection;
  platform::SystemShutdown& shutdown;
};

// Facts the dialog settles at start.
struct RemovalSettings {
  common::OsGeneration os = common::OsGeneration::kWin7;
  bool is64BitWindows = false;
  std::string programFolder;             // the current directory at start, without a trailing backslash
  bool hasDeletePrinterDriverEx = true;  // found in winspool at start
};

struct ComponentItem {
  std::string name;
  bool checked = false;
};

// Which controls a state of the run leaves enabled.
enum class ControlState {
  kRunning,    // all five disabled
  kItemsLeft,  // list, Uninstall, Select, Exit; the USB-driver box from Windows 2000 on
  kListEmpty,  // Exit only
};

// The dialog's side of a run (the Win32 dialog, the unattended mode or the Linux tool).
class RemovalUi {
 public:
  virtual ~RemovalUi() = default;
  // Appends a line to the progress log and selects it.
  virtual void Log(const std::string& line) = 0;
  // The item at index left the component list.
  virtual void RemoveItem(size_t index) = 0;
  virtual void SetControls(ControlState state) = 0;
  // FindWindow by title only.
  virtual bool WindowExists(std::string_view title) = 0;
  // The restart dialog, modal; true for Yes.
  virtual bool AskRestart() = 0;
  // A diagnostic line for standard output, not for the log.
  virtual void Diagnostic(const std::string& line) = 0;
};

// The names the component list shows, in order: the local printers whose driver name matches a printer token
// (printers that cannot be opened or read are left out), the monitors matching a monitor token, and (never on
// Windows 98) the print processors matching a processor token.
std::vector<std::string> BuildComponentList(platform::Spooler& spooler, const UninstallConfig& config,
                                            const RemovalSettings& settings);

struct RemovalResult {
  bool ran = false;               // the job check passed and the worker ran
  bool aborted = false;           // a printer stopped the run
  bool somethingRemoved = false;  // a printer, monitor or processor was removed
  bool restartAccepted = false;
};

class RemovalEngine {
 public:
  RemovalEngine(UninstallServices services, const UninstallConfig& config, const UninstallTexts& texts,
                RemovalUi& ui, RemovalSettings settings);

  // The Uninstall button: the job check over every local printer, then the worker over items (removed items
  // leave the vector). Returns what happened.
  RemovalResult Uninstall(std::vector<ComponentItem>& items, bool usbDriver);

  // The two halves, for callers that run the worker on its own thread.
  bool JobCheck();
  RemovalResult RunWorker(std::vector<ComponentItem>& items, bool usbDriver);

 private:
  enum class Outcome { kRemoved, kSkipped, kAborted };
  enum class Kind { kPrinter, kMonitor, kProcessor };

  Kind KindOf(std::string_view name) const;
  Outcome RemovePrinter(const std::string& name);
  Outcome RemoveMonitor(const std::string& name);
  Outcome RemoveProcessor(const std::string& name);
  // Reads the printer's level-2 record; logs and waits on failure.
  bool ReadPrinter(platform::PrinterHandle handle, platform::PrinterInfo2* info);
  void CleanInfFiles(const std::string& printerName, const std::string& windowsDirectory);
  void DeletePrinterDriver(const platform::PrinterInfo2& info);
  void DeletePortWhenUnused(const std::string& portName);
  bool DriverUsedByAnotherPrinter(const std::string& driverName);
  bool GenerationZeroComPortInUse(const std::string& name);
  void UsbDriverStep();
  void RestartQuestion();
  void RestartSpooler();
  void DeleteKey(std::string_view path);
  void DeleteSystemFile(const std::string& systemDirectory, const std::string& file, std::string* left);
  // DeleteFile; a file that cannot be deleted now is deleted at the next start of Windows.
  void DeleteNowOrAtRestart(const std::string& path);
  void Log(const std::string& line) { ui_.Log(line); }
  void LogError(const std::string& line);
  std::string Msg(std::string_view key) const { return texts_.Message(key); }
  std::string Msg(std::string_view key, std::string_view name) const { return texts_.Message(key, name); }

  UninstallServices s_;
  const UninstallConfig& config_;
  const UninstallTexts& texts_;
  RemovalUi& ui_;
  RemovalSettings settings_;
};

}  // namespace mq::uninstall
