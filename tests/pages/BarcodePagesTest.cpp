// The 1D and 2D Code pages through the in-memory dialog, spooler and system: the shared group area, the
// clamps written back to the up-down controls, the HRI and symbol-height rules, the composite segment rule,
// fonts and types switching groups and sample data, the language refresh on paint, and the test prints
// (bytes, refusals, data in a double-byte ANSI code page).
#include <gtest/gtest.h>

#include "TableTexts.h"
#include "pages/Barcode1DPage.h"
#include "pages/Barcode2DPage.h"
#include "platform/fake/FakeDialogControls.h"
#include "platform/fake/FakeSpooler.h"
#include "platform/fake/FakeSystem.h"
#include "plugin/PrivateSettings.h"

namespace mq::plugin {
namespace {

using Bytes = std::vector<uint8_t>;
using platform::ui::FakeDialogControls;

Bytes B(std::string_view s) {
  return Bytes(s.begin(), s.end());
}

struct BarcodePageFixture : ::testing::Test {
  platform::CallJournal journal;
  platform::FakeSpooler spooler{journal, true};
  platform::PrinterHandle printer = spooler.OpenPrinterForJobs("MQ-450");
  platform::FakeSystemInfo system;
  testing::TableTexts texts;
  std::vector<uint8_t> record = std::vector<uint8_t>(kPrivateSettingsSize, 0);
  FakeDialogControls dialog{journal};

