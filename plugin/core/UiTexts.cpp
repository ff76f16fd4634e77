// Language files, the language in force and text lookup.
#include "plugin/UiTexts.h"

#include <algorithm>

#include "platform/RegistryText.h"
#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::plugin {
namespace {

uint32_t LeadingNumber(std::string_view text) {
  text = text::Trim(text);
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), 0xFFFFFFFFu);
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

const std::vector<UiTextDefault> kSharedUiTexts = {
    {"LAYOUT", "RC_LAYOUTFORM", "Main", kCapShort},
    {"WATERMARK", "RC_WATERMARKFORM", "Water Mark", kCapShort},
    {"OPERATION", "RC_OPERATIONFORM", "Operation", kCapShort},
    {"1DCODE", "RC_1DCODEFORM", "1D Code", kCapShort},
    {"2DCODE", "RC_2DCODEFORM", "2D Code", kCapShort},
    {"VERSION", "RC_VERSIONFORM", "Version", kCapShort},
    {"UTILITY", "RC_UTILITYFORM", "Utility", kCapShort},
    {"DOWNLOAD", "RC_DOWNLOADFORM", "Download", kCapShort},
    {"FONT", "RC_FONTFORM", "Font", kCapShort},
    {"GPD", "RC_DENSITY", "Print Density", kCapLabel},
    {"GPD", "RC_DENSITY_INDEX", "Density", kCapLabel},
    {"MessageBox", "MB_INFORMATION", "Information", kCapMessage},
    {"MessageBox", "MB_WARNING", "Warning", kCapMessage},
    {"MessageBox", "MB_ERROR", "Error", kCapMessage},
    {"MessageBox", "MB_1DCODE_ERROR1", "BarCode data error!", kCapMessage},
    {"MessageBox", "MB_2DCODE_ERROR1", "BarCode data error!", kCapMessage},
    {"MessageBox", "MB_WATERMARK_ERROR1", "The specified file does not exist!", kCapMessage},
    {"MessageBox", "MB_WATERMARK_ERROR2", "Please check if user has administrator privileges!", kCapMessage},
    {"MessageBox", "MB_WATERMARK_ERROR4", "The bitmap you selected is too big!", kCapMessage},
    {"MessageBox", "MB_WATERMARK_ERROR5", "Make sure the specified bitmap is 1/8/24/ bits!", kCapMessage},
    {"MessageBox", "MB_WATERMARK_ERROR6", "No filename is specified!", kCapMessage},
    {"MessageBox", "MB_WATERMARK_INFORMATION1", "All Text will be printed as graphics image!", kCapMessage},
    {"MessageBox", "MB_LAYOUT_INFORMATION1", "All Text will be printed as graphics image!", kCapMessage},
    {"MessageBox", "MB_LAYOUT_VIEWER", "Not fount LOGViewer!", kCapMessage},
    {"MessageBox", "MB_OPERATION_ERROR1", "Command length error!", kCapMessage},
    {"MessageBox", "MB_UTILITY_ERROR1", "Set custom paper size failed!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR1", "Fail to open the selected file!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR2", "Failed to get data from the file!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR3",
     "The image is too big to be selected.\nthe width must be less than 1024 Byte,and the height must be "
     "less than "
     "768 Byte!",
     kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR4",
     "The total counts of the logos is 9,\nplease delete some logos before selecting another logo!",
     kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR5", "Please select logos first!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR6", "Failed to get the size of logo!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR7", "The total sizes of all the logos is greater 96K!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR8", "Failed to get the size of the selected file!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR9", "Failed to Alloc the required memory!", kCapMessage},
    {"MessageBox", "MB_DOWNLOAD_ERROR10", "Failed to set the file point to the head of the file!",
     kCapMessage},
};

const UiTextDefault* FindSharedUiText(std::string_view section, std::string_view key) {
  for (const UiTextDefault& entry : kSharedUiTexts) {
    if (entry.section == section && entry.key == key) return &entry;
  }
  return nullptr;
}

SystemLanguage SystemLanguageFor(uint16_t langId) {
  switch (langId) {
    case 0x0404:
    case 0x0C04:
    case 0x1004:
      return {kTraditionalChineseFile, "系統語言(System)"};
    case 0x0804:
      return {kSimplifiedChineseFile, "系统语言(System)"};
    default:
      return {kEnglishFile, "System Language"};
  }
}

UiTexts::UiTexts(platform::PlatformServices services) : services_(services) {
  SetCurrentResFile(kEnglishFile);
}

std::string UiTexts::DriverDirectory() {
  uint16_t arch = services_.system.NativeProcessorArchitecture();
  bool wide = arch == platform::kProcessorArchitectureAmd64 || arch == platform::kProcessorArchitectureIa64;
  return services_.system.WindowsDirectory() +
         (wide ? "\\system32\\spool\\drivers\\x64\\3\\" : "\\system32\\spool\\drivers\\w32x86\\3\\");
}

void UiTexts::SetCurrentResFile(std::string_view name) {
  // A name that does not fit the 32-character slot is not a file we ship: fall back to English.
  currentResFile_ =
      name.empty() || name.size() >= kResFileCapacity ? std::string(kEnglishFile) : std::string(name);
  currentLanguagePath_ = userFolder_ + currentResFile_;
}

uint32_t UiTexts::ReadVersion(const std::string& path, std::string_view fallback) {
  return LeadingNumber(services_.profile.GetString(path, "FILEVER", "INIVERSION", fallback, kCapLabel));
}

void UiTexts::RefreshLanguageFile(std::string_view fileName) {
  std::string source = DriverDirectory() + std::string(fileName);
  std::string target = userFolder_ + std::string(fileName);
  if (!userFolder_.empty()) services_.files.CreateFolder(std::string(text::ParentPath(userFolder_)));
  uint32_t attributes = 0;
  if (services_.files.GetAttributes(target, &attributes) != err::kSuccess) {
    services_.files.Copy(source, target, false);
    return;
  }
  if (ReadVersion(source, "99999") >= ReadVersion(target, "0")) services_.files.Copy(source, target, false);
}

void UiTexts::PrepareAtLoad() {
  // Without SHGetSpecialFolderPathW the folder becomes "\ZNT\" on the current drive.
  std::optional<std::string> appData = services_.system.SpecialFolder(platform::kCsidlAppData, false);
  userFolder_ = appData.value_or("") + "\\ZNT\\";
  services_.files.CreateFolder(std::string(text::ParentPath(userFolder_)));
  indexPath_ = userFolder_ + std::string(kIndexFileName);

  platform::Registry& registry = services_.registry;
  platform::RegKey key = 0;
  bool open = registry.OpenKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyAllAccess, &key) ==
              err::kSuccess;
  if (open) {
    std::string value;
    SetCurrentResFile(platform::ReadRegString(registry, key, kLanguageValue, &value) == err::kSuccess
                          ? value
                          : std::string(kEnglishFile));
  } else {
    platform::RegKey created = 0;
    if (registry.CreateKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyAllAccess, &created,
                           nullptr) == err::kSuccess) {
      registry.CloseKey(created);
      open = registry.OpenKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyAllAccess, &key) ==
             err::kSuccess;
    }
    if (open) {
      SetCurrentResFile(
          services_.profile.GetString(indexPath_, "LANGUAGE", "CUR_INI", kEnglishFile, kCapCurIni));
      platform::WriteRegString(registry, key, kLanguageValue, currentResFile_);
    } else {
      SetCurrentResFile(kEnglishFile);
    }
  }

  SystemLanguage system = SystemLanguageFor(services_.system.SystemDefaultLangId());
  if (open) {
    std::string firstRun;
    if (platform::ReadRegString(registry, key, kFirstRunValue, &firstRun) != err::kSuccess) {
      firstRun = "TRUE";
      platform::WriteRegString(registry, key, kFirstRunValue, firstRun);
    }
    if (firstRun.find("TRUE") != std::string::npos) {
      SetCurrentResFile(system.fileName);
      platform::WriteRegString(registry, key, kLanguageValue, currentResFile_);
    }
    registry.CloseKey(key);
  }
  systemEntryText_ = system.entryText;

  RefreshLanguageFile(kIndexFileName);
  RefreshLanguageFile(currentResFile_);
}

