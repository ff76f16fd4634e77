// The x64 installation engine against the real spooler of the running system (Wine in the test stage): the
// sample package's MQ-450 is installed on a parallel port and a raw job sent to the new printer arrives
// byte-exact in a file; on USB, with a vendor-driver printer registered as a present device and the test
// build of the USB helper libraries in the package, the engine reads the printer's ID, installs on ZNTUSB1
// and the package's USB port monitor stand-in is registered and loaded by the spooler.
//
// Wine-specific preparation lives here: the driver store that Windows 7 has and a Wine prefix lacks gets the
// universal driver's file names, and the parallel port is mapped to a Unix file through Wine's spooler key.
#include <windows.h>
#include <shlobj.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileBytes.h"
#include "RegisteredDevice.h"
#include "WineHostPath.h"
#include "WinePackage.h"
#include "common/LanguageTexts.h"
#include "common/OsGeneration.h"
#include "installer/InstallEngine.h"
#include "installer/UsbInstallation.h"
#include "installer/UsbPrinters.h"
#include "platform/Text.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SetupRoles.h"
#include "platform/win32/Win32UsbRoles.h"

namespace mq::installer {
namespace {

using mq::testing::FileExists;
using mq::testing::ReadBytes;

class PrintingUi : public InstallUi {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    shown += std::string(caption) + "|" + std::string(text) + "\n";
  }
  bool AskYesNo(std::string_view text) override {
    asked += std::string(text) + "\n";
    return false;
  }
  bool RestartWindows() override { return false; }
  std::string shown;
  std::string asked;
};

class InstallUnderWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The package as assemble-dist lays it out, in a folder of its own, with the test build of the USB helper
    // libraries and one vendor-driver printer that carries printer ID 1.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    package_ = std::wstring(temp) + L"mq-installer-package-" + std::to_wstring(GetCurrentProcessId());
#ifdef MQ_PLUGIN_DLL
    const char* plugin = MQ_PLUGIN_DLL;
#else
    const char* plugin = nullptr;
#endif
    ASSERT_TRUE(mq::testing::LayOutPackage(
        package_, {MQ_PACKAGE_DIR, MQ_MONITOR_DLL, plugin, MQ_USB_TEST_LIBRARY_DIR, "[ZnUsbInt]\r\nDevice0=1001:0\r\n"}));
    mq::testing::MakeDriverStore();
  }

  // Prepares and runs one installation of MQ-450 on Windows 7.
  void Install(const char* port) {
    platform::Win32Platform platform;
    platform::Win32SetupRoles roles;
    platform::Win32UsbRoles usbRoles;
    bool is64 = common::Is64BitWindows(platform.system);
    ASSERT_TRUE(is64) << "the x64 engine sees 64-bit Windows";
    SetupConfig config(platform.profile, text::Utf16ToUtf8(std::u16string(package_.begin(), package_.end())),
                       is64);
    common::LanguageTexts texts(platform.profile, config.packageFolder() + "\\language", "setup", 0x0409);
    UsbPrinters printers(usbRoles.devices, usbRoles.libraries, usbRoles.versions, config.packageFolder(),
                         texts, ui_);
    InstallerServices services{platform.Services(), roles.spooler, roles.services,           roles.cabinet,
                               roles.redirection,   printers,      platform::SystemErrorText};
    UsbInstallation usb(services, config, texts, ui_, printers);
    InstallEngine engine(services, config, texts, ui_, usb);
    job_.model = "MQ-450";
    job_.type = PrinterType::kReceipt;
    job_.os = common::OsGeneration::kWin7;
    job_.portName = port;
    job_.raster = true;
    PrepareResult prepared = engine.Prepare(job_);
    ASSERT_EQ(prepared.outcome, PrepareResult::Outcome::kReady) << prepared.message;
    engine.RunWorker(job_);
  }

  static std::wstring DriverDirectory() {
    wchar_t folder[MAX_PATH * 2];
    DWORD needed = 0;
    EXPECT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder),
                                           sizeof folder, &needed));
    return folder;
  }

  static void RemovePrinter(const wchar_t* name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<LPWSTR>(name), &printer, &defaults)) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
  }

  static std::wstring package_;
  InstallJob job_;
  PrintingUi ui_;
};

