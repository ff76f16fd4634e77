// Windows functions newer than the oldest system a deliverable supports (Windows 2000 for 32-bit binaries,
// Windows XP x64 / Server 2003 x64 for 64-bit ones), looked up at run time. Each helper does what the older
// system does when the function is missing, so that no binary imports a function its oldest system lacks.
// The import-table check of the test command holds every binary to that.
#pragma once

#include <windows.h>

namespace mq::platform::win32 {

// --- Activation contexts (kernel32, Windows XP) ---

// CreateActCtxW; nullptr when it fails or the system has no activation contexts (Windows 2000: the common
// controls then draw without visual styles).
HANDLE CreateActivationContext(const ACTCTXW& request);
// ReleaseActCtx; nothing for nullptr.
void ReleaseActivationContext(HANDLE context);

// Activates a context for the life of the object (ActivateActCtx / DeactivateActCtx); does nothing for
// nullptr or where the system has no activation contexts.
class ActivationScope {
 public:
  explicit ActivationScope(HANDLE context);
  ~ActivationScope();
  ActivationScope(const ActivationScope&) = delete;
  ActivationScope& operator=(const ActivationScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// --- Window subclassing (SetWindowSubclass of common controls 6, Windows XP) ---

using SubclassProcedure = LRESULT(CALLBACK*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);

// SetWindowSubclass when the common controls in use export it by name (version 6), else the window's
// procedure is replaced through SetWindowLongPtrW and chains to the old one; in that case a window takes one
// subclass only. procedure passes messages on with CallNextSubclassProcedure and removes itself with
// RemoveSubclass at WM_NCDESTROY at the latest.
bool SetSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data);
void RemoveSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id);
// DefSubclassProc, or the window's previous procedure.
LRESULT CallNextSubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- Modules ---

// The module (program or library) whose image holds address: GetModuleHandleExW (Windows XP) without
// changing its reference count, else the allocation base of the address's memory, which for an image is
// its module handle.
HMODULE ModuleOfAddress(const void* address);

// --- System information ---

// GetNativeSystemInfo (Windows XP); GetSystemInfo where it is missing, which on those systems describes the
// machine as well (they run no 32-bit programs under a 64-bit system).
void NativeSystemInfo(SYSTEM_INFO* info);

}  // namespace mq::platform::win32
