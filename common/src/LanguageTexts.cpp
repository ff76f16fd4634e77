// Language-file texts of the setup programs.
#include "common/LanguageTexts.h"

#include "platform/Text.h"

namespace mq::common {

LanguageChoice ChooseLanguage(uint16_t langId) {
  switch (langId) {
    case 1028:
    case 3076:
    case 4100:
      return LanguageChoice::kTraditionalChinese;
    case 2052:
      return LanguageChoice::kSimplifiedChinese;
    default:
      return LanguageChoice::kEnglish;
  }
}

std::string_view LanguageTag(LanguageChoice choice) {
  switch (choice) {
    case LanguageChoice::kTraditionalChinese:
      return "TCN";
    case LanguageChoice::kSimplifiedChinese:
      return "CN";
    default:
      return "EN";
  }
}

bool UsesChineseFont(uint16_t langId) {
  return langId == 1028 || langId == 2052 || langId == 3076 || langId == 4100;
}

std::string ExpandLineBreaks(std::string_view raw) {
  std::string out(raw);
  for (const char* marker : {"\\1", "\\2", "\\3"}) {
    size_t at = out.find(marker);
    if (at != std::string::npos) out.replace(at, 2, "\r\n");
  }
  return out;
}

LanguageTexts::LanguageTexts(platform::Profile& profile, std::string_view languageFolder,
                             std::string_view prefix, uint16_t langId)
    : profile_(profile) {
  std::string name = std::string(prefix) + "_" + std::string(LanguageTag(ChooseLanguage(langId))) + ".ini";
  file_ = text::JoinPath(languageFolder, name);
}

std::string LanguageTexts::Text(std::string_view section, std::string_view key) const {
  return ExpandLineBreaks(profile_.GetString(file_, section, key, "", 2048));
}

}  // namespace mq::common
