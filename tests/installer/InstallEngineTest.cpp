// The installation engine against the in-memory machine: the order of its steps, every message it can end
// with, and the cases where the installed state decides what happens.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "InstallerFixture.h"
#include "installer/Ports.h"
#include "platform/WinError.h"

namespace mq::installer {
namespace {

using common::OsGeneration;
using testing::EngineFixture;
using testing::RunPace;
using Outcome = PrepareResult::Outcome;

constexpr const char* kMonitorKey = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
constexpr const char* kProcessorKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "
    "Processors\\XYPrint";

// One component updated on Windows 7: the spooler stopped (and 100 ms), 500 ms, the component copied, the
// spooler started and found running at the first look; then the printer added.
const RunPace kOneUpdateOnWindows7{
    {100, 500}, {{"AddPrinterW", 1}, {"ControlService", 1}, {"QueryServiceStatus", 1}, {"StartServiceW", 1}}};
// The spooler not running after an update: ten looks 300 ms apart, one more start and 2500 ms.
const RunPace kSpoolerNeverRunning{{100, 500, 300, 300, 300, 300, 300, 300, 300, 300, 300, 300, 2500},
                                   {{"ControlService", 1}, {"QueryServiceStatus", 10}, {"StartServiceW", 2}}};

// Index of the first journal line starting with prefix, or -1.
int IndexOf(const std::vector<std::string>& lines, const std::string& prefix) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
  }
  return -1;
}

TEST(InstallEngineTest, SerialInstallRunsTheStepsInOrder) {
  EngineFixture f;
  PrepareResult prepared = f.Run();
  ASSERT_EQ(prepared.outcome, Outcome::kReady) << prepared.message;
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.job.resultText, "<IDS_INF_NTRESTART>");
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));

  const std::vector<std::string>& lines = f.machine.p.journal.Lines();
  int utility =
      IndexOf(lines, "WritePrivateProfileStringW file=C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini");
  int monitorCopy = IndexOf(lines, "CopyFileW source=C:\\Package\\W32\\ZNTCOM.DLL");
  int monitor = IndexOf(lines, "AddMonitorW name=ZNT COM Monitor environment= dll=zntcom.dll");
  int processor = IndexOf(lines, "AddPrintProcessorW environment= dll=xyproc.dll name=XYPrint");
  int firstDriverFile = IndexOf(lines, "CopyFileW source=C:\\Package\\W32\\XYUI.DLL");
  int universal = IndexOf(
      lines,
      "CopyFileW "
      "source=C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\I386\\TTFSUB.GPD");
  int driver = IndexOf(lines, "AddPrinterDriverW");
  int printer = IndexOf(
      lines, "AddPrinterW name=XY-100(S) port=ZNTCOM1: driver=XY-100 S processor=XYPrint attributes=64");
  int serial = IndexOf(lines, "RegSetValueExW");
  int step = 0;
  for (int index : {utility, monitorCopy, monitor, processor, firstDriverFile, universal, driver, printer}) {
    ASSERT_GE(index, 0) << "step " << step;
    ++step;
  }
  EXPECT_LT(utility, monitorCopy);
  EXPECT_LT(monitorCopy, monitor);
  EXPECT_LT(monitor, processor);
  EXPECT_LT(processor, firstDriverFile);
  EXPECT_LT(firstDriverFile, universal);
  EXPECT_LT(universal, driver);
  EXPECT_LT(driver, printer);
  EXPECT_EQ(lines[driver],
            "AddPrinterDriverW version=3 name=XY-100 S environment= driverPath=xydrv.dll dataFile=XY100.GPD "
            "configFile=xyui.dll helpFile=xy.hlp dependentFiles=XY100.GPD,TTFSUB.GPD,UNIRES.DLL,STDNAMES.GPD,"
            "xyres.dll,MQ450UI.dll monitorName=");
  EXPECT_GT(IndexOf(std::vector<std::string>(lines.begin() + printer, lines.end()), "RegSetValueExW"), 0);
  EXPECT_GE(serial, 0);

  platform::FakeFileSystem& files = f.machine.p.files;
  std::string dir = f.machine.DriverDir();
  for (const char* name : {"XYUI.DLL", "XY100.GPD", "XYDRV.DLL", "XY.HLP", "XYRES.DLL", "MQ450UI.DLL",
                           "TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"}) {
    EXPECT_TRUE(files.Exists(dir + "\\" + name)) << name;
  }
  for (const char* name : {"MQ450CONTROL.DAT", "LANGUAGE_MQ450.INI", "ENG_MQ450.RES"}) {
    EXPECT_TRUE(files.Exists(dir + "\\3\\" + name)) << name;
  }
  EXPECT_EQ(files.Contents(dir + "\\UNIRES.DLL"), "system UNIRES.DLL");
  EXPECT_TRUE(files.Exists("C:\\Windows\\system32\\ZNTCOM.DLL"));
  EXPECT_TRUE(files.Exists("C:\\Windows\\system32\\ZNTCOMUI.DLL"));

  platform::FakeRegistry& registry = f.machine.p.registry;
  EXPECT_EQ(registry.GetDword(std::string(kMonitorKey) + "ZNT COM Monitor", "DriverVersion"), 3u);
  EXPECT_EQ(registry.GetDword(kProcessorKey, "DriverVersion"), 5u);
  EXPECT_EQ(registry.GetString("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM1:"),
            "19200,n,8,1,p");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  EXPECT_EQ(f.machine.p.profile.GetString("C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini",
                                          "PortSetting.COM", "PortName", "", 100),
            "COM1:");
  EXPECT_NE(f.machine.spooler->FindPrinter("XY-100(S)"), nullptr);
  EXPECT_EQ(f.machine.spooler->defaultPrinter(), "");
  EXPECT_EQ(f.machine.p.journal.CountOf("ControlService"), 0u);
}

