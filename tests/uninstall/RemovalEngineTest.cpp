// The removal engine against the in-memory machine: the job check, the walk over the component list, the
// printer, monitor and processor paths, the USB driver step and the restart question, with their log lines
// and waits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "UninstallFixture.h"

namespace mq::uninstall {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::Names;
using testing::UninstallMachine;

size_t Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

TEST(RemovalEngineTest, TheListShowsThePackagesPrintersMonitorsAndProcessors) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddPrinter("Office", "HP LaserJet", "LPT1:");
  m.AddMonitor("ZNT Serial Port Monitor");
  m.AddMonitor("Local Port");
  m.spooler.AddPrintProcessor("", "zntproc.dll", "ZNTPrint");
  EXPECT_THAT(Names(m.Items({})), ElementsAre("MQ-450", "ZNT Serial Port Monitor", "ZNTPrint"));
  m.settings.os = common::OsGeneration::kWin98;  // no processors there
  EXPECT_THAT(Names(m.Items({})), ElementsAre("MQ-450", "ZNT Serial Port Monitor"));
}

TEST(RemovalEngineTest, NothingCheckedOnlyWaitsThenTheUsbStepAndNoRestartQuestion) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddMonitor("ZNT Serial Port Monitor");
  m.ui.windowPolls = 2;
  std::vector<ComponentItem> items = m.Items({});
  RemovalResult r = m.Run(items, /*usbDriver=*/true);
  EXPECT_TRUE(r.ran);
  EXPECT_FALSE(r.somethingRemoved);
  EXPECT_EQ(items.size(), 2u);
  EXPECT_THAT(m.Sleeps(), ElementsAre(500, 500, 500, 1000, 1000, 500, 1000));
  EXPECT_THAT(m.ui.log, ElementsAre("IDS_DELETING3", "IDS_DRV_SUCCESS1", "IDS_SELECTPRN1"));
  EXPECT_THAT(m.p.journal.CallsTo("ShellExecuteW"),
              ElementsAre("ShellExecuteW verb=open file=C:\\Package\\USBDrv\\USBDriver\\Install.exe "
                          "parameters=22 directory= show=1"));
  EXPECT_EQ(m.ui.windowQueries.size(), 3u);
  EXPECT_EQ(m.ui.windowQueries[0], "USB Driver Setup");
  EXPECT_EQ(m.ui.restartQuestions, 0);
  EXPECT_THAT(m.ui.controls, ElementsAre(ControlState::kRunning, ControlState::kItemsLeft));
}

TEST(RemovalEngineTest, TwoPrintersSharingADriverRemoveItWithTheSecond) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddPrinter("MQ-450 (COM)", "MQ-450", "ZNTCOM1:");
  std::vector<ComponentItem> items = m.Items({}, true);
  RemovalResult r = m.Run(items);
  EXPECT_TRUE(r.somethingRemoved);
  EXPECT_THAT(items, IsEmpty());
  EXPECT_THAT(m.ui.log,
              ElementsAre("IDS_DELETING2(MQ-450)", "IDS_SUCCESS(MQ-450)", "IDS_DRVDELETING(MQ-450)",
                          "IDS_ERR_DRVUSING", "IDS_DELETING2(MQ-450 (COM))", "IDS_SUCCESS(MQ-450 (COM))",
                          "IDS_DRVDELETING(MQ-450 (COM))", "IDS_DRV_SUCCESS"));
  EXPECT_EQ(m.spooler.FindDriver("", "MQ-450"), nullptr);
  // Both items were looked at in position 0: the second moved up after the first was removed.
  EXPECT_THAT(m.ui.removed, ElementsAre(0u, 0u));
  // 500 per position, then 100 + restart (2000) + 1000, the driver step's 100 and 1000, per printer.
  EXPECT_THAT(m.Sleeps(), ElementsAre(500, 100, 2000, 1000, 100, 1000, 500, 100, 2000, 1000, 100, 1000));
  EXPECT_EQ(m.ui.restartQuestions, 1);
  EXPECT_THAT(m.ui.controls, ElementsAre(ControlState::kRunning, ControlState::kListEmpty));
  EXPECT_EQ(m.p.journal.CountOf("DeletePrinterDriverExW"), 2u);
  EXPECT_EQ(m.spooler.OpenHandleCount(), 0u);
}

