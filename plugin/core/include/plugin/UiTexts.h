// The plug-in's language state and text lookup: per-user copies of the language files, the language in force
// (per Windows user, in the registry), lookup of every visible text by section and key with a built-in
// English default, the language list of the Main page, and the message-box convention. One instance per
// loaded library; all pages of all open sheets share it on the UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PlatformServices.h"

namespace mq::plugin {

inline constexpr std::string_view kLanguageKey = "SOFTWARE\\ZNT\\LANGUAGE\\";
inline constexpr std::string_view kLanguageValue = "LANGUAGE_MQ450";
inline constexpr std::string_view kFirstRunValue = "IsFirstRun_MQ450";
inline constexpr std::string_view kIndexFileName = "LANGUAGE_MQ450.ini";
inline constexpr std::string_view kEnglishFile = "ENG_MQ450.res";
inline constexpr std::string_view kSimplifiedChineseFile = "CHN_MQ450.res";
inline constexpr std::string_view kTraditionalChineseFile = "CHF_MQ450.res";
// currentResFile holds at most 31 characters and its terminator.
inline constexpr size_t kResFileCapacity = 32;
// Sanity bound on the index file's COUNT: the list is shown in a combo box.
inline constexpr uint32_t kMaxLanguages = 100;

// Text capacities (in UTF-16 units, terminator included) used by the pages.
inline constexpr uint32_t kCapShort = 20;
inline constexpr uint32_t kCapCurIni = 30;
inline constexpr uint32_t kCapLabel = 50;
inline constexpr uint32_t kCapNotice = 100;
inline constexpr uint32_t kCapLine = 256;
inline constexpr uint32_t kCapMessage = 1024;

// One built-in English text: the default of a key, and the room it is read with.
struct UiTextDefault {
  std::string_view section;
  std::string_view key;
  std::string_view text;
  uint32_t capacity;
};

// The texts shared by all pages: tab titles, the print-density names and the message boxes.
extern const std::vector<UiTextDefault> kSharedUiTexts;
// Looks up the built-in default of a shared key; nullptr when the key is not a shared one.
const UiTextDefault* FindSharedUiText(std::string_view section, std::string_view key);

struct LanguageEntry {
  std::string displayName;  // Language<i>
  std::string fileName;     // INI<i>
  std::string systemText;   // SYSLANG<i>
};

enum class MessageKind { kError, kErrorPlain, kInformation };

// Where a page shows a message box (its dialog controls); returns the button pressed.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // flags are MessageBoxW's MB_* flags (0x10 MB_ICONERROR, 0x40 MB_ICONINFORMATION, 0 plain OK box).
  virtual int ShowMessage(std::string_view caption, std::string_view text, uint32_t flags) = 0;
};

class UiTexts {
 public:
  explicit UiTexts(platform::PlatformServices services);

  // The work done once when the library is loaded: user folder, current language in the registry, first-run
  // flag, system entry text, and fresh copies of the index file and of the current language file.
  void PrepareAtLoad();

  // The copy rule for one file name: driver directory copy -> user folder copy when the user copy is missing
  // or not newer (INIVERSION). Failures are ignored.
  void RefreshLanguageFile(std::string_view fileName);

  // Reads "LANGUAGE_MQ450" into the current language file name ("ENG_MQ450.res" when missing) and rebuilds
  // its full path. Every page calls it before it re-reads its texts.
  void ResolveCurrentLanguage();

  // The value of key in section of the current language file, or the default, cut to capacity - 1 units.
  std::string ReadUiText(std::string_view section, std::string_view key, std::string_view defaultText,
                         uint32_t capacity);
  // The same for a shared key, with its built-in default and capacity.
  std::string ReadShared(std::string_view section, std::string_view key);

  // Reads the index file into the language table (refreshing every language file on the way).
  const std::vector<LanguageEntry>& LoadLanguageList();
  const std::vector<LanguageEntry>& Languages() const { return languages_; }

  // The registry side of choosing a language entry by its text: a display name pins that language
  // ("IsFirstRun_MQ450" = "FALSE"), a system-language text follows the system again ("TRUE"). Exact,
  // case-sensitive comparisons; the last matching write wins. Returns true when anything matched.
  bool ChooseLanguage(std::string_view chosenText);
  // Reads "IsFirstRun_MQ450" (writing "TRUE" when it is missing); true when it contains "TRUE", that is when
  // the language follows the system. False when the key cannot be opened.
  bool FollowsSystemLanguage();

  // Shows text in a message box with the caption MB_ERROR (error icon or plain box) or MB_INFORMATION. The
  // two characters "\n" in a language-file text become a line break.
  int ShowUiMessage(MessageSink& sink, std::string_view text, MessageKind kind);

  const std::string& CurrentResFile() const { return currentResFile_; }
  const std::string& CurrentLanguagePath() const { return currentLanguagePath_; }
  const std::string& UserFolder() const { return userFolder_; }
  const std::string& IndexPath() const { return indexPath_; }
  const std::string& SystemEntryText() const { return systemEntryText_; }
  // Windows directory + "\system32\spool\drivers\x64\3\" (64-bit processors) or "...\w32x86\3\".
  std::string DriverDirectory();

 private:
  void SetCurrentResFile(std::string_view name);
  uint32_t ReadVersion(const std::string& path, std::string_view fallback);
  void WriteLanguageValues(std::string_view fileName, std::string_view firstRun);

  platform::PlatformServices services_;
  std::string userFolder_;
  std::string indexPath_;
  std::string currentResFile_{kEnglishFile};
  std::string currentLanguagePath_;
  std::string systemEntryText_ = "System Language";
  std::vector<LanguageEntry> languages_;
};

// The language file and system-entry text that follow a system default language identifier.
struct SystemLanguage {
  std::string_view fileName;
  std::string_view entryText;
};
SystemLanguage SystemLanguageFor(uint16_t langId);

}  // namespace mq::plugin
