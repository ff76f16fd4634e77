// The setup wizard's logic through the in-memory dialogs: the pages at start, Back and Next with the rules
// between pages, the OS page's choices, Install on the last page, F1, the dialog font and the progress
// dialog's pace on the virtual clock.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "InstallerFixture.h"
#include "InstallerResources.h"
#include "installer/StartChecks.h"
#include "installer/Wizard.h"
#include "platform/fake/FakeDialogControls.h"

namespace mq::installer {
namespace {

using platform::ui::DialogControls;
using platform::ui::DialogLogic;
using platform::ui::FakeDialogControls;
using testing::TestMachine;

// The wizard window's side: pages as in-memory dialogs, the worker run at once on the caller's thread.
class FakeHost : public WizardHost {
 public:
  FakeHost(platform::CallJournal& journal, FakeDialogControls& frame) : journal_(journal), frame_(frame) {}

  bool CreatePage(int templateId, int controlId, DialogLogic& logic) override {
    auto page = std::make_unique<FakeDialogControls>(journal_);
    page->DeclareRadioGroup({IDC_LICENSE_ACCEPT, IDC_LICENSE_REJECT});
    page->DeclareRadioGroup({IDC_MODULE_RECEIPT, IDC_MODULE_TICKET, IDC_MODULE_LABEL, IDC_MODULE_EMBEDDED});
    page->DeclareRadioGroup({IDC_MODE_TYPICAL, IDC_MODE_ADVANCED});
    page->DeclareCheckBox(IDC_MODULE_DEFAULT);
    frame_.Show(controlId, false);
    page->Start(logic);
    pages[templateId] = std::move(page);
    return true;
  }
  void PrepareDialog(DialogControls&) override { ++prepared; }
  void AddAboutItem(std::string_view text) override { aboutItem = std::string(text); }
  bool LoadSidePicture(std::string_view path) override {
    picture = std::string(path);
    return pictureLoads;
  }
  void Minimise() override { minimised = true; }
  void RunProgress(ProgressLoop& loop) override {
    FakeDialogControls progress(journal_);
    loop.Run(progress);
    progressRan = progress.EndedWith().has_value();
  }
  bool StartWorker(std::function<void()> body) override {
    body();
    return true;
  }
  void JoinWorker() override { joined = true; }
  bool BringToFront(std::string_view title) override {
    frontAsked = std::string(title);
    return windowExists;
  }
  std::string ResourceText(int id) override { return "resource " + std::to_string(id); }

  FakeDialogControls& Page(int templateId) { return *pages.at(templateId); }

  std::map<int, std::unique_ptr<FakeDialogControls>> pages;
  std::string aboutItem, picture, frontAsked;
  bool pictureLoads = true, minimised = false, progressRan = false, joined = false, windowExists = false;
  int prepared = 0;

 private:
  platform::CallJournal& journal_;
  FakeDialogControls& frame_;
};

class WizardTest : public ::testing::Test {
 public:
  explicit WizardTest(bool is64 = false) : machine_(is64) {
    // A second receipt model with another speed, and the licence.
    auto& files = machine_.p.files;
    files.Put(testing::kPackage + std::string("\\License\\License_EN.txt"), "Licence terms\r\n");
    machine_.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "DEVICENUMBER", "4");
    machine_.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "DEVICENAME4", "XY-200-ReceiptPrinter");
    machine_.p.profile.WriteString(machine_.ModelFile(), "XY-200.PORT", "BaudRate", "115200");
    machine_.p.profile.WriteString(machine_.ModelFile(), "XY-200.PORT", "AdvancedSetup", "0");
    machine_.p.profile.WriteString(machine_.ModelFile(), "XY-200.PORT", "LPTSUPPORTED", "1");
  }

  // Starts the wizard on a machine of this version (Windows 7 workstation unless told).
  void Start(platform::OsVersion version = {6, 1, 7601, 2, 1, 1}) {
    bool is64 = common::Is64BitWindows(machine_.p.system);
    config_ = std::make_unique<SetupConfig>(machine_.p.profile, testing::kPackage, is64);
    texts_ = std::make_unique<common::LanguageTexts>(machine_.p.profile, std::string(testing::kPackage) + "\\language",
                                                     "setup", 0x0409);
    WizardEnvironment env{*config_,          *texts_,           0x0409,
                          DetectOs(version, machine_.p.system.architecture),
                          administrator_,    "C:\\Windows",     machine_.p.files,
                          machine_.p.shell,  machine_.p.clock,  machine_.usb,
                          nullptr,           {}};
    wizard_ = std::make_unique<Wizard>(env, host_);
    engine_ = std::make_unique<InstallEngine>(machine_.Services(), *config_, *texts_, *wizard_, usb_);
    wizard_->UseEngine(*engine_);
    frame_.Start(*wizard_);
  }

