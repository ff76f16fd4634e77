// mq450 package check DIR: is a package folder complete? Reads the package's configuration with the
// installer's own reader and rules, and for every listed model, every Windows generation the model allows
// (Windows 2000 to 7; the installer refuses older systems), both word sizes, both driver file sets and every
// port kind the model offers, looks for each file the installer would copy from the package in the folder it
// copies from ("W32\" or "W64\"), matching names without regard to case as Windows does. Files the installer
// takes from the running Windows (the universal driver's) are not looked for. Every Windows binary in the
// folder is also checked for imports of MinGW runtime DLLs, which no Windows system has.
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "PeImports.h"
#include "ToolSupport.h"
#include "ZipArchive.h"
#include "common/IniReader.h"
#include "installer/SetupConfig.h"
#include "installer/UniversalDriver.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"

namespace mq::tool {
namespace {

namespace fs = std::filesystem;
using common::OsGeneration;
using installer::FileSet;
using installer::PortKind;
using installer::PrinterType;

constexpr const char* kUsage =
    "usage: mq450 package check DIR|ARCHIVE.zip\n"
    "  Checks a package folder (dist/) or a release archive before it ships: every file a model\n"
    "  file or the device list names for each model, Windows generation (2000..7), word size, driver file "
    "set\n"
    "  and port kind is present under W32\\ or W64\\ (names matched without regard to case, as Windows "
    "does),\n"
    "  and no Windows binary in the folder imports a MinGW runtime DLL (libgcc_s, libstdc++, "
    "libwinpthread).\n"
    "  Prints each problem on one line and a summary; exit 0 when there is none, 1 otherwise.\n"
    "  An archive is unpacked into a temporary folder first; when it holds one folder, that is the package.\n"
    "examples:\n"
    "  mq450 package check dist\n"
    "  mq450 package check build/MQ450-package-1.0.0.zip\n";

// The package folder as the drive root of a simulated Windows path space.
constexpr const char* kPackageFolder = "C:";
constexpr uint64_t kMaxBinaryBytes = 64ull << 20;

struct Need {
  std::string file;  // as the configuration names it
  std::string key;   // where it is named
};

std::string Upper(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string GenerationName(OsGeneration os) {
  static const char* const kNames[] = {
      "Windows 98",          "Windows NT 4.0", "Windows 2000",        "Windows XP",
      "Windows Server 2003", "Windows Vista",  "Windows Server 2008", "Windows 7"};
  return kNames[static_cast<int>(os)];
}

bool GenerationAllowed(const installer::PortCaps& caps, OsGeneration os) {
  switch (os) {
    case OsGeneration::kServer2003:
      return caps.server2003Supported != 0;
    case OsGeneration::kVista:
      return caps.vistaSupported != 0;
    case OsGeneration::kServer2008:
      return caps.server2008Supported != 0;
    case OsGeneration::kWin7:
      return caps.win7Supported != 0;
    default:
      return true;
  }
}

// What the installer copies from the package for one driver, in the order it copies them.
std::vector<Need> FilesOf(const installer::ModelDriver& d, const installer::MonitorSet& monitors,
                          PortKind port, bool is64, std::vector<std::string>* emptyRequired) {
  const installer::InstallFiles& f = d.files;
  std::string set = d.fileSet == FileSet::kGdi ? "GDI" : "STD";
  std::vector<Need> needs;
  for (auto [value, key] : {std::pair{&f.configDll, "ConfigFile"}, std::pair{&f.dataFile, "DataFile"},
                            std::pair{&f.driverDll, "DriverPath"}, std::pair{&f.helpFile, "HelpFile"}}) {
    if (value->empty()) emptyRequired->push_back(set + key);
    needs.push_back({*value, set + key});
  }
  needs.push_back({f.dataResourceDll, set + "DataFileDLLName"});
  if (d.universalDriver && common::NamesNoFile(f.dataResourceDll))
    emptyRequired->push_back(set + "DataFileDLLName");
  needs.push_back({f.uiPluginDll, set + "DataOemuiDLL"});
  needs.push_back({f.renderPluginDll, set + "DataOemuniDLL"});
  needs.push_back({f.pluginIni, set + "DataOemuniini"});
  needs.push_back({f.controlFontFile, "ControlFontFile"});
  needs.push_back({f.usbInternalId, "USBInternalID"});
  for (size_t i = 0; i < f.languageResources.size(); ++i)
    needs.push_back({f.languageResources[i], "LanguageResourceFile" + std::to_string(i + 1)});
  needs.push_back({f.driverlogViewer, "DriverlogViewer"});
  needs.push_back({f.driverlogIni, "DriverlogINI"});
  if (d.printer.printProcessor != "WinPrint") needs.push_back({f.processorDll, set + "ProcessorDLLName"});
  // The port monitors of setup.ini: the serial one on 32-bit Windows, the USB one and the language monitor
  // for USB ports.
  if (port == PortKind::kSerial && !is64 && !monitors.serial.dll.empty()) {
    needs.push_back({monitors.serial.dll, "COMMONitorPDLLName"});
    needs.push_back({monitors.serial.uiDll, "COMMONitorPUIDLLName"});
  }
  if (port == PortKind::kUsb) {
    if (!monitors.usb.dll.empty()) {
      needs.push_back({monitors.usb.dll, "USBMONitorPDLLName"});
      needs.push_back({monitors.usb.uiDll, "USBMONitorPUIDLLName"});
    }
    if (monitors.language.used) needs.push_back({monitors.language.dll, "USBLMONitorDLLName"});
  }
  return needs;
}

struct Report {
  std::map<std::string, std::string> missing;  // "W64\NAME" -> first place it is needed
  std::set<std::string> present;
  std::vector<std::string> problems;
  int combinations = 0;
};

void CheckWordSize(const fs::path& root, bool is64, Report* report) {
  platform::RootedFileSystem files(root);
  platform::IniProfile profile(files, "C:\\Windows");
  installer::SetupConfig config(profile, kPackageFolder, is64);
  const std::string folder = is64 ? "W64" : "W32";
  const installer::DeviceList list = config.ReadDeviceList();
  if (list.models.empty()) {
    report->problems.push_back("DRVCONFIG\\setup.ini lists no model");
    return;
  }
  for (const installer::ModelEntry& model : list.models) {
    const installer::PortCaps caps = config.ReadPortCaps(model.type, model.name);
    std::vector<PortKind> ports;
    if (caps.com != 0) ports.push_back(PortKind::kSerial);
    if (caps.lpt != 0) ports.push_back(PortKind::kParallel);
    if (caps.usb != 0) ports.push_back(PortKind::kUsb);
    if (caps.net != 0) ports.push_back(PortKind::kNetwork);
    std::string modelFile = config.ModelFile(model.type).substr(3);  // without "C:\"
    if (ports.empty()) {
      report->problems.push_back(model.name + ": " + modelFile + " [" + model.name + ".PORT] offers no port");
      continue;
    }
    for (int g = static_cast<int>(OsGeneration::kWin2000); g <= static_cast<int>(OsGeneration::kWin7); ++g) {
      OsGeneration os = static_cast<OsGeneration>(g);
      if ((is64 && os == OsGeneration::kWin2000) || !GenerationAllowed(caps, os)) continue;
      const installer::MonitorSet monitors = config.ReadMonitors(os);
      for (FileSet set : {FileSet::kGdi, FileSet::kStd}) {
        for (PortKind port : ports) {
          ++report->combinations;
          installer::ModelDriver driver = config.ReadModelDriver(model.type, model.name, os, set, port);
          std::string where = model.name + " on " + GenerationName(os) + (is64 ? " 64-bit" : " 32-bit") +
                              ", " + modelFile + " [" + installer::SetupConfig::OsSection(model.name, os) +
                              "]";
          std::vector<std::string> emptyRequired;
          for (const Need& need : FilesOf(driver, monitors, port, is64, &emptyRequired)) {
            std::string upper = Upper(need.file);
            if (common::NamesNoFile(upper) || installer::IsUniversalDriverFile(upper)) continue;
            std::string name = folder + "\\" + upper;
            uint32_t attributes = 0;
            if (files.GetAttributes(std::string(kPackageFolder) + "\\" + name, &attributes) == 0 &&
                (attributes & platform::kFileAttributeDirectory) == 0) {
              report->present.insert(name);
            } else if (!report->missing.count(name)) {
              report->missing[name] = where + " " + need.key + "=" + need.file;
            }
          }
          for (const std::string& key : emptyRequired) {
            std::string problem = where + ": required " + key + " has no file";
            if (std::find(report->problems.begin(), report->problems.end(), problem) ==
                report->problems.end())
              report->problems.push_back(problem);
          }
        }
      }
    }
  }
}

// Every Windows binary below the folder, by its path relative to it.
void CheckBinaries(const fs::path& root, Report* report, int* binaries) {
  std::error_code ec;
  std::vector<fs::path> paths;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string ext = Upper(it->path().extension().string());
    if (ext == ".DLL" || ext == ".EXE") paths.push_back(it->path());
  }
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    std::vector<uint8_t> bytes;
    std::string error;
    std::string relative = fs::relative(path, root, ec).string();
    if (!ReadWholeFile(path.string(), kMaxBinaryBytes, &bytes, &error)) {
      report->problems.push_back(relative + ": " + error);
      continue;
    }
    if (!LooksLikePortableExecutable(bytes)) continue;  // a stand-in text file of the sample package
    ++*binaries;
    std::vector<std::string> dlls;
    if (!ReadImportedDlls(bytes, &dlls, &error)) {
      report->problems.push_back(relative + ": " + error);
      continue;
    }
    for (const std::string& dll : dlls) {
      if (IsMinGwRuntimeDll(dll))
        report->problems.push_back(relative + " imports the MinGW runtime DLL " + dll);
    }
  }
}

// A temporary folder that goes again with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "mq450-package-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

int RunCheck(const Args& args) {
  if (args.size() != 1 || args[0].starts_with("-")) {
    std::cerr << kUsage;
    return Fail(kExitUsage, "package check takes one package folder or archive");
  }
  fs::path root = args[0];
  std::error_code ec;
  TemporaryFolder unpacked;
  if (fs::is_regular_file(root, ec)) {
    std::string error;
    if (unpacked.path().empty()) return Fail(kExitFailed, "cannot create a temporary folder");
    if (!ExtractZip(args[0], unpacked.path(), &error)) return Fail(kExitFailed, error);
    root = unpacked.path();
    // An archive of one folder holds the package in that folder.
    std::vector<fs::path> top;
    for (const auto& entry : fs::directory_iterator(root, ec)) top.push_back(entry.path());
    if (top.size() == 1 && fs::is_directory(top[0], ec)) root = top[0];
  } else if (!fs::is_directory(root, ec)) {
    return Fail(kExitFailed, "not a folder or an archive: " + args[0]);
  }
  if (!fs::exists(root / "DRVCONFIG", ec) && !fs::exists(root / "drvconfig", ec)) {
    // RootedFileSystem matches case-blind; this quick look only gives the common mistake a clear line.
    platform::RootedFileSystem files(root);
    uint32_t attributes = 0;
    if (files.GetAttributes("C:\\DRVCONFIG\\setup.ini", &attributes) != 0)
      return Fail(kExitFailed, args[0] + " has no DRVCONFIG\\setup.ini: not a package");
  }
  Report report;
  for (bool is64 : {false, true}) CheckWordSize(root, is64, &report);
  int binaries = 0;
  CheckBinaries(root, &report, &binaries);
  for (const auto& [name, where] : report.missing) std::cout << "missing " << name << " (" << where << ")\n";
  for (const std::string& problem : report.problems) std::cout << problem << "\n";
  size_t faults = report.missing.size() + report.problems.size();
  std::cout << "package check: " << report.combinations << " installations, " << report.present.size()
            << " files present, " << report.missing.size() << " missing; " << binaries
            << " Windows binaries; " << (faults == 0 ? "no problems" : std::to_string(faults) + " problems")
            << "\n";
  return faults == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int RunPackage(const Args& args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return args.empty() ? kExitUsage : kExitOk;
  }
  if (args[0] == "check") {
    Args rest(args.begin() + 1, args.end());
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
      std::cout << kUsage;
      return kExitOk;
    }
    return RunCheck(rest);
  }
  std::cerr << kUsage;
  return Fail(kExitUsage, "unknown package command: " + args[0]);
}

}  // namespace mq::tool
