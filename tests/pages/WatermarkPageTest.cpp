// The Water Mark page through the in-memory dialog, files and fonts: the kinds and what they enable, the
// graphics notice, the font size and Tiled limits, Browse with its refusals, the preview, and apply writing
// the record and the picture file.
#include <gtest/gtest.h>

#include "../watermark/BitmapFixture.h"
#include "TableTexts.h"
#include "pages/WatermarkPage.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFonts.h"
#include "platform/fake/FakeSystem.h"
#include "platform/Text.h"
#include "plugin/PrivateSettings.h"
#include "watermark/TextWatermark.h"
#include "watermark/WatermarkPicture.h"
#include "watermark/WatermarkPlacement.h"

namespace mq::plugin {
namespace {

using namespace watermark_page;
using platform::ui::MessageIcon;
using platform::ui::SheetEvent;
using watermark::testing::BitmapLayout;
using watermark::testing::MakeBitmap;
namespace field = settings;

constexpr const char* kPictureFile = "C:\\Windows\\Temp\\MQ-4501.bmp";

std::vector<uint8_t> EightBitPicture() {
  BitmapLayout layout;
  layout.offset = 1078;
  layout.bits = 8;
  layout.width = 3;
  layout.height = 2;
  layout.palette.assign(1024, 0);
  for (int i = 0; i < 256; ++i)
    layout.palette[i * 4] = layout.palette[i * 4 + 1] = layout.palette[i * 4 + 2] = static_cast<uint8_t>(i);
  layout.pixels = {0, 80, 160, 0, 240, 40, 120, 0};
  return MakeBitmap(layout);
}

struct WatermarkPageFixture : ::testing::Test {
  platform::CallJournal journal;
  platform::FakeFileSystem files{journal};
  platform::FakeSystemInfo system;
  platform::ui::FakeFileDialogs dialogs;
  platform::ui::FakeFonts fonts{journal};
  WatermarkOffSignal watermarkOff;
  WatermarkShared shared;
  testing::TableTexts texts;
  std::vector<uint8_t> record = std::vector<uint8_t>(kPrivateSettingsSize, 0);
  platform::ui::FakeDialogControls dialog{journal};
  std::vector<std::unique_ptr<WatermarkPage>> pages;  // one per dialog opened, as each sheet has its own

