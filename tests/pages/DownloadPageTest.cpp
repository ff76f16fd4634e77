// The Download page through the in-memory dialog, file system, spooler and file chooser: the logo list and
// its settings, the modes and their intermediate files, the preview, the limits and messages, and the bytes
// each of the three jobs hands the printer.
#include <gtest/gtest.h>

#include <set>

#include "../imaging/TestBitmaps.h"
#include "TableTexts.h"
#include "imaging/LogoConverter.h"
#include "imaging/LogoRecord.h"
#include "pages/DownloadPage.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeSpooler.h"

namespace mq::plugin {
namespace {

using namespace download_page;
using Bytes = std::vector<uint8_t>;
namespace bmp = imaging::test;

Bytes Colour(int width, int height) {
  return bmp::Colour24(width, height, [](int x, int y) {
    return bmp::Colour{static_cast<uint8_t>(x * 37), static_cast<uint8_t>(y * 59),
                       static_cast<uint8_t>(x + y)};
  });
}
Bytes OneBit(int width, int height) {
  return bmp::Mono1(width, height, 0x000000, 0xFFFFFF, [](int x, int y) { return (x + y) % 3 == 0; });
}
// A 4-bit bitmap: a header the routines refuse, which the page still lists in Transformation mode.
Bytes FourBit(int width, int height) {
  Bytes b = bmp::BlankBitmap(width, height, 1);
  bmp::Put16(b, 28, 4);
  return b;
}
Bytes MonoRecord(const Bytes& oneBit) {
  Bytes record;
  EXPECT_EQ(imaging::EncodeMonoLogo(oneBit, &record), imaging::Status::kOk);
  return record;
}
Bytes MonoIntermediate(const Bytes& source, int halftone, int contrast = 0, int brightness = 0) {
  Bytes out;
  EXPECT_EQ(
      imaging::MakeMonoBitmap(source, static_cast<imaging::Halftone>(halftone), contrast, brightness, &out),
      imaging::Status::kOk);
  return out;
}
Bytes GrayIntermediate(const Bytes& source, int contrast = 0, int brightness = 0) {
  Bytes out;
  EXPECT_EQ(imaging::MakeGrayBitmap(source, contrast, brightness, &out), imaging::Status::kOk);
  return out;
}
Bytes GrayRecord(const Bytes& gray) {
  Bytes record;
  EXPECT_EQ(imaging::EncodeGrayLogo(gray, &record), imaging::Status::kOk);
  return record;
}
Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
const Bytes kOpen = {0x1B, 0x63, 0x3B, 0x01};
const Bytes kClose = {0x1B, 0x63, 0x3B, 0x00};

class DownloadPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page_.DeclareRadioGroup({kOriginal, kTransformation, kGray});
    page_.DeclareRadioGroup({kHalftoneNone, kDitherM3, kDitherM4, kErrorDiffuse});
    page_.Start(logic_);
  }

  // Adds a logo whose file holds bytes (stored under C:\logos\ with that name) and returns its path.
  std::string Add(const std::string& name, const Bytes& bytes) {
    const std::string path = "C:\\logos\\" + name;
    files_.PutBytes(path, bytes);
    dialogs_.QueueAnswer(path);
    page_.Click(kAdd);
    return path;
  }
  std::optional<Bytes> File(const std::string& path) {
    std::optional<std::string> text = files_.Contents(path);
    if (!text) return std::nullopt;
    return Bytes(text->begin(), text->end());
  }
  std::vector<std::string> Ids() {
    std::vector<std::string> ids;
    for (int row = 0; row < page_.ListViewRowCount(kLogoList); ++row)
      ids.push_back(page_.ListViewCell(kLogoList, row, 0));
    return ids;
  }
  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& m : page_.Messages()) texts.push_back(m.text);
    return texts;
  }
  std::vector<Bytes> Jobs(std::string_view name) { return spooler_.JobBytes(name); }

  platform::CallJournal dialogJournal_, fileJournal_, spoolerJournal_;
  platform::ui::FakeDialogControls page_{dialogJournal_};
  platform::FakeFileSystem files_{fileJournal_};
  platform::FakeSpooler spooler_{spoolerJournal_, true};
  platform::ui::FakeFileDialogs dialogs_;
  testing::TableTexts texts_;
  DownloadPage logic_{texts_, {files_, spooler_, spooler_.OpenPrinterForJobs("MQ-450"), dialogs_}};
};

