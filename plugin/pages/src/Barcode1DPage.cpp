// The 1D Code page's logic.
#include "pages/Barcode1DPage.h"

#include <array>
#include <string>

#include "plugin/PrivateSettings.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::SheetEvent;
using namespace barcode1d_page;

namespace {

constexpr const char* kSection = "1DCODE";
constexpr int kFirstGs1Type = 9;
constexpr int kGs1ExpandedType = 12;

constexpr SpinEdit kWidthSpin = {kWidth, kWidthUpDown, 2, 6, 1};
constexpr SpinEdit kHeightSpin = {kHeight, kHeightUpDown, 1, 255, 3, true};
constexpr SpinEdit kGs1WidthSpin = {kGs1Width, kGs1WidthUpDown, 1, 6, 1};
constexpr SpinEdit kGs1RowSpin = {kGs1Row, kGs1RowUpDown, 2, 250, 3, true};
// The heights up to 10 take two digits.
constexpr SpinEdit kGs12DRowSpin = {kGs12DRow, kGs12DRowUpDown, 1, 10, 2};
constexpr SpinEdit kGs1SeparatorSpin = {kGs1Separator, kGs1SeparatorUpDown, 1, 10, 2};
constexpr SpinEdit kSpins[] = {kWidthSpin,  kHeightSpin,   kGs1WidthSpin,
                               kGs1RowSpin, kGs12DRowSpin, kGs1SeparatorSpin};

constexpr ControlText kTexts[] = {
    {kFontLabel, {"RC_STATIC_1DCODE_FONTNAME", "Font Name:"}, kRoomShort},
    {kTypeLabel, {"RC_STATIC_1DCODE_TYPE", "Type:"}, kRoomShort},
    {kWidthLabel, {"RC_STATIC_1DCODE_WIDTH", "Element Width:"}, kRoomShort},
    {kHeightLabel, {"RC_STATIC_1DCODE_HEIGHT", "Element Height:"}, kRoomShort},
    {kSizePointLabel, {"RC_STATIC_1DCODE_POINT", "point"}, kRoomShort},
    {kNotice, {"RC_STATIC_1DCODE_NOTICE", "Select this font size in the application."}, kRoomLine},
    {kPositionLabel, {"RC_STATIC_1DCODE_POSITION", "HRI Position:"}, kRoomShort},
    {kHriFontLabel, {"RC_STATIC_1DCODE_HRIFONT", "HRI Font:"}, kRoomShort},
    {kGeneralGroup, {"RC_STATIC_GENERALBARCODE", "General Bar Code"}, kRoomShort},
    {kGs1Group, {"RC_STATIC_1DCODE_GSDATABAR", "GS1 DataBar"}, kRoomShort},
    {kGs1TypeLabel, {"RC_STATIC_1DCODE_GSTYPE", "Type:"}, kRoomShort},
    {kIndependence, {"RC_RADIO_Independence1", "Independence"}, kRoomShort},
    {kComposite, {"RC_RADIO_Complex1", "Composite"}, kRoomShort},
    {kGs1WidthLabel, {"RC_STATIC_1DCODE_GSEWIDTH", "Element Width:"}, kRoomShort},
    {kGs1RowLabel, {"RC_STATIC_1DCODE_GSRHEIGHT", "Row Height:"}, kRoomShort},
    {kGs12DRowLabel, {"RC_STATIC_1DCODE_GS2DRHEIGHT", "2D Row Height:"}, kRoomShort},
    {kGs1SeparatorLabel, {"RC_STATIC_1DCODE_GSSHEIGHT", "Separator Height:"}, kRoomShort},
    {kGs1HriLabel, {"RC_STATIC_1DCODE_HRI", "HRI:"}, kRoomShort},
    {kGs1AiLabel, {"RC_STATIC_1DCODE_AAISTD", "Expanded:"}, kRoomLine},
    {kPrintGroup, {"RC_STATIC_1DCODE_PRINT", "Test Print"}, kRoomShort},
    {kDataLabel, {"RC_STATIC_1DCODE_DATA", "Data:"}, kRoomShort},
    {kPrint, {"RC_BUTTON_PRINT", "Print"}, kRoomShort},
};

constexpr TextKey kPositionTexts[] = {
    {"RC_STATIC_1DCODE_POSITION1", "Not printed"},
    {"RC_STATIC_1DCODE_POSITION2", "Above the barcode"},
    {"RC_STATIC_1DCODE_POSITION3", "Below the barcode"},
    {"RC_STATIC_1DCODE_POSITION4", "Both above and below the barcode"},
};
constexpr TextKey kGs1HriTexts[] = {
    {"RC_CMB_HRI1", "Primary and Secondary Data"},
    {"RC_CMB_HRI2", "Primary Data"},
    {"RC_CMB_HRI3", "Secondary Data"},
    {"RC_CMB_HRI4", "None"},
};
constexpr TextKey kAiTexts[] = {
    {"RC_CMB_AI1", "None"},
    {"RC_CMB_AI2", "Application Identifier Specification to Data"},
};

constexpr HelpText kHelp[] = {
    {kFont, {"CTEXT_FONTNAME", "Select the barcode font from the drop-down list."}},
    {kType, {"CTEXT_BARCODETYPE", "Select the barcode type of the selected font from the drop-down list."}},
    {kWidth,
     {"CTEXT_EDIT_WIDTH1D",
      "Specify the element width of barcode. The unit of width is dot, available range is 2-6."}},
    {kHeight,
     {"CTEXT_EDIT_HEIGHT1D",
      "Specify the element height of barcode. The unit of height is dot, available range is 1-255."}},
    {kPosition,
     {"CTEXT_HRIPOSITION",
      "Specify the print position of HRI (human readable interpretation) characters of barcode."}},
    {kFontA, {"CTEXT_FONTA", "Print the HRI characters in Font A."}},
    {kFontB, {"CTEXT_FONTB", "Print the HRI characters in Font B."}},
    {kData, {"CTEXT_EDIT_PRINT", "Enter the data of the test barcode."}},
    {kPrint, {"CTEXT_BUTTON_PRINT", "Print a test barcode of the selected font with the data entered."}},
    {kIndependence, {"CTEXT_RADIO_Independence1", "The GS1 DataBar barcode is printed alone."}},
    {kComposite,
     {"CTEXT_RADIO_Complex1",
      "The GS1 DataBar barcode is printed as a composite symbol with a 2D component; the 2D row height can "
      "then be set."}},
    {kGs1Width,
     {"CTEXT_EDIT_GS1WIDTH",
      "Specify the element width of GS1 DataBar. The unit of width is dot, available range is 1-6."}},
    {kGs1Row,
     {"CTEXT_EDIT_GS1HEIGHT",
      "Specify the row height of GS1 DataBar. The unit of height is dot, available range is 2-250."}},
    {kGs12DRow,
     {"CTEXT_EDIT_ComplexHEIGHT",
      "Specify the row height of the 2D component of a composite symbol. The unit of height is dot, "
      "available "
      "range is 1-10."}},
    {kGs1Separator,
     {"CTEXT_EDIT_SeparatorHEIGHT",
      "Specify the height of the separator pattern. The unit of height is dot, available range is 1-10."}},
    {kGs1Hri, {"CTEXT_CMB_HRI", "Specify which data of GS1 DataBar is printed as HRI characters."}},
    {kGs1Ai,
     {"CTEXT_CMB_AI",
      "Specify whether to use application identifiers. This item is enabled only when the barcode type is "
      "GS1 "
      "DataBar Expanded."}},
};
static_assert(std::size(kHelp) == 17);

// The General Bar Code group and the GS1 DataBar group share one area: the GS1 controls are put onto it, in
// pixels of the page.
constexpr ControlPlace kGs1Places[] = {
    {kGs1Group, 26, 62},
    {kGs1TypeLabel, 33, 83},
    {kIndependence, 131, 83},
    {kComposite, 231, 83},
    {kGs1WidthLabel, 33, 122},
    {kGs1Width, 132, 119},
    {kGs1WidthUpDown, 158, 119},
    {kGs1WidthRange, 183, 122},
    {kGs1RowLabel, 228, 122},
    {kGs1Row, 327, 119},
    {kGs1RowUpDown, 352, 119},
    {kGs1RowRange, 378, 122},
    {kGs12DRowLabel, 33, 161},
    {kGs12DRow, 132, 158},
    {kGs12DRowUpDown, 158, 158},
    {kGs12DRowRange, 183, 161},
    {kGs1SeparatorLabel, 228, 161},
    {kGs1Separator, 327, 158},
    {kGs1SeparatorUpDown, 353, 158},
    {kGs1SeparatorRange, 378, 161},
    {kGs1HriLabel, 33, 200},
    {kGs1Hri, 132, 197},
    {kGs1AiLabel, 33, 239},
    {kGs1Ai, 132, 236},
};

constexpr int kGeneralControls[] = {kGeneralGroup, kWidthLabel,   kWidth,        kWidthUpDown, kWidthRange,
                                    kHeightLabel,  kHeight,       kHeightUpDown, kHeightRange, kPositionLabel,
                                    kPosition,     kHriFontLabel, kFontA,        kFontB};
constexpr int kGs1Controls[] = {kGs1Group,          kGs1TypeLabel, kIndependence,       kComposite,
                                kGs1WidthLabel,     kGs1Width,     kGs1WidthUpDown,     kGs1WidthRange,
                                kGs1RowLabel,       kGs1Row,       kGs1RowUpDown,       kGs1RowRange,
                                kGs12DRowLabel,     kGs12DRow,     kGs12DRowUpDown,     kGs12DRowRange,
                                kGs1SeparatorLabel, kGs1Separator, kGs1SeparatorUpDown, kGs1SeparatorRange,
                                kGs1HriLabel,       kGs1Hri,       kGs1AiLabel,         kGs1Ai};
constexpr int k2DRowControls[] = {kGs12DRow, kGs12DRowUpDown};

constexpr TextKey kDataError = {"MB_1DCODE_ERROR1", "BarCode data error!"};

}  // namespace

