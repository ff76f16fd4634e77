// The unattended removal and its command line.
#include "uninstall/QuietUninstall.h"

#include <algorithm>
#include <cctype>

#include "uninstall/StartChecks.h"

namespace mq::uninstall {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool StartsWithLetters(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameLetters(text.substr(0, prefix.size()), prefix);
}

// The removal's side of the unattended run: lines to the log, the restart answered by the command line.
class QuietRemovalUi : public RemovalUi {
 public:
  QuietRemovalUi(QuietLog& log, platform::WindowLookup& windows, const UninstallTexts& texts, bool restart)
      : log_(log), windows_(windows), texts_(texts), restart_(restart) {}
  void Log(const std::string& line) override { log_.Line(line); }
  void RemoveItem(size_t) override {}
  void SetControls(ControlState) override {}
  bool WindowExists(std::string_view title) override { return windows_.Exists(title); }
  bool AskRestart() override {
    log_.Line(texts_.Text("Reboot", "Note2"));
    if (!restart_) log_.Line("Windows is not restarted (/noreboot).");
    return restart_;
  }
  void Diagnostic(const std::string& line) override { log_.Line(line); }

 private:
  QuietLog& log_;
  platform::WindowLookup& windows_;
  const UninstallTexts& texts_;
  bool restart_;
};

}  // namespace

std::string_view CommandLineUsage() {
  return "uninstall.exe                 the uninstall dialog\r\n"
         "uninstall.exe /quiet [/all | /item=NAME ...] [/usbdriver] [/noreboot] [/log=FILE]\r\n"
         "  /quiet       remove without any window or question\r\n"
         "  /all         every printer, port monitor and print processor of the package\r\n"
         "  /item=NAME   the component of that name, as the dialog lists it (repeatable)\r\n"
         "  /usbdriver   also run the USB printer driver's removal\r\n"
         "  /noreboot    do not restart Windows after the removal\r\n"
         "  /log=FILE    write the progress lines to FILE\r\n"
         "  /?           this list\r\n"
         "Exit code: 0 every chosen component was removed, 1 the removal failed or stopped, 2 bad "
         "arguments.\r\n";
}

bool ParseCommandLine(const std::vector<std::string>& words, CommandLine* line, std::string* error) {
  bool anySwitch = false;
  for (const std::string& word : words) {
    if (word.empty()) continue;
    if (word[0] != '/' && word[0] != '-') {
      *error = "not a switch: " + word;
      return false;
    }
    std::string_view name = std::string_view(word).substr(1);
    if (name == "?" || SameLetters(name, "help")) {
      line->help = true;
      continue;
    }
    anySwitch = true;
    if (SameLetters(name, "quiet")) {
      line->quiet = true;
    } else if (SameLetters(name, "all")) {
      line->all = true;
    } else if (SameLetters(name, "usbdriver")) {
      line->usbDriver = true;
    } else if (SameLetters(name, "noreboot")) {
      line->noReboot = true;
    } else if (StartsWithLetters(name, "item=") || StartsWithLetters(name, "log=")) {
      bool item = StartsWithLetters(name, "item=");
      std::string value(name.substr(item ? 5 : 4));
      if (value.empty()) {
        *error = "no value after " + word;
        return false;
      }
      if (item)
        line->items.push_back(value);
      else
        line->logFile = value;
    } else {
      *error = "unknown switch: " + word;
      return false;
    }
  }
  if (line->help) return true;
  if (line->all && !line->items.empty()) {
    *error = "/all and /item= exclude each other";
    return false;
  }
  if (anySwitch && !line->quiet) {
    *error = "these switches need /quiet";
    return false;
  }
  return true;
}

int RunQuietUninstall(const CommandLine& line, DialogServices s, const StartFacts& facts, QuietLog& log) {
  UninstallTexts texts(s.removal.profile, facts.programFolder, facts.langId);
  if (facts.programFolder.empty()) {
    log.Line(texts.Message("IDS_ERR_GETSYSDIR"));
    return kQuietFailed;
  }
  if (CheckStart(false, s.windows, s.removal.profile, facts.programFolder, texts) ==
      StartVerdict::kInstallerRunning) {
    log.Line(texts.Text("Uninstall", "Close"));
    return kQuietFailed;
  }
  ConfigLocation location = LocateUninstallIni(s.removal.files, facts.programFolder);
  if (location.outcome != ConfigLocation::Outcome::kFound) {
    log.Line(texts.Message(location.outcome == ConfigLocation::Outcome::kFolderInvalid ? "IDS_ERR_INVALID"
                                                                                       : "IDS_ERR_NOINI"));
    return kQuietFailed;
  }
  if (!facts.winspoolLoaded) {
    log.Line("no Winspool lib");
    return kQuietFailed;
  }
  UninstallConfig config(s.removal.profile, location.path);
  platform::SystemInfo& system = s.removal.system;
  RemovalSettings settings;
  settings.os = UninstallOsGeneration(system.Version(), system.NativeProcessorArchitecture());
  settings.is64BitWindows = common::Is64BitWindows(system);
  settings.programFolder = facts.programFolder;
  settings.hasDeletePrinterDriverEx = facts.hasDeletePrinterDriverEx;

  std::vector<ComponentItem> items;
  for (const std::string& name : BuildComponentList(s.removal.spooler, config, settings))
    items.push_back({name, line.all});
  for (const std::string& wanted : line.items) {
    auto it =
        std::find_if(items.begin(), items.end(), [&](const ComponentItem& i) { return i.name == wanted; });
    if (it == items.end()) {
      std::string listed;
      for (const ComponentItem& i : items) listed += (listed.empty() ? "" : ", ") + i.name;
      log.Line("/item=" + wanted + ": not in the component list (" + (listed.empty() ? "empty" : listed) +
               ")");
      return kQuietBadArguments;
    }
    it->checked = true;
  }
  std::vector<std::string> chosen;
  for (const ComponentItem& item : items) {
    if (item.checked) chosen.push_back(item.name);
  }
  if (chosen.empty() && !line.usbDriver) {
    log.Line(items.empty() ? "Nothing of the package is installed." : "Nothing was chosen for removal.");
    return kQuietSucceeded;
  }

  bool usbDriver = line.usbDriver;
  if (usbDriver) {
    UsbDriverServices usb{system, s.removal.files, s.removal.redirection, s.usb};
    usbDriver = UsbDriverRemovable(usb, settings.is64BitWindows, facts.programFolder,
                                   [&log](std::string_view text) { log.Line(std::string(text)); });
    if (!usbDriver) log.Line("The USB printer driver is not installed here; its removal is left out.");
  }

  QuietRemovalUi ui(log, s.windows, texts, !line.noReboot);
  RemovalEngine engine(s.removal, config, texts, ui, settings);
  RemovalResult result = engine.Uninstall(items, usbDriver);
  if (!result.ran) return kQuietFailed;
  int left = 0;
  for (const std::string& name : chosen) {
    bool stays =
        std::any_of(items.begin(), items.end(), [&](const ComponentItem& i) { return i.name == name; });
    if (stays) {
      log.Line("Not removed: " + name);
      ++left;
    }
  }
  return left == 0 && !result.aborted ? kQuietSucceeded : kQuietFailed;
}

}  // namespace mq::uninstall
