// Run-time look-ups of the Windows functions the oldest supported systems lack, with their fallbacks.
#include "platform/win32/NewerWindowsApi.h"

namespace mq::platform::win32 {
namespace {

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (handle == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

template <typename Function>
Function Kernel32(const char* name) {
  return Lookup<Function>(L"kernel32.dll", name);
}

using CreateActCtxFn = HANDLE(WINAPI*)(const ACTCTXW*);
using ReleaseActCtxFn = void(WINAPI*)(HANDLE);
using ActivateActCtxFn = BOOL(WINAPI*)(HANDLE, ULONG_PTR*);
using DeactivateActCtxFn = BOOL(WINAPI*)(DWORD, ULONG_PTR);
using SetWindowSubclassFn = BOOL(WINAPI*)(HWND, SubclassProcedure, UINT_PTR, DWORD_PTR);
using RemoveWindowSubclassFn = BOOL(WINAPI*)(HWND, SubclassProcedure, UINT_PTR);
using DefSubclassProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
using GetNativeSystemInfoFn = void(WINAPI*)(SYSTEM_INFO*);

// The subclassing functions of common controls 6, taken together from the version the calling thread uses
// (inside an activation context that names version 6, GetModuleHandleW gives that version). The first
// subclass decides for the process whether they are used or the window procedure is replaced, so that every
// subclass is passed on and removed by the same means that set it.
struct CommonControlsSubclassing {
  SetWindowSubclassFn set = nullptr;
  RemoveWindowSubclassFn remove = nullptr;
  DefSubclassProcFn next = nullptr;
};
CommonControlsSubclassing g_subclassing;
bool g_subclassingChosen = false;

bool UseCommonControlsSubclassing() {
  if (!g_subclassingChosen) {
    g_subclassingChosen = true;
    CommonControlsSubclassing found{Lookup<SetWindowSubclassFn>(L"comctl32.dll", "SetWindowSubclass"),
                                    Lookup<RemoveWindowSubclassFn>(L"comctl32.dll", "RemoveWindowSubclass"),
                                    Lookup<DefSubclassProcFn>(L"comctl32.dll", "DefSubclassProc")};
    if (found.set != nullptr && found.remove != nullptr && found.next != nullptr) g_subclassing = found;
  }
  return g_subclassing.set != nullptr;
}

// The subclass of a window whose procedure was replaced through SetWindowLongPtrW, kept in a window property.
constexpr const wchar_t* kSubclassProperty = L"MQ450.Subclass";
struct Subclass {
  WNDPROC previous;
  SubclassProcedure procedure;
  UINT_PTR id;
  DWORD_PTR data;
};

Subclass* SubclassOf(HWND window) {
  return static_cast<Subclass*>(GetPropW(window, kSubclassProperty));
}

LRESULT CALLBACK SubclassedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Subclass* subclass = SubclassOf(window);
  if (subclass == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return subclass->procedure(window, message, wParam, lParam, subclass->id, subclass->data);
}

}  // namespace

HANDLE CreateActivationContext(const ACTCTXW& request) {
  auto create = Kernel32<CreateActCtxFn>("CreateActCtxW");
  if (create == nullptr) return nullptr;
  HANDLE context = create(&request);
  return context == INVALID_HANDLE_VALUE ? nullptr : context;
}

void ReleaseActivationContext(HANDLE context) {
  auto release = Kernel32<ReleaseActCtxFn>("ReleaseActCtx");
  if (context != nullptr && release != nullptr) release(context);
}

ActivationScope::ActivationScope(HANDLE context) {
  auto activate = Kernel32<ActivateActCtxFn>("ActivateActCtx");
  active_ = context != nullptr && activate != nullptr && activate(context, &cookie_);
}

ActivationScope::~ActivationScope() {
  auto deactivate = Kernel32<DeactivateActCtxFn>("DeactivateActCtx");
  if (active_ && deactivate != nullptr) deactivate(0, cookie_);
}

bool SetSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data) {
  if (UseCommonControlsSubclassing()) return g_subclassing.set(window, procedure, id, data) != FALSE;
  if (SubclassOf(window) != nullptr) return false;
  auto* subclass = new Subclass{nullptr, procedure, id, data};
  if (!SetPropW(window, kSubclassProperty, subclass)) {
    delete subclass;
    return false;
  }
  subclass->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassedWindowProc)));
  if (subclass->previous == nullptr) {
    RemovePropW(window, kSubclassProperty);
    delete subclass;
    return false;
  }
  return true;
}

void RemoveSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id) {
  if (UseCommonControlsSubclassing()) {
    g_subclassing.remove(window, procedure, id);
    return;
  }
  Subclass* subclass = SubclassOf(window);
  if (subclass == nullptr || subclass->procedure != procedure || subclass->id != id) return;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass->previous));
  RemovePropW(window, kSubclassProperty);
  delete subclass;
}

LRESULT CallNextSubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (UseCommonControlsSubclassing()) return g_subclassing.next(window, message, wParam, lParam);
  if (Subclass* subclass = SubclassOf(window)) {
    return CallWindowProcW(subclass->previous, window, message, wParam, lParam);
  }
  // Removed just now: the window's procedure is the previous one again.
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  return CallWindowProcW(current, window, message, wParam, lParam);
}

HMODULE ModuleOfAddress(const void* address) {
  using GetModuleHandleExFn = BOOL(WINAPI*)(DWORD, LPCWSTR, HMODULE*);
  HMODULE module = nullptr;
  if (auto get = Kernel32<GetModuleHandleExFn>("GetModuleHandleExW")) {
    constexpr DWORD kFromAddress = 0x4, kUnchangedRefcount = 0x2;
    if (get(kFromAddress | kUnchangedRefcount, static_cast<LPCWSTR>(address), &module)) return module;
    return nullptr;
  }
  MEMORY_BASIC_INFORMATION memory{};
  if (VirtualQuery(address, &memory, sizeof memory) == 0) return nullptr;
  return static_cast<HMODULE>(memory.AllocationBase);
}

void NativeSystemInfo(SYSTEM_INFO* info) {
  if (auto native = Kernel32<GetNativeSystemInfoFn>("GetNativeSystemInfo")) {
    native(info);
  } else {
    GetSystemInfo(info);
  }
}

}  // namespace mq::platform::win32
