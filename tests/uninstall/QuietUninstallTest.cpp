// The start checks (one copy at a time, never beside the installer), the command line of uninstall.exe and
// the unattended removal with its log lines and exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "uninstall/QuietUninstall.h"
#include "uninstall/StartChecks.h"

namespace mq::uninstall {
namespace {

using ::testing::Contains;
using testing::DialogMachine;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(StartChecksTest, AnotherCopyOrAnInstallerWindowStopsTheStart) {
  struct Case {
    const char* name;
    bool mutexExisted;
    std::vector<std::string> windows;
    StartVerdict verdict;
    std::vector<std::string> broughtUp;
  } cases[] = {
      {"nothing open", false, {"Office"}, StartVerdict::kRun, {}},
      {"another copy, Chinese title",
       true,
       {"打印机卸载程序"},
       StartVerdict::kAlreadyRunning,
       {"SetForegroundWindow title=打印机卸载程序"}},
      {"another copy, its language file's title",
       true,
       {"Remove MQ"},
       StartVerdict::kAlreadyRunning,
       {"SetForegroundWindow title=Remove MQ"}},
      {"another copy, no window yet", true, {}, StartVerdict::kAlreadyRunning, {}},
      {"the Chinese installer window", false, {"打印机驱动安装程序"}, StartVerdict::kInstallerRunning, {}},
      {"the installer's English caption", false, {"MQ Setup"}, StartVerdict::kInstallerRunning, {}},
      {"the installer's Chinese caption", false, {"MQ 安装"}, StartVerdict::kInstallerRunning, {}},
  };
  for (const Case& k : cases) {
    DialogMachine m;
    m.p.files.Put("C:\\Package\\language\\uninstall_EN.ini", "[Uninstall]\r\nTitle=Remove MQ\r\n");
    m.p.files.Put("C:\\Package\\language\\setup_EN.ini", "[Setup]\r\nCaption=MQ Setup\r\n");
    m.p.files.Put("C:\\Package\\language\\setup_CN.ini", "\xEF\xBB\xBF[Setup]\r\nCaption=MQ 安装\r\n");
    for (const std::string& title : k.windows) m.windows.titles.insert(title);
    UninstallTexts texts(m.p.profile, testing::kProgram, 1033);
    EXPECT_EQ(CheckStart(k.mutexExisted, m.windows, m.p.profile, testing::kProgram, texts), k.verdict)
        << k.name;
    EXPECT_EQ(m.p.journal.CallsTo("SetForegroundWindow"), k.broughtUp) << k.name;
  }
}

TEST(CommandLineTest, Switches) {
  struct Case {
    std::vector<std::string> words;
    bool quiet, all, usb, noReboot, help;
    std::vector<std::string> items;
    std::string log;
  } cases[] = {
      {{}, false, false, false, false, false, {}, ""},
      {{"/quiet", "/all"}, true, true, false, false, false, {}, ""},
      {{"-QUIET", "/All", "/UsbDriver", "/noreboot", "/log=C:\\Temp\\u.log"},
       true,
       true,
       true,
       true,
       false,
       {},
       "C:\\Temp\\u.log"},
      {{"/quiet", "/item=MQ-450(P)", "/ITEM=ZNT USB Port Monitor"},
       true,
       false,
       false,
       false,
       false,
       {"MQ-450(P)", "ZNT USB Port Monitor"},
       ""},
      {{"/?"}, false, false, false, false, true, {}, ""},
      {{"/quiet", "/usbdriver"}, true, false, true, false, false, {}, ""},
  };
  for (const Case& k : cases) {
    CommandLine line;
    std::string error;
    std::string words;
    for (const std::string& w : k.words) words += w + " ";
    ASSERT_TRUE(ParseCommandLine(k.words, &line, &error)) << words << error;
    EXPECT_EQ(line.quiet, k.quiet) << words;
    EXPECT_EQ(line.all, k.all) << words;
    EXPECT_EQ(line.usbDriver, k.usb) << words;
    EXPECT_EQ(line.noReboot, k.noReboot) << words;
    EXPECT_EQ(line.help, k.help) << words;
    EXPECT_EQ(line.items, k.items) << words;
    EXPECT_EQ(line.logFile, k.log) << words;
  }
  const std::vector<std::string> refused[] = {
      {"/quiet", "/all", "/item=MQ-450"},
      {"/all"},  // switches without /quiet
      {"/quiet", "/item="},
      {"/quiet", "/log="},
      {"/quiet", "/force"},
      {"quiet"},
  };
  for (const std::vector<std::string>& words : refused) {
    CommandLine line;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(words, &line, &error)) << words.back();
    EXPECT_FALSE(error.empty()) << words.back();
  }
  EXPECT_NE(CommandLineUsage().find("/quiet [/all | /item=NAME ...] [/usbdriver] [/noreboot] [/log=FILE]"),
            std::string_view::npos);
}

class RecordingLog : public QuietLog {
 public:
  void Line(const std::string& text) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

struct QuietRun {
  int exitCode;
  std::vector<std::string> lines;
};

QuietRun Quiet(DialogMachine& m, std::vector<std::string> words) {
  words.insert(words.begin(), "/quiet");
  CommandLine line;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(words, &line, &error)) << error;
  RecordingLog log;
  int code = RunQuietUninstall(line, m.Services(), m.facts, log);
  return {code, log.lines};
}

void InstallTwo(DialogMachine& m) {
  m.AddPrinter("MQ-450(P)", "MQ-450", "LPT1:");
  m.AddPrinter("Office", "HP LaserJet", "LPT1:");
  m.AddMonitor("ZNT Serial Port Monitor");
}

TEST(QuietUninstallTest, AllRemovesEveryComponentAndRestartsUnlessToldNot) {
  for (bool noReboot : {false, true}) {
    DialogMachine m;
    InstallTwo(m);
    QuietRun run =
        Quiet(m, noReboot ? std::vector<std::string>{"/all", "/noreboot"} : std::vector<std::string>{"/all"});
    EXPECT_EQ(run.exitCode, kQuietSucceeded);
    EXPECT_THAT(run.lines, Contains("IDS_SUCCESS(MQ-450(P))"));
    EXPECT_THAT(run.lines, Contains("IDS_SUCCESS(ZNT Serial Port Monitor)"));
    EXPECT_EQ(m.spooler.FindDriver("", "MQ-450"), nullptr);
    EXPECT_NE(m.spooler.FindDriver("", "HP LaserJet"), nullptr);
    EXPECT_EQ(m.shutdown.reboots, noReboot ? 0 : 1);
    EXPECT_EQ(m.p.journal.CountOf("DialogBoxParamW") + m.p.journal.CountOf("MessageBoxW"), 0u);
  }
}

TEST(QuietUninstallTest, ItemsChooseComponentsByTheirListedName) {
  DialogMachine m;
  InstallTwo(m);
  QuietRun run = Quiet(m, {"/item=ZNT Serial Port Monitor", "/noreboot"});
  EXPECT_EQ(run.exitCode, kQuietSucceeded);
  EXPECT_EQ(m.p.journal.CountOf("DeletePrinter"), 0u);
  EXPECT_EQ(m.p.journal.CountOf("DeleteMonitorW"), 1u);

  QuietRun unknown = Quiet(m, {"/item=Office"});  // not the package's printer
  EXPECT_EQ(unknown.exitCode, kQuietBadArguments);
  EXPECT_THAT(unknown.lines, ElementsAre("/item=Office: not in the component list (MQ-450(P))"));
}

TEST(QuietUninstallTest, FailuresExitOneWithTheirLine) {
  struct Case {
    const char* name;
    std::function<void(DialogMachine&)> setUp;
    std::string line;
  } cases[] = {
      {"installer open", [](DialogMachine& m) { m.windows.titles.insert("打印机驱动安装程序"); }, ""},
      {"no Uninstall.ini",
       [](DialogMachine& m) {
         m.p.files.Delete(testing::kIniPath);
         m.p.files.MakeFolders("C:\\Package\\DRVCONFIG");
       },
       ""},
      {"a queued job", [](DialogMachine& m) { m.spooler.SetQueuedJobs("Office", 1); },
       "IDS_ERR_HAVEJOB2(Office)"},
      {"the spooler refuses", [](DialogMachine& m) { m.p.journal.FailCall("DeletePrinter", 5); },
       "Not removed: MQ-450(P)"},
      {"no spooler library", [](DialogMachine& m) { m.facts.winspoolLoaded = false; }, "no Winspool lib"},
  };
  for (const Case& k : cases) {
    DialogMachine m;
    InstallTwo(m);
    k.setUp(m);
    QuietRun run = Quiet(m, {"/all", "/noreboot"});
    EXPECT_EQ(run.exitCode, kQuietFailed) << k.name;
    ASSERT_FALSE(run.lines.empty()) << k.name;
    if (!k.line.empty()) {
      EXPECT_THAT(run.lines, Contains(k.line)) << k.name;
    }
  }
}

TEST(QuietUninstallTest, NothingInstalledIsAlreadyDone) {
  DialogMachine m;
  m.AddPrinter("Office", "HP LaserJet", "LPT1:");
  QuietRun run = Quiet(m, {"/all"});
  EXPECT_EQ(run.exitCode, kQuietSucceeded);
  EXPECT_THAT(run.lines, ElementsAre("Nothing of the package is installed."));
  EXPECT_EQ(m.shutdown.reboots, 0);
}

TEST(QuietUninstallTest, TheUsbDriverStepRunsOnlyWhereTheDriverIsInstalled) {
  DialogMachine m;
  QuietRun absent = Quiet(m, {"/usbdriver", "/noreboot"});
  EXPECT_EQ(absent.exitCode, kQuietSucceeded);
  EXPECT_EQ(m.p.journal.CountOf("ShellExecuteW"), 0u);
  EXPECT_THAT(absent.lines,
              Contains("The USB printer driver is not installed here; its removal is left out."));

  m.AddUsbDriver(1);
  QuietRun present = Quiet(m, {"/usbdriver", "/noreboot"});
  EXPECT_EQ(present.exitCode, kQuietSucceeded);
  EXPECT_THAT(m.p.journal.CallsTo("ShellExecuteW"),
              ElementsAre("ShellExecuteW verb=open file=C:\\Package\\USBDrv\\USBDriver\\Install.exe "
                          "parameters=22 directory= show=1"));
  EXPECT_THAT(present.lines, Contains("IDS_DRV_SUCCESS1"));
}

}  // namespace
}  // namespace mq::uninstall