TEST(RemovalEngineTest, WhereTheDeleteFlagsAreRefusedASharedDriverStillStaysWithItsOtherPrinter) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddPrinter("MQ-450 (COM)", "MQ-450", "ZNTCOM1:");
  m.p.journal.FailCall("DeletePrinterDriverExW", 87);
  std::vector<ComponentItem> items = m.Items({}, true);
  m.Run(items);
  EXPECT_THAT(items, IsEmpty());
  EXPECT_EQ(Count(m.ui.log, "IDS_ERR_DRVUSING"), 1u);
  EXPECT_EQ(Count(m.ui.log, "IDS_DRV_SUCCESS"), 1u);
  EXPECT_EQ(m.p.journal.CountOf("DeletePrinterDriverW"), 1u);  // only once the last printer is gone
  EXPECT_EQ(m.spooler.FindDriver("", "MQ-450"), nullptr);
}

TEST(RemovalEngineTest, ANetworkPortIsDeletedOnlyWhenNoOtherPrinterUsesIt) {
  UninstallMachine m;
  m.AddPrinter("MQ-450 (A)", "MQ-450", "ZNTIP_10.0.0.5");
  m.AddPrinter("Office", "HP LaserJet", "ZNTIP_10.0.0.5");
  m.AddPrinter("MQ-450 (B)", "MQ-450", "ZNTIP_10.0.0.6");
  std::vector<ComponentItem> items = m.Items({}, true);
  m.Run(items);
  EXPECT_TRUE(m.spooler.HasPort("ZNTIP_10.0.0.5"));
  EXPECT_FALSE(m.spooler.HasPort("ZNTIP_10.0.0.6"));
  EXPECT_THAT(m.p.journal.CallsTo("DeletePortW"), ElementsAre("DeletePortW name=ZNTIP_10.0.0.6"));
}

TEST(RemovalEngineTest, ANetworkPortStaysWhenItsUsersCannotBeListed) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "ZNTIP_10.0.0.5");
  std::vector<ComponentItem> items = m.Items({}, true);
  m.p.journal.FailCall("EnumPrintersW", 5, 2);  // the job check's enumeration is the first
  m.Run(items);
  EXPECT_THAT(items, IsEmpty());
  EXPECT_TRUE(m.spooler.HasPort("ZNTIP_10.0.0.5"));
}

TEST(RemovalEngineTest, ANameWithMonitorAndProcessorTokensIsAMonitor) {
  UninstallMachine m;
  m.AddMonitor("ZNT USB ZNTPrint");
  std::vector<ComponentItem> items = {{"ZNT USB ZNTPrint", true}};
  m.Run(items);
  EXPECT_EQ(m.p.journal.CountOf("DeleteMonitorW"), 1u);
  EXPECT_EQ(m.p.journal.CountOf("DeletePrintProcessorW"), 0u);
}