TEST(InstallEngineTest, SixtyFourBitParallelInstallWithDefaultPrinter) {
  EngineFixture f(true);
  f.job.portName = "LPT1:";
  f.job.setDefault = true;
  ASSERT_EQ(f.Run().outcome, Outcome::kReady);
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.machine.spooler->defaultPrinter(), "XY-100(P)");
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
  EXPECT_EQ(f.machine.p.journal.CountOf("AddMonitorW"), 0u);
  EXPECT_TRUE(f.machine.p.files.Exists(f.machine.DriverDir() + "\\3\\ENG_MQ450.RES"));
  // The plug-in reads its control-font table from the 32-bit driver folder on a 64-bit system too.
  EXPECT_TRUE(f.machine.p.files.Exists("C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\MQ450CONTROL.DAT"));
  EXPECT_FALSE(f.machine.p.files.Exists(f.machine.DriverDir() + "\\3\\MQ450CONTROL.DAT"));
  EXPECT_EQ(
      f.machine.p.journal.CallsTo("SendMessageTimeoutW"),
      (std::vector<std::string>{"SendMessageTimeoutW message=WM_SETTINGCHANGE area=windows timeout=1000"}));
  EXPECT_TRUE(
      f.machine.p.registry.HasKey("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows "
                                  "x64\\Print Processors\\XYPrint"));
  EXPECT_EQ(f.machine.p.profile.GetString("C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini",
                                          "PortSetting.LPT", "PortName", "", 100),
            "LPT1:");
}

TEST(InstallEngineTest, NoSerialMonitorOnSixtyFourBitWindows) {
  EngineFixture f(true);
  ASSERT_EQ(f.Run().outcome, Outcome::kReady);
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.machine.p.journal.CountOf("AddMonitorW"), 0u);
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
  EXPECT_NE(f.machine.spooler->FindPrinter("XY-100(S)"), nullptr);
  EXPECT_EQ(f.machine.spooler->FindPrinter("XY-100(S)")->portName, "COM1:");
  EXPECT_EQ(f.machine.p.profile.GetString("C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini",
                                          "PortSetting.COM", "PortName", "", 100),
            "COM1:");
}

TEST(InstallEngineTest, UsbInstallRecordsThePortAndUsesTheLanguageMonitor) {
  EngineFixture f;
  f.usbStep = &f.vendorUsb;
  f.job.portName = "ZNTUSB1";
  ASSERT_EQ(f.Run().outcome, Outcome::kReady);
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.job.resultText, "<IDS_INF_USBRESTART>");
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}, {"EnumPortsW", 2}}}));
  EXPECT_NE(f.machine.spooler->FindPrinter("XY-100(U) 1"), nullptr);
  EXPECT_NE(f.machine.spooler->FindMonitor("ZNT USB Monitor"), nullptr);
  EXPECT_NE(f.machine.spooler->FindMonitor("ZNT Language Monitor"), nullptr);
  EXPECT_EQ(f.machine.spooler->FindDriver("", "XY-100 U")->monitorName, "ZNT Language Monitor");
  EXPECT_EQ(f.machine.p.registry.GetDword("HKLM\\SOFTWARE\\ZNT\\PORTNAME", "ZNTUSB1"), 7u);
  EXPECT_EQ(f.machine.p.registry.GetDword("HKLM\\SOFTWARE\\ZNT\\PRINTERPORT", "ZNTUSB1"), 0u);
  // The port enumeration learns its size first.
  std::vector<std::string> enums = f.machine.p.journal.CallsTo("EnumPortsW");
  ASSERT_EQ(enums.size(), 2u);
  EXPECT_EQ(enums[0], "EnumPortsW level=1 bufferSize=100");
  EXPECT_EQ(enums[1], "EnumPortsW level=1 bufferSize=1000");
  // The spooler is asked to add the printer only after the driver names the language monitor.
  EXPECT_LT(IndexOf(f.machine.p.journal.Lines(), "AddMonitorW name=ZNT Language Monitor"),
            IndexOf(f.machine.p.journal.Lines(), "AddPrinterDriverW"));
}

TEST(InstallEngineTest, UsbWithoutUsbSupportStopsWithAClearMessage) {
  EngineFixture f;
  f.job.portName = "ZNTUSB1";
  PrepareResult result = f.Run();
  EXPECT_EQ(result.outcome, Outcome::kStopped);
  EXPECT_EQ(result.message, UsbNotAvailable::kMessage);
  EXPECT_EQ(f.job.resultState, kStateFailed);
  EXPECT_EQ(f.Pace(), (RunPace{{}, {}}));
  EXPECT_EQ(f.machine.p.journal.CountOf("AddPrinterW"), 0u);
  EXPECT_FALSE(f.machine.p.registry.HasKey("HKLM\\SOFTWARE\\ZNT\\PORTNAME"));
}

TEST(InstallEngineTest, NetworkInstallCreatesThePort) {
  EngineFixture f;
  f.job.portName = "NET:";
  f.job.ipAddress = {192, 168, 1, 20};
  ASSERT_EQ(f.Run().outcome, Outcome::kReady);
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_TRUE(f.machine.spooler->HasPort("ZNTIP_192.168.1.20"));
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
  ASSERT_NE(f.machine.spooler->FindPrinter("XY-100(E)"), nullptr);
  EXPECT_EQ(f.machine.spooler->FindPrinter("XY-100(E)")->portName, "ZNTIP_192.168.1.20");
  EXPECT_EQ(f.machine.p.profile.GetString("C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini",
                                          "PortSetting.NET", "IPAddr", "", 100),
            "192.168.1.20");
}

