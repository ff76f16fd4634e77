// Reading the device list and the model files, and writing DriverUtility.ini.
#include <gtest/gtest.h>

#include "InstallerFixture.h"
#include "installer/OsDetection.h"
#include "installer/SetupConfig.h"

namespace mq::installer {
namespace {

using common::OsGeneration;
using testing::kSetupIni;
using testing::TestMachine;

TEST(SetupConfigTest, DeviceListKeepsTypedEntriesInOrder) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  DeviceList list = config.ReadDeviceList();
  ASSERT_EQ(list.models.size(), 2u);
  EXPECT_EQ(list.models[0].name, "XY-100");
  EXPECT_EQ(list.models[0].type, PrinterType::kReceipt);
  EXPECT_EQ(list.models[1].name, "XY-L1");
  EXPECT_EQ(list.models[1].type, PrinterType::kLabel);
  EXPECT_EQ(list.models[1].index, 2);
  ASSERT_TRUE(list.DefaultModel().has_value());
  EXPECT_EQ(list.DefaultModel()->name, "XY-100");
  // The bare entry is listed nowhere, but it is the last entry read.
  EXPECT_EQ(list.lastEntryName, "BARE");
}

TEST(SetupConfigTest, StartUpCheckLooksAtTheLastEntryOnly) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  // The last entry, "BARE", has no port section.
  EXPECT_FALSE(config.PackageUsable());
  machine.p.profile.WriteString(kSetupIni, "DEVICENAME", "DEVICENUMBER", "1");
  EXPECT_TRUE(config.PackageUsable());
  // Network support alone does not count.
  for (const char* key : {"USBSUPPORTED", "LPTSUPPORTED", "COMSUPPORTED"}) machine.SetPortKey(key, "0");
  EXPECT_FALSE(config.PackageUsable());
  machine.SetPortKey("COMSUPPORTED", "1");
  EXPECT_TRUE(config.PackageUsable());
  machine.p.profile.WriteString(kSetupIni, "DEVICENAME", "DEVICENUMBER", "0");
  EXPECT_TRUE(config.ReadDeviceList().models.empty());
  EXPECT_FALSE(config.PackageUsable());
}

TEST(SetupConfigTest, DeviceCountIsBoundedToWhatTheListHolds) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  machine.p.profile.WriteString(kSetupIni, "DEVICENAME", "DEVICENAME100", "LAST-ReceiptPrinter");
  machine.p.profile.WriteString(kSetupIni, "DEVICENAME", "DEVICENAME101", "BEYOND-ReceiptPrinter");
  machine.p.profile.WriteString(kSetupIni, "DEVICENAME", "DEVICENUMBER", "2147483647");
  machine.p.journal.Clear();
  DeviceList list = config.ReadDeviceList();
  EXPECT_TRUE(list.Truncated());
  EXPECT_EQ(list.claimedEntries, 2147483647);
  EXPECT_EQ(list.models.back().name, "LAST");
  EXPECT_EQ(list.lastEntryName, "LAST");
  // DEVICENUMBER, the entries read and DEFAULTNAME.
  EXPECT_EQ(machine.p.journal.CountOf("GetPrivateProfileStringW"), 2u + kMaxDeviceEntries);

  machine.p.profile.WriteString(kSetupIni, "DEVICENAME", "DEVICENUMBER", "100");
  EXPECT_FALSE(config.ReadDeviceList().Truncated());
}

TEST(SetupConfigTest, ModelFilesPerWordSize) {
  TestMachine machine;
  SetupConfig x86(machine.p.profile, "C:\\P", false);
  SetupConfig x64(machine.p.profile, "C:\\P", true);
  EXPECT_EQ(x86.ModelFile(PrinterType::kTicket), "C:\\P\\DRVCONFIG\\setup_ticket.ini");
  EXPECT_EQ(x64.ModelFile(PrinterType::kEmbedded), "C:\\P\\DRVCONFIG\\setup_embedded_64.ini");
  EXPECT_EQ(SetupConfig::OsSection("XY-100", OsGeneration::kVista), "XY-100.Vista");
  EXPECT_EQ(SetupConfig::PortSection("XY-100"), "XY-100.PORT");
}

TEST(SetupConfigTest, LicenceAndHelpFilesFollowTheLanguage) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, "C:\\P", false);
  EXPECT_EQ(config.LicenceFile(3076), "C:\\P\\License\\License_TCN.txt");
  EXPECT_EQ(config.LicenceFile(2052), "C:\\P\\License\\License_CN.txt");
  EXPECT_EQ(config.LicenceFile(1033), "C:\\P\\License\\License_EN.txt");
  EXPECT_EQ(SetupConfig::HelpFile(1028), ".\\Guide\\Guide_TCN.chm");
  EXPECT_EQ(SetupConfig::HelpFile(1041), ".\\Guide\\Guide_EN.chm");
}

