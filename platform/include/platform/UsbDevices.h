// The connected USB printers as the installer sees them: the classification of the vendor's present devices,
// the printer ID kept in a vendor-driver printer, and file versions of the vendor USB driver. The installer's
// UsbPrinters implements it over the device enumeration, the USB helper libraries and file version roles;
// FakeUsbDevices answers with plain fields for the port page's tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mq::platform {

// Device classification.
inline constexpr int kUsbNoDevice = 0;
inline constexpr int kUsbClassPrinters = 1;
inline constexpr int kUsbVendorDriverPrinters = 2;
inline constexpr int kUsbMixedDevices = 3;

// ReadPrinterId results besides the descriptor value 0..65535.
inline constexpr int kUsbNoAnswer = -1;
inline constexpr int kUsbSeveralDevices = -2;

class UsbDevices {
 public:
  virtual ~UsbDevices() = default;
  // The present devices (SetupDiGetClassDevs): one of the classification values above.
  virtual int ClassifyUsbDevices() = 0;
  // The bcdDevice value of the connected vendor-driver printer's device descriptor, kUsbNoAnswer or
  // kUsbSeveralDevices.
  virtual int ReadPrinterId() = 0;
  // Stores the printer ID 1..8 in the connected printer; false on failure or for an id outside 1..8.
  virtual bool WritePrinterId(int id) = 0;
  // GetFileVersionInfoW / VerQueryValueW: the FileVersion string of the first translation, "0.0.0.0" when the
  // file or the string is missing.
  virtual std::string FileVersion(std::string_view path) = 0;
};

}  // namespace mq::platform
