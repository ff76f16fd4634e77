// The package's USB helper libraries under the running system (Wine in the test stage, which has no USB
// printers): the real ZnUsbInt.dll and UsbPrnLink.dll load and answer "no device" without a message, and the
// test build of both, whose devices come from UsbDevices.ini beside it, lets the installer read and rewrite a
// printer ID through the Win32 loader.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "RegisteredDevice.h"
#include "WineHostPath.h"
#include "common/LanguageTexts.h"
#include "installer/UsbPrinters.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32UsbRoles.h"

namespace mq::installer {
namespace {

class RecordingUi : public InstallUi {
 public:
  void ShowMessage(std::string_view text, std::string_view) override { shown += std::string(text) + "\n"; }
  bool AskYesNo(std::string_view) override { return false; }
  bool RestartWindows() override { return false; }
  std::string shown;
};

class UsbLibrariesUnderWine : public ::testing::Test {
 protected:
  UsbPrinters Printers(const std::string& folder) {
    return UsbPrinters(roles_.devices, roles_.libraries, roles_.versions, folder, texts_, ui_);
  }

  platform::Win32Platform platform_;
  platform::Win32UsbRoles roles_;
  common::LanguageTexts texts_{platform_.profile, "C:\\nowhere", "setup", 0x0409};
  RecordingUi ui_;
};

TEST_F(UsbLibrariesUnderWine, RealLibrariesLoadAndAnswerNoDevice) {
  std::string folder = mq::testing::WineHostPath(MQ_USB_LIBRARY_DIR);
  UsbPrinters printers = Printers(folder);
  EXPECT_EQ(printers.ReadPrinterId(), platform::kUsbNoAnswer);
  EXPECT_FALSE(printers.WritePrinterId(1));
  EXPECT_EQ(printers.FindClassPrinterPort("MQ-450"), 0);
  // Only the write has something to say: no printer answered.
  EXPECT_EQ(ui_.shown, "Can not find USB device.\n");
  EXPECT_EQ(printers.ClassifyUsbDevices(), platform::kUsbNoDevice);

  // Both libraries export their entry points; the list of a machine without printers is empty.
  for (const char* name : {"ZnUsbInt.dll", "UsbPrnLink.dll"}) {
    platform::LibraryHandle library = 0;
    ASSERT_EQ(roles_.libraries.Load(folder + "\\" + name, &library), 0u) << name;
    roles_.libraries.Unload(library);
  }
  platform::LibraryHandle link = 0;
  ASSERT_EQ(roles_.libraries.Load(folder + "\\UsbPrnLink.dll", &link), 0u);
  char list[platform::kUsbPrinterListSize];
  std::memset(list, 'x', sizeof list);
  list[0] = 0;
  EXPECT_EQ(roles_.libraries.EnumUsbPrinter(link, 0, list), 0);
  EXPECT_STREQ(list, "");
  roles_.libraries.Unload(link);

  platform::LibraryHandle usb = 0;
  ASSERT_EQ(roles_.libraries.Load(folder + "\\ZnUsbInt.dll", &usb), 0u);
  for (const std::string_view entry :
       {platform::kOpenDeviceX, platform::kGetDescriptor, platform::kUWrite, platform::kCloseDevice}) {
    EXPECT_TRUE(roles_.libraries.HasEntry(usb, entry)) << entry;
  }
  EXPECT_FALSE(roles_.libraries.HasEntry(usb, platform::kEnumUsbPrinter));
  uint8_t descriptor[platform::kUsbDeviceDescriptorSize] = {};
  for (int index = 0; index < 8; ++index) {
    platform::UsbDeviceHandle device = roles_.libraries.OpenDeviceX(usb, index);
    EXPECT_FALSE(platform::UsbDeviceOpened(device)) << index;
    EXPECT_EQ(roles_.libraries.GetDescriptor(usb, device, descriptor), 0);
    roles_.libraries.CloseDevice(usb, device);
  }
  // A handle the library never gave out is refused, not followed.
  EXPECT_EQ(roles_.libraries.GetDescriptor(usb, 0x1234, descriptor), 0);
  roles_.libraries.CloseDevice(usb, 0x1234);
  roles_.libraries.Unload(usb);
}

TEST_F(UsbLibrariesUnderWine, TestLibrariesReadAndRewriteThePrinterId) {
  std::string folder = mq::testing::WineHostPath(MQ_USB_TEST_LIBRARY_DIR);
  std::wstring ini = mq::testing::WineHostPathW(MQ_USB_TEST_LIBRARY_DIR "/UsbDevices.ini");
  DeleteFileW(ini.c_str());
  WritePrivateProfileStringW(L"ZnUsbInt", L"Device0", L"1001:10", ini.c_str());
  WritePrivateProfileStringW(L"UsbPrnLink", L"Printers", L"USBPRINT\\ZNTMQ-450;MQ-450;USB003@", ini.c_str());

  UsbPrinters printers = Printers(folder);
  int descriptor = printers.ReadPrinterId();
  EXPECT_EQ(descriptor, 10);
  EXPECT_EQ(PrinterIdOfDescriptor(descriptor), 3);
  ASSERT_TRUE(printers.WritePrinterId(2));
  EXPECT_EQ(PrinterIdOfDescriptor(printers.ReadPrinterId()), 2);
  EXPECT_EQ(printers.FindClassPrinterPort("MQ-450"), 3);
  EXPECT_EQ(ui_.shown, "");

  wchar_t value[256] = {};
  GetPrivateProfileStringW(L"ZnUsbInt", L"Written", L"", value, 256, ini.c_str());
  EXPECT_STREQ(value, L"1B 73 42 45 92 99 1D 49 20 01");
  EXPECT_EQ(GetPrivateProfileIntW(L"ZnUsbInt", L"Opens", -1, ini.c_str()),
            GetPrivateProfileIntW(L"ZnUsbInt", L"Closes", -2, ini.c_str()));

  // Two printers: the second index that answers stops the read.
  WritePrivateProfileStringW(L"ZnUsbInt", L"Device1", L"1000:0", ini.c_str());
  EXPECT_EQ(printers.ReadPrinterId(), platform::kUsbSeveralDevices);
  DeleteFileW(ini.c_str());
}

TEST_F(UsbLibrariesUnderWine, PresentVendorDeviceIsClassifiedThroughTheSystemsEnumeration) {
  static const wchar_t kIds[] = L"USB\\VID_1D3B&PID_1001&REV_0100\0USB\\VID_1D3B&PID_1001\0";
  mq::testing::RegisteredDevice device(L"USB\\VID_1D3B&PID_1001\\MQTEST1", kIds, std::size(kIds));
  ASSERT_TRUE(device.registered()) << device.error();
  std::vector<std::string> ids;
  ASSERT_EQ(roles_.devices.FirstHardwareIds(&ids), 0u);
  EXPECT_NE(std::find(ids.begin(), ids.end(), "USB\\VID_1D3B&PID_1001&REV_0100"), ids.end());
  EXPECT_EQ(Printers("C:\\nowhere").ClassifyUsbDevices(), platform::kUsbVendorDriverPrinters);
}

// The local port monitor's transceiver adds and deletes a spooler port by name.
bool LocalPort(const wchar_t* command, const wchar_t* name) {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  HANDLE xcv = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(L",XcvMonitor Local Port"), &xcv, &defaults)) return false;
  BYTE output[16];
  DWORD needed = 0;
  DWORD status = 1;
  BOOL ok = XcvDataW(xcv, command, reinterpret_cast<BYTE*>(const_cast<wchar_t*>(name)),
                     static_cast<DWORD>((wcslen(name) + 1) * sizeof(wchar_t)), output, sizeof output, &needed,
                     &status);
  ClosePrinter(xcv);
  return ok && status == 0;
}

