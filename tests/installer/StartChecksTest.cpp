// The setup program's checks before the wizard or a quiet run: each refusal with its text, and the window
// titles by which the two setup programs find each other.
#include <gtest/gtest.h>

#include "InstallerFixture.h"
#include "installer/StartChecks.h"
#include "platform/fake/FakeWindowLookup.h"

namespace mq::installer {
namespace {

using testing::TestMachine;

TEST(StartChecks, EachRefusalInTurn) {
  struct Case {
    const char* what;
    platform::OsVersion version;
    bool is64;
    bool uninstallRunning;
    const char* supported32Or64;
    bool packageUsable;
    const char* message;  // "" goes on
  };
  const Case cases[] = {
      {"Windows 7", {6, 1, 7601, 2, 1, 1}, false, false, "0", true, ""},
      {"uninstall open", {6, 1, 7601, 2, 1, 1}, false, true, "0", true, "Close the printer uninstall program first."},
      {"Windows 98", {4, 10, 2222, 1, 0, 1}, false, false, "0", true, "This version of Windows is not supported."},
      {"Windows 95 is not refused here", {4, 0, 950, 1, 0, 1}, false, false, "0", true, ""},
      {"NT 4.0", {4, 0, 1381, 2, 6, 1}, false, false, "0", true, "This version of Windows is not supported."},
      {"32-bit package on 64-bit Windows", {6, 1, 7601, 2, 1, 1}, true, false, "1", true,
       "This package is for 32-bit Windows only."},
      {"64-bit package on 32-bit Windows", {5, 1, 2600, 2, 3, 1}, false, false, "2", true,
       "This package is for 64-bit Windows only."},
      {"64-bit package on 64-bit Windows", {6, 1, 7601, 2, 1, 1}, true, false, "2", true, ""},
      {"no port in the package", {6, 1, 7601, 2, 1, 1}, false, false, "0", false,
       "The package offers no port for its printers."},
  };
  for (const Case& c : cases) {
    TestMachine machine(c.is64);
    machine.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "Supported32OR64", c.supported32Or64);
    // The start-up check looks at the last entry: the fixture's third one is a bare name without a port
    // section, the first one is XY-100 with its ports.
    if (c.packageUsable) machine.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "DEVICENUMBER", "1");
    SetupConfig config(machine.p.profile, testing::kPackage, c.is64);
    common::LanguageTexts texts(machine.p.profile, std::string(testing::kPackage) + "\\language", "setup",
                                0x0409);
    StartFacts facts{c.uninstallRunning, c.version, c.is64};
    EXPECT_EQ(StartCheckMessage(facts, config, texts), c.message) << c.what;
  }
}

TEST(StartChecks, AdministratorsOnlyFromWindows2000On) {
  TestMachine machine;
  common::LanguageTexts texts(machine.p.profile, "C:\\Package\\language", "setup", 0x0409);
  const platform::OsVersion win7{6, 1, 7601, 2, 1, 1};
  const platform::OsVersion nothingMatches{5, 3, 0, 2, 0, 1};
  EXPECT_NE(AdministratorMessage(DetectOs(win7, 0), false, texts), "");
  EXPECT_EQ(AdministratorMessage(DetectOs(win7, 0), true, texts), "");
  EXPECT_EQ(AdministratorMessage(DetectOs(nothingMatches, 0), false, texts), "");
}

TEST(StartChecks, TheProgramsFindEachOtherByTheirLanguageFilesTitles) {
  TestMachine machine;
  auto& profile = machine.p.profile;
  profile.WriteString("C:\\Package\\language\\uninstall_EN.ini", "Uninstall", "Title", "MQ Printer Uninstall");
  machine.p.files.Put("C:\\Package\\language\\uninstall_CN.ini",
                      "\xEF\xBB\xBF[Uninstall]\r\nTitle=MQ 打印机卸载程序\r\n");  // UTF-8 with its mark
  profile.WriteString("C:\\Package\\language\\uninstall_TCN.ini", "Uninstall", "Title", "MQ Printer Uninstall");
  profile.WriteString("C:\\Package\\language\\setup_EN.ini", "Setup", "Caption", "MQ Printer Setup");
  EXPECT_EQ(UninstallWindowTitles(profile, testing::kPackage),
            (std::vector<std::string>{"Uninstall", "打印机卸载程序", "MQ Printer Uninstall", "MQ 打印机卸载程序"}));
  EXPECT_EQ(WizardWindowTitles(profile, testing::kPackage),
            (std::vector<std::string>{"打印机驱动安装程序", "MQ Printer Setup"}));

  platform::FakeWindowLookup windows(machine.p.journal);
  EXPECT_FALSE(AnyWindowOpen(windows, UninstallWindowTitles(profile, testing::kPackage)));
  windows.titles.insert("MQ 打印机卸载程序");
  EXPECT_TRUE(AnyWindowOpen(windows, UninstallWindowTitles(profile, testing::kPackage)));
}

}  // namespace
}  // namespace mq::installer
