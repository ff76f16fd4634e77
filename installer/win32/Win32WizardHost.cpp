// The setup wizard's windows.
#include "Win32WizardHost.h"

#include <commctrl.h>

#include "InstallerResources.h"
#include "platform/Text.h"
#include "platform/win32/Win32Dialog.h"

namespace mq::installer {

using platform::ui::DialogSession;
using platform::ui::Win32DialogControls;

namespace {

// The port page's note line: blue on pink, in Arial.
constexpr COLORREF kNoteText = RGB(0, 0, 255);
constexpr COLORREF kNoteBackground = RGB(255, 202, 253);
// The progress dialog's text colour.
constexpr COLORREF kWaitText = RGB(0, 51, 153);
constexpr UINT_PTR kProgressTimer = 1;

struct PageStart {
  platform::ui::DialogLogic* logic;
  HINSTANCE module;
};

struct ProgressStart {
  ProgressDialog* dialog;
  ProgressLoop* loop;
  Win32WizardHost* host;
};

Win32WizardHost* HostOf(HWND window) {
  return reinterpret_cast<Win32WizardHost*>(GetPropW(window, L"MQ.WizardHost"));
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Narrow(std::wstring_view wide) {
  return text::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

Win32WizardHost::Win32WizardHost(HINSTANCE module, uint16_t langId)
    : module_(module), fontChoice_(ChooseDialogFont(langId)) {
  if (fontChoice_.replace) {
    dialogFont_ = CreateFontW(fontChoice_.height, 0, 0, 0, fontChoice_.weight, FALSE, FALSE, FALSE,
                              static_cast<BYTE>(fontChoice_.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Wide(fontChoice_.face).c_str());
  }
  noteFont_ = CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial");
  waitFont_ = CreateFontW(20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"System");
  noteBrush_ = CreateSolidBrush(kNoteBackground);
  icon_ = LoadIconW(module_, MAKEINTRESOURCEW(IDI_INSTALLER));
}

Win32WizardHost::~Win32WizardHost() {
  JoinWorker();
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(dialogFont_), static_cast<HGDIOBJ>(noteFont_),
                         static_cast<HGDIOBJ>(waitFont_), static_cast<HGDIOBJ>(noteBrush_),
                         static_cast<HGDIOBJ>(side_)}) {
    if (object != nullptr) DeleteObject(object);
  }
}

INT_PTR Win32WizardHost::Run(Wizard& wizard) {
  wizard_ = &wizard;
  return DialogBoxParamW(module_, MAKEINTRESOURCEW(IDD_WIZARD), nullptr, WizardProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Win32WizardHost::WizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* host = reinterpret_cast<Win32WizardHost*>(lParam);
    SetPropW(dialog, L"MQ.WizardHost", host);
    host->frame_ = dialog;
    if (host->icon_ != nullptr) {
      SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(host->icon_));
      SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(host->icon_));
    }
    DialogSession::Attach(dialog, host->module_, nullptr, host->wizard_, nullptr)->Init();
    // Next, or Cancel while the licence is not accepted (Next disabled): never the licence text, which the
    // dialog manager would otherwise select whole.
    HWND next = GetDlgItem(dialog, IDC_WIZARD_NEXT);
    if (!host->wizard_->closed()) SetFocus(IsWindowEnabled(next) ? next : GetDlgItem(dialog, IDC_WIZARD_CANCEL));
    return FALSE;  // the focus is set
  }
  Win32WizardHost* host = HostOf(dialog);
  if (host != nullptr) {
    switch (message) {
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUT) {
          host->wizard_->ShowAbout();
          return TRUE;
        }
        break;
      case WM_HELP:
        host->wizard_->ShowHelp();
        return TRUE;
      case WM_DRAWITEM:
        if (wParam == IDC_WIZARD_PICTURE) {
          host->DrawSidePicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
          return TRUE;
        }
        break;
      case WM_NCDESTROY:
        RemovePropW(dialog, L"MQ.WizardHost");
        break;
      default:
        break;
    }
  }
  return DialogSession::Dispatch(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK Win32WizardHost::PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* start = reinterpret_cast<const PageStart*>(lParam);
    return DialogSession::Attach(dialog, start->module, nullptr, start->logic, nullptr)->Init();
  }
  if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_PORT_NOTE &&
      GetDlgCtrlID(dialog) == IDC_WIZARD_PAGE_PORT) {
    if (Win32WizardHost* host = HostOf(GetParent(dialog))) {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kNoteText);
      SetBkColor(dc, kNoteBackground);
      return reinterpret_cast<INT_PTR>(host->noteBrush_);
    }
  }
  return DialogSession::Dispatch(dialog, message, wParam, lParam);
}

bool Win32WizardHost::CreatePage(int templateId, int controlId, platform::ui::DialogLogic& logic) {
  PageStart start{&logic, module_};
  HWND page = CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId), frame_, PageProc,
                                 reinterpret_cast<LPARAM>(&start));
  if (page == nullptr) return false;
  SetWindowLongPtrW(page, GWLP_ID, controlId);
  RECT area{};
  GetWindowRect(GetDlgItem(frame_, IDC_WIZARD_PAGE_AREA), &area);
  MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&area), 2);
  SetWindowPos(page, GetDlgItem(frame_, IDC_WIZARD_PAGE_AREA), area.left, area.top, area.right - area.left,
               area.bottom - area.top, SWP_NOACTIVATE);
  if (templateId == IDD_PORT_PAGE && noteFont_ != nullptr)
    SendDlgItemMessageW(page, IDC_PORT_NOTE, WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_), TRUE);
  return true;
}