  BarcodePageFixture() { WriteDefaults(record.data(), "C:\\Windows\\system32"); }
  uint8_t* r() { return record.data(); }
  size_t Changes() { return journal.CountOf("SendMessageW"); }
  std::vector<std::string> Items(int id) {
    std::vector<std::string> items;
    for (int i = 0; i < dialog.ItemCount(id); ++i) items.push_back(dialog.ItemText(id, i));
    return items;
  }
};

// --- 1D ---

struct Barcode1DPageTest : BarcodePageFixture {
  Barcode1DPage page{r(), texts, {spooler, printer, system}};
  Barcode1DFields Entry(uint32_t font) { return Barcode1D(font); }
};

using namespace barcode1d_page;

TEST_F(Barcode1DPageTest, OpensOnTheFirstFontWithOneGroupInTheSharedArea) {
  dialog.Start(page);
  // The GS1 DataBar group lies on the General group's area, hidden while font 1 is UPC-A.
  EXPECT_EQ(dialog.At(kGs1Group).movedTo, std::make_pair(26, 62));
  EXPECT_EQ(dialog.At(kGs1SeparatorUpDown).movedTo, std::make_pair(353, 158));
  EXPECT_EQ(dialog.At(kGs1Ai).movedTo, std::make_pair(132, 236));
  EXPECT_TRUE(dialog.IsVisible(kGeneralGroup));
  EXPECT_TRUE(dialog.IsVisible(kHeight));
  EXPECT_FALSE(dialog.IsVisible(kGs1Group));
  EXPECT_FALSE(dialog.IsVisible(kGs1Row));
  EXPECT_FALSE(dialog.IsVisible(kNotice));

  EXPECT_EQ(Items(kFont).size(), 8u);
  EXPECT_EQ(Items(kFont)[7], "1D Code8");
  EXPECT_EQ(dialog.Selection(kFont), 0);
  ASSERT_EQ(Items(kType).size(), 13u);
  EXPECT_EQ(Items(kType)[2], "EAN8");
  EXPECT_EQ(Items(kType)[12], "GS1 DataBar Expanded");
  EXPECT_EQ(Items(kPosition),
            (std::vector<std::string>{"Not printed", "Above the barcode", "Below the barcode",
                                      "Both above and below the barcode"}));
  EXPECT_EQ(Items(kGs1Hri).size(), 4u);
  EXPECT_EQ(Items(kGs1Ai)[1], "Application Identifier Specification to Data");

  EXPECT_EQ(dialog.Selection(kType), 0);
  EXPECT_EQ(dialog.At(kWidth).text, "3");
  EXPECT_EQ(dialog.At(kWidthUpDown).position, 3);
  EXPECT_EQ(dialog.At(kHeight).text, "163");
  EXPECT_EQ(dialog.At(kGs1Row).text, "100");
  EXPECT_EQ(dialog.Selection(kGs1Hri), 0);
  EXPECT_EQ(dialog.Selection(kGs1Ai), 1);
  EXPECT_TRUE(dialog.IsChecked(kFontA));
  EXPECT_FALSE(dialog.IsEnabled(kFontA)) << "no HRI line, so no HRI font";
  EXPECT_TRUE(dialog.IsChecked(kIndependence));
  EXPECT_FALSE(dialog.IsEnabled(kGs12DRow));
  EXPECT_FALSE(dialog.IsEnabled(kGs1Ai)) << "only GS1 DataBar Expanded uses application identifiers";
  EXPECT_EQ(dialog.At(kData).text, "123456789012");
  EXPECT_TRUE(dialog.IsEnabled(kPrint));
  // The stored height, shown as it is (163 dots).
  EXPECT_EQ(dialog.At(kSizeMm).text, " 23.0");
  EXPECT_EQ(dialog.At(kSizePoint).text, " 65.0");

  struct Range {
    int upDown, minimum, maximum, edit, characters;
  };
  for (const Range& range :
       {Range{kWidthUpDown, 2, 6, kWidth, 1}, Range{kHeightUpDown, 1, 255, kHeight, 3},
        Range{kGs1WidthUpDown, 1, 6, kGs1Width, 1}, Range{kGs1RowUpDown, 2, 250, kGs1Row, 3},
        Range{kGs12DRowUpDown, 1, 10, kGs12DRow, 2}, Range{kGs1SeparatorUpDown, 1, 10, kGs1Separator, 2}}) {
    SCOPED_TRACE(range.upDown);
    EXPECT_EQ(dialog.At(range.upDown).minimum, range.minimum);
    EXPECT_EQ(dialog.At(range.upDown).maximum, range.maximum);
    EXPECT_EQ(dialog.At(range.edit).textLimit, range.characters);
  }
  for (int id : {kFont, kType, kWidth, kHeight, kPosition, kFontA, kFontB, kData, kPrint, kIndependence,
                 kComposite, kGs1Width, kGs1Row, kGs12DRow, kGs1Separator, kGs1Hri, kGs1Ai})
    EXPECT_FALSE(dialog.At(id).toolTip.empty()) << id;
  EXPECT_EQ(Changes(), 0u) << "opening the page changes nothing";
}

TEST_F(Barcode1DPageTest, TypedValuesAreClampedStoredAndWrittenBackToTheirUpDowns) {
  struct Case {
    int edit;
    int upDown;
    const char* typed;
    int stored;
  };
  dialog.Start(page);
  const Barcode1DFields f = Entry(0);
  auto stored = [&](int edit) -> int {
    switch (edit) {
      case kWidth:
        return f.elementWidth.Get(r());
      case kHeight:
        return static_cast<int>(f.elementHeight.Get(r()));
      case kGs1Width:
        return f.gs1ElementWidth.Get(r());
      case kGs1Row:
        return static_cast<int>(f.gs1RowHeight.Get(r()));
      case kGs12DRow:
        return static_cast<int>(f.gs1CompositeRowHeight.Get(r()));
      default:
        return f.gs1SeparatorHeight.Get(r());
    }
  };
  const Case cases[] = {
      {kWidth, kWidthUpDown, "9", 6},
      {kWidth, kWidthUpDown, "1", 2},
      {kWidth, kWidthUpDown, "", 2},
      {kWidth, kWidthUpDown, "4", 4},
      {kHeight, kHeightUpDown, "0", 1},
      {kHeight, kHeightUpDown, "256", 255},
      {kHeight, kHeightUpDown, "-3", 255},
      {kHeight, kHeightUpDown, "99999999999", 255},
      {kGs1Width, kGs1WidthUpDown, "0", 1},
      {kGs1Width, kGs1WidthUpDown, "7", 6},
      {kGs1Row, kGs1RowUpDown, "1", 2},
      {kGs1Row, kGs1RowUpDown, "251", 250},
      {kGs1Row, kGs1RowUpDown, "-1", 250},
      {kGs12DRow, kGs12DRowUpDown, "0", 1},
      {kGs12DRow, kGs12DRowUpDown, "11", 10},
      {kGs1Separator, kGs1SeparatorUpDown, "0", 1},
      {kGs1Separator, kGs1SeparatorUpDown, "12", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.edit) + " " + c.typed);
    const size_t before = Changes();
    dialog.Type(c.edit, c.typed);
    EXPECT_EQ(stored(c.edit), c.stored);
    EXPECT_EQ(dialog.At(c.edit).text, std::to_string(c.stored));
    EXPECT_EQ(dialog.At(c.upDown).position, c.stored);
    EXPECT_EQ(Changes(), before + 1) << "the sheet is told";
  }
  EXPECT_EQ(f.elementWidthX8.Get(r()), 32u) << "the width times eight follows the last width, 4";
  EXPECT_EQ(Entry(1).elementWidth.Get(r()), 3) << "other fonts keep theirs";
}

TEST_F(Barcode1DPageTest, SymbolHeightSnapsToHalfPointsAndTheShownSizeWaitsForApplyOrAFontChange) {
  dialog.Start(page);
  const Barcode1DFields f = Entry(0);
  // The default 163 dots become 162 at the first recomputation: 65.2 points drop to 65.0.
  dialog.Type(kHeight, "163");
  EXPECT_EQ(f.symbolHeight.Get(r()), 162u);

  dialog.Type(kHeight, "100");
  dialog.Choose(kPosition, 2);  // below
  EXPECT_TRUE(dialog.IsEnabled(kFontA));
  EXPECT_TRUE(dialog.IsEnabled(kFontB));
  EXPECT_EQ(f.symbolHeight.Get(r()), 123u) << "124 dots of Font A: 49.6 points, 49.5, back to 123.75 dots";
  dialog.Click(kFontB);
  EXPECT_EQ(f.hriFont.Get(r()), 1);
  EXPECT_TRUE(dialog.IsChecked(kFontB));
  EXPECT_FALSE(dialog.IsChecked(kFontA));
  EXPECT_EQ(f.symbolHeight.Get(r()), 117u) << "100 + 17 dots of Font B: 46.8 points, 47.0";
  EXPECT_EQ(dialog.At(kSizeMm).text, " 23.0") << "edits do not refresh the shown size";
  EXPECT_EQ(dialog.At(kSizePoint).text, " 65.0");

  EXPECT_EQ(dialog.SendSheetEvent(platform::ui::SheetEvent::kApply), 1);
  EXPECT_EQ(dialog.At(kSizeMm).text, " 16.5");
  EXPECT_EQ(dialog.At(kSizePoint).text, " 47.0");
  EXPECT_EQ(journal.CountOf("pfnComPropSheet"), 1u);

  dialog.Choose(kPosition, 3);  // both: 34 dots of Font B
  EXPECT_EQ(f.symbolHeight.Get(r()), 133u) << "134 dots: 53.6 points, 53.5";
  dialog.Choose(kPosition, 0);  // not printed: no extra height, no HRI font
  EXPECT_FALSE(dialog.IsEnabled(kFontA));
  EXPECT_FALSE(dialog.IsEnabled(kFontB));
  EXPECT_EQ(f.hriPosition.Get(r()), 0);
  EXPECT_EQ(f.symbolHeight.Get(r()), 100u);

  // Another font shows its own size; coming back shows this one's stored size.
  dialog.Choose(kFont, 1);
  EXPECT_EQ(dialog.At(kSizePoint).text, " 65.0");
  dialog.Choose(kFont, 0);
  EXPECT_EQ(dialog.At(kSizeMm).text, " 14.1");
  EXPECT_EQ(dialog.At(kSizePoint).text, " 40.0");
}

TEST_F(Barcode1DPageTest, FontsAndTypesShowTheirGroupAndSampleData) {
  Entry(1).type.Set(r(), 9);   // GS1 DataBar Omnidirectional
  Entry(2).type.Set(r(), 12);  // GS1 DataBar Expanded
  Entry(2).gs1Hri.Set(r(), 3);
  dialog.Start(page);

  dialog.Choose(kFont, 1);
  EXPECT_TRUE(dialog.IsVisible(kGs1Group));
  EXPECT_FALSE(dialog.IsVisible(kGeneralGroup));
  EXPECT_EQ(dialog.At(kData).text, "01234567890123");
  EXPECT_FALSE(dialog.IsEnabled(kGs1Ai));
  dialog.Click(kComposite);
  EXPECT_TRUE(dialog.IsEnabled(kGs12DRow));
  EXPECT_TRUE(dialog.IsEnabled(kGs12DRowUpDown));

  dialog.Choose(kFont, 2);
  EXPECT_TRUE(dialog.IsChecked(kIndependence)) << "a GS1 font opens as an independent symbol";
  EXPECT_FALSE(dialog.IsChecked(kComposite));
  EXPECT_FALSE(dialog.IsEnabled(kGs12DRow));
  EXPECT_TRUE(dialog.IsEnabled(kGs1Ai));
  EXPECT_EQ(dialog.Selection(kGs1Hri), 2);

  dialog.Choose(kFont, 3);  // Code39 by default
  EXPECT_TRUE(dialog.IsVisible(kGeneralGroup));
  EXPECT_FALSE(dialog.IsVisible(kGs1Group));
  EXPECT_EQ(dialog.At(kData).text, "123ABC*");
  EXPECT_EQ(Changes(), 1u) << "only the Composite click changed anything";

  dialog.Type(kData, "");
  EXPECT_FALSE(dialog.IsEnabled(kPrint));
  dialog.Choose(kType, 11);
  EXPECT_EQ(Entry(3).type.Get(r()), 11);
  EXPECT_TRUE(dialog.IsVisible(kGs1Group));
  EXPECT_FALSE(dialog.IsEnabled(kGs1Ai));
  EXPECT_EQ(dialog.At(kData).text, "01234567890123");
  EXPECT_TRUE(dialog.IsEnabled(kPrint));
  dialog.Choose(kType, 12);
  EXPECT_TRUE(dialog.IsEnabled(kGs1Ai));
  dialog.Choose(kGs1Ai, 0);
  dialog.Choose(kGs1Hri, 3);
  EXPECT_EQ(Entry(3).gs1Ai.Get(r()), 0);
  EXPECT_EQ(Entry(3).gs1Hri.Get(r()), 4);
  dialog.Choose(kType, 3);
  EXPECT_TRUE(dialog.IsVisible(kGeneralGroup));
  EXPECT_EQ(dialog.At(kData).text, "1234567890123");
  EXPECT_EQ(Changes(), 6u);
}

TEST_F(Barcode1DPageTest, PrintSendsTheCheckedDataOrSaysItIsRefused) {
  dialog.Start(page);
  dialog.Choose(kFont, 7);  // Code128
  dialog.Type(kData, "{A12{C3456");
  dialog.Click(kPrint);
  ASSERT_EQ(spooler.JobBytes("Barcode").size(), 1u);
  const Bytes sent = spooler.JobBytes("Barcode")[0];
  EXPECT_EQ(sent, Build1DTestPrint(r(), 7, B("{A12{C3456")).Bytes());
  const Bytes tail(sent.begin() + 25, sent.end());
  EXPECT_EQ(tail, (Bytes{8, '{', 'A', '1', '2', '{', 'C', 34, 56, 0x00, 0x0A, 0x1D, 0x56, 0x42, 0x00}));

  for (const char* refused : {"{C123", "{D12"}) {
    dialog.Type(kData, refused);
    dialog.Click(kPrint);
  }
  EXPECT_EQ(spooler.Jobs().size(), 1u) << "refused data sends nothing";
  ASSERT_EQ(dialog.Messages().size(), 2u);
  EXPECT_EQ(dialog.Messages()[0].text, "BarCode data error!");
  EXPECT_EQ(dialog.Messages()[0].caption, "Error");
  EXPECT_EQ(dialog.Messages()[0].buttons, platform::ui::MessageButtons::kOk);
}

TEST_F(Barcode1DPageTest, DataGoesInTheSystemsAnsiCodePage) {
  system.ansiCodePage = 936;
  system.ansiCharacters = {{U'中', "\xD6\xD0"}};
  dialog.Start(page);
  dialog.Choose(kFont, 6);  // Code93: bytes 0..127 only
  dialog.Type(kData, "AB中");
  dialog.Click(kPrint);
  EXPECT_TRUE(spooler.Jobs().empty()) << "the two bytes of the double-byte character are above 127";
  EXPECT_EQ(dialog.Messages().size(), 1u);
  dialog.Type(kData, "ABC");
  dialog.Click(kPrint);
  ASSERT_EQ(spooler.Jobs().size(), 1u);
}

// --- 2D ---

struct Barcode2DPageTest : BarcodePageFixture {
  Barcode2DPage page{r(), texts, {spooler, printer, system}};
  Barcode2DFields Entry(uint32_t font) { return Barcode2D(font); }
};

namespace two = barcode2d_page;

TEST_F(Barcode2DPageTest, OpensOnTheFirstFontWithItsGroupAndFixedSize) {
  Entry(1).type.Set(r(), k2DQrCode);
  dialog.Start(page);
  EXPECT_EQ(dialog.At(two::kPdfGroup).movedTo, std::make_pair(26, 83));
  EXPECT_EQ(dialog.At(two::kQrGroup).movedTo, std::make_pair(26, 83));
  EXPECT_EQ(dialog.At(two::kQrLevel).movedTo, std::make_pair(130, 229));
  EXPECT_FALSE(dialog.At(two::kGs1Group).movedTo.has_value());
  EXPECT_TRUE(dialog.IsVisible(two::kPdfGroup));
  EXPECT_TRUE(dialog.IsVisible(two::kRows));
  EXPECT_FALSE(dialog.IsVisible(two::kGs1Group));
  EXPECT_FALSE(dialog.IsVisible(two::kQrWidth));

  EXPECT_EQ(dialog.At(two::kPoint).text, "9.5");
  EXPECT_FALSE(dialog.IsEnabled(two::kPoint));
  EXPECT_EQ(Items(two::kFont), (std::vector<std::string>{"2D Code1", "2D Code2"}));
  EXPECT_EQ(Items(two::kType).size(), 6u);
  EXPECT_EQ(Items(two::kPdfLevel).size(), 9u);
  EXPECT_EQ(Items(two::kPdfLevel)[8], "Error Correction Level 8");
  EXPECT_EQ(Items(two::kQrLevel), (std::vector<std::string>{"L", "M", "H", "Q"}));
  EXPECT_EQ(Items(two::kQrModel), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Items(two::kQrMode), (std::vector<std::string>{"Chinese", "Japanese"}));
  EXPECT_EQ(dialog.At(two::kRowsRange).text, "[ 3 . . 90 ]");
  EXPECT_EQ(dialog.At(two::kSegmentsRange).text, "[ 2 . . 20 ]");
  EXPECT_EQ(dialog.At(two::kData).text, "01234567890123");
  EXPECT_EQ(dialog.At(two::kNotice).text, "Select this font size in the application.");

  EXPECT_EQ(dialog.At(two::kColumns).text, "3");
  EXPECT_EQ(dialog.Selection(two::kPdfLevel), 5);
  EXPECT_EQ(dialog.At(two::kSegments).text, "4");
  EXPECT_EQ(dialog.Selection(two::kQrModel), 0);
  EXPECT_EQ(dialog.Selection(two::kQrLevel), 1);
  EXPECT_TRUE(dialog.IsEnabled(two::kRows));
  EXPECT_FALSE(dialog.IsEnabled(two::kSegments)) << "only GS1 DataBar Expanded Stacked has segments";
  EXPECT_FALSE(dialog.IsEnabled(two::kGs1Ai));
  EXPECT_TRUE(dialog.IsChecked(two::kIndependence));
  EXPECT_FALSE(dialog.IsEnabled(two::kGs12DRow));
  int tips = 0;
  for (int id = 1000; id < 1300; ++id) tips += dialog.Has(id) && !dialog.At(id).toolTip.empty();
  EXPECT_EQ(tips, 22);

  dialog.Choose(two::kFont, 1);
  EXPECT_TRUE(dialog.IsVisible(two::kQrGroup));
  EXPECT_FALSE(dialog.IsVisible(two::kPdfGroup));
  EXPECT_FALSE(dialog.IsEnabled(two::kRows));
  EXPECT_EQ(Changes(), 0u);
}

TEST_F(Barcode2DPageTest, TypedValuesAreClampedStoredAndWrittenBackToTheirUpDowns) {
  struct Case {
    int edit;
    int upDown;
    const char* typed;
    int stored;
  };
  dialog.Start(page);
  const Barcode2DFields f = Entry(0);
  auto stored = [&](int edit) -> int {
    switch (edit) {
      case two::kColumns:
        return f.pdfColumns.Get(r());
      case two::kRows:
        return f.pdfRows.Get(r());
      case two::kPdfWidth:
        return f.pdfElementWidth.Get(r());
      case two::kPdfHeight:
        return f.pdfElementHeight.Get(r());
      case two::kGs1Width:
        return f.gs1ElementWidth.Get(r());
      case two::kGs1Row:
        return static_cast<int>(f.gs1RowHeight.Get(r()));
      case two::kGs12DRow:
        return static_cast<int>(f.gs1CompositeRowHeight.Get(r()));
      case two::kGs1Separator:
        return f.gs1SeparatorHeight.Get(r());
      case two::kSegments:
        return f.gs1SegmentNumber.Get(r());
      default:
        return f.qrElementWidth.Get(r());
    }
  };
  const Case cases[] = {
      {two::kColumns, two::kColumnsUpDown, "0", 1},
      {two::kColumns, two::kColumnsUpDown, "31", 30},
      {two::kRows, two::kRowsUpDown, "95", 90},
      {two::kRows, two::kRowsUpDown, "2", 3},
      {two::kPdfWidth, two::kPdfWidthUpDown, "0", 1},
      {two::kPdfWidth, two::kPdfWidthUpDown, "8", 7},
      {two::kPdfHeight, two::kPdfHeightUpDown, "1", 2},
      {two::kPdfHeight, two::kPdfHeightUpDown, "26", 25},
      {two::kGs1Width, two::kGs1WidthUpDown, "0", 1},
      {two::kGs1Width, two::kGs1WidthUpDown, "7", 6},
      {two::kGs1Row, two::kGs1RowUpDown, "1", 2},
      {two::kGs1Row, two::kGs1RowUpDown, "251", 250},
      {two::kGs12DRow, two::kGs12DRowUpDown, "0", 1},
      {two::kGs12DRow, two::kGs12DRowUpDown, "11", 10},
      {two::kGs1Separator, two::kGs1SeparatorUpDown, "10", 10},
      {two::kGs1Separator, two::kGs1SeparatorUpDown, "0", 1},
      {two::kSegments, two::kSegmentsUpDown, "1", 2},
      {two::kSegments, two::kSegmentsUpDown, "21", 20},
      {two::kSegments, two::kSegmentsUpDown, "12", 12},
      {two::kQrWidth, two::kQrWidthUpDown, "0", 1},
      {two::kQrWidth, two::kQrWidthUpDown, "25", 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.edit) + " " + c.typed);
    const size_t before = Changes();
    dialog.Type(c.edit, c.typed);
    EXPECT_EQ(stored(c.edit), c.stored);
    EXPECT_EQ(dialog.At(c.edit).text, std::to_string(c.stored));
    EXPECT_EQ(dialog.At(c.upDown).position, c.stored);
    EXPECT_EQ(Changes(), before + 1);
  }
  // The heights up to 10 and the segment numbers up to 20 can be typed, not only reached by the arrows.
  EXPECT_EQ(dialog.At(two::kGs1Separator).textLimit, 2);
  EXPECT_EQ(dialog.At(two::kSegments).textLimit, 2);

