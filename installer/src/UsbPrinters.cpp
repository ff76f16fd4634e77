// The connected USB printers: classification, printer ID, printer-class ports.
#include "installer/UsbPrinters.h"

#include <cstdio>
#include <cstring>

#include "platform/Text.h"

namespace mq::installer {

using platform::LibraryHandle;
using platform::UsbDeviceHandle;

namespace {

constexpr int kDeviceIndices = 8;  // OpenDeviceX indices 0..7

}  // namespace

std::optional<uint16_t> ParseProductId(std::string_view hexDigits) {
  if (hexDigits.empty() || hexDigits.size() > 4) return std::nullopt;
  uint16_t value = 0;
  for (char c : hexDigits) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : -1;
    if (digit < 0) return std::nullopt;
    value = static_cast<uint16_t>(value * 16 + digit);
  }
  return value;
}

UsbProductGroup GroupOfProduct(uint16_t productId, uint16_t vendorId) {
  if (productId == 0x1000 || productId == 0x1001 || productId == 0x1002 || productId == vendorId)
    return UsbProductGroup::kVendorDriver;
  return productId < 0x2000 ? UsbProductGroup::kPrinterClass : UsbProductGroup::kNeither;
}

std::optional<uint16_t> VendorProductId(std::string_view hardwareId, uint16_t vendorId) {
  char upper[32];
  char lower[32];
  std::snprintf(upper, sizeof upper, "USB\\VID_%04X&PID_", vendorId);
  std::snprintf(lower, sizeof lower, "USB\\Vid_%04x&Pid_", vendorId);
  for (std::string_view pattern : {std::string_view(upper), std::string_view(lower)}) {
    size_t at = hardwareId.find(pattern);
    if (at == std::string_view::npos) continue;
    std::string_view rest = hardwareId.substr(at + pattern.size());
    // The four characters after the pattern.
    if (rest.size() < 4) continue;
    if (auto product = ParseProductId(rest.substr(0, 4))) return product;
  }
  return std::nullopt;
}

int ClassifyHardwareIds(const std::vector<std::string>& hardwareIds, uint16_t vendorId) {
  int total = 0;
  int vendorDriver = 0;
  int printerClass = 0;
  for (const std::string& id : hardwareIds) {
    std::optional<uint16_t> product = VendorProductId(id, vendorId);
    if (!product) continue;
    ++total;
    UsbProductGroup group = GroupOfProduct(*product, vendorId);
    if (group == UsbProductGroup::kVendorDriver) ++vendorDriver;
    if (group == UsbProductGroup::kPrinterClass) ++printerClass;
  }
  if (total == 0) return platform::kUsbNoDevice;
  if (total == 1) return vendorDriver == 1 ? platform::kUsbVendorDriverPrinters : platform::kUsbClassPrinters;
  if (printerClass == total) return platform::kUsbClassPrinters;
  if (vendorDriver == total) return platform::kUsbVendorDriverPrinters;
  return platform::kUsbMixedDevices;
}

std::array<uint8_t, 10> PrinterIdCommand(int id) {
  return {0x1B, 0x73, 0x42, 0x45, 0x92, 0x99, 0x1D, 0x49, 0x20, static_cast<uint8_t>(id - 1)};
}

int ClassPrinterPortIn(std::string_view printerList, std::string_view model) {
  if (model.empty()) return 0;
  size_t at = printerList.find(model);
  if (at == std::string_view::npos) return 0;
  size_t mark = printerList.find('@', at + model.size());
  // A listing cut off before its "@" names no port: the model counts as not found.
  if (mark == std::string_view::npos) return 0;
  char digit = printerList[mark - 1];
  return digit >= '1' && digit <= '4' ? digit - '0' : 1;
}

// One loaded helper library, unloaded when it goes out of scope.
struct UsbPrinters::Library {
  Library(platform::UsbLibraries& libraries, const std::string& path) : libraries(libraries) {
    loaded = libraries.Load(path, &handle) == 0;
  }
  ~Library() {
    if (loaded) libraries.Unload(handle);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool Has(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
      if (!libraries.HasEntry(handle, name)) return false;
    }
    return true;
  }
  // Opens index and gives the handle back at once; true when a device answered there.
  bool Probe(int32_t index) {
    UsbDeviceHandle device = libraries.OpenDeviceX(handle, index);
    libraries.CloseDevice(handle, device);
    return platform::UsbDeviceOpened(device);
  }
  // The first index 0..7 that answers, or -1.
  int FirstAnswering() {
    for (int index = 0; index < kDeviceIndices; ++index) {
      if (Probe(index)) return index;
    }
    return -1;
  }