void Win32WizardHost::PrepareDialog(platform::ui::DialogControls& dialog) {
  if (dialogFont_ == nullptr) return;
  auto* win32 = dynamic_cast<Win32DialogControls*>(&dialog);
  if (win32 == nullptr) return;
  SendMessageW(win32->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_), FALSE);
  EnumChildWindows(win32->Window(), SetFontOnChild, reinterpret_cast<LPARAM>(dialogFont_));
}

void Win32WizardHost::AddAboutItem(std::string_view text) {
  HMENU menu = GetSystemMenu(frame_, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, IDM_ABOUT, Wide(text).c_str());
}

bool Win32WizardHost::LoadSidePicture(std::string_view path) {
  if (side_ != nullptr) DeleteObject(side_);
  side_ = static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  InvalidateRect(GetDlgItem(frame_, IDC_WIZARD_PICTURE), nullptr, TRUE);
  return side_ != nullptr;
}

void Win32WizardHost::DrawSidePicture(const DRAWITEMSTRUCT& item) const {
  if (side_ == nullptr) return;
  BITMAP info{};
  GetObjectW(side_, sizeof info, &info);
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(memory, side_);
  SetStretchBltMode(item.hDC, HALFTONE);
  SetBrushOrgEx(item.hDC, 0, 0, nullptr);
  StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
             item.rcItem.bottom - item.rcItem.top, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void Win32WizardHost::Minimise() {
  ShowWindow(frame_, SW_MINIMIZE);
}

INT_PTR CALLBACK Win32WizardHost::ProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* start = reinterpret_cast<ProgressStart*>(lParam);
    SetPropW(dialog, L"MQ.Progress", start);
    DialogSession::Attach(dialog, start->host->module_, nullptr, start->dialog, nullptr)->Init();
    SetTimer(dialog, kProgressTimer, 100, nullptr);
    return TRUE;
  }
  auto* start = reinterpret_cast<ProgressStart*>(GetPropW(dialog, L"MQ.Progress"));
  if (start != nullptr) {
    switch (message) {
      case WM_TIMER:
        if (wParam == kProgressTimer) {
          KillTimer(dialog, kProgressTimer);
          auto* session = reinterpret_cast<DialogSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
          if (session != nullptr) start->loop->Run(session->Controls());
          return TRUE;
        }
        break;
      case WM_PAINT:
        start->host->PaintWaitText(dialog, start->dialog->WaitText());
        return TRUE;
      case WM_NCDESTROY:
        RemovePropW(dialog, L"MQ.Progress");
        break;
      default:
        break;
    }
  }
  return DialogSession::Dispatch(dialog, message, wParam, lParam);
}

void Win32WizardHost::PaintWaitText(HWND dialog, const std::string& text) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  RECT client{};
  GetClientRect(dialog, &client);
  RECT upper = client;
  upper.bottom = client.top + (client.bottom - client.top) * 2 / 3;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kWaitText);
  HGDIOBJ old = SelectObject(dc, dialogFont_ != nullptr ? dialogFont_ : waitFont_);
  if (dialogFont_ != nullptr) {
    // The Chinese text needs the Chinese face; it keeps the wait text's size and weight.
    LOGFONTW font{};
    GetObjectW(dialogFont_, sizeof font, &font);
    font.lfHeight = 20;
    font.lfWeight = FW_BOLD;
    HFONT large = CreateFontIndirectW(&font);
    SelectObject(dc, large);
    std::wstring wide = Wide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &upper, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(large);
  } else {
    std::wstring wide = Wide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &upper, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
  }
  EndPaint(dialog, &paint);
}

void Win32WizardHost::RunProgress(ProgressLoop& loop) {
  ProgressDialog dialog(*this, wizard_->environment().texts);
  ProgressStart start{&dialog, &loop, this};
  DialogBoxParamW(module_, MAKEINTRESOURCEW(IDD_PROGRESS), frame_, ProgressProc,
                  reinterpret_cast<LPARAM>(&start));
}

DWORD WINAPI Win32WizardHost::WorkerEntry(LPVOID body) {
  auto* work = static_cast<std::function<void()>*>(body);
  (*work)();
  delete work;
  return 0;
}

bool Win32WizardHost::StartWorker(std::function<void()> body) {
  JoinWorker();
  auto* work = new std::function<void()>(std::move(body));
  worker_ = CreateThread(nullptr, 0, WorkerEntry, work, 0, nullptr);
  if (worker_ == nullptr) {
    delete work;
    return false;
  }
  return true;
}

void Win32WizardHost::JoinWorker() {
  if (worker_ == nullptr) return;
  WaitForSingleObject(worker_, INFINITE);
  CloseHandle(worker_);
  worker_ = nullptr;
}

bool Win32WizardHost::BringToFront(std::string_view title) {
  HWND window = FindWindowW(nullptr, Wide(title).c_str());
  if (window == nullptr) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  BringWindowToTop(window);
  return true;
}

std::string Win32WizardHost::ResourceText(int id) {
  wchar_t buffer[512] = {};
  const int length = LoadStringW(module_, static_cast<UINT>(id), buffer, 512);
  return Narrow(std::wstring_view(buffer, static_cast<size_t>(length > 0 ? length : 0)));
}

}  // namespace mq::installer