// Every message the preparation and the worker can end with. A row changes the machine or the job, then runs
// the installation; the text must appear where the row says.
TEST(InstallEngineTest, MessagesTable) {
  struct Row {
    const char* name;
    std::function<void(EngineFixture&)> setUp;
    const char* text;       // contained in the message or result text
    bool stopsPreparation;  // else the worker fails
    RunPace pace;           // left out: no waits and none of the counted calls
  };
  auto unsupported = [](OsGeneration g, const char* key) {
    return [g, key](EngineFixture& f) {
      f.job.os = g;
      f.machine.SetPortKey(key, "0");
    };
  };
  auto fail = [](const char* function, uint32_t error, int nth = 0) {
    return [=](EngineFixture& f) { f.machine.p.journal.FailCall(function, error, nth); };
  };
  const Row rows[] = {
      {"no model", [](EngineFixture& f) { f.job.model.clear(); }, "<IDS_ERR_SELPRINTER>", true},
      {"2003", unsupported(OsGeneration::kServer2003, "System2003Supported"), "<IDS_NOTSUPPORT2003>", true},
      {"NT", unsupported(OsGeneration::kNt4, "SystemNTSupported"), "<IDS_NOTSUPPORTNT>", true},
      {"Vista", unsupported(OsGeneration::kVista, "SystemVistaSupported"), "<IDS_NOTSUPPORTVISTA>", true},
      {"2008", unsupported(OsGeneration::kServer2008, "System2008Supported"), "<IDS_NOTSUPPORT2008>", true},
      {"Win7", unsupported(OsGeneration::kWin7, "SystemWin7Supported"), "<IDS_NOTSUPPORTWin7>", true},
      {"port kind", [](EngineFixture& f) { f.job.portName = "FILE:"; }, "<IDS_ERR_NOSUPPORTINTERFACE>", true},
      {"USB on NT",
       [](EngineFixture& f) {
         f.usbStep = &f.vendorUsb;
         f.job.portName = "ZNTUSB1";
         f.job.os = OsGeneration::kNt4;
       },
       "<IDS_ERR_NOSUPPORTUSB>", true},
      {"address 0.0.0.0", [](EngineFixture& f) { f.job.portName = "NET:"; }, "<IDS_ERR_IPADDRISNULL>", true},
      {"TCP/IP port",
       [](EngineFixture& f) {
         f.job.portName = "NET:";
         f.job.ipAddress = {10, 0, 0, 1};
         f.machine.p.journal.FailCall("OpenPrinterW", err::kUnknownPort, 1);
       },
       "<IDS_ERR_ADDPORTERROR>", true},
      {"required file empty",
       [](EngineFixture& f) { f.machine.SetModelKey("GDIHelpFile", ""); },
       "<IDS_ERR_LOSTDRIVERFILE>",
       false,
       {{200}, {}}},
      {"resource DLL empty",
       [](EngineFixture& f) { f.machine.SetModelKey("GDIDataFileDLLName", ""); },
       "<IDS_ERR_LOSTDRIVERFILE>",
       false,
       {{200}, {}}},
      {"copy",
       [](EngineFixture& f) { f.machine.p.files.Delete(f.machine.W() + "xy.hlp"); },
       "<IDS_ERR_COPYFIEL>C:\\Package\\W32\\XY.HLP\r\nThe system cannot find the file "
       "specified.<IDS_ERR_COPYFIEL1>",
       false,
       {{200}, {}}},
      {"locked driver file",
       fail("CopyFileW", err::kSharingViolation, 4),
       "<IDS_ERR_COPYFIEL>XYUI.DLL\r\nThe process cannot access the file",
       false,
       {{200}, {}}},
      {"driver directory",
       fail("GetPrinterDriverDirectoryW", err::kInvalidParameter),
       "<IDS_ERR_GETDRIVERDIR>",
       false,
       {{200}, {}}},
      {"processor directory", fail("GetPrintProcessorDirectoryW", err::kInvalidParameter),
       "<IDS_ERR_GETPRODIR>", false},
      {"system folder", [](EngineFixture& f) { f.machine.p.system.systemDirectory.clear(); },
       "<IDS_ERR_GETSYSDIR>", false},
      {"Windows folder",
       [](EngineFixture& f) {
         f.machine.SetModelKey("DriverlogViewer", "viewer.exe");
         f.machine.p.system.windowsDirectory.clear();
         f.machine.SetMonitorKey("COMMONitorPDLLName", "");
         f.job.os = OsGeneration::kXp;  // no driver store lookup
         f.machine.SetModelKey("GDI2KDDKDEV", "0");
       },
       "<IDS_ERR_GETWINDIR>",
       false,
       {{200}, {}}},
      {"driver store",
       [](EngineFixture& f) {
         f.machine.p.files.Delete(
             "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\I386\\TTFSUB.GPD");
         f.machine.p.files.Delete(
             "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\I386\\STDNAMES.GPD");
         f.machine.p.files.Delete(
             "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\I386\\UNIRES.DLL");
         f.machine.p.files.Delete(
             "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\I386\\UNIDRV.DLL");
         f.machine.p.files.RemoveFolder(
             "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234\\I386");
         f.machine.p.files.RemoveFolder(
             "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234");
         f.machine.SetModelKey("GDIDriverPath", "UNIDRV.DLL");
       },
       "Couldn't find system files.",
       false,
       {{200}, {}}},
      {"monitor", fail("AddMonitorW", err::kAccessDenied), "<IDS_ERR_ADDMONITOR>\r\nAccess is denied.",
       false},
      {"processor", fail("AddPrintProcessorW", err::kPrintProcessorAlreadyInstalled),
       "<IDS_ERR_ADDPROCESSOR>", false},
      {"driver",
       fail("AddPrinterDriverW", err::kInvalidParameter),
       "<IDS_ERR_ADDPRNDRV3>\r\nThe parameter is incorrect.",
       false,
       {{200}, {}}},
      {"printer",
       fail("AddPrinterW", err::kUnknownPort),
       "<IDS_ERR_ADDPRINTER>\r\nThe specified port is unknown.",
       false,
       {{200}, {{"AddPrinterW", 1}}}},
      {"too many",
       fail("AddPrinterW", err::kPrinterAlreadyExists),
       "<IDS_ERR_TOOMANY>",
       false,
       {{200}, {{"AddPrinterW", 99}}}},
      {"ports",
       [](EngineFixture& f) {
         f.usbStep = &f.vendorUsb;
         f.job.portName = "ZNTUSB2";
         f.machine.p.journal.FailCall("EnumPortsW", err::kNotEnoughMemory, 1);
       },
       "<IDS_ERR_ALLOCMEMORY>\r\n",
       false,
       {{200}, {{"EnumPortsW", 1}}}},
      {"spooler start",
       [](EngineFixture& f) {
         f.InstallComponents(1, 5);
         f.machine.p.journal.FailCall("StartServiceW", 1058);
       },
       "Start spool service error, error code = 1058", false, kSpoolerNeverRunning},
      {"spooler not back",
       [](EngineFixture& f) {
         f.InstallComponents(1, 5);
         f.machine.services.scriptedStates.assign(12, platform::kServiceStopped);
       },
       "StartSpoolService error", false, kSpoolerNeverRunning},
      {"Windows 98 locked",
       [](EngineFixture& f) {
         f.job.os = OsGeneration::kWin98;
         f.machine.p.registry.PutDword(kProcessorKey, "DriverVersion", 1);
         f.machine.p.registry.PutDword(
             "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Print "
             "Processors\\XYPrint",
             "DriverVersion", 1);
         f.job.portName = "LPT1:";
         f.machine.p.journal.FailCall("CopyFileW", err::kSharingViolation, 1);
         f.machine.p.journal.FailCall("CopyFileW", err::kAccessDenied, 2);
       },
       "<IDS_ERR_NEEDRESTART>", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EngineFixture f;
    row.setUp(f);
    PrepareResult result = f.Run();
    if (row.stopsPreparation) {
      EXPECT_EQ(result.outcome, Outcome::kStopped);
      EXPECT_NE(result.message.find(row.text), std::string::npos) << result.message;
      ASSERT_FALSE(f.ui.shown.empty());
      EXPECT_NE(f.ui.shown.back().find(row.text), std::string::npos);
      EXPECT_EQ(f.machine.p.journal.CountOf("AddPrinterDriverW"), 0u);
    } else {
      EXPECT_EQ(result.outcome, Outcome::kReady) << result.message;
      EXPECT_EQ(f.job.resultState, kStateFailed);
      EXPECT_NE(f.job.resultText.find(row.text), std::string::npos) << f.job.resultText;
      EXPECT_EQ(f.Pace(), row.pace);
    }
  }
}

TEST(InstallEngineTest, TcpPortFailureShowsTheSystemTextFirst) {
  EngineFixture f;
  f.job.portName = "NET:";
  f.job.ipAddress = {10, 0, 0, 1};
  f.machine.p.journal.FailCall("XcvDataW", err::kAccessDenied, 1);
  f.Run();
  EXPECT_EQ(f.ui.shown, (std::vector<std::string>{"ERROR|Access is denied.", "|<IDS_ERR_ADDPORTERROR>"}));
  EXPECT_EQ(f.Pace(), (RunPace{{}, {}}));
}

TEST(InstallEngineTest, SecondPrinterOnASerialPortIsNumbered) {
  EngineFixture f;
  InstallJob first = f.job;
  f.Run();
  ASSERT_EQ(f.job.resultState, kStateSucceeded);
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
  size_t attempts = 1;  // each run first tries the names taken before it
  for (const char* expected : {"XY-100(S)(1)", "XY-100(S)(2)"}) {
    f.job = first;
    f.Run();
    EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
    EXPECT_NE(f.machine.spooler->FindPrinter(expected), nullptr);
    EXPECT_EQ(f.job.driver.printer.printerName, expected);
    EXPECT_EQ(f.Pace(), (RunPace{{}, {{"AddPrinterW", ++attempts}}}));
  }
  // The monitor was registered once; later runs only compare versions.
  EXPECT_EQ(f.machine.p.journal.CountOf("AddMonitorW"), 0u);
}

TEST(InstallEngineTest, SecondPrinterOnTheSameUsbPortIsRefused) {
  EngineFixture f;
  f.usbStep = &f.vendorUsb;
  f.job.portName = "ZNTUSB2";
  InstallJob first = f.job;
  f.Run();
  ASSERT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  f.job = first;
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateFailed);
  EXPECT_EQ(f.job.resultText, "<IDS_ERR_TOOMANY>");
  EXPECT_EQ(f.machine.p.journal.CountOf("AddPrinterW"), 1u);
  EXPECT_EQ(f.Pace(), (RunPace{{}, {{"AddPrinterW", 1}, {"EnumPortsW", 2}}}));
}

