// A simulated Windows machine kept in a folder, for the "simulate" commands: the registry (registry.txt), the
// spooler's registrations (spooler.txt), the connected USB devices with the printer IDs they keep (usb.txt),
// the kind of Windows it was created as (machine.txt: 32-bit or 64-bit Windows of the NT family, or Windows
// 98) and its system drive (drive/), with the package reached as C:\Package through a link in the drive. The
// object owns the in-memory fakes that stand for the machine's Windows while a command runs; every call they
// see is journaled, and its spooler looks for the driver files it is given as Windows does.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "common/OsGeneration.h"
#include "installer/InstallServices.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeServices.h"
#include "platform/fake/FakeShutdown.h"
#include "platform/fake/FakeSpooler.h"
#include "platform/fake/FakeSystem.h"
#include "platform/fake/FakeUsb.h"
#include "platform/fake/JournaledFileSystem.h"
#include "platform/fake/JournaledProfile.h"
#include "uninstall/RemovalEngine.h"

namespace mq::tool {

inline constexpr const char* kSimulatedPackageFolder = "C:\\Package";

// The kinds of Windows a machine can be. Windows 98 has its own spooler environment ("Windows 4.0"), system
// folder and serial port classes, and no 64-bit edition.
enum class SimulatedWindows { kNt32, kNt64, kWindows98 };

class SimulatedMachine {
 public:
  // The machine in folder, created when missing (an existing one must have been created as the same kind),
  // with package linked in and its saved state loaded. nullptr with the tool's exit status in *status and the
  // reason in *error when it cannot be used.
  static std::unique_ptr<SimulatedMachine> Open(const std::filesystem::path& folder, SimulatedWindows windows,
                                                const std::filesystem::path& package, int* status,
                                                std::string* error);

  SimulatedMachine(const std::filesystem::path& folder, SimulatedWindows windows);
  SimulatedMachine(const SimulatedMachine&) = delete;
  SimulatedMachine& operator=(const SimulatedMachine&) = delete;

  // The roles the installer's engine works through, with the installer's view of the USB printers.
  installer::InstallerServices InstallerServices(platform::UsbDevices& usb);
  // The roles the uninstaller's removal works through.
  uninstall::UninstallServices UninstallServices();

  // The kind of Windows an existing machine in folder was created as; false when there is none.
  static bool ReadKind(const std::filesystem::path& folder, SimulatedWindows* windows);

  // Writes what the run registered back into the folder; whatever a run's outcome, it stays, as on Windows.
  bool Save(std::string* error) const;

  bool is64BitWindows() const { return windows_ == SimulatedWindows::kNt64; }

  platform::CallJournal journal;
  platform::RootedFileSystem drive;
  platform::JournaledFileSystem files{drive, journal};
  platform::FakeRegistry registry{journal};
  platform::FakeSpooler spooler;
  platform::FakeSystemInfo system;
  platform::IniProfile iniProfile;
  platform::JournaledProfile profile{iniProfile, journal};
  platform::FakeClock clock{journal};
  platform::FakeShell shell{journal};
  platform::FakeThreadError lastError;
  platform::FakeServiceControl serviceControl{journal};
  platform::FakeCabinet cabinet{journal, files};
  platform::FakeFsRedirection redirection{journal};
  platform::FakeUsbBus usbBus;
  platform::FakePresentDevices presentDevices{journal, usbBus};
  platform::FakeUsbLibraries usbLibraries{journal, usbBus, &files};
  platform::FakeSystemShutdown shutdown{journal};
  platform::FakeFileVersions fileVersions{journal};

 private:
  bool Load(std::string* error);
  // The registry a new Windows 98 machine starts with: its serial and parallel port classes.
  void AddWindows98PortClasses();

  std::filesystem::path folder_;
  SimulatedWindows windows_;
};

// The value of an --os option (0..7 or a name): sets *os, or false with the usage line in *error.
bool ReadOsOption(const std::string& value, std::optional<common::OsGeneration>* os, std::string* error);

}  // namespace mq::tool
