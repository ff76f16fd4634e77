// UsbPrnLink.dll: the USB printer-class printers of this machine with their spooler ports. The printers are
// the present interfaces of the USB printing support class; each interface's "Port Name" (USB001, USB002,
// ...) names the spooler port that the system created for it, and only printers whose port the spooler lists
// are given. The printer's model comes from the printer device below the interface (its first hardware ID,
// "USBPRINT\<maker><model><check>", and its description).
//
// The list is ANSI text, one entry per printer: "<hardware ID>;<description>;<port name>@". The caller finds
// a model name in it and takes the port digit just before the next "@", so "@" never occurs inside an entry.
// Entries that do not fit the 1024-byte buffer whole are left out; the text always ends with a zero byte.
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <winspool.h>

#include "platform/win32/UsbHelperEntryPoints.h"

namespace {

// GUID_DEVINTERFACE_USBPRINT.
const GUID kUsbPrintInterface = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

constexpr int kBufferSize = 1024;

// A fixed-size wide text with its own storage.
struct Text {
  wchar_t chars[512];
  Text() { chars[0] = 0; }
};

// The first string of a device registry property (REG_SZ or REG_MULTI_SZ); empty when absent.
void DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA* info, DWORD property, Text* out) {
  out->chars[0] = 0;
  DWORD type = 0;
  BYTE bytes[sizeof out->chars] = {};
  // One character short of the buffer, so that the text is always terminated.
  if (SetupDiGetDeviceRegistryPropertyW(set, info, property, &type, bytes, sizeof bytes - 2 * sizeof(wchar_t),
                                        nullptr)) {
    lstrcpynW(out->chars, reinterpret_cast<const wchar_t*>(bytes), 512);
  }
}

// The hardware ID and description of the printer device below devInst, or of devInst itself when it has
// no child.
void PrinterNames(DEVINST devInst, HDEVINFO set, SP_DEVINFO_DATA* info, Text* hardwareId, Text* description) {
  DEVINST child = 0;
  wchar_t childId[MAX_DEVICE_ID_LEN + 1];
  if (CM_Get_Child(&child, devInst, 0) == CR_SUCCESS &&
      CM_Get_Device_IDW(child, childId, MAX_DEVICE_ID_LEN, 0) == CR_SUCCESS) {
    childId[MAX_DEVICE_ID_LEN] = 0;
    HDEVINFO childSet = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (childSet != INVALID_HANDLE_VALUE) {
      SP_DEVINFO_DATA childInfo;
      childInfo.cbSize = sizeof childInfo;
      if (SetupDiOpenDeviceInfoW(childSet, childId, nullptr, 0, &childInfo)) {
        DeviceProperty(childSet, &childInfo, SPDRP_HARDWAREID, hardwareId);
        DeviceProperty(childSet, &childInfo, SPDRP_FRIENDLYNAME, description);
        if (description->chars[0] == 0) DeviceProperty(childSet, &childInfo, SPDRP_DEVICEDESC, description);
      }
      SetupDiDestroyDeviceInfoList(childSet);
    }
  }
  if (hardwareId->chars[0] == 0) DeviceProperty(set, info, SPDRP_HARDWAREID, hardwareId);
  if (description->chars[0] == 0) DeviceProperty(set, info, SPDRP_DEVICEDESC, description);
}

// The interface's "Port Name" value (REG_SZ), or false.
bool PortName(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data, Text* port) {
  HKEY key = SetupDiOpenDeviceInterfaceRegKey(set, data, 0, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return false;
  DWORD type = 0;
  DWORD size = sizeof port->chars - sizeof(wchar_t);
  LONG status =
      RegQueryValueExW(key, L"Port Name", nullptr, &type, reinterpret_cast<BYTE*>(port->chars), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return false;
  port->chars[size / sizeof(wchar_t)] = 0;
  return port->chars[0] != 0;
}

// True when the spooler lists a port of this name.
bool SpoolerHasPort(const PORT_INFO_1W* ports, DWORD count, const wchar_t* name) {
  for (DWORD i = 0; i < count; ++i) {
    if (ports[i].pName != nullptr && lstrcmpiW(ports[i].pName, name) == 0) return true;
  }
  return false;
}

// Appends one field in the ANSI code page, with "@" made "_"; false when it does not fit.
bool AppendField(char* out, int* used, int limit, const wchar_t* field, char end) {
  char ansi[1024];
  int length = WideCharToMultiByte(CP_ACP, 0, field, -1, ansi, sizeof ansi, nullptr, nullptr);
  if (length <= 0) return false;
  --length;  // without the terminating zero
  if (*used + length + 1 > limit) return false;
  for (int i = 0; i < length; ++i) out[(*used)++] = ansi[i] == '@' ? '_' : ansi[i];
  out[(*used)++] = end;
  return true;
}

}  // namespace

extern "C" int WINAPI EnumUSBPrinter(int, char* buffer) {
  if (buffer == nullptr) return -1;

  DWORD needed = 0;
  DWORD count = 0;
  EnumPortsW(nullptr, 1, nullptr, 0, &needed, &count);
  BYTE* portBytes = needed != 0 ? static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, needed)) : nullptr;
  if (needed != 0 && (portBytes == nullptr || !EnumPortsW(nullptr, 1, portBytes, needed, &needed, &count))) {
    if (portBytes != nullptr) HeapFree(GetProcessHeap(), 0, portBytes);
    return -1;
  }
  const auto* ports = reinterpret_cast<const PORT_INFO_1W*>(portBytes);

  HDEVINFO set =
      SetupDiGetClassDevsW(&kUsbPrintInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) {
    if (portBytes != nullptr) HeapFree(GetProcessHeap(), 0, portBytes);
    return -1;
  }
  // Built in a buffer of our own and copied at the end, so that the caller's buffer holds a whole list.
  char list[kBufferSize] = {};
  int used = 0;
  int listed = 0;
  SP_DEVICE_INTERFACE_DATA data;
  data.cbSize = sizeof data;
  for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &kUsbPrintInterface, index, &data);
       ++index) {
    Text port;
    if (!PortName(set, &data, &port) || ports == nullptr || !SpoolerHasPort(ports, count, port.chars))
      continue;
    SP_DEVINFO_DATA info;
    info.cbSize = sizeof info;
    DWORD detailSize = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &detailSize, nullptr);
    auto* detail =
        detailSize >= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)
            ? static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(HeapAlloc(GetProcessHeap(), 0, detailSize))
            : nullptr;
    if (detail == nullptr) continue;
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    bool have = SetupDiGetDeviceInterfaceDetailW(set, &data, detail, detailSize, nullptr, &info) != FALSE;
    HeapFree(GetProcessHeap(), 0, detail);
    if (!have) continue;

    Text hardwareId;
    Text description;
    PrinterNames(info.DevInst, set, &info, &hardwareId, &description);
    int start = used;
    // One byte stays free for the terminating zero.
    if (AppendField(list, &used, kBufferSize - 1, hardwareId.chars, ';') &&
        AppendField(list, &used, kBufferSize - 1, description.chars, ';') &&
        AppendField(list, &used, kBufferSize - 1, port.chars, '@')) {
      ++listed;
    } else {
      used = start;
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  if (portBytes != nullptr) HeapFree(GetProcessHeap(), 0, portBytes);
  list[used] = 0;
  CopyMemory(buffer, list, static_cast<SIZE_T>(used) + 1);
  return listed;
}