std::wstring InstallUnderWine::package_;

TEST_F(InstallUnderWine, ParallelPrinterInstalledAndPrintsRawBytes) {
  RemovePrinter(L"MQ-450(P)");
  Install("LPT1:");
  ASSERT_EQ(job_.resultState, kStateSucceeded) << job_.resultText;
  EXPECT_EQ(job_.resultText, "The printer has been installed.");

  // Driver and printer registered.
  std::vector<BYTE> buffer(1 << 16);
  DWORD needed = 0;
  DWORD count = 0;
  ASSERT_TRUE(EnumPrinterDriversW(nullptr, nullptr, 3, buffer.data(), buffer.size(), &needed, &count));
  bool found = false;
  for (DWORD i = 0; i < count; ++i) {
    const auto& d = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data())[i];
    if (std::wstring(d.pName) == L"MQ-450") {
      found = true;
      EXPECT_EQ(std::wstring(d.pDataFile).find(L"MQ450.GPD") != std::wstring::npos, true);
    }
  }
  EXPECT_TRUE(found);
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(L"MQ-450(P)"), &printer, nullptr));
  DWORD size = 0;
  GetPrinterW(printer, 2, nullptr, 0, &size);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetPrinterW(printer, 2, info.data(), size, &size));
  EXPECT_STREQ(reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPortName, L"LPT1:");
  EXPECT_STREQ(reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDriverName, L"MQ-450");

  // Driver files in the driver directory and its version folder; the port in DriverUtility.ini.
  std::wstring dir = DriverDirectory();
  for (const wchar_t* name :
       {L"UNIDRV.DLL", L"UNIDRVUI.DLL", L"UNIDRV.HLP", L"MQ450.GPD", L"MQRES.DLL", L"MQ450UI.DLL",
        L"MQREND.DLL", L"MQREND.INI", L"TTFSUB.GPD", L"STDNAMES.GPD", L"UNIRES.DLL"}) {
    EXPECT_TRUE(FileExists(dir + L"\\" + name)) << text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(name));
  }
  for (const wchar_t* name : {L"LANGUAGE_MQ450.INI", L"ENG_MQ450.RES", L"CHN_MQ450.RES", L"CHF_MQ450.RES"}) {
    EXPECT_TRUE(FileExists(dir + L"\\3\\" + name)) << text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(name));
  }
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring utility =
      std::wstring(windows).substr(0, 3) + L"Program Files\\ZNT\\Utility\\DriverUtility.ini";
  wchar_t value[64] = {};
  GetPrivateProfileStringW(L"PortSetting.LPT", L"PortName", L"", value, 64, utility.c_str());
  EXPECT_STREQ(value, L"LPT1:");
  EXPECT_TRUE(
      FileExists(std::wstring(windows).substr(0, 3) + L"Program Files\\ZNT\\ZNTDriverlog\\ZNTDRIVERLOGVIEWER.EXE"));

  // A raw job through the port mapped to a Unix file.
  std::string outputUnix = std::string(MQ_OUTPUT_DIR) + "/wine-lpt1-job.bin";
  std::wstring output = mq::testing::WineHostPathW(outputUnix.c_str());
  DeleteFileW(output.c_str());
  std::wstring target(outputUnix.begin(), outputUnix.end());
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", L"LPT1:", REG_SZ,
                            target.c_str(), static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  std::vector<BYTE> bytes = {0x1B, 0x63, 0x3B, 0x01};
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<BYTE>(i));
  bytes.insert(bytes.end(), {0x0D, 0x0A, 0x1A, 0x00, 0x1B, 0x63, 0x3B, 0x00});
  DOC_INFO_1W doc = {const_cast<LPWSTR>(L"MQ raw test"), nullptr, const_cast<LPWSTR>(L"RAW")};
  ASSERT_NE(StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  ASSERT_TRUE(StartPagePrinter(printer));
  DWORD written = 0;
  ASSERT_TRUE(WritePrinter(printer, bytes.data(), static_cast<DWORD>(bytes.size()), &written));
  EXPECT_EQ(written, bytes.size());
  EndPagePrinter(printer);
  ASSERT_TRUE(EndDocPrinter(printer));
  ClosePrinter(printer);
  std::vector<BYTE> arrived;
  for (int attempt = 0; attempt < 50; ++attempt) {
    arrived = ReadBytes(output);
    if (arrived.size() >= bytes.size()) break;
    Sleep(100);
  }
  EXPECT_EQ(arrived, bytes);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", L"LPT1:");
  RemovePrinter(L"MQ-450(P)");
}

