// The sample package's driver-log viewer (ZNTDriverlogViewer.exe): a small window that shows the command line
// it was started with, so that a start from the Main page's Viewer button can be seen. When the environment
// variable MQ450_VIEWER_RECORD names a file, the command line (the arguments after the program name,
// UTF-16LE) is written there first, for tests that check the launch.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"MQ450DriverLogViewer";

// The arguments after the program's own name, as the command line spells them.
std::wstring Arguments() {
  const wchar_t* line = GetCommandLineW();
  bool quoted = false;
  while (*line != L'\0' && (quoted || (*line != L' ' && *line != L'\t'))) {
    if (*line == L'"') quoted = !quoted;
    ++line;
  }
  if (*line == L' ' || *line == L'\t') ++line;  // the one separator; the rest is kept as given
  return line;
}

void Record(const std::wstring& arguments) {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"MQ450_VIEWER_RECORD", path, MAX_PATH) == 0) return;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, arguments.data(), static_cast<DWORD>(arguments.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const std::wstring arguments = Arguments();
  Record(arguments);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(kClassName, L"Driver Log Viewer", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 420, 140, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  const std::wstring text = L"Started with: " + arguments;
  CreateWindowW(L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 12, 12, 380, 60, window, nullptr, instance,
                nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
