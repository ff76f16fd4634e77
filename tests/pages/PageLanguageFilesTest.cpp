// The shipped language files against the keys the pages really read: every page is played once with a text
// source that records each lookup, and each recorded key must be present in every language, fit the room the
// page reads it with, and in English say what the built-in default says.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "TableTexts.h"
#include "pages/Barcode1DPage.h"
#include "pages/Barcode2DPage.h"
#include "pages/ControlFontEditor.h"
#include "pages/DownloadPage.h"
#include "pages/InfoPages.h"
#include "pages/MainPage.h"
#include "pages/OperationEditor.h"
#include "pages/OperationPage.h"
#include "pages/WatermarkPage.h"
#include "pages/UtilityPage.h"
#include "platform/IniProfile.h"
#include "platform/RootedFileSystem.h"
#include "platform/Text.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFonts.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeSpooler.h"
#include "platform/fake/FakeSystem.h"
#include "plugin/PrivateSettings.h"
#include "plugin/UiTexts.h"

namespace mq::plugin {
namespace {

using platform::ui::FakeDialogControls;

struct Lookup {
  std::string section, key, fallback;
  size_t room;
  bool operator<(const Lookup& o) const { return std::tie(section, key) < std::tie(o.section, o.key); }
};

class RecordingTexts : public testing::TableTexts {
 public:
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                   size_t capacity) override {
    lookups.insert({std::string(section), std::string(key), std::string(fallback), capacity});
    return TableTexts::Read(section, key, fallback, capacity);
  }
  std::set<Lookup> lookups;
};

class SlotsInMemory : public OperationSlotStore {
 public:
  OperationSlotData Load(OperationMoment) override { return {}; }
  void Store(OperationMoment, const OperationSlotData&) override {}
};

// The Download page with each of its messages raised once.
void PlayDownloadPage(RecordingTexts& texts) {
  using namespace download_page;
  platform::CallJournal journal;
  platform::FakeFileSystem files(journal);
  platform::FakeSpooler spooler(journal, true);
  platform::ui::FakeFileDialogs dialogs;
  DownloadPage logic(texts, {files, spooler, spooler.OpenPrinterForJobs("MQ-450"), dialogs});
  FakeDialogControls page(journal);
  page.Start(logic);
  page.Paint();
  std::vector<uint8_t> small(62, 0), big(62, 0);
  small[0] = big[0] = 'B';
  small[1] = big[1] = 'M';
  big[19] = 0x10;  // 4096 pixels wide
  files.PutBytes("C:\\l\\short.bmp", {1, 2, 3});
  files.PutBytes("C:\\l\\big.bmp", big);
  files.PutBytes("C:\\l\\huge.bmp", std::vector<uint8_t>(100000, 0));
  files.MakeFolders("C:\\l\\folder");
  for (const char* path : {"C:\\l\\gone.bmp", "C:\\l\\short.bmp", "C:\\l\\big.bmp"}) {
    dialogs.QueueAnswer(path);
    page.Click(kAdd);
  }
  page.Click(kDownloadAll);  // no logos
  for (int i = 0; i < 9; ++i) {
    dialogs.QueueAnswer("C:\\l\\huge.bmp");
    page.Click(kAdd);
  }
  page.Click(kAdd);  // a tenth
  page.ChooseRow(kLogoList, 0);
  page.Click(kTransformation);
  page.Click(kDownloadAll);  // too many bytes
  files.Delete("C:\\l\\huge.bmp");
  page.Click(kDownloadAll);  // no size
  dialogs.QueueAnswer("C:\\l\\folder");
  page.Click(kBrowse);
  page.Click(kDownloadFile);
}

// The Main page with its graphics notice and its missing-viewer message, and a language change.
void PlayMainPage(RecordingTexts& texts) {
  struct NoSheets : SheetRetitler {
    void RetitleOwnSheet(const std::vector<std::string>&) override {}
    void RetitleOtherSheets(std::string_view, const std::vector<std::string>&) override {}
  } sheets;
  platform::FakePlatform platform;
  UiTexts language(platform.Services());
  WatermarkOffSignal watermarkOff;
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  DocumentPageContext context;
  MainPage logic(record.data(), context, texts,
                 {language, platform.shell, platform.system, sheets, watermarkOff, nullptr});
  FakeDialogControls page(platform.journal);
  page.DeclareCheckBox(main_page::kZoom);
  page.Start(logic);
  page.Paint();
  page.Click(main_page::kZoom);
  platform.journal.FailCall("ShellExecuteW", 2);
  page.Click(main_page::kLogViewer);
  page.SendSheetEvent(platform::ui::SheetEvent::kApply);
}

// The Water Mark page with each of its messages raised once, and an apply of each kind.
void PlayWatermarkPage(RecordingTexts& texts) {
  using namespace watermark_page;
  platform::FakePlatform platform;
  platform::ui::FakeFileDialogs dialogs;
  platform::ui::FakeFonts fonts(platform.journal);
  WatermarkOffSignal watermarkOff;
  WatermarkShared shared;
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  WriteDefaults(record.data(), "C:\\Windows\\system32");
  settings::kWatermarkMode.Set(record.data(), 1);
  settings::kWatermarkBitmapPath.Set(record.data(), u"C:\\gone.bmp");
  WatermarkPage logic(record.data(), "MQ-450", texts,
                      {platform.files, platform.system, dialogs, fonts, fonts, watermarkOff, shared});
  FakeDialogControls page(platform.journal);
  page.DeclareRadioGroup({kNone, kPicture, kTextKind});
  page.Start(logic);  // the missing picture
  page.Paint();
  page.Click(kNone);
  page.Click(kTextKind);  // the graphics notice
  std::vector<uint8_t> big(62, 0);
  big[0] = 'B', big[1] = 'M', big[10] = 62, big[14] = 40, big[18] = 0, big[19] = 8, big[22] = 1, big[26] = 1,
  big[28] = 1;  // 2048 x 1 at 1 bit, too short: refused
  platform.files.PutBytes("C:\\p\\bad.bmp", big);
  for (const char* path : {"", "C:\\p\\bad.bmp"}) {
    dialogs.QueueAnswer(path);
    page.Click(kBrowse);
  }
  std::vector<uint8_t> huge(62 + 256 * 1707, 0);
  std::copy(big.begin(), big.end(), huge.begin());
  huge[22] = 0xAB, huge[23] = 0x06;  // 1707 rows of 2048: 24-bit data above the limit
  platform.files.PutBytes("C:\\p\\huge.bmp", huge);
  dialogs.QueueAnswer("C:\\p\\huge.bmp");
  page.Click(kBrowse);
  platform.journal.FailCall("WriteFile", 5);
  page.SendSheetEvent(platform::ui::SheetEvent::kApply);
}

// The Utility page with its failure message, and the control-font table it opens: a stored command too long
// to edit, the one-character dialog, and a file that cannot be written.
void PlayUtilityPage(RecordingTexts& texts) {
  using namespace control_font;
  platform::CallJournal journal;
  platform::FakeSpooler spooler(journal, true);
  platform::FakeFileSystem files(journal);
  platform::IniProfile profile(files, "C:\\Windows");
  const std::string path = ControlFontPath("C:\\Windows");
  std::string tooLong;
  for (int i = 0; i < 129; ++i) tooLong += "01 ";
  files.Put(path, "[Character Translation Table]\r\n21=" + tooLong + "\r\n");
  UtilityPage logic(texts,
                    {spooler, spooler.OpenPrinterForJobs("MQ-450"), [&](platform::ui::DialogControls& c) {
                       ControlFontEditor editor(texts, profile, files, path);
                       c.RunModal(kControlFontTableTemplate, editor);
                     }});
  FakeDialogControls page(journal);
  page.SetModalScript([&journal](FakeDialogControls& editor, int) {
    editor.ChooseRow(kList, 1);
    editor.Click(kEdit);  // too long to edit
    editor.ChooseRow(kList, 2);
    editor.Click(kEdit);  // the one-character dialog
    journal.FailCall("WriteFile", 5);
    editor.Click(platform::ui::kIdOk);
    journal.ClearFailures();
  });
  page.Start(logic);
  page.Paint();
  page.Click(utility_page::kControlFont);
  journal.FailCall("AddFormW", 5);
  page.Type(utility_page::kName, "Receipt");
  page.Click(utility_page::kSave);
}

// Both barcode pages with their data error raised once.
void PlayBarcodePages(RecordingTexts& texts) {
  platform::CallJournal journal;
  platform::FakeSpooler spooler(journal, true);
  platform::FakeSystemInfo system;
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  WriteDefaults(record.data(), "C:\\Windows\\system32");
  const BarcodePageServices services{spooler, spooler.OpenPrinterForJobs("MQ-450"), system};
  Barcode1DPage one(record.data(), texts, services);
  Barcode2DPage two(record.data(), texts, services);
  const std::pair<platform::ui::DialogLogic*, int> pages[] = {{&one, barcode1d_page::kData},
                                                              {&two, barcode2d_page::kData}};
  for (const auto& [logic, data] : pages) {
    FakeDialogControls page(journal);
    page.Start(*logic);
    page.Paint();
    page.Type(data, std::string(300, '9'));
    page.Click(logic == &one ? barcode1d_page::kPrint : barcode2d_page::kPrint);
  }
}

std::set<Lookup> EveryPageLookup() {
  RecordingTexts texts;
  platform::CallJournal journal;
  SlotsInMemory slots;
  OperationPage operation(slots, texts);
  FakeDialogControls page(journal);
  page.SetModalScript([](FakeDialogControls& editor, int) {
    editor.Type(editor::kCommand, std::string(400, '1'));  // too long: the error message
    editor.Click(platform::ui::kIdOk);
  });
  page.Start(operation);
  for (int button = operation_page::kStartDoc; button <= operation_page::kEndDoc; ++button)
    page.Click(button);
  VersionPage version(texts);
  FontPage font(texts);
  for (platform::ui::DialogLogic* logic :
       std::initializer_list<platform::ui::DialogLogic*>{&version, &font}) {
    FakeDialogControls dialog(journal);
    dialog.Start(*logic);
    dialog.Paint();
  }
  PlayDownloadPage(texts);
  PlayMainPage(texts);
  PlayWatermarkPage(texts);
  PlayUtilityPage(texts);
  PlayBarcodePages(texts);
  return texts.lookups;
}

TEST(PageLanguageFiles, EveryKeyThePagesReadIsInEveryLanguageAndFits) {
  platform::RootedFileSystem files{MQ_PACKAGE_DIR};
  platform::IniProfile profile{files, "C:\\Windows"};
  const std::set<Lookup> lookups = EveryPageLookup();
  ASSERT_GE(lookups.size(), 98u) << "every text of the Operation page, its editor in all four modes, the "
                                    "editor's error box, the Version and Font pages";
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(lookups.count({"MessageBox", "MB_DOWNLOAD_ERROR" + std::to_string(n), "", 0}), 1u) << n;
  for (const char* key :
       {"MB_WATERMARK_ERROR1", "MB_WATERMARK_ERROR2", "MB_WATERMARK_ERROR4", "MB_WATERMARK_ERROR5",
        "MB_WATERMARK_ERROR6", "MB_WATERMARK_INFORMATION1", "MB_1DCODE_ERROR1", "MB_2DCODE_ERROR1"})
    EXPECT_EQ(lookups.count({"MessageBox", key, "", 0}), 1u) << key;
  for (const char* key : {"MB_UTILITY_ERROR1", "MB_CONTROLFONT_ERROR1", "MB_CONTROLFONT_ERROR2"})
    EXPECT_EQ(lookups.count({"MessageBox", key, "", 0}), 1u) << key;
  for (const char* key : {"RC_BUTTON_CONTROLFONT", "RC_CONTROLFONT_TITLE", "RC_CONTROLFONT_TRANSLATOR"})
    EXPECT_EQ(lookups.count({"UTILITY", key, "", 0}), 1u) << key;
  for (std::string_view file : {kEnglishFile, kSimplifiedChineseFile, kTraditionalChineseFile}) {
    for (const Lookup& l : lookups) {
      const std::string value =
          profile.GetString("C:\\Driver\\UI\\" + std::string(file), l.section, l.key, "<missing>", 4096);
      EXPECT_NE(value, "<missing>") << file << " " << l.section << "/" << l.key;
      EXPECT_LT(text::Utf16Length(value), l.room) << file << " " << l.key << " does not fit";
      std::string expected = l.fallback;
      for (size_t at = expected.find('\n'); at != std::string::npos; at = expected.find('\n', at))
        expected.replace(at, 1, "\\n");
      if (file == kEnglishFile) {
        EXPECT_EQ(value, expected) << l.key;
      }
    }
  }
}

}  // namespace
}  // namespace mq::plugin