TEST(SetupConfigTest, FileSetFollowsTheCheckBoxUnlessTheSwitchForcesIt) {
  struct Case {
    bool raster;
    int sign;
    PortKind kind;
    FileSet expected;
  } cases[] = {{true, 0, PortKind::kSerial, FileSet::kGdi},    {false, 0, PortKind::kUsb, FileSet::kStd},
               {false, 1, PortKind::kSerial, FileSet::kGdi},   {true, 1, PortKind::kUsb, FileSet::kStd},
               {false, 1, PortKind::kParallel, FileSet::kStd}, {true, 2, PortKind::kNetwork, FileSet::kGdi}};
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseFileSet(c.raster, c.sign, c.kind), c.expected)
        << c.raster << " " << c.sign << " " << static_cast<int>(c.kind);
  }
}

TEST(SetupConfigTest, DriverNameAndVersionBySystemAndPort) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  struct Case {
    OsGeneration os;
    PortKind kind;
    const char* name;
    uint32_t version;
    const char* environment;
  } cases[] = {{OsGeneration::kWin98, PortKind::kSerial, "XY-100 Old", 0, "Windows 4.0"},
               {OsGeneration::kNt4, PortKind::kParallel, "XY-100 Old", 2, ""},
               {OsGeneration::kXp, PortKind::kSerial, "XY-100 S", 3, ""},
               {OsGeneration::kWin7, PortKind::kParallel, "XY-100 P", 3, ""},
               {OsGeneration::kVista, PortKind::kUsb, "XY-100 U", 3, ""},
               {OsGeneration::kWin2000, PortKind::kNetwork, "XY-100 N", 3, ""}};
  for (const Case& c : cases) {
    ModelDriver d = config.ReadModelDriver(PrinterType::kReceipt, "XY-100", c.os, FileSet::kGdi, c.kind);
    EXPECT_EQ(d.driver.name, c.name);
    EXPECT_EQ(d.printer.driverName, c.name);
    EXPECT_EQ(d.driver.version, c.version);
    EXPECT_EQ(d.driver.environment, c.environment);
  }
}

TEST(SetupConfigTest, RecordsFromTheChosenSet) {
  TestMachine machine;
  machine.SetModelKey("STDDriverPath", "stddrv.dll");
  machine.SetModelKey("STDPrintProcessor", "WinPrint");
  machine.SetModelKey("LanguageResourceFile9", "CHF_MQ450.res");
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  ModelDriver gdi = config.ReadModelDriver(PrinterType::kReceipt, "XY-100", OsGeneration::kXp, FileSet::kGdi,
                                           PortKind::kSerial);
  ModelDriver std = config.ReadModelDriver(PrinterType::kReceipt, "XY-100", OsGeneration::kXp, FileSet::kStd,
                                           PortKind::kSerial);
  EXPECT_EQ(gdi.files.driverDll, "xydrv.dll");
  EXPECT_EQ(std.files.driverDll, "stddrv.dll");
  EXPECT_EQ(gdi.printer.printProcessor, "XYPrint");
  EXPECT_EQ(std.printer.printProcessor, "WinPrint");
  EXPECT_TRUE(gdi.universalDriver);
  EXPECT_FALSE(std.universalDriver);
  EXPECT_EQ(gdi.printer.attributes, 64u);
  EXPECT_EQ(gdi.files.controlFontFile, "MQ450CONTROL.dat");
  EXPECT_EQ(gdi.files.usbInternalId, "0");
  EXPECT_EQ(gdi.files.languageResources[0], "LANGUAGE_MQ450.ini");
  EXPECT_EQ(gdi.files.languageResources[8], "CHF_MQ450.res");
  EXPECT_EQ(gdi.files.languageResources[5], "0");
  EXPECT_EQ(gdi.files.processorDll, "xyproc.dll");
}

TEST(SetupConfigTest, DependentFilesOnlyWithTheSwitchAndNeverCut) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  auto read = [&](OsGeneration os) {
    return config.ReadModelDriver(PrinterType::kReceipt, "XY-100", os, FileSet::kStd, PortKind::kSerial)
        .driver;
  };
  // The GDI switch decides for both sets; "0" entries are left out.
  EXPECT_EQ(read(OsGeneration::kXp).dependentFiles,
            (std::vector<std::string>{"XY100.GPD", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", "xyres.dll",
                                      "MQ450UI.dll"}));
  EXPECT_TRUE(read(OsGeneration::kNt4).dependentFiles.empty());
  // Names near their limit make a list far beyond 200 bytes; every name stays whole.
  std::string longName = std::string(190, 'D') + ".dll";
  for (const char* key : {"STDDataFileDLLName", "STDDataOemuiDLL", "STDDataOemuniDLL", "STDDataOemuniini"}) {
    machine.SetModelKey(key, longName);
  }
  std::vector<std::string> files = read(OsGeneration::kWin7).dependentFiles;
  ASSERT_EQ(files.size(), 8u);
  for (size_t i = 4; i < 8; ++i) EXPECT_EQ(files[i], longName);
  machine.SetModelKey("GDI2KDDKDEV", "0");
  EXPECT_TRUE(read(OsGeneration::kWin7).dependentFiles.empty());
}

