// Dialog procedures of the property pages and the Win32 services of the sheet assembly.
#include "PageProcedures.h"

#include <commctrl.h>
#include <winspool.h>

#include "platform/win32/WinspoolNames.h"

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#include "pages/Barcode1DPage.h"
#include "pages/Barcode2DPage.h"
#include "pages/DownloadPage.h"
#include "pages/InfoPages.h"
#include "pages/ControlFontEditor.h"
#include "pages/MainPage.h"
#include "pages/UtilityPage.h"
#include "pages/WatermarkPage.h"
#include "pages/OperationPage.h"
#include "pages/RecordBindings.h"
#include "PluginWin32.h"
#include "platform/Text.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32FileDialogs.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32SetupRoles.h"

namespace mq::plugin::win32 {

// The page description handed to the host must have the system's PROPSHEETPAGEW_V3 layout.
#define MQ_PSP_SAME(field)                                                              \
  static_assert(offsetof(PropSheetPageW, field) == offsetof(PROPSHEETPAGEW_V3, field)); \
  static_assert(sizeof(PropSheetPageW::field) == sizeof(PROPSHEETPAGEW_V3::field))
static_assert(sizeof(PropSheetPageW) == sizeof(PROPSHEETPAGEW_V3));
MQ_PSP_SAME(dwFlags);
MQ_PSP_SAME(hInstance);
MQ_PSP_SAME(pszTemplate);
MQ_PSP_SAME(pszTitle);
MQ_PSP_SAME(pfnDlgProc);
MQ_PSP_SAME(lParam);
MQ_PSP_SAME(pfnCallback);
MQ_PSP_SAME(hActCtx);
static_assert(kPspUseTitle == PSP_USETITLE && kPspUseFusionContext == PSP_USEFUSIONCONTEXT);

namespace {

using platform::ui::ControlEvent;
using platform::ui::DialogControls;
using platform::ui::DialogLogic;
using platform::ui::DialogSession;
using platform::ui::SheetEvent;

struct State {
  PluginModule* module = nullptr;
  HINSTANCE instance = nullptr;
  std::unique_ptr<UiPageTexts> texts;
  HWND windows[static_cast<int>(PageKind::kDeviceVersion) + 1] = {};  // by PageKind, while the page is open
  PropertySheets* sheets = nullptr;
  platform::Win32Spooler spooler;  // the pages' raw jobs
  WatermarkOffSignal watermarkOff;
  WatermarkShared watermark;
  platform::ui::Win32Fonts fonts;
};

State& Shared() {
  static State state;
  return state;
}

// A page whose own logic has not been built yet: its template's controls as they are, and the apply answer.
class PlaceholderPage : public DialogLogic {
 public:
  void OnInit(DialogControls&) override {}
  intptr_t OnSheetEvent(DialogControls& controls, SheetEvent event) override {
    if (event != SheetEvent::kApply) return 0;
    controls.SheetSetResult(kCpsuiOk);
    controls.SheetUnchanged();
    return 1;
  }
};

// A page's logic with what it is built over: the derived class owns the logic as page_ (after the members it
// is built from) and this passes the window's events on to it.
template <typename Self>
class ForwardingPage : public DialogLogic {
 public:
  void OnInit(DialogControls& c) override { Logic().OnInit(c); }
  void OnPaint(DialogControls& c) override { Logic().OnPaint(c); }
  bool OnCommand(DialogControls& c, int id, ControlEvent e) override { return Logic().OnCommand(c, id, e); }
  intptr_t OnSheetEvent(DialogControls& c, SheetEvent e) override { return Logic().OnSheetEvent(c, e); }

 private:
  auto& Logic() { return static_cast<Self*>(this)->page_; }
};

// The settings record may be missing only if the host breaks its own order; the page then edits a scratch
// copy.
class PageRecord {
 public:
  explicit PageRecord(uint8_t* record)
      : record_(record != nullptr ? record : scratch_.data()), store_(record_) {}
  OperationSlotStore& Store() { return store_; }
  uint8_t* Record() { return record_; }

 private:
  std::vector<uint8_t> scratch_ = std::vector<uint8_t>(kPrivateSettingsSize, 0);
  uint8_t* record_;
  RecordSlotStore store_;
};

class BoundOperationPage : public ForwardingPage<BoundOperationPage> {
 public:
  BoundOperationPage(uint8_t* record, PageTexts& texts) : record_(record), page_(record_.Store(), texts) {}

