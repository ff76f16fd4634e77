// The 2D Code page of the document sheet (template 118): the two 2D barcode fonts of the settings record,
// each with its symbol (PDF417, the three GS1 DataBar stacked types, QR Code or Maxi Code) and the parameters
// of that symbol; the fonts are always used at 9.5 points. A test print of the selected font goes to the
// printer as a raw job.
#pragma once

#include <cstdint>

#include "MQ450UIResources.h"
#include "pages/BarcodePageParts.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int k2DCodePageTemplate = IDD_2DCODE_PAGE;

namespace barcode2d_page {
inline constexpr int kFontLabel = IDC_2DCODE_FONT_LABEL;
inline constexpr int kFont = IDC_2DCODE_FONT;
inline constexpr int kTypeLabel = IDC_2DCODE_TYPE_LABEL;
inline constexpr int kType = IDC_2DCODE_TYPE;
inline constexpr int kPointLabel = IDC_2DCODE_POINT_LABEL;
inline constexpr int kPoint = IDC_2DCODE_POINT;
inline constexpr int kNotice = IDC_2DCODE_NOTICE;
inline constexpr int kPdfGroup = IDC_2DCODE_PDF_GROUP;
inline constexpr int kColumnsLabel = IDC_2DCODE_COLUMNS_LABEL;
inline constexpr int kColumns = IDC_2DCODE_COLUMNS;
inline constexpr int kColumnsUpDown = IDC_2DCODE_COLUMNS_UPDOWN;
inline constexpr int kColumnsRange = IDC_2DCODE_COLUMNS_RANGE;
inline constexpr int kPdfWidthLabel = IDC_2DCODE_PDF_WIDTH_LABEL;
inline constexpr int kPdfWidth = IDC_2DCODE_PDF_WIDTH;
inline constexpr int kPdfWidthUpDown = IDC_2DCODE_PDF_WIDTH_UPDOWN;
inline constexpr int kPdfWidthRange = IDC_2DCODE_PDF_WIDTH_RANGE;
inline constexpr int kRowsLabel = IDC_2DCODE_ROWS_LABEL;
inline constexpr int kRows = IDC_2DCODE_ROWS;
inline constexpr int kRowsUpDown = IDC_2DCODE_ROWS_UPDOWN;
inline constexpr int kRowsRange = IDC_2DCODE_ROWS_RANGE;
inline constexpr int kPdfHeightLabel = IDC_2DCODE_PDF_HEIGHT_LABEL;
inline constexpr int kPdfHeight = IDC_2DCODE_PDF_HEIGHT;
inline constexpr int kPdfHeightUpDown = IDC_2DCODE_PDF_HEIGHT_UPDOWN;
inline constexpr int kPdfHeightRange = IDC_2DCODE_PDF_HEIGHT_RANGE;
inline constexpr int kPdfLevelLabel = IDC_2DCODE_PDF_LEVEL_LABEL;
inline constexpr int kPdfLevel = IDC_2DCODE_PDF_LEVEL;
inline constexpr int kGs1Group = IDC_2DCODE_GS1_GROUP;
inline constexpr int kGs1TypeLabel = IDC_2DCODE_GS1_TYPE_LABEL;
inline constexpr int kIndependence = IDC_2DCODE_INDEPENDENCE;
inline constexpr int kComposite = IDC_2DCODE_COMPOSITE;
inline constexpr int kGs1WidthLabel = IDC_2DCODE_GS1_WIDTH_LABEL;
inline constexpr int kGs1Width = IDC_2DCODE_GS1_WIDTH;
inline constexpr int kGs1WidthUpDown = IDC_2DCODE_GS1_WIDTH_UPDOWN;
inline constexpr int kGs1RowLabel = IDC_2DCODE_GS1_ROW_LABEL;
inline constexpr int kGs1Row = IDC_2DCODE_GS1_ROW;
inline constexpr int kGs1RowUpDown = IDC_2DCODE_GS1_ROW_UPDOWN;
inline constexpr int kGs12DRowLabel = IDC_2DCODE_GS1_2DROW_LABEL;
inline constexpr int kGs12DRow = IDC_2DCODE_GS1_2DROW;
inline constexpr int kGs12DRowUpDown = IDC_2DCODE_GS1_2DROW_UPDOWN;
inline constexpr int kGs1SeparatorLabel = IDC_2DCODE_GS1_SEPARATOR_LABEL;
inline constexpr int kGs1Separator = IDC_2DCODE_GS1_SEPARATOR;
inline constexpr int kGs1SeparatorUpDown = IDC_2DCODE_GS1_SEPARATOR_UPDOWN;
inline constexpr int kSegmentsLabel = IDC_2DCODE_SEGMENTS_LABEL;
inline constexpr int kSegments = IDC_2DCODE_SEGMENTS;
inline constexpr int kSegmentsUpDown = IDC_2DCODE_SEGMENTS_UPDOWN;
inline constexpr int kSegmentsRange = IDC_2DCODE_SEGMENTS_RANGE;
inline constexpr int kGs1HriLabel = IDC_2DCODE_GS1_HRI_LABEL;
inline constexpr int kGs1Hri = IDC_2DCODE_GS1_HRI;
inline constexpr int kGs1AiLabel = IDC_2DCODE_GS1_AI_LABEL;
inline constexpr int kGs1Ai = IDC_2DCODE_GS1_AI;
inline constexpr int kQrGroup = IDC_2DCODE_QR_GROUP;
inline constexpr int kQrWidthLabel = IDC_2DCODE_QR_WIDTH_LABEL;
inline constexpr int kQrWidth = IDC_2DCODE_QR_WIDTH;
inline constexpr int kQrWidthUpDown = IDC_2DCODE_QR_WIDTH_UPDOWN;
inline constexpr int kQrWidthRange = IDC_2DCODE_QR_WIDTH_RANGE;
inline constexpr int kQrModeLabel = IDC_2DCODE_QR_MODE_LABEL;
inline constexpr int kQrMode = IDC_2DCODE_QR_MODE;
inline constexpr int kQrModelLabel = IDC_2DCODE_QR_MODEL_LABEL;
inline constexpr int kQrModel = IDC_2DCODE_QR_MODEL;
inline constexpr int kQrLevelLabel = IDC_2DCODE_QR_LEVEL_LABEL;
inline constexpr int kQrLevel = IDC_2DCODE_QR_LEVEL;
inline constexpr int kPrintGroup = IDC_2DCODE_PRINT_GROUP;
inline constexpr int kDataLabel = IDC_2DCODE_DATA_LABEL;
inline constexpr int kData = IDC_2DCODE_DATA;
inline constexpr int kPrint = IDC_2DCODE_PRINT;
}  // namespace barcode2d_page

