// Restarting Windows through the process token's shutdown privilege, and window lookups by title.
#include "platform/win32/Win32DesktopRoles.h"

#include <windows.h>

#include <string>

#include "platform/win32/Win32Platform.h"

namespace mq::platform {

namespace {

HWND FindByTitle(std::string_view title) {
  if (title.empty()) return nullptr;
  return FindWindowW(nullptr, Wide(title).c_str());
}

}  // namespace

uint32_t Win32SystemShutdown::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return GetLastError();
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  uint32_t e = 0;
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    e = GetLastError();
  } else {
    // AdjustTokenPrivileges also succeeds when the token lacks the privilege; the last error then says
    // ERROR_NOT_ALL_ASSIGNED, which counts as a failure here. On success it is ERROR_SUCCESS.
    SetLastError(ERROR_SUCCESS);
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    e = GetLastError();
  }
  CloseHandle(token);
  return e;
}

uint32_t Win32SystemShutdown::Reboot() {
  return ExitWindowsEx(EWX_REBOOT, 0) ? 0 : GetLastError();
}

bool Win32WindowLookup::Exists(std::string_view title) {
  return FindByTitle(title) != nullptr;
}

bool Win32WindowLookup::BringToFront(std::string_view title) {
  HWND window = FindByTitle(title);
  if (window == nullptr) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return true;
}

}  // namespace mq::platform