  struct Pick {
    int list, index, stored;
  };
  for (const Pick& p : {Pick{two::kPdfLevel, 8, 8}, Pick{two::kGs1Hri, 2, 3}, Pick{two::kGs1Ai, 0, 0},
                        Pick{two::kQrMode, 1, 1}, Pick{two::kQrModel, 1, 2}, Pick{two::kQrLevel, 3, 3}}) {
    dialog.Choose(p.list, p.index);
    const int got = p.list == two::kPdfLevel  ? f.pdfErrorLevel.Get(r())
                    : p.list == two::kGs1Hri  ? f.gs1Hri.Get(r())
                    : p.list == two::kGs1Ai   ? f.gs1Ai.Get(r())
                    : p.list == two::kQrMode  ? f.qrLanguageMode.Get(r())
                    : p.list == two::kQrModel ? f.qrModel.Get(r())
                                              : f.qrErrorLevel.Get(r());
    EXPECT_EQ(got, p.stored) << p.list;
  }
}

TEST_F(Barcode2DPageTest, CompositeNeedsFourSegmentsAndIndependenceAllowsTwoAgain) {
  dialog.Start(page);
  const Barcode2DFields f = Entry(0);
  dialog.Choose(two::kType, k2DExpandedStacked);
  EXPECT_TRUE(dialog.IsVisible(two::kGs1Group));
  EXPECT_TRUE(dialog.IsEnabled(two::kSegments));
  EXPECT_TRUE(dialog.IsEnabled(two::kGs1Ai));
  dialog.Type(two::kSegments, "2");
  EXPECT_EQ(f.gs1SegmentNumber.Get(r()), 2);

  dialog.Click(two::kComposite);
  EXPECT_EQ(f.gs1SegmentNumber.Get(r()), 4);
  EXPECT_EQ(dialog.At(two::kSegments).text, "4");
  EXPECT_EQ(dialog.At(two::kSegmentsUpDown).minimum, 4);
  EXPECT_EQ(dialog.At(two::kSegmentsRange).text, "[ 4 . . 20 ]");
  EXPECT_TRUE(dialog.IsEnabled(two::kGs12DRow));
  dialog.Type(two::kSegments, "3");
  EXPECT_EQ(f.gs1SegmentNumber.Get(r()), 4) << "a composite symbol never stores fewer than four";

  dialog.Click(two::kIndependence);
  EXPECT_EQ(f.gs1SegmentNumber.Get(r()), 4);
  EXPECT_EQ(dialog.At(two::kSegmentsUpDown).minimum, 2);
  EXPECT_EQ(dialog.At(two::kSegmentsRange).text, "[ 2 . . 20 ]");
  EXPECT_FALSE(dialog.IsEnabled(two::kGs12DRow));
  dialog.Type(two::kSegments, "2");
  EXPECT_EQ(f.gs1SegmentNumber.Get(r()), 2);

  f.gs1SegmentNumber.Set(r(), 9);
  dialog.Click(two::kComposite);
  EXPECT_EQ(f.gs1SegmentNumber.Get(r()), 9) << "four or more stays as it is";
}

