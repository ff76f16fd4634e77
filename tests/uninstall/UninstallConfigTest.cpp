// The uninstaller's start-up rules: the language file and its line-break rule, locating Uninstall.ini, the
// token matching and the Windows generation.
#include <gtest/gtest.h>

#include "UninstallFixture.h"
#include "uninstall/UninstallConfig.h"

namespace mq::uninstall {
namespace {

using testing::kIniPath;
using testing::kProgram;

TEST(UninstallTextsTest, ChoosesTheFileBySystemLanguage) {
  struct Case {
    uint16_t langId;
    const char* file;
  } cases[] = {
      {2052, "C:\\Package\\language\\uninstall_CN.ini"},  {1028, "C:\\Package\\language\\uninstall_TCN.ini"},
      {3076, "C:\\Package\\language\\uninstall_TCN.ini"}, {4100, "C:\\Package\\language\\uninstall_TCN.ini"},
      {1033, "C:\\Package\\language\\uninstall_EN.ini"},  {1041, "C:\\Package\\language\\uninstall_EN.ini"}};
  platform::FakePlatform p;
  for (const Case& c : cases) {
    EXPECT_EQ(UninstallTexts(p.profile, kProgram, c.langId).file(), c.file) << c.langId;
  }
}

TEST(UninstallTextsTest, OnlyTheFirstBackslashNBecomesALineBreak) {
  platform::FakePlatform p;
  p.files.Put("C:\\Package\\language\\uninstall_EN.ini",
              "[Reboot]\r\nNote1=one\\ntwo\\nthree\r\n[Message]\r\nIDS_SUCCESS=%s removed. 100% done\r\n");
  UninstallTexts texts(p.profile, kProgram, 1033);
  EXPECT_EQ(texts.Text("Reboot", "Note1"), "one\r\ntwo\\nthree");
  EXPECT_EQ(texts.Message("IDS_SUCCESS", "MQ-450"), "MQ-450 removed. 100% done");
  EXPECT_EQ(texts.Text("Reboot", "Missing"), "");
  EXPECT_EQ(UninstallTexts(p.profile, kProgram, 2052).Text("Reboot", "Note1"), "");  // no such file
}

TEST(LocateUninstallIniTest, LooksInTheProgramFolderThenDrvconfigResettingAttributes) {
  platform::FakePlatform p;
  p.files.Put("C:\\Package\\a.txt", "a", platform::kFileAttributeReadonly | platform::kFileAttributeHidden);
  p.files.Put("C:\\Package\\z.txt", "z", platform::kFileAttributeSystem);
  p.files.Put("C:\\Package\\DRVCONFIG\\Uninstall.ini", "", platform::kFileAttributeReadonly);
  p.files.Put("C:\\Package\\DRVCONFIG\\zz.ini", "", platform::kFileAttributeReadonly);
  ConfigLocation found = LocateUninstallIni(p.files, kProgram);
  EXPECT_EQ(found.outcome, ConfigLocation::Outcome::kFound);
  EXPECT_EQ(found.path, "C:\\Package\\DRVCONFIG\\Uninstall.ini");
  uint32_t attributes = 0;
  for (const char* passed :
       {"C:\\Package\\a.txt", "C:\\Package\\z.txt", "C:\\Package\\DRVCONFIG\\Uninstall.ini"}) {
    p.files.GetAttributes(passed, &attributes);
    EXPECT_EQ(attributes, platform::kFileAttributeArchive) << passed;
  }
  p.files.GetAttributes("C:\\Package\\DRVCONFIG\\zz.ini", &attributes);  // after the one found: untouched
  EXPECT_EQ(attributes, platform::kFileAttributeReadonly);

  p.files.Put("C:\\Package\\Uninstall.ini", "");
  EXPECT_EQ(LocateUninstallIni(p.files, kProgram).path, kIniPath);
  EXPECT_EQ(LocateUninstallIni(p.files, "C:\\Missing").outcome, ConfigLocation::Outcome::kFolderInvalid);
  p.files.MakeFolders("C:\\Empty\\DRVCONFIG");
  EXPECT_EQ(LocateUninstallIni(p.files, "C:\\Empty").outcome, ConfigLocation::Outcome::kNotFound);
}

TEST(UninstallConfigTest, TokenRules) {
  struct Case {
    const char* ini;
    const char* name;
    bool printer;
    bool monitor;
  } cases[] = {
      {"[BYPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=MQ-\r\n", "MQ-450", true, false},
      {"[BYPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=MQ-\r\n", "mq-450", false, false},  // case-sensitive
      {"[BYPRINTER]\r\nPRINTERNUM=0\r\nPRINTERNAME1=MQ-\r\n", "MQ-450", false, false},
      {"[BYPRINTER]\r\nPRINTERNUM=-3\r\nPRINTERNAME1=MQ-\r\n", "MQ-450", false, false},
      {"", "MQ-450", false, false},                                                   // no sections
      {"[BYPRINTER]\r\nPRINTERNUM=1\r\nPRINTERNAME1=\r\n", "anything", true, false},  // empty token
      // More tokens than keys: a missing key reads "0" and matches names with the digit 0.
      {"[BYMONITOR]\r\nMonitorNUM=3\r\nMONITORNAME1=ZNT\r\n", "Standard TCP/IP Port 0", false, true},
      {"[BYMONITOR]\r\nMonitorNUM=3\r\nMONITORNAME1=ZNT\r\n", "Local Port", false, false},
      // The tenth key is PRINTERNAME: (the character after '9').
      {"[BYPRINTER]\r\nPRINTERNUM=10\r\nPRINTERNAME1=a\r\nPRINTERNAME2=a\r\nPRINTERNAME3=a\r\nPRINTERNAME4="
       "a\r\n"
       "PRINTERNAME5=a\r\nPRINTERNAME6=a\r\nPRINTERNAME7=a\r\nPRINTERNAME8=a\r\nPRINTERNAME9=a\r\n"
       "PRINTERNAME:=XQ\r\n",
       "XQ-1", true, false},
  };
  for (const Case& c : cases) {
    platform::FakePlatform p;
    p.files.Put(kIniPath, c.ini);
    UninstallConfig config(p.profile, kIniPath);
    EXPECT_EQ(config.printers().Matches(c.name), c.printer) << c.ini << " / " << c.name;
    EXPECT_EQ(config.monitors().Matches(c.name), c.monitor) << c.ini << " / " << c.name;
  }
}

TEST(UninstallConfigTest, AHugeTokenCountStaysOnPrintableKeys) {
  platform::FakePlatform p;
  p.files.Put(kIniPath, "[BYPROC]\r\nPROCNUM=100000\r\n");
  UninstallConfig config(p.profile, kIniPath);
  EXPECT_EQ(config.processors().tokens.size(), static_cast<size_t>('~' - '1' + 1));
  EXPECT_EQ(config.Manufacturer(), "0");
}

TEST(UninstallOsGenerationTest, VersionTable) {
  using common::OsGeneration;
  constexpr uint8_t kWs = 1, kServer = 3;
  constexpr uint16_t kX86 = platform::kProcessorArchitectureIntel,
                     kX64 = platform::kProcessorArchitectureAmd64;
  struct Case {
    platform::OsVersion version;
    uint16_t architecture;
    OsGeneration expected;
    const char* suffix;
  } cases[] = {
      {{4, 0, 950, 1, 0, 0}, kX86, OsGeneration::kWin98, ".98"},  // Windows 95 counts as the 9x family
      {{4, 90, 3000, 1, 0, 0}, kX86, OsGeneration::kWin98, ".98"},
      {{4, 0, 1381, 2, 6, kWs}, kX86, OsGeneration::kNt4, ".NT"},
      {{5, 0, 2195, 2, 4, kWs}, kX86, OsGeneration::kWin2000, ".2K"},
      {{5, 1, 2600, 2, 3, kWs}, kX86, OsGeneration::kXp, ".2K"},
      {{5, 2, 3790, 2, 2, kWs}, kX64, OsGeneration::kXp, ".2K"},
      {{5, 2, 3790, 2, 2, kServer}, kX64, OsGeneration::kServer2003, ".2003"},
      {{6, 0, 6002, 2, 2, kWs}, kX86, OsGeneration::kVista, ".Vista"},
      {{6, 0, 6002, 2, 2, kServer}, kX64, OsGeneration::kServer2008, ".2008"},
      {{6, 1, 7601, 2, 1, kServer}, kX64, OsGeneration::kServer2008, ".2008"},
      {{6, 1, 7601, 2, 1, kWs}, kX64, OsGeneration::kWin7, ".Win7"},
      {{6, 2, 9200, 2, 0, kWs}, kX64, OsGeneration::kWin7, ".Win7"},
      {{6, 3, 9600, 2, 0, kServer}, kX64, OsGeneration::kWin7, ".Win7"},
      {{10, 0, 19045, 2, 0, kWs}, kX64, OsGeneration::kWin7, ".Win7"},  // never the Windows 98 rules
  };
  for (const Case& c : cases) {
    OsGeneration g = UninstallOsGeneration(c.version, c.architecture);
    EXPECT_EQ(g, c.expected) << c.version.major << "." << c.version.minor;
    EXPECT_EQ(UninstallSectionSuffix(g), c.suffix) << c.version.major << "." << c.version.minor;
  }
}

}  // namespace
}  // namespace mq::uninstall
