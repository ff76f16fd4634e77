// The simulated machine of the "simulate" commands.
#include "SimulatedMachine.h"

#include <fstream>
#include <initializer_list>

#include "ToolSupport.h"
#include "installer/UniversalDriver.h"

namespace mq::tool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSystemFileStandIn = "simulated system file\n";

std::string MachineKind(SimulatedWindows windows) {
  switch (windows) {
    case SimulatedWindows::kNt64:
      return "64-bit\n";
    case SimulatedWindows::kWindows98:
      return "Windows 98\n";
    default:
      return "32-bit\n";
  }
}

std::string KindName(SimulatedWindows windows) {
  std::string kind = MachineKind(windows);
  kind.pop_back();
  return kind == "Windows 98" ? kind : kind + " Windows";
}

std::string_view LocalEnvironment(SimulatedWindows windows) {
  switch (windows) {
    case SimulatedWindows::kNt64:
      return "Windows x64";
    case SimulatedWindows::kWindows98:
      return "Windows 4.0";
    default:
      return "Windows NT x86";
  }
}

// A machine's state files are small (a few kilobytes after many runs); anything near this is not one.
constexpr uint64_t kMaxMachineFileBytes = uint64_t{16} << 20;

bool ReadText(const fs::path& path, std::string* text) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path.string(), kMaxMachineFileBytes, &bytes, &error)) return false;
  text->assign(bytes.begin(), bytes.end());
  return true;
}

bool WriteText(const fs::path& path, const std::string& text, std::string* error) {
  return WriteOutputFile(path.string(), std::vector<uint8_t>(text.begin(), text.end()), error);
}

// Loads one of the machine's state files into its fake; a missing file is an empty one. false, with the reason,
// when the file cannot be read or is malformed: the run must then stop before it overwrites it.
template <typename Fake>
bool LoadState(const fs::path& path, Fake& fake, std::string* error) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return true;
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadWholeFile(path.string(), kMaxMachineFileBytes, &bytes, &reason)) {
    *error = reason;
    return false;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  bool loaded;
  if constexpr (requires { fake.Deserialize(text, &reason); }) {
    loaded = fake.Deserialize(text, &reason);
  } else {
    loaded = fake.Deserialize(text);
    reason = "it is malformed";
  }
  if (!loaded) {
    *error = "the machine's " + path.filename().string() + " cannot be read: " + reason;
    return false;
  }
  return true;
}

void PutFile(const fs::path& path, std::string_view contents) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}

bool CreateFolders(const fs::path& drive, std::initializer_list<std::string> folders, std::string* error) {
  std::error_code ec;
  for (const std::string& folder : folders) {
    fs::create_directories(drive / folder, ec);
    if (ec) {
      *error = "cannot create the machine folder " + (drive / folder).string() + ": " + ec.message();
      return false;
    }
  }
  return true;
}

// A new machine: the folders a Windows installation has, and the system's own universal-driver files where
// that Windows keeps them (stand-ins with a note inside): the driver store and driver cache of NT systems,
// the system folder's backup on Windows 98.
bool CreateMachine(const fs::path& machine, SimulatedWindows windows, std::string* error) {
  fs::path drive = machine / "drive";
  if (windows == SimulatedWindows::kWindows98) {
    if (!CreateFolders(drive,
                       {"Windows/system", "Windows/Temp", "Program Files",
                        "Windows/system32/spool/drivers/WIN40", "Windows/system32/spool/prtprocs/WIN40"},
                       error)) {
      return false;
    }
    PutFile(drive / "Windows/Sysbckup/UNIDRV.DLL", kSystemFileStandIn);
    return WriteText(machine / "machine.txt", MachineKind(windows), error);
  }
  bool is64 = windows == SimulatedWindows::kNt64;
  std::string arch = is64 ? "x64" : "W32X86";
  if (!CreateFolders(drive,
                     {"Windows/system32/wbem", "Windows/Temp", "Program Files",
                      "Windows/system32/spool/drivers/" + arch, "Windows/system32/spool/prtprocs/" + arch},
                     error)) {
    return false;
  }
  fs::path store =
      drive / "Windows/system32/DriverStore/FileRepository/ntprint.inf_simulated" / (is64 ? "AMD64" : "I386");
  for (std::string_view name : installer::kUniversalDriverFiles) {
    PutFile(store / std::string(name), kSystemFileStandIn);
  }
  // System libraries that the setup brings along for Windows XP only when they are missing.
  for (const char* name : {"system32/srclient.dll", "system32/newdev.dll", "system32/wbem/framedyn.dll"}) {
    PutFile(drive / "Windows" / name, kSystemFileStandIn);
  }
  PutFile(drive / "Windows/Driver Cache" / (is64 ? "AMD64" : "i386") / "driver.cab", "simulated cabinet\n");
  return WriteText(machine / "machine.txt", MachineKind(windows), error);
}

}  // namespace