void Barcode1DPage::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const ControlText& t : kTexts)
    controls.SetText(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
  for (const HelpText& h : kHelp)
    controls.SetToolTip(h.id, texts_.Read(kSection, h.text.key, h.text.fallback, kRoomHelp));
  FillList(controls, kPosition, ReadTexts(texts_, kSection, kPositionTexts, kRoomLine));
  FillList(controls, kGs1Hri, ReadTexts(texts_, kSection, kGs1HriTexts, kRoomLabel));
  FillList(controls, kGs1Ai, ReadTexts(texts_, kSection, kAiTexts, kRoomLine));
}

void Barcode1DPage::OnInit(DialogControls& controls) {
  ScopedFlag writing(writing_);
  MoveControls(controls, kGs1Places);
  const int firstType = Barcode1D(0).type.Get(record_);
  ShowGroupOf(controls, firstType);
  controls.Show(kNotice, false);
  SetTexts(controls);
  controls.SetText(kSizeMmLabel, "mm");
  controls.ClearItems(kFont);
  for (uint32_t font = 1; font <= kBarcode1DCount; ++font)
    controls.AddItem(kFont, "1D Code" + std::to_string(font));
  controls.SetSelection(kFont, 0);
  font_ = 0;
  controls.ClearItems(kType);
  for (int type = 0; type < kBarcode1DTypeCount; ++type)
    controls.AddItem(kType, Barcode1DTypeAt(type).listText);
  for (const SpinEdit& spin : kSpins) PrepareSpinEdit(controls, spin);
  controls.SetChecked(kFontA, true);
  controls.SetChecked(kFontB, false);
  CheckIndependence(controls, true);
  LoadEntry(controls);
  ShowSize(controls);
  PutSampleData(controls, firstType);
}