TEST_F(DownloadPageTest, StartsInOriginalModeWithNothingToDownload) {
  EXPECT_EQ(page_.At(kLogoList).columns, (std::vector<std::string>{"ID", "Name", "Path"}));
  for (int slider : {kContrast, kBrightness}) {
    EXPECT_EQ(page_.At(slider).minimum, -100);
    EXPECT_EQ(page_.At(slider).maximum, 100);
    EXPECT_EQ(page_.At(slider).lineStep, 1);
    EXPECT_EQ(page_.At(slider).pageStep, 20);
  }
  EXPECT_EQ(page_.GetText(kContrastValue), "0");
  EXPECT_EQ(page_.GetText(kNotice), "Notice: Select the type of the logos before downloading.");
  EXPECT_TRUE(page_.IsChecked(kOriginal));
  for (int id : {kDownloadFile, kDownloadAll, kOriginal, kTransformation, kGray, kContrast, kDitherM3})
    EXPECT_FALSE(page_.IsEnabled(id)) << id;
  int tips = 0;
  for (int id :
       {kFilePath, kBrowse, kDownloadFile, kLogoList, kOriginal, kTransformation, kGray, kHalftoneNone,
        kDitherM3, kDitherM4, kErrorDiffuse, kContrast, kBrightness, kAdd, kDelete, kDownloadAll, kClearAll})
    tips += !page_.At(id).toolTip.empty();
  EXPECT_EQ(tips, 17);
  EXPECT_NE(page_.At(kHalftoneNone).toolTip.find("\u203Bno dithering\u00A7"), std::string::npos);
}

