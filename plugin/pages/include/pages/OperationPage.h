// The Operation page of the document sheet (template 103): four buttons, one per moment of a print job, each
// opening the operation editor on that moment's slot of the settings record.
#pragma once

#include "pages/OperationSlotData.h"
#include "pages/PageTexts.h"
#include "platform/ui/DialogLogic.h"

namespace mq::plugin {

inline constexpr int kOperationPageTemplate = 103;
// The result a page reports to the host when the sheet applies (CPSUI_OK).
inline constexpr intptr_t kCpsuiOk = 1;

namespace operation_page {
inline constexpr int kStartDoc = 1011;
inline constexpr int kStartPage = 1012;
inline constexpr int kEndPage = 1013;
inline constexpr int kEndDoc = 1014;
inline constexpr int kStartDocLabel = 1142;
inline constexpr int kStartPageLabel = 1143;
inline constexpr int kEndPageLabel = 1144;
inline constexpr int kEndDocLabel = 1145;
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
