// The Win32 side of the dialog framework: DialogControls over a dialog window, and the session that turns the
// dialog's messages into DialogLogic calls (WM_INITDIALOG, WM_PAINT, WM_COMMAND, WM_NOTIFY from the property
// sheet and from list views, WM_HSCROLL / WM_VSCROLL from track bars, and WM_CHAR of the edits whose
// characters the logic filters). Windows builds only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/DialogControls.h"
#include "platform/ui/DialogLogic.h"

namespace mq::platform::ui {

class Win32DialogControls : public DialogControls {
 public:
  // module holds the dialog templates and icons; activation is the activation context modal dialogs run in
  // (null for the process default).
  Win32DialogControls(HWND dialog, HINSTANCE module, HANDLE activation)
      : dialog_(dialog), module_(module), activation_(activation) {}
  ~Win32DialogControls() override;

  // What SheetSetResult calls (the host's CPSFUNC_SET_RESULT for this page).
  void SetResultReporter(std::function<void(intptr_t)> reporter) { reporter_ = std::move(reporter); }
  HWND Window() const { return dialog_; }

  void SetTitle(std::string_view text) override;
  void SetText(int id, std::string_view text) override;
  std::string GetText(int id) override;
  void SetTextLimit(int id, int characters) override;
  void Enable(int id, bool enabled) override;
  bool IsEnabled(int id) override;
  void Show(int id, bool visible) override;
  bool IsVisible(int id) override;
  void Move(int id, int x, int y) override;
  void SetChecked(int id, bool checked) override;
  bool IsChecked(int id) override;
  void ClearItems(int id) override;
  int AddItem(int id, std::string_view text) override;
  int ItemCount(int id) override;
  std::string ItemText(int id, int index) override;
  void SetSelection(int id, int index) override;
  int Selection(int id) override;
  void SetRange(int id, int minimum, int maximum) override;
  void SetPosition(int id, int position) override;
  int Position(int id) override;
  void SetTrackSteps(int id, int lineStep, int pageStep) override;
  void ListViewAddColumn(int id, std::string_view title, int width) override;
  void ListViewClear(int id) override;
  int ListViewAddRow(int id, const std::vector<std::string>& cells) override;
  int ListViewRowCount(int id) override;
  std::string ListViewCell(int id, int row, int column) override;
  void ListViewSetChecked(int id, int row, bool checked) override;
  bool ListViewIsChecked(int id, int row) override;
  void ListViewSelect(int id, int row) override;
  int ListViewSelection(int id) override;
  void ListViewSelectFullRows(int id) override;
  void ListViewEnsureVisible(int id, int row) override;
  void TreeSetImages(int id, const std::vector<int>& iconIds) override;
  TreeItem TreeAdd(int id, TreeItem parent, std::string_view text, int image) override;
  void TreeSetText(int id, TreeItem item, std::string_view text) override;
  std::string TreeText(int id, TreeItem item) override;
  void TreeExpand(int id, TreeItem item) override;
  void TreeSelect(int id, TreeItem item) override;
  void SetPicture(int id, const Picture& picture) override;
  void Focus(int id) override;
  void SetToolTip(int id, std::string_view text) override;
  int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                  MessageButtons buttons) override;
  void SheetChanged() override;
  void SheetUnchanged() override;
  void SheetSetResult(intptr_t result) override;
  void Repaint() override;
  int RunModal(int templateId, DialogLogic& logic) override;
  void EndDialog(int result) override;
  void SetDialogFont(const DialogFont& font) override;
  void AddSystemMenuItem(int command, std::string_view text) override;
  void SetIcon(int iconId) override;
  void ListViewDeleteRow(int id, int row) override;
  void ListViewAddExtendedStyles(int id, uint32_t styles) override;
  void FitHorizontalExtent(int id) override;

 private:
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  std::wstring ClassOf(int id) const;

  HWND dialog_;
  HINSTANCE module_;
  HANDLE activation_;
  HWND toolTip_ = nullptr;
  std::vector<HBITMAP> bitmaps_;
  std::vector<HIMAGELIST> imageLists_;
  HFONT font_ = nullptr;
  std::function<void(intptr_t)> reporter_;
};

// One dialog's binding of window, controls and logic. Attach it on WM_INITDIALOG; it lives in DWLP_USER and
// is deleted when the window is destroyed. Messages before WM_INITDIALOG find no session and are answered 0.
class DialogSession {
 public:
  // owned: the session deletes the logic with itself (pages); null for logic owned by the caller (modal).
  static DialogSession* Attach(HWND dialog, HINSTANCE module, HANDLE activation, DialogLogic* logic,
                               std::unique_ptr<DialogLogic> owned);
  // Sends WM_INITDIALOG to the logic; returns the answer for the message.
  INT_PTR Init();
  Win32DialogControls& Controls() { return controls_; }

  // The dialog procedure body for every message after WM_INITDIALOG.
  static INT_PTR Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  // A dialog procedure for modal dialogs whose WM_INITDIALOG lParam is the DialogLogic*; module and
  // activation are taken from the owner's session.
  static INT_PTR CALLBACK ModalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  DialogSession(HWND dialog, HINSTANCE module, HANDLE activation, DialogLogic* logic,
                std::unique_ptr<DialogLogic> owned)
      : controls_(dialog, module, activation), logic_(logic), owned_(std::move(owned)) {}
  static LRESULT CALLBACK EditFilterProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR session);

  Win32DialogControls controls_;
  DialogLogic* logic_;
  std::unique_ptr<DialogLogic> owned_;
};

}  // namespace mq::platform::ui