TEST(RemovalEngineTest, AQueuedJobStopsTheRunBeforeAnyInfFileIsDeleted) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "USB001");
  m.AddMonitor("ZNT Serial Port Monitor");
  m.p.files.Put("C:\\Windows\\inf\\oem3.inf", "[ZNT]\r\n\"MQ-450\"=mq450.inst,USBPRINT\\ZNT\r\n");
  m.p.files.Put("C:\\Windows\\inf\\oem3.PNF", "precompiled");
  std::vector<ComponentItem> items = m.Items({}, true);
  UninstallConfig config(m.p.profile, testing::kIniPath);
  UninstallTexts texts(m.p.profile, testing::kProgram, 1033);
  RemovalEngine engine(m.Services(), config, texts, m.ui, m.settings);
  ASSERT_TRUE(engine.JobCheck());
  m.spooler.SetQueuedJobs("MQ-450", 1);  // a job arrives after the check
  RemovalResult r = engine.RunWorker(items, /*usbDriver=*/true);
  EXPECT_TRUE(r.aborted);
  EXPECT_THAT(Names(items), ElementsAre("MQ-450", "ZNT Serial Port Monitor"));
  EXPECT_TRUE(m.p.files.Exists("C:\\Windows\\inf\\oem3.inf"));
  EXPECT_TRUE(m.p.files.Exists("C:\\Windows\\inf\\oem3.PNF"));
  EXPECT_THAT(m.ui.log, ElementsAre("IDS_DELETING2(MQ-450)", "IDS_ERR_HAVEJOB1(MQ-450)", "IDS_SELECTPRN1"));
  EXPECT_EQ(m.ui.restartQuestions, 0);
  EXPECT_EQ(m.p.journal.CountOf("ShellExecuteW"), 0u);
  EXPECT_EQ(m.p.journal.CountOf("DeleteMonitorW"), 0u);
}

TEST(RemovalEngineTest, TheJobCheckLooksAtEveryLocalPrinter) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddPrinter("Office", "HP LaserJet", "LPT1:");
  m.spooler.SetQueuedJobs("Office", 3);
  std::vector<ComponentItem> items = m.Items({}, true);
  RemovalResult r = m.Run(items);
  EXPECT_FALSE(r.ran);
  EXPECT_THAT(m.ui.log, ElementsAre("IDS_ERR_HAVEJOB2(Office)"));
  EXPECT_THAT(m.Sleeps(), ElementsAre(100));
  EXPECT_EQ(m.p.journal.CountOf("DeletePrinter"), 0u);
}

TEST(RemovalEngineTest, UsbPrinterInfFilesOfThePackagesManufacturerGoWithTheirPrecompiledTwins) {
  UninstallMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "USB001");
  m.p.files.Put("C:\\Windows\\inf\\oem3.inf", "[ZNT.NTamd64]\r\n\"MQ-450\"=mq450.inst,USBPRINT\\ZNT\r\n",
                platform::kFileAttributeReadonly);
  m.p.files.Put("C:\\Windows\\inf\\oem3.PNF", "precompiled", platform::kFileAttributeReadonly);
  m.p.files.Put("C:\\Windows\\inf\\oem4.inf", "[ZNT]\r\n\"MQ-200\"=mq200.inst\r\n");
  m.p.files.Put("C:\\Windows\\inf\\oem5.inf", "[Other]\r\n\"MQ-450\"=x\r\n");
  std::vector<ComponentItem> items = m.Items({}, true);
  m.Run(items);
  EXPECT_FALSE(m.p.files.Exists("C:\\Windows\\inf\\oem3.inf"));
  EXPECT_FALSE(m.p.files.Exists("C:\\Windows\\inf\\oem3.PNF"));
  EXPECT_TRUE(m.p.files.Exists("C:\\Windows\\inf\\oem4.inf"));
  EXPECT_TRUE(m.p.files.Exists("C:\\Windows\\inf\\oem5.inf"));
}

TEST(RemovalEngineTest, NoDriverIsDeletedOnWindows98AndNt4) {
  for (common::OsGeneration os : {common::OsGeneration::kWin98, common::OsGeneration::kNt4}) {
    UninstallMachine m;
    m.settings.os = os;
    m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
    std::vector<ComponentItem> items = m.Items({}, true);
    m.Run(items);
    EXPECT_THAT(items, IsEmpty());
    EXPECT_NE(m.spooler.FindDriver("", "MQ-450"), nullptr);
    EXPECT_THAT(m.ui.log, ElementsAre("IDS_DELETING2(MQ-450)", "IDS_SUCCESS(MQ-450)"));
  }
}