  platform::UsbLibraries& libraries;
  LibraryHandle handle = 0;
  bool loaded = false;
};

UsbPrinters::UsbPrinters(platform::PresentDevices& devices, platform::UsbLibraries& libraries,
                         platform::FileVersions& versions, std::string programFolder,
                         const common::LanguageTexts& texts, InstallUi& ui)
    : devices_(devices),
      libraries_(libraries),
      versions_(versions),
      programFolder_(std::move(programFolder)),
      texts_(texts),
      ui_(ui) {}

std::string UsbPrinters::LibraryPath(std::string_view name) const {
  return text::JoinPath(programFolder_, name);
}

int UsbPrinters::ClassifyUsbDevices() {
  std::vector<std::string> ids;
  if (devices_.FirstHardwareIds(&ids) != 0) return platform::kUsbNoDevice;
  return ClassifyHardwareIds(ids);
}

int UsbPrinters::ReadPrinterId() {
  Library library(libraries_, LibraryPath(kUsbInterfaceLibrary));
  if (!library.loaded) {
    Show("Can not load ZnUsbInt.dll");
    return platform::kUsbNoAnswer;
  }
  if (!library.Has({platform::kOpenDeviceX, platform::kGetDescriptor, platform::kCloseDevice})) {
    Show("open function error");
    return platform::kUsbNoAnswer;
  }
  int first = -1;
  for (int index = 0; index < kDeviceIndices; ++index) {
    if (!library.Probe(index)) continue;
    if (first >= 0) {
      Show(texts_.Message("IDS_ERR_ONEPRINTER"));
      return platform::kUsbSeveralDevices;
    }
    first = index;
  }
  if (first < 0) return platform::kUsbNoAnswer;

  UsbDeviceHandle device = libraries_.OpenDeviceX(library.handle, first);
  if (!platform::UsbDeviceOpened(device)) {
    libraries_.CloseDevice(library.handle, device);
    return platform::kUsbNoAnswer;
  }
  uint8_t descriptor[platform::kUsbDeviceDescriptorSize] = {};
  int32_t read = libraries_.GetDescriptor(library.handle, device, descriptor);
  libraries_.CloseDevice(library.handle, device);
  if (read == 0) {
    Show("Get Device ID error");
    return platform::kUsbNoAnswer;
  }
  return descriptor[12] | (descriptor[13] << 8);  // bcdDevice, little-endian
}

bool UsbPrinters::WritePrinterId(int id) {
  if (id < 1 || id > 8) return false;
  Library library(libraries_, LibraryPath(kUsbInterfaceLibrary));
  if (!library.loaded || !library.Has({platform::kOpenDeviceX, platform::kUWrite, platform::kCloseDevice})) {
    Show("open function error");
    return false;
  }
  int index = library.FirstAnswering();
  UsbDeviceHandle device =
      index >= 0 ? libraries_.OpenDeviceX(library.handle, index) : platform::kNoUsbDevice;
  if (!platform::UsbDeviceOpened(device)) {
    if (index >= 0) libraries_.CloseDevice(library.handle, device);
    Show("Can not find USB device.");
    return false;
  }
  std::array<uint8_t, 10> command = PrinterIdCommand(id);
  int32_t written =
      libraries_.UWrite(library.handle, device, 0, command.data(), static_cast<int32_t>(command.size()));
  libraries_.CloseDevice(library.handle, device);
  if (written <= 0) {
    Show("write ID error");
    return false;
  }
  return true;
}

int UsbPrinters::FindClassPrinterPort(std::string_view model) {
  Library library(libraries_, LibraryPath(kUsbPrinterListLibrary));
  if (!library.loaded) {
    Show("load library failed!");
    return 0;
  }
  if (!library.Has({platform::kEnumUsbPrinter})) return 0;
  char buffer[platform::kUsbPrinterListSize] = {};
  if (libraries_.EnumUsbPrinter(library.handle, 0, buffer) < 0) return 0;
  // The library may fill the whole buffer: the text ends at the first zero byte or at the buffer's end.
  std::string_view list(buffer, strnlen(buffer, sizeof buffer));
  return ClassPrinterPortIn(list, model);
}

}  // namespace mq::installer
