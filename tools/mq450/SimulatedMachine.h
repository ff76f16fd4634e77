// A simulated Windows machine kept in a folder, for the "simulate" commands: the registry (registry.txt), the
// spooler's registrations (spooler.txt), the kind of Windows it was created as (machine.txt) and its system
// drive (drive/), with the package reached as C:\Package through a link in the drive. The object owns the
// in-memory fakes that stand for the machine's Windows while a command runs; every call they see is
// journaled.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "installer/InstallServices.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeServices.h"
#include "platform/fake/FakeSpooler.h"
#include "platform/fake/FakeSystem.h"
#include "platform/fake/JournaledFileSystem.h"
#include "platform/fake/JournaledProfile.h"

namespace mq::tool {

inline constexpr const char* kSimulatedPackageFolder = "C:\\Package";

class SimulatedMachine {
 public:
  // The machine in folder, created when missing (an existing one must have been created with the same word
  // size), with package linked in and its saved state loaded. nullptr with the tool's exit status in *status
  // and the reason in *error when it cannot be used.
  static std::unique_ptr<SimulatedMachine> Open(const std::filesystem::path& folder, bool is64BitWindows,
                                                const std::filesystem::path& package, int* status,
                                                std::string* error);

  SimulatedMachine(const std::filesystem::path& folder, bool is64BitWindows);
  SimulatedMachine(const SimulatedMachine&) = delete;
  SimulatedMachine& operator=(const SimulatedMachine&) = delete;

  // The roles the installer's engine works through.
  installer::InstallerServices InstallerServices();

  // Writes what the run registered back into the folder; whatever a run's outcome, it stays, as on Windows.
  bool Save(std::string* error) const;

  bool is64BitWindows() const { return is64_; }

  platform::CallJournal journal;
  platform::FakeRegistry registry{journal};
  platform::FakeSpooler spooler;
  platform::RootedFileSystem drive;
  platform::JournaledFileSystem files{drive, journal};
  platform::FakeSystemInfo system;
  platform::IniProfile iniProfile;
  platform::JournaledProfile profile{iniProfile, journal};
  platform::FakeClock clock{journal};
  platform::FakeShell shell{journal};
  platform::FakeThreadError lastError;
  platform::FakeServiceControl serviceControl{journal};
  platform::FakeCabinet cabinet{journal, files};
  platform::FakeFsRedirection redirection{journal};
  platform::FakeUsbDevices usb{journal};

 private:
  bool Load(std::string* error);

  std::filesystem::path folder_;
  bool is64_;
};

}  // namespace mq::tool
