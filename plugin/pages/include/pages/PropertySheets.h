// The printer's pages in the host's two property sheets: which pages, in which order, with which templates
// and tab titles; the answers to the host's five reasons; the port-name value of the device sheet; and the
// renaming of the driver's print-density option into texts the plug-in owns.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "platform/Registry.h"
#include "plugin/PageContext.h"
#include "pages/PageTexts.h"
#include "plugin/UiTexts.h"

namespace mq::plugin {

enum class PageKind {
  kMain,
  kWatermark,
  kOperation,
  k1DCode,
  k2DCode,
  kDocumentVersion,
  kUtility,
  kDownload,
  kFont,
  kDeviceVersion,
};

struct PageEntry {
  PageKind kind;
  int templateId;
  const char* section;  // language section of the tab title
  const char* titleKey;
  const char* titleDefault;
};

// The pages in the order they are added.
extern const std::array<PageEntry, 6> kDocumentPages;
extern const std::array<PageEntry, 4> kDevicePages;

// The dialog procedure type (DLGPROC).
using DialogProcFn = intptr_t(MQ_COM_CALL*)(host::Handle hwnd, uint32_t message, uintptr_t wParam,
                                            intptr_t lParam);

// PROPSHEETPAGEW up to its activation context (the _V3 layout): what the host copies for each page.
struct PropSheetPageW {
  uint32_t dwSize;
  uint32_t dwFlags;
  host::Handle hInstance;
  const void* pszTemplate;  // MAKEINTRESOURCE(template id)
  host::Handle hIcon;
  const char16_t* pszTitle;
  DialogProcFn pfnDlgProc;
  host::LParam lParam;
  void* pfnCallback;
  uint32_t* pcRefParent;
  const char16_t* pszHeaderTitle;
  const char16_t* pszHeaderSubTitle;
  host::Handle hActCtx;
};
inline constexpr uint32_t kPspUseTitle = 0x00000008;          // PSP_USETITLE
inline constexpr uint32_t kPspUseFusionContext = 0x00004000;  // PSP_USEFUSIONCONTEXT

// What the sheets need from the system they run on.
class SheetHost {
 public:
  virtual ~SheetHost() = default;
  // The plug-in's module handle (the templates' home).
  virtual host::Handle Module() = 0;
  // The dialog procedure of a page.
  virtual DialogProcFn DialogProcedure(PageKind kind) = 0;
  // The plug-in's activation context (common controls 6), or null when there is none.
  virtual host::Handle ActivationContext() = 0;
  // GetPrinterW level 2 (size query first, zero-filled buffer): the printer's port name, "" when the call
  // fails or the printer has none.
  virtual std::string PrinterPortName(host::Handle printer) = 0;
};

inline constexpr uint32_t kOemCuipDocProp = 1;  // OEMCUIP_DOCPROP, the mode of DrvUpdateUISetting

class PropertySheets : public SheetAssembly {
 public:
  PropertySheets(PageTexts& texts, platform::Registry& registry, SheetHost& host)
      : texts_(texts), registry_(registry), host_(host) {}

  com::HResult DocumentSheet(host::PropSheetUiInfo* info, host::LParam lParam,
                             DocumentPageContext& context) override;
  com::HResult DeviceSheet(host::PropSheetUiInfo* info, host::LParam lParam,
                           DevicePageContext& context) override;

  // Gives the driver's print-density option the plug-in's names: the item (not a public DEVMODE item, level
  // 2, first option text containing "Density", "浓度" or "濃度") is marked changed, named GPD/RC_DENSITY and
  // its options GPD/RC_DENSITY_INDEX + k; the host's helper is told when it was published. The texts live in
  // buffers of this object, so they may be longer than the host's. Returns the number of items renamed.
  int RenameDensityOption(const DocumentPageContext& context);

 private:
  // The answers common to both sheets for every reason but init; false for init.
  bool AnswerOtherReason(host::PropSheetUiInfo* info, host::LParam lParam);
  // Adds one page and returns the host's answer.
  intptr_t AddPage(host::Handle sheet, host::ComPropSheetFn callback, const PageEntry& page,
                   std::u16string& title, void* context);
  char16_t* Buffer(const void* owner, int slot, std::u16string_view text);

  PageTexts& texts_;
  platform::Registry& registry_;
  SheetHost& host_;
  std::array<std::u16string, kDocumentPages.size()> documentTitles_;
  std::array<std::u16string, kDevicePages.size()> deviceTitles_;
  std::u16string headerTitle_;
  // Texts handed to the host's option items, by item and slot (-1 the name, k the option k).
  std::map<std::pair<const void*, int>, std::u16string> optionTexts_;
};

}  // namespace mq::plugin
