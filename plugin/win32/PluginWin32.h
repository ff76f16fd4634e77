// What the plug-in's Win32 side shares between its sources: the module handle, the library-wide module state
// and the activation context of the pages.
#pragma once

#include <windows.h>

#include "MQ450UIResources.h"
#include "plugin/PluginModule.h"

namespace mq::plugin::win32 {

HINSTANCE ModuleHandle();
PluginModule& LibraryModule();

// The activation context made from the library's manifest (IDR_MANIFEST) for the pages, created once per
// process; null when it could not be made.
HANDLE ActivationContext();
void ReleaseActivationContext();

}  // namespace mq::plugin::win32