TEST(SetupConfigTest, NameLimits) {
  TestMachine machine;
  machine.SetModelKey("DriverNameP", std::string(80, 'N'));
  machine.SetModelKey("GDIDriverPath", std::string(250, 'p'));
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  ModelDriver d = config.ReadModelDriver(PrinterType::kReceipt, "XY-100", OsGeneration::kWin7, FileSet::kGdi,
                                         PortKind::kParallel);
  EXPECT_EQ(d.driver.name, std::string(49, 'N'));
  EXPECT_EQ(d.files.driverDll, std::string(199, 'p'));
}

TEST(SetupConfigTest, MonitorsAndLanguageMonitor) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  MonitorSet m = config.ReadMonitors(OsGeneration::kXp);
  EXPECT_EQ(m.serial.name, "ZNT COM Monitor");
  EXPECT_EQ(m.serial.dll, "zntcom.dll");
  EXPECT_EQ(m.serial.version, 3);
  EXPECT_EQ(m.usb.uiDll, "0");
  EXPECT_TRUE(m.language.used);
  EXPECT_EQ(m.language.version, 4);

  // An empty DLL value means no monitor; a missing key reads as the name "0".
  machine.SetMonitorKey("COMMONitorPDLLName", "");
  machine.p.profile.WriteString(kSetupIni, "COMMON-MONITOR.XP", "USBMONitorPDLLName", std::nullopt);
  for (const char* key : {"USBLMONitorName", "USBLMONitorDLLName", "USBLMONitorVersion"}) {
    machine.p.profile.WriteString(kSetupIni, "COMMON-MONITOR.XP", key, std::nullopt);
  }
  m = config.ReadMonitors(OsGeneration::kXp);
  EXPECT_EQ(m.serial.dll, "");
  EXPECT_EQ(m.usb.dll, "0");
  EXPECT_FALSE(m.language.used);
  // One-character values count as unused whatever they are.
  machine.p.profile.WriteString(kSetupIni, "COMMON-MONITOR.XP", "USBLMONitorName", "L");
  machine.p.profile.WriteString(kSetupIni, "COMMON-MONITOR.XP", "USBLMONitorDLLName", "d");
  machine.p.profile.WriteString(kSetupIni, "COMMON-MONITOR.XP", "USBLMONitorVersion", "9");
  EXPECT_FALSE(config.ReadMonitors(OsGeneration::kXp).language.used);
}

TEST(SetupConfigTest, PortCapsAndSwitches) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  PortCaps caps = config.ReadPortCaps(PrinterType::kReceipt, "XY-100");
  EXPECT_EQ(caps.baudRate, 19200);
  EXPECT_EQ(caps.lptDefault, 1);
  EXPECT_EQ(config.ReadPortCaps(PrinterType::kLabel, "XY-100").usb, 0);  // another type's file
  PackageSwitches s = config.ReadSwitches();
  EXPECT_EQ(s.shellExeName, "Tool");
  EXPECT_EQ(s.infFileName, "err");
  EXPECT_EQ(s.processorVersion, 5);
  EXPECT_EQ(config.SupportedUsbDeviceValue("ZNTUSB1"), 7);
  EXPECT_EQ(config.SupportedUsbDeviceValue("ZNTUSB2"), 0);
  machine.p.profile.WriteString(kSetupIni, "USBCLASSPRINTER", "XY-100(U)1", "USBPRINT\\XY1");
  machine.p.profile.WriteString(kSetupIni, "USBCLASSPRINTER", "XY-100(U)3", "USBPRINT\\XY3");
  EXPECT_EQ(config.UsbClassHardwareId("XY-100", 3), "USBPRINT\\XY3");
  EXPECT_EQ(config.UsbClassHardwareId("XY-100", 7), "USBPRINT\\XY1");
  EXPECT_EQ(config.UsbClassHardwareId("XY-100", 2), "ERR");
}

