// The entry points of the package's USB helper libraries as the installer calls them: ZnUsbInt.dll reaches
// the vendor's USB printers, UsbPrnLink.dll lists USB printer-class printers. All are exported undecorated
// (through .def files) with the stdcall convention on x86. Shared by the libraries and the installer's
// loader, so that both sides agree on the signatures.
#pragma once

#include <windows.h>

extern "C" {
// Opens the vendor device at index 0..7; NULL (or INVALID_HANDLE_VALUE) when none answers there.
typedef HANDLE(WINAPI* OpenDeviceXFn)(int index);
// Copies the 18-byte standard USB device descriptor into descriptor; non-zero on success.
typedef int(WINAPI* GetDescriptorFn)(HANDLE device, unsigned char* descriptor);
// Sends count bytes to the printer (pipe 0: its first bulk-out pipe); the number of bytes written.
typedef int(WINAPI* UWriteFn)(HANDLE device, int pipe, const unsigned char* bytes, int count);
// Gives back a handle from OpenDeviceX; NULL and INVALID_HANDLE_VALUE are accepted and ignored.
typedef void(WINAPI* CloseDeviceFn)(HANDLE device);
// Lists the printer-class printers into a 1024-byte text buffer; the number listed, negative on failure.
typedef int(WINAPI* EnumUsbPrinterFn)(int flags, char* buffer);
}
