// The 2D Code page's logic.
#include "pages/Barcode2DPage.h"

#include <algorithm>
#include <string>

#include "plugin/PrivateSettings.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::SheetEvent;
using namespace barcode2d_page;

namespace {

constexpr const char* kSection = "2DCODE";
constexpr const char* kFontSize = "9.5";
constexpr int kQrLevels = 4;

constexpr SpinEdit kColumnsSpin = {kColumns, kColumnsUpDown, 1, 30, 2};
constexpr SpinEdit kPdfWidthSpin = {kPdfWidth, kPdfWidthUpDown, 1, 7, 1};
constexpr SpinEdit kRowsSpin = {kRows, kRowsUpDown, 3, 90, 2};
constexpr SpinEdit kPdfHeightSpin = {kPdfHeight, kPdfHeightUpDown, 2, 25, 2};
constexpr SpinEdit kGs1WidthSpin = {kGs1Width, kGs1WidthUpDown, 1, 6, 1};
constexpr SpinEdit kGs1RowSpin = {kGs1Row, kGs1RowUpDown, 2, 250, 3};
// The heights up to 10 and the segment number up to 20 take two digits.
constexpr SpinEdit kGs12DRowSpin = {kGs12DRow, kGs12DRowUpDown, 1, 10, 2};
constexpr SpinEdit kGs1SeparatorSpin = {kGs1Separator, kGs1SeparatorUpDown, 1, 10, 2};
constexpr SpinEdit kSegmentsSpin = {kSegments, kSegmentsUpDown, 2, 20, 2};
// A composite symbol needs at least four segments per row.
constexpr SpinEdit kCompositeSegmentsSpin = {kSegments, kSegmentsUpDown, 4, 20, 2};
constexpr SpinEdit kQrWidthSpin = {kQrWidth, kQrWidthUpDown, 1, 24, 2};
constexpr SpinEdit kSpins[] = {kColumnsSpin, kPdfWidthSpin, kRowsSpin,         kPdfHeightSpin, kGs1WidthSpin,
                               kGs1RowSpin,  kGs12DRowSpin, kGs1SeparatorSpin, kSegmentsSpin,  kQrWidthSpin};

constexpr ControlText kTexts[] = {
    {kFontLabel, {"RC_STATIC_2DCODE_FONTNAME", "Font Name:"}, kRoomShort},
    {kTypeLabel, {"RC_STATIC_2DCODE_TYPE", "Type:"}, kRoomShort},
    {kPointLabel, {"RC_STATIC_2DCODE_POINT", "point"}, kRoomShort},
    // Read with the room of a line: the English notice itself is longer than a label's room.
    {kNotice, {"RC_STATIC_2DCODE_NOTICE", "Select this font size in the application."}, kRoomLine},
    {kColumnsLabel, {"RC_STATIC_2DCODE_COLUMN", "Column:"}, kRoomShort},
    {kPdfWidthLabel, {"RC_STATIC_2DCODE_ELEMENTWIDTH", "Element Width:"}, kRoomShort},
    {kRowsLabel, {"RC_STATIC_2DCODE_ROW", "Row:"}, kRoomShort},
    {kPdfHeightLabel, {"RC_STATIC_2DCODE_ELEMENTHEIGHT", "Element Height:"}, kRoomShort},
    {kPdfLevelLabel, {"RC_STATIC_2DCODE_ERRORCOR", "Error Correction:"}, kRoomShort},
    {kGs1Group, {"RC_STATIC_2DCODE_GSDATABAR", "GS1 DataBar"}, kRoomLabel},
    {kGs1TypeLabel, {"RC_STATIC_2DCODE_GSTYPE", "Type:"}, kRoomLabel},
    {kIndependence, {"RC_RADIO_Independence", "Independence"}, kRoomLabel},
    {kComposite, {"RC_RADIO_Complex", "Composite"}, kRoomLabel},
    {kGs1WidthLabel, {"RC_STATIC_2DCODE_GSEWIDTH", "Element Width:"}, kRoomLabel},
    {kGs12DRowLabel, {"RC_STATIC_2DCODE_GS2DRHEIGHT", "2D Row Height:"}, kRoomLabel},
    {kGs1RowLabel, {"RC_STATIC_2DCODE_GSRHEIGHT", "Row Height:"}, kRoomLabel},
    {kGs1SeparatorLabel, {"RC_STATIC_2DCODE_GSSHEIGHT", "Separator Height:"}, kRoomLabel},
    {kSegmentsLabel, {"RC_STATIC_2DCODE_GSSNUMBER", "Segment Number:"}, kRoomLabel},
    {kGs1HriLabel, {"RC_STATIC_2DCODE_GSHRI", "HRI:"}, kRoomLabel},
    {kGs1AiLabel, {"RC_STATIC_2DCODE_GSAAISTD", "Expanded:"}, kRoomLabel},
    {kPrintGroup, {"RC_STATIC_2DCODE_PRINT", "Test Print"}, kRoomLabel},
    {kDataLabel, {"RC_STATIC_2DCODE_DATA", "Data:"}, kRoomLabel},
    {kPrint, {"RC_BUTTON_PRINT2D", "Print"}, kRoomLabel},
    {kPdfGroup, {"RC_STATIC_2DCODE_PDF417", "PDF417"}, kRoomLabel},
    {kQrGroup, {"RC_STATIC_2DCODE_QR", "QR"}, kRoomLabel},
    {kQrWidthLabel, {"RC_STATIC_2DCODE_QREWIDTH", "Element Width:"}, kRoomLabel},
    {kQrModeLabel, {"RC_STATIC_2DCODE_QRLMODE", "Language mode:"}, kRoomLabel},
    {kQrModelLabel, {"RC_STATIC_2DCODE_QRMODE", "Model:"}, kRoomLabel},
    {kQrLevelLabel, {"RC_STATIC_2DCODE_QRECORRECTION", "Error Correction:"}, kRoomLabel},
};

constexpr TextKey kPdfLevelTexts[] = {
    {"RC_STATIC_2DCODE_ERRORCOR1", "Error Correction Level 0"},
    {"RC_STATIC_2DCODE_ERRORCOR2", "Error Correction Level 1"},
    {"RC_STATIC_2DCODE_ERRORCOR3", "Error Correction Level 2"},
    {"RC_STATIC_2DCODE_ERRORCOR4", "Error Correction Level 3"},
    {"RC_STATIC_2DCODE_ERRORCOR5", "Error Correction Level 4"},
    {"RC_STATIC_2DCODE_ERRORCOR6", "Error Correction Level 5"},
    {"RC_STATIC_2DCODE_ERRORCOR7", "Error Correction Level 6"},
    {"RC_STATIC_2DCODE_ERRORCOR8", "Error Correction Level 7"},
    {"RC_STATIC_2DCODE_ERRORCOR9", "Error Correction Level 8"},
};
constexpr TextKey kModeTexts[] = {
    {"RC_CMB_FONTMODE1", "Chinese"},
    {"RC_CMB_FONTMODE2", "Japanese"},
};
constexpr TextKey kGs1HriTexts[] = {
    {"RC_IDC_CMB_HRI21", "Primary and Secondary Data"},
    {"RC_IDC_CMB_HRI22", "Primary Data"},
    {"RC_IDC_CMB_HRI23", "Secondary Data"},
    {"RC_IDC_CMB_HRI24", "None"},
};
constexpr TextKey kAiNone = {"RC_IDC_CMB_AI21", "None"};
constexpr TextKey kAiApplied = {"RC_IDC_CMB_AI22", "Application Identifier Specification to Data"};
// The printer's letters of the QR error correction levels 0..3.
constexpr const char* kQrLevelLetters[kQrLevels] = {"L", "M", "H", "Q"};

constexpr HelpText kHelp[] = {
    {kFont, {"CTEXT_FONTNAME2D", "Select the 2D barcode font from the drop-down list."}},
    {kType,
     {"CTEXT_BARCODETYPE2D", "Select the 2D barcode type of the selected font from the drop-down list."}},
    {kIndependence, {"CTEXT_RADIO_Independence", "The GS1 DataBar barcode is printed alone."}},
    {kComposite,
     {"CTEXT_RADIO_Complex",
      "The GS1 DataBar barcode is printed as a composite symbol with a 2D component; the 2D row height can "
      "then be set."}},
    {kGs1Width,
     {"CTEXT_EDIT_GS1WIDTH2",
      "Specify the element width of GS1 DataBar. The unit of width is dot, available range is 1-6."}},
    {kGs1Row,
     {"CTEXT_EDIT_GS1HEIGHT2",
      "Specify the row height of GS1 DataBar. The unit of height is dot, available range is 2-250."}},
    {kGs12DRow,
     {"CTEXT_EDIT_ComplexHEIGHT2",
      "Specify the row height of the 2D component of a composite symbol. The unit of height is dot, "
      "available "
      "range is 1-10."}},
    {kGs1Separator,
     {"CTEXT_EDIT_SeparatorHEIGHT2",
      "Specify the height of the separator pattern. The unit of height is dot, available range is 1-10."}},
    {kSegments,
     {"CTEXT_EDIT_SECTIONNUM",
      "Specify the section number of barcode symbol per line. This parameter needs to be set only when the "
      "barcode type is GS1 DataBar Expanded Stacked. Available range for independent expanded stacked "
      "barcode "
      "is 2-20, and available range for complex expanded stacked barcode is 4-20."}},
    {kGs1Hri, {"CTEXT_CMB_HRI2", "Specify which data of GS1 DataBar is printed as HRI characters."}},
    {kGs1Ai,
     {"CTEXT_CMB_AI2",
      "Specify whether to use application identifiers. This item is enabled only when the barcode type is "
      "GS1 "
      "DataBar Expanded Stacked."}},
    {kData, {"CTEXT_EDIT_PRINT2D", "Enter the data of the test symbol."}},
    {kPrint, {"CTEXT_BUTTON_PRINT2D", "Print a test symbol of the selected font with the data entered."}},
    {kColumns,
     {"CTEXT_EDIT_COLUMN", "Specify the number of data columns of PDF417. Available range is 1-30."}},
    {kPdfWidth,
     {"CTEXT_EDIT_WIDTH2D",
      "Specify the module width of PDF417. The unit of width is dot, available range is 1-7."}},
    {kRows, {"CTEXT_EDIT_ROW", "Specify the number of rows of PDF417. Available range is 3-90."}},
    {kPdfHeight,
     {"CTEXT_EDIT_HEIGHT2D", "Specify the row height of PDF417 in module widths. Available range is 2-25."}},
    {kPdfLevel, {"CTEXT_ERRORCORRECTIONLEVEL", "Select the error correction level of PDF417."}},
    {kQrWidth,
     {"CTEXT_EDIT_QRWIDTH",
      "Specify the module width of QR Code. The unit of width is dot, available range is 1-24."}},
    {kQrMode, {"CTEXT_CMB_FONTMODE", "Select the language of the characters in QR Code data."}},
    {kQrModel, {"CTEXT_CMB_TYPE", "Select the model of QR Code."}},
    {kQrLevel, {"CTEXT_CMB_ERROR", "Select the error correction level of QR Code: L, M, H or Q."}},
};
static_assert(std::size(kHelp) == 22);

// The PDF417 and QR groups are put onto one area, in pixels of the page; the GS1 DataBar group is there in
// the template already.
constexpr ControlPlace kPlaces[] = {
    {kPdfGroup, 26, 83},          {kColumnsLabel, 33, 108},    {kColumns, 130, 104},
    {kColumnsUpDown, 166, 104},   {kColumnsRange, 192, 108},   {kPdfWidthLabel, 33, 140},
    {kPdfWidth, 130, 137},        {kPdfWidthUpDown, 166, 137}, {kPdfWidthRange, 192, 140},
    {kRowsLabel, 33, 173},        {kRows, 130, 170},           {kRowsUpDown, 166, 170},
    {kRowsRange, 192, 173},       {kPdfHeightLabel, 33, 206},  {kPdfHeight, 130, 203},
    {kPdfHeightUpDown, 166, 203}, {kPdfHeightRange, 192, 206}, {kPdfLevelLabel, 33, 239},
    {kPdfLevel, 130, 236},        {kQrGroup, 26, 83},          {kQrWidthLabel, 33, 118},
    {kQrWidth, 130, 115},         {kQrWidthUpDown, 163, 115},  {kQrWidthRange, 190, 118},
    {kQrModeLabel, 33, 156},      {kQrModelLabel, 33, 194},    {kQrLevelLabel, 33, 232},
    {kQrMode, 130, 153},          {kQrModel, 130, 191},        {kQrLevel, 130, 229},
};

constexpr int kPdfControls[] = {kPdfGroup,       kColumnsLabel,   kColumns,   kColumnsUpDown,
                                kColumnsRange,   kPdfWidthLabel,  kPdfWidth,  kPdfWidthUpDown,
                                kPdfWidthRange,  kRowsLabel,      kRows,      kRowsUpDown,
                                kRowsRange,      kPdfHeightLabel, kPdfHeight, kPdfHeightUpDown,
                                kPdfHeightRange, kPdfLevelLabel,  kPdfLevel};
constexpr int kPdfInputs[] = {kColumns,    kColumnsUpDown, kPdfWidth,        kPdfWidthUpDown, kRows,
                              kRowsUpDown, kPdfHeight,     kPdfHeightUpDown, kPdfLevel};
constexpr int kGs1Controls[] = {kGs1Group,       kGs1TypeLabel,
                                kIndependence,   kComposite,
                                kGs1WidthLabel,  kGs1Width,
                                kGs1WidthUpDown, kGs1RowLabel,
                                kGs1Row,         kGs1RowUpDown,
                                kGs12DRowLabel,  kGs12DRow,
                                kGs12DRowUpDown, kGs1SeparatorLabel,
                                kGs1Separator,   kGs1SeparatorUpDown,
                                kSegmentsLabel,  kSegments,
                                kSegmentsUpDown, kSegmentsRange,
                                kGs1HriLabel,    kGs1Hri,
                                kGs1AiLabel,     kGs1Ai};
constexpr int kExpandedStackedInputs[] = {kSegments, kSegmentsUpDown, kGs1Ai};
constexpr int k2DRowControls[] = {kGs12DRow, kGs12DRowUpDown};
constexpr int kQrControls[] = {kQrGroup, kQrWidthLabel, kQrWidth, kQrWidthUpDown, kQrWidthRange, kQrModeLabel,
                               kQrMode,  kQrModelLabel, kQrModel, kQrLevelLabel,  kQrLevel};

constexpr TextKey kDataError = {"MB_2DCODE_ERROR1", "BarCode data error!"};

bool IsGs1Stacked(int type) {
  return type >= 1 && type <= k2DExpandedStacked;
}

}  // namespace

