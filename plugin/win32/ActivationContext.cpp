// The pages' activation context: the library's own manifest asks for version 6 of the common
// controls, which the host process may not have activated.
#include "PluginWin32.h"

namespace mq::plugin::win32 {
namespace {

HANDLE g_context = INVALID_HANDLE_VALUE;
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
    g_context = CreateActCtxW(&actctx);
  }
  return g_context == INVALID_HANDLE_VALUE ? nullptr : g_context;
}

void ReleaseActivationContext() {
  if (g_context != INVALID_HANDLE_VALUE) ReleaseActCtx(g_context);
  g_context = INVALID_HANDLE_VALUE;
}

}  // namespace mq::plugin::win32
