// What Install does for a USB port: the vendor USB driver version check and installation, the hand-over of a
// printer-class printer, the decision by SupportedUSBMODE and the printer ID check of both setup modes.
#include <gtest/gtest.h>

#include "UsbFixture.h"

namespace mq::installer::testing {
namespace {

using Outcome = UsbInstallStep::Outcome;

constexpr const char* kPackageDriver = "C:\\Package\\USBDRV\\USBDriver\\ZNUSB.sys";
constexpr const char* kInstalledDriver = "C:\\Windows\\system32\\drivers\\ZNUSB.sys";

TEST(UsbDriverVersionTest, InstalledAbsentOrOlderCallsForInstallation) {
  struct Case {
    const char* installed;
    const char* package;
    bool install;
  };
  const Case cases[] = {
      {"1.0.0.5", "1.0.0.6", true},
      {"1.0.0.6", "1.0.0.6", false},
      {"1.0.0.7", "1.0.0.6", false},
      {"0.0.0.0", "1.0.0.6", true},   // absent
      {"0.0.0.0", "0.0.0.0", false},  // neither present
      {"2.0.0.0", "0.0.0.0", false},  // the package carries none
      {"", "1.0.0.6", true},          // no readable version
      // Parts of more than one digit (texts over 8 characters) compare as numbers.
      {"1.0.0.10", "1.0.0.9", false},
      {"1.0.0.9", "1.0.0.10", true},
      {"1.2.0.0", "1.10.0.0", true},
      {"10.0.0.1", "9.9.9.9", false},
      {"1, 0, 0, 5", "1.0.0.6", true},
      {"1.0.0.6 (built by: WinDDK)", "1.0.0.6", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VendorDriverNeedsInstall(c.installed, c.package), c.install)
        << c.installed << " vs " << c.package;
  }
}

TEST(UsbDriverInstallTest, StartsTheDriverInstallerWhenTheInstalledDriverIsOlder) {
  UsbFixture f;
  f.versions.versions = {{kPackageDriver, "1.0.0.6"}, {kInstalledDriver, "1.0.0.5"}};
  f.usbInstallation.InstallVendorDriverIfNeeded();
  EXPECT_EQ(f.Started(),
            std::vector<std::string>{"ShellExecuteW verb=open "
                                     "file=C:\\Package\\USBDRV\\USBDriver\\Install.exe parameters=2 "
                                     "directory=C:\\Package\\USBDRV\\USBDriver show=1"});
  EXPECT_EQ(f.machine.p.journal.CallsTo("SetFileAttributesW").size(), 2u);
  EXPECT_EQ(f.machine.p.journal.CallsTo("Sleep"),
            (std::vector<std::string>{"Sleep milliseconds=500", "Sleep milliseconds=1000",
                                      "Sleep milliseconds=2000"}));
}

TEST(UsbDriverInstallTest, NothingForAnEqualDriverOrBeforeWindows2000) {
  UsbFixture f;
  f.versions.versions = {{kPackageDriver, "1.0.0.6"}, {kInstalledDriver, "1.0.0.6"}};
  f.usbInstallation.InstallVendorDriverIfNeeded();
  EXPECT_TRUE(f.Started().empty());

  f.versions.versions[kInstalledDriver] = "0.0.0.0";
  f.machine.p.system.version = {4, 0, 1381, 2, 6, 1};  // NT 4.0
  f.usbInstallation.InstallVendorDriverIfNeeded();
  EXPECT_TRUE(f.Started().empty());
  EXPECT_EQ(f.machine.p.journal.CountOf("GetFileVersionInfoW"), 2u);  // only the first check read versions
}

TEST(UsbDriverInstallTest, On64BitWindowsUsesTheX64FolderAndReadsTheSystemDriverUnredirected) {
  UsbFixture f(true);
  f.versions.versions = {{"C:\\Package\\USBDRV\\USBDriver_x64\\ZNUSB.sys", "1.0.0.6"}};
  f.machine.p.journal.Clear();
  f.usbInstallation.InstallVendorDriverIfNeeded();
  std::vector<std::string> lines = f.machine.p.journal.Lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Wow64DisableWow64FsRedirection");
  EXPECT_EQ(lines[1], std::string("GetFileVersionInfoW path=") + kInstalledDriver);
  EXPECT_EQ(lines[2].rfind("Wow64RevertWow64FsRedirection", 0), 0u);
  EXPECT_EQ(lines[3], "GetFileVersionInfoW path=C:\\Package\\USBDRV\\USBDriver_x64\\ZNUSB.sys");
  ASSERT_EQ(f.Started().size(), 1u);
  EXPECT_NE(f.Started()[0].find("file=C:\\Package\\USBDRV\\USBDriver_x64\\Install.exe parameters=2 "),
            std::string::npos);
}

TEST(UsbClassInstallTest, ArgumentTextForAPort2Printer) {
  EXPECT_EQ(ClassInstallArguments("C:\\Package\\W32\\Setup.inf", "USBPRINT\\XY2", "XY-100", 2, true),
            " 3 \"C:\\Package\\W32\\Setup.inf\" USBPRINT\\XY2 0 XY-100(U)2");
  EXPECT_EQ(ClassInstallArguments("C:\\Package\\W32\\Setup.inf", "USBPRINT\\XY2", "XY-100", 2, false),
            " 3 \"C:\\Package\\W32\\Setup.inf\" USBPRINT\\XY2 0");
}

class UsbClassInstall : public UsbFixture {
 public:
  explicit UsbClassInstall(bool is64 = false) : UsbFixture(is64) {
    AddDevice(0x0E15);
    bus.classPrinters = {{"XY-100", 2}};
    machine.p.profile.WriteString(kSetupIni, "USBCLASSPRINTER", "XY-100(U)2", "USBPRINT\\XY2");
  }
};

TEST(UsbClassInstallTest, HandsThePrinterToTheDriverPackageInstaller) {
  struct Case {
    bool is64;
    const char* infName;
    bool setDefault;
    const char* started;
  };
  const Case cases[] = {
      {false, "err", true,
       "file=C:\\Package\\USBDRV\\USBDriver\\Install.exe parameters= 3 \"C:\\Package\\W32\\Setup.inf\" "
       "USBPRINT\\XY2 0 XY-100(U)2 "},
      {false, "", false,
       "file=C:\\Package\\USBDRV\\USBDriver\\Install.exe parameters= 3 \"C:\\Package\\W32\\Setup.inf\" "
       "USBPRINT\\XY2 0 "},
      {false, "XYPRN", false,
       "file=C:\\Package\\USBDRV\\USBDriver\\Install.exe parameters= 3 \"C:\\Package\\W32\\XYPRN32.inf\" "
       "USBPRINT\\XY2 0 "},
      {true, "XYPRN", false,
       "file=C:\\Package\\USBDRV\\USBDriver_x64\\Install.exe parameters= 3 \"C:\\Package\\W64\\XYPRN64.inf\" "
       "USBPRINT\\XY2 0 "},
  };
  for (const Case& c : cases) {
    UsbClassInstall f(c.is64);
    f.SetSwitch("Inffilename", c.infName);
    f.job.setDefault = c.setDefault;
    std::string message = "x";
    EXPECT_EQ(f.usbInstallation.Decide(f.job, &message), Outcome::kHandedOver) << c.started;
    EXPECT_EQ(message, "");
    ASSERT_EQ(f.Started().size(), 1u) << c.started;
    EXPECT_NE(f.Started()[0].find(c.started), std::string::npos) << f.Started()[0];
  }
}

TEST(UsbClassInstallTest, StopsWhenThePortOrTheHardwareIdIsNotFound) {
  UsbClassInstall f;
  f.bus.classPrinters = {{"MQ-200", 2}};
  std::string message;
  EXPECT_EQ(f.usbInstallation.Decide(f.job, &message), Outcome::kStop);
  EXPECT_EQ(message, "<IDS_ERR_CLASSPRINTERIDERROR>");

  f.bus.classPrinters = {{"XY-100", 3}};  // no [USBCLASSPRINTER] entry for port 3
  EXPECT_EQ(f.usbInstallation.Decide(f.job, &message), Outcome::kStop);
  EXPECT_EQ(message, "<IDS_ERR_HARDWAREIDNULL>");
  EXPECT_TRUE(f.Started().empty());
}

TEST(UsbDecisionTest, EachRowBySupportedUsbModeAndClassification) {
  enum class Then { kNonExist, kClass, kVendor, kIdError, kOnePrinter };
  struct Case {
    const char* mode;
    int classification;
    Then then;
  };
  const Case cases[] = {
      {"0", 0, Then::kNonExist},
      {"0", 1, Then::kClass},
      {"0", 2, Then::kVendor},
      {"0", 3, Then::kOnePrinter},
      {"1", 0, Then::kNonExist},
      {"1", 1, Then::kClass},
      {"1", 2, Then::kIdError},
      {"1", 3, Then::kOnePrinter},
      {"2", 0, Then::kVendor},
      {"2", 1, Then::kVendor},
      {"2", 2, Then::kVendor},
      {"2", 3, Then::kVendor},
      // Values outside 0..2 let the devices decide, as the default 0 does.
      {"7", 0, Then::kNonExist},
      {"7", 1, Then::kClass},
      {"7", 2, Then::kVendor},
      {"7", 3, Then::kOnePrinter},
  };
  for (const Case& c : cases) {
    UsbFixture f;
    f.SetSwitch("SupportedUSBMODE", c.mode);
    f.machine.p.profile.WriteString(kSetupIni, "USBCLASSPRINTER", "XY-100(U)1", "USBPRINT\\XY1");
    f.versions.versions = {{kPackageDriver, "1.0.0.6"}};
    if (c.classification == 1 || c.classification == 3) f.AddDevice(0x0E15);
    if (c.classification == 2 || c.classification == 3) f.AddDevice(0x1001);
    if (c.classification == 1) f.bus.classPrinters = {{"XY-100", 1}};
    std::string trace =
        std::string("mode ") + c.mode + ", classification " + std::to_string(c.classification);

    std::string message;
    Outcome outcome = f.usbInstallation.Decide(f.job, &message);
    std::vector<std::string> started = f.Started();
    size_t scans = f.machine.p.journal.CountOf("SetupDiGetClassDevsW");
    switch (c.then) {
      case Then::kNonExist:
      case Then::kIdError:
      case Then::kOnePrinter:
        EXPECT_EQ(outcome, Outcome::kStop) << trace;
        EXPECT_EQ(message, c.then == Then::kNonExist  ? "<IDS_ERR_CLASSPRINTERNONEXIST>"
                           : c.then == Then::kIdError ? "<IDS_ERR_CLASSPRINTERIDERROR>"
                                                      : "<IDS_ERR_ONEPRINTER>")
            << trace;
        EXPECT_TRUE(started.empty()) << trace;
        break;
      case Then::kClass:
        EXPECT_EQ(outcome, Outcome::kHandedOver) << trace;
        ASSERT_EQ(started.size(), 1u) << trace;
        EXPECT_NE(started[0].find("parameters= 3 "), std::string::npos) << trace;
        break;
      case Then::kVendor:
        EXPECT_EQ(outcome, Outcome::kContinue) << trace;
        ASSERT_EQ(started.size(), 1u) << trace;
        EXPECT_NE(started[0].find("parameters=2 "), std::string::npos) << trace;
        break;
    }
    EXPECT_EQ(scans, std::string(c.mode) == "2" ? 0u : 1u) << trace;
  }
}

class UsbPrinterIdCheck : public UsbFixture {
 public:
  explicit UsbPrinterIdCheck(int bcdDevice, bool typical, const char* port) {
    AddDevice(0x1001, static_cast<uint16_t>(bcdDevice));
    job.typical = typical;
    job.portName = port;
  }
  Outcome Check() {
    machine.p.journal.Clear();
    return usbInstallation.CheckPrinterId(job, &message);
  }
  std::string message = "unset";
};

TEST(UsbPrinterIdCheckTest, TypicalSetupWithId1AsksNothing) {
  UsbPrinterIdCheck f(8, true, "ZNTUSB1");  // 8 mod 8 + 1 = 1
  EXPECT_EQ(f.Check(), Outcome::kContinue);
  EXPECT_TRUE(f.ui.asked.empty());
  EXPECT_EQ(f.machine.p.journal.CountOf("uWrite"), 0u);
  EXPECT_EQ(f.job.printerId, 1);
}

TEST(UsbPrinterIdCheckTest, TypicalSetupRewritesAnotherIdTo1OnYes) {
  for (bool yes : {true, false}) {
    UsbPrinterIdCheck f(10, true, "ZNTUSB1");
    f.ui.answer = yes;
    EXPECT_EQ(f.Check(), yes ? Outcome::kContinue : Outcome::kStop);
    EXPECT_EQ(f.ui.asked, std::vector<std::string>{"<IDS_INF_CHANGEID>"});
    EXPECT_EQ(f.message, "");
    EXPECT_EQ(f.machine.p.journal.CallsTo("uWrite"),
              yes ? std::vector<std::string>{"uWrite device=0x100 pipe=0 bytes=1B 73 42 45 92 99 1D 49 20 00"}
                  : std::vector<std::string>{});
    EXPECT_EQ(PrinterIdOfDescriptor(f.bus.devices[0].bcdDevice), yes ? 1 : 3);
  }
}

TEST(UsbPrinterIdCheckTest, TypicalSetupWithoutAnswerContinuesAndAFailedWriteStops) {
  UsbPrinterIdCheck none(0, true, "ZNTUSB1");
  none.bus.devices.clear();
  EXPECT_EQ(none.Check(), Outcome::kContinue);
  EXPECT_TRUE(none.ui.asked.empty());

  UsbPrinterIdCheck failing(2, true, "ZNTUSB1");
  failing.ui.answer = true;
  failing.machine.p.journal.FailCall("uWrite", 31);
  EXPECT_EQ(failing.Check(), Outcome::kStop);
  EXPECT_EQ(failing.ui.shown, std::vector<std::string>{"|write ID error"});
}

TEST(UsbPrinterIdCheckTest, AdvancedSetupRewritesId3ToThePortOnYesAndStopsOnNo) {
  for (bool yes : {true, false}) {
    UsbPrinterIdCheck f(10, false, "ZNTUSB2");
    f.ui.answer = yes;
    EXPECT_EQ(f.Check(), yes ? Outcome::kContinue : Outcome::kStop);
    EXPECT_EQ(f.ui.asked, std::vector<std::string>{"<IDS_INF_CHANGEID>"});
    EXPECT_EQ(f.message, "");
    EXPECT_EQ(f.machine.p.journal.CallsTo("uWrite"),
              yes ? std::vector<std::string>{"uWrite device=0x100 pipe=0 bytes=1B 73 42 45 92 99 1D 49 20 01"}
                  : std::vector<std::string>{});
    EXPECT_EQ(f.job.printerId, yes ? 2 : 3);
  }
}

TEST(UsbPrinterIdCheckTest, AdvancedSetupOutcomes) {
  struct Case {
    const char* name;
    int bcdDevice;  // -1: no device, -2: two devices
    const char* port;
    bool failWrite;
    Outcome outcome;
    const char* message;
    size_t asked;
  };
  const Case cases[] = {
      {"matching port", 3, "ZNTUSB4", false, Outcome::kContinue, "", 0},
      {"no device", -1, "ZNTUSB2", false, Outcome::kStop, "<IDS_ERR_NOUSBDEVICE>", 0},
      {"two devices", -2, "ZNTUSB2", false, Outcome::kStop, "", 0},
      {"port names the id after an underscore", 4, "USB_KLP-G5_5", false, Outcome::kContinue, "", 0},
      {"id above 4 on ZNTUSB1", 5, "ZNTUSB1", false, Outcome::kContinue, "", 1},
      {"write fails", 0, "ZNTUSB3", true, Outcome::kStop, "Failed to set Printer ID!", 1},
  };
  for (const Case& c : cases) {
    UsbPrinterIdCheck f(std::max(c.bcdDevice, 0), false, c.port);
    if (c.bcdDevice == -1) f.bus.devices.clear();
    if (c.bcdDevice == -2) f.AddDevice(0x1000, 1);
    if (c.failWrite) f.machine.p.journal.FailCall("uWrite", 31);
    f.ui.answer = true;
    EXPECT_EQ(f.Check(), c.outcome) << c.name;
    EXPECT_EQ(f.message, c.message) << c.name;
    EXPECT_EQ(f.ui.asked.size(), c.asked) << c.name;
  }
}

TEST(UsbInstallTest, AdvancedSetupOnZntusb2WritesTheIdNamesThePrinterAndRecordsThePort) {
  UsbFixture f;
  f.AddDevice(0x1001, 10);
  f.versions.versions = {{kPackageDriver, "1.0.0.6"}, {kInstalledDriver, "1.0.0.6"}};
  f.machine.p.profile.WriteString(kSetupIni, "SUPPORTED-USB-DEVICE", "ZNTUSB2", "5");
  f.job.typical = false;
  f.job.portName = "ZNTUSB2";
  f.ui.answer = true;
  PrepareResult prepared = f.Run();
  ASSERT_EQ(prepared.outcome, PrepareResult::Outcome::kReady) << prepared.message;
  EXPECT_EQ(f.job.resultState, kStateSucceeded) << f.job.resultText;
  EXPECT_EQ(f.machine.p.journal.CallsTo("uWrite"),
            std::vector<std::string>{"uWrite device=0x100 pipe=0 bytes=1B 73 42 45 92 99 1D 49 20 01"});
  EXPECT_EQ(f.job.driver.printer.printerName, "XY-100(U) 2");
  EXPECT_EQ(f.machine.p.registry.GetDword("HKLM\\SOFTWARE\\ZNT\\PORTNAME", "ZNTUSB2"), 5u);
  EXPECT_EQ(f.machine.p.registry.GetDword("HKLM\\SOFTWARE\\ZNT\\PRINTERPORT", "ZNTUSB2"), 0u);
  EXPECT_TRUE(f.Started().size() <= 1u);  // at most the utility program
}

TEST(UsbInstallTest, StopsWithoutAnEmptyMessageBoxWhenTheUserKeepsTheId) {
  UsbFixture f;
  f.AddDevice(0x1001, 10);
  f.job.typical = false;
  f.job.portName = "ZNTUSB2";
  f.ui.answer = false;
  PrepareResult prepared = f.Run();
  EXPECT_EQ(prepared.outcome, PrepareResult::Outcome::kStopped);
  EXPECT_EQ(f.ui.asked, std::vector<std::string>{"<IDS_INF_CHANGEID>"});
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.machine.spooler->FindPrinter("XY-100(U) 2"), nullptr);
}

TEST(UsbMachineStateTest, TextFormRoundTripsAndRefusesAnythingElse) {
  platform::FakeUsbBus bus;
  bus.Add(kVendorUsbId, 0x1001, 65535, true);
  bus.Add(0x04B8, 0x0E15, 0, false);
  bus.classPrinters = {{"MQ 450 Plus", 9}};
  std::string text = bus.Serialize();
  EXPECT_EQ(text, "device 1D3B 1001 65535 1\ndevice 04B8 0E15 0 0\nclass 9 MQ 450 Plus\n");
  platform::FakeUsbBus read;
  ASSERT_TRUE(read.Deserialize(text));
  EXPECT_EQ(read.Serialize(), text);
  EXPECT_EQ(read.devices[0].hardwareId, "USB\\VID_1D3B&PID_1001&REV_0100");

  for (const char* bad :
       {"device 1D3B 1001 10 1", "device 1D3B 1001 65536 1\n", "device 1d3b 1001 1 1\n",
        "device 1D3B 101 1 1\n", "device 1D3B 1001 1 2\n", "device 1D3B 1001 1\n", "class 0 MQ\n",
        "class 10 MQ\n", "class 2 \n", "class 2 MQ@2\n", "printer 1\n", "\n"}) {
    EXPECT_FALSE(read.Deserialize(bad)) << bad;
    EXPECT_EQ(read.Serialize(), text) << bad;  // unchanged
  }
}

}  // namespace
}  // namespace mq::installer::testing