 private:
  friend ForwardingPage<BoundOperationPage>;
  PageRecord record_;
  OperationPage page_;
};

// The printer handle the host gave the sheet.
template <typename PageContext>
platform::PrinterHandle SheetPrinter(const PageContext* context) {
  if (context == nullptr || context->pOEMCUIPParam == nullptr) return 0;
  return reinterpret_cast<platform::PrinterHandle>(context->pOEMCUIPParam->hPrinter);
}

// The Download page on the sheet's printer, with the Open dialog owned by the page.
class BoundDownloadPage : public ForwardingPage<BoundDownloadPage> {
 public:
  BoundDownloadPage(HWND window, const DevicePageContext* context, PageTexts& texts,
                    platform::FileSystem& files, platform::Spooler& spooler)
      : dialogs_(window), page_(texts, {files, spooler, SheetPrinter(context), dialogs_}) {}

 private:
  friend ForwardingPage<BoundDownloadPage>;
  platform::ui::Win32FileDialogs dialogs_;
  DownloadPage page_;
};

// The Water Mark page on the host's record, with the Open dialog owned by the page and the system's fonts;
// the picture file is named after the sheet's printer.
class BoundWatermarkPage : public ForwardingPage<BoundWatermarkPage> {
 public:
  BoundWatermarkPage(HWND window, DocumentPageContext* context, PageTexts& texts, PluginModule& module,
                     State& state)
      : record_(context != nullptr ? context->Settings() : nullptr),
        dialogs_(window),
        page_(record_.Record(), PrinterName(context), texts,
              WatermarkServices{module.Services().files, module.Services().system, dialogs_, state.fonts,
                                state.fonts, state.watermarkOff, state.watermark}) {}

 private:
  friend ForwardingPage<BoundWatermarkPage>;
  static std::string PrinterName(const DocumentPageContext* context) {
    if (context == nullptr || context->pOEMCUIPParam == nullptr ||
        context->pOEMCUIPParam->pPrinterName == nullptr)
      return {};
    return text::Utf16ToUtf8(context->pOEMCUIPParam->pPrinterName);
  }
  PageRecord record_;
  platform::ui::Win32FileDialogs dialogs_;
  WatermarkPage page_;
};

// A barcode page of the document sheet: the host's record, the sheet's printer for the test print and the
// system's ANSI code page.
template <typename Page>
class BoundBarcodePage : public ForwardingPage<BoundBarcodePage<Page>> {
 public:
  BoundBarcodePage(const DocumentPageContext* context, PageTexts& texts, platform::Spooler& spooler,
                   platform::SystemInfo& system)
      : record_(context != nullptr ? context->Settings() : nullptr),
        page_(record_.Record(), texts, {spooler, SheetPrinter(context), system}) {}

 private:
  friend ForwardingPage<BoundBarcodePage<Page>>;
  PageRecord record_;
  Page page_;
};

// Sets a tab's text (TCM_SETITEMW with TCIF_TEXT).
void SetTabTitle(HWND tabs, int index, const std::string& title) {
  std::wstring text = reinterpret_cast<const wchar_t*>(text::Utf8ToUtf16(title).c_str());
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// Gives the last titles.size() tabs of a sheet the titles, in order. The plug-in's pages are the last ones
// of both sheets: the host puts its own two in front of the document pages, and a host that adds none leaves
// the plug-in's pages where counting from the end finds them too.
void RetitleLastTabs(HWND sheet, const std::vector<std::string>& titles) {
  HWND tabs = FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr);
  if (tabs == nullptr) return;
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  const int first = count - static_cast<int>(titles.size());
  for (size_t i = 0; i < titles.size(); ++i)
    if (first + static_cast<int>(i) >= 0) SetTabTitle(tabs, first + static_cast<int>(i), titles[i]);
  InvalidateRect(tabs, nullptr, TRUE);
}

// The Main page's reach into the open property windows.
class Win32SheetRetitler : public SheetRetitler {
 public:
  explicit Win32SheetRetitler(HWND page) : page_(page) {}
  void RetitleOwnSheet(const std::vector<std::string>& titles) override {
    RetitleLastTabs(GetParent(page_), titles);
  }
  void RetitleOtherSheets(std::string_view printerName, const std::vector<std::string>& titles) override {
    Walk walk{GetParent(page_), reinterpret_cast<const wchar_t*>(text::Utf8ToUtf16(printerName).c_str()),
              &titles};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&walk));
    for (PageKind kind : {PageKind::kUtility, PageKind::kDownload, PageKind::kFont,
                          PageKind::kDocumentVersion, PageKind::kDeviceVersion}) {
      if (HWND window = OpenPageWindow(kind)) InvalidateRect(window, nullptr, TRUE);
    }
  }

