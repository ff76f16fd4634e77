// A device node that a Windows test program registers with the system's device manager (SetupDi), so that
// the enumeration of present devices lists it under Wine, which has no USB devices of its own. Removed again
// when the object goes.
#pragma once

#include <windows.h>
// After windows.h.
#include <setupapi.h>

#include <objbase.h>

#include <cstddef>
#include <cwchar>
#include <string>
#include <vector>

namespace mq::testing {

class RegisteredDevice {
 public:
  // instanceId "USB\\VID_1D3B&PID_1001\\TEST1"; hardwareIds a REG_MULTI_SZ (strings each ended by a zero, and
  // a final zero) of hardwareIdsChars characters.
  RegisteredDevice(const wchar_t* instanceId, const wchar_t* hardwareIds, size_t hardwareIdsChars) {
    set_ = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    info_.cbSize = sizeof info_;
    // GUID_DEVCLASS_USB.
    static const GUID kUsbClass = {
        0x36fc9e60, 0xc465, 0x11cf, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
    registered_ = set_ != INVALID_HANDLE_VALUE &&
                  SetupDiCreateDeviceInfoW(set_, instanceId, &kUsbClass, nullptr, nullptr, 0, &info_) &&
                  SetupDiSetDeviceRegistryPropertyW(set_, &info_, SPDRP_HARDWAREID,
                                                    reinterpret_cast<const BYTE*>(hardwareIds),
                                                    static_cast<DWORD>(hardwareIdsChars * sizeof(wchar_t))) &&
                  SetupDiRegisterDeviceInfo(set_, &info_, 0, nullptr, nullptr, nullptr);
    error_ = registered_ ? 0 : GetLastError();
  }
  RegisteredDevice(const RegisteredDevice&) = delete;
  RegisteredDevice& operator=(const RegisteredDevice&) = delete;
  ~RegisteredDevice() {
    if (registered_) SetupDiRemoveDevice(set_, &info_);
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  }
  bool registered() const { return registered_; }

  // Sets a string property of the device (SPDRP_DEVICEDESC, ...).
  bool SetText(DWORD property, const wchar_t* text) {
    return SetupDiSetDeviceRegistryPropertyW(set_, &info_, property, reinterpret_cast<const BYTE*>(text),
                                             static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))) !=
           FALSE;
  }

  // Registers an active device interface of the class and sets one REG_SZ value in its registry key, as the
  // USB printing support driver does for "Port Name".
  bool AddInterface(const GUID& interfaceClass, const wchar_t* valueName, const wchar_t* value) {
    SP_DEVICE_INTERFACE_DATA data;
    data.cbSize = sizeof data;
    if (!SetupDiCreateDeviceInterfaceW(set_, &info_, &interfaceClass, nullptr, 0, &data)) return false;
    HKEY key = SetupDiCreateDeviceInterfaceRegKeyW(set_, &data, 0, KEY_ALL_ACCESS, nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) return false;
    LONG status = RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS && Link(interfaceClass, data);
  }
  DWORD error() const { return error_; }

 private:
  // Marks the interface active, as a driver's IoSetDeviceInterfaceState does: "Control\Linked" = 1 below its
  // reference key ("#") under "DeviceClasses\{class}\##?#<device path>". Only then does it count as present.
  bool Link(const GUID& interfaceClass, SP_DEVICE_INTERFACE_DATA& data) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(set_, &data, nullptr, 0, &needed, nullptr);
    if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return false;
    std::vector<BYTE> bytes(needed + sizeof(wchar_t));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(bytes.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(set_, &data, detail, needed, nullptr, nullptr)) return false;
    std::wstring path = detail->DevicePath;  // \\?\usb#vid_...#{class}
    if (path.size() < 4) return false;
    wchar_t guid[64];
    StringFromGUID2(interfaceClass, guid, 64);
    std::wstring keyPath = std::wstring(L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\") + guid +
                           L"\\##?#" + path.substr(4) + L"\\#\\Control";
    HKEY control = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &control,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    DWORD linked = 1;
    LONG status = RegSetValueExW(control, L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&linked),
                                 sizeof linked);
    RegCloseKey(control);
    return status == ERROR_SUCCESS;
  }

  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA info_{};
  bool registered_ = false;
  DWORD error_ = 0;
};

}  // namespace mq::testing
