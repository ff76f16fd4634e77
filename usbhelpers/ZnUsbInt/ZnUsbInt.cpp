// ZnUsbInt.dll: the vendor's USB printers reached through WinUSB. A printer is bound to WinUSB by the
// package's INF, which registers the device interface below; the devices are the present interfaces of that
// class in SetupDi's order, and a printer's commands go to its first bulk-out pipe.
//
// winusb.dll is loaded from the system folder when a device is opened (it ships from Windows XP SP2 on);
// without it no device answers. A device handle is a pointer to an OpenDevice record that the library keeps
// in a list, so that a handle it did not give out is refused instead of followed.
#include <windows.h>
#include <setupapi.h>
#include <winusb.h>

#include <new>

#include "platform/win32/UsbHelperEntryPoints.h"

namespace {

// The vendor's device interface class, as the package's WinUSB INF names it (DeviceInterfaceGUIDs); the same
// as kVendorInterfaceGuid of the installer.
const GUID kVendorInterface = {0x280e61aa, 0xe431, 0x4e42, {0x90, 0x99, 0x47, 0xb4, 0xc1, 0x6b, 0x36, 0xc4}};

constexpr ULONG kWriteTimeoutMs = 5000;

using InitializeFn = BOOL(WINAPI*)(HANDLE, PWINUSB_INTERFACE_HANDLE);
using FreeFn = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE);
using GetDescriptorUsbFn = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, UCHAR, USHORT, PUCHAR, ULONG,
                                         PULONG);
using QueryInterfaceSettingsFn = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, PUSB_INTERFACE_DESCRIPTOR);
using QueryPipeFn = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, UCHAR, PWINUSB_PIPE_INFORMATION);
using SetPipePolicyFn = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, ULONG, ULONG, PVOID);
using WritePipeFn = BOOL(WINAPI*)(WINUSB_INTERFACE_HANDLE, UCHAR, PUCHAR, ULONG, PULONG, LPOVERLAPPED);

struct WinUsb {
  HMODULE module = nullptr;
  InitializeFn initialize = nullptr;
  FreeFn free = nullptr;
  GetDescriptorUsbFn getDescriptor = nullptr;
  QueryInterfaceSettingsFn queryInterfaceSettings = nullptr;
  QueryPipeFn queryPipe = nullptr;
  SetPipePolicyFn setPipePolicy = nullptr;
  WritePipeFn writePipe = nullptr;

  template <typename T>
  bool Find(T* function, const char* name) {
    *function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *function != nullptr;
  }
  // Loads winusb.dll from the system folder and finds every function; false (nothing kept) when any is
  // missing.
  bool Load() {
    wchar_t path[MAX_PATH + 16];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    lstrcatW(path, L"\\winusb.dll");
    module = LoadLibraryW(path);
    if (module == nullptr) return false;
    if (Find(&initialize, "WinUsb_Initialize") && Find(&free, "WinUsb_Free") &&
        Find(&getDescriptor, "WinUsb_GetDescriptor") &&
        Find(&queryInterfaceSettings, "WinUsb_QueryInterfaceSettings") &&
        Find(&queryPipe, "WinUsb_QueryPipe") && Find(&setPipePolicy, "WinUsb_SetPipePolicy") &&
        Find(&writePipe, "WinUsb_WritePipe")) {
      return true;
    }
    FreeLibrary(module);
    module = nullptr;
    return false;
  }
};

struct OpenDevice {
  OpenDevice* next = nullptr;
  HANDLE file = INVALID_HANDLE_VALUE;
  WINUSB_INTERFACE_HANDLE usb = nullptr;
  UCHAR bulkOut = 0;  // endpoint address of the first bulk-out pipe, 0 when the interface has none
  WinUsb winUsb;
};

CRITICAL_SECTION gLock;
OpenDevice* gDevices = nullptr;

