// Language preparation, the copy rule, text lookup and the language list, against an in-memory machine.
#include "plugin/UiTexts.h"

#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"

namespace mq::plugin {
namespace {

constexpr std::string_view kDriverDir = "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\";
constexpr std::string_view kUserDir = "C:\\Users\\user\\AppData\\Roaming\\ZNT\\";
constexpr std::string_view kKey = "HKCU\\SOFTWARE\\ZNT\\LANGUAGE";

struct UiTextsFixture : ::testing::Test {
  platform::FakePlatform platform;
  UiTexts texts{platform.Services()};

  void SetUp() override {
    platform.files.MakeFolders("C:\\Users\\user\\AppData\\Roaming");
    platform.files.MakeFolders(kDriverDir);
    PutDriverFile("LANGUAGE_MQ450.ini", "[LANGUAGE]\r\nCOUNT=3\r\n[FILEVER]\r\nINIVERSION=5\r\n");
    PutDriverFile("ENG_MQ450.res", "[FILEVER]\r\nINIVERSION=5\r\n[LAYOUT]\r\nRC_LAYOUTFORM=Main (en)\r\n");
    PutDriverFile("CHN_MQ450.res", "[FILEVER]\r\nINIVERSION=5\r\n[LAYOUT]\r\nRC_LAYOUTFORM=CHN main\r\n");
    PutDriverFile("CHF_MQ450.res", "[FILEVER]\r\nINIVERSION=5\r\n");
  }
  void PutDriverFile(std::string_view name, std::string_view content) {
    platform.files.Put(std::string(kDriverDir) + std::string(name), content);
  }
  std::optional<std::string> UserFile(std::string_view name) {
    return platform.files.Contents(std::string(kUserDir) + std::string(name));
  }
};

TEST_F(UiTextsFixture, FirstLoadFollowsTheSystemLanguage) {
  platform.system.langId = 0x0804;
  texts.PrepareAtLoad();
  EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), "TRUE");
  EXPECT_EQ(platform.registry.GetString(kKey, "LANGUAGE_MQ450"), "CHN_MQ450.res");
  EXPECT_EQ(texts.CurrentResFile(), "CHN_MQ450.res");
  EXPECT_EQ(texts.SystemEntryText(), "系统语言(System)");
  EXPECT_TRUE(UserFile("LANGUAGE_MQ450.ini"));
  EXPECT_TRUE(UserFile("CHN_MQ450.res"));
  EXPECT_FALSE(UserFile("ENG_MQ450.res"));
  EXPECT_EQ(texts.ReadShared("LAYOUT", "RC_LAYOUTFORM"), "CHN main");
  // Text values are written with their terminating zero counted.
  auto raw = platform.registry.GetRaw(kKey, "IsFirstRun_MQ450");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->second.size(), 10u);
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST_F(UiTextsFixture, APinnedLanguageSurvivesAnotherSystemLanguage) {
  platform.registry.PutString(kKey, "IsFirstRun_MQ450", "FALSE");
  platform.registry.PutString(kKey, "LANGUAGE_MQ450", "ENG_MQ450.res");
  platform.system.langId = 0x0404;
  texts.PrepareAtLoad();
  EXPECT_EQ(texts.CurrentResFile(), "ENG_MQ450.res");
  EXPECT_EQ(platform.registry.GetString(kKey, "LANGUAGE_MQ450"), "ENG_MQ450.res");
  EXPECT_EQ(texts.SystemEntryText(), "系統語言(System)");
}

TEST_F(UiTextsFixture, SystemLanguageTable) {
  struct Case {
    uint16_t langId;
    std::string_view file;
  };
  for (Case c :
       {Case{0x0404, "CHF_MQ450.res"}, Case{0x0C04, "CHF_MQ450.res"}, Case{0x1004, "CHF_MQ450.res"},
        Case{0x0804, "CHN_MQ450.res"}, Case{0x0409, "ENG_MQ450.res"}, Case{0x0411, "ENG_MQ450.res"}}) {
    EXPECT_EQ(SystemLanguageFor(c.langId).fileName, c.file) << c.langId;
  }
}

TEST_F(UiTextsFixture, CopyRuleComparesVersions) {
  texts.PrepareAtLoad();
  struct Case {
    std::string_view driverVersion;  // empty: no INIVERSION key
    std::string_view userVersion;
    bool replaced;
  };
  for (Case c : {Case{"5", "5", true}, Case{"5", "6", false}, Case{"7", "6", true}, Case{"", "99998", true},
                 Case{"", "100000", false}}) {
    std::string driver = "[S]\r\nK=driver\r\n";
    if (!c.driverVersion.empty())
      driver += "[FILEVER]\r\nINIVERSION=" + std::string(c.driverVersion) + "\r\n";
    PutDriverFile("X.res", driver);
    platform.files.Put(std::string(kUserDir) + "X.res",
                       "[S]\r\nK=user\r\n[FILEVER]\r\nINIVERSION=" + std::string(c.userVersion) + "\r\n");
    texts.RefreshLanguageFile("X.res");
    EXPECT_EQ(UserFile("X.res")->find("K=driver") != std::string::npos, c.replaced)
        << c.driverVersion << " vs " << c.userVersion;
  }
  // A missing driver copy leaves the user copy alone and reports nothing.
  texts.RefreshLanguageFile("Missing.res");
  EXPECT_FALSE(UserFile("Missing.res"));
}