TEST_F(DownloadPageTest, AddAcceptsWhatThePrinterCanHoldAndSaysWhyNot) {
  Bytes truncated = Colour(20, 20);
  truncated.resize(truncated.size() - 1);
  Bytes notBitmap = Colour(8, 8);
  notBitmap[0] = 'X';
  struct Case {
    const char* name;
    std::optional<Bytes> file;  // nothing: the chosen file is gone
    LogoMode mode;
    const char* message;  // nullptr: none
    bool listed;
  };
  const std::vector<Case> cases = {
      {"1024 x 768", Colour(1024, 768), LogoMode::kOriginal, nullptr, true},
      {"1025 x 10", bmp::BlankBitmap(1025, 10, 1), LogoMode::kOriginal, "The image is too big", false},
      {"10 x 769", bmp::BlankBitmap(10, 769, 1), LogoMode::kTransformation, "The image is too big", false},
      {"missing", std::nullopt, LogoMode::kOriginal, "Fail to open the selected file!", false},
      {"61 bytes", Bytes(61, 'B'), LogoMode::kOriginal, "Failed to get data from the file!", false},
      {"pixels missing", truncated, LogoMode::kTransformation, "Failed to get data from the file!", false},
      {"not BM, Original", notBitmap, LogoMode::kOriginal, nullptr, true},
      {"not BM, Gray", notBitmap, LogoMode::kGray, nullptr, false},
      {"4-bit, Transformation", FourBit(6, 2), LogoMode::kTransformation, nullptr, true},
      {"4-bit, Gray", FourBit(6, 2), LogoMode::kGray, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::CallJournal journal;
    platform::ui::FakeDialogControls page(journal);
    platform::FakeFileSystem files(journal);
    DownloadPage logic(texts_, {files, spooler_, 0, dialogs_});
    page.Start(logic);
    if (c.mode != LogoMode::kOriginal) {
      files.PutBytes("C:\\logos\\first.bmp", Colour(4, 4));
      dialogs_.QueueAnswer("C:\\logos\\first.bmp");
      page.Click(kAdd);
      page.ChooseRow(kLogoList, 0);
      page.Click(c.mode == LogoMode::kGray ? kGray : kTransformation);
    }
    const int before = page.ListViewRowCount(kLogoList);
    if (c.file) files.PutBytes("C:\\logos\\x.bmp", *c.file);
    dialogs_.QueueAnswer("C:\\logos\\x.bmp");
    page.Click(kAdd);
    EXPECT_EQ(page.ListViewRowCount(kLogoList), before + (c.listed ? 1 : 0));
    if (c.message == nullptr) {
      EXPECT_TRUE(page.Messages().empty());
    } else {
      ASSERT_EQ(page.Messages().size(), 1u);
      EXPECT_EQ(page.Messages()[0].text.rfind(c.message, 0), 0u) << page.Messages()[0].text;
      EXPECT_EQ(page.Messages()[0].caption, "Error");
    }
  }
  EXPECT_EQ(dialogs_.requests.back().title, "Open");
  EXPECT_EQ(dialogs_.requests.back().types.at(0).pattern, "*.bmp");
}

TEST_F(DownloadPageTest, NineLogosFitAndTheTenthIsRefusedWithTheCountMessage) {
  for (int i = 1; i <= 9; ++i) Add("logo" + std::to_string(i) + ".bmp", OneBit(8, 8));
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(page_.ListViewCell(kLogoList, 8, 1), "logo9.bmp");
  EXPECT_EQ(page_.ListViewCell(kLogoList, 8, 2), "C:\\logos\\logo9.bmp");
  EXPECT_EQ(page_.Focused(), kLogoList);
  const size_t asked = dialogs_.requests.size();
  page_.Click(kAdd);
  EXPECT_EQ(dialogs_.requests.size(), asked);  // refused before the dialog opens
  ASSERT_EQ(page_.Messages().size(), 1u);
  EXPECT_EQ(page_.Messages()[0].text,
            "The total counts of the logos is 9,\nplease delete some logos before selecting another logo!");
  EXPECT_EQ(page_.Messages()[0].caption, "Information");
  EXPECT_EQ(page_.Messages()[0].icon, platform::ui::MessageIcon::kInformation);
  EXPECT_EQ(page_.ListViewRowCount(kLogoList), 9);
}

TEST_F(DownloadPageTest, DeletingRowTwoOfThreeRenumbersAndMovesTheSettingsUp) {
  const std::string a = Add("a.bmp", Colour(8, 8));
  const std::string b = Add("b.bmp", Colour(9, 9));
  const std::string c = Add("c.bmp", Colour(10, 10));
  page_.ChooseRow(kLogoList, 0);
  page_.Click(kTransformation);
  page_.ChooseRow(kLogoList, 2);
  page_.Click(kErrorDiffuse);
  page_.Slide(kContrast, 30);
  EXPECT_EQ(logic_.SettingsOf(2), (LogoSettings{3, 30, 0}));
  ASSERT_TRUE(files_.Exists("C:\\logos\\bTemp.bmp"));

  page_.ChooseRow(kLogoList, 1);
  page_.Click(kDelete);
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(page_.ListViewCell(kLogoList, 1, 1), "c.bmp");
  EXPECT_EQ(logic_.LogoPaths(), (std::vector<std::string>{a, c}));
  EXPECT_EQ(logic_.SettingsOf(1), (LogoSettings{3, 30, 0}));
  EXPECT_EQ(logic_.SettingsOf(2), LogoSettings{});
  EXPECT_FALSE(files_.Exists("C:\\logos\\bTemp.bmp"));
  EXPECT_TRUE(files_.Exists("C:\\logos\\cTemp.bmp"));
  // Nothing is selected any more: the preview is blank and the mode radios are off.
  EXPECT_FALSE(page_.At(kPreview).picture.has_value());
  EXPECT_FALSE(page_.IsEnabled(kTransformation));

  // A row added afterwards starts from the mode's settings, not from what the deleted row left.
  Add("d.bmp", Colour(8, 8));
  EXPECT_EQ(logic_.SettingsOf(2), (LogoSettings{1, 0, 0}));
}

TEST_F(DownloadPageTest, EachModeMakesItsOwnIntermediateFiles) {
  const Bytes colour = Colour(12, 5);
  const Bytes oneBit = OneBit(12, 5);
  Add("colour.bmp", colour);
  Add("mono.bmp", oneBit);
  // Original: a plain black-and-white intermediate for colour pictures, none for a one-bit source.
  EXPECT_EQ(File("C:\\logos\\colourTemp.bmp"), MonoIntermediate(colour, 0));
  EXPECT_FALSE(files_.Exists("C:\\logos\\monoTemp.bmp"));

  page_.ChooseRow(kLogoList, 0);
  EXPECT_TRUE(page_.IsEnabled(kGray));
  page_.Click(kGray);
  EXPECT_EQ(File("C:\\logos\\colourTemp.bmp"), GrayIntermediate(colour));
  EXPECT_EQ(File("C:\\logos\\monoTemp.bmp"), GrayIntermediate(oneBit));
  EXPECT_TRUE(page_.IsEnabled(kDownloadAll));
  EXPECT_FALSE(page_.IsEnabled(kDitherM3));
  EXPECT_TRUE(page_.IsEnabled(kContrast));

  page_.Click(kTransformation);
  EXPECT_EQ(File("C:\\logos\\colourTemp.bmp"), MonoIntermediate(colour, 1));
  EXPECT_FALSE(files_.Exists("C:\\logos\\monoTemp.bmp"));  // deleted with the others, not made again
  EXPECT_TRUE(page_.IsChecked(kDitherM3));
  EXPECT_EQ(logic_.SettingsOf(1), (LogoSettings{1, 0, 0}));

  // Original disables Download all even with logos listed, and zeroes every row's settings.
  page_.Click(kOriginal);
  EXPECT_FALSE(page_.IsEnabled(kDownloadAll));
  EXPECT_EQ(logic_.SettingsOf(0), LogoSettings{});
  EXPECT_TRUE(page_.IsChecked(kHalftoneNone));
}

TEST_F(DownloadPageTest, ThePreviewFollowsTheSelectedRowsSettings) {
  const Bytes colour = Colour(40, 30);
  Add("colour.bmp", colour);
  EXPECT_FALSE(page_.At(kPreview).picture.has_value());
  page_.ChooseRow(kLogoList, 0);
  ASSERT_TRUE(page_.At(kPreview).picture.has_value());
  EXPECT_EQ(page_.At(kPreview).picture->Width(), 40);
  EXPECT_EQ(page_.At(kPreview).picture->At(3, 29),
            (3u * 37 << 16) | 3);  // the source: stored row 0 at the bottom

  page_.Click(kTransformation);
  EXPECT_TRUE(page_.IsEnabled(kErrorDiffuse));
  const platform::ui::Picture dithered = *page_.At(kPreview).picture;
  std::set<platform::ui::Rgb> colours;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) colours.insert(dithered.At(x, y));
  EXPECT_EQ(colours, (std::set<platform::ui::Rgb>{0x000000, 0xFFFFFF}));

  // Dragging shows the values and redraws at once; the sheet hears of the change when the slider is let go.
  page_.Slide(kBrightness, 40, false);
  EXPECT_EQ(page_.GetText(kBrightnessValue), "40");
  EXPECT_EQ(logic_.SettingsOf(0), (LogoSettings{1, 0, 40}));
  EXPECT_NE(*page_.At(kPreview).picture, dithered);
  EXPECT_EQ(File("C:\\logos\\colourTemp.bmp"), MonoIntermediate(colour, 1, 0, 40));
  EXPECT_EQ(dialogJournal_.CountOf("SendMessageW"), 0u);
  page_.Slide(kBrightness, 41, true);
  EXPECT_EQ(dialogJournal_.CallsTo("SendMessageW"),
            (std::vector<std::string>{"SendMessageW message=PSM_CHANGED"}));

  page_.Click(kDitherM4);
  EXPECT_EQ(logic_.SettingsOf(0).halftone, 2);
  EXPECT_EQ(File("C:\\logos\\colourTemp.bmp"), MonoIntermediate(colour, 2, 0, 41));

  page_.ChooseRow(kLogoList, -1);
  EXPECT_FALSE(page_.At(kPreview).picture.has_value());
  EXPECT_FALSE(page_.IsEnabled(kTransformation));
}

