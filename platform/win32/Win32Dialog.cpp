// Dialog controls over a Win32 dialog, and the dispatch of its messages to the portable logic.
#include "platform/win32/Win32Dialog.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

#include "platform/Text.h"
#include "platform/win32/NewerWindowsApi.h"

namespace mq::platform::ui {

namespace {

std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Narrow(const wchar_t* text, size_t length) {
  return text::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string WindowText(HWND window) {
  if (window == nullptr) return {};
  const int length = GetWindowTextLengthW(window);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  return Narrow(buffer.data(), static_cast<size_t>(std::max(got, 0)));
}

bool IsClass(const std::wstring& name, const wchar_t* expected) {
  return _wcsicmp(name.c_str(), expected) == 0;
}

struct ModalStart {
  DialogLogic* logic;
  HINSTANCE module;
  HANDLE activation;
};

}  // namespace

Win32DialogControls::~Win32DialogControls() {
  for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
  for (HIMAGELIST list : imageLists_) ImageList_Destroy(list);
  if (font_ != nullptr) DeleteObject(font_);
}

std::wstring Win32DialogControls::ClassOf(int id) const {
  wchar_t name[64] = {};
  if (HWND item = Item(id)) GetClassNameW(item, name, 64);
  return name;
}

void Win32DialogControls::SetTitle(std::string_view text) {
  SetWindowTextW(dialog_, Wide(text).c_str());
}

void Win32DialogControls::SetText(int id, std::string_view text) {
  HWND item = Item(id);
  if (item == nullptr) return;
  // Pages set their texts on every paint: an unchanged text is not set again, so that a control never
  // invalidates its page in a loop.
  if (WindowText(item) == text) return;
  SetWindowTextW(item, Wide(text).c_str());
}

std::string Win32DialogControls::GetText(int id) {
  // An IP address field reads as its dotted address ("0.0.0.0" when blank), whatever its edits show.
  if (IsClass(ClassOf(id), WC_IPADDRESSW)) {
    DWORD address = 0;
    SendDlgItemMessageW(dialog_, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return std::to_string(FIRST_IPADDRESS(address)) + "." + std::to_string(SECOND_IPADDRESS(address)) + "." +
           std::to_string(THIRD_IPADDRESS(address)) + "." + std::to_string(FOURTH_IPADDRESS(address));
  }
  return WindowText(Item(id));
}

void Win32DialogControls::SetTextLimit(int id, int characters) {
  // A combo box with an edit takes the limit through its own message.
  const UINT message = IsClass(ClassOf(id), L"ComboBox") ? CB_LIMITTEXT : EM_LIMITTEXT;
  SendDlgItemMessageW(dialog_, id, message, static_cast<WPARAM>(characters), 0);
}

void Win32DialogControls::Enable(int id, bool enabled) {
  if (HWND item = Item(id)) EnableWindow(item, enabled ? TRUE : FALSE);
}
bool Win32DialogControls::IsEnabled(int id) {
  HWND item = Item(id);
  return item != nullptr && IsWindowEnabled(item);
}
void Win32DialogControls::Show(int id, bool visible) {
  if (HWND item = Item(id)) ShowWindow(item, visible ? SW_SHOW : SW_HIDE);
}
bool Win32DialogControls::IsVisible(int id) {
  HWND item = Item(id);
  return item != nullptr && IsWindowVisible(item);
}
void Win32DialogControls::Move(int id, int x, int y) {
  if (HWND item = Item(id))
    SetWindowPos(item, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void Win32DialogControls::SetChecked(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}
bool Win32DialogControls::IsChecked(int id) {
  return IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void Win32DialogControls::ClearItems(int id) {
  const bool list = IsClass(ClassOf(id), L"ListBox");
  SendDlgItemMessageW(dialog_, id, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
}

int Win32DialogControls::AddItem(int id, std::string_view text) {
  const bool list = IsClass(ClassOf(id), L"ListBox");
  const std::wstring wide = Wide(text);
  const LRESULT index = SendDlgItemMessageW(dialog_, id, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                                            reinterpret_cast<LPARAM>(wide.c_str()));
  return index < 0 ? -1 : static_cast<int>(index);
}

int Win32DialogControls::ItemCount(int id) {
  const bool list = IsClass(ClassOf(id), L"ListBox");
  const LRESULT count = SendDlgItemMessageW(dialog_, id, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32DialogControls::ItemText(int id, int index) {
  const bool list = IsClass(ClassOf(id), L"ListBox");
  const LRESULT length =
      SendDlgItemMessageW(dialog_, id, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got =
      SendDlgItemMessageW(dialog_, id, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(buffer.data()));
  return got < 0 ? std::string() : Narrow(buffer.data(), static_cast<size_t>(got));
}

void Win32DialogControls::SetSelection(int id, int index) {
  const bool list = IsClass(ClassOf(id), L"ListBox");
  SendDlgItemMessageW(dialog_, id, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32DialogControls::Selection(int id) {
  const bool list = IsClass(ClassOf(id), L"ListBox");
  const LRESULT index = SendDlgItemMessageW(dialog_, id, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32DialogControls::SetRange(int id, int minimum, int maximum) {
  if (IsClass(ClassOf(id), PROGRESS_CLASSW)) {
    SendDlgItemMessageW(dialog_, id, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    return;
  }
  if (IsClass(ClassOf(id), TRACKBAR_CLASSW))
    SendDlgItemMessageW(dialog_, id, TBM_SETRANGEMIN, FALSE, minimum),
        SendDlgItemMessageW(dialog_, id, TBM_SETRANGEMAX, TRUE, maximum);
  else
    SendDlgItemMessageW(dialog_, id, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void Win32DialogControls::SetPosition(int id, int position) {
  if (IsClass(ClassOf(id), PROGRESS_CLASSW)) {
    SendDlgItemMessageW(dialog_, id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    return;
  }
  if (IsClass(ClassOf(id), TRACKBAR_CLASSW))
    SendDlgItemMessageW(dialog_, id, TBM_SETPOS, TRUE, position);
  else
    SendDlgItemMessageW(dialog_, id, UDM_SETPOS32, 0, position);
}

int Win32DialogControls::Position(int id) {
  if (IsClass(ClassOf(id), PROGRESS_CLASSW))
    return static_cast<int>(SendDlgItemMessageW(dialog_, id, PBM_GETPOS, 0, 0));
  if (IsClass(ClassOf(id), TRACKBAR_CLASSW))
    return static_cast<int>(SendDlgItemMessageW(dialog_, id, TBM_GETPOS, 0, 0));
  return static_cast<int>(SendDlgItemMessageW(dialog_, id, UDM_GETPOS32, 0, 0));
}

void Win32DialogControls::SetTrackSteps(int id, int lineStep, int pageStep) {
  SendDlgItemMessageW(dialog_, id, TBM_SETLINESIZE, 0, lineStep);
  SendDlgItemMessageW(dialog_, id, TBM_SETPAGESIZE, 0, pageStep);
}

void Win32DialogControls::ListViewAddColumn(int id, std::string_view title, int width) {
  HWND list = Item(id);
  if (list == nullptr) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int count = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  std::wstring wide = Wide(title);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = wide.data();
  column.cx = width;
  column.iSubItem = count;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&column));
}

void Win32DialogControls::ListViewClear(int id) {
  SendDlgItemMessageW(dialog_, id, LVM_DELETEALLITEMS, 0, 0);
}

int Win32DialogControls::ListViewAddRow(int id, const std::vector<std::string>& cells) {
  HWND list = Item(id);
  if (list == nullptr) return -1;
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::wstring first = cells.empty() ? std::wstring() : Wide(cells[0]);
  item.pszText = first.data();
  const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  for (size_t c = 1; c < cells.size(); ++c) {
    std::wstring wide = Wide(cells[c]);
    LVITEMW sub{};
    sub.iSubItem = static_cast<int>(c);
    sub.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
  }
  return row;
}

int Win32DialogControls::ListViewRowCount(int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog_, id, LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32DialogControls::ListViewCell(int id, int row, int column) {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  const LRESULT got = SendDlgItemMessageW(dialog_, id, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                          reinterpret_cast<LPARAM>(&item));
  return Narrow(buffer, static_cast<size_t>(std::clamp<LRESULT>(got, 0, 1023)));
}

void Win32DialogControls::ListViewSetChecked(int id, int row, bool checked) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendDlgItemMessageW(dialog_, id, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item));
}

bool Win32DialogControls::ListViewIsChecked(int id, int row) {
  const LRESULT state =
      SendDlgItemMessageW(dialog_, id, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
  return ((static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void Win32DialogControls::ListViewSelect(int id, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendDlgItemMessageW(dialog_, id, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item));
}

int Win32DialogControls::ListViewSelection(int id) {
  return static_cast<int>(
      SendDlgItemMessageW(dialog_, id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Win32DialogControls::ListViewSelectFullRows(int id) {
  SendDlgItemMessageW(dialog_, id, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void Win32DialogControls::ListViewEnsureVisible(int id, int row) {
  SendDlgItemMessageW(dialog_, id, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void Win32DialogControls::TreeSetImages(int id, const std::vector<int>& iconIds) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, static_cast<int>(iconIds.size()), 0);
  if (list == nullptr) return;
  for (int icon : iconIds) {
    HICON handle = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, 0));
    if (handle == nullptr) continue;
    ImageList_AddIcon(list, handle);
    DestroyIcon(handle);
  }
  imageLists_.push_back(list);
  SendDlgItemMessageW(dialog_, id, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

TreeItem Win32DialogControls::TreeAdd(int id, TreeItem parent, std::string_view text, int image) {
  std::wstring wide = Wide(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent == kTreeRoot ? TVI_ROOT : reinterpret_cast<HTREEITEM>(parent);
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = wide.data();
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  return static_cast<TreeItem>(
      SendDlgItemMessageW(dialog_, id, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void Win32DialogControls::TreeSetText(int id, TreeItem item, std::string_view text) {
  if (item == kTreeRoot || TreeText(id, item) == text) return;
  std::wstring wide = Wide(text);
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = reinterpret_cast<HTREEITEM>(item);
  tv.pszText = wide.data();
  SendDlgItemMessageW(dialog_, id, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

std::string Win32DialogControls::TreeText(int id, TreeItem item) {
  if (item == kTreeRoot) return {};
  wchar_t buffer[1024] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = reinterpret_cast<HTREEITEM>(item);
  tv.pszText = buffer;
  tv.cchTextMax = 1024;
  if (!SendDlgItemMessageW(dialog_, id, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
  return Narrow(buffer, wcsnlen(buffer, 1024));
}

void Win32DialogControls::TreeExpand(int id, TreeItem item) {
  SendDlgItemMessageW(dialog_, id, TVM_EXPAND, TVE_EXPAND, static_cast<LPARAM>(item));
}

void Win32DialogControls::TreeSelect(int id, TreeItem item) {
  SendDlgItemMessageW(dialog_, id, TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(item));
}

void Win32DialogControls::Focus(int id) {
  if (HWND item = Item(id)) SetFocus(item);
}

void Win32DialogControls::SetPicture(int id, const Picture& picture) {
  HWND item = Item(id);
  if (item == nullptr) return;
  if (picture.Empty()) {
    HBITMAP previous = reinterpret_cast<HBITMAP>(SendMessageW(item, STM_SETIMAGE, IMAGE_BITMAP, 0));
    auto it = std::find(bitmaps_.begin(), bitmaps_.end(), previous);
    if (it != bitmaps_.end()) {
      DeleteObject(previous);
      bitmaps_.erase(it);
    }
    InvalidateRect(item, nullptr, TRUE);
    return;
  }
  RECT client{};
  GetClientRect(item, &client);
  const int width = std::max<int>(1, client.right - client.left);
  const int height = std::max<int>(1, client.bottom - client.top);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = -picture.Height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(picture.Width()) * picture.Height());
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      pixels[static_cast<size_t>(y) * picture.Width() + x] = picture.At(x, y);

  // The picture stretched to the control's size, smoothed so that the small texts stay legible.
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (target == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (target != nullptr) DeleteDC(target);
    return;
  }
  HGDIOBJ old = SelectObject(target, bitmap);
  SetStretchBltMode(target, HALFTONE);
  SetBrushOrgEx(target, 0, 0, nullptr);
  StretchDIBits(target, 0, 0, width, height, 0, 0, picture.Width(), picture.Height(), pixels.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
  SelectObject(target, old);
  DeleteDC(target);

  HBITMAP previous = reinterpret_cast<HBITMAP>(
      SendMessageW(item, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  // The control hands back the picture it showed before; the ones this object made are freed here or with it.
  auto it = std::find(bitmaps_.begin(), bitmaps_.end(), previous);
  if (it != bitmaps_.end()) {
    DeleteObject(previous);
    bitmaps_.erase(it);
  }
  bitmaps_.push_back(bitmap);
  InvalidateRect(item, nullptr, TRUE);
}

void Win32DialogControls::SetToolTip(int id, std::string_view text) {
  HWND item = Item(id);
  if (item == nullptr) return;
  if (toolTip_ == nullptr) {
    toolTip_ =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, module_, nullptr);
    if (toolTip_ == nullptr) return;
    SendMessageW(toolTip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 1000);
    SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 300);
  }
  std::wstring wide = Wide(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = dialog_;
  tool.uId = reinterpret_cast<UINT_PTR>(item);
  tool.lpszText = wide.data();
  // TTM_GETTOOLINFOW copies the tool's text back, up to the control's limit of 1024 characters.
  wchar_t previous[1100] = {};
  TOOLINFOW existing = tool;
  existing.lpszText = previous;
  if (SendMessageW(toolTip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing)))
    SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  else
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

int Win32DialogControls::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                                     MessageButtons buttons) {
  UINT flags = 0;
  switch (icon) {
    case MessageIcon::kNone:
      break;
    case MessageIcon::kError:
      flags |= MB_ICONERROR;
      break;
    case MessageIcon::kWarning:
      flags |= MB_ICONWARNING;
      break;
    case MessageIcon::kInformation:
      flags |= MB_ICONINFORMATION;
      break;
    case MessageIcon::kQuestion:
      flags |= MB_ICONQUESTION;
      break;
  }
  switch (buttons) {
    case MessageButtons::kOk:
      flags |= MB_OK;
      break;
    case MessageButtons::kOkCancel:
      flags |= MB_OKCANCEL;
      break;
    case MessageButtons::kYesNo:
      flags |= MB_YESNO;
      break;
    case MessageButtons::kYesNoCancel:
      flags |= MB_YESNOCANCEL;
      break;
    case MessageButtons::kRetryCancel:
      flags |= MB_RETRYCANCEL;
      break;
  }
  return MessageBoxW(dialog_, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

void Win32DialogControls::SheetChanged() {
  SendMessageW(GetParent(dialog_), PSM_CHANGED, reinterpret_cast<WPARAM>(dialog_), 0);
}

void Win32DialogControls::SheetUnchanged() {
  SendMessageW(GetParent(dialog_), PSM_UNCHANGED, reinterpret_cast<WPARAM>(dialog_), 0);
}

void Win32DialogControls::SheetSetResult(intptr_t result) {
  if (reporter_) reporter_(result);
}

void Win32DialogControls::Repaint() {
  InvalidateRect(dialog_, nullptr, TRUE);
}

int Win32DialogControls::RunModal(int templateId, DialogLogic& logic) {
  ModalStart start{&logic, module_, activation_};
  win32::ActivationScope scope(activation_);
  const INT_PTR result = DialogBoxParamW(module_, MAKEINTRESOURCEW(templateId), dialog_,
                                         DialogSession::ModalProc, reinterpret_cast<LPARAM>(&start));
  return static_cast<int>(result);
}

void Win32DialogControls::EndDialog(int result) {
  ::EndDialog(dialog_, result);
}

void Win32DialogControls::SetDialogFont(const DialogFont& font) {
  LOGFONTW description{};
  description.lfHeight = font.height;
  description.lfWidth = font.width;
  description.lfWeight = font.weight;
  description.lfCharSet = font.charset;
  description.lfPitchAndFamily = font.pitchFamily;
  const std::wstring face = Wide(font.face);
  wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT created = CreateFontIndirectW(&description);
  if (created == nullptr) return;
  SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(created), FALSE);
  for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  // The controls keep using the font given before until they are told otherwise: it goes with the dialog.
  if (font_ != nullptr) DeleteObject(font_);
  font_ = created;
}

void Win32DialogControls::AddSystemMenuItem(int command, std::string_view text) {
  HMENU menu = GetSystemMenu(dialog_, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), Wide(text).c_str());
}

void Win32DialogControls::SetIcon(int iconId) {
  // LoadIconW gives shared icons that need no freeing.
  HICON icon = LoadIconW(module_, MAKEINTRESOURCEW(iconId));
  SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Win32DialogControls::ListViewDeleteRow(int id, int row) {
  SendDlgItemMessageW(dialog_, id, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void Win32DialogControls::ListViewAddExtendedStyles(int id, uint32_t styles) {
  SendDlgItemMessageW(dialog_, id, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
}

void Win32DialogControls::FitHorizontalExtent(int id) {
  HWND list = Item(id);
  if (list == nullptr) return;
  HDC dc = GetDC(dialog_);
  if (dc == nullptr) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  const int count = ItemCount(id);
  for (int i = 0; i < count; ++i) {
    const std::wstring line = Wide(ItemText(id, i));
    SIZE size{};
    if (GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size))
      widest = std::max(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(dialog_, dc);
  if (widest > static_cast<LONG>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)))
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
}

// --- DialogSession ---

DialogSession* DialogSession::Attach(HWND dialog, HINSTANCE module, HANDLE activation, DialogLogic* logic,
                                     std::unique_ptr<DialogLogic> owned) {
  auto* session = new DialogSession(dialog, module, activation, logic, std::move(owned));
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(session));
  for (int id : logic->FilteredEdits())
    if (HWND edit = GetDlgItem(dialog, id))
      win32::SetSubclass(edit, EditFilterProc, static_cast<UINT_PTR>(id),
                         reinterpret_cast<DWORD_PTR>(session));
  return session;
}

INT_PTR DialogSession::Init() {
  logic_->OnInit(controls_);
  return TRUE;
}

LRESULT CALLBACK DialogSession::EditFilterProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR data) {
  if (message == WM_CHAR) {
    auto* session = reinterpret_cast<DialogSession*>(data);
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (!session->logic_->AcceptChar(static_cast<int>(id), static_cast<char16_t>(wParam), control)) return 0;
  } else if (message == WM_NCDESTROY) {
    win32::RemoveSubclass(edit, EditFilterProc, id);
  }
  return win32::CallNextSubclassProcedure(edit, message, wParam, lParam);
}

INT_PTR DialogSession::Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* session = reinterpret_cast<DialogSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (session == nullptr) return 0;
  DialogLogic& logic = *session->logic_;
  switch (message) {
    case WM_PAINT:
      logic.OnPaint(session->controls_);
      return 0;  // the dialog's own painting goes on as usual
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const UINT code = HIWORD(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      wchar_t name[32] = {};
      if (control != nullptr) GetClassNameW(control, name, 32);
      ControlEvent event;
      if ((IsClass(name, L"ComboBox") && code == CBN_SELCHANGE) ||
          (IsClass(name, L"ListBox") && code == LBN_SELCHANGE))
        event = ControlEvent::kSelectionChanged;
      else if ((IsClass(name, L"Edit") && code == EN_CHANGE) ||
               (IsClass(name, L"ComboBox") && code == CBN_EDITCHANGE))
        event = ControlEvent::kTextChanged;
      else if (IsClass(name, L"Edit") && code == EN_KILLFOCUS)
        event = ControlEvent::kFocusLost;
      else if (code == BN_CLICKED && (control == nullptr || IsClass(name, L"Button")))
        event = ControlEvent::kClicked;
      else
        return 0;
      return logic.OnCommand(session->controls_, id, event) ? TRUE : FALSE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      // Track bars report through their parent; scroll bars of the dialog itself (lParam null) are not ours.
      const HWND control = reinterpret_cast<HWND>(lParam);
      if (control == nullptr) return 0;
      wchar_t name[32] = {};
      GetClassNameW(control, name, 32);
      if (!IsClass(name, TRACKBAR_CLASSW)) return 0;
      const ControlEvent event =
          LOWORD(wParam) == TB_ENDTRACK ? ControlEvent::kScrollEnded : ControlEvent::kScrolled;
      return logic.OnCommand(session->controls_, GetDlgCtrlID(control), event) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr) return 0;
      if (header->code == LVN_ITEMCHANGED) {
        // A row gained or lost the selection (by click, keyboard or the logic itself).
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) == 0 ||
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) == 0)
          return 0;
        logic.OnCommand(session->controls_, static_cast<int>(header->idFrom),
                        ControlEvent::kSelectionChanged);
        return 0;
      }
      if (header->code == NM_DBLCLK) {
        // Only a double click on a list view's row; one beside the rows (iItem -1) is no choice.
        wchar_t name[32] = {};
        GetClassNameW(header->hwndFrom, name, 32);
        if (!IsClass(name, WC_LISTVIEWW) || reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem < 0)
          return 0;
        logic.OnCommand(session->controls_, static_cast<int>(header->idFrom), ControlEvent::kDoubleClicked);
        return 0;
      }
      SheetEvent event = SheetEvent::kOther;
      switch (header->code) {
        case PSN_APPLY:
          event = SheetEvent::kApply;
          break;
        case PSN_KILLACTIVE:
          event = SheetEvent::kKillActive;
          break;
        case PSN_SETACTIVE:
          event = SheetEvent::kSetActive;
          break;
        case PSN_RESET:
          event = SheetEvent::kReset;
          break;
        case PSN_QUERYCANCEL:
          event = SheetEvent::kQueryCancel;
          break;
        default:
          break;
      }
      // The answer to the sheet stays PSNRET_NOERROR (0): applying succeeds and the page may be left.
      const intptr_t answer = logic.OnSheetEvent(session->controls_, event);
      if (event != SheetEvent::kOther) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      return answer;
    }
    case WM_HELP:
      return logic.OnHelp(session->controls_) ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      if (!logic.OnSystemCommand(session->controls_, static_cast<int>(wParam))) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      delete session;
      return 0;
    default:
      return 0;
  }
}

INT_PTR CALLBACK DialogSession::ModalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* start = reinterpret_cast<const ModalStart*>(lParam);
    return Attach(dialog, start->module, start->activation, start->logic, nullptr)->Init();
  }
  return Dispatch(dialog, message, wParam, lParam);
}

}  // namespace mq::platform::ui
