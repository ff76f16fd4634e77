// Compile-time check that the portable host declarations have the system headers' layout.
#include <windows.h>
#include <compstui.h>

#include <cstddef>

#include "plugin/HostTypes.h"

namespace {

using namespace mq::host;

#define MQ_SAME_LAYOUT(Ours, Theirs, field) \
  static_assert(offsetof(Ours, field) == offsetof(Theirs, field), #Ours "::" #field " offset")

static_assert(sizeof(OptParam) == sizeof(OPTPARAM));
MQ_SAME_LAYOUT(OptParam, OPTPARAM, pData);
MQ_SAME_LAYOUT(OptParam, OPTPARAM, lParam);
static_assert(sizeof(OptType) == sizeof(OPTTYPE));
MQ_SAME_LAYOUT(OptType, OPTTYPE, Count);
MQ_SAME_LAYOUT(OptType, OPTTYPE, pOptParam);
MQ_SAME_LAYOUT(OptType, OPTTYPE, Style);
static_assert(sizeof(OptItem) == sizeof(OPTITEM));
MQ_SAME_LAYOUT(OptItem, OPTITEM, Level);
MQ_SAME_LAYOUT(OptItem, OPTITEM, Flags);
MQ_SAME_LAYOUT(OptItem, OPTITEM, pName);
MQ_SAME_LAYOUT(OptItem, OPTITEM, Sel);
MQ_SAME_LAYOUT(OptItem, OPTITEM, pOptType);
MQ_SAME_LAYOUT(OptItem, OPTITEM, DMPubID);
MQ_SAME_LAYOUT(OptItem, OPTITEM, pOIExt);
static_assert(sizeof(PropSheetUiInfo) == sizeof(PROPSHEETUI_INFO));
MQ_SAME_LAYOUT(PropSheetUiInfo, PROPSHEETUI_INFO, Reason);
MQ_SAME_LAYOUT(PropSheetUiInfo, PROPSHEETUI_INFO, pfnComPropSheet);
MQ_SAME_LAYOUT(PropSheetUiInfo, PROPSHEETUI_INFO, lParamInit);
MQ_SAME_LAYOUT(PropSheetUiInfo, PROPSHEETUI_INFO, Result);
static_assert(sizeof(PropSheetUiInfoHeader) == sizeof(PROPSHEETUI_INFO_HEADER));
MQ_SAME_LAYOUT(PropSheetUiInfoHeader, PROPSHEETUI_INFO_HEADER, pTitle);
static_assert(sizeof(SetResultInfo) == sizeof(SETRESULT_INFO));
MQ_SAME_LAYOUT(SetResultInfo, SETRESULT_INFO, Result);
static_assert(kOptifChanged == OPTIF_CHANGED);
static_assert(kCpsFuncAddPropSheetPageW == CPSFUNC_ADD_PROPSHEETPAGEW);
static_assert(kCpsFuncSetResult == CPSFUNC_SET_RESULT);
static_assert(kCpsuiOk == CPSUI_OK);
static_assert(kPropSheetUiInfoVersion == PROPSHEETUI_INFO_VERSION);
static_assert(sizeof(mq::com::Guid) == sizeof(GUID));

}  // namespace
