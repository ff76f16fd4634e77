// The pages' activation context: the library's own manifest asks for version 6 of the common
// controls, which the host process may not have activated. Systems without activation contexts (Windows
// 2000) show the pages without visual styles.
#include "PluginWin32.h"
#include "platform/win32/NewerWindowsApi.h"

namespace mq::plugin::win32 {
namespace {

HANDLE g_context = nullptr;
bool g_tried = false;

}  // namespace

HANDLE ActivationContext() {
  if (!g_tried) {
    g_tried = true;
    ACTCTXW actctx{};
    actctx.cbSize = sizeof actctx;
    actctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actctx.hModule = ModuleHandle();
    actctx.lpResourceName = MAKEINTRESOURCEW(IDR_MANIFEST);
    g_context = platform::win32::CreateActivationContext(actctx);
  }
  return g_context;
}

void ReleaseActivationContext() {
  platform::win32::ReleaseActivationContext(g_context);
  g_context = nullptr;
}

}  // namespace mq::plugin::win32