TEST_F(UiTextsFixture, MissingKeysAndFilesFallBackToEnglishDefaults) {
  texts.PrepareAtLoad();
  EXPECT_EQ(texts.ReadShared("DOWNLOAD", "RC_DOWNLOADFORM"), "Download");
  EXPECT_EQ(texts.ReadShared("LAYOUT", "RC_LAYOUTFORM"), "Main (en)");
  platform.registry.PutString(kKey, "LANGUAGE_MQ450", "NOPE.res");
  texts.ResolveCurrentLanguage();
  EXPECT_EQ(texts.ReadShared("LAYOUT", "RC_LAYOUTFORM"), "Main");
  // Cut to capacity - 1 characters.
  EXPECT_EQ(texts.ReadUiText("X", "Y", "abcdefghijklmnopqrstuvwxyz", kCapShort), "abcdefghijklmnopqrs");
  std::string longTip(1500, 'h');
  EXPECT_EQ(texts.ReadUiText("X", "CTEXT_Y", longTip, kCapMessage).size(), 1023u);
}

TEST_F(UiTextsFixture, RegistryUnavailableMeansEnglish) {
  platform.journal.FailCall("RegOpenKeyExW", 5);
  platform.journal.FailCall("RegCreateKeyExW", 5);
  platform.system.langId = 0x0804;
  texts.PrepareAtLoad();
  EXPECT_EQ(texts.CurrentResFile(), "ENG_MQ450.res");
  EXPECT_EQ(texts.SystemEntryText(), "系统语言(System)");
  EXPECT_TRUE(UserFile("ENG_MQ450.res"));
}

TEST_F(UiTextsFixture, NewKeyTakesCurIniFromTheUserIndexFile) {
  platform.files.Put(std::string(kUserDir) + "LANGUAGE_MQ450.ini", "[LANGUAGE]\r\nCUR_INI=CHF_MQ450.res\r\n");
  platform.registry.PutString(kKey, "IsFirstRun_MQ450", "FALSE");  // makes the key exist...
  ASSERT_EQ(platform.registry.DeleteKey(platform::kHkeyCurrentUser, "SOFTWARE\\ZNT\\LANGUAGE"),
            0u);  // ...not
  texts.PrepareAtLoad();
  EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), "TRUE");
  // The first-run flag then makes the system language win, but CUR_INI was written first.
  auto writes = platform.journal.CallsTo("RegSetValueExW");
  ASSERT_GE(writes.size(), 1u);
  EXPECT_NE(writes[0].find("data=CHF_MQ450.res"), std::string::npos) << writes[0];
}

TEST_F(UiTextsFixture, KeyWithoutTheLanguageValueStartsInEnglishUntilTheSystemLanguageIsFollowed) {
  platform.system.langId = 0x0804;
  struct Case {
    std::optional<std::string_view> firstRun;  // nullopt: no flag either
    std::vector<std::string> languageWrites;
    std::string_view current;
  };
  const Case cases[] = {{std::nullopt, {"CHN_MQ450.res"}, "CHN_MQ450.res"}, {"FALSE", {}, "ENG_MQ450.res"}};
  for (const Case& c : cases) {
    platform.registry.DeleteKey(platform::kHkeyCurrentUser, "SOFTWARE\\ZNT\\LANGUAGE");
    platform::RegKey key = 0;
    ASSERT_EQ(platform.registry.CreateKey(platform::kHkeyCurrentUser, "SOFTWARE\\ZNT\\LANGUAGE",
                                          platform::kKeyAllAccess, &key, nullptr),
              0u);
    platform.registry.CloseKey(key);
    if (c.firstRun) platform.registry.PutString(kKey, "IsFirstRun_MQ450", *c.firstRun);
    // The user's index file names another language: only a key made at this load takes CUR_INI.
    platform.files.Put(std::string(kUserDir) + "LANGUAGE_MQ450.ini",
                       "[LANGUAGE]\r\nCUR_INI=CHF_MQ450.res\r\n");
    platform.journal.Clear();
    texts.PrepareAtLoad();
    std::vector<std::string> languageWrites;
    for (const std::string& line : platform.journal.CallsTo("RegSetValueExW"))
      if (line.find("name=LANGUAGE_MQ450 ") != std::string::npos)
        languageWrites.push_back(line.substr(line.find("data=") + 5));
    EXPECT_EQ(languageWrites, c.languageWrites) << c.firstRun.value_or("no flag");
    EXPECT_EQ(texts.CurrentResFile(), c.current);
    EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), c.firstRun.value_or("TRUE"));
  }
}