void Barcode2DPage::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const ControlText& t : kTexts)
    controls.SetText(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
  for (const HelpText& h : kHelp)
    controls.SetToolTip(h.id, texts_.Read(kSection, h.text.key, h.text.fallback, kRoomHelp));
  FillList(controls, kPdfLevel, ReadTexts(texts_, kSection, kPdfLevelTexts, kRoomLabel));
  FillList(controls, kQrMode, ReadTexts(texts_, kSection, kModeTexts, kRoomLabel));
  FillList(controls, kGs1Hri, ReadTexts(texts_, kSection, kGs1HriTexts, kRoomLabel));
  FillList(controls, kGs1Ai,
           {texts_.Read(kSection, kAiNone.key, kAiNone.fallback, kRoomLabel),
            texts_.Read(kSection, kAiApplied.key, kAiApplied.fallback, kRoomLine)});
}

void Barcode2DPage::OnInit(DialogControls& controls) {
  ScopedFlag writing(writing_);
  MoveControls(controls, kPlaces);
  const int firstType = Barcode2D(0).type.Get(record_);
  ShowGroupOf(controls, firstType);
  SetTexts(controls);
  controls.ClearItems(kFont);
  for (uint32_t font = 1; font <= kBarcode2DCount; ++font)
    controls.AddItem(kFont, "2D Code" + std::to_string(font));
  controls.SetSelection(kFont, 0);
  font_ = 0;
  controls.ClearItems(kType);
  for (int type = 0; type < kBarcode2DTypeCount; ++type)
    controls.AddItem(kType, Barcode2DTypeAt(type).listText);
  controls.Enable(kPoint, false);
  controls.SetText(kPoint, kFontSize);
  for (const SpinEdit& spin : kSpins) PrepareSpinEdit(controls, spin);
  controls.SetText(kColumnsRange, "[ 1. . 30 ]");
  controls.SetText(kPdfWidthRange, "[ 1. . 7 ]");
  controls.SetText(kRowsRange, "[ 3 . . 90 ]");
  controls.SetText(kPdfHeightRange, "[ 2 . . 25 ]");
  PutSampleData(controls);
  controls.ClearItems(kQrModel);
  for (const char* model : {"1", "2"}) controls.AddItem(kQrModel, model);
  controls.ClearItems(kQrLevel);
  for (const char* letter : kQrLevelLetters) controls.AddItem(kQrLevel, letter);
  CheckIndependence(controls, true);
  LoadEntry(controls);
}

