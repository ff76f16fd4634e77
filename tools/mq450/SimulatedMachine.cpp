// The simulated machine of the "simulate" commands.
#include "SimulatedMachine.h"

#include <fstream>

#include "ToolSupport.h"
#include "installer/UniversalDriver.h"

namespace mq::tool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSystemFileStandIn = "simulated system file\n";

std::string MachineKind(bool is64) {
  return is64 ? "64-bit\n" : "32-bit\n";
}

bool ReadText(const fs::path& path, std::string* text) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path.string(), &bytes, &error)) return false;
  text->assign(bytes.begin(), bytes.end());
  return true;
}

bool WriteText(const fs::path& path, const std::string& text, std::string* error) {
  return WriteFileAtomically(path.string(), std::vector<uint8_t>(text.begin(), text.end()), error);
}

void PutFile(const fs::path& path, std::string_view contents) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}

// A new machine: the folders a Windows installation has, and the system's own universal-driver files in its
// driver store and driver cache (stand-ins with a note inside).
bool CreateMachine(const fs::path& machine, bool is64, std::string* error) {
  std::error_code ec;
  fs::path drive = machine / "drive";
  const char* arch = is64 ? "x64" : "W32X86";
  for (std::string folder :
       {std::string("Windows/system32/wbem"), std::string("Windows/Temp"), std::string("Program Files"),
        std::string("Windows/system32/spool/drivers/") + arch,
        std::string("Windows/system32/spool/prtprocs/") + arch}) {
    fs::create_directories(drive / folder, ec);
    if (ec) {
      *error = "cannot create the machine folder " + (drive / folder).string() + ": " + ec.message();
      return false;
    }
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
  return WriteText(machine / "machine.txt", MachineKind(is64), error);
}

}  // namespace

SimulatedMachine::SimulatedMachine(const fs::path& folder, bool is64BitWindows)
    : spooler(journal, is64BitWindows),
      drive(folder / "drive"),
      iniProfile(files, system.windowsDirectory),
      folder_(folder),
      is64_(is64BitWindows) {
  system.moduleDirectory = kSimulatedPackageFolder;
  system.wow64 = is64BitWindows;
  system.architecture =
      is64BitWindows ? platform::kProcessorArchitectureAmd64 : platform::kProcessorArchitectureIntel;
  // The driver cache of Windows 2000, XP and Server 2003 holds the universal driver's files.
  for (const char* arch : {"i386", "AMD64"}) {
    auto& members = cabinet.cabinets[std::string("C:\\Windows\\Driver Cache\\") + arch + "\\driver.cab"];
    for (std::string_view name : installer::kUniversalDriverFiles)
      members[std::string(name)] = kSystemFileStandIn;
  }
}

std::unique_ptr<SimulatedMachine> SimulatedMachine::Open(const fs::path& folder, bool is64BitWindows,
                                                         const fs::path& package, int* status,
                                                         std::string* error) {
  std::error_code ec;
  std::string kind;
  *status = kExitFailed;
  if (!fs::exists(folder / "machine.txt", ec)) {
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
      *status = kExitUsage;
      *error = "--machine names a file, not a folder: " + folder.string();
      return nullptr;
    }
    if (!CreateMachine(folder, is64BitWindows, error)) return nullptr;
  } else if (!ReadText(folder / "machine.txt", &kind) || kind != MachineKind(is64BitWindows)) {
    *status = kExitUsage;
    *error = "the machine in " + folder.string() + " was not created as " +
             (is64BitWindows ? "64-bit" : "32-bit") + " Windows (see machine.txt)";
    return nullptr;
  }
  fs::path link = folder / "drive" / "Package";
  fs::remove(link, ec);
  fs::create_directory_symlink(fs::absolute(package), link, ec);
  if (ec) {
    *error = "cannot link the package into the machine: " + ec.message();
    return nullptr;
  }
  auto machine = std::make_unique<SimulatedMachine>(folder, is64BitWindows);
  if (!machine->Load(error)) return nullptr;
  return machine;
}

bool SimulatedMachine::Load(std::string* error) {
  std::string text;
  if (ReadText(folder_ / "registry.txt", &text) && !registry.Deserialize(text)) {
    *error = "the machine's registry.txt cannot be read";
    return false;
  }
  if (ReadText(folder_ / "spooler.txt", &text) && !spooler.Deserialize(text)) {
    *error = "the machine's spooler.txt cannot be read";
    return false;
  }
  return true;
}

bool SimulatedMachine::Save(std::string* error) const {
  return WriteText(folder_ / "registry.txt", registry.Serialize(), error) &&
         WriteText(folder_ / "spooler.txt", spooler.Serialize(), error);
}

installer::InstallerServices SimulatedMachine::InstallerServices() {
  return installer::InstallerServices{
      platform::PlatformServices{registry, files, profile, system, clock, shell, lastError},
      spooler,
      serviceControl,
      cabinet,
      redirection,
      usb,
      {}};
}

}  // namespace mq::tool
