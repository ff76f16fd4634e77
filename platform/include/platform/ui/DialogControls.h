// The controls of one dialog or property page, addressed by control id, as the portable page logic sees them.
// The Win32 adapter maps each method onto the dialog's child windows (the Windows call is named per method);
// the in-memory fake keeps the same state for tests. Texts are UTF-8 in both directions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Picture.h"

namespace mq::platform::ui {

class DialogLogic;

// Dialog answers keep the Windows values so that templates' button ids and message-box answers line up.
inline constexpr int kIdOk = 1;      // IDOK
inline constexpr int kIdCancel = 2;  // IDCANCEL
inline constexpr int kIdRetry = 4;   // IDRETRY
inline constexpr int kIdYes = 6;     // IDYES
inline constexpr int kIdNo = 7;      // IDNO

enum class MessageIcon { kNone, kError, kWarning, kInformation, kQuestion };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };

// A tree-view item; kTreeRoot stands for "no parent" (TVI_ROOT).
using TreeItem = uintptr_t;
inline constexpr TreeItem kTreeRoot = 0;

// The LOGFONTW fields a program dialog chooses (the rest stay 0); face is UTF-8.
struct DialogFont {
  int height = 0;
  int width = 0;
  int weight = 400;         // FW_NORMAL
  uint8_t charset = 0;      // 134 is GB2312_CHARSET
  uint8_t pitchFamily = 0;  // 0x20 is FF_MODERN
  std::string face;
};

