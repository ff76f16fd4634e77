// The USB side of an in-memory machine.
#include "platform/fake/FakeUsb.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::platform {
namespace {

// Handles of the devices ZnUsbInt.dll reaches: index i is handle kFirstDevice + i.
constexpr UsbDeviceHandle kFirstDevice = 0x100;

std::string HexBytes(const uint8_t* bytes, int32_t count) {
  std::string out;
  char two[4];
  for (int32_t i = 0; i < count; ++i) {
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    if (i > 0) out += ' ';
    out += two;
  }
  return out;
}

}  // namespace

FakeUsbDevice& FakeUsbBus::Add(uint16_t vendorId, uint16_t productId, uint16_t bcdDevice,
                               bool vendorInterface) {
  char id[64];
  std::snprintf(id, sizeof id, "USB\\VID_%04X&PID_%04X&REV_0100", vendorId, productId);
  devices.push_back({id, vendorId, productId, bcdDevice, vendorInterface});
  return devices.back();
}

std::string FakeUsbBus::Serialize() const {
  std::string out;
  char line[64];
  for (const FakeUsbDevice& d : devices) {
    std::snprintf(line, sizeof line, "device %04X %04X %u %d\n", d.vendorId, d.productId, d.bcdDevice,
                  d.vendorInterface ? 1 : 0);
    out += line;
  }
  for (const FakeClassPrinter& p : classPrinters)
    out += "class " + std::to_string(p.portNumber) + " " + p.model + "\n";
  return out;
}

namespace {

bool ParseUnsigned(std::string_view text, int base, uint32_t max, uint32_t* value) {
  if (text.empty() || text.size() > 8) return false;
  uint32_t v = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9' ? c - '0' : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return false;
    v = v * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
  }
  if (v > max) return false;
  *value = v;
  return true;
}

std::vector<std::string_view> Words(std::string_view line, size_t count) {
  std::vector<std::string_view> words;
  while (!line.empty() && words.size() + 1 < count) {
    size_t space = line.find(' ');
    if (space == std::string_view::npos) break;
    words.push_back(line.substr(0, space));
    line.remove_prefix(space + 1);
  }
  words.push_back(line);
  return words;
}

}  // namespace

bool FakeUsbBus::Deserialize(std::string_view text) {
  FakeUsbBus read;
  while (!text.empty()) {
    size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;  // every line ends with a line feed
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.rfind("device ", 0) == 0) {
      std::vector<std::string_view> w = Words(line.substr(7), 4);
      uint32_t vendor = 0, product = 0, bcd = 0, reached = 0;
      if (w.size() != 4 || w[0].size() != 4 || w[1].size() != 4 ||
          !ParseUnsigned(w[0], 16, 0xFFFF, &vendor) || !ParseUnsigned(w[1], 16, 0xFFFF, &product) ||
          !ParseUnsigned(w[2], 10, 0xFFFF, &bcd) || !ParseUnsigned(w[3], 10, 1, &reached)) {
        return false;
      }
      read.Add(static_cast<uint16_t>(vendor), static_cast<uint16_t>(product), static_cast<uint16_t>(bcd),
               reached == 1);
    } else if (line.rfind("class ", 0) == 0) {
      std::vector<std::string_view> w = Words(line.substr(6), 2);
      uint32_t port = 0;
      if (w.size() != 2 || !ParseUnsigned(w[0], 10, 9, &port) || port == 0 || w[1].empty() ||
          w[1].find('@') != std::string_view::npos) {
        return false;
      }
      read.classPrinters.push_back({std::string(w[1]), static_cast<int>(port)});
    } else {
      return false;
    }
  }
  *this = std::move(read);
  return true;
}

uint32_t FakePresentDevices::FirstHardwareIds(std::vector<std::string>* ids) {
  if (uint32_t e = journal_.Enter("SetupDiGetClassDevsW", {{"flags", "DIGCF_ALLCLASSES|DIGCF_PRESENT"}}))
    return e;
  std::vector<std::string> found = otherDevices;
  for (const FakeUsbDevice& device : bus_.devices) found.push_back(device.hardwareId);
  *ids = std::move(found);
  return 0;
}

uint32_t FakeUsbLibraries::Load(std::string_view path, LibraryHandle* library) {
  if (uint32_t e = journal_.Enter("LoadLibraryW", {{"path", std::string(path)}})) return e;
  std::string name(text::FileName(path));
  for (const std::string& absent : absentLibraries) {
    if (text::EqualsNoCase(absent, name)) return err::kModNotFound;
  }
  uint32_t attributes = 0;
  if (files_ != nullptr) {
    CallJournal::Quiet quiet(&journal_);
    if (files_->GetAttributes(path, &attributes) != 0 || (attributes & kFileAttributeDirectory) != 0)
      return err::kModNotFound;
  }
  *library = next_++;
  loaded_[*library] = name;
  ++loads;
  return 0;
}

void FakeUsbLibraries::Unload(LibraryHandle library) {
  auto it = loaded_.find(library);
  journal_.Enter("FreeLibrary", {{"library", it == loaded_.end() ? std::string("?") : it->second}});
  if (it == loaded_.end()) return;
  loaded_.erase(it);
  ++unloads;
}