void Barcode2DPage::OnPaint(DialogControls& controls) {
  ScopedFlag writing(writing_);
  SetTexts(controls);
}

void Barcode2DPage::ShowGroupOf(DialogControls& controls, int type) {
  // The groups that go are hidden first, so the shared area never shows two.
  const bool pdf = type == k2DPdf417, gs1 = IsGs1Stacked(type), qr = type == k2DQrCode;
  if (!pdf) ShowControls(controls, kPdfControls, false);
  if (!gs1) ShowControls(controls, kGs1Controls, false);
  if (!qr) ShowControls(controls, kQrControls, false);
  if (pdf) ShowControls(controls, kPdfControls, true);
  if (gs1) ShowControls(controls, kGs1Controls, true);
  if (qr) ShowControls(controls, kQrControls, true);
}

void Barcode2DPage::EnableByType(DialogControls& controls, int type) {
  EnableControls(controls, kPdfInputs, type == k2DPdf417);
  EnableControls(controls, kExpandedStackedInputs, type == k2DExpandedStacked);
}

void Barcode2DPage::CheckIndependence(DialogControls& controls, bool independence) {
  ScopedFlag writing(writing_);
  controls.SetChecked(kIndependence, independence);
  controls.SetChecked(kComposite, !independence);
  EnableControls(controls, k2DRowControls, !independence);
  const SpinEdit& segments = independence ? kSegmentsSpin : kCompositeSegmentsSpin;
  controls.SetRange(kSegmentsUpDown, segments.minimum, segments.maximum);
  controls.SetText(kSegmentsRange, independence ? "[ 2 . . 20 ]" : "[ 4 . . 20 ]");
}

