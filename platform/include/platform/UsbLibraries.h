// The package's two USB helper libraries as the installer reaches them: ZnUsbInt.dll talks to the vendor's
// USB printers, UsbPrnLink.dll lists USB printer-class printers. A library is loaded by full path, its entry
// points are looked up by name, and it is unloaded after use; the calls below stand for the entry points of
// the same names and pass their arguments and results unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mq::platform {

using LibraryHandle = uintptr_t;   // an HMODULE; 0 is none
using UsbDeviceHandle = intptr_t;  // what OpenDeviceX returns; 0 and -1 mean that no device answered

inline constexpr UsbDeviceHandle kNoUsbDevice = 0;
inline constexpr UsbDeviceHandle kInvalidUsbDevice = -1;
inline bool UsbDeviceOpened(UsbDeviceHandle device) {
  return device != kNoUsbDevice && device != kInvalidUsbDevice;
}

// The entry point names the libraries export (undecorated, also on x86).
inline constexpr std::string_view kOpenDeviceX = "OpenDeviceX";
inline constexpr std::string_view kGetDescriptor = "GetDescriptor";
inline constexpr std::string_view kUWrite = "uWrite";
inline constexpr std::string_view kCloseDevice = "CloseDevice";
inline constexpr std::string_view kEnumUsbPrinter = "EnumUSBPrinter";

inline constexpr size_t kUsbDeviceDescriptorSize = 18;  // the standard USB device descriptor
inline constexpr size_t kUsbPrinterListSize = 1024;     // EnumUSBPrinter's text buffer, bytes

class UsbLibraries {
 public:
  virtual ~UsbLibraries() = default;
  // LoadLibraryW(path): 0 with *library set, or the error (ERROR_MOD_NOT_FOUND for a missing file).
  virtual uint32_t Load(std::string_view path, LibraryHandle* library) = 0;
  // FreeLibrary.
  virtual void Unload(LibraryHandle library) = 0;
  // GetProcAddress(library, name) found the entry point. The calls below may only be made for a library
  // whose entry point was found.
  virtual bool HasEntry(LibraryHandle library, std::string_view name) = 0;

  // ZnUsbInt.dll. OpenDeviceX(index 0..7) gives a handle that CloseDevice takes back, also when it is 0 or
  // -1.
  virtual UsbDeviceHandle OpenDeviceX(LibraryHandle library, int32_t index) = 0;
  // Fills descriptor (kUsbDeviceDescriptorSize bytes) with the device descriptor; non-zero on success.
  virtual int32_t GetDescriptor(LibraryHandle library, UsbDeviceHandle device, uint8_t* descriptor) = 0;
  // Sends count bytes to the printer; the number of bytes written, 0 or less on failure. pipe is 0.
  virtual int32_t UWrite(LibraryHandle library, UsbDeviceHandle device, int32_t pipe, const uint8_t* bytes,
                         int32_t count) = 0;
  virtual void CloseDevice(LibraryHandle library, UsbDeviceHandle device) = 0;

  // UsbPrnLink.dll. flags is 0; buffer holds kUsbPrinterListSize zeroed bytes and receives the printer list
  // text. Negative on failure.
  virtual int32_t EnumUsbPrinter(LibraryHandle library, int32_t flags, char* buffer) = 0;
};

}  // namespace mq::platform
