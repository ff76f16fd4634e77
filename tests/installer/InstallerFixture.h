// An in-memory Windows machine with a small package in C:\Package, for the installer's tests: one receipt
// model XY-100 with every key set, the monitors of every system, a language file whose texts are their own
// keys in angle brackets, and the driver store and driver cache of the running system. Its spooler looks for
// the files it is given, as Windows does.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/LanguageTexts.h"
#include "installer/InstallEngine.h"
#include "installer/UniversalDriver.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeServices.h"
#include "platform/fake/FakeSpooler.h"

namespace mq::installer::testing {

inline constexpr const char* kPackage = "C:\\Package";
inline constexpr const char* kSetupIni = "C:\\Package\\DRVCONFIG\\setup.ini";

inline const char* const kMessageKeys[] = {"IDS_ERR_ADDMONITOR",
                                           "IDS_ERR_ADDPORTERROR",
                                           "IDS_ERR_ADDPRINTER",
                                           "IDS_ERR_ADDPRNDRV3",
                                           "IDS_ERR_ADDPROCESSOR",
                                           "IDS_ERR_ALLOCMEMORY",
                                           "IDS_ERR_COPYFIEL",
                                           "IDS_ERR_COPYFIEL1",
                                           "IDS_ERR_DIRTYPE",
                                           "IDS_ERR_GETDRIVERDIR",
                                           "IDS_ERR_GETPRODIR",
                                           "IDS_ERR_GETSYSDIR",
                                           "IDS_ERR_GETWINDIR",
                                           "IDS_ERR_IPADDRISNULL",
                                           "IDS_ERR_LOSTDRIVERFILE",
                                           "IDS_ERR_NEEDRESTART",
                                           "IDS_ERR_NOSUPPORTINTERFACE",
                                           "IDS_ERR_NOSUPPORTUSB",
                                           "IDS_ERR_SELPRINTER",
                                           "IDS_ERR_TOOMANY",
                                           "IDS_ERR_UNSUPPORTCOM",
                                           "IDS_ERR_UPDATEUSB",
                                           "IDS_INF_NTRESTART",
                                           "IDS_INF_USBRESTART",
                                           "IDS_INF_RESTART",
                                           "IDS_ERR_EXITWIN",
                                           "IDS_NOTSUPPORT2003",
                                           "IDS_NOTSUPPORT2008",
                                           "IDS_NOTSUPPORTNT",
                                           "IDS_NOTSUPPORTVISTA",
                                           "IDS_NOTSUPPORTWin7"};

// Records the message boxes; answers questions with a fixed answer.
class RecordingUi : public InstallUi {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    shown.push_back(std::string(caption) + "|" + std::string(text));
  }
  bool AskYesNo(std::string_view text) override {
    asked.emplace_back(text);
    return answer;
  }
  bool RestartWindows() override { return restartWorks; }
  std::vector<std::string> shown;
  std::vector<std::string> asked;
  bool answer = false;
  bool restartWorks = true;
};

// A USB step that installs through the vendor driver without asking anything, as the USB support will when
// the connected printer already carries the right ID.
class VendorDriverUsb : public UsbInstallStep {
 public:
  Outcome Decide(InstallJob&, std::string*) override { return Outcome::kContinue; }
  Outcome CheckPrinterId(InstallJob&, std::string*) override { return Outcome::kContinue; }
};

class TestMachine {
 public:
  // windows98: a Windows 98 machine, whose spooler's own environment is "Windows 4.0".
  explicit TestMachine(bool is64 = false, bool windows98 = false) : is64_(is64) {
    // The spooler looks for the driver and processor files it is given, as Windows does.
    spooler = std::make_unique<platform::FakeSpooler>(
        p.journal, windows98 ? "Windows 4.0" : is64 ? "Windows x64" : "Windows NT x86", &p.files);
    if (is64) {
      p.system.wow64 = true;
      p.system.architecture = platform::kProcessorArchitectureAmd64;
    }
    p.files.MakeFolders(spooler->DriverDirectory(""));
    p.files.MakeFolders(spooler->ProcessorDirectory(""));
    p.files.MakeFolders("C:\\Windows\\system32\\wbem");
    p.files.MakeFolders("C:\\Program Files");
    WritePackage();
  }

  InstallerServices Services() {
    return InstallerServices{p.Services(), *spooler, services, cabinet, redirection, usb, {}};
  }

