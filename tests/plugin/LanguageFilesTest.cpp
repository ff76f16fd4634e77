// The language files shipped with the package: every known key is present in every language, the English file
// says what the built-in defaults say, and the index file lists the three languages.
#include <gtest/gtest.h>

#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"
#include "platform/Text.h"
#include "plugin/UiTexts.h"

namespace mq::plugin {
namespace {

struct LanguageFilesTest : ::testing::Test {
  platform::RootedFileSystem files{MQ_PACKAGE_DIR};
  platform::IniProfile profile{files, "C:\\Windows"};
  std::string Read(std::string_view file, std::string_view section, std::string_view key) {
    return profile.GetString("C:\\Driver\\UI\\" + std::string(file), section, key, "<missing>", 4096);
  }
};

TEST_F(LanguageFilesTest, EveryLanguageHasEveryKey) {
  for (std::string_view file : {kEnglishFile, kSimplifiedChineseFile, kTraditionalChineseFile}) {
    EXPECT_NE(Read(file, "FILEVER", "INIVERSION"), "<missing>") << file;
    for (const UiTextDefault& entry : kSharedUiTexts) {
      std::string value = Read(file, entry.section, entry.key);
      EXPECT_NE(value, "<missing>") << file << " " << entry.section << "/" << entry.key;
      EXPECT_LT(text::Utf16Length(value), entry.capacity) << file << " " << entry.key << " does not fit";
      if (file == kEnglishFile) {
        std::string expected(entry.text);
        for (size_t at = expected.find('\n'); at != std::string::npos; at = expected.find('\n', at)) {
          expected.replace(at, 1, "\\n");
        }
        EXPECT_EQ(value, expected) << entry.key;
      }
    }
  }
}

TEST_F(LanguageFilesTest, IndexListsTheThreeLanguages) {
  const std::string index = "LANGUAGE_MQ450.ini";
  EXPECT_EQ(Read(index, "LANGUAGE", "COUNT"), "3");
  EXPECT_EQ(Read(index, "LANGUAGE", "INI0"), "ENG_MQ450.res");
  EXPECT_EQ(Read(index, "LANGUAGE", "INI1"), "CHN_MQ450.res");
  EXPECT_EQ(Read(index, "LANGUAGE", "INI2"), "CHF_MQ450.res");
  EXPECT_EQ(Read(index, "LANGUAGE", "SYSLANG1"), SystemLanguageFor(0x0804).entryText);
  EXPECT_EQ(Read(index, "LANGUAGE", "SYSLANG2"), SystemLanguageFor(0x0404).entryText);
  EXPECT_EQ(Read(index, "LANGUAGE", "CUR_INI"), "ENG_MQ450.res");
}

}  // namespace
}  // namespace mq::plugin
