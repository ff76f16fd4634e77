// A device node that a Windows test program registers with the system's device manager (SetupDi), so that
// the enumeration of present devices lists it under Wine, which has no USB devices of its own. Removed again
// when the object goes.
#pragma once

#include <windows.h>
// After windows.h.
#include <setupapi.h>

#include <cstddef>

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
  DWORD error() const { return error_; }

 private:
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA info_{};
  bool registered_ = false;
  DWORD error_ = 0;
};

}  // namespace mq::testing
