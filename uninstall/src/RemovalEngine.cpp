// The removal of the package's printers, port monitors and print processors.
#include "uninstall/RemovalEngine.h"

#include "common/IniReader.h"
#include "platform/WinError.h"

namespace mq::uninstall {

using common::OsGeneration;
using platform::PrinterHandle;
using platform::PrinterInfo2;

namespace {

constexpr std::string_view kSpooler = "Spooler";
constexpr std::string_view kMonitorsKey = "SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\MONITORS\\";
constexpr std::string_view kEnvironmentsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
constexpr std::string_view kPackageKey = "SOFTWARE\\ZNT";
// The fixed English line of a folder the system did not give.
constexpr std::string_view kNoSystemDirectory = "Get system Directory error.";

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string WithoutBlanks(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c != ' ') out += c;
  }
  return out;
}

bool IsMemoryError(uint32_t e) {
  return e == err::kNotEnoughMemory || e == err::kOutOfMemory;
}

}  // namespace

std::vector<std::string> BuildComponentList(platform::Spooler& spooler, const UninstallConfig& config,
                                            const RemovalSettings& settings) {
  std::vector<std::string> names;
  std::vector<PrinterInfo2> printers;
  if (spooler.EnumPrinters(&printers) == 0) {
    for (const PrinterInfo2& listed : printers) {
      PrinterHandle handle = 0;
      if (spooler.OpenPrinter(listed.printerName, platform::kPrinterAllAccess, &handle) != 0) continue;
      PrinterInfo2 info;
      bool read = spooler.GetPrinter(handle, &info) == 0;
      spooler.ClosePrinter(handle);
      if (read && config.printers().Matches(info.driverName)) names.push_back(listed.printerName);
    }
  }
  std::vector<platform::MonitorInfo2> monitors;
  if (spooler.EnumMonitors(&monitors) == 0) {
    for (const platform::MonitorInfo2& monitor : monitors) {
      if (config.monitors().Matches(monitor.name)) names.push_back(monitor.name);
    }
  }
  if (settings.os != OsGeneration::kWin98) {
    std::vector<std::string> processors;
    std::string environment = settings.is64BitWindows ? "" : "Windows NT x86";
    if (spooler.EnumPrintProcessors(environment, &processors) == 0) {
      for (const std::string& processor : processors) {
        if (config.processors().Matches(processor)) names.push_back(processor);
      }
    }
  }
  return names;
}

RemovalEngine::RemovalEngine(UninstallServices services, const UninstallConfig& config,
                             const UninstallTexts& texts, RemovalUi& ui, RemovalSettings settings)
    : s_(services), config_(config), texts_(texts), ui_(ui), settings_(std::move(settings)) {}

RemovalResult RemovalEngine::Uninstall(std::vector<ComponentItem>& items, bool usbDriver) {
  if (!JobCheck()) return RemovalResult{};
  return RunWorker(items, usbDriver);
}

void RemovalEngine::LogError(const std::string& line) {
  Log(line);
  s_.clock.Sleep(100);
}

bool RemovalEngine::ReadPrinter(PrinterHandle handle, PrinterInfo2* info) {
  uint32_t e = s_.spooler.GetPrinter(handle, info);
  if (e == 0) return true;
  s_.spooler.ClosePrinter(handle);
  LogError(Msg(IsMemoryError(e) ? "IDS_ERR_ALLOC" : "IDS_ERR_GETPRNINFO"));
  return false;
}

bool RemovalEngine::JobCheck() {
  std::vector<PrinterInfo2> printers;
  // Without the list no printer can be shown free of jobs: no run.
  if (s_.spooler.EnumPrinters(&printers) != 0) {
    LogError(Msg("IDS_ERR_GETPRNINFO"));
    return false;
  }
  for (const PrinterInfo2& listed : printers) {
    PrinterHandle handle = 0;
    if (s_.spooler.OpenPrinter(listed.printerName, platform::kPrinterAllAccess, &handle) != 0) {
      Log(Msg("IDS_ERR_OPENPRN", listed.printerName));
      return false;
    }
    PrinterInfo2 info;
    if (!ReadPrinter(handle, &info)) return false;
    s_.spooler.ClosePrinter(handle);
    if (info.jobs > 0) {
      LogError(Msg("IDS_ERR_HAVEJOB2", info.printerName));
      return false;
    }
  }
  return true;
}

