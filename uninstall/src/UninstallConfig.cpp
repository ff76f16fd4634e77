// The uninstaller's texts, configuration file, matching rules and Windows generation.
#include "uninstall/UninstallConfig.h"

#include "platform/WinError.h"
#include "common/LanguageTexts.h"

namespace mq::uninstall {

using common::OsGeneration;

namespace {

// Token keys are the prefix and one character counted up from '1'; the tenth key would end in ':'. The count
// is kept to the printable characters, so that a huge count cannot run the key past them.
constexpr int kMaxTokens = '~' - '1' + 1;

}  // namespace

std::string ExpandFirstNewline(std::string_view raw) {
  std::string out(raw);
  size_t at = out.find("\\n");
  if (at != std::string::npos) out.replace(at, 2, "\r\n");
  return out;
}

std::string FormatOne(std::string_view text, std::string_view argument) {
  std::string out(text);
  size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, argument);
  return out;
}

UninstallTexts::UninstallTexts(platform::Profile& profile, std::string_view programFolder, uint16_t langId)
    : profile_(profile) {
  std::string tag(common::LanguageTag(common::ChooseLanguage(langId)));
  file_ = std::string(programFolder) + "\\language\\uninstall_" + tag + ".ini";
}

std::string UninstallTexts::Text(std::string_view section, std::string_view key) const {
  return ExpandFirstNewline(profile_.GetString(file_, section, key, "", 1024));
}

std::string UninstallTexts::Message(std::string_view key, std::string_view argument) const {
  return FormatOne(Message(key), argument);
}

ConfigLocation LocateUninstallIni(platform::FileSystem& files, std::string_view programFolder) {
  ConfigLocation location;
  std::string folder = std::string(programFolder) + "\\";
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<platform::FileFindData> found;
    uint32_t e = files.FindFiles(folder + "*.*", &found);
    // An existing folder always lists "." and ".." on Windows; nothing matching means an empty folder.
    if (e != 0 && e != err::kFileNotFound) {
      location.outcome = ConfigLocation::Outcome::kFolderInvalid;
      return location;
    }
    for (const platform::FileFindData& entry : found) {
      files.SetAttributes(folder + entry.name, platform::kFileAttributeArchive);
      if (entry.name.find("Uninstall.ini") != std::string::npos) {
        location.outcome = ConfigLocation::Outcome::kFound;
        location.path = folder + "Uninstall.ini";
        return location;
      }
    }
    folder += "DRVCONFIG\\";
  }
  return location;
}

bool TokenSet::Matches(std::string_view name) const {
  for (const std::string& token : tokens) {
    if (name.find(token) != std::string_view::npos) return true;
  }
  return false;
}

UninstallConfig::UninstallConfig(platform::Profile& profile, std::string path)
    : reader_(profile), path_(std::move(path)) {
  printers_ = ReadTokens("BYPRINTER", "PRINTERNUM", "PRINTERNAME");
  monitors_ = ReadTokens("BYMONITOR", "MonitorNUM", "MONITORNAME");
  processors_ = ReadTokens("BYPROC", "PROCNUM", "PROCNAME");
}

TokenSet UninstallConfig::ReadTokens(std::string_view section, std::string_view countKey,
                                     std::string_view prefix) const {
  TokenSet set;
  int32_t count = common::LeadingNumber(reader_.Text(path_, section, countKey, kConfigValueLimit));
  // A leading minus sign has no digits before it and so already reads as 0: no tokens.
  if (count > kMaxTokens) count = kMaxTokens;
  for (int32_t i = 0; i < count; ++i) {
    std::string key = std::string(prefix) + static_cast<char>('1' + i);
    set.tokens.push_back(reader_.Text(path_, section, key, kConfigValueLimit));
  }
  return set;
}

std::string UninstallConfig::Manufacturer() const {
  return reader_.Text(path_, "BYPRINTER", "MANUFACTURER", kConfigValueLimit);
}

std::string UninstallConfig::ComponentValue(std::string_view section, std::string_view key) const {
  return reader_.Text(path_, section, key, kConfigValueLimit);
}

OsGeneration UninstallOsGeneration(const platform::OsVersion& v, uint16_t nativeArchitecture) {
  constexpr uint32_t kPlatform9x = 1;
  constexpr uint8_t kWorkstation = 1;
  bool workstation = v.productType == kWorkstation;
  if (v.platformId == kPlatform9x) return OsGeneration::kWin98;
  if (v.major == 4) return OsGeneration::kNt4;
  if (v.major == 5 && v.minor == 0) return OsGeneration::kWin2000;
  if (v.major == 5 && v.minor == 1) return OsGeneration::kXp;
  if (v.major == 5 && v.minor == 2) {
    return workstation && nativeArchitecture == platform::kProcessorArchitectureAmd64
               ? OsGeneration::kXp
               : OsGeneration::kServer2003;
  }
  if (v.major == 6 && v.minor == 0) return workstation ? OsGeneration::kVista : OsGeneration::kServer2008;
  if (v.major == 6 && v.minor == 1) return workstation ? OsGeneration::kWin7 : OsGeneration::kServer2008;
  // Windows 8 and later (Windows 10 reports 10.0 without a compatibility manifest) remove as Windows 7; a
  // later major version must never fall back to the Windows 98 rules.
  if (v.major >= 6) return OsGeneration::kWin7;
  return OsGeneration::kWin98;
}

std::string_view UninstallSectionSuffix(OsGeneration generation) {
  if (generation == OsGeneration::kXp) return ".2K";
  return common::OsSectionSuffix(generation);
}

}  // namespace mq::uninstall
