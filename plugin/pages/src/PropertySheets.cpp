// The two sheets: the reasons, the page table, the port-name value and the print-density renaming.
#include "pages/PropertySheets.h"

#include "MQ450UIResources.h"
#include "platform/RegistryText.h"
#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::plugin {

const std::array<PageEntry, 6> kDocumentPages = {{
    {PageKind::kMain, IDD_MAIN_PAGE, "LAYOUT", "RC_LAYOUTFORM", "Main"},
    {PageKind::kWatermark, IDD_WATERMARK_PAGE, "WATERMARK", "RC_WATERMARKFORM", "Water Mark"},
    {PageKind::kOperation, IDD_OPERATION_PAGE, "OPERATION", "RC_OPERATIONFORM", "Operation"},
    {PageKind::k1DCode, IDD_1DCODE_PAGE, "1DCODE", "RC_1DCODEFORM", "1D Code"},
    {PageKind::k2DCode, IDD_2DCODE_PAGE, "2DCODE", "RC_2DCODEFORM", "2D Code"},
    {PageKind::kDocumentVersion, IDD_VERSION_PAGE, "VERSION", "RC_VERSIONFORM", "Version"},
}};

const std::array<PageEntry, 4> kDevicePages = {{
    {PageKind::kUtility, IDD_UTILITY_PAGE, "UTILITY", "RC_UTILITYFORM", "Utility"},
    {PageKind::kDownload, IDD_DOWNLOAD_PAGE, "DOWNLOAD", "RC_DOWNLOADFORM", "Download"},
    {PageKind::kFont, IDD_FONT_PAGE, "FONT", "RC_FONTFORM", "Font"},
    {PageKind::kDeviceVersion, IDD_VERSION_PAGE, "VERSION", "RC_VERSIONFORM", "Version"},
}};

namespace {

// Host option texts below this value are string resource ids, not pointers.
constexpr uintptr_t kFirstTextPointer = 0x10000;

bool IsDensityText(const char16_t* text) {
  if (reinterpret_cast<uintptr_t>(text) < kFirstTextPointer) return false;
  const std::u16string_view view(text);
  for (std::u16string_view word :
       {std::u16string_view(u"Density"), std::u16string_view(u"浓度"), std::u16string_view(u"濃度")})
    if (view.find(word) != std::u16string_view::npos) return true;
  return false;
}

}  // namespace

bool PropertySheets::AnswerOtherReason(host::PropSheetUiInfo* info, host::LParam lParam) {
  switch (info->Reason) {
    case host::kReasonInit:
      return false;
    case host::kReasonGetInfoHeader:
      if (auto* header = reinterpret_cast<host::PropSheetUiInfoHeader*>(lParam)) {
        headerTitle_ = u"OEM UI Page";
        header->pTitle = headerTitle_.data();
      }
      info->Result = 1;
      return true;
    case host::kReasonDestroy:
      info->Result = 1;
      return true;
    case host::kReasonSetResult: {
      const auto* result = reinterpret_cast<const host::SetResultInfo*>(lParam);
      info->Result = result != nullptr ? static_cast<uintptr_t>(result->Result) : 0;
      return true;
    }
    default:  // the icon reason, and reasons this plug-in does not know
      info->Result = 0;
      return true;
  }
}

intptr_t PropertySheets::AddPage(host::Handle sheet, host::ComPropSheetFn callback, const PageEntry& page,
                                 std::u16string& title, void* context) {
  title = text::Utf8ToUtf16(texts_.Read(page.section, page.titleKey, page.titleDefault, kCapShort));
  PropSheetPageW description{};
  description.dwSize = sizeof(PropSheetPageW);
  description.dwFlags = kPspUseTitle;
  description.hInstance = host_.Module();
  description.pszTemplate = reinterpret_cast<const void*>(static_cast<uintptr_t>(page.templateId));
  description.pszTitle = title.c_str();
  description.pfnDlgProc = host_.DialogProcedure(page.kind);
  description.lParam = reinterpret_cast<host::LParam>(context);
  if (host::Handle activation = host_.ActivationContext()) {
    description.dwFlags |= kPspUseFusionContext;
    description.hActCtx = activation;
  }
  if (callback == nullptr) return 0;
  return callback(sheet, host::kCpsFuncAddPropSheetPageW, reinterpret_cast<host::LParam>(&description), 0);
}