void Barcode1DPage::OnPaint(DialogControls& controls) {
  ScopedFlag writing(writing_);
  SetTexts(controls);
}

void Barcode1DPage::ShowGroupOf(DialogControls& controls, int type) {
  const bool gs1 = type >= kFirstGs1Type;
  // The group that goes is hidden first, so the shared area never shows both.
  ShowControls(controls, gs1 ? std::span<const int>(kGeneralControls) : std::span<const int>(kGs1Controls),
               false);
  ShowControls(controls, gs1 ? std::span<const int>(kGs1Controls) : std::span<const int>(kGeneralControls),
               true);
}

void Barcode1DPage::CheckIndependence(DialogControls& controls, bool independence) {
  controls.SetChecked(kIndependence, independence);
  controls.SetChecked(kComposite, !independence);
  EnableControls(controls, k2DRowControls, !independence);
}

void Barcode1DPage::EnableHriFont(DialogControls& controls, bool enabled) {
  controls.Enable(kFontA, enabled);
  controls.Enable(kFontB, enabled);
}

void Barcode1DPage::LoadEntry(DialogControls& controls) {
  ScopedFlag writing(writing_);
  const Barcode1DFields f = Barcode1D(font_);
  const int type = f.type.Get(record_);
  controls.SetSelection(kType, type);
  ShowSpinValue(controls, kWidthSpin, f.elementWidth.Get(record_));
  ShowSpinValue(controls, kHeightSpin, static_cast<int>(f.elementHeight.Get(record_)));
  controls.SetSelection(kPosition, f.hriPosition.Get(record_));
  ShowSpinValue(controls, kGs1WidthSpin, f.gs1ElementWidth.Get(record_));
  ShowSpinValue(controls, kGs1RowSpin, static_cast<int>(f.gs1RowHeight.Get(record_)));
  ShowSpinValue(controls, kGs12DRowSpin, static_cast<int>(f.gs1CompositeRowHeight.Get(record_)));
  ShowSpinValue(controls, kGs1SeparatorSpin, f.gs1SeparatorHeight.Get(record_));
  controls.SetSelection(kGs1Hri, f.gs1Hri.Get(record_) - 1);
  controls.SetSelection(kGs1Ai, f.gs1Ai.Get(record_));
  EnableHriFont(controls, f.hriPosition.Get(record_) != 0);
  const bool fontB = f.hriFont.Get(record_) == 1;
  controls.SetChecked(kFontA, !fontB);
  controls.SetChecked(kFontB, fontB);
  controls.Enable(kGs1Ai, type == kGs1ExpandedType);
}