void Barcode2DPage::LoadEntry(DialogControls& controls) {
  ScopedFlag writing(writing_);
  const Barcode2DFields f = Barcode2D(font_);
  const int type = f.type.Get(record_);
  controls.SetSelection(kType, type);
  ShowSpinValue(controls, kColumnsSpin, f.pdfColumns.Get(record_));
  ShowSpinValue(controls, kRowsSpin, f.pdfRows.Get(record_));
  ShowSpinValue(controls, kPdfWidthSpin, f.pdfElementWidth.Get(record_));
  ShowSpinValue(controls, kPdfHeightSpin, f.pdfElementHeight.Get(record_));
  controls.SetSelection(kPdfLevel, f.pdfErrorLevel.Get(record_));
  ShowSpinValue(controls, kGs1WidthSpin, f.gs1ElementWidth.Get(record_));
  ShowSpinValue(controls, kGs1RowSpin, static_cast<int>(f.gs1RowHeight.Get(record_)));
  ShowSpinValue(controls, kGs12DRowSpin, static_cast<int>(f.gs1CompositeRowHeight.Get(record_)));
  ShowSpinValue(controls, kGs1SeparatorSpin, f.gs1SeparatorHeight.Get(record_));
  ShowSpinValue(controls, kSegmentsSpin, f.gs1SegmentNumber.Get(record_));
  controls.SetSelection(kGs1Hri, f.gs1Hri.Get(record_) - 1);
  controls.SetSelection(kGs1Ai, f.gs1Ai.Get(record_));
  ShowSpinValue(controls, kQrWidthSpin, f.qrElementWidth.Get(record_));
  controls.SetSelection(kQrMode, f.qrLanguageMode.Get(record_));
  controls.SetSelection(kQrModel, f.qrModel.Get(record_) - 1);
  // Any level above 3 prints as Q, so it shows as Q.
  controls.SetSelection(kQrLevel, std::min<int>(f.qrErrorLevel.Get(record_), kQrLevels - 1));
  EnableByType(controls, type);
}

