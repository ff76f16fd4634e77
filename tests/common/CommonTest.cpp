// The shared reading rules of the setup programs: the "0" default, leading-digit numbers, length limits,
// generation codes, word size and language-file texts.
#include <gtest/gtest.h>

#include "common/IniReader.h"
#include "common/LanguageTexts.h"
#include "common/OsGeneration.h"
#include "platform/fake/FakePlatform.h"

namespace mq::common {
namespace {

TEST(LeadingNumberTest, TakesOnlyTheLeadingDigits) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {{"", 0},      {"0", 0},           {"12abc", 12},
               {"abc12", 0}, {"-5", 0},          {"007", 7},
               {" 3", 0},    {"115200", 115200}, {"99999999999", 2147483647}};
  for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.expected) << c.text;
}

TEST(IniReaderTest, DefaultsLimitsAndEmptyValues) {
  platform::FakePlatform machine;
  machine.files.Put("C:\\p\\a.ini", "[S]\nname=" + std::string(60, 'x') +
                                        "\nempty=\nnumber=42 ports\nversion=1234567890123\n");
  IniReader reader(machine.profile);
  EXPECT_EQ(reader.Text("C:\\p\\a.ini", "S", "missing"), "0");
  EXPECT_EQ(reader.Text("C:\\p\\missing.ini", "S", "name"), "0");
  EXPECT_EQ(reader.Text("C:\\p\\a.ini", "S", "empty"), "");
  EXPECT_EQ(reader.Text("C:\\p\\a.ini", "S", "name", kNameLimit), std::string(49, 'x'));
  EXPECT_EQ(reader.Text("C:\\p\\a.ini", "S", "version", kVersionLimit), "123456789");
  EXPECT_EQ(reader.Integer("C:\\p\\a.ini", "S", "number"), 42);
  EXPECT_EQ(reader.Integer("C:\\p\\a.ini", "S", "missing"), 0);
  EXPECT_EQ(reader.Integer("C:\\p\\a.ini", "S", "empty"), 0);
}

TEST(OsGenerationTest, SuffixesAndParsing) {
  const char* suffixes[] = {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"};
  for (int code = 0; code < 8; ++code) {
    EXPECT_EQ(OsSectionSuffix(static_cast<OsGeneration>(code)), suffixes[code]);
    OsGeneration parsed;
    ASSERT_TRUE(ParseOsGeneration(std::to_string(code), &parsed));
    EXPECT_EQ(static_cast<int>(parsed), code);
    ASSERT_TRUE(ParseOsGeneration(std::string(suffixes[code] + 1), &parsed));
    EXPECT_EQ(static_cast<int>(parsed), code);
  }
  OsGeneration parsed;
  EXPECT_TRUE(ParseOsGeneration("win7", &parsed));
  EXPECT_FALSE(ParseOsGeneration("8", &parsed));
  EXPECT_FALSE(ParseOsGeneration("Win8", &parsed));
  EXPECT_EQ(OsSectionSuffix(static_cast<OsGeneration>(9)), "");
}

TEST(OsGenerationTest, SixtyFourBitWindowsFromWow64OrTheNativeProcessor) {
  struct Case {
    bool wow64;
    uint16_t architecture;
    bool expected;
  } cases[] = {{false, platform::kProcessorArchitectureIntel, false},
               {true, platform::kProcessorArchitectureAmd64, true},
               {false, platform::kProcessorArchitectureAmd64, true},
               {false, platform::kProcessorArchitectureIa64, true}};
  for (const Case& c : cases) {
    platform::FakeSystemInfo system;
    system.wow64 = c.wow64;
    system.architecture = c.architecture;
    EXPECT_EQ(Is64BitWindows(system), c.expected);
  }
}

TEST(LanguageTextsTest, FileChosenByLanguageId) {
  struct Case {
    uint16_t langId;
    const char* file;
    bool chineseFont;
  } cases[] = {
      {1028, "C:\\p\\language\\setup_TCN.ini", true}, {3076, "C:\\p\\language\\setup_TCN.ini", true},
      {4100, "C:\\p\\language\\setup_TCN.ini", true}, {2052, "C:\\p\\language\\setup_CN.ini", true},
      {1033, "C:\\p\\language\\setup_EN.ini", false}, {1031, "C:\\p\\language\\setup_EN.ini", false}};
  platform::FakePlatform machine;
  for (const Case& c : cases) {
    LanguageTexts texts(machine.profile, "C:\\p\\language", "setup", c.langId);
    EXPECT_EQ(texts.file(), c.file) << c.langId;
    EXPECT_EQ(UsesChineseFont(c.langId), c.chineseFont) << c.langId;
  }
}

TEST(LanguageTextsTest, OnlyTheFirstOfEachLineBreakMarkerBecomesABreak) {
  struct Case {
    const char* raw;
    const char* expected;
  } cases[] = {{"plain", "plain"},
               {"a\\1b\\1c", "a\r\nb\\1c"},
               {"\\3x\\2y\\1z", "\r\nx\r\ny\r\nz"},
               {"a\\4b", "a\\4b"},
               {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(ExpandLineBreaks(c.raw), c.expected) << c.raw;

  platform::FakePlatform machine;
  machine.files.Put("C:\\p\\language\\setup_CN.ini", "[Message]\nIDS_ADMIN=line\\1two\\1three\n");
  LanguageTexts texts(machine.profile, "C:\\p\\language", "setup", 2052);
  EXPECT_EQ(texts.Message("IDS_ADMIN"), "line\r\ntwo\\1three");
  EXPECT_EQ(texts.Message("IDS_MISSING"), "");
}

}  // namespace
}  // namespace mq::common
