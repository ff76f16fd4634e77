// The uninstaller's dialogs through the controls fake: what the main dialog shows when it opens (component
// list, texts, log, the Chinese font), the start failures, the USB-driver check box, a removal run with its
// restart question, help and About.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "UninstallResources.h"
#include "uninstall/StartChecks.h"

namespace mq::uninstall {
namespace {

using platform::ui::FakeDialogControls;
using platform::ui::kIdCancel;
using platform::ui::kIdOk;
using testing::DialogMachine;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Rows(FakeDialogControls& c) {
  std::vector<std::string> rows;
  for (const auto& cells : c.At(IDC_UNINSTALL_COMPONENTS).rows) rows.push_back(cells.at(0));
  return rows;
}

std::vector<std::string> LogLines(FakeDialogControls& c) {
  return c.At(IDC_UNINSTALL_LOG).items;
}

TEST(UninstallDialogTest, OpensWithThePackagesComponentsItsTextsAndTheFirstLogLine) {
  DialogMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddPrinter("Office", "HP LaserJet", "LPT1:");
  m.AddMonitor("ZNT Serial Port Monitor");
  m.p.files.Put("C:\\Package\\language\\uninstall_EN.ini",
                "[Uninstall]\r\nTitle=Remove\r\nNote=Pick\r\nUninstall=Go\r\nSelect=All\r\nExit=Quit\r\n"
                "USBuninstall=USB too\r\n[Message]\r\nIDS_ABOUTBOX=About...\r\nIDS_SELECTPRN1=Choose\r\n");
  m.Open();
  FakeDialogControls& c = m.controls;
  EXPECT_THAT(Rows(c), ElementsAre("MQ-450", "ZNT Serial Port Monitor"));
  EXPECT_EQ(c.At(IDC_UNINSTALL_COMPONENTS).extendedStyles, 0x2Du);
  EXPECT_THAT(LogLines(c), ElementsAre("Choose"));
  EXPECT_EQ(c.At(IDC_UNINSTALL_LOG).selection, 0);
  EXPECT_EQ(c.Title(), "Remove");
  EXPECT_EQ(c.GetText(IDC_UNINSTALL_NOTE), "Pick");
  EXPECT_EQ(c.GetText(IDC_UNINSTALL_START), "Go");
  EXPECT_EQ(c.GetText(IDC_UNINSTALL_SELECT), "All");
  EXPECT_EQ(c.GetText(kIdCancel), "Quit");
  EXPECT_EQ(c.GetText(IDC_UNINSTALL_USB_DRIVER), "USB too");
  EXPECT_THAT(c.SystemMenu(), ElementsAre(std::make_pair(IDM_UNINSTALL_ABOUT, std::string("About..."))));
  EXPECT_EQ(c.Icon(), IDI_UNINSTALL);
  EXPECT_FALSE(c.Font().has_value());
  EXPECT_TRUE(c.IsEnabled(IDC_UNINSTALL_SELECT));
  EXPECT_FALSE(c.IsEnabled(IDC_UNINSTALL_USB_DRIVER));  // no USB driver installed
  EXPECT_FALSE(c.EndedWith().has_value());
  EXPECT_THAT(c.Messages(), IsEmpty());
}

TEST(UninstallDialogTest, ChineseLanguagesGetTheirFileAndTheChineseFontInEveryDialog) {
  struct Case {
    uint16_t langId;
    const char* file;
    bool chineseFont;
  } cases[] = {{2052, "CN", true},  {1028, "TCN", true}, {3076, "TCN", true},
               {4100, "TCN", true}, {1033, "EN", false}, {1041, "EN", false}};
  for (const Case& k : cases) {
    DialogMachine m;
    m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
    m.p.files.Put(std::string("C:\\Package\\language\\uninstall_") + k.file + ".ini",
                  std::string("[Uninstall]\r\nTitle=") + k.file + "\r\n[About]\r\nTitle=About " + k.file +
                      "\r\n[Reboot]\r\nTitle=Restart " + k.file + "\r\nYes=Y\r\n");
    m.facts.langId = k.langId;
    m.p.system.langId = k.langId;
    std::vector<std::string> nestedTitles;
    std::vector<bool> nestedFonts;
    m.controls.SetModalScript([&](FakeDialogControls& d, int) {
      nestedTitles.push_back(d.Title());
      nestedFonts.push_back(d.Font().has_value());
      d.Click(kIdOk);
    });
    m.Open();
    EXPECT_EQ(m.controls.Title(), k.file) << k.langId;
    ASSERT_EQ(m.controls.Font().has_value(), k.chineseFont) << k.langId;
    if (k.chineseFont) {
      const platform::ui::DialogFont& f = *m.controls.Font();
      EXPECT_EQ(f.face, "宋体");
      EXPECT_EQ(f.height, 13);
      EXPECT_EQ(f.weight, 400);
      EXPECT_EQ(f.charset, 134);
      EXPECT_EQ(f.pitchFamily, 0x20);
    }
    m.controls.SystemCommand(IDM_UNINSTALL_ABOUT);
    m.controls.ListViewSetChecked(IDC_UNINSTALL_COMPONENTS, 0, true);
    m.controls.Click(IDC_UNINSTALL_START);
    EXPECT_THAT(nestedTitles, ElementsAre(std::string("About ") + k.file, std::string("Restart ") + k.file))
        << k.langId;
    EXPECT_THAT(nestedFonts, ElementsAre(k.chineseFont, k.chineseFont)) << k.langId;
  }
}

TEST(UninstallDialogTest, StartFailuresShowTheirMessageAndClose) {
  struct Case {
    const char* name;
    std::function<void(DialogMachine&)> setUp;
    const char* message;
  } cases[] = {
      // Without the current directory the language file cannot be found either: the box is empty.
      {"no current directory", [](DialogMachine& m) { m.facts.programFolder.clear(); }, ""},
      {"folder cannot be searched", [](DialogMachine& m) { m.p.journal.FailCall("FindFirstFileW", 5); },
       "IDS_ERR_INVALID"},
      {"no Uninstall.ini",
       [](DialogMachine& m) {
         m.p.files.Delete(testing::kIniPath);
         m.p.files.MakeFolders("C:\\Package\\DRVCONFIG");
       },
       "IDS_ERR_NOINI"},
  };
  for (const Case& k : cases) {
    DialogMachine m;
    m.p.files.Put("C:\\Package\\language\\uninstall_EN.ini",
                  "[Message]\r\nIDS_ERR_GETSYSDIR=IDS_ERR_GETSYSDIR\r\nIDS_ERR_INVALID=IDS_ERR_INVALID\r\n"
                  "IDS_ERR_NOINI=IDS_ERR_NOINI\r\n");
    k.setUp(m);
    m.Open();
    ASSERT_EQ(m.controls.Messages().size(), 1u) << k.name;
    EXPECT_EQ(m.controls.Messages()[0].text, k.message) << k.name;
    EXPECT_EQ(m.controls.EndedWith(), kIdCancel) << k.name;
  }
}

TEST(UninstallDialogTest, AnEmptyListDisablesSelectOnly) {
  DialogMachine m;
  m.Open();
  EXPECT_THAT(Rows(m.controls), IsEmpty());
  EXPECT_FALSE(m.controls.IsEnabled(IDC_UNINSTALL_SELECT));
  EXPECT_TRUE(m.controls.IsEnabled(IDC_UNINSTALL_START));
}

TEST(UninstallDialogTest, WithoutTheSpoolerLibraryTheDialogStaysAndTheUsbBoxIsLeftAlone) {
  DialogMachine m;
  m.facts.winspoolLoaded = false;
  m.Open();
  ASSERT_EQ(m.controls.Messages().size(), 1u);
  EXPECT_EQ(m.controls.Messages()[0].text, "no Winspool lib  ");
  EXPECT_FALSE(m.controls.EndedWith().has_value());
  EXPECT_TRUE(m.controls.IsEnabled(IDC_UNINSTALL_USB_DRIVER));
  EXPECT_EQ(m.usb.loads, 0);
}

TEST(UninstallDialogTest, TheUsbDriverBoxFollowsTheDriverFileAndTheProbe) {
  struct Case {
    const char* name;
    std::function<void(DialogMachine&)> setUp;
    bool enabled;
    const char* message;  // "" for none
  } cases[] = {
      {"no driver file", [](DialogMachine& m) { m.bus.Add(0x1D3B, 0x1001, 0, true); }, false, ""},
      {"driver, no printer", [](DialogMachine& m) { m.AddUsbDriver(0); }, false, ""},
      {"driver, one printer", [](DialogMachine& m) { m.AddUsbDriver(1); }, true, ""},
      {"driver, two printers", [](DialogMachine& m) { m.AddUsbDriver(2); }, true, ""},
      {"the other driver file",
       [](DialogMachine& m) {
         m.p.files.Put("C:\\Windows\\System32\\drivers\\BULKUSB.sys", "driver");
         m.bus.Add(0x1D3B, 0x1001, 0, true);
       },
       true, ""},
      {"library missing",
       [](DialogMachine& m) {
         m.AddUsbDriver(1);
         m.usb.absentLibraries.insert("ZnUsbInt.dll");
       },
       false, "Can not load ZnUsbInt.dll"},
      {"entry point missing",
       [](DialogMachine& m) {
         m.AddUsbDriver(1);
         m.usb.missingEntries.insert("GetDescriptor");
       },
       false, "open function error"},
      {"descriptor unreadable",
       [](DialogMachine& m) {
         m.AddUsbDriver(1);
         m.p.journal.FailCall("GetDescriptor", 31);
       },
       false, "Get Device ID error"},
  };
  for (const Case& k : cases) {
    DialogMachine m;
    k.setUp(m);
    m.Open();
    EXPECT_EQ(m.controls.IsEnabled(IDC_UNINSTALL_USB_DRIVER), k.enabled) << k.name;
    std::string shown = m.controls.Messages().empty() ? "" : m.controls.Messages()[0].text;
    EXPECT_EQ(shown, k.message) << k.name;
    EXPECT_EQ(m.usb.opens, m.usb.closes) << k.name;
    EXPECT_EQ(m.usb.loads, m.usb.unloads) << k.name;
  }
}

TEST(UninstallDialogTest, On64BitWindowsTheDriverFilesAreLookedForWithRedirectionOff) {
  DialogMachine m(/*is64=*/true);
  m.AddUsbDriver(1);
  m.Open();
  EXPECT_TRUE(m.controls.IsEnabled(IDC_UNINSTALL_USB_DRIVER));
  EXPECT_EQ(m.redirection.depth, 0);
  EXPECT_EQ(m.p.journal.CountOf("Wow64DisableWow64FsRedirection"), 1u);

  // Redirection refused: the files cannot be looked for, and the box stays enabled without a probe.
  DialogMachine refused(/*is64=*/true);
  refused.p.journal.FailCall("Wow64DisableWow64FsRedirection", 1);
  refused.Open();
  EXPECT_TRUE(refused.controls.IsEnabled(IDC_UNINSTALL_USB_DRIVER));
  EXPECT_EQ(refused.usb.loads, 0);
}

TEST(UninstallDialogTest, ProbeResults) {
  struct Case {
    int devices;
    uint16_t bcd;
    int expected;
  } cases[] = {{0, 0, kUsbProbeNone}, {1, 0x0105, 0x0105}, {1, 0, 0}, {2, 7, kUsbProbeSeveral}};
  for (const Case& k : cases) {
    DialogMachine m;
    m.AddUsbDriver(k.devices, k.bcd);
    std::vector<std::string> shown;
    EXPECT_EQ(ProbeUsbDevices(m.usb, testing::kProgram, [&](std::string_view t) { shown.emplace_back(t); }),
              k.expected)
        << k.devices;
    EXPECT_THAT(shown, IsEmpty());
    EXPECT_EQ(m.usb.opens, m.usb.closes);
    EXPECT_THAT(m.p.journal.CallsTo("LoadLibraryW"),
                ElementsAre("LoadLibraryW path=C:\\Package\\ZnUsbInt.dll"));
  }
}

TEST(UninstallDialogTest, ARemovalRunDeletesTheCheckedRowAsksToRestartAndReEnablesTheControls) {
  DialogMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddMonitor("ZNT Serial Port Monitor");
  m.AddUsbDriver(1);
  m.worker.hold = true;
  int restartTemplate = 0;
  m.controls.SetModalScript([&](FakeDialogControls& d, int templateId) {
    restartTemplate = templateId;
    d.Click(kIdOk);
  });
  m.Open();
  m.controls.ListViewSetChecked(IDC_UNINSTALL_COMPONENTS, 0, true);
  m.controls.Click(IDC_UNINSTALL_START);
  ASSERT_TRUE(m.worker.held.has_value());
  EXPECT_TRUE(m.dialog->Running());
  // While the worker runs, closing the dialog is refused.
  m.controls.Click(kIdCancel);
  EXPECT_FALSE(m.controls.EndedWith().has_value());
  m.controls.Click(IDC_UNINSTALL_START);  // a second press starts nothing
  m.worker.Release();
  EXPECT_FALSE(m.worker.held.has_value());
  EXPECT_FALSE(m.dialog->Running());

  EXPECT_THAT(Rows(m.controls), ElementsAre("ZNT Serial Port Monitor"));
  EXPECT_EQ(restartTemplate, IDD_UNINSTALL_RESTART);
  EXPECT_EQ(m.shutdown.reboots, 1);
  std::vector<std::string> log = LogLines(m.controls);
  EXPECT_EQ(log.front(), "IDS_SELECTPRN1");
  EXPECT_EQ(log[1], "IDS_DELETING2(MQ-450)");
  EXPECT_EQ(log.back(), "IDS_SELECTPRN1");
  EXPECT_EQ(m.controls.At(IDC_UNINSTALL_LOG).selection, static_cast<int>(log.size()) - 1);
  EXPECT_EQ(m.controls.At(IDC_UNINSTALL_LOG).extentFits, 1);
  for (int id : {IDC_UNINSTALL_START, IDC_UNINSTALL_COMPONENTS, IDC_UNINSTALL_SELECT, kIdCancel,
                 IDC_UNINSTALL_USB_DRIVER})
    EXPECT_TRUE(m.controls.IsEnabled(id)) << id;

  // The last item: the list is empty afterwards and only Exit stays enabled.
  m.controls.Click(IDC_UNINSTALL_SELECT);
  m.controls.Click(IDC_UNINSTALL_START);
  m.worker.Release();
  EXPECT_THAT(Rows(m.controls), IsEmpty());
  for (int id :
       {IDC_UNINSTALL_START, IDC_UNINSTALL_COMPONENTS, IDC_UNINSTALL_SELECT, IDC_UNINSTALL_USB_DRIVER})
    EXPECT_FALSE(m.controls.IsEnabled(id)) << id;
  EXPECT_TRUE(m.controls.IsEnabled(kIdCancel));
  m.controls.Click(kIdCancel);
  EXPECT_EQ(m.controls.EndedWith(), kIdCancel);
}

TEST(UninstallDialogTest, AUsbBoxTheStartDisabledStaysDisabledAfterARun) {
  DialogMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.AddPrinter("MQ-450 (2)", "MQ-450", "LPT2:");
  m.Open();
  ASSERT_FALSE(m.controls.IsEnabled(IDC_UNINSTALL_USB_DRIVER));
  m.controls.ListViewSetChecked(IDC_UNINSTALL_COMPONENTS, 1, true);
  m.controls.Click(IDC_UNINSTALL_START);
  EXPECT_THAT(Rows(m.controls), ElementsAre("MQ-450"));
  EXPECT_TRUE(m.controls.IsEnabled(IDC_UNINSTALL_START));
  EXPECT_FALSE(m.controls.IsEnabled(IDC_UNINSTALL_USB_DRIVER));
  EXPECT_EQ(m.shutdown.reboots, 0);  // the restart question was answered No (the dialog was closed)
}

TEST(UninstallDialogTest, AFailedJobCheckStartsNoWorker) {
  DialogMachine m;
  m.AddPrinter("MQ-450", "MQ-450", "LPT1:");
  m.spooler.SetQueuedJobs("MQ-450", 2);
  m.worker.hold = true;
  m.Open();
  m.controls.Click(IDC_UNINSTALL_SELECT);
  m.controls.Click(IDC_UNINSTALL_START);
  EXPECT_FALSE(m.worker.held.has_value());
  EXPECT_FALSE(m.dialog->Running());
  EXPECT_EQ(LogLines(m.controls).back(), "IDS_ERR_HAVEJOB2(MQ-450)");
  EXPECT_TRUE(m.controls.IsEnabled(IDC_UNINSTALL_START));
}

TEST(UninstallDialogTest, HelpBringsTheHelpWindowUpOrOpensTheEnglishThenTheChineseFile) {
  DialogMachine m;
  m.Open();
  m.windows.titles.insert("Uninstall");
  EXPECT_TRUE(m.controls.PressHelp());
  EXPECT_EQ(m.p.journal.CountOf("ShellExecuteW"), 0u);
  EXPECT_EQ(m.p.journal.CountOf("SetForegroundWindow"), 1u);

  m.windows.titles.clear();
  m.p.journal.FailCall("ShellExecuteW", 2, 1);  // the English file is missing
  m.controls.PressHelp();
  EXPECT_THAT(
      m.p.journal.CallsTo("ShellExecuteW"),
      ElementsAre("ShellExecuteW verb=open file=.\\Uninstall_EN.CHM parameters= directory= show=1 -> error 2",
                  "ShellExecuteW verb=open file=.\\Uninstall_CN.CHM parameters= directory= show=1"));
}

TEST(UninstallDialogTest, TheAboutItemOpensAboutWithItsTexts) {
  DialogMachine m;
  m.p.files.Put("C:\\Package\\language\\uninstall_EN.ini",
                "[About]\r\nTitle=About it\r\nVersion=V 1.0\r\nCopyright=(C) ZNT\r\nOK=Fine\r\n");
  std::map<int, std::string> shown;
  m.controls.SetModalScript([&](FakeDialogControls& d, int templateId) {
    EXPECT_EQ(templateId, IDD_UNINSTALL_ABOUT);
    shown = {{0, d.Title()},
             {IDC_ABOUT_VERSION, d.GetText(IDC_ABOUT_VERSION)},
             {IDC_ABOUT_COPYRIGHT, d.GetText(IDC_ABOUT_COPYRIGHT)},
             {kIdOk, d.GetText(kIdOk)}};
    d.Click(kIdOk);
  });
  m.Open();
  EXPECT_TRUE(m.controls.SystemCommand(IDM_UNINSTALL_ABOUT | 0x3));  // the low four bits are the system's
  EXPECT_EQ(shown[0], "About it");
  EXPECT_EQ(shown[IDC_ABOUT_VERSION], "V 1.0");
  EXPECT_EQ(shown[IDC_ABOUT_COPYRIGHT], "(C) ZNT");
  EXPECT_EQ(shown[kIdOk], "Fine");
  EXPECT_FALSE(m.controls.SystemCommand(0xF060));  // SC_CLOSE is the system's
  EXPECT_EQ(m.p.journal.CountOf("DialogBoxParamW"), 1u);
}

}  // namespace
}  // namespace mq::uninstall