RemovalResult RemovalEngine::RunWorker(std::vector<ComponentItem>& items, bool usbDriver) {
  RemovalResult result;
  result.ran = true;
  ui_.SetControls(ControlState::kRunning);
  size_t i = 0;
  while (i < items.size()) {
    s_.clock.Sleep(500);
    if (!items[i].checked) {
      ++i;
      continue;
    }
    std::string name = items[i].name;
    Outcome outcome = Outcome::kSkipped;
    switch (KindOf(name)) {
      case Kind::kMonitor:
        outcome = RemoveMonitor(name);
        break;
      case Kind::kProcessor:
        outcome = RemoveProcessor(name);
        break;
      case Kind::kPrinter:
        outcome = RemovePrinter(name);
        break;
    }
    if (outcome == Outcome::kAborted) {
      result.aborted = true;
      break;
    }
    if (outcome == Outcome::kSkipped) {
      ++i;
      continue;
    }
    // The next item moves up into this position and is looked at next.
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
    ui_.RemoveItem(i);
    result.somethingRemoved = true;
  }
  if (!result.aborted) {
    if (usbDriver) UsbDriverStep();
    if (result.somethingRemoved) {
      result.restartAccepted = ui_.AskRestart();
      if (result.restartAccepted) RestartQuestion();
    }
  }
  if (!items.empty()) {
    Log(Msg("IDS_SELECTPRN1"));
    ui_.SetControls(ControlState::kItemsLeft);
  } else {
    ui_.SetControls(ControlState::kListEmpty);
  }
  return result;
}

RemovalEngine::Kind RemovalEngine::KindOf(std::string_view name) const {
  if (config_.monitors().Matches(name)) return Kind::kMonitor;
  if (settings_.os != OsGeneration::kWin98 && config_.processors().Matches(name)) return Kind::kProcessor;
  return Kind::kPrinter;
}

RemovalEngine::Outcome RemovalEngine::RemovePrinter(const std::string& name) {
  PrinterHandle handle = 0;
  if (s_.spooler.OpenPrinter(name, platform::kPrinterAllAccess, &handle) != 0) {
    Log(Msg("IDS_ERR_OPENPRN", name));
    return Outcome::kAborted;
  }
  Log(Msg("IDS_DELETING2", name));
  PrinterInfo2 info;
  if (!ReadPrinter(handle, &info)) return Outcome::kAborted;
  // Queued jobs stop the run before anything of this printer is touched, its INF files included.
  if (info.jobs > 0) {
    s_.spooler.ClosePrinter(handle);
    LogError(Msg("IDS_ERR_HAVEJOB1", name));
    return Outcome::kAborted;
  }
  if (Contains(info.portName, "USB00")) {
    std::string windows = s_.system.WindowsDirectory();
    if (windows.empty()) {
      s_.spooler.ClosePrinter(handle);
      LogError(std::string(kNoSystemDirectory));
      return Outcome::kAborted;
    }
    CleanInfFiles(name, windows);
  }
  if (s_.spooler.DeletePrinter(handle) != 0) {
    LogError(Msg("IDS_ERR_DELPRINTER"));
    s_.spooler.ClosePrinter(handle);
    return Outcome::kSkipped;
  }
  s_.clock.Sleep(100);
  Log(Msg("IDS_SUCCESS", name));
  s_.spooler.ClosePrinter(handle);
  RestartSpooler();
  s_.clock.Sleep(1000);
  // Windows 98 and NT 4.0 keep their drivers.
  if (common::IsWindows2000OrLater(settings_.os)) DeletePrinterDriver(info);
  s_.clock.Sleep(1000);
  if (Contains(info.portName, "ZNTIP_")) DeletePortWhenUnused(info.portName);
  return Outcome::kRemoved;
}

void RemovalEngine::DeletePrinterDriver(const PrinterInfo2& info) {
  Log(Msg("IDS_DRVDELETING", info.printerName));
  uint32_t e = settings_.hasDeletePrinterDriverEx
                   ? s_.spooler.DeletePrinterDriverEx("", info.driverName, platform::kDeleteUnusedFiles, 0)
                   : s_.spooler.DeletePrinterDriver("", info.driverName);
  // A spooler that does not know the delete flags (Wine's, older print servers) refuses them as an invalid
  // parameter; the plain deletion still removes the driver, leaving its files. Such a spooler may not check
  // either whether another printer still uses the driver, so that is checked here first.
  if (settings_.hasDeletePrinterDriverEx && e == err::kInvalidParameter) {
    e = DriverUsedByAnotherPrinter(info.driverName) ? err::kPrinterDriverInUse
                                                    : s_.spooler.DeletePrinterDriver("", info.driverName);
  }
  if (e == 0) {
    Log(Msg("IDS_DRV_SUCCESS"));
  } else if (e == err::kPrinterDriverInUse) {
    // Another printer still uses it; the last of them removes it.
    Log(Msg("IDS_ERR_DRVUSING"));
  } else {
    Log(Msg("IDS_ERR_DRVDEL") + "    er=" + std::to_string(e));
  }
  s_.clock.Sleep(100);
}