TEST_F(DownloadPageTest, DownloadAllDefinesEveryRowInOneJob) {
  const Bytes colour = Colour(35, 9);
  const Bytes oneBit = OneBit(10, 3);
  Add("colour.bmp", colour);
  Add("mono.bmp", oneBit);
  page_.ChooseRow(kLogoList, 0);
  page_.Click(kTransformation);
  page_.Click(kDownloadAll);
  // A one-bit source goes from the file itself.
  ASSERT_EQ(Jobs("LOGO").size(), 1u);
  EXPECT_EQ(
      Jobs("LOGO")[0],
      Concat(
          {kOpen, {0x1C, 0x71, 0x02}, MonoRecord(MonoIntermediate(colour, 1)), MonoRecord(oneBit), kClose}));

  page_.Click(kGray);
  page_.Slide(kContrast, -20);
  page_.Click(kDownloadAll);
  ASSERT_EQ(Jobs("LOGO").size(), 2u);
  EXPECT_EQ(Jobs("LOGO")[1], Concat({kOpen,
                                     {0x1C, 0x72, 0x02},
                                     GrayRecord(GrayIntermediate(colour, -20)),
                                     GrayRecord(GrayIntermediate(oneBit)),
                                     kClose}));
  EXPECT_TRUE(page_.Messages().empty());

  // Applied, the intermediates are gone; Download all makes them again from each row's own settings.
  page_.SendSheetEvent(platform::ui::SheetEvent::kApply);
  EXPECT_FALSE(files_.Exists("C:\\logos\\colourTemp.bmp"));
  page_.Click(kDownloadAll);
  EXPECT_EQ(Jobs("LOGO")[2], Jobs("LOGO")[1]);
}