// The device path of the vendor interface at index, or false.
bool InterfacePath(int index, wchar_t* path, DWORD pathSize) {
  HDEVINFO set =
      SetupDiGetClassDevsW(&kVendorInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  SP_DEVICE_INTERFACE_DATA data;
  data.cbSize = sizeof data;
  if (SetupDiEnumDeviceInterfaces(set, nullptr, &kVendorInterface, static_cast<DWORD>(index), &data)) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &needed, nullptr);
    if (needed >= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
      auto* detail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(HeapAlloc(GetProcessHeap(), 0, needed));
      if (detail != nullptr) {
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (SetupDiGetDeviceInterfaceDetailW(set, &data, detail, needed, nullptr, nullptr) &&
            static_cast<DWORD>(lstrlenW(detail->DevicePath)) < pathSize) {
          lstrcpyW(path, detail->DevicePath);
          found = true;
        }
        HeapFree(GetProcessHeap(), 0, detail);
      }
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return found;
}

void Release(OpenDevice* device) {
  if (device->usb != nullptr) device->winUsb.free(device->usb);
  if (device->file != INVALID_HANDLE_VALUE) CloseHandle(device->file);
  if (device->winUsb.module != nullptr) FreeLibrary(device->winUsb.module);
  HeapFree(GetProcessHeap(), 0, device);
}

// The listed record of a handle, with the lock held; nullptr for a handle the library did not give out.
OpenDevice* Listed(HANDLE handle) {
  for (OpenDevice* d = gDevices; d != nullptr; d = d->next) {
    if (d == handle) return d;
  }
  return nullptr;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&gLock);
  if (reason == DLL_PROCESS_DETACH) DeleteCriticalSection(&gLock);
  return TRUE;
}

HANDLE WINAPI OpenDeviceX(int index) {
  if (index < 0 || index > 7) return nullptr;
  wchar_t path[1024];
  if (!InterfacePath(index, path, 1024)) return nullptr;
  // Heap memory rather than operator new: the library needs nothing of the C++ runtime.
  void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(OpenDevice));
  if (memory == nullptr) return nullptr;
  auto* device = new (memory) OpenDevice;
  if (!device->winUsb.Load()) {
    Release(device);
    return nullptr;
  }
  device->file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (device->file == INVALID_HANDLE_VALUE || !device->winUsb.initialize(device->file, &device->usb)) {
    device->usb = nullptr;
    Release(device);
    return nullptr;
  }
  USB_INTERFACE_DESCRIPTOR interface;
  if (device->winUsb.queryInterfaceSettings(device->usb, 0, &interface)) {
    for (UCHAR i = 0; i < interface.bNumEndpoints; ++i) {
      WINUSB_PIPE_INFORMATION pipe;
      if (device->winUsb.queryPipe(device->usb, 0, i, &pipe) && pipe.PipeType == UsbdPipeTypeBulk &&
          !USB_ENDPOINT_DIRECTION_IN(pipe.PipeId)) {
        device->bulkOut = pipe.PipeId;
        ULONG timeout = kWriteTimeoutMs;
        device->winUsb.setPipePolicy(device->usb, pipe.PipeId, PIPE_TRANSFER_TIMEOUT, sizeof timeout,
                                     &timeout);
        break;
      }
    }
  }
  EnterCriticalSection(&gLock);
  device->next = gDevices;
  gDevices = device;
  LeaveCriticalSection(&gLock);
  return device;
}

int WINAPI GetDescriptor(HANDLE handle, unsigned char* descriptor) {
  if (descriptor == nullptr) return 0;
  int result = 0;
  EnterCriticalSection(&gLock);
  if (OpenDevice* device = Listed(handle)) {
    UCHAR bytes[18];
    ULONG length = 0;
    if (device->winUsb.getDescriptor(device->usb, USB_DEVICE_DESCRIPTOR_TYPE, 0, 0, bytes, sizeof bytes,
                                     &length) &&
        length == sizeof bytes) {
      CopyMemory(descriptor, bytes, sizeof bytes);
      result = 1;
    }
  }
  LeaveCriticalSection(&gLock);
  return result;
}

int WINAPI uWrite(HANDLE handle, int pipe, const unsigned char* bytes, int count) {
  if (bytes == nullptr || count <= 0) return 0;
  int result = 0;
  EnterCriticalSection(&gLock);
  if (OpenDevice* device = Listed(handle)) {
    UCHAR pipeId = pipe == 0 ? device->bulkOut : static_cast<UCHAR>(pipe);
    ULONG written = 0;
    if (pipeId != 0 && device->winUsb.writePipe(device->usb, pipeId, const_cast<PUCHAR>(bytes),
                                                static_cast<ULONG>(count), &written, nullptr)) {
      result = static_cast<int>(written);
    }
  }
  LeaveCriticalSection(&gLock);
  return result;
}

void WINAPI CloseDevice(HANDLE handle) {
  EnterCriticalSection(&gLock);
  OpenDevice* found = nullptr;
  for (OpenDevice** link = &gDevices; *link != nullptr; link = &(*link)->next) {
    if (*link == handle) {
      found = *link;
      *link = found->next;
      break;
    }
  }
  LeaveCriticalSection(&gLock);
  if (found != nullptr) Release(found);
}

}  // extern "C"