TEST(InstallEngineTest, OnlyTheExactNameWinPrintMeansTheSystemProcessor) {
  struct Case {
    const char* name;
    bool installs;  // and fails: the package names no processor DLL
    RunPace pace;
  } cases[] = {
      {"WinPrint", false, {{}, {{"AddPrinterW", 1}}}}, {"winprint", true, {}}, {"WINPRINT", true, {}}};
  for (const Case& c : cases) {
    EngineFixture f;
    f.machine.SetModelKey("GDIPrintProcessor", c.name);
    f.machine.SetModelKey("GDIProcessorDLLName", "0");
    f.Run();
    EXPECT_EQ(f.machine.p.journal.CountOf("AddPrintProcessorW"), c.installs ? 1u : 0u) << c.name;
    EXPECT_EQ(f.job.updateFlags & kUpdateProcessor, 0u);
    EXPECT_EQ(f.Pace(), c.pace) << c.name;
  }
  // An installed "winprint" without a recorded version counts as an older package processor.
  EngineFixture f;
  f.machine.SetModelKey("GDIPrintProcessor", "winprint");
  f.machine.SetModelKey("GDIProcessorDLLName", "0");
  f.machine.p.registry.PutString(
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "
      "Processors\\winprint",
      "Driver", "winprint.dll");
  f.Run();
  EXPECT_EQ(f.job.updateFlags, kUpdateProcessor);
  EXPECT_EQ(f.Pace(), kOneUpdateOnWindows7);
}

TEST(InstallEngineTest, CurrentComponentsLeaveTheSpoolerAlone) {
  EngineFixture f;
  f.InstallComponents(3, 5);
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.job.updateFlags, 0u);
  EXPECT_EQ(f.machine.p.journal.CountOf("ControlService"), 0u);
  EXPECT_EQ(f.machine.p.journal.CountOf("AddMonitorW"), 0u);
  EXPECT_EQ(f.machine.p.journal.CountOf("AddPrintProcessorW"), 0u);
  EXPECT_EQ(f.Pace(), (RunPace{{}, {{"AddPrinterW", 1}}}));
}

TEST(InstallEngineTest, OnlyTheFirstOlderComponentIsUpdatedInARun) {
  EngineFixture f;
  f.InstallComponents(2, 4);
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.job.updateFlags, kUpdateSerialMonitor | kUpdateProcessor);
  EXPECT_EQ(f.machine.p.registry.GetDword(std::string(kMonitorKey) + "ZNT COM Monitor", "DriverVersion"), 3u);
  EXPECT_EQ(f.machine.p.registry.GetDword(kProcessorKey, "DriverVersion"), 4u);
  EXPECT_EQ(f.machine.p.files.Contents(f.machine.spooler->ProcessorDirectory("") + "\\XYPROC.DLL"),
            "installed xyproc.dll");
  // Stop, 100 ms, 500 ms, copy, start, wait until running (Windows 7: no fixed wait).
  const std::vector<std::string>& lines = f.machine.p.journal.Lines();
  int stop = IndexOf(lines, "ControlService service=Spooler control=stop");
  ASSERT_GE(stop, 0);
  EXPECT_EQ(lines[stop + 1], "Sleep milliseconds=100");
  EXPECT_EQ(lines[stop + 2], "Sleep milliseconds=500");
  int copy = IndexOf(lines, "CopyFileW source=C:\\Package\\W32\\ZNTCOM.DLL");
  int start = IndexOf(lines, "StartServiceW service=Spooler");
  EXPECT_LT(stop, copy);
  EXPECT_LT(copy, start);
  EXPECT_EQ(lines[start + 1], "QueryServiceStatus service=Spooler");
  EXPECT_EQ(f.Pace(), kOneUpdateOnWindows7);
}