 private:
  struct Walk {
    HWND ownSheet;
    std::wstring printer;
    const std::vector<std::string>* titles;
  };
  // Only windows of this process: the tab text travels as a pointer into this process's memory, which the
  // tab control of another process would read as an address of its own.
  static BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
    auto* walk = reinterpret_cast<Walk*>(lParam);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (window == walk->ownSheet || wcscmp(name, L"#32770") != 0 || walk->printer.empty() ||
        process != GetCurrentProcessId())
      return TRUE;
    const int length = GetWindowTextLengthW(window);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, title.data(), length + 1);
    if (title.find(walk->printer) != std::wstring::npos) RetitleLastTabs(window, *walk->titles);
    return TRUE;
  }
  HWND page_;
};

// The Main page over the library's language state, the system's shell and the open sheets.
class BoundMainPage : public ForwardingPage<BoundMainPage> {
 public:
  BoundMainPage(HWND window, DocumentPageContext* context, PageTexts& texts, PluginModule& module,
                WatermarkOffSignal& watermarkOff)
      : context_(context != nullptr ? *context : empty_),
        record_(context_.Settings()),
        retitler_(window),
        page_(record_.Record(), context_, texts,
              MainPageServices{module.Texts(), module.Services().shell, module.Services().system, retitler_,
                               watermarkOff, [this] {
                                 if (PropertySheets* sheets = LibrarySheets())
                                   sheets->RenameDensityOption(context_);
                               }}) {}

 private:
  friend ForwardingPage<BoundMainPage>;
  DocumentPageContext empty_;
  const DocumentPageContext& context_;
  PageRecord record_;
  Win32SheetRetitler retitler_;
  MainPage page_;
};

// The Utility page on the sheet's printer; its Control Font button opens the table editor over the installed
// MQ450CONTROL.dat.
class BoundUtilityPage : public ForwardingPage<BoundUtilityPage> {
 public:
  BoundUtilityPage(const DevicePageContext* context, PageTexts& texts, PluginModule& module,
                   platform::Spooler& spooler)
      : page_(texts, {spooler, SheetPrinter(context), [&texts, &module](DialogControls& controls) {
                        platform::PlatformServices& services = module.Services();
                        ControlFontEditor editor(texts, services.profile, services.files,
                                                 ControlFontPath(services.system.WindowsDirectory()));
                        controls.RunModal(kControlFontTableTemplate, editor);
                      }}) {}

 private:
  friend ForwardingPage<BoundUtilityPage>;
  UtilityPage page_;
};

// Any page, with its window recorded under its kind while it is open (a language change repaints open pages).
class TrackedPage : public DialogLogic {
 public:
  TrackedPage(PageKind kind, HWND window, std::unique_ptr<DialogLogic> page)
      : slot_(Shared().windows[static_cast<int>(kind)]), window_(window), page_(std::move(page)) {
    slot_ = window_;
  }
  ~TrackedPage() override {
    if (slot_ == window_) slot_ = nullptr;
  }
  void OnInit(DialogControls& c) override { page_->OnInit(c); }
  void OnPaint(DialogControls& c) override { page_->OnPaint(c); }
  bool OnCommand(DialogControls& c, int id, ControlEvent e) override { return page_->OnCommand(c, id, e); }
  intptr_t OnSheetEvent(DialogControls& c, SheetEvent e) override { return page_->OnSheetEvent(c, e); }
  std::vector<int> FilteredEdits() const override { return page_->FilteredEdits(); }
  bool AcceptChar(int id, char16_t ch, bool control) override { return page_->AcceptChar(id, ch, control); }

 private:
  HWND& slot_;
  HWND window_;
  std::unique_ptr<DialogLogic> page_;
};