TEST_F(UsbLibrariesUnderWine, RealPrinterListNamesAPrinterClassPrinterWithItsSpoolerPort) {
  // GUID_DEVINTERFACE_USBPRINT.
  static const GUID kUsbPrint = {
      0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
  static const wchar_t kIds[] = L"USB\\VID_1D3B&PID_0E15&REV_0100\0";
  mq::testing::RegisteredDevice device(L"USB\\VID_1D3B&PID_0E15\\MQCLASS1", kIds, std::size(kIds));
  ASSERT_TRUE(device.registered()) << device.error();
  ASSERT_TRUE(device.SetText(SPDRP_DEVICEDESC, L"MQ-450 USB@printer"));
  ASSERT_TRUE(device.AddInterface(kUsbPrint, L"Port Name", L"USB003"));
  std::string folder = mq::testing::WineHostPath(MQ_USB_LIBRARY_DIR);
  UsbPrinters printers = Printers(folder);

  // Without a spooler port of that name the printer is not listed.
  EXPECT_EQ(printers.FindClassPrinterPort("MQ-450"), 0);
  ASSERT_TRUE(LocalPort(L"AddPort", L"USB003"));
  platform::LibraryHandle link = 0;
  ASSERT_EQ(roles_.libraries.Load(folder + "\\UsbPrnLink.dll", &link), 0u);
  char list[platform::kUsbPrinterListSize] = {};
  EXPECT_EQ(roles_.libraries.EnumUsbPrinter(link, 0, list), 1);
  roles_.libraries.Unload(link);
  // The "@" inside the description does not end the entry.
  EXPECT_STREQ(list, "USB\\VID_1D3B&PID_0E15&REV_0100;MQ-450 USB_printer;USB003@");
  EXPECT_EQ(printers.FindClassPrinterPort("MQ-450"), 3);
  EXPECT_EQ(printers.ClassifyUsbDevices(), platform::kUsbClassPrinters);
  EXPECT_TRUE(LocalPort(L"DeletePort", L"USB003"));
  EXPECT_EQ(ui_.shown, "");
}

}  // namespace
}  // namespace mq::installer