TEST(InstallEngineTest, AnUpdatedSpoolerGetsTheWaitOfItsWindowsGeneration) {
  struct Case {
    OsGeneration os;
    std::vector<uint32_t> waits;
  };
  const Case cases[] = {{OsGeneration::kNt4, {100, 500, 1000}}, {OsGeneration::kWin2000, {100, 500, 1000}},
                        {OsGeneration::kXp, {100, 500, 2500}},  {OsGeneration::kServer2003, {100, 500, 2500}},
                        {OsGeneration::kVista, {100, 500}},     {OsGeneration::kServer2008, {100, 500}}};
  for (const Case& c : cases) {
    EngineFixture f;
    f.job.os = c.os;
    f.machine.SetModelKey("GDI2KDDKDEV", "0");  // no universal-driver files to look for
    f.InstallComponents(1, 5);
    f.Run();
    EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
    EXPECT_EQ(f.Pace(), (RunPace{c.waits, kOneUpdateOnWindows7.calls})) << static_cast<int>(c.os);
  }
}

TEST(InstallEngineTest, LockedMonitorDllIsReplacedUnderItsNewName) {
  EngineFixture f;
  std::string key = std::string(kMonitorKey) + "ZNT COM Monitor";
  f.InstallComponents(1, 5);
  f.machine.p.journal.FailCall("CopyFileW", err::kSharingViolation, 1);
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.machine.p.registry.GetString(key, "Driver"), "nzntcom.dll");
  EXPECT_TRUE(f.machine.p.files.Exists("C:\\Windows\\system32\\nZNTCOM.DLL"));
  EXPECT_EQ(f.machine.p.registry.GetDword(key, "DriverVersion"), 3u);
  EXPECT_EQ(f.Pace(), kOneUpdateOnWindows7);
}

TEST(InstallEngineTest, RenamedMonitorDllKeepsItsWholeName) {
  EngineFixture f;
  std::string longName = std::string(60, 'm') + ".dll";
  f.machine.SetMonitorKey("COMMONitorPDLLName", longName);
  f.machine.p.files.Put(f.machine.W() + longName, "monitor");
  f.InstallComponents(1, 5);
  f.machine.p.journal.FailCall("CopyFileW", err::kAccessDenied, 1);
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.machine.p.registry.GetString(std::string(kMonitorKey) + "ZNT COM Monitor", "Driver"),
            "n" + longName);
  EXPECT_EQ(f.Pace(), kOneUpdateOnWindows7);
}

TEST(InstallEngineTest, FailedUpdateStillRestartsTheSpooler) {
  EngineFixture f;
  f.InstallComponents(1, 5);
  f.machine.p.journal.FailCall("CopyFileW", err::kPathNotFound, 1);
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateFailed);
  EXPECT_NE(f.job.resultText.find("<IDS_ERR_COPYFIEL>ZNTCOM.DLL"), std::string::npos);
  EXPECT_EQ(f.machine.services.states["Spooler"], platform::kServiceRunning);
  EXPECT_EQ(f.Pace(),
            (RunPace{{100, 500}, {{"ControlService", 1}, {"QueryServiceStatus", 1}, {"StartServiceW", 1}}}));
}

TEST(InstallEngineTest, OnlyTheFourRequiredFilesWhenTheOthersAreZero) {
  EngineFixture f;
  for (const char* key : {"GDIDataFileDLLName", "GDIDataOemuiDLL", "ControlFontFile", "LanguageResourceFile1",
                          "LanguageResourceFile2", "GDIProcessorDLLName"}) {
    f.machine.SetModelKey(key, "0");
  }
  f.machine.SetModelKey("GDI2KDDKDEV", "0");
  f.machine.SetModelKey("GDIPrintProcessor", "WinPrint");
  f.machine.SetMonitorKey("COMMONitorPDLLName", "");
  f.machine.spooler->AddPrintProcessor("", "winprint.dll", "WinPrint");
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  std::vector<std::string> copies = f.machine.p.journal.CallsTo("CopyFileW");
  ASSERT_EQ(copies.size(), 4u);
  const char* order[] = {"XYUI.DLL", "XY100.GPD", "XYDRV.DLL", "XY.HLP"};
  for (size_t i = 0; i < 4; ++i)
    EXPECT_NE(copies[i].find(std::string("W32\\") + order[i]), std::string::npos);
  EXPECT_TRUE(f.machine.spooler->FindDriver("", "XY-100 S")->dependentFiles.empty());
  EXPECT_EQ(f.Pace(), (RunPace{{}, {{"AddPrinterW", 1}}}));
}

TEST(InstallEngineTest, DriverUtilityIniStaysWhenTheWorkerFails) {
  EngineFixture f;
  f.machine.p.journal.FailCall("AddPrinterDriverW", err::kInvalidParameter);
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateFailed);
  EXPECT_EQ(f.machine.p.profile.GetString("C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini",
                                          "PortSetting.COM", "BitsPerSecond", "", 100),
            "19200");
  // Nothing is rolled back.
  EXPECT_NE(f.machine.spooler->FindMonitor("ZNT COM Monitor"), nullptr);
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {}}));
}

TEST(InstallEngineTest, DriverLogFilesAndSpoolDirectoryOnXp) {
  EngineFixture f;
  f.job.os = OsGeneration::kXp;
  f.machine.SetModelKey("DriverlogINI", "DriverLog.ini");
  f.machine.SetModelKey("DriverlogViewer", "viewer.exe");
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_TRUE(f.machine.p.files.Exists("C:\\Program Files\\ZNT\\Utility\\DRIVERLOG.INI"));
  EXPECT_TRUE(f.machine.p.files.Exists("C:\\Program Files\\ZNT\\ZNTDriverlog\\VIEWER.EXE"));
  EXPECT_EQ(f.machine.p.registry.GetString(
                "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Printers\\XY-100(S)",
                "SpoolDirectory"),
            "C:\\windows\\system32\\spool\\printers");
  EXPECT_EQ(f.machine.p.journal.CountOf("StartServiceW"), 1u);
  // XP on 32-bit Windows also brings the system helper libraries when they are missing.
  EXPECT_TRUE(f.machine.p.files.Exists("C:\\Windows\\system32\\SRCLIENT.DLL"));
  EXPECT_TRUE(f.machine.p.files.Exists("C:\\Windows\\system32\\wbem\\FRAMEDYN.DLL"));
  EXPECT_EQ(f.Pace(),
            (RunPace{{200, 100, 300}, {{"AddPrinterW", 1}, {"ControlService", 1}, {"StartServiceW", 1}}}));
}