void UiTexts::ResolveCurrentLanguage() {
  platform::RegKey key = 0;
  std::string value;
  if (services_.registry.OpenKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyRead, &key) ==
      err::kSuccess) {
    if (platform::ReadRegString(services_.registry, key, kLanguageValue, &value) != err::kSuccess)
      value.clear();
    services_.registry.CloseKey(key);
  }
  SetCurrentResFile(value);
}

std::string UiTexts::ReadUiText(std::string_view section, std::string_view key, std::string_view defaultText,
                                uint32_t capacity) {
  return services_.profile.GetString(currentLanguagePath_, section, key, defaultText, capacity);
}

std::string UiTexts::ReadShared(std::string_view section, std::string_view key) {
  const UiTextDefault* entry = FindSharedUiText(section, key);
  if (entry == nullptr) return ReadUiText(section, key, "", kCapMessage);
  return ReadUiText(section, key, entry->text, entry->capacity);
}

const std::vector<LanguageEntry>& UiTexts::LoadLanguageList() {
  RefreshLanguageFile(kIndexFileName);
  platform::Profile& profile = services_.profile;
  uint32_t count = std::min(LeadingNumber(profile.GetString(indexPath_, "LANGUAGE", "COUNT", "2", kCapLabel)),
                            kMaxLanguages);
  languages_.clear();
  for (uint32_t i = 0; i < count; ++i) {
    std::string n = std::to_string(i);
    LanguageEntry entry;
    entry.displayName = profile.GetString(indexPath_, "LANGUAGE", "Language" + n, "English", kCapLabel);
    entry.fileName = profile.GetString(indexPath_, "LANGUAGE", "INI" + n, kEnglishFile, kCapLabel);
    entry.systemText = profile.GetString(indexPath_, "LANGUAGE", "SYSLANG" + n, "System Language", kCapLabel);
    RefreshLanguageFile(entry.fileName);
    languages_.push_back(std::move(entry));
  }
  return languages_;
}

