// The Win32 implementations of the roles the installer's USB support works through: the present devices
// (SetupDi), the package's USB helper libraries (LoadLibrary / GetProcAddress) and file version resources.
// Compiled only by the Windows builds.
#pragma once

#include <map>

#include "platform/FileVersions.h"
#include "platform/PresentDevices.h"
#include "platform/UsbLibraries.h"

namespace mq::platform {

class Win32PresentDevices : public PresentDevices {
 public:
  uint32_t FirstHardwareIds(std::vector<std::string>* ids) override;
};

// Entry points are looked up once per loaded library and called with the signatures of
// platform/win32/UsbHelperEntryPoints.h. A call whose entry point was not found fails (0, or -1 for the
// printer list) instead of calling through a null pointer.
class Win32UsbLibraries : public UsbLibraries {
 public:
  uint32_t Load(std::string_view path, LibraryHandle* library) override;
  void Unload(LibraryHandle library) override;
  bool HasEntry(LibraryHandle library, std::string_view name) override;
  UsbDeviceHandle OpenDeviceX(LibraryHandle library, int32_t index) override;
  int32_t GetDescriptor(LibraryHandle library, UsbDeviceHandle device, uint8_t* descriptor) override;
  int32_t UWrite(LibraryHandle library, UsbDeviceHandle device, int32_t pipe, const uint8_t* bytes,
                 int32_t count) override;
  void CloseDevice(LibraryHandle library, UsbDeviceHandle device) override;
  int32_t EnumUsbPrinter(LibraryHandle library, int32_t flags, char* buffer) override;

 private:
  void* Entry(LibraryHandle library, std::string_view name);
  std::map<LibraryHandle, std::map<std::string, void*, std::less<>>> entries_;
};

class Win32FileVersions : public FileVersions {
 public:
  std::string FileVersion(std::string_view path) override;
};

struct Win32UsbRoles {
  Win32PresentDevices devices;
  Win32UsbLibraries libraries;
  Win32FileVersions versions;
};

}  // namespace mq::platform