bool FakeUsbLibraries::HasEntry(LibraryHandle library, std::string_view name) {
  journal_.Enter("GetProcAddress", {{"name", std::string(name)}});
  return loaded_.count(library) != 0 && missingEntries.count(std::string(name)) == 0;
}

FakeUsbDevice* FakeUsbLibraries::Device(UsbDeviceHandle device) {
  if (openDevices.count(device) == 0) return nullptr;
  int32_t index = static_cast<int32_t>(device - kFirstDevice);
  for (FakeUsbDevice& d : bus_.devices) {
    if (!d.vendorInterface) continue;
    if (index-- == 0) return &d;
  }
  return nullptr;
}

UsbDeviceHandle FakeUsbLibraries::OpenDeviceX(LibraryHandle, int32_t index) {
  ++opens;
  if (journal_.Enter("OpenDeviceX", {{"index", std::to_string(index)}}) != 0) return noDevice;
  auto reachable = std::count_if(bus_.devices.begin(), bus_.devices.end(),
                                 [](const FakeUsbDevice& d) { return d.vendorInterface; });
  if (index < 0 || index >= reachable) return noDevice;
  UsbDeviceHandle handle = kFirstDevice + index;
  openDevices.insert(handle);
  return handle;
}

int32_t FakeUsbLibraries::GetDescriptor(LibraryHandle, UsbDeviceHandle device, uint8_t* descriptor) {
  if (journal_.Enter("GetDescriptor", {{"device", CallJournal::Hex(static_cast<uint64_t>(device))}}) != 0)
    return 0;
  const FakeUsbDevice* d = Device(device);
  if (d == nullptr) return 0;
  // bLength, bDescriptorType 1, bcdUSB 2.00, class/subclass/protocol 0 (per interface), bMaxPacketSize0 64,
  // then idVendor, idProduct, bcdDevice (little-endian), string indices, one configuration.
  const uint8_t bytes[kUsbDeviceDescriptorSize] = {18,
                                                   1,
                                                   0x00,
                                                   0x02,
                                                   0,
                                                   0,
                                                   0,
                                                   64,
                                                   static_cast<uint8_t>(d->vendorId),
                                                   static_cast<uint8_t>(d->vendorId >> 8),
                                                   static_cast<uint8_t>(d->productId),
                                                   static_cast<uint8_t>(d->productId >> 8),
                                                   static_cast<uint8_t>(d->bcdDevice),
                                                   static_cast<uint8_t>(d->bcdDevice >> 8),
                                                   1,
                                                   2,
                                                   3,
                                                   1};
  std::memcpy(descriptor, bytes, sizeof bytes);
  return 1;
}

int32_t FakeUsbLibraries::UWrite(LibraryHandle, UsbDeviceHandle device, int32_t pipe, const uint8_t* bytes,
                                 int32_t count) {
  if (journal_.Enter("uWrite", {{"device", CallJournal::Hex(static_cast<uint64_t>(device))},
                                {"pipe", std::to_string(pipe)},
                                {"bytes", HexBytes(bytes, std::max(count, 0))}}) != 0) {
    return 0;
  }
  FakeUsbDevice* d = Device(device);
  if (d == nullptr || count <= 0) return 0;
  // The printer keeps a new printer ID from the set-ID command: 1B 73 42 45 92 99 1D 49 20, then ID - 1.
  static constexpr uint8_t kSetId[] = {0x1B, 0x73, 0x42, 0x45, 0x92, 0x99, 0x1D, 0x49, 0x20};
  if (count == 10 && std::memcmp(bytes, kSetId, sizeof kSetId) == 0) d->bcdDevice = bytes[9];
  return count;
}

void FakeUsbLibraries::CloseDevice(LibraryHandle, UsbDeviceHandle device) {
  ++closes;
  journal_.Enter("CloseDevice", {{"device", CallJournal::Hex(static_cast<uint64_t>(device))}});
  openDevices.erase(device);
}

int32_t FakeUsbLibraries::EnumUsbPrinter(LibraryHandle, int32_t flags, char* buffer) {
  if (journal_.Enter("EnumUSBPrinter", {{"flags", std::to_string(flags)}}) != 0) return -1;
  std::string list = printerListOverride;
  if (list.empty()) {
    // The real library's form: "<hardware ID>;<description>;USB00<n>@" per printer.
    for (const FakeClassPrinter& p : bus_.classPrinters) {
      list += "USBPRINT\\" + p.model + ";" + p.model + ";USB00" + std::to_string(p.portNumber) + "@";
    }
  }
  size_t size = std::min(list.size(), kUsbPrinterListSize);
  std::memcpy(buffer, list.data(), size);
  return static_cast<int32_t>(bus_.classPrinters.size());
}

std::string FakeFileVersions::FileVersion(std::string_view path) {
  if (journal_.Enter("GetFileVersionInfoW", {{"path", std::string(path)}}) != 0) return "0.0.0.0";
  for (const auto& [file, version] : versions) {
    if (text::EqualsNoCase(file, path)) return version;
  }
  return "0.0.0.0";
}

}  // namespace mq::platform