void Barcode1DPage::ShowSize(DialogControls& controls) {
  ScopedFlag writing(writing_);
  const ShownSize size = ShowSymbolSize(Barcode1D(font_).symbolHeight.Get(record_));
  controls.SetText(kSizeMm, size.millimetres);
  controls.SetText(kSizePoint, size.points);
}

void Barcode1DPage::PutSampleData(DialogControls& controls, int type) {
  ScopedFlag writing(writing_);
  const std::string sample =
      type >= 0 && type < kBarcode1DTypeCount ? std::string(Barcode1DTypeAt(type).sampleData) : std::string();
  controls.SetText(kData, sample);
  controls.Enable(kPrint, !sample.empty());
}

void Barcode1DPage::RecomputeSymbolHeight() {
  const Barcode1DFields f = Barcode1D(font_);
  const SymbolSize size =
      SnapSymbolHeight(f.elementHeight.Get(record_), f.hriPosition.Get(record_), f.hriFont.Get(record_));
  f.symbolHeight.Set(record_, size.dots);
}

// An edit's change notice: the clamped value is stored; returns whether the edit is one of the page's.
bool Barcode1DPage::EditChanged(DialogControls& controls, int id) {
  const Barcode1DFields f = Barcode1D(font_);
  ScopedFlag writing(writing_);
  switch (id) {
    case kWidth: {
      const int width = ReadSpinEdit(controls, kWidthSpin);
      f.elementWidth.Set(record_, static_cast<uint8_t>(width));
      f.elementWidthX8.Set(record_, static_cast<uint32_t>(width * 8));
      break;
    }
    case kHeight:
      f.elementHeight.Set(record_, static_cast<uint32_t>(ReadSpinEdit(controls, kHeightSpin)));
      RecomputeSymbolHeight();
      break;
    case kGs1Width:
      f.gs1ElementWidth.Set(record_, static_cast<uint8_t>(ReadSpinEdit(controls, kGs1WidthSpin)));
      break;
    case kGs1Row:
      f.gs1RowHeight.Set(record_, static_cast<uint32_t>(ReadSpinEdit(controls, kGs1RowSpin)));
      break;
    case kGs12DRow:
      f.gs1CompositeRowHeight.Set(record_, static_cast<uint32_t>(ReadSpinEdit(controls, kGs12DRowSpin)));
      break;
    case kGs1Separator:
      f.gs1SeparatorHeight.Set(record_, static_cast<uint8_t>(ReadSpinEdit(controls, kGs1SeparatorSpin)));
      break;
    default:
      return false;
  }
  controls.SheetChanged();
  return true;
}

