// The Win32 implementations of the setup roles against the running system (Wine in the test stage): spooler
// registrations and enumerations, the port monitors' transceiver, the default printer, the "Spooler" service,
// cabinet extraction, file versions and the redirection switch of a 64-bit program.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ServiceControl.h"
#include "platform/Text.h"
#include "platform/WinError.h"
#include "platform/win32/WinspoolNames.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SetupRoles.h"
#include "platform/win32/Win32UsbRoles.h"

namespace mq::platform {
namespace {

std::vector<uint8_t> Utf16Z(std::string_view text) {
  std::u16string wide = text::Utf8ToUtf16(text);
  std::vector<uint8_t> bytes;
  for (char16_t unit : wide) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

// An uncompressed cabinet with the given members (the MSCF layout: header, one folder, file entries, one data
// block without checksum).
std::vector<uint8_t> MakeCabinet(const std::vector<std::pair<std::string, std::string>>& members) {
  std::vector<uint8_t> cab;
  auto u16 = [&](uint32_t v) { cab.insert(cab.end(), {uint8_t(v), uint8_t(v >> 8)}); };
  auto u32 = [&](uint32_t v) {
    cab.insert(cab.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  uint32_t filesOffset = 36 + 8;
  uint32_t dataOffset = filesOffset;
  std::string data;
  for (const auto& [name, contents] : members) {
    dataOffset += 16 + static_cast<uint32_t>(name.size()) + 1;
    data += contents;
  }
  uint32_t total = dataOffset + 8 + static_cast<uint32_t>(data.size());
  cab.insert(cab.end(), {'M', 'S', 'C', 'F'});
  u32(0);
  u32(total);
  u32(0);
  u32(filesOffset);
  u32(0);
  cab.insert(cab.end(), {3, 1});  // version 1.3
  u16(1);                         // folders
  u16(static_cast<uint32_t>(members.size()));
  u16(0);  // flags
  u16(0);  // set id
  u16(0);  // cabinet index
  u32(dataOffset);
  u16(1);  // data blocks
  u16(0);  // no compression
  uint32_t offset = 0;
  for (const auto& [name, contents] : members) {
    u32(static_cast<uint32_t>(contents.size()));
    u32(offset);
    u16(0);       // folder
    u16(0x5A21);  // date
    u16(0);       // time
    u16(0x20);    // archive
    cab.insert(cab.end(), name.begin(), name.end());
    cab.push_back(0);
    offset += static_cast<uint32_t>(contents.size());
  }
  u32(0);  // no checksum
  u16(static_cast<uint32_t>(data.size()));
  u16(static_cast<uint32_t>(data.size()));
  cab.insert(cab.end(), data.begin(), data.end());
  return cab;
}

TEST(SetupRolesUnderWine, SpoolerRegistrationsAndEnumerations) {
  Win32Spooler spooler;
  std::string driverDir, processorDir;
  ASSERT_EQ(spooler.GetPrinterDriverDirectory("", &driverDir), 0u);
  ASSERT_EQ(spooler.GetPrintProcessorDirectory("", &processorDir), 0u);
  EXPECT_NE(text::FoldCase(driverDir).find("spool\\drivers\\x64"), std::string::npos) << driverDir;
  EXPECT_NE(text::FoldCase(processorDir).find("spool\\prtprocs\\x64"), std::string::npos) << processorDir;

  DriverInfo3 driver;
  driver.name = "MQ Roles Test Driver";
  driver.driverPath = "UNIDRV.DLL";
  driver.dataFile = "ROLES.GPD";
  driver.configFile = "UNIDRVUI.DLL";
  driver.helpFile = "UNIDRV.HLP";
  driver.dependentFiles = {"ROLES.GPD", std::string(120, 'D') + ".DLL", std::string(120, 'E') + ".DLL"};
  ASSERT_EQ(spooler.AddPrinterDriver(driver), 0u);
  std::vector<DriverInfo3> drivers;
  ASSERT_EQ(spooler.EnumPrinterDrivers("", &drivers), 0u);
  auto found = std::find_if(drivers.begin(), drivers.end(),
                            [&](const DriverInfo3& d) { return d.name == driver.name; });
  ASSERT_NE(found, drivers.end());
  EXPECT_EQ(found->dependentFiles.size(), 3u);  // a list far beyond 200 bytes arrives whole

  PrinterInfo2 printer;
  printer.printerName = "MQ Roles Test";
  printer.portName = "LPT2:";
  printer.driverName = driver.name;
  printer.printProcessor = "winprint";
  printer.attributes = 64;
  ASSERT_EQ(spooler.AddPrinter(printer), 0u);
  std::vector<PrinterInfo2> printers;
  ASSERT_EQ(spooler.EnumPrinters(&printers), 0u);
  EXPECT_TRUE(std::any_of(printers.begin(), printers.end(),
                          [](const PrinterInfo2& p) { return p.printerName == "MQ Roles Test"; }));

  PrinterHandle handle = 0;
  ASSERT_EQ(spooler.OpenPrinter("MQ Roles Test", kPrinterAllAccess, &handle), 0u);
  PrinterInfo2 read;
  ASSERT_EQ(spooler.GetPrinter(handle, &read), 0u);
  EXPECT_EQ(read.portName, "LPT2:");
  EXPECT_EQ(read.dataType, "RAW");
  read.comment = "set through the role";
  EXPECT_EQ(spooler.SetPrinter(handle, read), 0u);
  PrinterInfo2 again;
  ASSERT_EQ(spooler.GetPrinter(handle, &again), 0u);
  EXPECT_EQ(again.comment, "set through the role");
  EXPECT_EQ(spooler.SetDefaultPrinter("MQ Roles Test"), 0u);
  wchar_t name[256];
  DWORD size = 256;
  ASSERT_TRUE(GetDefaultPrinterW(name, &size));
  EXPECT_STREQ(name, L"MQ Roles Test");
  EXPECT_EQ(spooler.DeletePrinter(handle), 0u);
  EXPECT_EQ(spooler.ClosePrinter(handle), 0u);
  EXPECT_EQ(spooler.DeletePrinterDriver("", driver.name), 0u);
  EXPECT_EQ(spooler.OpenPrinter("No Such Printer", kPrinterAllAccess, &handle), err::kInvalidPrinterName);
  spooler.BroadcastSettingChange("windows", 100);

  // Ports: the size is learnt first, as the installer does.
  uint32_t needed = 0;
  std::vector<std::string> ports;
  EXPECT_EQ(spooler.EnumPorts(100, &needed, &ports), err::kInsufficientBuffer);
  ASSERT_GT(needed, 100u);
  ASSERT_EQ(spooler.EnumPorts(needed, &needed, &ports), 0u);
  EXPECT_NE(std::find(ports.begin(), ports.end(), "LPT1:"), ports.end());

  std::vector<std::string> processors;
  ASSERT_EQ(spooler.EnumPrintProcessors("", &processors), 0u);
  EXPECT_NE(std::find(processors.begin(), processors.end(), "winprint"), processors.end());
}

TEST(SetupRolesUnderWine, LocalPortMonitorTransceiverAddsAPort) {
  Win32Spooler spooler;
  PrinterHandle xcv = 0;
  ASSERT_EQ(spooler.OpenPrinter(",XcvMonitor Local Port", kServerAccessAdminister, &xcv), 0u);
  std::string port = "C:\\mq-roles-port-" + std::to_string(GetTickCount64()) + ".prn";
  std::vector<uint8_t> output;
  uint32_t status = 1;
  ASSERT_EQ(spooler.XcvData(xcv, "AddPort", Utf16Z(port), 0, &output, &status), 0u);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(spooler.ClosePrinter(xcv), 0u);
  uint32_t needed = 0;
  std::vector<std::string> ports;
  spooler.EnumPorts(0, &needed, &ports);
  ASSERT_EQ(spooler.EnumPorts(needed, &needed, &ports), 0u);
  EXPECT_NE(std::find(ports.begin(), ports.end(), port), ports.end());
  ASSERT_EQ(spooler.OpenPrinter(",XcvMonitor Local Port", kServerAccessAdminister, &xcv), 0u);
  EXPECT_EQ(spooler.XcvData(xcv, "DeletePort", Utf16Z(port), 0, &output, &status), 0u);
  EXPECT_EQ(status, 0u);
  spooler.ClosePrinter(xcv);
  std::vector<MonitorInfo2> monitors;
  ASSERT_EQ(spooler.EnumMonitors(&monitors), 0u);
  EXPECT_TRUE(std::any_of(monitors.begin(), monitors.end(),
                          [](const MonitorInfo2& m) { return m.name == "Local Port"; }));
}

// The spooler is only queried: stopping or starting it here would disturb the other programs of the test
// stage that print through it, and Wine answers a start request of its spooler late (error 1053) once it was
// stopped. The stop and restart sequence is covered against the in-memory service.
TEST(SetupRolesUnderWine, SpoolerServiceAnswers) {
  Win32ServiceControl services;
  uint32_t state = 0;
  ASSERT_EQ(services.QueryState("Spooler", &state), 0u);
  EXPECT_GE(state, kServiceStopped);
  EXPECT_LE(state, 7u);  // SERVICE_PAUSED is the highest state
  EXPECT_EQ(services.QueryState("NoSuchServiceForMq", &state), err::kServiceDoesNotExist);
  EXPECT_EQ(services.Stop("NoSuchServiceForMq"), err::kServiceDoesNotExist);
}

// The Windows 98 serial settings end with a flush of win.ini: the call the profile role makes for it succeeds
// and leaves what was written readable.
TEST(SetupRolesUnderWine, WinIniFlushKeepsTheWrittenValue) {
  Win32Profile profile;
  ASSERT_EQ(profile.WriteString("win.ini", "MQ Flush Test", "COM1:", "9600,n,8,1,p"), 0u);
  EXPECT_EQ(profile.Flush("win.ini"), 0u);
  EXPECT_EQ(profile.GetString("win.ini", "MQ Flush Test", "COM1:", "", 100), "9600,n,8,1,p");
  EXPECT_EQ(profile.WriteString("win.ini", "MQ Flush Test", std::nullopt, std::nullopt), 0u);
}

TEST(SetupRolesUnderWine, CabinetExtractsOnlyTheWantedMembers) {
  Win32Platform platform;
  Win32Cabinet cabinet;
  std::string folder = platform.system.TempPath() + "mq-cab-" + std::to_string(GetTickCount64());
  ASSERT_EQ(platform.files.CreateFolder(folder), 0u);
  std::string cab = folder + "\\driver.cab";
  std::vector<uint8_t> bytes =
      MakeCabinet({{"unidrv.dll", "first member"}, {"other.dll", "second"}, {"ttfsub.gpd", "third member"}});
  ASSERT_EQ(platform.files.WriteAll(cab, bytes), 0u);
  std::vector<std::string> offered;
  ASSERT_EQ(cabinet.Extract(cab, folder,
                            [&](std::string_view name) {
                              offered.emplace_back(name);
                              return name != "other.dll";
                            }),
            0u);
  EXPECT_EQ(offered, (std::vector<std::string>{"unidrv.dll", "other.dll", "ttfsub.gpd"}));
  std::vector<uint8_t> contents;
  ASSERT_EQ(platform.files.ReadAll(folder + "\\unidrv.dll", &contents), 0u);
  EXPECT_EQ(std::string(contents.begin(), contents.end()), "first member");
  ASSERT_EQ(platform.files.ReadAll(folder + "\\ttfsub.gpd", &contents), 0u);
  EXPECT_EQ(std::string(contents.begin(), contents.end()), "third member");
  uint32_t attributes = 0;
  EXPECT_NE(platform.files.GetAttributes(folder + "\\other.dll", &attributes), 0u);
  EXPECT_NE(cabinet.Extract(folder + "\\missing.cab", folder, [](std::string_view) { return true; }), 0u);
}

TEST(SetupRolesUnderWine, FileVersionsAndRedirection) {
  Win32Platform platform;
  Win32FileVersions versions;
  std::string version = versions.FileVersion(platform.system.SystemDirectory() + "\\kernel32.dll");
  EXPECT_NE(version, "0.0.0.0");
  EXPECT_EQ(versions.FileVersion(platform.system.SystemDirectory() + "\\drivers\\ZNUSB.sys"), "0.0.0.0");
  // A 64-bit program has no redirection to switch off; the guard then leaves everything as it was.
  Win32FsRedirection redirection;
  uintptr_t cookie = 0;
  EXPECT_NE(redirection.Disable(&cookie), 0u);
  { RedirectionOff off(redirection, true); }
  EXPECT_EQ(SystemErrorText(ERROR_ACCESS_DENIED).empty(), false);
}

}  // namespace
}  // namespace mq::platform
