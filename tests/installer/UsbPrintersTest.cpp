// The connected USB printers: classification of the present devices, reading and writing the printer ID
// through the interface library, and the printer-class port from the printer list library.
#include <gtest/gtest.h>

#include "UsbFixture.h"

namespace mq::installer::testing {
namespace {

using platform::kUsbClassPrinters;
using platform::kUsbMixedDevices;
using platform::kUsbNoDevice;
using platform::kUsbVendorDriverPrinters;

TEST(UsbClassificationTest, ByProductIdsOfTheVendorsPresentDevices) {
  struct Case {
    const char* name;
    std::vector<std::string> ids;
    int expected;
  };
  const Case cases[] = {
      {"none", {}, kUsbNoDevice},
      {"another vendor only", {"USB\\VID_04B8&PID_1001&REV_0100", "PCI\\VEN_8086&DEV_1234"}, kUsbNoDevice},
      {"one vendor-driver printer", {"USB\\VID_1D3B&PID_1001&REV_0100"}, kUsbVendorDriverPrinters},
      {"one printer-class printer", {"USB\\VID_1D3B&PID_0E15&REV_0100"}, kUsbClassPrinters},
      {"vendor driver and class", {"USB\\VID_1D3B&PID_1000", "USB\\VID_1D3B&PID_0E15"}, kUsbMixedDevices},
      {"two vendor-driver printers",
       {"USB\\VID_1D3B&PID_1000", "USB\\VID_1D3B&PID_1002"},
       kUsbVendorDriverPrinters},
      {"two printer-class printers", {"USB\\VID_1D3B&PID_0001", "USB\\VID_1D3B&PID_1FFF"}, kUsbClassPrinters},
      {"product ID equal to the vendor ID", {"USB\\VID_1D3B&PID_1D3B"}, kUsbVendorDriverPrinters},
      {"lower-case form", {"USB\\Vid_1d3b&Pid_1001&Rev_0100"}, kUsbVendorDriverPrinters},
      {"lower-case form, class", {"USB\\Vid_1d3b&Pid_0e15"}, kUsbClassPrinters},
      {"mixed letter case matches neither form", {"USB\\VID_1d3b&PID_1001"}, kUsbNoDevice},
      // From 0x2000 up a product counts as the vendor's device without belonging to either kind.
      {"one device from 0x2000", {"USB\\VID_1D3B&PID_2000"}, kUsbClassPrinters},
      {"vendor driver and 0x2000", {"USB\\VID_1D3B&PID_1001", "USB\\VID_1D3B&PID_2000"}, kUsbMixedDevices},
      {"class and 0xFFFF", {"USB\\VID_1D3B&PID_0E15", "USB\\VID_1D3B&PID_FFFF"}, kUsbMixedDevices},
      {"not four hex digits", {"USB\\VID_1D3B&PID_10G1"}, kUsbNoDevice},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyHardwareIds(c.ids), c.expected) << c.name;
}

TEST(UsbClassificationTest, EnumeratesPresentDevicesAndCountsAFailureAsNone) {
  UsbFixture f;
  f.devices.otherDevices = {"ACPI\\PNP0A03", "USB\\ROOT_HUB20"};
  f.AddDevice(0x1001);
  EXPECT_EQ(f.printers.ClassifyUsbDevices(), kUsbVendorDriverPrinters);
  EXPECT_EQ(f.machine.p.journal.CallsTo("SetupDiGetClassDevsW"),
            std::vector<std::string>{"SetupDiGetClassDevsW flags=DIGCF_ALLCLASSES|DIGCF_PRESENT"});
  f.machine.p.journal.FailCall("SetupDiGetClassDevsW", 8);
  EXPECT_EQ(f.printers.ClassifyUsbDevices(), kUsbNoDevice);
}

TEST(UsbPrinterIdTest, ReadsBcdDeviceOfTheOnePrinterProbingEveryIndexAndClosingEveryHandle) {
  for (platform::UsbDeviceHandle none : {platform::kInvalidUsbDevice, platform::kNoUsbDevice}) {
    UsbFixture f;
    f.libraries.noDevice = none;
    f.AddDevice(0x1001, 10);
    int value = f.printers.ReadPrinterId();
    EXPECT_EQ(value, 10);
    EXPECT_EQ(PrinterIdOfDescriptor(value), 3);
    std::vector<std::string> opened = f.machine.p.journal.CallsTo("OpenDeviceX");
    ASSERT_EQ(opened.size(), 9u);  // indices 0..7, then the one that answered again
    for (int i = 0; i < 8; ++i) EXPECT_EQ(opened[i], "OpenDeviceX index=" + std::to_string(i));
    EXPECT_EQ(opened[8], "OpenDeviceX index=0");
    EXPECT_EQ(f.libraries.opens, f.libraries.closes);
    EXPECT_TRUE(f.libraries.openDevices.empty());
    EXPECT_EQ(f.libraries.loads, 1);
    EXPECT_EQ(f.libraries.unloads, 1);
    EXPECT_EQ(f.machine.p.journal.CallsTo("LoadLibraryW"),
              std::vector<std::string>{"LoadLibraryW path=C:\\Package\\ZnUsbInt.dll"});
    EXPECT_TRUE(f.ui.shown.empty());
  }
}

TEST(UsbPrinterIdTest, TwoPrintersGiveMinusTwoWithTheOnePrinterMessage) {
  UsbFixture f;
  f.AddDevice(0x1000, 1);
  f.AddDevice(0x1002, 2);
  EXPECT_EQ(f.printers.ReadPrinterId(), platform::kUsbSeveralDevices);
  EXPECT_EQ(f.ui.shown, std::vector<std::string>{"|<IDS_ERR_ONEPRINTER>"});
  EXPECT_EQ(f.machine.p.journal.CountOf("GetDescriptor"), 0u);
  EXPECT_EQ(f.libraries.opens, f.libraries.closes);
  EXPECT_EQ(f.libraries.unloads, 1);
}

TEST(UsbPrinterIdTest, FailuresReportNoAnswerWithTheLibrarysMessage) {
  struct Case {
    const char* name;
    uint16_t product;  // of the one present device, 0 for none
    std::function<void(UsbFixture&)> arrange;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"no device", 0, [](UsbFixture&) {}, {}},
      {"printer-class devices do not answer", 0x0E15, [](UsbFixture&) {}, {}},
      {"library missing",
       0x1001,
       [](UsbFixture& f) { f.libraries.absentLibraries = {"znusbint.DLL"}; },
       {"|Can not load ZnUsbInt.dll"}},
      {"entry point missing",
       0x1001,
       [](UsbFixture& f) { f.libraries.missingEntries = {"GetDescriptor"}; },
       {"|open function error"}},
      {"descriptor unreadable",
       0x1001,
       [](UsbFixture& f) { f.machine.p.journal.FailCall("GetDescriptor", 31); },
       {"|Get Device ID error"}},
  };
  for (const Case& c : cases) {
    UsbFixture f;
    if (c.product != 0) f.AddDevice(c.product, 4);
    c.arrange(f);
    EXPECT_EQ(f.printers.ReadPrinterId(), platform::kUsbNoAnswer) << c.name;
    EXPECT_EQ(f.ui.shown, c.shown) << c.name;
    EXPECT_EQ(f.libraries.opens, f.libraries.closes) << c.name;
    EXPECT_EQ(f.libraries.loads, f.libraries.unloads) << c.name;
  }
}

TEST(UsbPrinterIdTest, WriteSendsTheTenByteCommandToTheFirstPrinterThatAnswers) {
  UsbFixture f;
  f.AddDevice(0x1001, 10);
  ASSERT_TRUE(f.printers.WritePrinterId(2));
  EXPECT_EQ(f.machine.p.journal.CallsTo("uWrite"),
            std::vector<std::string>{"uWrite device=0x100 pipe=0 bytes=1B 73 42 45 92 99 1D 49 20 01"});
  EXPECT_EQ(PrinterIdOfDescriptor(f.printers.ReadPrinterId()), 2);  // the printer now answers with ID 2
  EXPECT_EQ(f.libraries.opens, f.libraries.closes);
  EXPECT_EQ(f.libraries.loads, f.libraries.unloads);
  EXPECT_TRUE(f.ui.shown.empty());
}

TEST(UsbPrinterIdTest, WriteRefusalsAndFailures) {
  struct Case {
    const char* name;
    int id;
    std::function<void(UsbFixture&)> arrange;
    std::vector<std::string> shown;
    size_t writes;
  };
  const Case cases[] = {
      {"id 0", 0, [](UsbFixture&) {}, {}, 0},
      {"id 9", 9, [](UsbFixture&) {}, {}, 0},
      {"library missing",
       1,
       [](UsbFixture& f) { f.libraries.absentLibraries = {"ZnUsbInt.dll"}; },
       {"|open function error"},
       0},
      {"write entry missing",
       1,
       [](UsbFixture& f) { f.libraries.missingEntries = {"uWrite"}; },
       {"|open function error"},
       0},
      {"no printer answers",
       1,
       [](UsbFixture& f) { f.bus.devices.clear(); },
       {"|Can not find USB device."},
       0},
      {"write fails",
       8,
       [](UsbFixture& f) { f.machine.p.journal.FailCall("uWrite", 31); },
       {"|write ID error"},
       1},
  };
  for (const Case& c : cases) {
    UsbFixture f;
    f.AddDevice(0x1001, 0);
    c.arrange(f);
    f.machine.p.journal.Clear();
    EXPECT_FALSE(f.printers.WritePrinterId(c.id)) << c.name;
    EXPECT_EQ(f.ui.shown, c.shown) << c.name;
    EXPECT_EQ(f.machine.p.journal.CountOf("uWrite"), c.writes) << c.name;
    if (c.id < 1 || c.id > 8) {
      EXPECT_TRUE(f.machine.p.journal.Lines().empty()) << c.name;
    }
    EXPECT_EQ(f.libraries.opens, f.libraries.closes) << c.name;
    EXPECT_EQ(f.libraries.loads, f.libraries.unloads) << c.name;
  }
}

TEST(UsbClassPortTest, PortDigitBeforeTheFirstMarkAfterTheModel) {
  struct Case {
    const char* list;
    const char* model;
    int port;
  };
  const Case cases[] = {
      {"USBPRINT\\MQ-450;MQ-450;USB002@", "MQ-450", 2},
      {"USBPRINT\\MQ-200;MQ-200;USB001@USBPRINT\\MQ-450;MQ-450;USB004@", "MQ-450", 4},
      {"MQ-450;USB003@", "MQ-450", 3},
      {"MQ-450;USB005@", "MQ-450", 1},  // not 1..4: port 1
      {"MQ-450;USB010@", "MQ-450", 1},
      {"MQ-450@", "MQ-450", 1},         // the model's own last character
      {"MQ-200;USB002@", "MQ-450", 0},  // not listed
      {"", "MQ-450", 0},
      {"MQ-450;USB002", "MQ-450", 0},  // cut off before its mark
      {"MQ-450;USB002@", "", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassPrinterPortIn(c.list, c.model), c.port) << c.list;
}

TEST(UsbClassPortTest, ListsThroughThePrinterListLibrary) {
  UsbFixture f;
  f.bus.classPrinters = {{"MQ-200", 1}, {"MQ-450", 3}};
  EXPECT_EQ(f.printers.FindClassPrinterPort("MQ-450"), 3);
  EXPECT_EQ(f.machine.p.journal.CallsTo("LoadLibraryW"),
            std::vector<std::string>{"LoadLibraryW path=C:\\Package\\UsbPrnLink.dll"});
  EXPECT_EQ(f.machine.p.journal.CallsTo("EnumUSBPrinter"),
            std::vector<std::string>{"EnumUSBPrinter flags=0"});
  EXPECT_EQ(f.libraries.unloads, 1);

  // A list that fills the whole buffer without a terminating zero is read to the buffer's end only.
  f.libraries.printerListOverride = std::string(1020, 'x') + "MQ-450;USB002@";
  EXPECT_EQ(f.printers.FindClassPrinterPort("MQ-450"), 0);
  f.libraries.printerListOverride = std::string(1000, 'x') + "MQ-450;USB002@";
  EXPECT_EQ(f.printers.FindClassPrinterPort("MQ-450"), 2);
  EXPECT_TRUE(f.ui.shown.empty());
}

TEST(UsbClassPortTest, LibraryFailuresGiveModelNotFound) {
  struct Case {
    const char* name;
    std::function<void(UsbFixture&)> arrange;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"library missing",
       [](UsbFixture& f) { f.libraries.absentLibraries = {"UsbPrnLink.dll"}; },
       {"|load library failed!"}},
      {"entry point missing", [](UsbFixture& f) { f.libraries.missingEntries = {"EnumUSBPrinter"}; }, {}},
      {"negative result", [](UsbFixture& f) { f.machine.p.journal.FailCall("EnumUSBPrinter", 1); }, {}},
  };
  for (const Case& c : cases) {
    UsbFixture f;
    f.bus.classPrinters = {{"MQ-450", 2}};
    c.arrange(f);
    EXPECT_EQ(f.printers.FindClassPrinterPort("MQ-450"), 0) << c.name;
    EXPECT_EQ(f.ui.shown, c.shown) << c.name;
    EXPECT_EQ(f.libraries.loads, f.libraries.unloads) << c.name;
  }
}

}  // namespace
}  // namespace mq::installer::testing
