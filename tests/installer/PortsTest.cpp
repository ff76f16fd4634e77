// Port kinds, port lists, serial settings, network ports and USB port records.
#include <gtest/gtest.h>

#include <algorithm>

#include "InstallerFixture.h"
#include "installer/Ports.h"
#include "platform/WinError.h"

namespace mq::installer {
namespace {

using common::OsGeneration;
using testing::TestMachine;

TEST(PortKindTest, FirstMatchInTheFixedOrder) {
  struct Case {
    const char* name;
    PortKind kind;
  } cases[] = {{"ZNTUSB1", PortKind::kUsb},    {"ZNTCOM3:", PortKind::kSerial}, {"COM1:", PortKind::kSerial},
               {"LPT2:", PortKind::kParallel}, {"NET:", PortKind::kNetwork},    {"USB_COM", PortKind::kUsb},
               {"FILE:", PortKind::kUnknown},  {"lpt1:", PortKind::kUnknown},   {"", PortKind::kUnknown}};
  for (const Case& c : cases) EXPECT_EQ(PortKindOf(c.name), c.kind) << c.name;
}

TEST(SerialSettingsTest, TextAndName) {
  struct Case {
    SerialSettings settings;
    const char* text;
  } cases[] = {{{115200, 8, 'n', 1.0, 'p'}, "115200,n,8,1,p"},
               {{4800, 7, 'o', 1.5, 'p'}, "4800,o,7,1.5,p"},
               {{19200, 7, 'e', 1.5, 'x'}, "19200,e,7,1.5,x"},
               {{9600, 8, 'n', 2.0, ' '}, "9600,n,8,2, "}};
  for (const Case& c : cases) EXPECT_EQ(SerialSettingsText(c.settings), c.text);
  EXPECT_EQ(SerialSettingsName("ZNTCOM3:"), "COM3:");
  EXPECT_EQ(SerialSettingsName("COM12:"), "COM12:");
  EXPECT_EQ(SerialSettingsName("LPT1:"), "");
}

TEST(SerialSettingsTest, TakenFromThePageTexts) {
  SerialSettings previous{9600, 8, 'n', 1.0, 'p'};
  struct Case {
    const char* speed;
    const char* bits;
    const char* stop;
    const char* parity;
    const char* protocol;
    const char* text;
  } cases[] = {{"115200", "8", "1", "None", "Hardware", "115200,n,8,1,p"},
               {"4800", "7", "1.5", "Odd", "Hardware", "4800,o,7,1.5,p"},
               {"19200", "7", "1.5", "Even 偶校验", "Xon/Xoff", "19200,e,7,1.5,x"},
               {"2400", "5", "2", "Space", "None", "2400,s,5,2, "},
               {"1200", "6", "1", "Mark", "xon/xoff", "1200,m,6,1,p"},  // not an exact protocol text: kept
               {"", "", "", "", "", "9600,n,8,1,p"}};                   // nothing selected: all kept
  for (const Case& c : cases) {
    EXPECT_EQ(
        SerialSettingsText(SerialSettingsFromPage(c.speed, c.bits, c.stop, c.parity, c.protocol, previous)),
        c.text);
  }
}

TEST(SerialSettingsTest, DcbRecord) {
  std::array<uint8_t, 28> dcb = BuildDcb({9600, 7, 'e', 1.5, 'p'});
  EXPECT_EQ(dcb[0], 28);
  EXPECT_EQ(dcb[4] | (dcb[5] << 8), 9600);
  uint32_t flags = dcb[8] | (dcb[9] << 8) | (dcb[10] << 16);
  EXPECT_EQ(flags,
            0x1u | 0x2u | 0x4u | 0x400u | 0x1000u);  // binary, parity, CTS flow, error char, RTS enable
  EXPECT_EQ(dcb[18], 7);
  EXPECT_EQ(dcb[19], 2);
  EXPECT_EQ(dcb[20], 1);
  EXPECT_EQ(dcb[21], 0);

  dcb = BuildDcb({115200, 8, 'n', 2.0, 'x'});
  flags = dcb[8] | (dcb[9] << 8) | (dcb[10] << 16);
  EXPECT_EQ(flags, 0x1u | 0x100u | 0x200u);  // binary, XON/XOFF out and in
  EXPECT_EQ(dcb[19], 0);
  EXPECT_EQ(dcb[20], 2);
  EXPECT_EQ(dcb[21], 17);
  EXPECT_EQ(dcb[22], 19);
  EXPECT_EQ(BuildDcb({9600, 8, 'm', 1.0, ' '})[19], 3);
  EXPECT_EQ(BuildDcb({9600, 8, 's', 1.0, ' '})[19], 4);
  EXPECT_EQ(BuildDcb({9600, 8, 'o', 1.0, ' '})[19], 1);
}

TEST(SerialSettingsTest, StoredInTheRegistryOnNtSystems) {
  TestMachine machine;
  WriteSerialSettings(machine.p.registry, machine.p.profile, *machine.spooler, OsGeneration::kXp,
                      "ZNTCOM3:", {115200, 8, 'n', 1.0, 'p'});
  EXPECT_EQ(
      machine.p.registry.GetString("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", "COM3:"),
      "115200,n,8,1,p");
  EXPECT_EQ(machine.p.journal.CountOf("SendMessageTimeoutW"), 0u);
}

TEST(SerialSettingsTest, Windows98WinIniAndDcbOfTheMatchingPortKey) {
  // Port keys 0000..0003; 0001 and 0003 are serial ports (PortSubClass starting with 1), so port 1 is 0001
  // and port 2 is 0003.
  struct Case {
    const char* port;
    const char* dcbKey;  // nullptr: no DCB written
  } cases[] = {{"COM1:", "0001"}, {"COM2:", "0003"}, {"COM12:", "0001"}, {"COM3:", nullptr}};
  for (const Case& c : cases) {
    TestMachine machine;
    const char* base = "HKLM\\System\\CurrentControlSet\\Services\\Class\\Ports\\";
    machine.p.registry.PutDword(std::string(base) + "0000", "PortSubClass", 0);
    machine.p.registry.PutDword(std::string(base) + "0001", "PortSubClass", 1);
    machine.p.registry.PutDword(std::string(base) + "0003", "PortSubClass", 1);
    WriteSerialSettings(machine.p.registry, machine.p.profile, *machine.spooler, OsGeneration::kWin98, c.port,
                        {4800, 7, 'o', 1.5, 'p'});
    EXPECT_EQ(machine.p.profile.GetString("win.ini", "Ports", SerialSettingsName(c.port), "", 100),
              "4800,o,7,1.5,p");
    EXPECT_EQ(
        machine.p.journal.CallsTo("SendMessageTimeoutW"),
        (std::vector<std::string>{"SendMessageTimeoutW message=WM_SETTINGCHANGE area=Ports timeout=1000"}));
    // win.ini is flushed after the broadcast, so that the cached copy reaches the disk.
    const std::vector<std::string>& lines = machine.p.journal.Lines();
    auto broadcast = std::find(lines.begin(), lines.end(),
                               "SendMessageTimeoutW message=WM_SETTINGCHANGE area=Ports timeout=1000");
    ASSERT_NE(broadcast, lines.end());
    EXPECT_NE(
        std::find(
            broadcast, lines.end(),
            "WritePrivateProfileStringW file=C:\\Windows\\win.ini section=(null) key=(null) value=(null)"),
        lines.end());
    for (const char* key : {"0000", "0001", "0003"}) {
      auto dcb = machine.p.registry.GetRaw(std::string(base) + key, "DCB");
      bool expected = c.dcbKey != nullptr && std::string(key) == c.dcbKey;
      ASSERT_EQ(dcb.has_value(), expected) << c.port << " " << key;
      if (expected) {
        EXPECT_EQ(dcb->first, platform::kRegNone);
        std::array<uint8_t, 28> want = BuildDcb({4800, 7, 'o', 1.5, 'p'});
        EXPECT_EQ(dcb->second, std::vector<uint8_t>(want.begin(), want.end()));
      }
    }
  }
}

TEST(NetworkPortTest, PortData1Layout) {
  std::vector<uint8_t> r = BuildPortData1("ZNTIP_192.168.1.20", "192.168.1.20");
  ASSERT_EQ(r.size(), 964u);
  auto u32 = [&](size_t at) {
    return r[at] | (r[at + 1] << 8) | (r[at + 2] << 16) | (uint32_t(r[at + 3]) << 24);
  };
  auto wide = [&](size_t at) {
    std::string s;
    for (size_t i = at; r[i] != 0 || r[i + 1] != 0; i += 2) s += static_cast<char>(r[i]);
    return s;
  };
  EXPECT_EQ(wide(0), "ZNTIP_192.168.1.20");
  EXPECT_EQ(u32(128), 1u);
  EXPECT_EQ(u32(132), 1u);
  EXPECT_EQ(u32(136), 964u);
  EXPECT_EQ(u32(140), 0u);
  EXPECT_EQ(wide(144), "192.168.1.20");
  EXPECT_EQ(wide(242), "public");
  EXPECT_EQ(u32(308), 1u);
  EXPECT_EQ(u32(952), 9100u);
  EXPECT_EQ(u32(956), 0u);
  EXPECT_EQ(u32(960), 1u);
  // A name longer than its field keeps the field's terminating zero.
  r = BuildPortData1(std::string(100, 'P'), "h");
  EXPECT_EQ(wide(0).size(), 63u);
}

TEST(NetworkPortTest, CreatedThroughTheTcpMonitorTransceiver) {
  TestMachine machine;
  EXPECT_EQ(CreateNetworkPort(*machine.spooler, "ZNTIP_10.1.2.3", "10.1.2.3"), 0u);
  EXPECT_TRUE(machine.spooler->HasPort("ZNTIP_10.1.2.3"));
  EXPECT_EQ(machine.spooler->OpenHandleCount(), 0u);
  std::vector<std::string> calls = machine.p.journal.Lines();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], "OpenPrinterW name=,XcvMonitor Standard TCP/IP Port access=0x1");
  EXPECT_EQ(calls[1].substr(0, calls[1].find(" handle")), "XcvDataW");
  EXPECT_NE(calls[1].find("command=AddPort inputBytes=964 outputBytes=260"), std::string::npos);
  // A port of that name that the spooler lists is the port wanted (an earlier run's); the monitor's "exists"
  // counts as a failure when the spooler cannot show it.
  machine.p.journal.Clear();
  EXPECT_EQ(CreateNetworkPort(*machine.spooler, "ZNTIP_10.1.2.3", "10.1.2.3"), 0u);
  EXPECT_EQ(machine.p.journal.CallsTo("EnumPortsW").size(), 2u);
  machine.p.journal.FailCall("EnumPortsW", err::kAccessDenied, 1);
  EXPECT_EQ(CreateNetworkPort(*machine.spooler, "ZNTIP_10.1.2.3", "10.1.2.3"), err::kAlreadyExists);
  machine.p.journal.FailCall("OpenPrinterW", err::kUnknownPort, 1);
  EXPECT_EQ(CreateNetworkPort(*machine.spooler, "ZNTIP_10.1.2.4", "10.1.2.4"), err::kUnknownPort);
}

