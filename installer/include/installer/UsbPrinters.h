// The installer's view of the connected USB printers: which of the vendor's devices are present and of which
// kind, the printer ID kept in a vendor-driver printer (read and rewritten through ZnUsbInt.dll), the port of
// a USB printer-class printer (found through UsbPrnLink.dll) and the version of the vendor USB driver. Both
// libraries are loaded from the program's folder for each call and unloaded again; their failures are shown
// as message boxes with the libraries' own texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/LanguageTexts.h"
#include "installer/InstallServices.h"
#include "platform/FileVersions.h"
#include "platform/PresentDevices.h"
#include "platform/UsbDevices.h"
#include "platform/UsbLibraries.h"

namespace mq::installer {

// The package's USB vendor ID, and the device interface class under which ZnUsbInt.dll finds the
// vendor-driver printers. The package's WinUSB INF (USBDRV\WinUSB\ZnUsbWinUsb.inf) binds the same hardware
// IDs and registers that interface; ZnUsbInt.dll holds the same GUID as a structure.
inline constexpr uint16_t kVendorUsbId = 0x1D3B;
inline constexpr std::string_view kVendorInterfaceGuid = "{280E61AA-E431-4E42-9099-47B4C16B36C4}";

inline constexpr std::string_view kUsbInterfaceLibrary = "ZnUsbInt.dll";
inline constexpr std::string_view kUsbPrinterListLibrary = "UsbPrnLink.dll";

enum class UsbProductGroup {
  kVendorDriver,  // 0x1000, 0x1001, 0x1002 and the product ID equal to the vendor ID
  kPrinterClass,  // every other product ID below 0x2000
  kNeither,       // 0x2000 and up: the vendor's, but neither kind
};
UsbProductGroup GroupOfProduct(uint16_t productId, uint16_t vendorId = kVendorUsbId);

// A product ID written as one to four hex digits of either letter case; nullopt for anything else.
std::optional<uint16_t> ParseProductId(std::string_view hexDigits);

// The product ID of a first hardware ID that names the vendor: "USB\VID_vvvv&PID_pppp" with upper-case hex
// digits, or "USB\Vid_vvvv&Pid_pppp" with lower-case ones. nullopt for another vendor's device.
std::optional<uint16_t> VendorProductId(std::string_view hardwareId, uint16_t vendorId = kVendorUsbId);

// The classification (platform::kUsbNoDevice .. kUsbMixedDevices) of the present devices' first hardware IDs.
int ClassifyHardwareIds(const std::vector<std::string>& hardwareIds, uint16_t vendorId = kVendorUsbId);

// The printer ID 1..8 of a descriptor's bcdDevice value, and the 10-byte command that stores one.
inline int PrinterIdOfDescriptor(int bcdDevice) {
  return bcdDevice % 8 + 1;
}
std::array<uint8_t, 10> PrinterIdCommand(int id);

// The port number 1..4 of a printer-class model in EnumUSBPrinter's text: the character before the first "@"
// after the model name ("1".."4", any other character 1); 0 when the model is not listed.
int ClassPrinterPortIn(std::string_view printerList, std::string_view model);

class UsbPrinters : public platform::UsbDevices {
 public:
  UsbPrinters(platform::PresentDevices& devices, platform::UsbLibraries& libraries,
              platform::FileVersions& versions, std::string programFolder, const common::LanguageTexts& texts,
              InstallUi& ui);

  // The vendor's present devices; 0 when the devices cannot be enumerated.
  int ClassifyUsbDevices() override;
  // The bcdDevice value of the one vendor-driver printer; platform::kUsbNoAnswer or kUsbSeveralDevices (after
  // IDS_ERR_ONEPRINTER was shown).
  int ReadPrinterId() override;
  // Stores id (1..8) in the first printer that answers; ids outside 1..8 are refused without any call.
  bool WritePrinterId(int id) override;
  // The USB port 1..4 of a printer-class printer of this model, 0 when not found.
  int FindClassPrinterPort(std::string_view model);
  std::string FileVersion(std::string_view path) override { return versions_.FileVersion(path); }

 private:
  struct Library;
  std::string LibraryPath(std::string_view name) const;
  void Show(std::string_view text) { ui_.ShowMessage(text, ""); }

  platform::PresentDevices& devices_;
  platform::UsbLibraries& libraries_;
  platform::FileVersions& versions_;
  std::string programFolder_;
  const common::LanguageTexts& texts_;
  InstallUi& ui_;
};

}  // namespace mq::installer
