// The Operation page of the document sheet (template 103): four buttons, one per moment of a print job, each
// opening the operation editor on that moment's slot of the settings record.
#pragma once

#include "pages/OperationSlotData.h"
#include "MQ450UIResources.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kOperationPageTemplate = IDD_OPERATION_PAGE;
// The result a page reports to the host when the sheet applies (CPSUI_OK).
inline constexpr intptr_t kCpsuiOk = 1;

namespace operation_page {
inline constexpr int kStartDoc = IDC_OPERATION_START_DOC;
inline constexpr int kStartPage = IDC_OPERATION_START_PAGE;
inline constexpr int kEndPage = IDC_OPERATION_END_PAGE;
inline constexpr int kEndDoc = IDC_OPERATION_END_DOC;
inline constexpr int kStartDocLabel = IDC_OPERATION_START_DOC_LABEL;
inline constexpr int kStartPageLabel = IDC_OPERATION_START_PAGE_LABEL;
inline constexpr int kEndPageLabel = IDC_OPERATION_END_PAGE_LABEL;
inline constexpr int kEndDocLabel = IDC_OPERATION_END_DOC_LABEL;
}  // namespace operation_page

class OperationPage : public platform::ui::DialogLogic {
 public:
  OperationPage(OperationSlotStore& slots, PageTexts& texts) : slots_(slots), texts_(texts) {}

  void OnInit(platform::ui::DialogControls& controls) override { SetTexts(controls); }
  void OnPaint(platform::ui::DialogControls& controls) override { SetTexts(controls); }
  bool OnCommand(platform::ui::DialogControls& controls, int id, platform::ui::ControlEvent event) override;
  intptr_t OnSheetEvent(platform::ui::DialogControls& controls, platform::ui::SheetEvent event) override;

 private:
  void SetTexts(platform::ui::DialogControls& controls);

  OperationSlotStore& slots_;
  PageTexts& texts_;
};

}  // namespace mq::plugin