void UiTexts::WriteLanguageValues(std::string_view fileName, std::string_view firstRun) {
  platform::RegKey key = 0;
  if (services_.registry.CreateKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyAllAccess, &key,
                                   nullptr) != err::kSuccess) {
    return;
  }
  platform::WriteRegString(services_.registry, key, kLanguageValue, fileName);
  platform::WriteRegString(services_.registry, key, kFirstRunValue, firstRun);
  services_.registry.CloseKey(key);
}

bool UiTexts::ChooseLanguage(std::string_view chosenText) {
  bool matched = false;
  for (const LanguageEntry& entry : languages_) {
    if (chosenText == entry.displayName) {
      WriteLanguageValues(entry.fileName, "FALSE");
      matched = true;
    }
    if (chosenText == entry.systemText) {
      WriteLanguageValues(entry.fileName, "TRUE");
      matched = true;
    }
  }
  return matched;
}

bool UiTexts::FollowsSystemLanguage() {
  platform::RegKey key = 0;
  if (services_.registry.CreateKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyAllAccess, &key,
                                   nullptr) != err::kSuccess) {
    return false;
  }
  std::string firstRun;
  if (platform::ReadRegString(services_.registry, key, kFirstRunValue, &firstRun) != err::kSuccess) {
    firstRun = "TRUE";
    platform::WriteRegString(services_.registry, key, kFirstRunValue, firstRun);
  }
  services_.registry.CloseKey(key);
  return firstRun.find("TRUE") != std::string::npos;
}

int UiTexts::ShowUiMessage(MessageSink& sink, std::string_view message, MessageKind kind) {
  ResolveCurrentLanguage();
  // Language files cannot hold a line break, so they write it as the two characters "\n".
  std::string text;
  for (size_t i = 0; i < message.size(); ++i) {
    bool lineBreak = message[i] == '\\' && i + 1 < message.size() && message[i + 1] == 'n';
    text += lineBreak ? '\n' : message[i];
    if (lineBreak) ++i;
  }
  constexpr uint32_t kIconError = 0x10;
  constexpr uint32_t kIconInformation = 0x40;
  switch (kind) {
    case MessageKind::kError:
      return sink.ShowMessage(ReadShared("MessageBox", "MB_ERROR"), text, kIconError);
    case MessageKind::kErrorPlain:
      return sink.ShowMessage(ReadShared("MessageBox", "MB_ERROR"), text, 0);
    case MessageKind::kInformation:
      return sink.ShowMessage(ReadShared("MessageBox", "MB_INFORMATION"), text, kIconInformation);
  }
  return 0;
}

}  // namespace mq::plugin