TEST(InstallEngineTest, FailedDriverLogCopyEndsTheRunAtTheWorkersFirstCheck) {
  EngineFixture f;
  f.machine.SetModelKey("DriverlogINI", "missing.ini");
  PrepareResult result = f.Run();
  EXPECT_EQ(result.outcome, Outcome::kReady);
  EXPECT_EQ(f.job.resultState, kStateFailed);
  EXPECT_NE(f.job.resultText.find("<IDS_ERR_COPYFIEL>C:\\Package\\W32\\MISSING.INI"), std::string::npos);
  EXPECT_EQ(f.machine.p.journal.CountOf("AddMonitorW"), 0u);
  EXPECT_EQ(f.Pace(), (RunPace{{}, {}}));
}

TEST(InstallEngineTest, UniversalFilesFromTheDriverCacheOnXp) {
  EngineFixture f;
  f.job.os = OsGeneration::kXp;
  f.machine.p.files.Put("C:\\Windows\\Driver Cache\\i386\\driver.cab", "cab");
  f.machine.p.files.Put("C:\\Windows\\Driver Cache\\i386\\sp3.cab", "cab");
  f.machine.cabinet.cabinets["C:\\Windows\\Driver Cache\\i386\\driver.cab"] = {{"unires.dll", "cab unires"},
                                                                               {"ttfsub.gpd", "cab ttfsub"},
                                                                               {"STDNAMES.GPD", "wrong case"},
                                                                               {"other.dll", "x"}};
  f.machine.cabinet.cabinets["C:\\Windows\\Driver Cache\\i386\\sp3.cab"] = {{"stdnames.gpd", "cab stdnames"}};
  f.Run();
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  std::string dir = f.machine.DriverDir();
  EXPECT_EQ(f.machine.p.files.Contents(dir + "\\UNIRES.DLL"), "cab unires");
  EXPECT_EQ(f.machine.p.files.Contents(dir + "\\STDNAMES.GPD"), "cab stdnames");
  EXPECT_FALSE(f.machine.p.files.Exists("C:\\Windows\\Temp\\other.dll"));
  EXPECT_EQ(f.machine.p.journal.CountOf("SetupIterateCabinetW"), 2u);  // once per run, not per file
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
}

TEST(InstallEngineTest, FinishStartsTheUtilityProgram) {
  struct Case {
    const char* shellExe;
    const char* program;
  } cases[] = {{"Tool", "C:\\Package\\Utility\\Tool.exe"}, {nullptr, "C:\\Package\\Utility\\0.exe"}};
  for (const Case& c : cases) {
    EngineFixture f;
    f.machine.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "SHELLEXENAME",
                                    c.shellExe ? std::optional<std::string_view>(c.shellExe) : std::nullopt);
    f.machine.p.journal.FailCall("ShellExecuteW", 2);
    InstallEngine engine = f.MakeEngine();
    f.job.resultText = "<IDS_INF_NTRESTART>";
    engine.Finish(f.job);
    EXPECT_EQ(f.machine.p.journal.CallsTo("ShellExecuteW"),
              (std::vector<std::string>{std::string("ShellExecuteW verb=open file=") + c.program +
                                        " parameters=/VERYSILENT directory= show=1 -> error 2"}));
    EXPECT_EQ(f.ui.shown, (std::vector<std::string>{"|<IDS_INF_NTRESTART>"}));
  }
}

TEST(InstallEngineTest, Windows98RestartQuestion) {
  EngineFixture f;
  f.job.os = OsGeneration::kWin98;
  f.ui.answer = true;
  f.ui.restartWorks = false;
  f.job.resultState = kStateSucceeded;  // a Windows 98 run ends without a text of its own
  InstallEngine engine = f.MakeEngine();
  engine.Finish(f.job);
  EXPECT_EQ(f.ui.shown, (std::vector<std::string>{"|<IDS_INF_NTRESTART>"}));
  EXPECT_EQ(f.ui.asked, (std::vector<std::string>{"<IDS_INF_RESTART>"}));
  EXPECT_EQ(f.job.resultText, "<IDS_ERR_EXITWIN>");
}

// Preparation, worker and finish as the wizard runs them; *tail receives the run's calls before the finish,
// with the profile reads left out and registry handles written as "key=K".
void RunToTheEnd(EngineFixture& f, std::vector<std::string>* tail) {
  PrepareResult prepared = f.Run();
  tail->clear();
  static const std::regex kHandle("key=0x[0-9A-F]+");
  for (const std::string& line : f.machine.p.journal.Lines()) {
    if (line.rfind("GetPrivateProfileStringW", 0) != 0)
      tail->push_back(std::regex_replace(line, kHandle, "key=K"));
  }
  if (prepared.outcome == Outcome::kReady) f.MakeEngine().Finish(f.job);
}