  FakeDialogControls& Page(int templateId) { return host_.Page(templateId); }
  bool Shown(int controlId) { return frame_.IsVisible(controlId); }
  void Next() { frame_.Click(IDC_WIZARD_NEXT); }
  void Back() { frame_.Click(IDC_WIZARD_BACK); }
  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& m : frame_.Messages()) texts.push_back(m.text);
    return texts;
  }

  TestMachine machine_;
  bool administrator_ = true;
  testing::VendorDriverUsb usb_;
  FakeDialogControls frame_{machine_.p.journal};
  FakeHost host_{machine_.p.journal, frame_};
  std::unique_ptr<SetupConfig> config_;
  std::unique_ptr<common::LanguageTexts> texts_;
  std::unique_ptr<Wizard> wizard_;
  std::unique_ptr<InstallEngine> engine_;
};

// A second wizard inside one test, for tables of starts.
struct ScratchWizard : WizardTest {
  explicit ScratchWizard(bool is64 = false) : WizardTest(is64) {}
  void TestBody() override {}
};

TEST_F(WizardTest, WithoutLicenceItOpensOnTheModulePageWithBackDisabled) {
  Start();
  EXPECT_EQ(wizard_->currentPage(), 1);
  EXPECT_TRUE(Shown(IDC_WIZARD_PAGE_MODULE));
  EXPECT_FALSE(Shown(IDC_WIZARD_PAGE_LICENSE));
  EXPECT_FALSE(frame_.IsEnabled(IDC_WIZARD_BACK));
  EXPECT_TRUE(frame_.IsEnabled(IDC_WIZARD_NEXT));
  EXPECT_FALSE(frame_.EndedWith().has_value());
  EXPECT_EQ(frame_.Title(), "MQ Printer Setup");  // the language file has no [Setup]: the built-in text
  EXPECT_EQ(host_.aboutItem, "&About MQ Printer Setup...");
  EXPECT_EQ(host_.picture, "C:\\Package\\DRVCONFIG\\Left.bmp");
  EXPECT_EQ(host_.pages.size(), 5u);
  EXPECT_EQ(host_.prepared, 6);  // the wizard and each page get the dialog font

  // The default model (DEFAULTNAME=1) is chosen and only its list is enabled.
  FakeDialogControls& module = Page(IDD_MODULE_PAGE);
  EXPECT_TRUE(module.IsChecked(IDC_MODULE_RECEIPT));
  EXPECT_TRUE(module.IsEnabled(IDC_MODULE_RECEIPT_LIST));
  EXPECT_FALSE(module.IsEnabled(IDC_MODULE_LABEL_LIST));
  EXPECT_EQ(wizard_->modulePage().model(), "XY-100");
  EXPECT_EQ(module.At(IDC_MODULE_RECEIPT_LIST).items, (std::vector<std::string>{"XY-100", "XY-200"}));
  EXPECT_EQ(module.At(IDC_MODULE_LABEL_LIST).items, (std::vector<std::string>{"XY-L1"}));
}

TEST_F(WizardTest, LicenceMustBeAcceptedAndRejectingAgainDisablesNext) {
  machine_.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "LOADLICENSE", "1");
  Start();
  FakeDialogControls& licence = Page(IDD_LICENSE_PAGE);
  EXPECT_EQ(wizard_->currentPage(), 0);
  EXPECT_EQ(licence.GetText(IDC_LICENSE_TEXT), "Licence terms\r\n");
  EXPECT_TRUE(licence.IsChecked(IDC_LICENSE_REJECT));
  EXPECT_FALSE(frame_.IsEnabled(IDC_WIZARD_NEXT));
  licence.Click(IDC_LICENSE_ACCEPT);
  EXPECT_TRUE(frame_.IsEnabled(IDC_WIZARD_NEXT));
  licence.Click(IDC_LICENSE_REJECT);
  EXPECT_FALSE(frame_.IsEnabled(IDC_WIZARD_NEXT));
  licence.Click(IDC_LICENSE_ACCEPT);
  Next();
  EXPECT_EQ(wizard_->currentPage(), 1);
  EXPECT_TRUE(frame_.IsEnabled(IDC_WIZARD_BACK));
  Back();
  EXPECT_EQ(wizard_->currentPage(), 0);
  EXPECT_FALSE(frame_.IsEnabled(IDC_WIZARD_BACK));
}

