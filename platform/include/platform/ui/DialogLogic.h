// The portable side of a dialog or property page: the Win32 adapter (or a test through the fake controls)
// turns the dialog's messages into these calls, and the logic answers by acting on the controls.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/DialogControls.h"

namespace mq::platform::ui {

// What happened to a control: BN_CLICKED, CBN_SELCHANGE / LBN_SELCHANGE (and a list view's selection
// changing, LVN_ITEMCHANGED), EN_CHANGE (and CBN_EDITCHANGE of a combo box's edit), an edit losing the
// keyboard focus (EN_KILLFOCUS), a track bar moved (WM_HSCROLL / WM_VSCROLL) while it is held or stepped,
// then released (TB_ENDTRACK), and a double click on a list view's row (NM_DBLCLK; the row is selected by
// then).
enum class ControlEvent {
  kClicked,
  kSelectionChanged,
  kTextChanged,
  kFocusLost,
  kScrolled,
  kScrollEnded,
  kDoubleClicked
};

// Property-sheet notifications a page answers (PSN_APPLY, PSN_KILLACTIVE, PSN_SETACTIVE, PSN_RESET,
// PSN_QUERYCANCEL, whose answer 0 lets the sheet close); other WM_NOTIFY codes arrive as kOther.
enum class SheetEvent { kApply, kKillActive, kSetActive, kReset, kQueryCancel, kOther };

class DialogLogic {
 public:
  virtual ~DialogLogic() = default;

  // WM_INITDIALOG: fill the controls.
  virtual void OnInit(DialogControls& controls) = 0;
  // WM_PAINT: pages re-read their texts here so that a language change shows at the next repaint.
  virtual void OnPaint(DialogControls&) {}
  // WM_COMMAND from control id (a push button's id is also how dialogs end: kIdOk, kIdCancel). Returns
  // whether the logic handled it.
  virtual bool OnCommand(DialogControls&, int /*id*/, ControlEvent) { return false; }
  // The answer a page gives to a sheet notification (the dialog's DWLP_MSGRESULT / return value).
  virtual intptr_t OnSheetEvent(DialogControls&, SheetEvent) { return 0; }
  // WM_HELP (F1 in the dialog). Returns whether the logic handled it.
  virtual bool OnHelp(DialogControls&) { return false; }
  // WM_SYSCOMMAND with its command value. Returns true when the logic handled it, so the system's own
  // handling (moving, closing, ...) is left out.
  virtual bool OnSystemCommand(DialogControls&, int /*command*/) { return false; }

  // Edits whose typed characters the logic filters; for those, AcceptChar decides per WM_CHAR whether the
  // character reaches the edit.
  virtual std::vector<int> FilteredEdits() const { return {}; }
  virtual bool AcceptChar(int /*id*/, char16_t /*ch*/, bool /*controlHeld*/) { return true; }
};

}  // namespace mq::platform::ui