  void SetUp() override {
    WriteDefaults(record.data(), "C:\\Windows\\system32");
    files.MakeFolders("C:\\Windows\\Temp");
    files.PutBytes("C:\\pictures\\gray8.bmp", EightBitPicture());
    dialog.DeclareRadioGroup({kNone, kPicture, kTextKind});
    dialog.DeclareBuddy(kFontSizeUpDown, kFontSize);
  }
  void Open(platform::ui::FakeDialogControls& on) {
    pages.push_back(std::make_unique<WatermarkPage>(
        record.data(), "MQ-450", texts,
        WatermarkServices{files, system, dialogs, fonts, fonts, watermarkOff, shared}));
    on.Start(*pages.back());
  }
  void Open() { Open(dialog); }
  std::vector<uint8_t> PictureFile() {
    const std::optional<std::string> c = files.Contents(kPictureFile);
    return c ? std::vector<uint8_t>(c->begin(), c->end()) : std::vector<uint8_t>{};
  }
  std::vector<std::string> MessageKeys() {
    std::vector<std::string> out;
    for (const auto& m : dialog.Messages()) out.push_back(m.text);
    return out;
  }
  size_t Changes() { return journal.CallsTo("SendMessageW").size(); }
};

TEST_F(WatermarkPageFixture, EachKindEnablesItsControls) {
  struct Case {
    uint8_t mode;
    std::vector<int> enabled, disabled;
  };
  const Case cases[] = {
      {0,
       {kNone, kPicture, kTextKind},
       {kPath, kBrowse, kText, kFont, kFontSize, kAngle, kPosition, kSize, kBrightness}},
      {1,
       {kPath, kBrowse, kPosition, kSize, kBrightness},
       {kText, kFont, kStyle, kFontSize, kFontSizeUpDown, kAngle}},
      {2,
       {kText, kFont, kStyle, kFontSize, kFontSizeUpDown, kAngle, kPosition, kSize, kBrightness},
       {kPath, kBrowse}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    record[field::kWatermarkMode.offset] = c.mode;
    platform::ui::FakeDialogControls fresh(journal);
    Open(fresh);
    EXPECT_TRUE(fresh.At(c.mode == 0 ? kNone : c.mode == 1 ? kPicture : kTextKind).checked);
    for (int id : c.enabled) EXPECT_TRUE(fresh.At(id).enabled) << id;
    for (int id : c.disabled) EXPECT_FALSE(fresh.At(id).enabled) << id;
  }
}

TEST_F(WatermarkPageFixture, StartsFromTheRecord) {
  field::kWatermarkFontFace.Set(record.data(), u"Courier New");
  record[field::kWatermarkPosition.offset] = 9;
  record[field::kWatermarkSize.offset] = 30;
  Open();
  EXPECT_EQ(dialog.At(kText).selection, 0) << "an empty text selects CONFIDENTIAL";
  EXPECT_EQ(dialog.At(kText).items.size(), 8u);
  EXPECT_EQ(dialog.At(kText).textLimit, 15);
  EXPECT_EQ(dialog.At(kFont).items, fonts.families);
  EXPECT_EQ(dialog.At(kFont).selection, 1);
  EXPECT_EQ(dialog.At(kStyle).items, (std::vector<std::string>{"Regular", "Italic", "Bold", "Bold Italic"}));
  EXPECT_EQ(dialog.At(kPosition).items.back(), "Tiled");
  EXPECT_EQ(dialog.At(kPosition).selection, 9);
  EXPECT_EQ(dialog.At(kFontSize).text, "50");
  EXPECT_EQ(dialog.At(kAngle).position, 45);
  EXPECT_EQ(dialog.At(kAngleValue).text, "45");
  EXPECT_EQ(dialog.At(kSize).minimum, 20) << "Tiled keeps the size slider at 20 or more";
  EXPECT_EQ(dialog.At(kSizeValue).text, "30");
  EXPECT_EQ(dialog.At(kBrightness).maximum, 255);
  EXPECT_EQ(dialog.At(kBrightnessValue).text, "50");
  EXPECT_EQ(dialog.At(kPicture).toolTip.substr(0, 9), "'Whether ");

  // A face the system does not have: the first family is shown.
  field::kWatermarkFontFace.Set(record.data(), u"Gone Sans");
  platform::ui::FakeDialogControls other(journal);
  Open(other);
  EXPECT_EQ(other.At(kFont).selection, 0);
}

TEST_F(WatermarkPageFixture, AWatermarkTurnsGraphicsOnWithOneNoticeAndNoneTurnsItOff) {
  Open();
  dialog.Click(kPicture);
  ASSERT_EQ(dialog.Messages().size(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "All Text will be printed as graphics image!");
  EXPECT_EQ(dialog.Messages()[0].caption, "Information");
  EXPECT_EQ(dialog.Messages()[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(field::kPrintAsGraphics.Get(record.data()), 1);
  EXPECT_EQ(field::kWatermarkMode.Get(record.data()), 1);
  dialog.Click(kPicture);
  dialog.Click(kTextKind);
  EXPECT_EQ(dialog.Messages().size(), 1u) << "graphics is on already";
  EXPECT_EQ(field::kWatermarkMode.Get(record.data()), 2);

  const size_t before = Changes();
  dialog.Click(kNone);
  EXPECT_EQ(field::kWatermarkMode.Get(record.data()), 0);
  EXPECT_EQ(field::kPrintAsGraphics.Get(record.data()), 0);
  EXPECT_TRUE(watermarkOff.raised) << "the Main page checks No when it is shown next";
  EXPECT_FALSE(dialog.At(kPosition).enabled);
  EXPECT_FALSE(dialog.At(kFont).enabled);
  EXPECT_GT(Changes(), before);
}

TEST_F(WatermarkPageFixture, FontSizeIsClampedWhileTypingAndWhenLeft) {
  record[field::kWatermarkMode.offset] = 2;
  struct Case {
    const char* typed;
    bool leave;
    const char* shown;
    int stored;
  };
  const Case cases[] = {
      {"5", false, "5", 50}, {"5", true, "8", 8},     {"99", false, "72", 72}, {"99", true, "72", 72},
      {"", true, "8", 8},    {"36", false, "36", 36}, {"08", true, "8", 8},
  };
  Open();
  for (const Case& c : cases) {
    record[field::kWatermarkFontSize.offset] = 50;
    dialog.Type(kFontSize, c.typed);
    if (c.leave) dialog.LeaveEdit(kFontSize);
    EXPECT_EQ(dialog.At(kFontSize).text, c.shown) << c.typed;
    EXPECT_EQ(field::kWatermarkFontSize.Get(record.data()), c.stored) << c.typed;
  }
}

TEST_F(WatermarkPageFixture, TiledRaisesTheSizeToTwentyAndKeepsTheSliderThere) {
  record[field::kWatermarkMode.offset] = 1;
  record[field::kWatermarkSize.offset] = 10;
  record[field::kWatermarkPosition.offset] = 0;
  Open();
  dialog.Choose(kPosition, 9);
  EXPECT_EQ(field::kWatermarkPosition.Get(record.data()), 9);
  EXPECT_EQ(field::kWatermarkSize.Get(record.data()), 20);
  EXPECT_EQ(dialog.At(kSizeValue).text, "20");
  dialog.Slide(kSize, 5);
  EXPECT_EQ(field::kWatermarkSize.Get(record.data()), 20);
  dialog.Choose(kPosition, 4);
  dialog.Slide(kSize, 5);
  EXPECT_EQ(field::kWatermarkSize.Get(record.data()), 5);
}

TEST_F(WatermarkPageFixture, SlidersShowTheirValueAndStoreItWhenReleased) {
  record[field::kWatermarkMode.offset] = 2;
  Open();
  dialog.Slide(kAngle, 90, false);
  EXPECT_EQ(dialog.At(kAngleValue).text, "90");
  EXPECT_EQ(field::kWatermarkAngle.Get(record.data()), 45);
  dialog.Slide(kAngle, 90);
  dialog.Slide(kBrightness, 300);
  EXPECT_EQ(field::kWatermarkAngle.Get(record.data()), 90);
  EXPECT_EQ(field::kWatermarkBrightness.Get(record.data()), 255);
  dialog.Choose(kStyle, 3);
  dialog.Choose(kFont, 2);
  dialog.Choose(kText, 3);
  EXPECT_EQ(field::kWatermarkFontStyle.Get(record.data()), 3);
  EXPECT_EQ(field::kWatermarkFontFace.Get(record.data()), u"Times New Roman");
  EXPECT_EQ(field::kWatermarkText.Get(record.data()), u"DRAFT");
  dialog.Type(kText, "MY OWN");
  EXPECT_EQ(field::kWatermarkText.Get(record.data()), u"MY OWN");
}

TEST_F(WatermarkPageFixture, BrowseNormalisesThePictureIntoTheTemporaryFolder) {
  record[field::kWatermarkMode.offset] = 1;
  BitmapLayout colour;
  colour.width = 1;
  colour.pixels = {1, 2, 3, 0};
  files.PutBytes("C:\\pictures\\colour.bmp", MakeBitmap(colour), platform::kFileAttributeReadonly);
  Open();
  dialogs.QueueAnswer("C:\\pictures\\gray8.bmp");
  dialog.Click(kBrowse);
  EXPECT_TRUE(dialog.Messages().empty());
  EXPECT_EQ(PictureFile(), watermark::NormaliseBitmap(EightBitPicture()).file);
  EXPECT_EQ(dialog.At(kPath).text, "C:\\pictures\\gray8.bmp");
  EXPECT_EQ(field::kWatermarkBitmapPath.Get(record.data()), u"C:\\pictures\\gray8.bmp");
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].types[0].pattern, "*.bmp");

  // A 24-bit file is copied as it is, and the copy is a plain archived file (not read-only like its source).
  dialogs.QueueAnswer("C:\\pictures\\colour.bmp");
  dialog.Click(kBrowse);
  EXPECT_EQ(PictureFile(), MakeBitmap(colour));
  uint32_t attributes = 0;
  files.GetAttributes(kPictureFile, &attributes);
  EXPECT_EQ(attributes, platform::kFileAttributeArchive);
}

TEST_F(WatermarkPageFixture, BrowseRefusalsLeaveThePathAndTheFile) {
  record[field::kWatermarkMode.offset] = 1;
  auto with = [](uint32_t offset, uint16_t bits) {
    BitmapLayout s;
    s.offset = offset;
    s.bits = bits;
    s.pixels.assign(8, 0);
    return MakeBitmap(s);
  };
  files.PutBytes("C:\\pictures\\four.bmp", with(118, 4));
  files.PutBytes("C:\\pictures\\deep.bmp", with(54, 32));
  BitmapLayout big;
  big.offset = 62, big.bits = 1, big.width = 2048, big.height = 1707;
  big.pixels.assign(256 * 1707, 0);
  files.PutBytes("C:\\pictures\\big.bmp", MakeBitmap(big));
  Open();
  dialogs.QueueAnswer("C:\\pictures\\gray8.bmp");
  dialog.Click(kBrowse);
  const std::vector<uint8_t> kept = PictureFile();
  struct Case {
    std::optional<std::string> answer;
    const char* failCall;
    const char* message;
  };
  const Case cases[] = {
      {"C:\\pictures\\four.bmp", nullptr, "Make sure the specified bitmap is 1/8/24/ bits!"},
      {"C:\\pictures\\deep.bmp", nullptr, "Make sure the specified bitmap is 1/8/24/ bits!"},
      {"C:\\pictures\\gone.bmp", nullptr, "Make sure the specified bitmap is 1/8/24/ bits!"},
      {"C:\\pictures\\big.bmp", nullptr, "The bitmap you selected is too big!"},
      {"", nullptr, "No filename is specified!"},
      {"C:\\" + std::string(130, 'p') + ".bmp", nullptr, "The specified file does not exist!"},
      {"C:\\pictures\\gray8.bmp", "WriteFile", "Please check if user has administrator privileges!"},
      {std::nullopt, nullptr, nullptr},  // cancelled
  };
  files.PutBytes("C:\\pictures\\gray8.bmp", with(54, 24));  // would change the file if it got through
  for (const Case& c : cases) {
    const size_t shown = dialog.Messages().size();
    journal.ClearFailures();
    if (c.failCall != nullptr) journal.FailCall(c.failCall, 5);
    dialogs.QueueAnswer(c.answer);
    dialog.Click(kBrowse);
    const std::string what = c.answer.value_or("(cancel)").substr(0, 30);
    if (c.message == nullptr) {
      EXPECT_EQ(dialog.Messages().size(), shown) << what;
    } else {
      ASSERT_EQ(dialog.Messages().size(), shown + 1) << what;
      EXPECT_EQ(dialog.Messages().back().text, c.message) << what;
      EXPECT_EQ(dialog.Messages().back().caption, "Error");
      EXPECT_EQ(dialog.Messages().back().icon, MessageIcon::kError);
    }
    EXPECT_EQ(PictureFile(), kept) << what;
    EXPECT_EQ(dialog.At(kPath).text, "C:\\pictures\\gray8.bmp") << what;
  }
}

TEST_F(WatermarkPageFixture, PicturePreviewIsPlacedBrightenedAndReadAgainAfterCancel) {
  record[field::kWatermarkMode.offset] = 1;
  record[field::kWatermarkPosition.offset] = 9;
  record[field::kWatermarkSize.offset] = 30;
  record[field::kWatermarkBrightness.offset] = 20;
  field::kWatermarkBitmapPath.Set(record.data(), u"C:\\pictures\\gray8.bmp");
  Open();
  platform::ui::Picture expected = watermark::PaintPreview(
      kPreviewWidth, kPreviewHeight,
      *watermark::ReadPicture24(watermark::NormaliseBitmap(EightBitPicture()).file), 30, 9);
  watermark::Brighten(expected, 20);
  ASSERT_TRUE(dialog.At(kPreview).picture);
  EXPECT_EQ(*dialog.At(kPreview).picture, expected);
  // Tiles of 38 x 25: the picture's bottom row, darkest first, fills the tile's lower half.
  EXPECT_EQ(dialog.At(kPreview).picture->At(0, 24), 0x141414u);

  // Loaded once: later repaints and other pages use the copy until a sheet is cancelled.
  const size_t reads = journal.CountOf("ReadFile");
  dialog.Slide(kBrightness, 0);
  platform::ui::FakeDialogControls second(journal);
  Open(second);
  EXPECT_EQ(journal.CountOf("ReadFile"), reads);
  dialog.SendSheetEvent(SheetEvent::kQueryCancel);
  dialog.Paint();
  EXPECT_EQ(journal.CountOf("ReadFile"), reads + 1);
}

TEST_F(WatermarkPageFixture, AMissingPictureIsReportedOncePerLibrary) {
  record[field::kWatermarkMode.offset] = 1;
  field::kWatermarkBitmapPath.Set(record.data(), u"C:\\pictures\\gone.bmp");
  Open();
  ASSERT_EQ(dialog.Messages().size(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "The specified file does not exist!");
  EXPECT_TRUE(dialog.At(kPreview).picture);
  dialog.SendSheetEvent(SheetEvent::kQueryCancel);
  dialog.Paint();
  platform::ui::FakeDialogControls second(journal);
  Open(second);
  EXPECT_EQ(dialog.Messages().size(), 1u);
  EXPECT_TRUE(second.Messages().empty());
}

TEST_F(WatermarkPageFixture, ApplyingATextWatermarkWritesTheRecordAndTheSquare) {
  Open();
  dialog.Click(kTextKind);
  dialog.Choose(kText, 3);
  dialog.Choose(kStyle, 2);
  dialog.Type(kFontSize, "36");
  dialog.Slide(kAngle, 45);
  const size_t results = journal.CountOf("pfnComPropSheet");
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_EQ(journal.CountOf("pfnComPropSheet"), results + 1);
  EXPECT_EQ(journal.Lines().back(), "SendMessageW message=PSM_UNCHANGED");
  EXPECT_EQ(field::kWatermarkMode.Get(record.data()), 2);
  EXPECT_EQ(field::kPrintAsGraphics.Get(record.data()), 1);
  EXPECT_EQ(field::kWatermarkText.Get(record.data()), u"DRAFT");
  EXPECT_EQ(field::kWatermarkFontFace.Get(record.data()), u"Arial");
  EXPECT_EQ(field::kWatermarkFontSize.Get(record.data()), 36);
  EXPECT_EQ(field::kWatermarkFontStyle.Get(record.data()), 2);
  EXPECT_EQ(field::kWatermarkAngle.Get(record.data()), 45);
  const std::vector<uint8_t> file = PictureFile();
  ASSERT_EQ(file.size(), watermark::kTextFileSize);
  const std::optional<platform::ui::Picture> square = watermark::RenderText(
      fonts, {u"DRAFT", "Arial", 36, 2, 45, field::kWatermarkBrightness.Get(record.data())});
  EXPECT_EQ(file, watermark::EncodeBitmap24(*square));
  EXPECT_EQ(journal.CallsTo("CreateFontIndirectW").back(),
            "CreateFontIndirectW face=Arial height=-48 weight=700 italic=0 escapement=450 clip=angles");
}

TEST_F(WatermarkPageFixture, TheTextPreviewShowsWhatApplyWrites) {
  // An empty text shows CONFIDENTIAL and a face the system lacks shows its first family: the preview draws
  // those, as apply stores and renders them.
  record[field::kWatermarkMode.offset] = 2;
  field::kWatermarkFontFace.Set(record.data(), u"Gone Sans");
  Open();
  EXPECT_EQ(journal.CallsTo("TextOutW").back(), "TextOutW x=6 y=340 text=CONFIDENTIAL side=300");
  EXPECT_EQ(journal.CallsTo("CreateFontIndirectW").back().substr(0, 31), "CreateFontIndirectW face=Arial ");
  const std::optional<platform::ui::Picture> square =
      watermark::RenderText(fonts, {u"CONFIDENTIAL", "Arial", 50, 0, 45, 50});
  ASSERT_TRUE(square);
  EXPECT_EQ(*dialog.At(kPreview).picture,
            watermark::PaintPreview(kPreviewWidth, kPreviewHeight, *square, 100, 4));
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_EQ(PictureFile(), watermark::EncodeBitmap24(*square));
  EXPECT_EQ(field::kWatermarkText.Get(record.data()), u"CONFIDENTIAL");
  EXPECT_EQ(field::kWatermarkFontFace.Get(record.data()), u"Arial");
}

TEST_F(WatermarkPageFixture, ApplyReportsNoSuccessWhenThePictureFileCannotBeWritten) {
  record[field::kWatermarkMode.offset] = 2;
  record[field::kPrintAsGraphics.offset] = 1;
  Open();
  for (const char* call : {"WriteFile", "TextOutW"}) {
    journal.ClearFailures();
    journal.FailCall(call, 5);
    const size_t results = journal.CountOf("pfnComPropSheet");
    dialog.SendSheetEvent(SheetEvent::kApply);
    EXPECT_EQ(journal.CountOf("pfnComPropSheet"), results) << call;
    EXPECT_EQ(dialog.Messages().back().text, "Please check if user has administrator privileges!") << call;
  }
  EXPECT_TRUE(PictureFile().empty());
}

TEST_F(WatermarkPageFixture, ApplyingAPictureWatermarkPutsThePictureBackIntoTheFile) {
  Open();
  dialog.Click(kPicture);
  dialogs.QueueAnswer("C:\\pictures\\gray8.bmp");
  dialog.Click(kBrowse);
  dialog.Click(kTextKind);
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_EQ(PictureFile().size(), watermark::kTextFileSize);
  dialog.Click(kPicture);
  dialog.SendSheetEvent(SheetEvent::kApply);
  EXPECT_EQ(PictureFile(), watermark::NormaliseBitmap(EightBitPicture()).file);
  EXPECT_EQ(field::kWatermarkMode.Get(record.data()), 1);
  EXPECT_EQ(field::kWatermarkBitmapPath.Get(record.data()), u"C:\\pictures\\gray8.bmp");
}

TEST_F(WatermarkPageFixture, ALanguageChosenMeanwhileShowsInTheListsAtTheNextPaint) {
  Open();
  dialog.Choose(kStyle, 2);
  dialog.Choose(kPosition, 9);
  texts.table[{"WATERMARK", "RC_STATIC_WATERMARK_FONTSTYLE1"}] = "常规";
  texts.table[{"WATERMARK", "RC_STATIC_WATERMARK_POSITION10"}] = "平铺";
  texts.table[{"WATERMARK", "RC_STATIC_WATERMARK_POSITION1"}] = "左上";
  texts.table[{"WATERMARK", "RC_RADIO_NO"}] = "无水印";
  dialog.Paint();
  EXPECT_EQ(dialog.At(kNone).text, "无水印");
  EXPECT_EQ(dialog.At(kStyle).items[0], "常规");
  EXPECT_EQ(dialog.At(kPosition).items[9], "平铺");
  EXPECT_EQ(dialog.At(kStyle).selection, 2);
  EXPECT_EQ(dialog.At(kPosition).selection, 9);
}

TEST(WatermarkPictureFile, IsTheTemporaryFolderThePrinterAndOneDotBmp) {
  EXPECT_EQ(WatermarkPage::PictureFilePath("C:\\Temp\\", "MQ-450"), "C:\\Temp\\MQ-4501.bmp");
  EXPECT_EQ(WatermarkPage::PictureFilePath("C:\\Temp", "MQ-450"), "C:\\Temp\\MQ-4501.bmp");
}

}  // namespace
}  // namespace mq::plugin