TEST_F(DownloadPageTest, TheSizeLimitCountsWhatIsSentAndStopsBeforeTheJob) {
  // One-bit sources in mono mode count (and go) as they are; trailing bytes make them the size wanted.
  for (const auto& [total, accepted] : std::vector<std::pair<size_t, bool>>{{98303, true}, {98304, false}}) {
    SCOPED_TRACE(total);
    platform::CallJournal journal;
    platform::ui::FakeDialogControls page(journal);
    platform::FakeSpooler spooler(journal, true);
    DownloadPage logic(texts_, {files_, spooler, spooler.OpenPrinterForJobs("MQ-450"), dialogs_});
    page.Start(logic);
    Bytes small = OneBit(32, 16);
    Bytes large = OneBit(64, 64);
    large.resize(total - small.size(), 0xEE);
    files_.PutBytes("C:\\logos\\small.bmp", small);
    files_.PutBytes("C:\\logos\\large.bmp", large);
    dialogs_.QueueAnswer("C:\\logos\\small.bmp");
    dialogs_.QueueAnswer("C:\\logos\\large.bmp");
    page.Click(kAdd);
    page.Click(kAdd);
    page.ChooseRow(kLogoList, 1);
    page.Click(kTransformation);
    EXPECT_FALSE(files_.Exists("C:\\logos\\largeTemp.bmp"));
    page.Click(kDownloadAll);
    EXPECT_EQ(spooler.JobBytes("LOGO").size(), accepted ? 1u : 0u);
    if (accepted) {
      EXPECT_EQ(spooler.JobBytes("LOGO")[0],
                Concat({kOpen, {0x1C, 0x71, 0x02}, MonoRecord(small), MonoRecord(large), kClose}));
    } else {
      ASSERT_EQ(page.Messages().size(), 1u);
      EXPECT_EQ(page.Messages()[0].text, "The total sizes of all the logos is greater 96K!");
    }
  }
}