TEST_F(WizardTest, StartFailuresCloseTheWizardWithTheirMessage) {
  struct Case {
    const char* what;
    std::function<void(WizardTest&)> arrange;
    const char* message;
  };
  const Case cases[] = {
      {"licence missing",
       [](WizardTest& t) {
         t.machine_.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "LOADLICENSE", "1");
         t.machine_.p.files.Delete("C:\\Package\\License\\License_EN.txt");
       },
       "The licence agreement is missing."},
      {"side picture missing", [](WizardTest& t) { t.host_.pictureLoads = false; },
       "The setup picture DRVCONFIG\\Left.bmp is missing."},
      {"no administrator", [](WizardTest& t) { t.administrator_ = false; },
       "You need administrator rights to install a printer.\r\nLog on as an administrator and run the setup "
       "again."},
  };
  for (const Case& c : cases) {
    ScratchWizard t;
    c.arrange(t);
    t.Start();
    EXPECT_EQ(t.frame_.EndedWith(), -1) << c.what;
    EXPECT_EQ(t.MessageTexts(), std::vector<std::string>{c.message}) << c.what;
  }
}

TEST_F(WizardTest, TypesWithoutModelsAreDisabled) {
  machine_.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "DEVICENUMBER", "1");
  machine_.p.profile.WriteString(testing::kSetupIni, "DEVICENAME", "DEVICENAME1", "XY-L1-LabelPrinter");
  Start();
  FakeDialogControls& module = Page(IDD_MODULE_PAGE);
  EXPECT_FALSE(module.IsEnabled(IDC_MODULE_RECEIPT));
  EXPECT_FALSE(module.IsEnabled(IDC_MODULE_TICKET));
  EXPECT_FALSE(module.IsEnabled(IDC_MODULE_EMBEDDED));
  EXPECT_TRUE(module.IsEnabled(IDC_MODULE_LABEL));
  EXPECT_TRUE(module.IsChecked(IDC_MODULE_LABEL));
  EXPECT_EQ(wizard_->modulePage().type(), PrinterType::kLabel);
  EXPECT_EQ(wizard_->modulePage().model(), "XY-L1");
}

TEST_F(WizardTest, ChoosingATypeTakesItsListsModel) {
  Start();
  FakeDialogControls& module = Page(IDD_MODULE_PAGE);
  module.Click(IDC_MODULE_LABEL);
  EXPECT_EQ(wizard_->modulePage().model(), "XY-L1");
  EXPECT_TRUE(module.IsEnabled(IDC_MODULE_LABEL_LIST));
  EXPECT_FALSE(module.IsEnabled(IDC_MODULE_RECEIPT_LIST));
  module.Click(IDC_MODULE_RECEIPT);
  module.Choose(IDC_MODULE_RECEIPT_LIST, 1);
  EXPECT_EQ(wizard_->modulePage().model(), "XY-200");
  EXPECT_EQ(wizard_->modulePage().type(), PrinterType::kReceipt);
}