  // Sets key in every per-system section of the receipt model file (or of the file given).
  void SetModelKey(const std::string& key, const std::string& value, const std::string& model = "XY-100") {
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"}) {
      p.profile.WriteString(ModelFile(), model + suffix, key, value);
    }
  }
  void SetPortKey(const std::string& key, const std::string& value) {
    p.profile.WriteString(ModelFile(), "XY-100.PORT", key, value);
  }
  void SetMonitorKey(const std::string& key, const std::string& value) {
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"}) {
      p.profile.WriteString(kSetupIni, std::string("COMMON-MONITOR") + suffix, key, value);
    }
  }
  std::string ModelFile() const {
    return is64_ ? "C:\\Package\\DRVCONFIG\\setup_receipt_64.ini"
                 : "C:\\Package\\DRVCONFIG\\setup_receipt.ini";
  }
  std::string W() const { return is64_ ? "C:\\Package\\W64\\" : "C:\\Package\\W32\\"; }
  std::string DriverDir() const { return spooler->DriverDirectory(""); }

  platform::FakePlatform p;
  std::unique_ptr<platform::FakeSpooler> spooler;
  platform::FakeServiceControl services{p.journal};
  platform::FakeCabinet cabinet{p.journal, p.files};
  platform::FakeFsRedirection redirection{p.journal};
  platform::FakeUsbDevices usb{p.journal};

 private:
  void WritePackage() {
    std::string setup =
        "[DEVICENAME]\nDEVICENUMBER=3\nDEVICENAME1=XY-100-ReceiptPrinter\nDEVICENAME2=XY-L1-LabelPrinter\n"
        "DEVICENAME3=BARE\nDEFAULTNAME=1\nSHELLEXENAME=Tool\n[ProcessorVersion]\nDriverVersion=5\n"
        "[SUPPORTED-USB-DEVICE]\nZNTUSB1=7\n";
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"}) {
      setup += std::string("[COMMON-MONITOR") + suffix +
               "]\nCOMMONitorPName=ZNT COM "
               "Monitor\nCOMMONitorPDLLName=zntcom.dll\nCOMMONitorPUIDLLName=zntcomui.dll\n"
               "COMMONitorVersion=3\nUSBMONitorPName=ZNT USB Monitor\nUSBMONitorPDLLName=zntusb.dll\n"
               "USBMONitorPUIDLLName=0\nUSBMONitorVersion=2\nUSBLMONitorName=ZNT Language Monitor\n"
               "USBLMONitorDLLName=zntlang.dll\nUSBLMONitorVersion=4\n";
    }
    p.files.Put(kSetupIni, setup);

    std::string model =
        "[XY-100.PORT]\nUSBSUPPORTED=1\nLPTSUPPORTED=1\nCOMSUPPORTED=1\nNETSUPPORTED=1\nLPTDEFAULT=1\n"
        "RASTERVISIABLE=1\nAdvancedSetup=1\nBaudRate=19200\nSystemNTSupported=1\nSystem2003Supported=1\n"
        "SystemVistaSupported=1\nSystem2008Supported=1\nSystemWin7Supported=1\n";
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"}) {
      model +=
          std::string("[XY-100") + suffix +
          "]\nGDIDriverName=XY-100 Old\nDriverNameS=XY-100 S\nDriverNameP=XY-100 P\nDriverNameU=XY-100 U\n"
          "DriverNameN=XY-100 "
          "N\nATTRIBUTES=64\nGDI2KDDKDEV=1\nSTD2KDDKDEV=0\nControlFontFile=MQ450CONTROL.dat\n"
          "USBInternalID=0\nLanguageResourceFile1=LANGUAGE_MQ450.ini\nLanguageResourceFile2=ENG_MQ450.res\n"
          "DriverlogViewer=0\nDriverlogINI=0\n";
      for (const char* set : {"GDI", "STD"}) {
        std::string s(set);
        model += s + "DriverPath=xydrv.dll\n" + s + "DataFile=XY100.GPD\n" + s + "ConfigFile=xyui.dll\n" + s +
                 "HelpFile=xy.hlp\n" + s + "DataFileDLLName=xyres.dll\n" + s + "DataOemuiDLL=MQ450UI.dll\n" +
                 s + "DataOemuniDLL=0\n" + s + "DataOemuniini=0\n" + s + "ProcessorDLLName=xyproc.dll\n" + s +
                 "PrintProcessor=XYPrint\n";
      }
    }
    p.files.Put(ModelFile(), model);

    std::string language = "[Message]\n";
    for (const char* key : kMessageKeys) language += std::string(key) + "=<" + key + ">\n";
    p.files.Put("C:\\Package\\language\\setup_EN.ini", language);

    for (const char* file : {"xydrv.dll", "XY100.GPD", "xyui.dll", "xy.hlp", "xyres.dll", "MQ450UI.dll",
                             "xyproc.dll", "MQ450CONTROL.dat", "LANGUAGE_MQ450.ini", "ENG_MQ450.res",
                             "zntcom.dll", "zntcomui.dll", "zntusb.dll", "zntlang.dll", "DriverLog.ini",
                             "srclient.dll", "framedyn.dll", "newdev.dll", "viewer.exe"}) {
      p.files.Put(W() + file, std::string("package ") + file);
    }
    std::string store =
        std::string("C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\") +
        (is64_ ? "AMD64\\" : "I386\\");
    for (const char* file : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL", "UNIDRV.DLL"}) {
      p.files.Put(store + file, std::string("system ") + file);
    }
    // Windows 2000, XP and Server 2003 keep them in the driver cache's cabinets.
    std::string cabinetPath =
        std::string("C:\\Windows\\Driver Cache\\") + (is64_ ? "AMD64" : "i386") + "\\driver.cab";
    p.files.Put(cabinetPath, "cabinet");
    for (std::string_view file : kUniversalDriverFiles) {
      cabinet.cabinets[cabinetPath][std::string(file)] = "cache " + std::string(file);
    }
  }

  bool is64_;
};