void Barcode2DPage::PutSampleData(DialogControls& controls) {
  ScopedFlag writing(writing_);
  controls.SetText(kData, k2DSampleData);
  controls.Enable(kPrint, true);
}

bool Barcode2DPage::EditChanged(DialogControls& controls, int id) {
  const Barcode2DFields f = Barcode2D(font_);
  ScopedFlag writing(writing_);
  auto read = [&](const SpinEdit& spin) { return static_cast<uint8_t>(ReadSpinEdit(controls, spin)); };
  switch (id) {
    case kColumns:
      f.pdfColumns.Set(record_, read(kColumnsSpin));
      break;
    case kRows:
      f.pdfRows.Set(record_, read(kRowsSpin));
      break;
    case kPdfWidth:
      f.pdfElementWidth.Set(record_, read(kPdfWidthSpin));
      break;
    case kPdfHeight:
      f.pdfElementHeight.Set(record_, read(kPdfHeightSpin));
      break;
    case kGs1Width:
      f.gs1ElementWidth.Set(record_, read(kGs1WidthSpin));
      break;
    case kGs1Row:
      f.gs1RowHeight.Set(record_, read(kGs1RowSpin));
      break;
    case kGs12DRow:
      f.gs1CompositeRowHeight.Set(record_, read(kGs12DRowSpin));
      break;
    case kGs1Separator:
      f.gs1SeparatorHeight.Set(record_, read(kGs1SeparatorSpin));
      break;
    case kSegments:
      f.gs1SegmentNumber.Set(record_,
                             read(controls.IsChecked(kComposite) ? kCompositeSegmentsSpin : kSegmentsSpin));
      break;
    case kQrWidth:
      f.qrElementWidth.Set(record_, read(kQrWidthSpin));
      break;
    default:
      return false;
  }
  controls.SheetChanged();
  return true;
}