SimulatedMachine::SimulatedMachine(const fs::path& folder, SimulatedWindows windows)
    : drive(folder / "drive"),
      spooler(journal, LocalEnvironment(windows), &drive),
      iniProfile(files, system.windowsDirectory),
      folder_(folder),
      windows_(windows) {
  bool is64 = windows == SimulatedWindows::kNt64;
  system.moduleDirectory = kSimulatedPackageFolder;
  system.wow64 = is64;
  system.architecture = is64 ? platform::kProcessorArchitectureAmd64 : platform::kProcessorArchitectureIntel;
  if (windows == SimulatedWindows::kWindows98) {
    system.systemDirectory = "C:\\Windows\\system";
    system.version = platform::OsVersion{4, 10, 2222, 1, 0, 0};
    return;
  }
  // The driver cache of Windows 2000, XP and Server 2003 holds the universal driver's files.
  for (const char* arch : {"i386", "AMD64"}) {
    auto& members = cabinet.cabinets[std::string("C:\\Windows\\Driver Cache\\") + arch + "\\driver.cab"];
    for (std::string_view name : installer::kUniversalDriverFiles)
      members[std::string(name)] = kSystemFileStandIn;
  }
}

std::unique_ptr<SimulatedMachine> SimulatedMachine::Open(const fs::path& folder, SimulatedWindows windows,
                                                         const fs::path& package, int* status,
                                                         std::string* error) {
  std::error_code ec;
  std::string kind;
  bool created = false;
  *status = kExitFailed;
  if (!fs::exists(folder / "machine.txt", ec)) {
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
      *status = kExitUsage;
      *error = "--machine names a file, not a folder: " + folder.string();
      return nullptr;
    }
    if (!CreateMachine(folder, windows, error)) return nullptr;
    created = true;
  } else if (!ReadText(folder / "machine.txt", &kind) || kind != MachineKind(windows)) {
    *status = kExitUsage;
    std::string was = "not created";
    for (SimulatedWindows other :
         {SimulatedWindows::kNt32, SimulatedWindows::kNt64, SimulatedWindows::kWindows98}) {
      if (kind == MachineKind(other)) was = "created as " + KindName(other) + ", not";
    }
    *error = "the machine in " + folder.string() + " was " + was + " as " + KindName(windows) +
             " (see machine.txt)";
    return nullptr;
  }
  fs::path link = folder / "drive" / "Package";
  fs::remove(link, ec);
  fs::create_directory_symlink(fs::absolute(package), link, ec);
  if (ec) {
    *error = "cannot link the package into the machine: " + ec.message();
    return nullptr;
  }
  auto machine = std::make_unique<SimulatedMachine>(folder, windows);
  if (!machine->Load(error)) return nullptr;
  if (created && windows == SimulatedWindows::kWindows98) {
    machine->AddWindows98PortClasses();
    if (!machine->Save(error)) return nullptr;
  }
  return machine;
}

void SimulatedMachine::AddWindows98PortClasses() {
  platform::CallJournal::Quiet quiet(&journal);
  // COM1 and COM2 are serial ports (PortSubClass 1), LPT1 a parallel one (0).
  const uint8_t subClasses[] = {1, 1, 0};
  for (int i = 0; i < 3; ++i) {
    platform::RegKey key = 0;
    std::string path = "System\\CurrentControlSet\\Services\\Class\\Ports\\000" + std::to_string(i);
    if (registry.CreateKey(platform::kHkeyLocalMachine, path, platform::kKeyAllAccess, &key, nullptr) != 0)
      continue;
    registry.SetValue(key, "PortSubClass", platform::kRegBinary, &subClasses[i], 1);
    registry.CloseKey(key);
  }
}

bool SimulatedMachine::Load(std::string* error) {
  return LoadState(folder_ / "registry.txt", registry, error) && LoadState(folder_ / "spooler.txt", spooler, error) &&
         LoadState(folder_ / "usb.txt", usbBus, error);
}

bool SimulatedMachine::Save(std::string* error) const {
  return WriteText(folder_ / "registry.txt", registry.Serialize(), error) &&
         WriteText(folder_ / "spooler.txt", spooler.Serialize(), error) &&
         WriteText(folder_ / "usb.txt", usbBus.Serialize(), error);
}

installer::InstallerServices SimulatedMachine::InstallerServices(platform::UsbDevices& usb) {
  return installer::InstallerServices{
      platform::PlatformServices{registry, files, profile, system, clock, shell, lastError},
      spooler,
      serviceControl,
      cabinet,
      redirection,
      usb,
      {}};
}

uninstall::UninstallServices SimulatedMachine::UninstallServices() {
  return uninstall::UninstallServices{spooler, registry,       files,       profile, system, clock,
                                      shell,   serviceControl, redirection, shutdown};
}

bool SimulatedMachine::ReadKind(const fs::path& folder, SimulatedWindows* windows) {
  std::string kind;
  if (!ReadText(folder / "machine.txt", &kind)) return false;
  for (SimulatedWindows w : {SimulatedWindows::kNt32, SimulatedWindows::kNt64, SimulatedWindows::kWindows98}) {
    if (kind == MachineKind(w)) {
      *windows = w;
      return true;
    }
  }
  return false;
}

bool ReadOsOption(const std::string& value, std::optional<common::OsGeneration>* os, std::string* error) {
  common::OsGeneration generation;
  if (!common::ParseOsGeneration(value, &generation)) {
    *error = "--os takes 0..7 or 98, NT, 2K, XP, 2003, Vista, 2008, Win7: " + value;
    return false;
  }
  *os = generation;
  return true;
}

}  // namespace mq::tool