TEST(UsbPortRecordTest, PortNameValueAndPrinterPortKey) {
  TestMachine machine;
  SetupConfig config(machine.p.profile, testing::kPackage, false);
  RecordUsbPort(machine.p.registry, config, "ZNTUSB1");
  RecordUsbPort(machine.p.registry, config, "ZNTUSB3");
  EXPECT_EQ(machine.p.registry.GetDword("HKLM\\SOFTWARE\\ZNT\\PORTNAME", "ZNTUSB1"), 7u);
  EXPECT_EQ(machine.p.registry.GetDword("HKLM\\SOFTWARE\\ZNT\\PORTNAME", "ZNTUSB3"), 0u);
  EXPECT_TRUE(machine.p.registry.HasKey("HKLM\\SOFTWARE\\ZNT\\PRINTERPORT"));
  EXPECT_EQ(machine.p.registry.OpenHandleCount(), 0u);
}

class PortListTest : public ::testing::Test {
 protected:
  PortListInput Input(bool is64, bool typical, OsGeneration os = OsGeneration::kWin7) {
    PortListInput in;
    in.caps.lpt = 1;
    in.caps.com = 1;
    in.caps.lptDefault = 0;
    in.os = os;
    in.is64BitWindows = is64;
    in.typical = typical;
    in.windowsDirectory = "C:\\Windows";
    return in;
  }
  std::vector<std::string> Expected(const char* serialPrefix) {
    std::vector<std::string> ports = {"LPT1:", "LPT2:", "LPT3:"};
    for (int i = 1; i <= 20; ++i) ports.push_back(serialPrefix + std::to_string(i) + ":");
    return ports;
  }
  TestMachine machine;
  common::LanguageTexts texts{machine.p.profile, "C:\\Package\\language", "setup", 0x409};
};