// The pace of a run: every wait on the virtual clock in order (milliseconds), and how many times the calls
// that the installation repeats or polls were made (a call not made is left out).
struct RunPace {
  std::vector<uint32_t> waits;
  std::map<std::string, size_t> calls;
  bool operator==(const RunPace&) const = default;
};

inline void PrintTo(const RunPace& pace, std::ostream* out) {
  *out << "waits {";
  for (uint32_t wait : pace.waits) *out << " " << wait;
  *out << " } calls {";
  for (const auto& [name, count] : pace.calls) *out << " " << name << "=" << count;
  *out << " }";
}

inline RunPace PaceOf(const platform::CallJournal& journal) {
  RunPace pace;
  for (const std::string& line : journal.CallsTo("Sleep")) {
    pace.waits.push_back(static_cast<uint32_t>(std::stoul(line.substr(line.find('=') + 1))));
  }
  for (const char* call :
       {"AddPrinterW", "ControlService", "EnumPortsW", "QueryServiceStatus", "StartServiceW"}) {
    if (size_t count = journal.CountOf(call)) pace.calls[call] = count;
  }
  return pace;
}

// A machine, its package configuration and an engine, with a job for XY-100 on ZNTCOM1: under Windows 7.
class EngineFixture {
 public:
  explicit EngineFixture(bool is64 = false, uint16_t langId = 0x0409, bool windows98 = false)
      : machine(is64, windows98),
        config(machine.p.profile, kPackage, is64),
        texts(machine.p.profile, "C:\\Package\\language", "setup", langId) {
    job.model = "XY-100";
    job.portName = is64 ? "COM1:" : "ZNTCOM1:";
    job.os = common::OsGeneration::kWin7;
    job.raster = true;  // the GDI file set
    job.serial = SerialSettings{19200, 8, 'n', 1.0, 'p'};
  }

  // An earlier installation of the package's serial monitor and print processor, with these versions
  // recorded.
  void InstallComponents(uint32_t monitorVersion, uint32_t processorVersion) {
    machine.p.registry.PutDword("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\ZNT COM Monitor",
                                "DriverVersion", monitorVersion);
    machine.p.registry.PutDword(
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "
        "Processors\\XYPrint",
        "DriverVersion", processorVersion);
    machine.spooler->AddMonitor({"ZNT COM Monitor", "", "zntcom.dll"});
    machine.p.files.Put(machine.spooler->ProcessorDirectory("") + "\\xyproc.dll", "installed xyproc.dll");
    machine.spooler->AddPrintProcessor("", "xyproc.dll", "XYPrint");
  }

  // The pace of the last run (since Run).
  RunPace Pace() const { return PaceOf(machine.p.journal); }

  InstallEngine MakeEngine() { return InstallEngine(machine.Services(), config, texts, ui, *usbStep); }

  // Preparation and worker as the wizard runs them; the journal starts empty.
  PrepareResult Run() {
    machine.p.journal.Clear();
    InstallEngine engine = MakeEngine();
    PrepareResult prepared = engine.Prepare(job);
    if (prepared.outcome == PrepareResult::Outcome::kReady) engine.RunWorker(job);
    return prepared;
  }

  TestMachine machine;
  SetupConfig config;
  common::LanguageTexts texts;
  RecordingUi ui;
  VendorDriverUsb vendorUsb;
  UsbNotAvailable noUsb;
  UsbInstallStep* usbStep = &noUsb;
  InstallJob job;
};

}  // namespace mq::installer::testing
