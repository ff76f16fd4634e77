// An in-memory Windows machine for the uninstaller's tests: the program in C:\Package with an Uninstall.ini
// naming the package's printers (driver names with "MQ-"), its serial and USB port monitors and its print
// processor, a language file whose texts are their keys (with "(%s)" where a name goes in), a spooler, the
// service control manager, WOW64 redirection and the restart, all journaled.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeServices.h"
#include "platform/fake/FakeShutdown.h"
#include "platform/fake/FakeSpooler.h"
#include "uninstall/RemovalEngine.h"

namespace mq::uninstall::testing {

inline constexpr const char* kProgram = "C:\\Package";
inline constexpr const char* kIniPath = "C:\\Package\\Uninstall.ini";

inline constexpr const char* kUninstallIni =
    "[BYPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=MQ-\r\nMANUFACTURER=ZNT\r\n"
    "[BYMONITOR]\r\nMonitorNUM=2\r\nMONITORNAME1=ZNT Serial\r\nMONITORNAME2=ZNT USB\r\n"
    "[BYPROC]\r\nPROCNUM=1\r\nPROCNAME1=ZNTPrint\r\n"
    "[ZNTSerialPortMonitor.Win7]\r\nUSBMONitorName=ZNT Serial Port "
    "Monitor\r\nMonitorPDLLName=ZNTCOMMON.DLL\r\n"
    "MONitorPUIDLLName=0\r\nUSBMONitorDLLName=0\r\n"
    "[ZNTUSBPortMonitor.Win7]\r\nUSBMONitorName=ZNT USB Port Monitor\r\nMonitorPDLLName=ZNTUSBMON.DLL\r\n"
    "MONitorPUIDLLName=ZNTUSBUI.DLL\r\nUSBMONitorDLLName=ZNTUSBLM.DLL\r\n"
    "[ZNTPrint.Win7]\r\nProcessorDllName=ZNTPROC.DLL\r\n";

// Records what the engine shows; answers the restart question with restartAnswer.
class RecordingRemovalUi : public RemovalUi {
 public:
  void Log(const std::string& line) override { log.push_back(line); }
  void RemoveItem(size_t index) override { removed.push_back(index); }
  void SetControls(ControlState state) override { controls.push_back(state); }
  bool WindowExists(std::string_view title) override {
    windowQueries.emplace_back(title);
    return windowPolls-- > 0;
  }
  bool AskRestart() override {
    ++restartQuestions;
    return restartAnswer;
  }
  void Diagnostic(const std::string& line) override { diagnostics.push_back(line); }

  std::vector<std::string> log;
  std::vector<size_t> removed;
  std::vector<ControlState> controls;
  std::vector<std::string> windowQueries;
  std::vector<std::string> diagnostics;
  int windowPolls = 0;  // how many queries still find the window
  int restartQuestions = 0;
  bool restartAnswer = false;
};

class UninstallMachine {
 public:
  explicit UninstallMachine(bool is64 = false) : spooler(p.journal, is64) {
    settings.programFolder = kProgram;
    settings.is64BitWindows = is64;
    p.files.Put(kIniPath, kUninstallIni);
    std::string language = "[Uninstall]\r\nCaptionName=USB Driver Setup\r\n[Message]\r\n";
    for (const char* key :
         {"IDS_SELECTPRN1", "IDS_DELETING3", "IDS_ERR_GETPRNINFO", "IDS_ERR_ALLOC", "IDS_ERR_DELPRINTER",
          "IDS_DRV_SUCCESS", "IDS_ERR_DRVUSING", "IDS_ERR_DRVDEL", "IDS_DRV_SUCCESS1"}) {
      language += std::string(key) + "=" + key + "\r\n";
    }
    for (const char* key : {"IDS_DELETING1", "IDS_DELETING2", "IDS_SUCCESS", "IDS_USING", "IDS_ERR_UNINSTALL",
                            "IDS_ERR_OPENPRN", "IDS_ERR_HAVEJOB1", "IDS_ERR_HAVEJOB2", "IDS_DRVDELETING"}) {
      language += std::string(key) + "=" + key + "(%s)\r\n";
    }
    p.files.Put("C:\\Package\\language\\uninstall_EN.ini", language);
  }

  void AddPrinter(const std::string& name, const std::string& driver, const std::string& port) {
    platform::CallJournal::Quiet quiet(&p.journal);
    if (spooler.FindDriver("", driver) == nullptr) {
      platform::DriverInfo3 info;
      info.name = driver;
      info.driverPath = "UNIDRV.DLL";
      info.dataFile = "MQ450.GPD";
      info.configFile = "UNIDRVUI.DLL";
      spooler.AddPrinterDriver(info);
    }
    if (!spooler.HasProcessor("", "WinPrint")) spooler.AddPrintProcessor("", "winprint.dll", "WinPrint");
    if (!spooler.HasPort(port)) spooler.AddPortName(port);
    platform::PrinterInfo2 printer;
    printer.printerName = name;
    printer.driverName = driver;
    printer.portName = port;
    printer.printProcessor = "WinPrint";
    spooler.AddPrinter(printer);
  }
  void AddMonitor(const std::string& name) {
    platform::CallJournal::Quiet quiet(&p.journal);
    spooler.AddMonitor({name, "", "x.dll"});
  }

  UninstallServices Services() {
    return UninstallServices{spooler, p.registry, p.files,        p.profile,   p.system,
                             p.clock, p.shell,    serviceControl, redirection, shutdown};
  }

  // The component list as the dialog fills it, with the given names checked (all when checkAll).
  std::vector<ComponentItem> Items(const std::vector<std::string>& checked, bool checkAll = false) {
    platform::CallJournal::Quiet quiet(&p.journal);
    UninstallConfig config(p.profile, kIniPath);
    std::vector<ComponentItem> items;
    for (const std::string& name : BuildComponentList(spooler, config, settings)) {
      bool on = checkAll || std::find(checked.begin(), checked.end(), name) != checked.end();
      items.push_back({name, on});
    }
    return items;
  }

  RemovalResult Run(std::vector<ComponentItem>& items, bool usbDriver = false) {
    UninstallConfig config(p.profile, kIniPath);
    UninstallTexts texts(p.profile, kProgram, p.system.langId);
    RemovalEngine engine(Services(), config, texts, ui, settings);
    return engine.Uninstall(items, usbDriver);
  }

  // The waits of the run in milliseconds, in order.
  std::vector<int> Sleeps() const {
    std::vector<int> waits;
    for (const std::string& line : p.journal.CallsTo("Sleep"))
      waits.push_back(std::stoi(line.substr(line.find('=') + 1)));
    return waits;
  }

  platform::FakePlatform p;
  platform::FakeSpooler spooler;
  platform::FakeServiceControl serviceControl{p.journal};
  platform::FakeFsRedirection redirection{p.journal};
  platform::FakeSystemShutdown shutdown{p.journal};
  RecordingRemovalUi ui;
  RemovalSettings settings;
};

inline std::vector<std::string> Names(const std::vector<ComponentItem>& items) {
  std::vector<std::string> names;
  for (const ComponentItem& item : items) names.push_back(item.name);
  return names;
}

}  // namespace mq::uninstall::testing
