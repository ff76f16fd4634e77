// "simulate uninstall": runs the uninstaller's removal against a simulated machine that "simulate install"
// filled. The component list comes from the machine's spooler, as the dialog builds it; every platform call
// of the removal is printed, and each progress-log line as "log: TEXT".
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "FailureInjection.h"
#include "SimulatedMachine.h"
#include "ToolSupport.h"
#include "uninstall/RemovalEngine.h"

namespace mq::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallUsage =
    "usage: mq450 simulate uninstall --package DIR --machine DIR [--os GENERATION] [--check NAME]... "
    "[--all]\n"
    "         [--usb-driver] [--fail CALL=ERROR[@N]]...\n"
    "example: mq450 simulate uninstall --package dist --machine /tmp/pc --all\n";

struct UninstallOptions {
  std::string package;
  std::string machine;
  std::optional<common::OsGeneration> os;
  std::vector<std::string> checked;
  bool all = false;
  bool usbDriver = false;
  std::vector<FailRule> failures;
};

bool ParseUninstallOptions(const Args& args, UninstallOptions* o, std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) { return TakeOptionValue(args, &i, out, error); };
    std::string v;
    if (a == "--all") {
      o->all = true;
    } else if (a == "--usb-driver") {
      o->usbDriver = true;
    } else if (a == "--package" || a == "--machine") {
      if (!value(&v)) return false;
      (a == "--package" ? o->package : o->machine) = v;
    } else if (a == "--check") {
      if (!value(&v)) return false;
      o->checked.push_back(v);
    } else if (a == "--os") {
      if (!value(&v) || !ReadOsOption(v, &o->os, error)) return false;
    } else if (a == "--fail") {
      if (!value(&v) || !ReadFailOption(v, &o->failures, error)) return false;
    } else {
      *error = "unknown argument " + a;
      return false;
    }
  }
  if (o->package.empty()) {
    *error = "missing --package";
    return false;
  }
  if (o->machine.empty()) {
    *error = "missing --machine";
    return false;
  }
  return true;
}

// The dialog of the simulation: log lines printed, the restart question answered No, and no window of the
// USB driver package installer ever open.
class PrintingRemovalUi : public uninstall::RemovalUi {
 public:
  void Log(const std::string& line) override { std::cout << "log: " << OneLine(line) << "\n"; }
  void RemoveItem(size_t) override {}
  void SetControls(uninstall::ControlState) override {}
  bool WindowExists(std::string_view title) override {
    std::cout << "FindWindowW title=" << title << " -> none\n";
    return false;
  }
  bool AskRestart() override {
    std::cout << "restart question -> no\n";
    return false;
  }
  void Diagnostic(const std::string& line) override { std::cout << OneLine(line) << "\n"; }
};

}  // namespace

int RunSimulateUninstall(const Args& args) {
  if (std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "-h" || a == "--help"; })) {
    std::cout << kUninstallUsage
              << "Removes the checked components (--check NAME as the list shows it, or --all) as uninstall.exe\n"
                 "does; exit 0 when every checked component was removed, 1 otherwise, 2 for bad arguments.\n";
    return kExitOk;
  }
  UninstallOptions o;
  std::string error;
  if (!ParseUninstallOptions(args, &o, &error)) {
    std::cerr << kUninstallUsage;
    return Fail(kExitUsage, error);
  }
  std::error_code ec;
  if (!fs::is_directory(o.package, ec)) return Fail(kExitUsage, "not a package folder: " + o.package);
  SimulatedWindows windows;
  if (!SimulatedMachine::ReadKind(o.machine, &windows)) {
    return Fail(kExitUsage, "no simulated machine in " + o.machine + " (run simulate install first)");
  }
  if (o.os && common::IsWindows9x(*o.os) != (windows == SimulatedWindows::kWindows98)) {
    return Fail(kExitUsage, "--os does not fit the machine in " + o.machine + " (see machine.txt)");
  }
  int status = kExitFailed;
  std::unique_ptr<SimulatedMachine> machine =
      SimulatedMachine::Open(o.machine, windows, o.package, &status, &error);
  if (!machine) return Fail(status, error);

  uninstall::RemovalSettings settings;
  settings.programFolder = kSimulatedPackageFolder;
  settings.is64BitWindows = machine->is64BitWindows();
  settings.os =
      o.os ? *o.os : uninstall::UninstallOsGeneration(machine->system.version, machine->system.architecture);
  std::optional<uninstall::UninstallConfig> config;
  std::vector<uninstall::ComponentItem> items;
  {
    // The dialog's start: the configuration file and the component list.
    platform::CallJournal::Quiet quiet(&machine->journal);
    uninstall::ConfigLocation location =
        uninstall::LocateUninstallIni(machine->files, kSimulatedPackageFolder);
    if (location.outcome != uninstall::ConfigLocation::Outcome::kFound) {
      return Fail(kExitUsage,
                  "the package has no Uninstall.ini (beside the program or in DRVCONFIG): " + o.package);
    }
    config.emplace(machine->profile, location.path);
    for (const std::string& name : uninstall::BuildComponentList(machine->spooler, *config, settings)) {
      items.push_back({name, o.all});
    }
  }
  for (const std::string& name : o.checked) {
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const uninstall::ComponentItem& item) { return item.name == name; });
    if (it == items.end()) {
      std::string listed;
      for (const auto& item : items) listed += (listed.empty() ? "" : ", ") + item.name;
      return Fail(kExitUsage, "--check " + name + ": not in the component list (" +
                                  (listed.empty() ? "empty" : listed) + ")");
    }
    it->checked = true;
  }
  std::vector<std::string> checked;
  for (const auto& item : items) {
    std::cout << "component: " << item.name << (item.checked ? " [checked]" : "") << "\n";
    if (item.checked) checked.push_back(item.name);
  }

  uninstall::UninstallTexts texts(machine->profile, kSimulatedPackageFolder, machine->system.langId);
  PrintingRemovalUi ui;
  machine->journal.SetSink([](const std::string& line) { std::cout << OneLine(line) << "\n"; });
  FailureInjection injection(o.failures);
  injection.Arm(machine->journal);
  uninstall::RemovalEngine engine(machine->UninstallServices(), *config, texts, ui, settings);
  uninstall::RemovalResult result = engine.Uninstall(items, o.usbDriver);
  machine->journal.SetSink(nullptr);

  std::vector<std::string> missed = injection.Missed(machine->journal);
  if (missed.empty() && !machine->Save(&error)) return Fail(kExitFailed, error);
  size_t left = 0;
  for (const std::string& name : checked) {
    bool stays = std::any_of(items.begin(), items.end(),
                             [&](const uninstall::ComponentItem& item) { return item.name == name; });
    if (stays) {
      std::cout << "not removed: " << name << "\n";
      ++left;
    }
  }
  std::cout << "result: " << (result.ran ? "" : "job check stopped the run, ") << (checked.size() - left)
            << " of " << checked.size() << " checked components removed\n";
  for (const std::string& rule : missed) Fail(kExitUsage, rule + "; the machine was left as it was");
  if (!missed.empty()) return kExitUsage;
  return result.ran && left == 0 ? kExitOk : kExitFailed;
}

}  // namespace mq::tool
