// The Main page through the in-memory dialog and platform: scale clamping, the graphics radios under zoom,
// rotation and watermark, the paper size pushed into the driver's form item, the language list and its change
// across the open sheets, and the log viewer's launch.
#include <gtest/gtest.h>

#include "../support/RecordingDriverUI.h"
#include "pages/MainPage.h"
#include "pages/RecordBindings.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakePlatform.h"
#include "plugin/LogViewer.h"
#include "platform/Text.h"
#include "plugin/PrivateSettings.h"

namespace mq::plugin {
namespace {

using namespace main_page;
using platform::ui::MessageIcon;
using platform::ui::SheetEvent;
namespace field = settings;

constexpr std::string_view kDriverDir = "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\";
constexpr std::string_view kKey = "HKCU\\SOFTWARE\\ZNT\\LANGUAGE";

class RecordingRetitler : public SheetRetitler {
 public:
  void RetitleOwnSheet(const std::vector<std::string>& titles) override { own.push_back(titles); }
  void RetitleOtherSheets(std::string_view printer, const std::vector<std::string>& titles) override {
    otherPrinter = std::string(printer);
    others.push_back(titles);
  }
  std::vector<std::vector<std::string>> own;
  std::vector<std::vector<std::string>> others;
  std::string otherPrinter;
};

struct MainPageFixture : ::testing::Test {
  platform::FakePlatform platform;
  UiTexts language{platform.Services()};
  UiPageTexts texts{language};
  RecordingRetitler retitler;
  WatermarkOffSignal watermarkOff;
  testing::RecordingDriverUI driverUI;
  std::vector<uint8_t> record = std::vector<uint8_t>(kPrivateSettingsSize, 0);
  std::u16string printerName = u"MQ-450";
  std::vector<std::u16string> formNames = {u"Letter", u"A4", u"Custom Paper-MQ450", u"Receipt 80"};
  std::vector<host::OptParam> formParams;
  host::OptType formType{};
  std::vector<host::OptItem> items;
  host::OemCuipParam param{};
  DocumentPageContext context;
  platform::ui::FakeDialogControls dialog{platform.journal};
  int densityRenames = 0;
  std::unique_ptr<MainPage> page;

