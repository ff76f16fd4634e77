// The setup program's checks at start.
#include "installer/StartChecks.h"

#include <algorithm>
#include <map>
#include <utility>

#include "installer/InstallerMessages.h"

namespace mq::installer {

namespace {

// The English texts of the wizard's sections, used where the language file has none.
const std::map<std::pair<std::string_view, std::string_view>, std::string_view>& BuiltInWizardTexts() {
  static const std::map<std::pair<std::string_view, std::string_view>, std::string_view> kTexts = {
      {{"Setup", "Caption"}, "MQ Printer Setup"},
      {{"Setup", "Help"}, "Press F1 for help."},
      {{"Setup", "Back"}, "< &Back"},
      {{"Setup", "Next"}, "&Next >"},
      {{"Setup", "Install"}, "&Install"},
      {{"Setup", "Cancel"}, "Cancel"},
      {{"Setup", "Close"}, "Close the printer uninstall program first."},
      {{"Setup", "Nonsupport"}, "This version of Windows is not supported."},
      {{"Setup", "PortNull"}, "The package offers no port for its printers."},
      {{"Legal", "Agreement"}, "Licence agreement"},
      {{"Legal", "Accept"}, "I &accept the agreement"},
      {{"Legal", "Reject"}, "I do &not accept the agreement"},
      {{"Series", "Select"}, "Printer type and model"},
      {{"Series", "Receipt"}, "Receipt printer"},
      {{"Series", "Ticket"}, "Ticket printer"},
      {{"Series", "Label"}, "Label printer"},
      {{"Series", "Embedded"}, "Embedded printer"},
      {{"Series", "Default"}, "Set as &default printer"},
      {{"Mode", "Type"}, "Setup type"},
      {{"Mode", "Typical"}, "&Typical"},
      {{"Mode", "Advanced"}, "&Advanced"},
      {{"Mode", "Remarks"}, "Notes"},
      {{"Mode", "Note1"}, "Typical: the printer is installed with the recommended settings."},
      {{"Mode", "Note2"}, "Advanced: choose every port and the serial settings yourself."},
      {{"Mode", "Note3"}, "For experienced users."},
      {{"System", "Select"}, "Windows version"},
      {{"Confirm", "Set"}, "Port"},
      {{"Confirm", "Ports"}, "Ports:"},
      {{"Confirm", "Com"}, "Serial settings"},
      {{"Confirm", "BaudRate"}, "Bits per second:"},
      {{"Confirm", "Parity"}, "Parity:"},
      {{"Confirm", "ByteSize"}, "Data bits:"},
      {{"Confirm", "StopBits"}, "Stop bits:"},
      {{"Confirm", "Protocol"}, "Flow control:"},
      {{"Confirm", "Raster"}, "Raster Graphic Printing"},
      {{"Confirm", "Parity.Even"}, "Even"},
      {{"Confirm", "Parity.Mark"}, "Mark"},
      {{"Confirm", "Parity.None"}, "None"},
      {{"Confirm", "Parity.Odd"}, "Odd"},
      {{"Confirm", "Parity.Space"}, "Space"},
      {{"Confirm", "Protocol.None"}, "None"},
      {{"Confirm", "Protocol.Xonoff"}, "Xon/Xoff"},
      {{"Confirm", "Protocol.Hardware"}, "Hardware"},
      {{"About", "Caption"}, "About MQ Printer Setup"},
      {{"About", "OK"}, "OK"},
      {{"Progress", "Wait"}, "Installing, please wait..."},
  };
  return kTexts;
}

}  // namespace

namespace {

std::vector<std::string> Titles(platform::Profile& profile, std::string_view packageFolder,
                                std::initializer_list<std::string_view> fixed, std::string_view prefix,
                                std::string_view section, std::string_view key) {
  std::vector<std::string> titles;
  auto add = [&](std::string title) {
    if (!title.empty() && std::find(titles.begin(), titles.end(), title) == titles.end())
      titles.push_back(std::move(title));
  };
  for (std::string_view title : fixed) add(std::string(title));
  for (const char* tag : {"EN", "CN", "TCN"}) {
    const std::string file = std::string(packageFolder) + "\\language\\" + std::string(prefix) + "_" + tag + ".ini";
    add(profile.GetString(file, section, key, "", 200));
  }
  return titles;
}

}  // namespace

std::vector<std::string> UninstallWindowTitles(platform::Profile& profile, std::string_view packageFolder) {
  return Titles(profile, packageFolder, {"Uninstall", "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA\xE5\x8D\xB8\xE8\xBD\xBD\xE7\xA8\x8B\xE5\xBA\x8F"},
                "uninstall", "Uninstall", "Title");
}

std::vector<std::string> WizardWindowTitles(platform::Profile& profile, std::string_view packageFolder) {
  return Titles(profile, packageFolder,
                {"\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA\xE9\xA9\xB1\xE5\x8A\xA8\xE5\xAE\x89\xE8\xA3\x85\xE7\xA8\x8B\xE5\xBA\x8F"}, "setup",
                "Setup", "Caption");
}

bool AnyWindowOpen(platform::WindowLookup& windows, const std::vector<std::string>& titles) {
  return std::any_of(titles.begin(), titles.end(), [&](const std::string& t) { return windows.Exists(t); });
}

std::string WizardText(const common::LanguageTexts& texts, std::string_view section, std::string_view key) {
  std::string text = texts.Text(section, key);
  if (!text.empty()) return text;
  auto it = BuiltInWizardTexts().find({section, key});
  return it == BuiltInWizardTexts().end() ? std::string() : std::string(it->second);
}

std::string StartCheckMessage(const StartFacts& facts, const SetupConfig& config,
                              const common::LanguageTexts& texts) {
  if (facts.uninstallRunning) return WizardText(texts, "Setup", "Close");
  constexpr uint32_t kPlatform9x = 1;
  constexpr uint32_t kPlatformNt = 2;
  const platform::OsVersion& v = facts.version;
  if ((v.platformId == kPlatform9x && v.minor != 0) || (v.platformId == kPlatformNt && v.major == 4 && v.minor == 0))
    return WizardText(texts, "Setup", "Nonsupport");
  const int wordSize = config.ReadSwitches().supported32Or64;
  if (wordSize == 1 && facts.is64BitWindows) return InstallerMessage(texts, "IDS_X64");
  if (wordSize == 2 && !facts.is64BitWindows) return InstallerMessage(texts, "IDS_X32");
  if (!config.PackageUsable()) return WizardText(texts, "Setup", "PortNull");
  return {};
}

std::string AdministratorMessage(const DetectedOs& os, bool administrator, const common::LanguageTexts& texts) {
  if (administrator || !os.recognised || !common::IsWindows2000OrLater(os.generation)) return {};
  return InstallerMessage(texts, "IDS_ADMIN");
}

DialogFont ChooseDialogFont(uint16_t langId) {
  DialogFont font;
  if (!common::UsesChineseFont(langId)) return font;
  font.replace = true;
  font.face = "\xE5\xAE\x8B\xE4\xBD\x93";  // 宋体
  font.height = 13;
  font.weight = 400;
  font.charset = 134;
  return font;
}

}  // namespace mq::installer
