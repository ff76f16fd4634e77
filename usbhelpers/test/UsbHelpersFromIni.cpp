// A test build of both USB helper libraries (built twice, as ZnUsbInt.dll and as UsbPrnLink.dll, with the
// same exports as the real ones) whose devices are described by "UsbDevices.ini" beside the library, so that
// the installer's USB paths can run under Wine, which has no USB printers:
//
//   [ZnUsbInt]
//   Device0=1001:10        one line per index 0..7: product ID (hex) and bcdDevice (decimal)
//   [UsbPrnLink]
//   Printers=USBPRINT\ZNTMQ-450;MQ-450;USB002@   the printer list text EnumUSBPrinter returns
//
// The library writes back what a test checks afterwards: a printer ID command stores the new ID in the
// device's bcdDevice, every write is appended to [ZnUsbInt] Written, and Opens / Closes count the handles.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "installer/UsbPrinters.h"
#include "platform/win32/UsbHelperEntryPoints.h"

namespace {

constexpr UINT_PTR kFirstHandle = 0x100;  // index i is handle 0x100 + i
wchar_t gIni[MAX_PATH + 32];

void CountUp(const wchar_t* key) {
  int value = static_cast<int>(GetPrivateProfileIntW(L"ZnUsbInt", key, 0, gIni));
  wchar_t text[16];
  wsprintfW(text, L"%d", value + 1);
  WritePrivateProfileStringW(L"ZnUsbInt", key, text, gIni);
}

// The device line of index: product ID and bcdDevice; false when there is none.
bool DeviceAt(int index, unsigned* product, unsigned* bcd) {
  wchar_t key[16];
  wchar_t line[64];
  wsprintfW(key, L"Device%d", index);
  GetPrivateProfileStringW(L"ZnUsbInt", key, L"", line, 64, gIni);
  return swscanf(line, L"%x:%u", product, bcd) == 2;
}

int IndexOf(HANDLE handle) {
  UINT_PTR value = reinterpret_cast<UINT_PTR>(handle);
  return value >= kFirstHandle && value < kFirstHandle + 8 ? static_cast<int>(value - kFirstHandle) : -1;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DWORD length = GetModuleFileNameW(instance, gIni, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return FALSE;
    wchar_t* slash = wcsrchr(gIni, L'\\');
    lstrcpyW(slash != nullptr ? slash + 1 : gIni, L"UsbDevices.ini");
  }
  return TRUE;
}

HANDLE WINAPI OpenDeviceX(int index) {
  CountUp(L"Opens");
  unsigned product = 0;
  unsigned bcd = 0;
  if (index < 0 || index > 7 || !DeviceAt(index, &product, &bcd)) return INVALID_HANDLE_VALUE;
  return reinterpret_cast<HANDLE>(kFirstHandle + static_cast<UINT_PTR>(index));
}

int WINAPI GetDescriptor(HANDLE handle, unsigned char* descriptor) {
  unsigned product = 0;
  unsigned bcd = 0;
  if (descriptor == nullptr || !DeviceAt(IndexOf(handle), &product, &bcd)) return 0;
  const uint16_t vendor = mq::installer::kVendorUsbId;
  const unsigned char bytes[18] = {18,
                                   1,
                                   0x00,
                                   0x02,
                                   0,
                                   0,
                                   0,
                                   64,
                                   static_cast<unsigned char>(vendor),
                                   static_cast<unsigned char>(vendor >> 8),
                                   static_cast<unsigned char>(product),
                                   static_cast<unsigned char>(product >> 8),
                                   static_cast<unsigned char>(bcd),
                                   static_cast<unsigned char>(bcd >> 8),
                                   1,
                                   2,
                                   3,
                                   1};
  std::memcpy(descriptor, bytes, sizeof bytes);
  return 1;
}

int WINAPI uWrite(HANDLE handle, int, const unsigned char* bytes, int count) {
  int index = IndexOf(handle);
  unsigned product = 0;
  unsigned bcd = 0;
  if (bytes == nullptr || count <= 0 || count > 256 || !DeviceAt(index, &product, &bcd)) return 0;
  wchar_t written[2048];
  GetPrivateProfileStringW(L"ZnUsbInt", L"Written", L"", written, 1024, gIni);
  int used = lstrlenW(written);
  for (int i = 0; i < count; ++i) used += wsprintfW(written + used, used == 0 ? L"%02X" : L" %02X", bytes[i]);
  WritePrivateProfileStringW(L"ZnUsbInt", L"Written", written, gIni);
  static const unsigned char kSetId[9] = {0x1B, 0x73, 0x42, 0x45, 0x92, 0x99, 0x1D, 0x49, 0x20};
  if (count == 10 && std::memcmp(bytes, kSetId, sizeof kSetId) == 0) {
    wchar_t key[16];
    wchar_t line[32];
    wsprintfW(key, L"Device%d", index);
    wsprintfW(line, L"%04X:%u", product, bytes[9]);
    WritePrivateProfileStringW(L"ZnUsbInt", key, line, gIni);
  }
  return count;
}

void WINAPI CloseDevice(HANDLE) {
  CountUp(L"Closes");
}

int WINAPI EnumUSBPrinter(int, char* buffer) {
  if (buffer == nullptr) return -1;
  char iniA[MAX_PATH + 32];
  WideCharToMultiByte(CP_ACP, 0, gIni, -1, iniA, sizeof iniA, nullptr, nullptr);
  char result[16];
  GetPrivateProfileStringA("UsbPrnLink", "Result", "0", result, sizeof result, iniA);
  GetPrivateProfileStringA("UsbPrnLink", "Printers", "", buffer, 1024, iniA);
  return std::atoi(result);
}

}  // extern "C"
