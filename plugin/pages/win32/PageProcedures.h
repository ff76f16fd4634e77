// The pages' Win32 side: a dialog procedure per page that binds the page's portable logic to its dialog on
// WM_INITDIALOG (the PROPSHEETPAGEW lParam is the sheet's PageContext), the system services the sheet
// assembly needs, and the assembly the plug-in module uses. Windows builds only.
#pragma once

#include <windows.h>

#include "pages/PropertySheets.h"
#include "plugin/PluginModule.h"

namespace mq::plugin::win32 {

// The sheet assembly of the loaded library, over its module handle, language texts and the Win32 registry.
// module must outlive it (both are process-wide).
SheetAssembly* PageSheets(PluginModule& module, HINSTANCE instance);

// The window of a page while it is open (null otherwise; the last one opened when two sheets show the same
// kind), for a language change to repaint the pages.
HWND OpenPageWindow(PageKind kind);

// The library's sheet assembly once PageSheets has made it (the Main page renames the density option again
// whenever it paints).
PropertySheets* LibrarySheets();

}  // namespace mq::plugin::win32