TEST_F(DownloadPageTest, AnUnusableRowEndsTheJobAtItsTurn) {
  const Bytes colour = Colour(16, 8);
  Add("first.bmp", colour);
  Add("four.bmp", FourBit(6, 2));
  Add("third.bmp", colour);
  page_.ChooseRow(kLogoList, 0);
  page_.Click(kTransformation);
  page_.Click(kDownloadAll);
  ASSERT_EQ(spooler_.Jobs().size(), 1u);
  EXPECT_EQ(spooler_.Jobs()[0].bytes,
            Concat({kOpen, {0x1C, 0x71, 0x03}, MonoRecord(MonoIntermediate(colour, 1))}));
  EXPECT_TRUE(spooler_.Jobs()[0].ended);
  EXPECT_TRUE(page_.Messages().empty());
}

TEST_F(DownloadPageTest, FilesThatVanishOrChangeAfterAddEndCleanly) {
  const std::string colour = Add("colour.bmp", Colour(16, 8));
  const std::string mono = Add("mono.bmp", OneBit(8, 8));
  page_.ChooseRow(kLogoList, 0);
  page_.Click(kTransformation);

  // The one-bit source now lies about its pixels: the job ends at its row without reading past the file.
  Bytes lying = OneBit(8, 8);
  lying.resize(70);
  files_.PutBytes(mono, lying);
  page_.Click(kDownloadAll);
  ASSERT_EQ(Jobs("LOGO").size(), 1u);
  EXPECT_EQ(Jobs("LOGO")[0].size(), kOpen.size() + 3 + MonoRecord(*File("C:\\logos\\colourTemp.bmp")).size());

  // Both files of a row gone: a message, and no job starts.
  files_.Delete(colour);
  files_.Delete("C:\\logos\\colourTemp.bmp");
  page_.Click(kDownloadAll);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Failed to get the size of logo!"}));
  EXPECT_EQ(Jobs("LOGO").size(), 1u);

  // An empty list says so.
  for (int i = 0; i < 2; ++i) {
    page_.ChooseRow(kLogoList, 0);
    page_.Click(kDelete);
  }
  page_.Click(kDownloadAll);
  EXPECT_EQ(MessageTexts().back(), "Please select logos first!");
}

TEST_F(DownloadPageTest, ClearAllLogosSendsTheClearCommandInItsBrackets) {
  page_.Click(kClearAll);
  EXPECT_EQ(Jobs("SELFTEST"), (std::vector<Bytes>{Concat({kOpen, {0x1C, 0x71, 0x00, 0x00, 0x0A}, kClose})}));
  EXPECT_EQ(spooler_.Jobs()[0].dataType, "RAW");
}