TEST(RemovalEngineTest, PrinterFailures) {
  struct Case {
    const char* call;
    uint32_t error;
    bool hasEx;
    std::vector<std::string> log;
    size_t left;  // items still listed
  } cases[] = {
      {"DeletePrinter", 5, true, {"IDS_DELETING2(MQ-450)", "IDS_ERR_DELPRINTER", "IDS_SELECTPRN1"}, 1},
      {"OpenPrinterW", 5, true, {"IDS_ERR_OPENPRN(MQ-450)", "IDS_SELECTPRN1"}, 1},
      {"GetPrinterW", 8, true, {"IDS_DELETING2(MQ-450)", "IDS_ERR_ALLOC", "IDS_SELECTPRN1"}, 1},
      {"DeletePrinterDriverExW",
       5,
       true,
       {"IDS_DELETING2(MQ-450)", "IDS_SUCCESS(MQ-450)", "IDS_DRVDELETING(MQ-450)", "IDS_ERR_DRVDEL    er=5"},
       0},
      // A spooler that refuses the delete flags as invalid still deletes the driver the plain way.
      {"DeletePrinterDriverExW",
       87,
       true,
       {"IDS_DELETING2(MQ-450)", "IDS_SUCCESS(MQ-450)", "IDS_DRVDELETING(MQ-450)", "IDS_DRV_SUCCESS"},
       0},
      {"DeletePrinterDriverW",
       87,
       false,
       {"IDS_DELETING2(MQ-450)", "IDS_SUCCESS(MQ-450)", "IDS_DRVDELETING(MQ-450)", "IDS_ERR_DRVDEL    er=87"},
       0},
  };
  for (const Case& c : cases) {
    UninstallMachine m;
    m.settings.hasDeletePrinterDriverEx = c.hasEx;
    m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
    std::vector<ComponentItem> items = m.Items({}, true);
    UninstallConfig config(m.p.profile, testing::kIniPath);
    UninstallTexts texts(m.p.profile, testing::kProgram, 1033);
    RemovalEngine engine(m.Services(), config, texts, m.ui, m.settings);
    ASSERT_TRUE(engine.JobCheck());
    m.p.journal.FailCall(c.call, c.error);
    engine.RunWorker(items, false);
    EXPECT_EQ(m.ui.log, c.log) << c.call;
    EXPECT_EQ(items.size(), c.left) << c.call;
    EXPECT_EQ(m.spooler.OpenHandleCount(), 0u) << c.call;
  }
}