TEST_F(WizardTest, AnotherModelChosenAfterGoingBackGetsItsOwnSpeed) {
  Start();
  Next();  // mode
  Next();  // OS
  Next();  // port
  FakeDialogControls& port = Page(IDD_PORT_PAGE);
  EXPECT_EQ(port.Selection(IDC_PORT_SPEED), 4);  // XY-100: 19200
  EXPECT_EQ(frame_.GetText(IDC_WIZARD_NEXT), "&Install");
  Back();
  EXPECT_EQ(frame_.GetText(IDC_WIZARD_NEXT), "&Next >");
  Back();
  Back();  // leaving the mode page backwards
  EXPECT_EQ(wizard_->currentPage(), 1);
  EXPECT_FALSE(frame_.IsEnabled(IDC_WIZARD_BACK));
  Page(IDD_MODULE_PAGE).Choose(IDC_MODULE_RECEIPT_LIST, 1);
  Next();
  // XY-200 allows typical setup only.
  FakeDialogControls& mode = Page(IDD_MODE_PAGE);
  EXPECT_FALSE(mode.IsEnabled(IDC_MODE_ADVANCED));
  EXPECT_TRUE(mode.IsChecked(IDC_MODE_TYPICAL));
  EXPECT_EQ(mode.GetText(IDC_MODE_NOTE1), "This model is installed with the typical settings.");
  Next();
  Next();
  EXPECT_EQ(port.Selection(IDC_PORT_SPEED), 7);  // XY-200: 115200
  EXPECT_EQ(port.ItemText(IDC_PORT_LIST, port.Selection(IDC_PORT_LIST)), "LPT1:");

  // Back to the OS page and forward again keeps a speed the user chose.
  port.Choose(IDC_PORT_SPEED, 2);
  Back();
  Next();
  EXPECT_EQ(port.Selection(IDC_PORT_SPEED), 2);
}

TEST_F(WizardTest, AdvancedModeShowsItsNotes) {
  Start();
  Next();
  FakeDialogControls& mode = Page(IDD_MODE_PAGE);
  EXPECT_TRUE(mode.IsEnabled(IDC_MODE_ADVANCED));
  EXPECT_FALSE(mode.IsVisible(IDC_MODE_NOTE2));
  mode.Click(IDC_MODE_ADVANCED);
  EXPECT_FALSE(mode.GetText(IDC_MODE_NOTE1).empty());
  EXPECT_TRUE(mode.IsVisible(IDC_MODE_NOTE2));
  EXPECT_FALSE(mode.IsVisible(IDC_MODE_NOTE3));
  Next();
  Next();
  // Advanced setup lists every USB port and shows the raster check box (RASTERVISIABLE=1).
  FakeDialogControls& port = Page(IDD_PORT_PAGE);
  EXPECT_EQ(port.ItemText(IDC_PORT_LIST, port.ItemCount(IDC_PORT_LIST) - 1), "ZNTUSB4");
  EXPECT_TRUE(port.IsVisible(IDC_PORT_RASTER));
  EXPECT_TRUE(port.IsChecked(IDC_PORT_RASTER));
  EXPECT_EQ(port.At(IDC_PORT_RASTER).toolTip, "resource 134");
  // A serial port enables the serial lists and clears the raster box.
  port.Choose(IDC_PORT_LIST, 3);
  EXPECT_EQ(port.ItemText(IDC_PORT_LIST, 3), "ZNTCOM1:");
  EXPECT_TRUE(port.IsEnabled(IDC_PORT_SPEED));
  EXPECT_FALSE(port.IsEnabled(IDC_PORT_RASTER));
  EXPECT_FALSE(port.IsChecked(IDC_PORT_RASTER));
}

TEST_F(WizardTest, AModelNotForWindows7CannotLeaveTheOsPage) {
  machine_.SetPortKey("SystemWin7Supported", "0");
  Start();
  Next();
  Next();
  Next();
  EXPECT_EQ(wizard_->currentPage(), 3);
  EXPECT_TRUE(Shown(IDC_WIZARD_PAGE_OS));
  EXPECT_FALSE(Shown(IDC_WIZARD_PAGE_PORT));
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"<IDS_NOTSUPPORTWin7>"});
}

struct OsPageCase {
  const char* what;
  platform::OsVersion version;
  bool is64;
  int checked;  // 0: none
  bool windows2000Shown;
};

class OsPageTest : public ::testing::TestWithParam<OsPageCase> {};