TEST_F(Barcode2DPageTest, TestPrintsOfQrAndMaxiCode) {
  dialog.Start(page);
  dialog.Choose(two::kType, k2DQrCode);
  EXPECT_TRUE(dialog.IsVisible(two::kQrGroup));
  dialog.Choose(two::kQrLevel, 2);
  dialog.Type(two::kData, "HELLO");
  dialog.Click(two::kPrint);
  ASSERT_EQ(spooler.JobBytes("2Dcode").size(), 1u);
  const Bytes sent = spooler.JobBytes("2Dcode")[0];
  EXPECT_EQ(sent, Build2DTestPrint(r(), 0, B("HELLO")).Bytes());
  EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 12),
            (Bytes{0x1D, 0x6F, 0x00, 0x03, 0x00, 0x01, 0x1D, 0x6B, 0x0B, 'H', 0x41, 0x2C}));

  dialog.Choose(two::kType, k2DMaxiCode);
  for (int id : {two::kPdfGroup, two::kGs1Group, two::kQrGroup}) EXPECT_FALSE(dialog.IsVisible(id)) << id;
  dialog.Type(two::kData, std::string(85, 'a'));
  dialog.Click(two::kPrint);
  EXPECT_EQ(spooler.Jobs().size(), 1u);
  ASSERT_EQ(dialog.Messages().size(), 1u);
  EXPECT_EQ(dialog.Messages()[0].text, "BarCode data error!");
  dialog.Type(two::kData, std::string(84, 'a'));
  dialog.Click(two::kPrint);
  EXPECT_EQ(spooler.Jobs().size(), 2u) << "84 bytes of any value are a Maxi Code";
}

