// The library's entry points: process attach and detach, and the two COM exports. This is the composition
// root of the plug-in: it owns the Win32 platform and the library-wide module state.
#include <windows.h>

#include "platform/win32/Win32Platform.h"
#include "plugin/PluginObject.h"
#include "PluginWin32.h"
#include "PageProcedures.h"

namespace {

mq::platform::Win32Platform& Platform() {
  static mq::platform::Win32Platform platform;
  return platform;
}

mq::plugin::PluginModule& Module() {
  static mq::plugin::PluginModule module(Platform().Services(), nullptr);
  return module;
}

HINSTANCE g_moduleHandle = nullptr;

}  // namespace

namespace mq::plugin::win32 {

HINSTANCE ModuleHandle() {
  return g_moduleHandle;
}
PluginModule& LibraryModule() {
  return Module();
}

}  // namespace mq::plugin::win32

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_moduleHandle = instance;
      DisableThreadLibraryCalls(instance);
      Module().SetSheets(mq::plugin::win32::PageSheets(Module(), instance));
      Module().OnLoad();
      SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
      break;
    case DLL_PROCESS_DETACH:
      mq::plugin::win32::ReleaseActivationContext();
      break;
    default:
      break;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* ppv) {
  return Module().GetClassObject(reinterpret_cast<const mq::com::Guid&>(clsid),
                                 reinterpret_cast<const mq::com::Guid&>(iid), ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return Module().CanUnloadNow();
}