bool RemovalEngine::DriverUsedByAnotherPrinter(const std::string& driverName) {
  std::vector<PrinterInfo2> printers;
  // Printers that cannot be listed may use it: the driver stays.
  if (s_.spooler.EnumPrinters(&printers) != 0) return true;
  for (const PrinterInfo2& printer : printers) {
    if (printer.driverName == driverName) return true;
  }
  return false;
}

void RemovalEngine::DeletePortWhenUnused(const std::string& portName) {
  std::vector<PrinterInfo2> printers;
  // A port whose users cannot be listed stays: it may still carry another printer.
  if (s_.spooler.EnumPrinters(&printers) != 0) return;
  std::string used;
  for (const PrinterInfo2& printer : printers) used += printer.portName + "@";
  if (!Contains(used, portName)) s_.spooler.DeletePort(portName);
}

void RemovalEngine::CleanInfFiles(const std::string& printerName, const std::string& windowsDirectory) {
  std::string folder = windowsDirectory;
  if (folder.back() != '\\') folder += '\\';
  folder += "inf\\";
  std::vector<platform::FileFindData> found;
  if (uint32_t e = s_.files.FindFiles(folder + "*.inf", &found)) {
    ui_.Diagnostic("Invalid File Handle. Get Last Error reports " + std::to_string(e) + "\n");
    return;
  }
  std::string key = "\"" + printerName + "\"";
  std::string manufacturer = config_.Manufacturer();
  std::vector<std::string> sections =
      manufacturer.empty() ? std::vector<std::string>{"TALMERE", "ORVA", "ORVA.NTamd64", "TALMERE.NTamd64"}
                           : std::vector<std::string>{manufacturer, manufacturer + ".NTamd64"};
  for (const platform::FileFindData& entry : found) {
    std::string path = folder + entry.name;
    bool matches = false;
    for (const std::string& section : sections) {
      if (!s_.profile.GetString(path, section, key, "", 201).empty()) {
        matches = true;
        break;
      }
    }
    if (!matches) continue;
    s_.files.SetAttributes(path, platform::kFileAttributeNormal);
    s_.files.Delete(path);
    std::string precompiled = path.substr(0, path.size() - 3) + "PNF";
    s_.files.SetAttributes(precompiled, platform::kFileAttributeNormal);
    s_.files.Delete(precompiled);
  }
}

bool RemovalEngine::GenerationZeroComPortInUse(const std::string& name) {
  std::vector<PrinterInfo2> printers;
  if (s_.spooler.EnumPrinters(&printers) != 0) {
    LogError(Msg("IDS_ERR_GETPRNINFO"));
    return true;
  }
  for (const PrinterInfo2& listed : printers) {
    PrinterHandle handle = 0;
    if (s_.spooler.OpenPrinter(listed.printerName, platform::kPrinterAllAccess, &handle) != 0) {
      Log(Msg("IDS_ERR_OPENPRN", name));
      return true;
    }
    PrinterInfo2 info;
    if (!ReadPrinter(handle, &info)) return true;
    s_.spooler.ClosePrinter(handle);
    if (Contains(info.portName, "ZNTCOM")) {
      LogError(Msg("IDS_ERR_HAVEJOB1", name));
      return true;
    }
  }
  return false;
}

RemovalEngine::Outcome RemovalEngine::RemoveMonitor(const std::string& name) {
  Log(Msg("IDS_DELETING1", name));
  if (settings_.os == OsGeneration::kWin98 && GenerationZeroComPortInUse(name)) {
    Log(Msg("IDS_USING", name));
    return Outcome::kSkipped;
  }
  std::string section = WithoutBlanks(name) + std::string(UninstallSectionSuffix(settings_.os));
  std::string keyName = config_.ComponentValue(section, "USBMONitorName");
  uint32_t e = s_.spooler.DeleteMonitor("", name);
  if (e != 0) {
    RestartSpooler();
    s_.clock.Sleep(500);
    e = s_.spooler.DeleteMonitor("", name);
  }
  if (e != 0) {
    LogError(Msg(e == err::kPrintMonitorInUse ? "IDS_USING" : "IDS_ERR_UNINSTALL", name));
    return Outcome::kSkipped;
  }
  if (Contains(name, "USB")) {
    DeleteKey(std::string(kPackageKey) + "\\INSTALLPRINTER");
    DeleteKey(std::string(kPackageKey) + "\\PORTNAME");
    // The installer records its USB ports here too; the package's own key goes once it is empty.
    DeleteKey(std::string(kPackageKey) + "\\PRINTERPORT");
    DeleteKey(kPackageKey);
  }
  RestartSpooler();
  s_.clock.Sleep(500);
  // An empty name would make the path the Monitors key itself.
  if (!keyName.empty()) DeleteKey(std::string(kMonitorsKey) + keyName);
  std::string systemDirectory = s_.system.SystemDirectory();
  if (systemDirectory.empty()) {
    Log(std::string(kNoSystemDirectory));
  } else {
    std::vector<std::string> keys = {"MonitorPDLLName", "MONitorPUIDLLName"};
    if (Contains(section, "USB")) keys.push_back("USBMONitorDLLName");
    std::string left;
    for (const std::string& key : keys) {
      std::string file = config_.ComponentValue(section, key);
      if (common::NamesNoFile(file) || file.empty()) continue;
      DeleteSystemFile(systemDirectory, file, &left);
    }
    if (!left.empty())
      Log("File system redirection could not be turned off; left in the system folder:" + left);
  }
  Log(Msg("IDS_SUCCESS", name));
  return Outcome::kRemoved;
}