TEST_F(UiTextsFixture, NoSpecialFolderFunctionUsesTheDriveRoot) {
  platform.system.specialFolderAvailable = false;
  texts.PrepareAtLoad();
  EXPECT_EQ(texts.UserFolder(), "\\ZNT\\");
  EXPECT_TRUE(platform.files.Exists("C:\\ZNT\\ENG_MQ450.res"));
}

TEST_F(UiTextsFixture, LanguageListAndChoice) {
  platform.files.Put(
      std::string(kDriverDir) + "LANGUAGE_MQ450.ini",
      "[LANGUAGE]\r\nCOUNT=2\r\nLanguage0=English\r\nINI0=ENG_MQ450.res\r\nSYSLANG0=System Language\r\n"
      "Language1=简体中文\r\nINI1=CHN_MQ450.res\r\nSYSLANG1=系统语言(System)\r\n");
  // The driver file is ANSI here; keep it ASCII-safe by writing UTF-8 with a byte order mark.
  std::string withBom =
      "\xEF\xBB\xBF" + *platform.files.Contents(std::string(kDriverDir) + "LANGUAGE_MQ450.ini");
  PutDriverFile("LANGUAGE_MQ450.ini", withBom);
  texts.PrepareAtLoad();
  const auto& list = texts.LoadLanguageList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].displayName, "简体中文");
  EXPECT_EQ(list[1].fileName, "CHN_MQ450.res");
  EXPECT_TRUE(UserFile("CHN_MQ450.res"));

  EXPECT_TRUE(texts.ChooseLanguage("简体中文"));
  EXPECT_EQ(platform.registry.GetString(kKey, "LANGUAGE_MQ450"), "CHN_MQ450.res");
  EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), "FALSE");
  EXPECT_TRUE(texts.ChooseLanguage("系统语言(System)"));
  EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), "TRUE");
  EXPECT_FALSE(texts.ChooseLanguage("english")) << "comparisons are case-sensitive";
  EXPECT_EQ(platform.registry.GetString(kKey, "LANGUAGE_MQ450"), "CHN_MQ450.res");
}

TEST_F(UiTextsFixture, IndexWithoutCountGivesTwoEnglishEntries) {
  PutDriverFile("LANGUAGE_MQ450.ini", "[FILEVER]\r\nINIVERSION=1\r\n");
  texts.PrepareAtLoad();
  const auto& list = texts.LoadLanguageList();
  ASSERT_EQ(list.size(), 2u);
  for (const LanguageEntry& e : list) {
    EXPECT_EQ(e.displayName, "English");
    EXPECT_EQ(e.fileName, "ENG_MQ450.res");
    EXPECT_EQ(e.systemText, "System Language");
  }
}

class RecordingSink : public MessageSink {
 public:
  int ShowMessage(std::string_view caption, std::string_view text, uint32_t flags) override {
    last = std::string(caption) + "|" + std::string(text) + "|" + std::to_string(flags);
    return 1;
  }
  std::string last;
};

TEST_F(UiTextsFixture, MessageBoxCaptions) {
  texts.PrepareAtLoad();
  RecordingSink sink;
  texts.ShowUiMessage(sink, "Command length error!", MessageKind::kError);
  EXPECT_EQ(sink.last, "Error|Command length error!|16");
  texts.ShowUiMessage(sink, "x", MessageKind::kErrorPlain);
  EXPECT_EQ(sink.last, "Error|x|0");
  texts.ShowUiMessage(sink, "y", MessageKind::kInformation);
  EXPECT_EQ(sink.last, "Information|y|64");
  texts.ShowUiMessage(sink, "one\\ntwo", MessageKind::kInformation);
  EXPECT_EQ(sink.last, "Information|one\ntwo|64");
}

TEST_F(UiTextsFixture, DriverDirectoryFollowsTheProcessorArchitecture) {
  platform.system.architecture = platform::kProcessorArchitectureAmd64;
  EXPECT_EQ(texts.DriverDirectory(), "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\");
  platform.system.architecture = platform::kProcessorArchitectureIa64;
  EXPECT_EQ(texts.DriverDirectory(), "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\");
  platform.system.architecture = platform::kProcessorArchitectureIntel;
  EXPECT_EQ(texts.DriverDirectory(), kDriverDir);
}

}  // namespace
}  // namespace mq::plugin