TEST(OsDetectionTest, GenerationFromTheVersionRecord) {
  using platform::kProcessorArchitectureAmd64;
  using platform::kProcessorArchitectureIntel;
  struct Case {
    uint32_t major, minor, platformId;
    uint8_t productType;
    uint16_t architecture;
    int generation;
    bool recognised;
    bool windows8;
  } cases[] = {
      {4, 10, 1, 1, kProcessorArchitectureIntel, 0, true, false},  // Windows 98
      {4, 0, 1, 1, kProcessorArchitectureIntel, 0, false, false},  // Windows 95: nothing matches
      {4, 0, 2, 1, kProcessorArchitectureIntel, 1, true, false},   // NT 4.0
      {5, 0, 2, 1, kProcessorArchitectureIntel, 2, true, false},
      {5, 1, 2, 1, kProcessorArchitectureIntel, 3, true, false},
      {5, 2, 2, 1, kProcessorArchitectureAmd64, 3, true, false},  // XP x64
      {5, 2, 2, 3, kProcessorArchitectureAmd64, 4, true, false},  // Server 2003 x64
      {5, 2, 2, 1, kProcessorArchitectureIntel, 4, true, false},
      {6, 0, 2, 1, kProcessorArchitectureIntel, 5, true, false},
      {6, 0, 2, 3, kProcessorArchitectureIntel, 6, true, false},
      {6, 1, 2, 1, kProcessorArchitectureAmd64, 7, true, false},
      {6, 1, 2, 2, kProcessorArchitectureAmd64, 6, true, false},  // 2008 R2 (domain controller)
      {6, 2, 2, 1, kProcessorArchitectureAmd64, 7, true, true},   // Windows 8
      {6, 3, 2, 1, kProcessorArchitectureAmd64, 7, true, true},
      {10, 0, 2, 1, kProcessorArchitectureAmd64, 7, true, true},  // Windows 10 as manifested programs see it
  };
  for (const Case& c : cases) {
    platform::OsVersion version{c.major, c.minor, 0, c.platformId, 0, c.productType};
    DetectedOs d = DetectOs(version, c.architecture);
    EXPECT_EQ(static_cast<int>(d.generation), c.generation) << c.major << "." << c.minor;
    EXPECT_EQ(d.recognised, c.recognised) << c.major << "." << c.minor;
    EXPECT_EQ(d.windows8OrLater, c.windows8) << c.major << "." << c.minor;
    EXPECT_FALSE(d.unknownPlatform);
  }
  EXPECT_TRUE(DetectOs(platform::OsVersion{5, 0, 0, 3, 0, 1}, kProcessorArchitectureIntel).unknownPlatform);
}

TEST(DriverUtilityIniTest, WritesOnlyTheChosenPortSection) {
  struct Case {
    bool is64;
    UtilityPortSettings settings;
    const char* section;
    std::vector<std::pair<const char*, const char*>> values;
  } cases[] = {
      {false,
       {PortKind::kSerial, "ZNTCOM3:", {115200, 8, 'n', 1.0, 'p'}, ""},
       "PortSetting.COM",
       {{"PortName", "COM3:"},
        {"BitsPerSecond", "115200"},
        {"DataBits", "8"},
        {"StopBits", "1.0"},
        {"FlowControl", "p"}}},
      {true,
       {PortKind::kSerial, "COM12:", {4800, 7, 'o', 1.5, 'x'}, ""},
       "PortSetting.COM",
       {{"PortName", "COM12:"}, {"StopBits", "1.5"}, {"FlowControl", "x"}}},
      {false,
       {PortKind::kSerial, "ZNTCOM1:", {9600, 8, 'n', 2.0, ' '}, ""},
       "PortSetting.COM",
       {{"StopBits", "2.0"}, {"FlowControl", ""}}},
      {false, {PortKind::kParallel, "LPT2:", {}, ""}, "PortSetting.LPT", {{"PortName", "LPT2:"}}},
      {false, {PortKind::kNetwork, "NET:", {}, "10.0.0.7"}, "PortSetting.NET", {{"IPAddr", "10.0.0.7"}}},
  };
  for (const Case& c : cases) {
    TestMachine machine;
    const char* ini = "C:\\Program Files\\ZNT\\Utility\\DriverUtility.ini";
    machine.p.files.Put(ini, "[PortSetting.OLD]\nKeep=1\n");
    EXPECT_EQ(WriteDriverUtilityIni(machine.p.profile, ini, c.is64, c.settings), 0u);
    for (const auto& [key, value] : c.values) {
      EXPECT_EQ(machine.p.profile.GetString(ini, c.section, key, "missing", 100), value) << c.section << key;
    }
    EXPECT_EQ(machine.p.profile.GetSectionNames(ini),
              (std::vector<std::string>{"PortSetting.OLD", c.section}));
  }
}

}  // namespace
}  // namespace mq::installer