void RemovalEngine::DeleteSystemFile(const std::string& systemDirectory, const std::string& file,
                                     std::string* left) {
  std::string path = systemDirectory + "\\" + file;
  if (!settings_.is64BitWindows) {
    DeleteNowOrAtRestart(path);
    return;
  }
  // Once redirection has refused, the 32-bit folder must not be mistaken for the system one.
  uintptr_t cookie = 0;
  if (!left->empty() || s_.redirection.Disable(&cookie) != 0) {
    *left += " " + file;
    return;
  }
  DeleteNowOrAtRestart(path);
  s_.redirection.Revert(cookie);
}

void RemovalEngine::DeleteNowOrAtRestart(const std::string& path) {
  uint32_t e = s_.files.Delete(path);
  if (e == 0 || e == err::kFileNotFound || e == err::kPathNotFound) return;
  // A library the spooler still holds cannot go yet: it goes when Windows starts again, and the log says so
  // rather than leaving it behind unmentioned.
  if (s_.files.Move(path, "", platform::kMoveFileDelayUntilReboot) == 0)
    Log(path + " is in use; it is deleted when Windows restarts.");
  else
    Log(path + " could not be deleted (error " + std::to_string(e) + ").");
}

RemovalEngine::Outcome RemovalEngine::RemoveProcessor(const std::string& name) {
  Log(Msg("IDS_DELETING1", name));
  uint32_t e = s_.spooler.DeletePrintProcessor("", name);
  if (e != 0) {
    LogError(Msg(e == err::kCanNotComplete ? "IDS_USING" : "IDS_ERR_UNINSTALL", name));
    return Outcome::kSkipped;
  }
  RestartSpooler();
  s_.clock.Sleep(500);
  std::string environment = settings_.is64BitWindows ? "Windows x64" : "Windows NT x86";
  DeleteKey(std::string(kEnvironmentsKey) + environment + "\\Print Processors\\" + name);
  std::string section = name + std::string(UninstallSectionSuffix(settings_.os));
  std::string file = config_.ComponentValue(section, "ProcessorDllName");
  std::string folder;
  if (s_.spooler.GetPrintProcessorDirectory("", &folder) != 0 || folder.empty()) {
    Log(std::string(kNoSystemDirectory));
  } else if (!file.empty() && !common::NamesNoFile(file)) {
    DeleteNowOrAtRestart(folder + "\\" + file);
  }
  Log(Msg("IDS_SUCCESS", name));
  return Outcome::kRemoved;
}

void RemovalEngine::DeleteKey(std::string_view path) {
  s_.registry.DeleteKey(platform::kHkeyLocalMachine, path);
}

void RemovalEngine::RestartSpooler() {
  s_.serviceControl.Stop(kSpooler);
  // The spooler is given time to stop; its state is not polled.
  s_.clock.Sleep(2000);
  s_.serviceControl.Start(kSpooler);
}

void RemovalEngine::UsbDriverStep() {
  Log(Msg("IDS_DELETING3"));
  std::string program =
      settings_.programFolder + (settings_.is64BitWindows ? "\\USBDrv\\USBDriver_x64\\Install.exe"
                                                          : "\\USBDrv\\USBDriver\\Install.exe");
  // A package installer that did not start has removed nothing: no wait, and no line saying it finished.
  if (s_.shell.Execute("open", program, "22", "", platform::kShowNormal) <= 32) {
    LogError(Msg("IDS_ERR_UNINSTALL", program));
    return;
  }
  s_.clock.Sleep(500);
  // An empty title would find some untitled window and wait for ever.
  std::string caption = texts_.Text("Uninstall", "CaptionName");
  while (!caption.empty() && ui_.WindowExists(caption)) s_.clock.Sleep(1000);
  s_.clock.Sleep(500);
  s_.clock.Sleep(1000);
  Log(Msg("IDS_DRV_SUCCESS1"));
}

void RemovalEngine::RestartQuestion() {
  if (settings_.os == OsGeneration::kWin98) {
    s_.shutdown.Reboot();
    return;
  }
  if (s_.shutdown.EnableShutdownPrivilege() == 0) s_.shutdown.Reboot();
}

}  // namespace mq::uninstall
