// The sample package's Uninstall.ini and uninstall language files against what the installer puts in place
// from the same package: every monitor and processor the setup registers is listed and has its component
// section for every generation, and every text the uninstaller reads exists in all three languages.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/IniReader.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"
#include "uninstall/RemovalEngine.h"

namespace mq::uninstall {
namespace {

namespace fs = std::filesystem;

class UninstallPackageTest : public ::testing::Test {
 protected:
  UninstallPackageTest() : files_(fs::path(MQ_PACKAGE_DIR).parent_path()), profile_(files_, "C:\\Windows") {}
  std::string Package() const { return "C:\\" + fs::path(MQ_PACKAGE_DIR).filename().string(); }

  platform::RootedFileSystem files_;
  platform::IniProfile profile_;
};

TEST_F(UninstallPackageTest, ConfigurationCoversWhatTheSetupRegisters) {
  ConfigLocation location = LocateUninstallIni(files_, Package());
  ASSERT_EQ(location.outcome, ConfigLocation::Outcome::kFound);
  UninstallConfig config(profile_, location.path);
  common::IniReader setup(profile_);
  std::string setupIni = Package() + "\\DRVCONFIG\\setup.ini";
  for (int code = 0; code < 8; ++code) {
    auto os = static_cast<common::OsGeneration>(code);
    std::string monitorSection = "COMMON-MONITOR" + std::string(common::OsSectionSuffix(os));
    for (const char* key : {"COMMONitorPName", "USBMONitorPName"}) {
      std::string monitor = setup.Text(setupIni, monitorSection, key);
      ASSERT_NE(monitor, "0") << monitorSection;
      EXPECT_TRUE(config.monitors().Matches(monitor)) << monitor;
      EXPECT_FALSE(config.printers().Matches(monitor)) << monitor;
      std::string section;
      for (char c : monitor) {
        if (c != ' ') section += c;
      }
      section += UninstallSectionSuffix(os);
      EXPECT_EQ(config.ComponentValue(section, "USBMONitorName"), monitor) << section;
      std::string dllKey =
          std::string(key) == "COMMONitorPName" ? "COMMONitorPDLLName" : "USBMONitorPDLLName";
      EXPECT_EQ(config.ComponentValue(section, "MonitorPDLLName"),
                setup.Text(setupIni, monitorSection, dllKey))
          << section;
    }
    EXPECT_EQ(config.ComponentValue("ZNTPrint" + std::string(UninstallSectionSuffix(os)), "ProcessorDllName"),
              "ZNTPROC.DLL");
  }
  EXPECT_TRUE(config.processors().Matches("ZNTPrint"));
  EXPECT_FALSE(config.processors().Matches("WinPrint"));
  for (const char* driver : {"MQ-450", "MQ-200", "MQ-L80"}) EXPECT_TRUE(config.printers().Matches(driver));
}

TEST_F(UninstallPackageTest, LanguageFilesHaveEveryText) {
  const char* const keys[][2] = {{"Uninstall", "Title"},
                                 {"Uninstall", "Note"},
                                 {"Uninstall", "Uninstall"},
                                 {"Uninstall", "Select"},
                                 {"Uninstall", "Exit"},
                                 {"Uninstall", "USBuninstall"},
                                 {"Uninstall", "Close"},
                                 {"Uninstall", "CaptionName"},
                                 {"Reboot", "Title"},
                                 {"Reboot", "Note1"},
                                 {"Reboot", "Note2"},
                                 {"Reboot", "Note3"},
                                 {"Reboot", "Yes"},
                                 {"Reboot", "No"},
                                 {"About", "Title"},
                                 {"About", "Version"},
                                 {"About", "Copyright"},
                                 {"About", "OK"},
                                 {"Message", "IDS_ABOUTBOX"},
                                 {"Message", "IDS_ERR_GETSYSDIR"},
                                 {"Message", "IDS_ERR_INVALID"},
                                 {"Message", "IDS_ERR_NOINI"},
                                 {"Message", "IDS_SELECTPRN1"},
                                 {"Message", "IDS_DELETING3"},
                                 {"Message", "IDS_ERR_GETPRNINFO"},
                                 {"Message", "IDS_ERR_ALLOC"},
                                 {"Message", "IDS_ERR_DELPRINTER"},
                                 {"Message", "IDS_DRV_SUCCESS"},
                                 {"Message", "IDS_ERR_DRVUSING"},
                                 {"Message", "IDS_ERR_DRVDEL"},
                                 {"Message", "IDS_DRV_SUCCESS1"}};
  const char* const named[] = {"IDS_DELETING1",    "IDS_DELETING2",     "IDS_SUCCESS",
                               "IDS_USING",        "IDS_ERR_UNINSTALL", "IDS_ERR_OPENPRN",
                               "IDS_ERR_HAVEJOB1", "IDS_ERR_HAVEJOB2",  "IDS_DRVDELETING"};
  for (uint16_t langId : {1033, 2052, 1028}) {
    UninstallTexts texts(profile_, Package(), langId);
    for (const auto& key : keys) {
      std::string text = texts.Text(key[0], key[1]);
      EXPECT_FALSE(text.empty()) << texts.file() << " " << key[0] << "/" << key[1];
      EXPECT_EQ(text.find("%s"), std::string::npos) << texts.file() << " " << key[1];
    }
    for (const char* key : named) {
      std::string text = texts.Message(key);
      ASSERT_NE(text.find("%s"), std::string::npos) << texts.file() << " " << key;
      EXPECT_EQ(text.find('%', text.find("%s") + 1), std::string::npos) << texts.file() << " " << key;
    }
  }
}

}  // namespace
}  // namespace mq::uninstall