TEST(RemovalEngineTest, AUsbMonitorTakesThePackagesKeysAndItsFilesWithRedirectionOff) {
  UninstallMachine m(/*is64=*/true);
  m.AddMonitor("ZNT USB Port Monitor");
  for (const char* key :
       {"SOFTWARE\\ZNT\\INSTALLPRINTER", "SOFTWARE\\ZNT\\PORTNAME", "SOFTWARE\\ZNT\\PRINTERPORT",
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\ZNT USB Port Monitor"}) {
    platform::RegKey k = 0;
    m.p.registry.CreateKey(platform::kHkeyLocalMachine, key, platform::kKeyAllAccess, &k, nullptr);
    m.p.registry.CloseKey(k);
  }
  for (const char* file : {"ZNTUSBMON.DLL", "ZNTUSBUI.DLL", "ZNTUSBLM.DLL"})
    m.p.files.Put(std::string("C:\\Windows\\system32\\") + file, "dll");
  std::vector<ComponentItem> items = m.Items({}, true);
  m.Run(items);
  EXPECT_THAT(m.ui.log,
              ElementsAre("IDS_DELETING1(ZNT USB Port Monitor)", "IDS_SUCCESS(ZNT USB Port Monitor)"));
  platform::RegKey k = 0;
  EXPECT_NE(m.p.registry.OpenKey(platform::kHkeyLocalMachine, "SOFTWARE\\ZNT", platform::kKeyRead, &k), 0u);
  EXPECT_NE(m.p.registry.OpenKey(platform::kHkeyLocalMachine,
                                 "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\ZNT USB Port Monitor",
                                 platform::kKeyRead, &k),
            0u);
  for (const char* file : {"ZNTUSBMON.DLL", "ZNTUSBUI.DLL", "ZNTUSBLM.DLL"})
    EXPECT_FALSE(m.p.files.Exists(std::string("C:\\Windows\\system32\\") + file)) << file;
  EXPECT_EQ(m.p.journal.CountOf("Wow64DisableWow64FsRedirection"), 3u);
  EXPECT_EQ(m.redirection.depth, 0);
  EXPECT_THAT(m.Sleeps(), ElementsAre(500, 2000, 500));
}

TEST(RemovalEngineTest, MonitorAndProcessorRefusals) {
  struct Case {
    const char* name;
    const char* call;
    uint32_t error;
    const char* line;
    size_t deleteCalls;
  } cases[] = {
      {"ZNT Serial Port Monitor", "DeleteMonitorW", 3008, "IDS_USING(ZNT Serial Port Monitor)", 2},
      {"ZNT Serial Port Monitor", "DeleteMonitorW", 5, "IDS_ERR_UNINSTALL(ZNT Serial Port Monitor)", 2},
      {"ZNTPrint", "DeletePrintProcessorW", 1003, "IDS_USING(ZNTPrint)", 1},
      {"ZNTPrint", "DeletePrintProcessorW", 5, "IDS_ERR_UNINSTALL(ZNTPrint)", 1},
  };
  for (const Case& c : cases) {
    UninstallMachine m;
    m.AddMonitor("ZNT Serial Port Monitor");
    m.spooler.AddPrintProcessor("", "ZNTPROC.DLL", "ZNTPrint");
    std::vector<ComponentItem> items = m.Items({c.name});
    m.p.journal.FailCall(c.call, c.error);
    RemovalResult r = m.Run(items);
    EXPECT_FALSE(r.somethingRemoved) << c.line;
    EXPECT_THAT(m.ui.log,
                ElementsAre("IDS_DELETING1(" + std::string(c.name) + ")", c.line, "IDS_SELECTPRN1"));
    EXPECT_EQ(m.p.journal.CountOf(c.call), c.deleteCalls) << c.line;
    EXPECT_EQ(items.size(), 2u);
  }
}

TEST(RemovalEngineTest, AProcessorTakesItsKeyAndFile) {
  UninstallMachine m;
  m.spooler.AddPrintProcessor("", "ZNTPROC.DLL", "ZNTPrint");
  std::string folder;
  m.spooler.GetPrintProcessorDirectory("", &folder);
  m.p.files.Put(folder + "\\ZNTPROC.DLL", "dll");
  std::string key =
      "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\ZNTPrint";
  platform::RegKey k = 0;
  m.p.registry.CreateKey(platform::kHkeyLocalMachine, key, platform::kKeyAllAccess, &k, nullptr);
  m.p.registry.CloseKey(k);
  std::vector<ComponentItem> items = m.Items({}, true);
  m.Run(items);
  EXPECT_THAT(items, IsEmpty());
  EXPECT_FALSE(m.p.files.Exists(folder + "\\ZNTPROC.DLL"));
  EXPECT_NE(m.p.registry.OpenKey(platform::kHkeyLocalMachine, key, platform::kKeyRead, &k), 0u);
}

TEST(RemovalEngineTest, ComponentFilesInUseAreDeletedAtTheNextStartAndSaidSo) {
  for (bool delayRefused : {false, true}) {
    UninstallMachine m;
    m.AddMonitor("ZNT Serial Port Monitor");
    m.spooler.AddPrintProcessor("", "ZNTPROC.DLL", "ZNTPrint");
    std::string folder;
    m.spooler.GetPrintProcessorDirectory("", &folder);
    const std::string monitorFile = "C:\\Windows\\system32\\ZNTCOMMON.DLL";
    const std::string processorFile = folder + "\\ZNTPROC.DLL";
    m.p.files.Put(monitorFile, "dll");
    m.p.files.Put(processorFile, "dll");
    std::vector<ComponentItem> items = m.Items({}, true);
    m.p.journal.FailCall("DeleteFileW", 32);  // ERROR_SHARING_VIOLATION: still loaded
    if (delayRefused) m.p.journal.FailCall("MoveFileExW", 5);
    m.Run(items);
    EXPECT_THAT(items, IsEmpty());
    if (!delayRefused) {
      EXPECT_THAT(m.p.files.PendingMoves(), ElementsAre(std::make_pair(monitorFile, std::string()),
                                                        std::make_pair(processorFile, std::string())));
      EXPECT_EQ(Count(m.ui.log, monitorFile + " is in use; it is deleted when Windows restarts."), 1u);
      EXPECT_EQ(Count(m.ui.log, processorFile + " is in use; it is deleted when Windows restarts."), 1u);
    } else {
      EXPECT_THAT(m.p.files.PendingMoves(), IsEmpty());
      EXPECT_EQ(Count(m.ui.log, monitorFile + " could not be deleted (error 32)."), 1u);
      EXPECT_EQ(Count(m.ui.log, processorFile + " could not be deleted (error 32)."), 1u);
    }
  }
}

TEST(RemovalEngineTest, OnWindows98APrinterOnAZntcomPortKeepsTheSerialMonitor) {
  UninstallMachine m;
  m.settings.os = common::OsGeneration::kWin98;
  m.AddPrinter("Other", "HP", "ZNTCOM1:");
  m.AddMonitor("ZNT Serial Port Monitor");
  std::vector<ComponentItem> items = m.Items({}, true);
  m.Run(items);
  EXPECT_THAT(m.ui.log, ElementsAre("IDS_DELETING1(ZNT Serial Port Monitor)",
                                    "IDS_ERR_HAVEJOB1(ZNT Serial Port Monitor)",
                                    "IDS_USING(ZNT Serial Port Monitor)", "IDS_SELECTPRN1"));
  EXPECT_EQ(m.p.journal.CountOf("DeleteMonitorW"), 0u);
}

TEST(RemovalEngineTest, RestartAnswers) {
  struct Case {
    common::OsGeneration os;
    bool answer;
    const char* failPrivilege;
    int reboots;
  } cases[] = {{common::OsGeneration::kWin7, true, nullptr, 1},
               {common::OsGeneration::kWin7, false, nullptr, 0},
               {common::OsGeneration::kWin7, true, "AdjustTokenPrivileges", 0},
               {common::OsGeneration::kWin98, true, "AdjustTokenPrivileges", 1}};
  for (const Case& c : cases) {
    UninstallMachine m;
    m.settings.os = c.os;
    m.AddMonitor("ZNT Serial Port Monitor");
    m.ui.restartAnswer = c.answer;
    if (c.failPrivilege != nullptr) m.p.journal.FailCall(c.failPrivilege, 1300);
    std::vector<ComponentItem> items = m.Items({}, true);
    m.Run(items);
    EXPECT_EQ(m.ui.restartQuestions, 1);
    EXPECT_EQ(m.shutdown.reboots, c.reboots) << static_cast<int>(c.os) << c.answer;
  }
}

TEST(RemovalEngineTest, AUsbDriverInstallerThatDidNotStartIsNotReportedAsFinished) {
  UninstallMachine m(/*is64=*/true);
  m.p.journal.FailCall("ShellExecuteW", 2);
  std::vector<ComponentItem> items;
  m.Run(items, /*usbDriver=*/true);
  EXPECT_EQ(Count(m.ui.log, "IDS_DRV_SUCCESS1"), 0u);
  EXPECT_THAT(m.ui.log, ElementsAre("IDS_DELETING3",
                                    "IDS_ERR_UNINSTALL(C:\\Package\\USBDrv\\USBDriver_x64\\Install.exe)"));
  EXPECT_THAT(m.ui.controls, ElementsAre(ControlState::kRunning, ControlState::kListEmpty));
}

}  // namespace
}  // namespace mq::uninstall
