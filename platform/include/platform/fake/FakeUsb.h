// The USB side of an in-memory machine: the present devices with their descriptors, the printer-class
// printers the spooler has USB ports for, and fakes of the device enumeration, the two USB helper libraries
// and file version resources working on them. Each call is journaled under the function it stands for and can
// be failed; the library fake counts loads, opens and closes so that tests see every handle given back.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FileVersions.h"
#include "platform/PresentDevices.h"
#include "platform/UsbLibraries.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

struct FakeUsbDevice {
  std::string hardwareId;  // the first hardware ID, "USB\VID_vvvv&PID_pppp&REV_0100"
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t bcdDevice = 0;        // descriptor offset 12: the printer ID store
  bool vendorInterface = false;  // bound to the vendor's interface, so ZnUsbInt.dll reaches it
};

struct FakeClassPrinter {
  std::string model;
  int portNumber = 1;  // the N of the spooler port USB00N
};

struct FakeUsbBus {
  std::vector<FakeUsbDevice> devices;
  std::vector<FakeClassPrinter> classPrinters;

  // A device with the hardware ID "USB\VID_vvvv&PID_pppp&REV_0100" in upper-case hex.
  FakeUsbDevice& Add(uint16_t vendorId, uint16_t productId, uint16_t bcdDevice, bool vendorInterface);

  // The text form kept by simulated machines, one line each: "device VVVV PPPP BCD 0|1" (hex vendor and
  // product ID, decimal bcdDevice, reached through the interface library or not) and "class N MODEL".
  std::string Serialize() const;
  // Replaces the contents from the text form; false (contents unchanged) for anything else.
  bool Deserialize(std::string_view text);
};

class FakePresentDevices : public PresentDevices {
 public:
  FakePresentDevices(CallJournal& journal, const FakeUsbBus& bus) : journal_(journal), bus_(bus) {}
  uint32_t FirstHardwareIds(std::vector<std::string>* ids) override;
  std::vector<std::string> otherDevices;  // hardware IDs of the machine's other devices, listed first

 private:
  CallJournal& journal_;
  const FakeUsbBus& bus_;
};

class FakeUsbLibraries : public UsbLibraries {
 public:
  // With files, a library loads only when its file exists there (as LoadLibraryW needs it); without, every
  // library not named in absentLibraries loads.
  FakeUsbLibraries(CallJournal& journal, FakeUsbBus& bus, FileSystem* files = nullptr)
      : journal_(journal), bus_(bus), files_(files) {}
  uint32_t Load(std::string_view path, LibraryHandle* library) override;
  void Unload(LibraryHandle library) override;
  bool HasEntry(LibraryHandle library, std::string_view name) override;
  UsbDeviceHandle OpenDeviceX(LibraryHandle library, int32_t index) override;
  int32_t GetDescriptor(LibraryHandle library, UsbDeviceHandle device, uint8_t* descriptor) override;
  int32_t UWrite(LibraryHandle library, UsbDeviceHandle device, int32_t pipe, const uint8_t* bytes,
                 int32_t count) override;
  void CloseDevice(LibraryHandle library, UsbDeviceHandle device) override;
  int32_t EnumUsbPrinter(LibraryHandle library, int32_t flags, char* buffer) override;

  // The handle OpenDeviceX gives for an index without a device (0 and -1 both mean none).
  UsbDeviceHandle noDevice = kInvalidUsbDevice;
  // File names (case-blind, "ZnUsbInt.dll") that fail to load with ERROR_MOD_NOT_FOUND, and entry points the
  // libraries lack.
  std::set<std::string> absentLibraries;
  std::set<std::string> missingEntries;
  // When not empty, EnumUSBPrinter writes exactly this text instead of listing bus.classPrinters.
  std::string printerListOverride;

  int loads = 0, unloads = 0;
  int opens = 0, closes = 0;  // every OpenDeviceX and CloseDevice call, whatever the handle
  std::set<UsbDeviceHandle> openDevices;

 private:
  FakeUsbDevice* Device(UsbDeviceHandle device);
  CallJournal& journal_;
  FakeUsbBus& bus_;
  FileSystem* files_;
  std::map<LibraryHandle, std::string> loaded_;  // handle -> file name
  LibraryHandle next_ = 0x10000000;
};

class FakeFileVersions : public FileVersions {
 public:
  explicit FakeFileVersions(CallJournal& journal) : journal_(journal) {}
  std::string FileVersion(std::string_view path) override;
  std::map<std::string, std::string> versions;  // by path, compared case-blind

 private:
  CallJournal& journal_;
};

}  // namespace mq::platform