TEST_F(Barcode2DPageTest, ADoubleByteCharacterCountsTwoBytes) {
  system.ansiCodePage = 936;
  system.ansiCharacters = {{U'中', "\xD6\xD0"}, {U'文', "\xCE\xC4"}};
  Entry(0).type.Set(r(), k2DMaxiCode);
  dialog.Start(page);
  std::string text;
  for (int i = 0; i < 42; ++i) text += "中";
  dialog.Type(two::kData, text);
  dialog.Click(two::kPrint);
  ASSERT_EQ(spooler.Jobs().size(), 1u) << "42 characters are 84 bytes";
  dialog.Type(two::kData, text + "文");
  dialog.Click(two::kPrint);
  EXPECT_EQ(spooler.Jobs().size(), 1u) << "43 characters are 86 bytes";

  Entry(0).type.Set(r(), k2DPdf417);
  dialog.Type(two::kData, "中文");
  dialog.Click(two::kPrint);
  ASSERT_EQ(spooler.Jobs().size(), 2u);
  const Bytes sent = spooler.Jobs()[1].bytes;
  EXPECT_EQ(Bytes(sent.begin() + 14, sent.begin() + 19), (Bytes{0xD6, 0xD0, 0xCE, 0xC4, 0x00}));
}

// A language change made elsewhere shows at the next paint, lists keeping what they select.
TEST_F(BarcodePageFixture, PaintReadsTheLanguageAgainAndKeepsListSelections) {
  Barcode1DPage one{r(), texts, {spooler, printer, system}};
  dialog.Start(one);
  dialog.Choose(kPosition, 2);
  texts.table[{"1DCODE", "RC_STATIC_1DCODE_POSITION3"}] = "下方";
  texts.table[{"1DCODE", "RC_STATIC_1DCODE_TYPE"}] = "类型:";
  texts.table[{"1DCODE", "CTEXT_FONTNAME"}] = "选择条码字体。";
  const int resolves = texts.resolves;
  dialog.Paint();
  EXPECT_GT(texts.resolves, resolves);
  EXPECT_EQ(dialog.At(kTypeLabel).text, "类型:");
  EXPECT_EQ(dialog.At(kFont).toolTip, "选择条码字体。");
  EXPECT_EQ(dialog.ItemText(kPosition, 2), "下方");
  EXPECT_EQ(dialog.Selection(kPosition), 2);

  FakeDialogControls second{journal};
  Barcode2DPage two{r(), texts, {spooler, printer, system}};
  second.Start(two);
  second.Choose(two::kPdfLevel, 7);
  texts.table[{"2DCODE", "RC_STATIC_2DCODE_ERRORCOR8"}] = "纠错等级 7";
  second.Paint();
  EXPECT_EQ(second.ItemText(two::kPdfLevel, 7), "纠错等级 7");
  EXPECT_EQ(second.Selection(two::kPdfLevel), 7);
}

}  // namespace
}  // namespace mq::plugin
