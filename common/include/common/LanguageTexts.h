// The texts of a setup program's language file: the file is chosen once from the system default language, and
// every text is read by section and key with an empty default. In a value the first "\1", the first "\2" and
// the first "\3" each become a line break (CR LF); later occurrences stay as written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Profile.h"

namespace mq::common {

enum class LanguageChoice { kEnglish, kSimplifiedChinese, kTraditionalChinese };

// 1028, 3076 and 4100 are traditional Chinese, 2052 simplified Chinese, everything else English.
LanguageChoice ChooseLanguage(uint16_t langId);

// "TCN", "CN" or "EN": the part that the language, licence and help file names end with.
std::string_view LanguageTag(LanguageChoice choice);

// True for the four identifiers that switch the dialogs to the Chinese font.
bool UsesChineseFont(uint16_t langId);

// Applies the "\1" "\2" "\3" rule to a raw value.
std::string ExpandLineBreaks(std::string_view raw);

class LanguageTexts {
 public:
  // languageFolder holds "<prefix>_EN.ini" and its siblings ("setup" for the installer, "uninstall" for the
  // uninstaller).
  LanguageTexts(platform::Profile& profile, std::string_view languageFolder, std::string_view prefix,
                uint16_t langId);

  // The text of (section, key) in the chosen file, "" when missing; at most 2047 characters.
  std::string Text(std::string_view section, std::string_view key) const;
  // Shortcut for the [Message] section.
  std::string Message(std::string_view key) const { return Text("Message", key); }

  const std::string& file() const { return file_; }

 private:
  platform::Profile& profile_;
  std::string file_;
};

}  // namespace mq::common