com::HResult PropertySheets::DocumentSheet(host::PropSheetUiInfo* info, host::LParam lParam,
                                           DocumentPageContext& context) {
  if (AnswerOtherReason(info, lParam)) return com::kOk;
  texts_.ResolveCurrentLanguage();
  context.hComPropSheet = info->hComPropSheet;
  context.pfnComPropSheet = info->pfnComPropSheet;
  context.pOEMUIPSParam = reinterpret_cast<host::OemUiPsParam*>(info->lParamInit);
  RenameDensityOption(context);
  for (size_t i = 0; i < kDocumentPages.size(); ++i) {
    const intptr_t added =
        AddPage(info->hComPropSheet, info->pfnComPropSheet, kDocumentPages[i], documentTitles_[i], &context);
    context.pageHandle = reinterpret_cast<host::Handle>(added);
  }
  info->Result = reinterpret_cast<uintptr_t>(context.pageHandle);
  return com::kOk;
}

com::HResult PropertySheets::DeviceSheet(host::PropSheetUiInfo* info, host::LParam lParam,
                                         DevicePageContext& context) {
  if (AnswerOtherReason(info, lParam)) return com::kOk;
  const host::Handle printer = context.pOEMCUIPParam != nullptr ? context.pOEMCUIPParam->hPrinter : nullptr;
  const std::string portName = host_.PrinterPortName(printer);
  platform::RegKey key = 0;
  if (registry_.OpenKey(platform::kHkeyCurrentUser, kLanguageKey, platform::kKeyAllAccess, &key) ==
      err::kSuccess) {
    texts_.ResolveCurrentLanguage();
    platform::WriteRegString(registry_, key, portName, kLanguageValue);
    registry_.CloseKey(key);
  } else {
    texts_.ResolveCurrentLanguage();  // no key: the language in force is English
  }
  context.hComPropSheet = info->hComPropSheet;
  context.pfnComPropSheet = info->pfnComPropSheet;
  for (size_t i = 0; i < kDevicePages.size(); ++i) {
    const intptr_t added =
        AddPage(info->hComPropSheet, info->pfnComPropSheet, kDevicePages[i], deviceTitles_[i], &context);
    context.pageHandle = reinterpret_cast<host::Handle>(added);
  }
  info->Result = reinterpret_cast<uintptr_t>(context.pageHandle);
  return com::kOk;
}

char16_t* PropertySheets::Buffer(const void* owner, int slot, std::u16string_view text) {
  std::u16string& buffer = optionTexts_[{owner, slot}];
  buffer.assign(text);
  return buffer.data();
}

int PropertySheets::RenameDensityOption(const DocumentPageContext& context) {
  host::OemCuipParam* param = context.pOEMCUIPParam;
  if (param == nullptr || param->pDrvOptItems == nullptr) return 0;
  int renamed = 0;
  for (uint32_t i = 0; i < param->cDrvOptItems; ++i) {
    host::OptItem& item = param->pDrvOptItems[i];
    const host::OptType* type = item.pOptType;
    if (item.DMPubID != 0 || item.Level != 2 || type == nullptr || type->Count == 0 ||
        type->pOptParam == nullptr || !IsDensityText(type->pOptParam[0].pData))
      continue;
    const std::u16string name =
        text::Utf8ToUtf16(texts_.Read("GPD", "RC_DENSITY", "Print Density", kCapLabel));
    const std::u16string index =
        text::Utf8ToUtf16(texts_.Read("GPD", "RC_DENSITY_INDEX", "Density", kCapLabel));
    item.Flags |= host::kOptifChanged;
    item.pName = Buffer(&item, -1, name);
    for (uint16_t k = 0; k < type->Count; ++k)
      type->pOptParam[k].pData = Buffer(&item, k, index + text::Utf8ToUtf16(std::to_string(k)));
    if (context.driverUI != nullptr)
      context.driverUI->DrvUpdateUISetting(param->poemuiobj, &item, 0, kOemCuipDocProp);
    ++renamed;
  }
  return renamed;
}

}  // namespace mq::plugin
