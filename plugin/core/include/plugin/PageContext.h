// The record each property page receives as its lParam: the way to the host's settings record, the printer,
// the driver's option items, the host's sheet callback and its helper interface. One record per sheet kind
// lives in the plug-in object and outlives the sheets; each init reason overwrites it.
#pragma once

#include <cstdint>

#include "plugin/HostTypes.h"

namespace mq::plugin {

// The value of a handle slot that holds no handle yet.
inline host::Handle const kNoHandle = reinterpret_cast<host::Handle>(~uintptr_t{0});

struct DocumentPageContext {
  host::Handle hComPropSheet = kNoHandle;
  host::Handle pageHandle = kNoHandle;          // value of the last page addition
  host::OemUiPsParam* pOEMUIPSParam = nullptr;  // carries pOEMDM, the record being edited
  host::OemCuipParam* pOEMCUIPParam = nullptr;  // printer handle and name, driver option items
  host::ComPropSheetFn pfnComPropSheet = nullptr;
  host::IPrintOemDriverUI* driverUI = nullptr;  // null when the host's helper was not published

  // The settings record being edited, or null before the init reason.
  uint8_t* Settings() const {
    return pOEMUIPSParam == nullptr ? nullptr : static_cast<uint8_t*>(pOEMUIPSParam->pOEMDM);
  }
};

struct DevicePageContext {
  host::Handle hComPropSheet = kNoHandle;
  host::Handle pageHandle = kNoHandle;
  host::ComPropSheetFn pfnComPropSheet = nullptr;
  host::OemCuipParam* pOEMCUIPParam = nullptr;
  host::IPrintOemDriverUI* driverUI = nullptr;
};

// A page's answer to the host (CPSFUNC_SET_RESULT, CPSUI_OK on apply): the host knows the plug-in's pages by
// the value of the last page addition, not by its sheet handle. Before the init reason has given a callback
// nothing is reported.
template <typename PageContext>
void ReportPageResult(const PageContext* context, host::LParam result) {
  if (context != nullptr && context->pfnComPropSheet != nullptr)
    context->pfnComPropSheet(context->hComPropSheet, host::kCpsFuncSetResult,
                             reinterpret_cast<host::LParam>(context->pageHandle), result);
}

// Builds the printer's pages into the host's sheets. The plug-in object has checked pPSUIInfo (non-null,
// Version 0x0100) and filled the context's helper interface before calling.
class SheetAssembly {
 public:
  virtual ~SheetAssembly() = default;
  virtual com::HResult DocumentSheet(host::PropSheetUiInfo* info, host::LParam lParam,
                                     DocumentPageContext& context) = 0;
  virtual com::HResult DeviceSheet(host::PropSheetUiInfo* info, host::LParam lParam,
                                   DevicePageContext& context) = 0;
};

}  // namespace mq::plugin
