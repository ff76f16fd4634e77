// A window of another program that looks like one of the printer's property windows to a language change: a
// dialog-class window whose caption names the printer, holding a tab control with four tabs. Every 100 ms it
// writes its tab titles, joined by '|', then '#' and how many tab-setting messages (TCM_SETITEMW/A) reached
// the tab control, as UTF-16 into the file named by its argument, so that a test can see what the plug-in in
// the test's process did to it. Such a message carries a pointer into the sender's memory, which this process
// cannot read; the count shows one was sent even where the system swallows the fault it causes. Runs until
// it is ended.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

HWND g_tabs = nullptr;
std::wstring g_output;
WNDPROC g_tabProcedure = nullptr;
int g_setItems = 0;

LRESULT CALLBACK CountingTabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TCM_SETITEMW || message == TCM_SETITEMA) ++g_setItems;
  return CallWindowProcW(g_tabProcedure, window, message, wParam, lParam);
}

void CALLBACK WriteTitles(HWND, UINT, UINT_PTR, DWORD) {
  std::wstring titles;
  const int count = static_cast<int>(SendMessageW(g_tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(g_tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    if (i > 0) titles += L'|';
    titles += text;
  }
  titles += L'#' + std::to_wstring(g_setItems);
  const std::wstring temporary = g_output + L".new";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, titles.data(), static_cast<DWORD>(titles.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temporary.c_str(), g_output.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  g_output.assign(argv[1], argv[1] + strlen(argv[1]));
  InitCommonControls();
  HWND window = CreateWindowExW(0, L"#32770", L"MQ-450 Properties (another program)",
                                WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 560, 520, 320, 150, nullptr, nullptr,
                                nullptr, nullptr);
  g_tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 5, 5, 300, 100, window, nullptr,
                           nullptr, nullptr);
  if (window == nullptr || g_tabs == nullptr) return 1;
  g_tabProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(g_tabs, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingTabProc)));
  const wchar_t* names[] = {L"One", L"Two", L"Three", L"Four"};
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(names[i]);
    SendMessageW(g_tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  WriteTitles(nullptr, 0, 0, 0);
  SetTimer(nullptr, 0, 100, WriteTitles);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