void Barcode1DPage::ChooseType(DialogControls& controls) {
  const int type = controls.Selection(kType);
  if (type < 0 || type >= kBarcode1DTypeCount) return;
  Barcode1D(font_).type.Set(record_, static_cast<uint8_t>(type));
  ShowGroupOf(controls, type);
  controls.SheetChanged();
  controls.Enable(kGs1Ai, type == kGs1ExpandedType);
  PutSampleData(controls, type);
}

bool Barcode1DPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  const Barcode1DFields f = Barcode1D(font_);
  if (event == ControlEvent::kTextChanged) {
    if (id == kData) {
      DataFieldChanged(controls, kData, kPrint);
      return true;
    }
    return !writing_ && EditChanged(controls, id);
  }
  if (event == ControlEvent::kSelectionChanged) {
    const int index = controls.Selection(id);
    switch (id) {
      case kFont: {
        if (index < 0 || index >= static_cast<int>(kBarcode1DCount)) return true;
        font_ = static_cast<uint32_t>(index);
        const int type = Barcode1D(font_).type.Get(record_);
        ShowGroupOf(controls, type);
        if (type >= kFirstGs1Type) CheckIndependence(controls, true);
        LoadEntry(controls);
        ShowSize(controls);
        PutSampleData(controls, type);
        return true;
      }
      case kType:
        ChooseType(controls);
        return true;
      case kPosition:
        if (index < 0) return true;
        f.hriPosition.Set(record_, static_cast<uint8_t>(index));
        EnableHriFont(controls, index != 0);
        RecomputeSymbolHeight();
        break;
      case kGs1Hri:
        if (index < 0) return true;
        f.gs1Hri.Set(record_, static_cast<uint8_t>(index + 1));
        break;
      case kGs1Ai:
        if (index < 0) return true;
        f.gs1Ai.Set(record_, static_cast<uint8_t>(index));
        break;
      default:
        return false;
    }
    controls.SheetChanged();
    return true;
  }
  if (event != ControlEvent::kClicked) return false;
  switch (id) {
    case kFontA:
    case kFontB:
      controls.SetChecked(kFontA, id == kFontA);
      controls.SetChecked(kFontB, id == kFontB);
      f.hriFont.Set(record_, id == kFontB ? 1 : 0);
      RecomputeSymbolHeight();
      break;
    case kIndependence:
    case kComposite:
      CheckIndependence(controls, id == kIndependence);
      break;
    case kPrint:
      Print(controls);
      return true;
    default:
      return false;
  }
  controls.SheetChanged();
  return true;
}

void Barcode1DPage::Print(DialogControls& controls) {
  const TestPrint print = Build1DTestPrint(record_, font_, TestPrintData(controls, kData, services_.system));
  SendOrRefuse(controls, texts_, services_, print, kDataError);
}

intptr_t Barcode1DPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event != SheetEvent::kApply) return 0;
  ShowSize(controls);
  return ReportApplied(controls);
}

}  // namespace mq::plugin
