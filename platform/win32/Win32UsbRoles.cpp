// The Win32 side of the installer's USB roles.
#include "platform/win32/Win32UsbRoles.h"

#include <windows.h>
// After windows.h.
#include <setupapi.h>

#include <cwchar>

#include "platform/win32/UsbHelperEntryPoints.h"
#include "platform/win32/Win32Platform.h"

namespace mq::platform {

namespace {

constexpr DWORD kHardwareIdBufferBytes = 1024;

}  // namespace

uint32_t Win32PresentDevices::FirstHardwareIds(std::vector<std::string>* ids) {
  HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return GetLastError();
  std::vector<std::string> found;
  SP_DEVINFO_DATA info;
  info.cbSize = sizeof info;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &info); ++index) {
    // REG_MULTI_SZ: the first string is the most specific hardware ID. Two characters stay free so that a
    // truncated value still ends in zeros.
    wchar_t buffer[kHardwareIdBufferBytes / sizeof(wchar_t)] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_HARDWAREID, &type,
                                           reinterpret_cast<BYTE*>(buffer),
                                           kHardwareIdBufferBytes - 2 * sizeof(wchar_t), nullptr)) {
      continue;
    }
    if (buffer[0] != 0)
      found.push_back(Narrow(std::wstring_view(buffer, wcsnlen(buffer, std::size(buffer)))));
  }
  SetupDiDestroyDeviceInfoList(set);
  *ids = std::move(found);
  return 0;
}

uint32_t Win32UsbLibraries::Load(std::string_view path, LibraryHandle* library) {
  std::wstring wide = Wide(path);
  // The library's own dependencies are looked for beside it first.
  HMODULE module = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) return GetLastError();
  *library = reinterpret_cast<LibraryHandle>(module);
  entries_[*library];
  return 0;
}

void Win32UsbLibraries::Unload(LibraryHandle library) {
  entries_.erase(library);
  FreeLibrary(reinterpret_cast<HMODULE>(library));
}

void* Win32UsbLibraries::Entry(LibraryHandle library, std::string_view name) {
  auto loaded = entries_.find(library);
  if (loaded == entries_.end()) return nullptr;
  auto known = loaded->second.find(name);
  if (known != loaded->second.end()) return known->second;
  void* entry =
      reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), std::string(name).c_str()));
  loaded->second.emplace(std::string(name), entry);
  return entry;
}

bool Win32UsbLibraries::HasEntry(LibraryHandle library, std::string_view name) {
  return Entry(library, name) != nullptr;
}

UsbDeviceHandle Win32UsbLibraries::OpenDeviceX(LibraryHandle library, int32_t index) {
  auto open = reinterpret_cast<OpenDeviceXFn>(Entry(library, kOpenDeviceX));
  return open != nullptr ? reinterpret_cast<UsbDeviceHandle>(open(index)) : kNoUsbDevice;
}

int32_t Win32UsbLibraries::GetDescriptor(LibraryHandle library, UsbDeviceHandle device, uint8_t* descriptor) {
  auto get = reinterpret_cast<GetDescriptorFn>(Entry(library, kGetDescriptor));
  return get != nullptr ? get(reinterpret_cast<HANDLE>(device), descriptor) : 0;
}

int32_t Win32UsbLibraries::UWrite(LibraryHandle library, UsbDeviceHandle device, int32_t pipe,
                                  const uint8_t* bytes, int32_t count) {
  auto write = reinterpret_cast<UWriteFn>(Entry(library, kUWrite));
  return write != nullptr ? write(reinterpret_cast<HANDLE>(device), pipe, bytes, count) : 0;
}

void Win32UsbLibraries::CloseDevice(LibraryHandle library, UsbDeviceHandle device) {
  auto close = reinterpret_cast<CloseDeviceFn>(Entry(library, kCloseDevice));
  if (close != nullptr) close(reinterpret_cast<HANDLE>(device));
}

int32_t Win32UsbLibraries::EnumUsbPrinter(LibraryHandle library, int32_t flags, char* buffer) {
  auto enumerate = reinterpret_cast<EnumUsbPrinterFn>(Entry(library, kEnumUsbPrinter));
  return enumerate != nullptr ? enumerate(flags, buffer) : -1;
}

std::string Win32FileVersions::FileVersion(std::string_view path) {
  std::wstring p = Wide(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(p.c_str(), &ignored);
  if (size == 0) return "0.0.0.0";
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(p.c_str(), 0, size, data.data())) return "0.0.0.0";
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&translation),
                      &length) ||
      length < sizeof(Translation)) {
    return "0.0.0.0";
  }
  wchar_t query[64];
  swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language,
           translation->codePage);
  wchar_t* version = nullptr;
  if (!VerQueryValueW(data.data(), query, reinterpret_cast<LPVOID*>(&version), &length) || length == 0) {
    return "0.0.0.0";
  }
  return Narrow(std::wstring(version, wcsnlen(version, length)));
}

}  // namespace mq::platform