TEST_P(OsPageTest, OnlyTheDetectedWindowsIsOffered) {
  const OsPageCase& c = GetParam();
  ScratchWizard t(c.is64);
  t.Start(c.version);
  FakeDialogControls& os = t.Page(IDD_OS_PAGE);
  for (int id : {IDC_OS_98, IDC_OS_NT, IDC_OS_2000, IDC_OS_XP, IDC_OS_2003, IDC_OS_VISTA, IDC_OS_2008,
                 IDC_OS_WIN7, IDC_OS_WIN8}) {
    EXPECT_EQ(os.IsChecked(id), id == c.checked) << c.what << " " << id;
    EXPECT_EQ(os.IsEnabled(id), id == c.checked) << c.what << " " << id;
  }
  EXPECT_EQ(os.IsVisible(IDC_OS_2000), c.windows2000Shown) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Systems, OsPageTest,
    ::testing::Values(OsPageCase{"Windows 7 x64", {6, 1, 7601, 2, 1, 1}, true, IDC_OS_WIN7, false},
                      OsPageCase{"Windows 7", {6, 1, 7601, 2, 1, 1}, false, IDC_OS_WIN7, true},
                      OsPageCase{"Windows 2000", {5, 0, 2195, 2, 4, 1}, false, IDC_OS_2000, true},
                      OsPageCase{"XP x64", {5, 2, 3790, 2, 2, 1}, true, IDC_OS_XP, false},
                      OsPageCase{"Server 2003", {5, 2, 3790, 2, 2, 3}, false, IDC_OS_2003, true},
                      OsPageCase{"Server 2008 R2", {6, 1, 7601, 2, 1, 3}, true, IDC_OS_2008, false},
                      OsPageCase{"Windows 10", {10, 0, 19045, 2, 0, 1}, true, IDC_OS_WIN8, false},
                      OsPageCase{"nothing matches", {5, 3, 0, 2, 0, 1}, false, 0, true}));

TEST_F(WizardTest, InstallOnLpt1RunsTheEngineBehindTheProgressDialog) {
  Start();
  Page(IDD_MODULE_PAGE).Click(IDC_MODULE_DEFAULT);
  Next();
  Next();
  Next();
  FakeDialogControls& port = Page(IDD_PORT_PAGE);
  ASSERT_EQ(port.ItemText(IDC_PORT_LIST, port.Selection(IDC_PORT_LIST)), "LPT1:");
  EXPECT_FALSE(port.IsEnabled(IDC_PORT_SPEED));
  Next();  // Install
  EXPECT_TRUE(host_.minimised);
  EXPECT_TRUE(host_.progressRan);
  EXPECT_TRUE(host_.joined);
  EXPECT_EQ(frame_.EndedWith(), platform::ui::kIdOk);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"<IDS_INF_NTRESTART>"});
  std::vector<platform::PrinterInfo2> printers;
  machine_.spooler->EnumPrinters(&printers);
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0].printerName, "XY-100(P)");
  EXPECT_EQ(printers[0].portName, "LPT1:");
  EXPECT_EQ(machine_.p.journal.CountOf("SetDefaultPrinterW"), 1u);
}

TEST_F(WizardTest, AStoppedPreparationLeavesTheWizardOnThePortPage) {
  Start();
  Next();
  Next();
  Next();
  FakeDialogControls& port = Page(IDD_PORT_PAGE);
  int net = -1;
  for (int i = 0; i < port.ItemCount(IDC_PORT_LIST); ++i)
    if (port.ItemText(IDC_PORT_LIST, i) == "NET:") net = i;
  ASSERT_GE(net, 0);
  port.Choose(IDC_PORT_LIST, net);
  EXPECT_TRUE(port.IsEnabled(IDC_PORT_IP));
  Next();  // the address field is empty: 0.0.0.0
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"<IDS_ERR_IPADDRISNULL>"});
  EXPECT_FALSE(frame_.EndedWith().has_value());
  EXPECT_FALSE(host_.minimised);
  EXPECT_EQ(wizard_->currentPage(), 4);
}

TEST_F(WizardTest, HelpBringsAnOpenGuideForwardOrOpensTheLanguagesGuide) {
  machine_.p.profile.WriteString("C:\\Package\\language\\setup_EN.ini", "Help Guide", "Caption", "Guide");
  Start();
  host_.windowExists = true;
  wizard_->ShowHelp();
  EXPECT_EQ(host_.frontAsked, "Guide");
  EXPECT_EQ(machine_.p.journal.CountOf("ShellExecuteW"), 0u);
  host_.windowExists = false;
  wizard_->ShowHelp();
  ASSERT_EQ(machine_.p.journal.CountOf("ShellExecuteW"), 1u);
  EXPECT_NE(machine_.p.journal.CallsTo("ShellExecuteW")[0].find("file=.\\Guide\\Guide_EN.chm"),
            std::string::npos);
}