TEST_F(InstallUnderWine, UsbPortMonitorIsRegisteredAndLoaded) {
  // A monitor left by an earlier run would only be compared by version; start without it.
  RemovePrinter(L"MQ-450(U) 1");
  DeleteMonitorW(nullptr, nullptr, const_cast<LPWSTR>(L"ZNT USB Port Monitor"));
  static const wchar_t kIds[] = L"USB\\VID_1D3B&PID_1001&REV_0100\0USB\\VID_1D3B&PID_1001\0";
  mq::testing::RegisteredDevice device(L"USB\\VID_1D3B&PID_1001\\MQINSTALL1", kIds, std::size(kIds));
  ASSERT_TRUE(device.registered()) << device.error();
  Install("ZNTUSB1");
  ASSERT_EQ(job_.resultState, kStateSucceeded) << job_.resultText << ui_.shown;
  // The printer answered with ID 1, so typical setup asked nothing, and every device handle went back.
  EXPECT_EQ(job_.printerId, 1);
  EXPECT_EQ(ui_.asked, "");
  std::wstring usbIni = package_ + L"\\UsbDevices.ini";
  EXPECT_GT(GetPrivateProfileIntW(L"ZnUsbInt", L"Opens", 0, usbIni.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileIntW(L"ZnUsbInt", L"Opens", 0, usbIni.c_str()),
            GetPrivateProfileIntW(L"ZnUsbInt", L"Closes", 0, usbIni.c_str()));
  std::vector<BYTE> buffer(1 << 16);
  DWORD needed = 0;
  DWORD count = 0;
  ASSERT_TRUE(EnumMonitorsW(nullptr, 2, buffer.data(), buffer.size(), &needed, &count));
  bool found = false;
  for (DWORD i = 0; i < count; ++i) {
    const auto& m = reinterpret_cast<const MONITOR_INFO_2W*>(buffer.data())[i];
    if (std::wstring(m.pName) == L"ZNT USB Port Monitor") {
      found = true;
      EXPECT_EQ(_wcsicmp(m.pDLLName, L"ZNTUSBMON.DLL"), 0);
    }
  }
  EXPECT_TRUE(found);
  DWORD version = 0;
  DWORD size = sizeof version;
  EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE,
                         L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\ZNT USB Port Monitor",
                         L"DriverVersion", RRF_RT_REG_DWORD, nullptr, &version, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(version, 100u);
  size = sizeof version;
  EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ZNT\\PORTNAME", L"ZNTUSB1", RRF_RT_REG_DWORD,
                         nullptr, &version, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(version, 1u);
  HANDLE printer = nullptr;
  EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(L"MQ-450(U) 1"), &printer, nullptr));
  if (printer != nullptr) ClosePrinter(printer);
  RemovePrinter(L"MQ-450(U) 1");
  EXPECT_TRUE(DeleteMonitorW(nullptr, nullptr, const_cast<LPWSTR>(L"ZNT USB Port Monitor")));
}

}  // namespace
}  // namespace mq::installer