  void SetUp() override {
    platform.files.MakeFolders("C:\\Users\\user\\AppData\\Roaming");
    platform.files.MakeFolders(kDriverDir);
    PutDriverFile(
        "LANGUAGE_MQ450.ini",
        "[LANGUAGE]\r\nCOUNT=3\r\nLanguage0=English\r\nINI0=ENG_MQ450.res\r\nSYSLANG0=System Language\r\n"
        "Language1=简体中文\r\nINI1=CHN_MQ450.res\r\nSYSLANG1=系统语言(System)\r\n"
        "Language2=繁體中文\r\nINI2=CHF_MQ450.res\r\nSYSLANG2=系統語言(System)\r\n");
    PutDriverFile("ENG_MQ450.res", "[LAYOUT]\r\nRC_LAYOUTFORM=Main\r\n");
    PutDriverFile("CHN_MQ450.res",
                  "[LAYOUT]\r\nRC_LAYOUTFORM=主页\r\n[UTILITY]\r\nRC_UTILITYFORM=实用工具\r\n");
    PutDriverFile("CHF_MQ450.res", "[LAYOUT]\r\nRC_LAYOUTFORM=主頁\r\n");
    WriteDefaults(record.data(), "C:\\Windows\\system32");
    for (auto& name : formNames) {
      host::OptParam p{};
      p.pData = name.data();
      formParams.push_back(p);
    }
    formType.Count = static_cast<uint16_t>(formParams.size());
    formType.pOptParam = formParams.data();
    items.resize(3);
    items[0].DMPubID = 5;
    items[1].DMPubID = kDmPubFormName;
    items[1].pOptType = &formType;
    items[1].Sel = 1;
    param.pPrinterName = printerName.data();
    param.pDrvOptItems = items.data();
    param.cDrvOptItems = static_cast<uint32_t>(items.size());
    param.poemuiobj = &param;
    context.pOEMCUIPParam = &param;
    context.driverUI = &driverUI;
    dialog.DeclareCheckBox(kZoom);
    dialog.DeclareCheckBox(kLogEnabled);
    dialog.DeclareRadioGroup({kGraphicsYes, kGraphicsNo});
    dialog.DeclareRadioGroup({kRotateNormal, kRotate180});
    dialog.DeclareBuddy(kScaleUpDown, kScale);
  }
  // UTF-8 with its byte-order mark, which the profile reader takes as UTF-8.
  void PutDriverFile(std::string_view name, std::string_view content) {
    platform.files.Put(std::string(kDriverDir) + std::string(name), "\xEF\xBB\xBF" + std::string(content));
  }
  void Open() {
    language.PrepareAtLoad();
    page = std::make_unique<MainPage>(record.data(), context, texts,
                                      MainPageServices{language, platform.shell, platform.system, retitler,
                                                       watermarkOff, [this] { ++densityRenames; }});
    dialog.Start(*page);
  }
  host::OptItem& FormItem() { return items[1]; }
  size_t Notices() const { return dialog.Messages().size(); }
  std::string FormName() { return text::Utf16ToUtf8(field::kFormName.Get(record.data())); }
};

TEST_F(MainPageFixture, ScaleIsClampedWhenTheEditIsLeft) {
  struct Case {
    const char* typed;
    int stored;
    const char* shown;
  };
  const Case cases[] = {{"5", 10, "10"},    {"150", 100, "100"}, {"55", 55, "55"}, {"", 10, "10"},
                        {"-3", 100, "100"}, {"100", 100, "100"}, {"10", 10, "10"}, {"101", 100, "100"}};
  record[field::kZoomEnabled.offset] = 1;
  Open();
  EXPECT_EQ(dialog.At(kScaleUpDown).maximum, 200);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    dialog.Type(kScale, c.typed);
    dialog.LeaveEdit(kScale);
    EXPECT_EQ(field::kScalePercent.Get(record.data()), c.stored);
    EXPECT_EQ(dialog.At(kScale).text, c.shown);
  }
}

TEST_F(MainPageFixture, ZoomForcesGraphicsWithOneNoticeAndLeavesItOnWhenTurnedOff) {
  Open();
  dialog.Click(kGraphicsNo);
  ASSERT_TRUE(dialog.IsEnabled(kGraphicsNo));
  EXPECT_FALSE(dialog.IsEnabled(kScale));
  dialog.Click(kZoom);
  ASSERT_EQ(Notices(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "All Text will be printed as graphics image!");
  EXPECT_EQ(dialog.Messages()[0].caption, "Information");
  EXPECT_EQ(dialog.Messages()[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(field::kPrintAsGraphics.Get(record.data()), 1);
  EXPECT_EQ(field::kZoomEnabled.Get(record.data()), 1);
  EXPECT_TRUE(dialog.IsChecked(kGraphicsYes));
  EXPECT_FALSE(dialog.IsChecked(kGraphicsNo));
  EXPECT_FALSE(dialog.IsEnabled(kGraphicsYes) || dialog.IsEnabled(kGraphicsNo));
  EXPECT_TRUE(dialog.IsEnabled(kScale) && dialog.IsEnabled(kScaleUpDown) && dialog.IsEnabled(kScaleLabel));

  dialog.Click(kZoom);
  EXPECT_TRUE(dialog.IsEnabled(kGraphicsYes) && dialog.IsEnabled(kGraphicsNo));
  EXPECT_TRUE(dialog.IsChecked(kGraphicsYes));
  EXPECT_EQ(field::kPrintAsGraphics.Get(record.data()), 1);
  EXPECT_FALSE(dialog.IsEnabled(kScale));
  dialog.Click(kZoom);
  EXPECT_EQ(Notices(), 1u) << "graphics is already on: no second notice";
}

TEST_F(MainPageFixture, RotationForcesGraphicsAndKeepsTheRadiosOffWhileZoomIsOn) {
  record[field::kZoomEnabled.offset] = 1;
  Open();
  dialog.Click(kRotate180);
  EXPECT_EQ(field::kRotate180.Get(record.data()), 1);
  EXPECT_EQ(Notices(), 1u);
  dialog.Click(kRotateNormal);
  EXPECT_EQ(field::kRotate180.Get(record.data()), 0);
  EXPECT_FALSE(dialog.IsEnabled(kGraphicsYes)) << "zoom still forbids the choice";
}

TEST_F(MainPageFixture, AWatermarkKeepsTheRadiosDisabledOnCreationAndActivation) {
  for (uint8_t mode : {1, 2}) {
    SCOPED_TRACE(mode);
    record[field::kWatermarkMode.offset] = mode;
    Open();
    EXPECT_FALSE(dialog.IsEnabled(kGraphicsYes) || dialog.IsEnabled(kGraphicsNo));
    dialog.SetChecked(kGraphicsNo, true);
    EXPECT_EQ(dialog.SendSheetEvent(SheetEvent::kSetActive), 1);
    EXPECT_FALSE(dialog.IsEnabled(kGraphicsYes) || dialog.IsEnabled(kGraphicsNo));
    EXPECT_TRUE(dialog.IsChecked(kGraphicsYes));
    EXPECT_FALSE(dialog.IsChecked(kGraphicsNo));
  }
}

TEST_F(MainPageFixture, ActivationAfterTheWatermarkWasSwitchedOffChecksNoOnce) {
  record[field::kPrintAsGraphics.offset] = 1;
  Open();
  watermarkOff.raised = true;
  dialog.SendSheetEvent(SheetEvent::kSetActive);
  EXPECT_TRUE(dialog.IsChecked(kGraphicsNo));
  EXPECT_FALSE(dialog.IsChecked(kGraphicsYes));
  EXPECT_TRUE(dialog.IsEnabled(kGraphicsYes));
  EXPECT_FALSE(watermarkOff.raised);
  EXPECT_EQ(field::kPrintAsGraphics.Get(record.data()), 1) << "activation does not write the record";
}

TEST_F(MainPageFixture, PaperListFollowsTheStoredNameOrTheDriversChoice) {
  struct Case {
    const char16_t* stored;
    int selected;
  };
  const Case cases[] = {{u"", 1}, {u"custom paper", 2}, {u"Receipt", 3}, {u"Legal", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(text::Utf16ToUtf8(c.stored));
    field::kFormName.Set(record.data(), c.stored);
    Open();
    EXPECT_EQ(dialog.ItemCount(kPaper), 4);
    EXPECT_EQ(dialog.Selection(kPaper), c.selected);
  }
}

TEST_F(MainPageFixture, ChoosingAPaperSizeUpdatesTheFormItemAndTheRecord) {
  Open();
  dialog.Choose(kPaper, 2);
  EXPECT_EQ(FormItem().Sel, 2);
  EXPECT_NE(FormItem().Flags & host::kOptifChanged, 0u);
  ASSERT_EQ(driverUI.updates.size(), 1u);
  EXPECT_EQ(driverUI.updates[0].item, &FormItem());
  EXPECT_EQ(driverUI.updates[0].pci, &param);
  EXPECT_EQ(driverUI.updates[0].previous, 0u);
  EXPECT_EQ(driverUI.updates[0].mode, 1u);
  EXPECT_EQ(FormName(), "Custom Paper-MQ450");
}

TEST_F(MainPageFixture, ApplyWithAnUnchangedPaperSizeStillUpdatesTheFormItem) {
  Open();
  FormItem().Flags = 0;
  EXPECT_EQ(dialog.SendSheetEvent(SheetEvent::kApply), 1);
  ASSERT_EQ(driverUI.updates.size(), 1u);
  EXPECT_EQ(FormItem().Sel, 1);
  EXPECT_NE(FormItem().Flags & host::kOptifChanged, 0u);
  EXPECT_EQ(FormName(), "A4");
}

TEST_F(MainPageFixture, ApplyWithNoPaperEntryChosenKeepsTheDriversChoiceAndTheStoredName) {
  field::kFormName.Set(record.data(), u"Legal");
  Open();
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_TRUE(driverUI.updates.empty());
  EXPECT_EQ(FormItem().Sel, 1);
  EXPECT_EQ(FormName(), "Legal");
}

TEST_F(MainPageFixture, WithoutAFormItemThePaperListStaysEmpty) {
  items[1].DMPubID = 0;
  Open();
  EXPECT_EQ(dialog.ItemCount(kPaper), 0);
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_TRUE(driverUI.updates.empty());
}

TEST_F(MainPageFixture, LanguageListEndsWithTheSystemEntryAndSelectsTheLanguageInForce) {
  struct Case {
    const char* firstRun;
    const char* file;
    int selected;
  };
  // English system: the system entry is "System Language", which begins with English's SYSLANG0.
  const Case cases[] = {
      {"TRUE", "ENG_MQ450.res", 3}, {"FALSE", "CHN_MQ450.res", 1}, {"FALSE", "XYZ.res", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    platform.registry.PutString(kKey, "IsFirstRun_MQ450", c.firstRun);
    platform.registry.PutString(kKey, "LANGUAGE_MQ450", c.file);
    Open();
    ASSERT_EQ(dialog.ItemCount(kLanguage), 4);
    EXPECT_EQ(dialog.ItemText(kLanguage, 1), "简体中文");
    EXPECT_EQ(dialog.ItemText(kLanguage, 3), "System Language");
    EXPECT_EQ(dialog.Selection(kLanguage), c.selected);
  }
}

TEST_F(MainPageFixture, ApplyingALanguageWritesTheRegistryAndRetitlesEveryOpenSheet) {
  platform.registry.PutString(kKey, "IsFirstRun_MQ450", "FALSE");
  Open();
  dialog.Choose(kLanguage, 1);
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_EQ(platform.registry.GetString(kKey, "LANGUAGE_MQ450"), "CHN_MQ450.res");
  EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), "FALSE");
  ASSERT_EQ(retitler.own.size(), 1u);
  EXPECT_EQ(retitler.own[0],
            (std::vector<std::string>{"主页", "Water Mark", "Operation", "1D Code", "2D Code", "Version"}));
  ASSERT_EQ(retitler.others.size(), 1u);
  EXPECT_EQ(retitler.others[0], (std::vector<std::string>{"实用工具", "Download", "Font", "Version"}));
  EXPECT_EQ(retitler.otherPrinter, "MQ-450");
  EXPECT_EQ(platform.journal.CountOf("InvalidateRect"), 1u);

  // The system entry follows the system again: English here.
  dialog.Choose(kLanguage, 3);
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_EQ(platform.registry.GetString(kKey, "LANGUAGE_MQ450"), "ENG_MQ450.res");
  EXPECT_EQ(platform.registry.GetString(kKey, "IsFirstRun_MQ450"), "TRUE");
  EXPECT_EQ(retitler.own[1][0], "Main");
}

TEST_F(MainPageFixture, PaintRereadsTextsInTheNewLanguageAndRenamesTheDensityOption) {
  Open();
  EXPECT_EQ(dialog.At(kLogGroup).text, "Driver LOG");
  platform.registry.PutString(kKey, "LANGUAGE_MQ450", "CHN_MQ450.res");
  PutDriverFile("CHN_MQ450.res", "[LAYOUT]\r\nRC_STATIC_LOG=驱动日志\r\n");
  language.RefreshLanguageFile("CHN_MQ450.res");
  dialog.Paint();
  EXPECT_EQ(dialog.At(kLogGroup).text, "驱动日志");
  EXPECT_EQ(densityRenames, 1);
}

TEST_F(MainPageFixture, LogSwitchEnablesTheFolderAndTheViewerButBrowseStaysOff) {
  Open();
  EXPECT_EQ(dialog.At(kLogFolder).text, "C:\\ZNTDriverlog\\MQ-450\\");
  EXPECT_FALSE(dialog.IsEnabled(kLogViewer) || dialog.IsEnabled(kLogFolder) || dialog.IsEnabled(kLogBrowse));
  dialog.Click(kLogEnabled);
  EXPECT_EQ(field::kLogEnabled.Get(record.data()), 1);
  EXPECT_TRUE(dialog.IsEnabled(kLogViewer) && dialog.IsEnabled(kLogFolder));
  EXPECT_FALSE(dialog.IsEnabled(kLogBrowse));
  EXPECT_EQ(dialog.At(kLogViewer).toolTip, "View the log.");
}

TEST_F(MainPageFixture, ViewerStartsFromTheSystemDrivesRootWithTheModelNames) {
  platform.system.systemDirectory = "D:\\WINNT\\system32";
  Open();
  platform.journal.Clear();
  dialog.Click(kLogViewer);
  EXPECT_EQ(platform.journal.CallsTo("ShellExecuteW"),
            std::vector<std::string>{"ShellExecuteW verb=open file=D:\\Program Files\\ZNT\\ZNTDriverlog\\"
                                     "ZNTDriverlogViewer.exe parameters=MQ450  MQ-450 directory= show=5"});
  EXPECT_EQ(Notices(), 0u);
  std::vector<uint8_t> defaults(kPrivateSettingsSize, 0);
  WriteDefaults(defaults.data(), platform.system.systemDirectory);
  EXPECT_EQ(text::Utf16ToUtf8(field::kLogFolder.Get(defaults.data())), "D:\\ZNTDriverlog\\MQ-450\\");
}

TEST_F(MainPageFixture, AMissingViewerIsReportedExceptOnWindows2000) {
  struct Case {
    uint32_t error;
    uint32_t major, minor;
    bool message;
  };
  const Case cases[] = {
      {2, 6, 1, true}, {2, 5, 1, true}, {2, 5, 0, false}, {3, 6, 1, false}, {5, 6, 1, false}};
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.error << " on " << c.major << "." << c.minor);
    platform.journal.ClearFailures();
    platform.journal.FailCall("ShellExecuteW", c.error);
    platform.system.version.major = c.major;
    platform.system.version.minor = c.minor;
    size_t before = Notices();
    dialog.Click(kLogViewer);
    ASSERT_EQ(Notices(), before + (c.message ? 1 : 0));
    if (c.message) {
      EXPECT_EQ(dialog.Messages().back().text, "Not fount LOGViewer!");
      EXPECT_EQ(dialog.Messages().back().caption, "Error");
      EXPECT_EQ(dialog.Messages().back().icon, MessageIcon::kNone);
    }
  }
}

}  // namespace
}  // namespace mq::plugin