TEST_F(WizardTest, CancelClosesWithoutInstalling) {
  Start();
  Next();
  frame_.Click(IDC_WIZARD_CANCEL);
  EXPECT_EQ(frame_.EndedWith(), platform::ui::kIdCancel);
  std::vector<platform::PrinterInfo2> printers;
  machine_.spooler->EnumPrinters(&printers);
  EXPECT_TRUE(printers.empty());
}

TEST(DialogFont, TheFourChineseLanguagesGetSimSun) {
  for (uint16_t id : {1028, 2052, 3076, 4100}) {
    DialogFont f = ChooseDialogFont(id);
    EXPECT_TRUE(f.replace) << id;
    EXPECT_EQ(f.face, "宋体");
    EXPECT_EQ(f.height, 13);
    EXPECT_EQ(f.weight, 400);
    EXPECT_EQ(f.charset, 134);
  }
  for (uint16_t id : {1033, 1041, 5124, 0}) EXPECT_FALSE(ChooseDialogFont(id).replace) << id;
}

// The progress dialog's waits, recorded in order.
class PacedClock : public platform::Clock {
 public:
  void Sleep(uint32_t ms) override { sleeps.push_back(ms); }
  uint32_t TickCount() override { return 0; }
  std::vector<uint32_t> sleeps;
};

struct Pace {
  std::vector<uint32_t> sleeps;
  std::vector<int> positions;
};

// The worker reports running for `running` polls, then `final`.
Pace RunProgress(int running, int final, OsGeneration os) {
  PacedClock clock;
  int polls = 0;
  ProgressLoop loop(clock, [&] { return polls++ < running ? kStateRunning : final; }, os);
  platform::CallJournal journal;
  struct Recorder : FakeDialogControls {
    using FakeDialogControls::FakeDialogControls;
    void SetPosition(int id, int position) override {
      positions.push_back(position);
      FakeDialogControls::SetPosition(id, position);
    }
    std::vector<int> positions;
  } dialog(journal);
  loop.Run(dialog);
  EXPECT_EQ(dialog.EndedWith(), platform::ui::kIdOk);
  return {clock.sleeps, dialog.positions};
}

TEST(ProgressLoop, SuccessRunsUpToTheEnd) {
  Pace p = RunProgress(3, kStateSucceeded, OsGeneration::kWin7);
  // Three passes of 80 ms at 0, 1, 2; then 3..100 at 10 ms each; then 100 ms.
  std::vector<uint32_t> expected(3, 80);
  expected.insert(expected.end(), 98, 10);
  expected.push_back(100);
  EXPECT_EQ(p.sleeps, expected);
  EXPECT_EQ(p.positions.front(), 0);
  EXPECT_EQ(p.positions[3], 3);
  EXPECT_EQ(p.positions.back(), 100);
}

TEST(ProgressLoop, FailureRunsBackToZero) {
  Pace p = RunProgress(5, kStateFailed, OsGeneration::kXp);
  std::vector<uint32_t> expected(5, 80);
  expected.insert(expected.end(), 6, 10);  // 5, 4, ..., 0
  expected.push_back(100);
  EXPECT_EQ(p.sleeps, expected);
  EXPECT_EQ(p.positions.back(), 0);
}

TEST(ProgressLoop, TheBarStopsAtNinetyWhileTheWorkerRuns) {
  Pace p = RunProgress(120, kStateSucceeded, OsGeneration::kWin7);
  EXPECT_EQ(std::count(p.sleeps.begin(), p.sleeps.end(), 80u), 120);
  EXPECT_EQ(p.positions[119], 90);
  // The success run goes on from 90: 90..100, then the 100 ms end.
  EXPECT_EQ(p.sleeps.size(), 120u + 11u + 1u);
  EXPECT_EQ(p.positions[120], 90);
  EXPECT_EQ(p.positions.back(), 100);
}

TEST(ProgressLoop, Windows98EndsAtNinetyWithoutWaitingForTheWorker) {
  Pace p = RunProgress(1000, kStateSucceeded, OsGeneration::kWin98);
  EXPECT_EQ(p.sleeps, std::vector<uint32_t>(90, 80));
  EXPECT_EQ(p.positions.back(), 89);
}

}  // namespace
}  // namespace mq::installer