template <PageKind kKind>
INT_PTR CALLBACK PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return DialogSession::Dispatch(dialog, message, wParam, lParam);
  State& state = Shared();
  const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
  void* context = page != nullptr ? reinterpret_cast<void*>(page->lParam) : nullptr;
  constexpr bool kDevice = kKind >= PageKind::kUtility;
  std::unique_ptr<DialogLogic> logic;
  if constexpr (kKind == PageKind::kMain) {
    logic = std::make_unique<BoundMainPage>(dialog, static_cast<DocumentPageContext*>(context), *state.texts,
                                            *state.module, state.watermarkOff);
  } else if constexpr (kKind == PageKind::kWatermark) {
    logic = std::make_unique<BoundWatermarkPage>(dialog, static_cast<DocumentPageContext*>(context),
                                                 *state.texts, *state.module, state);
  } else if constexpr (kKind == PageKind::kOperation) {
    auto* document = static_cast<DocumentPageContext*>(context);
    logic = std::make_unique<BoundOperationPage>(document != nullptr ? document->Settings() : nullptr,
                                                 *state.texts);
  } else if constexpr (kKind == PageKind::k1DCode || kKind == PageKind::k2DCode) {
    using Page = std::conditional_t<kKind == PageKind::k1DCode, Barcode1DPage, Barcode2DPage>;
    logic = std::make_unique<BoundBarcodePage<Page>>(static_cast<const DocumentPageContext*>(context),
                                                     *state.texts, state.spooler,
                                                     state.module->Services().system);
  } else if constexpr (kKind == PageKind::kDocumentVersion || kKind == PageKind::kDeviceVersion) {
    logic = std::make_unique<VersionPage>(*state.texts);
  } else if constexpr (kKind == PageKind::kUtility) {
    logic = std::make_unique<BoundUtilityPage>(static_cast<const DevicePageContext*>(context), *state.texts,
                                               *state.module, state.spooler);
  } else if constexpr (kKind == PageKind::kDownload) {
    logic = std::make_unique<BoundDownloadPage>(dialog, static_cast<const DevicePageContext*>(context),
                                                *state.texts, state.module->Services().files, state.spooler);
  } else if constexpr (kKind == PageKind::kFont) {
    logic = std::make_unique<FontPage>(*state.texts);
  } else {
    logic = std::make_unique<PlaceholderPage>();
  }
  logic = std::make_unique<TrackedPage>(kKind, dialog, std::move(logic));
  DialogLogic* raw = logic.get();
  DialogSession* session =
      DialogSession::Attach(dialog, state.instance, ActivationContext(), raw, std::move(logic));
  if constexpr (kDevice)
    session->Controls().SetResultReporter(
        [context](intptr_t result) { ReportPageResult(static_cast<DevicePageContext*>(context), result); });
  else
    session->Controls().SetResultReporter(
        [context](intptr_t result) { ReportPageResult(static_cast<DocumentPageContext*>(context), result); });
  return session->Init();
}

template <PageKind kKind>
DialogProcFn ProcOf() {
  return reinterpret_cast<DialogProcFn>(&PageProc<kKind>);
}

class Win32SheetHost : public SheetHost {
 public:
  host::Handle Module() override { return Shared().instance; }
  DialogProcFn DialogProcedure(PageKind kind) override {
    switch (kind) {
      case PageKind::kMain:
        return ProcOf<PageKind::kMain>();
      case PageKind::kWatermark:
        return ProcOf<PageKind::kWatermark>();
      case PageKind::kOperation:
        return ProcOf<PageKind::kOperation>();
      case PageKind::k1DCode:
        return ProcOf<PageKind::k1DCode>();
      case PageKind::k2DCode:
        return ProcOf<PageKind::k2DCode>();
      case PageKind::kDocumentVersion:
        return ProcOf<PageKind::kDocumentVersion>();
      case PageKind::kUtility:
        return ProcOf<PageKind::kUtility>();
      case PageKind::kDownload:
        return ProcOf<PageKind::kDownload>();
      case PageKind::kFont:
        return ProcOf<PageKind::kFont>();
      case PageKind::kDeviceVersion:
        return ProcOf<PageKind::kDeviceVersion>();
    }
    return nullptr;
  }
  host::Handle ActivationContext() override { return win32::ActivationContext(); }
  std::string PrinterPortName(host::Handle printer) override {
    if (printer == nullptr) return {};
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W)) return {};
    std::vector<BYTE> buffer(needed, 0);
    if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return {};
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    if (info->pPortName == nullptr) return {};
    return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(info->pPortName));
  }
};

}  // namespace

SheetAssembly* PageSheets(PluginModule& module, HINSTANCE instance) {
  State& state = Shared();
  state.module = &module;
  state.instance = instance;
  if (!state.texts) state.texts = std::make_unique<UiPageTexts>(module.Texts());
  static Win32SheetHost host;
  static PropertySheets sheets(*state.texts, module.Services().registry, host);
  state.sheets = &sheets;
  return &sheets;
}

HWND OpenPageWindow(PageKind kind) {
  return Shared().windows[static_cast<int>(kind)];
}

PropertySheets* LibrarySheets() {
  return Shared().sheets;
}

}  // namespace mq::plugin::win32