TEST_F(PortListTest, ParallelThenSerialPerWordSize) {
  PortPage x86 = BuildPortList(Input(false, true), machine.usb, texts);
  EXPECT_EQ(x86.ports, Expected("ZNTCOM"));
  PortPage x64 = BuildPortList(Input(true, true), machine.usb, texts);
  EXPECT_EQ(x64.ports, Expected("COM"));
  EXPECT_EQ(x86.selected, 0);
  EXPECT_FALSE(x86.serialListsEnabled);  // LPT1: selected
  EXPECT_TRUE(x86.rasterChecked);
  EXPECT_FALSE(x86.rasterVisible);
  EXPECT_FALSE(x86.comNoteVisible);
}

TEST_F(PortListTest, NetworkUsbAndNotes) {
  PortListInput in = Input(false, true);
  in.caps.com = 0;
  in.caps.net = 1;
  in.caps.usb = 1;
  in.caps.lptDefault = 2;
  PortPage typical = BuildPortList(in, machine.usb, texts);
  EXPECT_EQ(typical.ports, (std::vector<std::string>{"LPT1:", "LPT2:", "LPT3:", "NET:", "ZNTUSB1"}));
  EXPECT_EQ(typical.selected, 4);
  EXPECT_TRUE(typical.comNoteVisible);
  EXPECT_EQ(typical.comNote, "<IDS_ERR_UNSUPPORTCOM>");
  EXPECT_FALSE(typical.usbNoteVisible);  // typical setup never shows the driver note when built

  in.typical = false;
  in.caps.rasterVisible = 1;
  PortPage advanced = BuildPortList(in, machine.usb, texts);
  EXPECT_EQ(advanced.ports.size(), 8u);
  EXPECT_EQ(advanced.ports.back(), "ZNTUSB4");
  EXPECT_TRUE(advanced.rasterVisible);
  EXPECT_TRUE(advanced.usbNoteVisible);  // no vendor USB driver installed
  EXPECT_EQ(advanced.usbNote, "<IDS_ERR_UPDATEUSB>");
  SelectPort(advanced, 3, in, machine.usb, texts);
  EXPECT_TRUE(advanced.ipFieldEnabled);
  EXPECT_FALSE(advanced.usbNoteVisible);

  // Windows NT 4.0 offers no USB port.
  in.os = OsGeneration::kNt4;
  EXPECT_EQ(BuildPortList(in, machine.usb, texts).ports.back(), "NET:");
}