// Runs whose end once did not tell the truth: a failure shown as success, a damaged package installed as
// nothing, one error reported as another. Each row gives the state the run ends in, the last message shown
// and the last calls of the run.
TEST(InstallEngineTest, ResultsTellTheTruth) {
  const std::string modelFile = "C:\\Package\\DRVCONFIG\\setup_receipt.ini";
  const std::string store = "C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint.inf_1234";
  struct Row {
    const char* name;
    std::function<void(EngineFixture&)> setUp;
    int state;
    std::string message;            // the last message box
    std::vector<std::string> tail;  // the run's last calls
    RunPace pace;                   // left out: no waits and none of the counted calls
  };
  auto driverLogOn = [](OsGeneration os, const char* port) {
    return [=](EngineFixture& f) {
      f.job.os = os;
      f.job.portName = port;
      f.machine.SetModelKey("DriverlogINI", "DriverLog.ini");
      f.machine.p.journal.FailCall("StartServiceW", err::kAccessDenied);
    };
  };
  const Row rows[] = {
      {"spooler not started again after the spool folder moved",
       driverLogOn(OsGeneration::kXp, "LPT1:"),
       kStateFailed,
       "Start spool service error, error code = 5",
       {"ControlService service=Spooler control=stop", "Sleep milliseconds=100", "Sleep milliseconds=300",
        "StartServiceW service=Spooler -> error 5"},
       {{200, 100, 300}, {{"AddPrinterW", 1}, {"ControlService", 1}, {"StartServiceW", 1}}}},
      {"the same on a serial port still stores the port's settings",
       driverLogOn(OsGeneration::kServer2003, "ZNTCOM1:"),
       kStateFailed,
       "Start spool service error, error code = 5",
       {"StartServiceW service=Spooler -> error 5",
        "RegCreateKeyExW key=HKLM subKey=SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports "
        "access=0x20006",
        "RegSetValueExW key=K name=COM1: type=1 data=19200,n,8,1,p", "RegCloseKey key=K"},
       {{200, 100, 300}, {{"AddPrinterW", 1}, {"ControlService", 1}, {"StartServiceW", 1}}}},
      {"a language file without the processor's text",
       [](EngineFixture& f) {
         f.machine.p.profile.WriteString("C:\\Package\\language\\setup_EN.ini", "Message",
                                         "IDS_ERR_ADDPROCESSOR", std::nullopt);
         f.machine.p.journal.FailCall("AddPrintProcessorW", err::kAccessDenied);
       },
       kStateFailed,
       "The print processor could not be added.",
       {"AddPrintProcessorW environment= dll=xyproc.dll name=XYPrint -> error 5"}},
      {"a processor whose DLL the package does not name",
       [](EngineFixture& f) { f.machine.SetModelKey("GDIProcessorDLLName", "0"); },
       kStateFailed,
       "<IDS_ERR_ADDPROCESSOR>",
       {"AddPrintProcessorW environment= dll=0 name=XYPrint"}},
      {"the model file deleted",
       [&](EngineFixture& f) {
         f.job.os = OsGeneration::kVista;
         f.machine.p.files.Delete(modelFile);
       },
       kStateFailed,
       "The model file " + modelFile + " is missing from the package.",
       {"GetFileAttributesW path=" + modelFile}},
      {"the model's port section removed",
       [&](EngineFixture& f) {
         f.machine.p.profile.WriteString(modelFile, "XY-100.PORT", std::nullopt, std::nullopt);
       },
       kStateFailed,
       "The model file " + modelFile + " has no section [XY-100.PORT].",
       {"GetFileAttributesW path=" + modelFile, "GetPrivateProfileSectionNamesW file=" + modelFile}},
      {"the model file replaced by random bytes",
       [&](EngineFixture& f) {
         f.job.os = OsGeneration::kXp;
         f.machine.p.files.Put(modelFile, std::string("\x8f\x03[\xe2\x9f\x00q=\x11\r\n\xff", 12));
       },
       kStateFailed,
       "The model file " + modelFile + " has no section [XY-100.PORT].",
       {"GetFileAttributesW path=" + modelFile, "GetPrivateProfileSectionNamesW file=" + modelFile}},
      {"the model's section for the system removed",
       [&](EngineFixture& f) {
         f.machine.p.profile.WriteString(modelFile, "XY-100.Win7", std::nullopt, std::nullopt);
       },
       kStateFailed,
       "<IDS_ERR_LOSTDRIVERFILE>\r\n" + modelFile +
           " [XY-100.Win7] GDIDriverPath, GDIDataFile, GDIConfigFile, GDIHelpFile, DriverNameS",
       {"GetFileAttributesW path=" + modelFile, "GetPrivateProfileSectionNamesW file=" + modelFile}},
      {"a required file that reads 0",
       [](EngineFixture& f) { f.machine.SetModelKey("GDIDriverPath", "0"); },
       kStateFailed,
       "<IDS_ERR_LOSTDRIVERFILE>\r\n" + modelFile + " [XY-100.Win7] GDIDriverPath",
       {"GetFileAttributesW path=" + modelFile, "GetPrivateProfileSectionNamesW file=" + modelFile}},
      {"a required file present but empty",
       [](EngineFixture& f) { f.machine.SetModelKey("GDIHelpFile", ""); },
       kStateFailed,
       "<IDS_ERR_LOSTDRIVERFILE>\r\n" + modelFile + " [XY-100.Win7] GDIHelpFile",
       {"AddPrintProcessorW environment= dll=xyproc.dll name=XYPrint",
        "RegCreateKeyExW key=HKLM subKey=SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT "
        "x86\\Print Processors\\XYPrint access=0xF003F",
        "RegSetValueExW key=K name=DriverVersion type=4 data=5", "RegCloseKey key=K",
        "Sleep milliseconds=200"},
       {{200}, {}}},
      {"a universal driver without its resource DLL",
       [](EngineFixture& f) { f.machine.SetModelKey("GDIDataFileDLLName", ""); },
       kStateFailed,
       "<IDS_ERR_LOSTDRIVERFILE>\r\n" + modelFile + " [XY-100.Win7] GDIDataFileDLLName",
       {},
       {{200}, {}}},
      {"XP without its driver cache: the universal files are nowhere",
       [](EngineFixture& f) {
         f.job.os = OsGeneration::kXp;
         f.machine.cabinet.cabinets.clear();
       },
       kStateFailed,
       "<IDS_ERR_ADDPRNDRV3>\r\nThe system cannot find the file specified.",
       {"AddPrinterDriverW version=3 name=XY-100 S environment= driverPath=xydrv.dll dataFile=XY100.GPD "
        "configFile=xyui.dll helpFile=xy.hlp dependentFiles=XY100.GPD,TTFSUB.GPD,UNIRES.DLL,STDNAMES.GPD,"
        "xyres.dll,MQ450UI.dll monitorName="},
       {{200}, {}}},
      {"access denied on a copy is not a sharing violation",
       [](EngineFixture& f) {
         f.job.portName = "LPT1:";
         f.machine.p.journal.FailCall("CopyFileW", err::kAccessDenied, 1);
       },
       kStateFailed,
       "<IDS_ERR_COPYFIEL>XYPROC.DLL\r\nAccess is denied.<IDS_ERR_COPYFIEL1>",
       {"CopyFileW source=C:\\Package\\W32\\XYPROC.DLL "
        "target=C:\\Windows\\system32\\spool\\prtprocs\\W32X86\\XYPROC.DLL failIfExists=0 -> error 5"}},
      {"a file missing from the package names where it was looked for",
       [](EngineFixture& f) { f.machine.p.files.Delete(f.machine.W() + "xy.hlp"); },
       kStateFailed,
       "<IDS_ERR_COPYFIEL>C:\\Package\\W32\\XY.HLP\r\nThe system cannot find the file specified."
       "<IDS_ERR_COPYFIEL1>",
       {"CopyFileW source=C:\\Package\\W32\\XY.HLP "
        "target=C:\\Windows\\system32\\spool\\drivers\\W32X86\\XY.HLP "
        "failIfExists=0",
        "GetFileAttributesW path=C:\\Package\\W32\\XY.HLP"},
       {{200}, {}}},
      {"no driver store",
       [&](EngineFixture& f) {
         for (const char* file : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL", "UNIDRV.DLL"}) {
           f.machine.p.files.Delete(store + "\\I386\\" + file);
         }
         f.machine.p.files.RemoveFolder(store + "\\I386");
         f.machine.p.files.RemoveFolder(store);
         f.machine.SetModelKey("GDIDriverPath", "UNIDRV.DLL");
       },
       kStateFailed,
       "Couldn't find system files.\r\nThe system cannot find the file specified.",
       {"FindFirstFileW pattern=C:\\Windows\\System32\\DriverStore\\FileRepository\\ntprint*"},
       {{200}, {}}},
      {"a stopped preparation ends failed",
       [](EngineFixture& f) { f.machine.SetPortKey("SystemWin7Supported", "0"); },
       kStateFailed,
       "<IDS_NOTSUPPORTWin7>",
       {"GetFileAttributesW path=" + modelFile, "GetPrivateProfileSectionNamesW file=" + modelFile}},
      {"a plain success",
       [](EngineFixture&) {},
       kStateSucceeded,
       "<IDS_INF_NTRESTART>",
       {"RegSetValueExW key=K name=COM1: type=1 data=19200,n,8,1,p", "RegCloseKey key=K"},
       {{200}, {{"AddPrinterW", 1}}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EngineFixture f;
    row.setUp(f);
    std::vector<std::string> tail;
    RunToTheEnd(f, &tail);
    EXPECT_EQ(f.job.resultState, row.state);
    ASSERT_FALSE(f.ui.shown.empty());
    EXPECT_EQ(f.ui.shown.back(), "|" + row.message);
    ASSERT_GE(tail.size(), row.tail.size());
    EXPECT_EQ(std::vector<std::string>(tail.end() - static_cast<long>(row.tail.size()), tail.end()),
              row.tail);
    EXPECT_EQ(f.Pace(), row.pace);
  }
}

TEST(InstallEngineTest, RetryAtTheSameNetworkAddressUsesThePortLeftBehind) {
  EngineFixture f;
  f.job.portName = "NET:";
  f.job.ipAddress = {10, 0, 0, 7};
  InstallJob first = f.job;
  f.machine.p.journal.FailCall("AddPrinterW", err::kAccessDenied);
  f.Run();
  ASSERT_EQ(f.job.resultState, kStateFailed);
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
  ASSERT_TRUE(f.machine.spooler->HasPort("ZNTIP_10.0.0.7"));

  f.machine.p.journal.ClearFailures();
  f.job = first;
  PrepareResult retry = f.Run();
  EXPECT_EQ(retry.outcome, Outcome::kReady) << retry.message;
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.Pace(), (RunPace{{}, {{"AddPrinterW", 1}, {"EnumPortsW", 2}}}));
  ASSERT_NE(f.machine.spooler->FindPrinter("XY-100(E)"), nullptr);
  EXPECT_EQ(f.machine.spooler->FindPrinter("XY-100(E)")->portName, "ZNTIP_10.0.0.7");
  // The spooler is asked whether it lists the port, with a first call that learns the size.
  std::vector<std::string> enums = f.machine.p.journal.CallsTo("EnumPortsW");
  ASSERT_EQ(enums.size(), 2u);
  EXPECT_EQ(enums[0], "EnumPortsW level=1 bufferSize=0");

  // A port the monitor says exists but the spooler cannot show is still a failure, with the system's text.
  EngineFixture g;
  g.job = first;
  g.machine.spooler->AddPortName("ZNTIP_10.0.0.7");
  g.machine.p.journal.FailCall("EnumPortsW", err::kAccessDenied);
  EXPECT_EQ(g.Run().outcome, Outcome::kStopped);
  EXPECT_EQ(g.Pace(), (RunPace{{}, {{"EnumPortsW", 1}}}));
  EXPECT_EQ(g.ui.shown, (std::vector<std::string>{"ERROR|Cannot create a file when that file already exists.",
                                                  "|<IDS_ERR_ADDPORTERROR>"}));
}

TEST(InstallEngineTest, Windows98InstallsEndToEnd) {
  EngineFixture f(false, 0x0409, true);
  f.job.os = OsGeneration::kWin98;
  f.job.portName = "COM1:";
  f.job.setDefault = true;
  f.job.serial = SerialSettings{9600, 8, 'e', 1.0, 'x'};
  f.machine.SetMonitorKey("COMMONitorPDLLName", "");
  for (int i = 0; i < 2; ++i) {
    platform::RegKey key = 0;
    ASSERT_EQ(f.machine.p.registry.CreateKey(
                  platform::kHkeyLocalMachine,
                  "System\\CurrentControlSet\\Services\\Class\\Ports\\000" + std::to_string(i),
                  platform::kKeyAllAccess, &key, nullptr),
              0u);
    const uint8_t serial = 1;
    f.machine.p.registry.SetValue(key, "PortSubClass", platform::kRegBinary, &serial, 1);
    f.machine.p.registry.CloseKey(key);
  }
  std::vector<std::string> tail;
  RunToTheEnd(f, &tail);
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  const platform::DriverInfo3* driver = f.machine.spooler->FindDriver("Windows 4.0", "XY-100 Old");
  ASSERT_NE(driver, nullptr);
  EXPECT_EQ(driver->version, 0u);
  const platform::PrinterInfo2* printer = f.machine.spooler->FindPrinter("XY-100(S)");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->portName, "COM1:");
  EXPECT_EQ(f.machine.spooler->defaultPrinter(), "XY-100(S)");
  EXPECT_TRUE(f.machine.spooler->HasProcessor("Windows 4.0", "XYPrint"));
  EXPECT_EQ(f.machine.p.profile.GetString("win.ini", "Ports", "COM1:", "", 100), "9600,e,8,1,x");
  platform::RegKey port1 = 0;
  ASSERT_EQ(f.machine.p.registry.OpenKey(platform::kHkeyLocalMachine,
                                         "System\\CurrentControlSet\\Services\\Class\\Ports\\0000",
                                         platform::kKeyRead, &port1),
            0u);
  uint8_t dcb[64] = {};
  uint32_t size = sizeof dcb;
  uint32_t type = 99;
  EXPECT_EQ(f.machine.p.registry.QueryValue(port1, "DCB", &type, dcb, &size), 0u);
  f.machine.p.registry.CloseKey(port1);
  EXPECT_EQ(size, 28u);
  EXPECT_EQ(dcb[4] | (dcb[5] << 8), 9600);
  EXPECT_EQ(f.ui.shown, (std::vector<std::string>{"|<IDS_INF_NTRESTART>"}));
  EXPECT_EQ(f.ui.asked, (std::vector<std::string>{"<IDS_INF_RESTART>"}));
  EXPECT_EQ(f.Pace(), (RunPace{{200}, {{"AddPrinterW", 1}}}));
}

}  // namespace
}  // namespace mq::installer