bool Barcode2DPage::ListChanged(DialogControls& controls, int id) {
  const Barcode2DFields f = Barcode2D(font_);
  const int index = controls.Selection(id);
  if (index < 0) return true;
  const auto value = static_cast<uint8_t>(index);
  switch (id) {
    case kFont: {
      if (index >= static_cast<int>(kBarcode2DCount)) return true;
      font_ = static_cast<uint32_t>(index);
      CheckIndependence(controls, true);
      LoadEntry(controls);
      ShowGroupOf(controls, Barcode2D(font_).type.Get(record_));
      PutSampleData(controls);
      return true;
    }
    case kType:
      if (index >= kBarcode2DTypeCount) return true;
      f.type.Set(record_, value);
      EnableByType(controls, index);
      ShowGroupOf(controls, index);
      PutSampleData(controls);
      break;
    case kPdfLevel:
      f.pdfErrorLevel.Set(record_, value);
      break;
    case kGs1Hri:
      f.gs1Hri.Set(record_, static_cast<uint8_t>(index + 1));
      break;
    case kGs1Ai:
      f.gs1Ai.Set(record_, value);
      break;
    case kQrMode:
      f.qrLanguageMode.Set(record_, value);
      break;
    case kQrModel:
      f.qrModel.Set(record_, static_cast<uint8_t>(index + 1));
      break;
    case kQrLevel:
      f.qrErrorLevel.Set(record_, value);
      break;
    default:
      return false;
  }
  controls.SheetChanged();
  return true;
}

bool Barcode2DPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (event == ControlEvent::kTextChanged) {
    if (id == kData) {
      DataFieldChanged(controls, kData, kPrint);
      return true;
    }
    return !writing_ && EditChanged(controls, id);
  }
  if (event == ControlEvent::kSelectionChanged) return ListChanged(controls, id);
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case kIndependence:
      CheckIndependence(controls, true);
      break;
    case kComposite: {
      CheckIndependence(controls, false);
      const Barcode2DFields f = Barcode2D(font_);
      if (f.gs1SegmentNumber.Get(record_) < kCompositeSegmentsSpin.minimum) {
        ScopedFlag writing(writing_);
        f.gs1SegmentNumber.Set(record_, static_cast<uint8_t>(kCompositeSegmentsSpin.minimum));
        ShowSpinValue(controls, kCompositeSegmentsSpin, kCompositeSegmentsSpin.minimum);
      }
      break;
    }
    case kPrint:
      Print(controls);
      return true;
    default:
      return false;
  }
  controls.SheetChanged();
  return true;
}

void Barcode2DPage::Print(DialogControls& controls) {
  const TestPrint print = Build2DTestPrint(record_, font_, TestPrintData(controls, kData, services_.system));
  SendOrRefuse(controls, texts_, services_, print, kDataError);
}

intptr_t Barcode2DPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event != SheetEvent::kApply) return 0;
  return ReportApplied(controls);
}

}  // namespace mq::plugin
