// How the pages reach the language texts: the current language is resolved first, then each key is read with
// its built-in English default and the room the page gives it. The plug-in binds this to its language state;
// tests use a table.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mq::plugin {

class PageTexts {
 public:
  virtual ~PageTexts() = default;
  // Re-reads which language file is in force (a change made elsewhere shows at the next call).
  virtual void ResolveCurrentLanguage() = 0;
  // The key's text in the section of the current language file, or fallback when the file or key is missing;
  // cut to capacity - 1 characters.
  virtual std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                           size_t capacity) = 0;
  // The file name of the language file in force, as of the last ResolveCurrentLanguage.
  virtual std::string CurrentLanguageFile() { return "ENG_MQ450.res"; }
};

// Room given to texts, in characters including the terminating zero.
inline constexpr size_t kRoomShort = 20;
inline constexpr size_t kRoomLabel = 50;
inline constexpr size_t kRoomLine = 256;
inline constexpr size_t kRoomHelp = 1024;

// One text of a page: the key in its language section and the English default.
struct TextKey {
  const char* key;
  const char* fallback;
};

// A control's text, read with the room the control gives it.
struct ControlText {
  int id;
  TextKey text;
  size_t room;
};

// A control's help tip, read with kRoomHelp.
struct HelpText {
  int id;
  TextKey text;
};

}  // namespace mq::plugin