TEST_F(PortListTest, PreselectionRules) {
  struct Case {
    int lptDefault;
    int lpt;
    bool typical;
    int classification;
    int descriptor;
    const char* selected;
  } cases[] = {
      {1, 1, true, platform::kUsbNoDevice, -1, "LPT1:"},
      {1, 0, true, platform::kUsbNoDevice, -1, "ZNTCOM1:"},
      {2, 1, true, platform::kUsbNoDevice, -1, "ZNTUSB1"},
      {0, 1, true, platform::kUsbNoDevice, -1, "LPT1:"},
      {1, 1, true, platform::kUsbClassPrinters, -1, "ZNTUSB1"},
      {1, 1, true, platform::kUsbNoDevice, 10, "ZNTUSB1"},   // a device answered
      {1, 1, false, platform::kUsbNoDevice, 10, "ZNTUSB3"},  // descriptor 10 is printer ID 3
      {1, 1, false, platform::kUsbNoDevice, 5, "LPT1:"},     // ID 6 has no port: entry 0
  };
  for (const Case& c : cases) {
    PortListInput in = Input(false, c.typical);
    in.caps.lpt = c.lpt;
    in.caps.usb = 1;
    in.caps.lptDefault = c.lptDefault;
    machine.usb.classification = c.classification;
    machine.usb.printerId = c.descriptor;
    PortPage page = BuildPortList(in, machine.usb, texts);
    ASSERT_GE(page.selected, 0);
    EXPECT_EQ(page.ports[page.selected], c.selected)
        << c.lptDefault << " " << c.classification << " " << c.descriptor;
  }
}

TEST_F(PortListTest, Windows98OffersTheSystemPortsOfTheSupportedKinds) {
  PortListInput in = Input(false, true, OsGeneration::kWin98);
  in.caps.lpt = 0;
  EXPECT_EQ(BuildPortList(in, machine.usb, texts).ports, (std::vector<std::string>{"COM1:", "COM2:"}));
  in.caps.lpt = 1;
  in.caps.com = 0;
  EXPECT_EQ(BuildPortList(in, machine.usb, texts).ports, (std::vector<std::string>{"LPT1:"}));
}

TEST(SpeedIndexTest, KnownSpeedsOnly) {
  EXPECT_EQ(SpeedIndexOf(1200), 0);
  EXPECT_EQ(SpeedIndexOf(115200), 7);
  EXPECT_EQ(SpeedIndexOf(14400), -1);
}

TEST(SerialSettingsTest, ThePageStartsAtTheModelsSpeed) {
  PortCaps caps;
  for (auto [baudRate, speed] :
       {std::pair{38400, 38400}, std::pair{1200, 1200}, std::pair{14400, 9600}, std::pair{0, 9600}}) {
    caps.baudRate = baudRate;
    SerialSettings s = PageSerialSettings(caps);
    EXPECT_EQ(s.speed, speed) << baudRate;
    EXPECT_EQ(SerialSettingsText(s), std::to_string(speed) + ",n,8,1,p");
  }
}

}  // namespace
}  // namespace mq::installer
