// The 1D Code page of the document sheet (template 117): the eight 1D barcode fonts of the settings record,
// each with its symbology, module width, bar height and human-readable line (General Bar Code) or its GS1
// DataBar parameters; the font size the application selects the font at (in millimetres and points); and a
// test print of the selected font sent to the printer as a raw job.
#pragma once

#include <cstdint>

#include "MQ450UIResources.h"
#include "pages/BarcodePageParts.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int k1DCodePageTemplate = IDD_1DCODE_PAGE;

namespace barcode1d_page {
inline constexpr int kFontLabel = IDC_1DCODE_FONT_LABEL;
inline constexpr int kFont = IDC_1DCODE_FONT;
inline constexpr int kTypeLabel = IDC_1DCODE_TYPE_LABEL;
inline constexpr int kType = IDC_1DCODE_TYPE;
inline constexpr int kSizeMm = IDC_1DCODE_SIZE_MM;
inline constexpr int kSizeMmLabel = IDC_1DCODE_SIZE_MM_LABEL;
inline constexpr int kSizePoint = IDC_1DCODE_SIZE_POINT;
inline constexpr int kSizePointLabel = IDC_1DCODE_SIZE_POINT_LABEL;
inline constexpr int kNotice = IDC_1DCODE_NOTICE;
inline constexpr int kGeneralGroup = IDC_1DCODE_GENERAL_GROUP;
inline constexpr int kWidthLabel = IDC_1DCODE_WIDTH_LABEL;
inline constexpr int kWidth = IDC_1DCODE_WIDTH;
inline constexpr int kWidthUpDown = IDC_1DCODE_WIDTH_UPDOWN;
inline constexpr int kWidthRange = IDC_1DCODE_WIDTH_RANGE;
inline constexpr int kHeightLabel = IDC_1DCODE_HEIGHT_LABEL;
inline constexpr int kHeight = IDC_1DCODE_HEIGHT;
inline constexpr int kHeightUpDown = IDC_1DCODE_HEIGHT_UPDOWN;
inline constexpr int kHeightRange = IDC_1DCODE_HEIGHT_RANGE;
inline constexpr int kPositionLabel = IDC_1DCODE_POSITION_LABEL;
inline constexpr int kPosition = IDC_1DCODE_POSITION;
inline constexpr int kHriFontLabel = IDC_1DCODE_HRI_FONT_LABEL;
inline constexpr int kFontA = IDC_1DCODE_FONT_A;
inline constexpr int kFontB = IDC_1DCODE_FONT_B;
inline constexpr int kGs1Group = IDC_1DCODE_GS1_GROUP;
inline constexpr int kGs1TypeLabel = IDC_1DCODE_GS1_TYPE_LABEL;
inline constexpr int kIndependence = IDC_1DCODE_INDEPENDENCE;
inline constexpr int kComposite = IDC_1DCODE_COMPOSITE;
inline constexpr int kGs1WidthLabel = IDC_1DCODE_GS1_WIDTH_LABEL;
inline constexpr int kGs1Width = IDC_1DCODE_GS1_WIDTH;
inline constexpr int kGs1WidthUpDown = IDC_1DCODE_GS1_WIDTH_UPDOWN;
inline constexpr int kGs1WidthRange = IDC_1DCODE_GS1_WIDTH_RANGE;
inline constexpr int kGs1RowLabel = IDC_1DCODE_GS1_ROW_LABEL;
inline constexpr int kGs1Row = IDC_1DCODE_GS1_ROW;
inline constexpr int kGs1RowUpDown = IDC_1DCODE_GS1_ROW_UPDOWN;
inline constexpr int kGs1RowRange = IDC_1DCODE_GS1_ROW_RANGE;
inline constexpr int kGs12DRowLabel = IDC_1DCODE_GS1_2DROW_LABEL;
inline constexpr int kGs12DRow = IDC_1DCODE_GS1_2DROW;
inline constexpr int kGs12DRowUpDown = IDC_1DCODE_GS1_2DROW_UPDOWN;
inline constexpr int kGs12DRowRange = IDC_1DCODE_GS1_2DROW_RANGE;
inline constexpr int kGs1SeparatorLabel = IDC_1DCODE_GS1_SEPARATOR_LABEL;
inline constexpr int kGs1Separator = IDC_1DCODE_GS1_SEPARATOR;
inline constexpr int kGs1SeparatorUpDown = IDC_1DCODE_GS1_SEPARATOR_UPDOWN;
inline constexpr int kGs1SeparatorRange = IDC_1DCODE_GS1_SEPARATOR_RANGE;
inline constexpr int kGs1HriLabel = IDC_1DCODE_GS1_HRI_LABEL;
inline constexpr int kGs1Hri = IDC_1DCODE_GS1_HRI;
inline constexpr int kGs1AiLabel = IDC_1DCODE_GS1_AI_LABEL;
inline constexpr int kGs1Ai = IDC_1DCODE_GS1_AI;
inline constexpr int kPrintGroup = IDC_1DCODE_PRINT_GROUP;
inline constexpr int kDataLabel = IDC_1DCODE_DATA_LABEL;
inline constexpr int kData = IDC_1DCODE_DATA;
inline constexpr int kPrint = IDC_1DCODE_PRINT;
}  // namespace barcode1d_page

class Barcode1DPage : public platform::ui::DialogLogic {
 public:
  // record is the host's settings record (never null).
  Barcode1DPage(uint8_t* record, PageTexts& texts, BarcodePageServices services)
      : record_(record), texts_(texts), services_(services) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  // Reads the language file again and re-applies every text, help tip and list entry.
  void OnPaint(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  // Apply shows the selected font's size again and reports success; the entries were written as they changed.
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

  // The font the controls show, 0..7.
  uint32_t SelectedFont() const { return font_; }

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  void ShowGroupOf(platform::ui::DialogControls& controls, int type);
  void CheckIndependence(platform::ui::DialogControls& controls, bool independence);
  void LoadEntry(platform::ui::DialogControls& controls);
  void ShowSize(platform::ui::DialogControls& controls);
  void PutSampleData(platform::ui::DialogControls& controls, int type);
  void EnableHriFont(platform::ui::DialogControls& controls, bool enabled);
  void RecomputeSymbolHeight();
  bool EditChanged(platform::ui::DialogControls& controls, int id);
  void ChooseType(platform::ui::DialogControls& controls);
  void Print(platform::ui::DialogControls& controls);

  uint8_t* record_;
  PageTexts& texts_;
  BarcodePageServices services_;
  uint32_t font_ = 0;
  // Set while the page writes its own controls: the edits' change notices that this causes are not the
  // user's.
  bool writing_ = false;
};

}  // namespace mq::plugin