class Barcode2DPage : public platform::ui::DialogLogic {
 public:
  // record is the host's settings record (never null).
  Barcode2DPage(uint8_t* record, PageTexts& texts, BarcodePageServices services)
      : record_(record), texts_(texts), services_(services) {}

  void OnInit(platform::ui::DialogControls& controls) override;
  // Reads the language file again and re-applies every text, help tip and list entry.
  void OnPaint(platform::ui::DialogControls& controls) override;
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

  // The font the controls show, 0..1.
  uint32_t SelectedFont() const { return font_; }

 private:
  void SetTexts(platform::ui::DialogControls& controls);
  void ShowGroupOf(platform::ui::DialogControls& controls, int type);
  void EnableByType(platform::ui::DialogControls& controls, int type);
  void CheckIndependence(platform::ui::DialogControls& controls, bool independence);
  void LoadEntry(platform::ui::DialogControls& controls);
  void PutSampleData(platform::ui::DialogControls& controls);
  bool EditChanged(platform::ui::DialogControls& controls, int id);
  bool ListChanged(platform::ui::DialogControls& controls, int id);
  void Print(platform::ui::DialogControls& controls);

  uint8_t* record_;
  PageTexts& texts_;
  BarcodePageServices services_;
  uint32_t font_ = 0;
  bool writing_ = false;  // the page is writing its own controls
};

}  // namespace mq::plugin