TEST_F(DownloadPageTest, FileDownloadSendsTheWholeFileUnchanged) {
  dialogs_.QueueAnswer(std::nullopt);
  page_.Click(kBrowse);
  EXPECT_FALSE(page_.IsEnabled(kDownloadFile));
  EXPECT_EQ(dialogs_.requests.back().title, "Open");
  EXPECT_EQ(dialogs_.requests.back().types.at(0).description, "*.JK(Firmware)");

  Bytes firmware(70000);
  for (size_t i = 0; i < firmware.size(); ++i) firmware[i] = static_cast<uint8_t>(i * 7);
  files_.PutBytes("C:\\fw\\MQ450.JK", firmware);
  dialogs_.QueueAnswer("C:\\fw\\MQ450.JK");
  page_.Click(kBrowse);
  EXPECT_EQ(page_.GetText(kFilePath), "C:\\fw\\MQ450.JK");
  EXPECT_TRUE(page_.IsEnabled(kDownloadFile));
  page_.Click(kDownloadFile);
  EXPECT_EQ(Jobs("FIRMWARE"), std::vector<Bytes>{firmware});
  EXPECT_EQ(spoolerJournal_.CountOf("WritePrinter"), 1u);

  // A printer that takes part of the file fails the job silently; the page shows nothing.
  spooler_.LimitWrites(1000);
  page_.Click(kDownloadFile);
  EXPECT_EQ(Jobs("FIRMWARE").at(1).size(), 1000u);
  EXPECT_TRUE(spooler_.Jobs().back().ended);
  EXPECT_TRUE(page_.Messages().empty());
}

TEST_F(DownloadPageTest, FileDownloadRefusesFilesItCannotSendWhole) {
  dialogs_.QueueAnswer("C:\\fw\\MQ450.JK");
  page_.Click(kBrowse);
  page_.Click(kDownloadFile);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Fail to open the selected file!"}));

  // The file shrinks between measuring and reading: nothing is sent.
  files_.PutBytes("C:\\fw\\MQ450.JK", Bytes(5000, 0x55));
  fileJournal_.SetSink([&](const std::string& line) {
    if (line.rfind("ReadFile", 0) == 0) files_.PutBytes("C:\\fw\\MQ450.JK", Bytes(3000, 0x55));
  });
  page_.Click(kDownloadFile);
  fileJournal_.SetSink(nullptr);
  EXPECT_EQ(MessageTexts().back(), "Failed to get data from the file!");
  EXPECT_TRUE(spooler_.Jobs().empty());
}

TEST_F(DownloadPageTest, BrowseOffersTheTypesInTheLanguageInForce) {
  struct Case {
    const char* file;
    const char* firstType;
  };
  for (const Case& c : {Case{"ENG_MQ450.res", "*.JK(Firmware)"}, Case{"CHN_MQ450.res", "*.JK(固件)"},
                        Case{"CHF_MQ450.res", "*.JK(韌體)"}, Case{"JPN_MQ450.res", "*.JK(Firmware)"}}) {
    const std::vector<platform::ui::FileType> types = DownloadPage::FileDownloadTypes(c.file);
    ASSERT_EQ(types.size(), 5u);
    EXPECT_EQ(types[0].description, c.firstType);
    std::vector<std::string> patterns;
    for (const auto& t : types) patterns.push_back(t.pattern);
    EXPECT_EQ(patterns, (std::vector<std::string>{"*.JK", "*.DAT", "*.FNT", "*.ZK", "*.EEP"}));
  }
}

TEST_F(DownloadPageTest, ApplyAndCancelDeleteTheIntermediateFiles) {
  Add("a.bmp", Colour(8, 8));
  ASSERT_TRUE(files_.Exists("C:\\logos\\aTemp.bmp"));
  EXPECT_EQ(page_.SendSheetEvent(platform::ui::SheetEvent::kApply), 1);
  EXPECT_FALSE(files_.Exists("C:\\logos\\aTemp.bmp"));
  EXPECT_EQ(dialogJournal_.CallsTo("pfnComPropSheet"),
            (std::vector<std::string>{"pfnComPropSheet function=CPSFUNC_SET_RESULT result=1"}));
  page_.ChooseRow(kLogoList, 0);
  page_.Click(kGray);
  ASSERT_TRUE(files_.Exists("C:\\logos\\aTemp.bmp"));
  EXPECT_EQ(page_.SendSheetEvent(platform::ui::SheetEvent::kQueryCancel), 0);
  EXPECT_FALSE(files_.Exists("C:\\logos\\aTemp.bmp"));
  EXPECT_TRUE(files_.Exists("C:\\logos\\a.bmp"));
}

}  // namespace
}  // namespace mq::plugin