class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // The dialog's own caption (SetWindowTextW on the dialog).
  virtual void SetTitle(std::string_view text) = 0;

  // SetDlgItemTextW / GetWindowTextW: the whole text of a control; an unknown id reads as "".
  virtual void SetText(int id, std::string_view text) = 0;
  virtual std::string GetText(int id) = 0;
  // EM_LIMITTEXT (CB_LIMITTEXT for a combo box): the most characters the user may type into an edit.
  virtual void SetTextLimit(int id, int characters) = 0;

  // EnableWindow / IsWindowEnabled, ShowWindow / IsWindowVisible.
  virtual void Enable(int id, bool enabled) = 0;
  virtual bool IsEnabled(int id) = 0;
  virtual void Show(int id, bool visible) = 0;
  virtual bool IsVisible(int id) = 0;
  // SetWindowPos without resizing: puts the control's top-left corner at (x, y), in pixels of the dialog's
  // client area (controls of two groups that share one area are moved onto it).
  virtual void Move(int id, int x, int y) = 0;

  // BM_SETCHECK / BM_GETCHECK for check boxes and radio buttons. Setting one radio button does not clear the
  // others of its group (as with the Windows message); the logic sets each one.
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool IsChecked(int id) = 0;

  // Combo boxes and list boxes (CB_/LB_ messages). AddItem returns the new item's index, or -1.
  virtual void ClearItems(int id) = 0;
  virtual int AddItem(int id, std::string_view text) = 0;
  virtual int ItemCount(int id) = 0;
  virtual std::string ItemText(int id, int index) = 0;
  // Selects index; -1 or an index past the end clears the selection.
  virtual void SetSelection(int id, int index) = 0;
  // The selected index, or -1 when nothing is selected.
  virtual int Selection(int id) = 0;

  // Up-down controls (UDM_SETRANGE32 / UDM_SETPOS32 / UDM_GETPOS32) and track bars (TBM_SETRANGE / TBM_SETPOS
  // / TBM_GETPOS). A position outside the range is clamped by the control.
  virtual void SetRange(int id, int minimum, int maximum) = 0;
  virtual void SetPosition(int id, int position) = 0;
  virtual int Position(int id) = 0;
  // TBM_SETLINESIZE / TBM_SETPAGESIZE: how far a track bar moves per arrow key and per page key or click.
  virtual void SetTrackSteps(int id, int lineStep, int pageStep) = 0;

  // List views in report style (LVM_ messages).
  virtual void ListViewAddColumn(int id, std::string_view title, int width) = 0;
  virtual void ListViewClear(int id) = 0;
  // Appends a row; returns its index, or -1.
  virtual int ListViewAddRow(int id, const std::vector<std::string>& cells) = 0;
  virtual int ListViewRowCount(int id) = 0;
  virtual std::string ListViewCell(int id, int row, int column) = 0;
  virtual void ListViewSetChecked(int id, int row, bool checked) = 0;
  virtual bool ListViewIsChecked(int id, int row) = 0;
  virtual void ListViewSelect(int id, int row) = 0;
  // The first selected row, or -1.
  virtual int ListViewSelection(int id) = 0;
  // LVM_SETEXTENDEDLISTVIEWSTYLE with LVS_EX_FULLROWSELECT: a click anywhere on a row selects it, and the
  // whole row shows the selection.
  virtual void ListViewSelectFullRows(int id) = 0;
  // LVM_ENSUREVISIBLE: scrolls the list as little as needed for the row to be shown whole.
  virtual void ListViewEnsureVisible(int id, int row) = 0;

  // Tree views (TVM_ messages). The image list is built from the module's icon resources, in order, 16 x 16.
  virtual void TreeSetImages(int id, const std::vector<int>& iconIds) = 0;
  // Appends an item under parent with the image index; returns the new item, or kTreeRoot on failure.
  virtual TreeItem TreeAdd(int id, TreeItem parent, std::string_view text, int image) = 0;
  virtual void TreeSetText(int id, TreeItem item, std::string_view text) = 0;
  virtual std::string TreeText(int id, TreeItem item) = 0;
  virtual void TreeExpand(int id, TreeItem item) = 0;
  virtual void TreeSelect(int id, TreeItem item) = 0;

  // Shows the picture in a picture control, stretched to the control's size; an empty picture clears it.
  virtual void SetPicture(int id, const Picture& picture) = 0;
  // SetFocus on a control.
  virtual void Focus(int id) = 0;

  // The help tip shown when the pointer rests on the control (one tool-tip window per dialog).
  virtual void SetToolTip(int id, std::string_view text) = 0;

  // MessageBoxW owned by the dialog; returns the button pressed (kIdOk, kIdCancel, kIdYes, ...).
  virtual int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                          MessageButtons buttons) = 0;

  // Property-sheet notifications: PSM_CHANGED and PSM_UNCHANGED to the sheet (the dialog's parent), and the
  // host's CPSFUNC_SET_RESULT with the page's handle and the given result (CPSUI_OK is 1).
  virtual void SheetChanged() = 0;
  virtual void SheetUnchanged() = 0;
  virtual void SheetSetResult(intptr_t result) = 0;

  // InvalidateRect of the whole dialog: a later paint lets the logic re-read its texts.
  virtual void Repaint() = 0;

  // DialogBoxParamW with the module's template: runs logic in a modal dialog owned by this one and returns
  // the value it ended with (-1 when the dialog could not be created).
  virtual int RunModal(int templateId, DialogLogic& logic) = 0;
  // EndDialog of a modal dialog.
  virtual void EndDialog(int result) = 0;

  // --- Program dialogs ---
  // CreateFontIndirectW with font, set (WM_SETFONT) on the dialog and on each of its child windows; the font
  // lives as long as the dialog.
  virtual void SetDialogFont(const DialogFont& font) = 0;
  // AppendMenuW to the dialog's system menu: a separator, then an item with the command's value and text.
  virtual void AddSystemMenuItem(int command, std::string_view text) = 0;
  // WM_SETICON, big and small, with the module's icon resource.
  virtual void SetIcon(int iconId) = 0;
  // LVM_DELETEITEM: the rows after it move up by one.
  virtual void ListViewDeleteRow(int id, int row) = 0;
  // LVM_SETEXTENDEDLISTVIEWSTYLE: adds styles (LVS_EX_ bits) to the list view's extended styles.
  virtual void ListViewAddExtendedStyles(int id, uint32_t styles) = 0;
  // LB_SETHORIZONTALEXTENT: a list box's horizontal scroll extent grows to the pixel width of its widest
  // line, measured with the dialog's font; it never shrinks.
  virtual void FitHorizontalExtent(int id) = 0;
};

}  // namespace mq::platform::ui
