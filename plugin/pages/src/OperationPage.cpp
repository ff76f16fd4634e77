// The Operation page: its texts, the editor per button, and the apply answer.
#include "pages/OperationPage.h"

#include "pages/OperationEditor.h"

namespace mq::plugin {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::SheetEvent;
using namespace operation_page;

namespace {

constexpr const char* kSection = "OPERATION";

constexpr ControlText kTexts[] = {
    {kStartDoc, {"RC_STARTDOC", "Start of Document"}, kRoomShort},
    {kStartPage, {"RC_STARTPAGE", "Start of Page"}, kRoomShort},
    {kEndPage, {"RC_ENDPAGE", "End of Page"}, kRoomShort},
    {kEndDoc, {"RC_ENDDOC", "End of Document"}, kRoomShort},
    {kStartDocLabel, {"RC_STATIC_SDOC", "Operation when document starts"}, kRoomLabel},
    {kStartPageLabel, {"RC_STATIC_SPAGE", "Operation when page starts"}, kRoomLabel},
    {kEndPageLabel, {"RC_STATIC_ENDPAGE", "Operation when page ends"}, kRoomLabel},
    {kEndDocLabel, {"RC_STATIC_ENDDOC", "Operation when document ends"}, kRoomLabel},
};

}  // namespace

void OperationPage::SetTexts(DialogControls& controls) {
  texts_.ResolveCurrentLanguage();
  for (const ControlText& t : kTexts)
    controls.SetText(t.id, texts_.Read(kSection, t.text.key, t.text.fallback, t.room));
}

bool OperationPage::OnCommand(DialogControls& controls, int id, ControlEvent event) {
  if (id < kStartDoc || id > kEndDoc || event != ControlEvent::kClicked) return false;
  const auto moment = static_cast<OperationMoment>(id - kStartDoc);
  OperationSlotData working = slots_.Load(moment);
  OperationEditor editor(moment, working, texts_);
  if (controls.RunModal(kOperationEditorTemplate, editor) == platform::ui::kIdOk) {
    slots_.Store(moment, working);
    controls.SheetChanged();
  }
  return true;
}

intptr_t OperationPage::OnSheetEvent(DialogControls& controls, SheetEvent event) {
  if (event != SheetEvent::kApply) return 0;
  controls.SheetSetResult(kCpsuiOk);
  controls.SheetUnchanged();
  return 1;
}

}  // namespace mq::plugin
