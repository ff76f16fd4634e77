// The sample package's stand-in port monitor: a DLL that a print spooler can load as a port monitor (it
// exports InitializePrintMonitor2) but that offers no ports. The package ships it under the names of its
// serial and USB port monitors so that an installation can register them; a shipping package replaces it with
// the real monitors.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

namespace {

BOOL WINAPI EnumPorts(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned) {
  *needed = 0;
  *returned = 0;
  return TRUE;
}

BOOL WINAPI OpenPort(HANDLE, LPWSTR, PHANDLE) {
  SetLastError(ERROR_UNKNOWN_PORT);
  return FALSE;
}

BOOL WINAPI StartDocPort(HANDLE, LPWSTR, DWORD, DWORD, LPBYTE) {
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

BOOL WINAPI WritePort(HANDLE, LPBYTE, DWORD, LPDWORD written) {
  *written = 0;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

BOOL WINAPI ReadPort(HANDLE, LPBYTE, DWORD, LPDWORD read) {
  *read = 0;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

BOOL WINAPI EndDocPort(HANDLE) {
  return TRUE;
}
BOOL WINAPI ClosePort(HANDLE) {
  return TRUE;
}

BOOL WINAPI XcvOpenPort(HANDLE, LPCWSTR, ACCESS_MASK, PHANDLE) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

DWORD WINAPI XcvDataPort(HANDLE, LPCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD needed) {
  *needed = 0;
  return ERROR_NOT_SUPPORTED;
}

BOOL WINAPI XcvClosePort(HANDLE) {
  return TRUE;
}
VOID WINAPI Shutdown(HANDLE) {}

MONITOR2 monitor = [] {
  MONITOR2 m = {};
  // The whole record: MONITOR2_SIZE_WIN2K forgets the padding after cbSize on x64, and a spooler that copies
  // cbSize bytes would then cut pfnShutdown in half.
  m.cbSize = sizeof(MONITOR2);
  m.pfnEnumPorts = EnumPorts;
  m.pfnOpenPort = OpenPort;
  m.pfnStartDocPort = StartDocPort;
  m.pfnWritePort = WritePort;
  m.pfnReadPort = ReadPort;
  m.pfnEndDocPort = EndDocPort;
  m.pfnClosePort = ClosePort;
  m.pfnXcvOpenPort = XcvOpenPort;
  m.pfnXcvDataPort = XcvDataPort;
  m.pfnXcvClosePort = XcvClosePort;
  m.pfnShutdown = Shutdown;
  return m;
}();

}  // namespace

extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT, PHANDLE monitorHandle) {
  *monitorHandle = reinterpret_cast<HANDLE>(&monitor);
  return &monitor;
}
