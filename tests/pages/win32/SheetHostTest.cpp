// Plays the universal-driver UI host against the real MQ450UI.dll under a display: loads it through its
// exports, publishes a recording helper, hands it driver option items, opens both sheets through the system's
// CommonPropertySheetUIW, drives the operation editor by window messages from a second thread, checks what
// was stored, and saves a PNG screenshot of every tab and of the editor in English, simplified and
// traditional Chinese.
#include <windows.h>
#include <commctrl.h>
#include <compstui.h>
#include <prsht.h>
#include <shlobj.h>
#include <winspool.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FileBytes.h"
#include "WineHostPath.h"
#include "WindowCapture.h"
#include "RecordingDriverUI.h"
#include "plugin/HostTypes.h"
#include "plugin/PrivateSettings.h"

namespace {

using namespace mq;
using mq::testing::ReadBytes;

std::wstring TextOf(HWND window) {
  wchar_t buffer[2048] = {};
  GetWindowTextW(window, buffer, 2048);
  return buffer;
}

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 4 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? n : 0);
  return out;
}

using HostHelper = mq::testing::RecordingDriverUI;

// The driver's option items the host hands over: a print-density feature and a paper-form feature.
struct DriverItems {
  std::wstring densityName = L"Print Quality";
  std::vector<std::wstring> densityTexts = {L"Density Light", L"Density Normal", L"Density Dark"};
  std::wstring formName = L"Paper Size";
  std::vector<std::wstring> formTexts = {L"Letter", L"A4"};
  OPTPARAM densityParams[3] = {};
  OPTPARAM formParams[2] = {};
  OPTTYPE densityType = {};
  OPTTYPE formType = {};
  OPTITEM items[2] = {};

  DriverItems() {
    for (int k = 0; k < 3; ++k) {
      densityParams[k].cbSize = sizeof(OPTPARAM);
      densityParams[k].pData = densityTexts[k].data();
    }
    for (int k = 0; k < 2; ++k) {
      formParams[k].cbSize = sizeof(OPTPARAM);
      formParams[k].pData = formTexts[k].data();
    }
    densityType = {sizeof(OPTTYPE), TVOT_LISTBOX, 0, 3, 0, densityParams, 0, {}, {}};
    formType = {sizeof(OPTTYPE), TVOT_LISTBOX, 0, 2, 0, formParams, 0, {}, {}};
    items[0].cbSize = sizeof(OPTITEM);
    items[0].Level = 2;
    items[0].pName = densityName.data();
    items[0].pOptType = &densityType;
    items[0].DMPubID = 0;
    items[1].cbSize = sizeof(OPTITEM);
    items[1].Level = 1;
    items[1].pName = formName.data();
    items[1].pOptType = &formType;
    items[1].DMPubID = DMPUB_FORMNAME;
  }
};

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

host::IPrintOemUI* g_object = nullptr;

// The sheets open now, innermost last, told apart by the host parameters they were opened with: two sheets
// can be open at once, each with its own plug-in object as the universal driver's host gives each session.
struct SheetRoute {
  LPARAM psParam;
  host::IPrintOemUI* object;
  bool device;
};
std::vector<SheetRoute> g_routes;

// Every call the plug-in makes through the system's sheet callback, with the system's answer (the sheet's
// thread only; read after the sheet has closed).
struct SheetCall {
  HANDLE sheet;
  UINT function;
  LPARAM lParam1;
  LPARAM lParam2;
  LONG_PTR answer;
};
std::vector<SheetCall> g_sheetCalls;
HANDLE g_initSheet = nullptr;  // the sheet handle the (last) init reason handed over
PFNCOMPROPSHEET g_systemComPropSheet = nullptr;
// The sheets' captions, as the universal driver's host gives them: the printer's name and what the sheet is.
std::wstring g_documentTitle = L"MQ-450 Printing Preferences";
std::wstring g_deviceTitle = L"MQ-450 Properties";

LONG_PTR CALLBACK RecordingComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
  const LONG_PTR answer = g_systemComPropSheet(sheet, function, lParam1, lParam2);
  g_sheetCalls.push_back({sheet, function, lParam1, lParam2, answer});
  return answer;
}

// The system calls this with the Windows callback convention; MinGW's PFNPROPSHEETUI leaves it out. On the
// init reason the plug-in keeps the callback it is given, so it is handed the recording one.
LONG CALLBACK ForwardSheetUi(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto* portable = reinterpret_cast<host::PropSheetUiInfo*>(info);
  const auto route = std::find_if(g_routes.rbegin(), g_routes.rend(),
                                  [info](const SheetRoute& r) { return r.psParam == info->lParamInit; });
  if (route == g_routes.rend()) return -1;
  const PFNCOMPROPSHEET system = info->pfnComPropSheet;
  if (info->Reason == PROPSHEETUI_REASON_INIT) {
    g_initSheet = info->hComPropSheet;
    g_systemComPropSheet = system;
    info->pfnComPropSheet = RecordingComPropSheet;
  }
  const com::HResult hr = route->device ? route->object->DevicePropertySheets(portable, lParam)
                                        : route->object->DocumentPropertySheets(portable, lParam);
  info->pfnComPropSheet = system;
  // The host's own header: the caption names the printer (a language change finds the printer's other
  // windows by it).
  if (info->Reason == PROPSHEETUI_REASON_GET_INFO_HEADER && lParam != 0)
    reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam)->pTitle =
        (route->device ? g_deviceTitle : g_documentTitle).data();
  return hr == com::kOk ? 1 : -1;
}

// --- The second thread: finds the windows of the sheet's thread and plays the user. ---

class Driver {
  struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
    bool visibleOnly;
  };
  static BOOL CALLBACK Match(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if ((s->visibleOnly && !IsWindowVisible(w)) || !(*s->match)(w)) return TRUE;
    s->found = w;
    return FALSE;
  }

 public:
  Driver(DWORD uiThread, std::wstring screens, std::string language)
      : uiThread_(uiThread), screens_(std::move(screens)), language_(std::move(language)) {}

  HWND WaitWindow(const std::function<bool(HWND)>& match, int milliseconds = 15000) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
      Search search{&match, nullptr, true};
      EnumThreadWindows(uiThread_, Match, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) return search.found;
      Sleep(50);
    }
    failures.push_back("timed out waiting for a window");
    return nullptr;
  }

  // A window of the sheet's thread, shown or not, without waiting.
  HWND FindHidden(const std::function<bool(HWND)>& match) {
    Search search{&match, nullptr, false};
    EnumThreadWindows(uiThread_, Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  bool WaitGone(HWND window) {
    for (int waited = 0; waited < 15000; waited += 50) {
      if (!IsWindow(window) || !IsWindowVisible(window)) return true;
      Sleep(50);
    }
    failures.push_back("a window did not close");
    return false;
  }

  static bool IsDialog(HWND w) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    return wcscmp(name, L"#32770") == 0;
  }

  // Saves name-LANGUAGE.png.
  void Capture(HWND window, const std::string& name) { CaptureAs(window, name + "-" + language_); }

  // Saves stem.png (for shots whose language is not the run's).
  void CaptureAs(HWND window, const std::string& stem) {
    const std::wstring file = screens_ + L"\\" + std::wstring(stem.begin(), stem.end()) + L".png";
    if (!mq::testing::CaptureWindow(window, file)) failures.push_back("cannot capture " + stem);
    ++screenshots;
  }

  HWND Sheet() {
    return WaitWindow(
        [](HWND w) { return IsDialog(w) && FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr); });
  }

  // The sheet whose caption contains part (with two sheets open).
  HWND SheetTitled(const std::wstring& part) {
    return WaitWindow([&part](HWND w) {
      return IsDialog(w) && FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr) &&
             TextOf(w).find(part) != std::wstring::npos;
    });
  }

  static HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }

  std::vector<std::wstring> TabTitles(HWND sheet) {
    std::vector<std::wstring> titles;
    HWND tabs = FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr);
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 128;
      SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      titles.push_back(text);
    }
    return titles;
  }

  void ShootTabs(HWND sheet, const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
      SendMessageW(sheet, PSM_SETCURSEL, i, 0);
      Capture(sheet, names[i]);
    }
  }

  // Answers a page's Open dialog: the file name typed into its name box, then Open.
  void AnswerOpen(const std::wstring& path) {
    HWND open = WaitWindow([](HWND w) {
      return IsDialog(w) && (GetDlgItem(w, cmb13) != nullptr || GetDlgItem(w, edt1) != nullptr);
    });
    if (open == nullptr) return;
    HWND name = GetDlgItem(open, cmb13) != nullptr ? GetDlgItem(open, cmb13) : GetDlgItem(open, edt1);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitGone(open);
  }

  HWND OpenEditor(HWND page, int button) {
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, button)));
    return WaitWindow([](HWND w) { return IsDialog(w) && GetDlgItem(w, 1016) != nullptr; });
  }

  std::vector<std::string> failures;
  int screenshots = 0;

 private:
  DWORD uiThread_;
  std::wstring screens_;
  std::string language_;
};

struct DocumentFindings {
  std::vector<std::wstring> tabs;
  std::wstring editorTitle;
  std::wstring errorText;
  bool editorOpenAfterError = false;
  int helpTips = 0;
  std::wstring shownAgain;
};

class SheetHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The installed language files: in the driver directory and already in the user's folder.
    wchar_t windowsDir[MAX_PATH] = {}, appData[MAX_PATH] = {};
    GetWindowsDirectoryW(windowsDir, MAX_PATH);
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE);
    const std::wstring driverDir = std::wstring(windowsDir) + L"\\system32\\spool\\drivers\\x64\\3\\";
    const std::wstring userDir = std::wstring(appData) + L"\\ZNT\\";
    SHCreateDirectoryExW(nullptr, driverDir.c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, userDir.c_str(), nullptr);
    const std::wstring package = mq::testing::WineHostPathW(MQ_PACKAGE_DIR) + L"\\Driver\\UI\\";
    for (const wchar_t* f : {L"LANGUAGE_MQ450.ini", L"ENG_MQ450.res", L"CHN_MQ450.res", L"CHF_MQ450.res"}) {
      CopyFileW((package + f).c_str(), (driverDir + f).c_str(), FALSE);
      CopyFileW((package + f).c_str(), (userDir + f).c_str(), FALSE);
    }
    SetLanguage(L"ENG_MQ450.res");

    module_ = LoadLibraryW(mq::testing::WineHostPathW(MQ_PLUGIN_DLL).c_str());
    ASSERT_NE(module_, nullptr);
    g_object = NewObject();
    ASSERT_NE(g_object, nullptr);
    SHCreateDirectoryExW(nullptr, mq::testing::WineHostPathW(MQ_SCREENS_DIR).c_str(), nullptr);
  }

  // A plug-in object of the loaded library, through its class factory; null on failure.
  static host::IPrintOemUI* NewObject() {
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    if (getClassObject == nullptr) return nullptr;
    com::IClassFactory* factory = nullptr;
    if (getClassObject(reinterpret_cast<REFCLSID>(host::kClsidOemUi),
                       reinterpret_cast<REFIID>(com::kIidIClassFactory),
                       reinterpret_cast<void**>(&factory)) != S_OK)
      return nullptr;
    void* made = nullptr;
    const com::HResult hr = factory->CreateInstance(nullptr, host::kIidIPrintOemUI, &made);
    factory->Release();
    return hr == com::kOk ? static_cast<host::IPrintOemUI*>(made) : nullptr;
  }

  static void TearDownTestSuite() {
    if (g_object != nullptr) g_object->Release();
    g_object = nullptr;
  }

  // The user's language choice, as the Main page leaves it in the registry.
  static void SetLanguage(const wchar_t* file) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\ZNT\\LANGUAGE\\", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegSetValueExW(key, L"LANGUAGE_MQ450", 0, REG_SZ, reinterpret_cast<const BYTE*>(file),
                   static_cast<DWORD>((wcslen(file) + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"IsFirstRun_MQ450", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"FALSE"), 12);
    RegCloseKey(key);
  }

  void SetUp() override {
    ASSERT_NE(g_object, nullptr);
    record_.assign(plugin::kPrivateSettingsSize, 0);
    host::OemDmParam dm{};
    dm.cbSize = sizeof(dm);
    dm.pOEMDMOut = record_.data();
    dm.cbBufSize = plugin::kPrivateSettingsSize;
    ASSERT_EQ(g_object->DevMode(host::kOemDmDefault, &dm), com::kOk);
    helper_.updates.clear();
    ASSERT_EQ(g_object->PublishDriverInterface(&helper_), com::kOk);

    cuip_.cbSize = sizeof(cuip_);
    cuip_.poemuiobj = &items_;  // any value: the plug-in hands it back to DrvUpdateUISetting
    cuip_.pPrinterName = reinterpret_cast<host::WChar*>(printerName_.data());
    cuip_.pOEMDM = record_.data();
    cuip_.pDrvOptItems = reinterpret_cast<host::OptItem*>(items_.items);
    cuip_.cDrvOptItems = 2;
    psParam_.cbSize = sizeof(psParam_);
    psParam_.pPrinterName = reinterpret_cast<host::WChar*>(printerName_.data());
    psParam_.pOEMDM = record_.data();
  }

  // Opens one sheet through the system host on this thread and returns when it has closed; by default with
  // the suite's plug-in object and the fixture's host parameters. The sheet's callbacks reach object.
  LONG OpenSheet(bool device, host::IPrintOemUI* object = nullptr, host::OemCuipParam* cuip = nullptr,
                 host::OemUiPsParam* psParam = nullptr) {
    if (object == nullptr) object = g_object;
    if (cuip == nullptr) cuip = &cuip_;
    if (psParam == nullptr) psParam = &psParam_;
    g_sheetCalls.clear();
    g_initSheet = nullptr;
    EXPECT_EQ(object->CommonUIProp(device ? host::kOemCuipPrnProp : host::kOemCuipDocProp, cuip), com::kOk);
    DWORD result = 0;
    // Taken from the system's compstui.dll at run time (MinGW has no import library for it on x86).
    using CommonPropertySheetUIFn = LONG(APIENTRY*)(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD);
    static const auto commonPropertySheetUI = reinterpret_cast<CommonPropertySheetUIFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"compstui.dll"), "CommonPropertySheetUIW")));
    if (commonPropertySheetUI == nullptr) {
      ADD_FAILURE() << "no CommonPropertySheetUIW";
      return 0;
    }
    g_routes.push_back({reinterpret_cast<LPARAM>(psParam), object, device});
    const LONG answer = commonPropertySheetUI(nullptr, reinterpret_cast<PFNPROPSHEETUI>(ForwardSheetUi),
                                              reinterpret_cast<LPARAM>(psParam), &result);
    g_routes.pop_back();
    return answer;
  }

  // Opens one sheet while script plays the user on a second thread.
  LONG RunSheet(bool device, const std::function<void(Driver&)>& script, Driver& driver) {
    std::thread player([&] { script(driver); });
    const LONG answer = OpenSheet(device);
    player.join();
    for (const std::string& failure : driver.failures) ADD_FAILURE() << failure;
    return answer;
  }

  // The sheet was closed with OK after every page had been shown: each page but the Version page (which
  // changes nothing on apply) reported CPSUI_OK through CPSFUNC_SET_RESULT, on the sheet it was given, under
  // the value of the last page addition.
  static void ExpectPagesReportedOk(size_t pages) {
    std::vector<LONG_PTR> added;
    size_t results = 0;
    for (const SheetCall& call : g_sheetCalls) {
      EXPECT_EQ(call.sheet, g_initSheet) << "function " << call.function;
      if (call.function == CPSFUNC_ADD_PROPSHEETPAGEW) added.push_back(call.answer);
      if (call.function != CPSFUNC_SET_RESULT) continue;
      ++results;
      ASSERT_FALSE(added.empty()) << "a result before any page was added";
      EXPECT_EQ(call.lParam1, added.back()) << "the last page addition, not the sheet handle";
      EXPECT_EQ(call.lParam2, CPSUI_OK);
    }
    EXPECT_EQ(added.size(), pages);
    EXPECT_EQ(results, pages - 1);
  }

  DocumentFindings DocumentSheet(const std::string& language) {
    DocumentFindings found;
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), language);
    const LONG answer = RunSheet(
        false,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          found.tabs = d.TabTitles(sheet);
          d.ShootTabs(sheet, {"main", "watermark", "operation", "1dcode", "2dcode", "version-document"});
          SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
          HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));

          HWND editor = d.OpenEditor(page, 1014);
          if (editor == nullptr) return PostMessageW(sheet, WM_CLOSE, 0, 0), void();
          found.editorTitle = TextOf(editor);
          // The editor's help tips: one tool-tip window owned by the editor, a tool per control with a help
          // text.
          if (HWND tips = d.FindHidden([editor](HWND w) {
                wchar_t name[32] = {};
                GetClassNameW(w, name, 32);
                return wcscmp(name, TOOLTIPS_CLASSW) == 0 && GetWindow(w, GW_OWNER) == editor;
              })) {
            found.helpTips = static_cast<int>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
          }
          SendMessageW(GetDlgItem(editor, 1015), BM_CLICK, 0, 0);
          SendMessageW(GetDlgItem(editor, 1016), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1D 56 42 00"));
          HWND cut = GetDlgItem(editor, 1020);
          SendMessageW(cut, CB_SETCURSEL, 2, 0);
          SendMessageW(editor, WM_COMMAND, MAKEWPARAM(1020, CBN_SELCHANGE), reinterpret_cast<LPARAM>(cut));
          HWND buzzer = GetDlgItem(editor, 1027);
          SendMessageW(buzzer, CB_SETCURSEL, 3, 0);
          SendMessageW(editor, WM_COMMAND, MAKEWPARAM(1027, CBN_SELCHANGE), reinterpret_cast<LPARAM>(buzzer));
          SendMessageW(GetDlgItem(editor, 1021), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"150"));
          SendMessageW(GetDlgItem(editor, 1024), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"300"));
          d.Capture(editor, "editor");

          // 129 bytes: refused with a message, the editor stays open.
          std::wstring tooLong;
          for (int i = 0; i < 129; ++i) tooLong += L"AB ";
          SendMessageW(GetDlgItem(editor, 1016), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tooLong.c_str()));
          PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(editor, IDOK)));
          HWND box = d.WaitWindow(
              [editor](HWND w) { return Driver::IsDialog(w) && GetWindow(w, GW_OWNER) == editor; });
          if (box != nullptr) {
            HWND text = FindWindowExW(box, nullptr, L"Static", nullptr);
            while (text != nullptr && TextOf(text).empty())
              text = FindWindowExW(box, text, L"Static", nullptr);
            found.errorText = text != nullptr ? TextOf(text) : L"";
            d.Capture(box, "editor-error");
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            d.WaitGone(box);
          }
          found.editorOpenAfterError = IsWindow(editor) && IsWindowVisible(editor);
          SendMessageW(GetDlgItem(editor, 1016), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1D 56 42 00"));
          PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(editor, IDOK)));
          d.WaitGone(editor);

          // Opened again, the stored command reads back in the display form; Cancel leaves it.
          HWND again = d.OpenEditor(page, 1014);
          if (again != nullptr) {
            found.shownAgain = TextOf(GetDlgItem(again, 1016));
            SendMessageW(GetDlgItem(again, 1016), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"00"));
            PostMessageW(again, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            d.WaitGone(again);
          }
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    EXPECT_EQ(driver.screenshots, 8);
    ExpectPagesReportedOk(6);
    return found;
  }

  std::vector<std::wstring> DeviceSheet(const std::string& language, int* treeItems) {
    std::vector<std::wstring> tabs;
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), language);
    const LONG answer = RunSheet(
        true,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          tabs = d.TabTitles(sheet);
          d.ShootTabs(sheet, {"utility", "download", "font", "version-device"});
          SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
          HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          *treeItems = static_cast<int>(SendDlgItemMessageW(page, 1069, TVM_GETCOUNT, 0, 0));
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    EXPECT_EQ(driver.screenshots, 4);
    ExpectPagesReportedOk(4);
    return tabs;
  }

  // --- The Download page on a printer whose port is mapped to a Unix file ---

  // What the printer received from each of the page's jobs, and what the page showed.
  struct DownloadFindings {
    int rows = 0;
    std::wstring secondName;
    std::vector<uint8_t> mono, gray, clear, file;
    bool intermediatesLeft = true;
  };

  // A printer on LPT1:, which the spooler writes into the Unix file jobUnix at the end of each document.
  static HANDLE JobPrinter(const std::string& jobUnix) {
    const std::wstring target(jobUnix.begin(), jobUnix.end());
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", L"LPT1:", REG_SZ, target.c_str(),
                    static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t)));
    wchar_t driverName[] = L"MQ-450 Sheet Host", driverPath[] = L"UNIDRV.DLL", dataFile[] = L"MQ450.GPD",
            configFile[] = L"UNIDRVUI.DLL", raw[] = L"RAW", printerName[] = L"MQ-450 Download",
            port[] = L"LPT1:", processor[] = L"winprint";
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = driverName;
    driver.pDriverPath = driverPath;
    driver.pDataFile = dataFile;
    driver.pConfigFile = configFile;
    driver.pDefaultDataType = raw;
    AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver));
    PRINTER_INFO_2W info = {};
    info.pPrinterName = printerName;
    info.pPortName = port;
    info.pDriverName = driverName;
    info.pPrintProcessor = processor;
    info.pDatatype = raw;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    if (printer == nullptr) OpenPrinterW(printerName, &printer, nullptr);
    return printer;
  }

  // The printer goes again with its port's mapping, so that runs of the suite in the same prefix do not pile
  // printers up.
  void RemoveJobPrinter(HANDLE printer) {
    cuip_.hPrinter = nullptr;
    DeletePrinter(printer);
    ClosePrinter(printer);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", L"LPT1:");
  }

  // Presses a button of a page and returns what the printer wrote into the job file from the job it ran
  // (nothing after five seconds without one).
  static std::vector<uint8_t> PressForJob(HWND page, int button, const std::wstring& job) {
    DeleteFileW(job.c_str());
    SendMessageW(GetDlgItem(page, button), BM_CLICK, 0, 0);
    std::vector<uint8_t> arrived;
    for (int attempt = 0; attempt < 50 && arrived.empty(); ++attempt) {
      arrived = ReadBytes(job);
      if (arrived.empty()) Sleep(100);
    }
    return arrived;
  }

  DownloadFindings DownloadSession(const std::string& language) {
    DownloadFindings found;
    // The pictures and the file to send, in a folder of the Windows drive (the intermediates go beside them).
    const std::wstring data = mq::testing::WineHostPathW(MQ_DOWNLOAD_DATA_DIR) + L"\\";
    const std::wstring folder = L"C:\\mqlogos\\";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    for (const wchar_t* f : {L"shop-96x64.bmp", L"badge-48x32.bmp", L"sample.JK"})
      CopyFileW((data + f).c_str(), (folder + f).c_str(), FALSE);
    const std::string jobUnix = std::string(MQ_SCREENS_DIR) + "/../wine-download-job.bin";
    const std::wstring job = mq::testing::WineHostPathW(jobUnix);
    HANDLE printer = JobPrinter(jobUnix);
    EXPECT_NE(printer, nullptr);
    cuip_.hPrinter = printer;

    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), language);
    auto press = [&](HWND page, int button) { return PressForJob(page, button, job); };
    const LONG answer = RunSheet(
        true,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
          HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          for (const wchar_t* f : {L"shop-96x64.bmp", L"badge-48x32.bmp"}) {
            PostMessageW(page, WM_COMMAND, MAKEWPARAM(1042, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, 1042)));
            d.AnswerOpen(folder + f);
          }
          HWND list = GetDlgItem(page, 1041);
          found.rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
          wchar_t name[64] = {};
          LVITEMW cell = {};
          cell.iSubItem = 1;
          cell.pszText = name;
          cell.cchTextMax = 64;
          SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&cell));
          found.secondName = name;
          LVITEMW select = {};
          select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
          select.state = LVIS_SELECTED | LVIS_FOCUSED;
          SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));

          SendMessageW(GetDlgItem(page, 1061), BM_CLICK, 0, 0);  // Transformation
          d.Capture(sheet, "download-mono");
          found.mono = press(page, 1044);
          SendMessageW(GetDlgItem(page, 1088), BM_CLICK, 0, 0);  // Gray
          d.Capture(sheet, "download-gray");
          found.gray = press(page, 1044);
          found.clear = press(page, 1045);
          PostMessageW(page, WM_COMMAND, MAKEWPARAM(1040, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(page, 1040)));
          d.AnswerOpen(folder + L"sample.JK");
          found.file = press(page, 1036);
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    EXPECT_EQ(driver.screenshots, 2);
    found.intermediatesLeft =
        GetFileAttributesW((folder + L"shop-96x64Temp.bmp").c_str()) != INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW((folder + L"badge-48x32Temp.bmp").c_str()) != INVALID_FILE_ATTRIBUTES;
    RemoveJobPrinter(printer);
    return found;
  }

  // The Download page's jobs against the files mq450 logo job wrote for the same pictures.
  void ExpectDownloadJobs(const DownloadFindings& found) {
    const std::wstring data = mq::testing::WineHostPathW(MQ_DOWNLOAD_DATA_DIR) + L"\\";
    EXPECT_EQ(found.rows, 2);
    EXPECT_EQ(found.secondName, L"badge-48x32.bmp");
    EXPECT_EQ(found.mono, ReadBytes(data + L"logo-job-mono.prn"));
    EXPECT_EQ(found.gray, ReadBytes(data + L"logo-job-gray.prn"));
    EXPECT_EQ(found.clear, ReadBytes(data + L"logo-job-clear.prn"));
    EXPECT_EQ(found.file, ReadBytes(data + L"sample.JK"));
    EXPECT_FALSE(found.mono.empty());
    EXPECT_FALSE(found.intermediatesLeft) << "the sheet's OK deletes the intermediate files";
  }

  // --- The Utility page's self-test and the control-font table; the Main page's viewer and language ---

  struct UtilityFindings {
    std::vector<uint8_t> selfTest;
    bool editorOpened = false;
    bool translatorOpened = false;  // by a double click on the row of "p", far down the list
    std::wstring rowPShown;         // that row's command in the list after the translator's OK
    bool rowPInView = false;        // and whether the list shows that row
    std::wstring rowA, rowB, rowP;  // the table's keys 41, 42 and 70 after the editor's OK
  };

  // Double-clicks a row of the control-font list with the mouse's messages, types a command into the
  // one-character dialog that opens and takes it with OK.
  static void DoubleClickRow(Driver& d, HWND editor, int row, UtilityFindings& found) {
    HWND list = GetDlgItem(editor, 1303);
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT cell{};
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    const LPARAM at = MAKELPARAM(cell.left + 8, (cell.top + cell.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    HWND translator =
        d.WaitWindow([](HWND w) { return Driver::IsDialog(w) && GetDlgItem(w, 1316) != nullptr; });
    if (translator == nullptr) return;
    found.translatorOpened = true;
    SendMessageW(GetDlgItem(translator, 1316), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1b40"));
    d.Capture(translator, "control-font-translator");
    PostMessageW(translator, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(translator, IDOK)));
    d.WaitGone(translator);
    Sleep(200);
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = 2;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    found.rowPShown = text;
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int shown = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    found.rowPInView = row >= top && row < top + shown;
    d.Capture(editor, "control-font-edited");
  }

  UtilityFindings UtilitySession(const std::string& language) {
    UtilityFindings found;
    wchar_t windowsDir[MAX_PATH] = {};
    GetWindowsDirectoryW(windowsDir, MAX_PATH);
    const std::wstring table =
        std::wstring(windowsDir) + L"\\system32\\spool\\drivers\\w32x86\\3\\MQ450CONTROL.dat";
    SHCreateDirectoryExW(
        nullptr, (std::wstring(windowsDir) + L"\\system32\\spool\\drivers\\w32x86\\3").c_str(), nullptr);
    CopyFileW((mq::testing::WineHostPathW(MQ_PACKAGE_DIR) + L"\\Driver\\common\\MQ450CONTROL.dat").c_str(),
              table.c_str(), FALSE);
    const std::string jobUnix = std::string(MQ_SCREENS_DIR) + "/../wine-selftest-job.bin";
    const std::wstring job = mq::testing::WineHostPathW(jobUnix);
    DeleteFileW(job.c_str());
    HANDLE printer = JobPrinter(jobUnix);
    EXPECT_NE(printer, nullptr);
    cuip_.hPrinter = printer;
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), language);
    const LONG answer = RunSheet(
        true,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
          HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          SendMessageW(GetDlgItem(page, 1036), BM_CLICK, 0, 0);  // SelfTest
          for (int attempt = 0; attempt < 50 && found.selfTest.empty(); ++attempt) {
            found.selfTest = ReadBytes(job);
            if (found.selfTest.empty()) Sleep(100);
          }
          // On a printer the spooler knows, the page lists the base form (the other device-sheet runs have no
          // printer, where the page stays without its list); this shot replaces theirs.
          d.Capture(sheet, "utility");
          PostMessageW(page, WM_COMMAND, MAKEWPARAM(1037, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(page, 1037)));  // Control Font
          HWND editor =
              d.WaitWindow([](HWND w) { return Driver::IsDialog(w) && GetDlgItem(w, 1303) != nullptr; });
          if (editor != nullptr) {
            found.editorOpened = true;
            d.Capture(editor, "control-font");
            LVITEMW state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendDlgItemMessageW(editor, 1303, LVM_SETITEMSTATE, 0x21,
                                reinterpret_cast<LPARAM>(&state));   // "A"
            SendMessageW(GetDlgItem(editor, 1305), BM_CLICK, 0, 0);  // Delete
            DoubleClickRow(d, editor, 0x50, found);
            PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(editor, IDOK)));
            d.WaitGone(editor);
          }
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Character Translation Table", L"41", L"<none>", value, 256, table.c_str());
    found.rowA = value;
    GetPrivateProfileStringW(L"Character Translation Table", L"42", L"<none>", value, 256, table.c_str());
    found.rowB = value;
    GetPrivateProfileStringW(L"Character Translation Table", L"70", L"<none>", value, 256, table.c_str());
    found.rowP = value;
    RemoveJobPrinter(printer);
    return found;
  }

  struct MainFindings {
    std::wstring viewerArguments;
    std::vector<std::wstring> switchedTabs;
    std::wstring switchedLogGroup;
    std::wstring languageValue;
  };

  static std::wstring LanguageValue(const wchar_t* name) {
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\ZNT\\LANGUAGE", name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
  }

  // The Viewer button starts the package's viewer from the system drive's Program Files folder; choosing
  // simplified Chinese and applying retitles the tabs and switches the page's texts.
  MainFindings MainSession() {
    MainFindings found;
    wchar_t windowsDir[MAX_PATH] = {};
    GetWindowsDirectoryW(windowsDir, MAX_PATH);
    const std::wstring folder = std::wstring(windowsDir).substr(0, 3) + L"Program Files\\ZNT\\ZNTDriverlog";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    CopyFileW(mq::testing::WineHostPathW(MQ_VIEWER_EXE).c_str(),
              (folder + L"\\ZNTDriverlogViewer.exe").c_str(), FALSE);
    const std::wstring record = L"C:\\mq450-viewer-arguments.txt";
    DeleteFileW(record.c_str());
    SetEnvironmentVariableW(L"MQ450_VIEWER_RECORD", record.c_str());
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), "en");
    const LONG answer = RunSheet(
        false,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
          HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          SendMessageW(GetDlgItem(page, 1208), BM_CLICK, 0, 0);  // Record driver data: enables Viewer
          SendMessageW(GetDlgItem(page, 1211), BM_CLICK, 0, 0);  // Viewer
          for (int attempt = 0; attempt < 100 && found.viewerArguments.empty(); ++attempt) {
            std::vector<uint8_t> bytes = ReadBytes(record);
            found.viewerArguments.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            if (found.viewerArguments.empty()) Sleep(100);
          }
          for (int attempt = 0; attempt < 50; ++attempt) {
            if (HWND viewer = FindWindowW(L"MQ450DriverLogViewer", nullptr)) {
              PostMessageW(viewer, WM_CLOSE, 0, 0);
              break;
            }
            Sleep(100);
          }
          d.Capture(sheet, "main-before-switch");
          HWND languages = GetDlgItem(page, 1021);
          SendMessageW(languages, CB_SETCURSEL, 1, 0);  // 简体中文
          SendMessageW(page, WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(languages));
          SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
          Sleep(500);
          found.switchedTabs = d.TabTitles(sheet);
          found.languageValue = LanguageValue(L"LANGUAGE_MQ450");
          d.CaptureAs(sheet, "main-after-switch-zh");  // the texts are simplified Chinese by now
          found.switchedLogGroup = TextOf(GetDlgItem(page, 1209));
          SendMessageW(languages, CB_SETCURSEL, 0, 0);  // back to English for the runs that follow
          SendMessageW(page, WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(languages));
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    SetEnvironmentVariableW(L"MQ450_VIEWER_RECORD", nullptr);
    return found;
  }

  // --- Both sheets open at once, on the one thread the plug-in's pages share ---

  // The device sheet, opened from the document sheet's message loop by a timer, so that both are open on the
  // same thread until the device sheet closes.
  struct NestedSheet {
    SheetHost* fixture;
    host::IPrintOemUI* object;
    host::OemCuipParam cuip;
    host::OemUiPsParam psParam;
    LONG answer = 0;
  };
  static inline NestedSheet* nested_ = nullptr;
  static void CALLBACK OpenNestedDeviceSheet(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (nested_ != nullptr)
      nested_->answer = nested_->fixture->OpenSheet(true, nested_->object, &nested_->cuip, &nested_->psParam);
  }

  struct LanguageFindings {
    std::vector<std::wstring> documentTabsBefore, deviceTabsBefore;
    std::vector<std::wstring> documentTabs, deviceTabs;
    std::wstring mainLogGroup;         // the Main page, shown while the language changed
    std::wstring deviceVersionLine;    // the device sheet's Version page, shown while the language changed
    std::wstring documentVersionLine;  // the document sheet's Version page, shown afterwards
    std::wstring utilitySelfTest;      // the device sheet's Utility page, shown afterwards
    std::vector<std::wstring> deviceTabsAtOk;  // the document sheet's OK applied English again
    // Another program's window that names the printer: its tabs before and after, and whether it lived on.
    std::wstring foreignTabsBefore, foreignTabsAfter;
    bool foreignAlive = false;
  };

  // Starts the program whose window looks like another process's property window of the printer; it keeps
  // writing its tab titles into output.
  static PROCESS_INFORMATION StartForeignSheet(const std::wstring& output) {
    std::wstring command = L"\"" + mq::testing::WineHostPathW(MQ_FOREIGN_SHEET_EXE) + L"\" " + output;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
      ADD_FAILURE() << "cannot start the other program: " << GetLastError();
    return process;
  }

  static std::wstring ReadTitles(const std::wstring& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  }

  LanguageFindings BothSheetsSession() {
    LanguageFindings found;
    NestedSheet device{this, NewObject(), cuip_, psParam_};
    EXPECT_NE(device.object, nullptr);
    if (device.object == nullptr) return found;
    device.cuip.hPrinter = nullptr;
    nested_ = &device;
    const std::wstring foreignOutput = L"C:\\mq450-foreign-tabs.txt";
    DeleteFileW(foreignOutput.c_str());
    const PROCESS_INFORMATION foreign = StartForeignSheet(foreignOutput);
    SetTimer(nullptr, 0, 100, OpenNestedDeviceSheet);
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), "en");
    auto choose = [](HWND page, int entry) {
      HWND languages = GetDlgItem(page, 1021);
      SendMessageW(languages, CB_SETCURSEL, entry, 0);
      SendMessageW(page, WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages));
    };
    const LONG answer = RunSheet(
        false,
        [&](Driver& d) {
          HWND documentSheet = d.SheetTitled(L"Printing Preferences");
          HWND deviceSheet = d.SheetTitled(L"Properties");
          if (documentSheet == nullptr || deviceSheet == nullptr) {
            if (deviceSheet != nullptr) PostMessageW(deviceSheet, WM_CLOSE, 0, 0);
            if (documentSheet != nullptr) PostMessageW(documentSheet, WM_CLOSE, 0, 0);
            return;
          }
          // Side by side, so that each can be captured from the screen.
          RECT r{};
          GetWindowRect(documentSheet, &r);
          SetWindowPos(documentSheet, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          SetWindowPos(deviceSheet, nullptr, 30 + (r.right - r.left), 10, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          // Open pages: the document sheet's Version page (visited) and Main page (shown); the device
          // sheet's Utility page (visited) and Version page (shown).
          SendMessageW(documentSheet, PSM_SETCURSEL, 5, 0);
          SendMessageW(documentSheet, PSM_SETCURSEL, 0, 0);
          SendMessageW(deviceSheet, PSM_SETCURSEL, 3, 0);
          HWND mainPage = Driver::CurrentPage(documentSheet);
          HWND deviceVersion = Driver::CurrentPage(deviceSheet);
          found.documentTabsBefore = d.TabTitles(documentSheet);
          found.deviceTabsBefore = d.TabTitles(deviceSheet);
          for (int attempt = 0; attempt < 100 && found.foreignTabsBefore.empty(); ++attempt) {
            found.foreignTabsBefore = ReadTitles(foreignOutput);
            if (found.foreignTabsBefore.empty()) Sleep(100);
          }
          d.CaptureAs(documentSheet, "main-language-before-en");
          d.CaptureAs(deviceSheet, "device-language-before-en");

          choose(mainPage, 1);  // 简体中文
          SendMessageW(documentSheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
          Sleep(700);  // the repaints the change asked for
          found.documentTabs = d.TabTitles(documentSheet);
          found.deviceTabs = d.TabTitles(deviceSheet);
          found.mainLogGroup = TextOf(GetDlgItem(mainPage, 1209));
          found.deviceVersionLine = TextOf(GetDlgItem(deviceVersion, 1112));
          Sleep(300);  // the other program writes its titles every 100 ms
          found.foreignAlive = WaitForSingleObject(foreign.hProcess, 0) == WAIT_TIMEOUT;
          found.foreignTabsAfter = ReadTitles(foreignOutput);
          d.CaptureAs(documentSheet, "main-language-after-zh");
          d.CaptureAs(deviceSheet, "device-language-after-zh");
          SendMessageW(documentSheet, PSM_SETCURSEL, 5, 0);
          Sleep(300);
          found.documentVersionLine = TextOf(GetDlgItem(Driver::CurrentPage(documentSheet), 1112));
          d.CaptureAs(documentSheet, "version-document-language-after-zh");
          SendMessageW(deviceSheet, PSM_SETCURSEL, 0, 0);
          Sleep(300);
          found.utilitySelfTest = TextOf(GetDlgItem(Driver::CurrentPage(deviceSheet), 1036));
          d.CaptureAs(deviceSheet, "utility-language-after-zh");

          // Back to English with the document sheet's OK; the device sheet follows, then closes.
          SendMessageW(documentSheet, PSM_SETCURSEL, 0, 0);
          choose(mainPage, 0);
          SendMessageW(documentSheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
          found.deviceTabsAtOk = d.TabTitles(deviceSheet);
          PostMessageW(deviceSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(deviceSheet)) PostMessageW(deviceSheet, WM_CLOSE, 0, 0);
          PostMessageW(documentSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(documentSheet)) PostMessageW(documentSheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    EXPECT_GT(device.answer, 0);
    nested_ = nullptr;
    device.object->Release();
    if (foreign.hProcess != nullptr) {
      TerminateProcess(foreign.hProcess, 0);
      WaitForSingleObject(foreign.hProcess, 5000);
      CloseHandle(foreign.hProcess);
      CloseHandle(foreign.hThread);
    }
    return found;
  }

  const plugin::OperationSlotFields& EndDoc() { return plugin::Slot(plugin::SlotId::kEndDoc); }

  static HMODULE module_;
  std::vector<uint8_t> record_;
  // The plug-in keeps the helper until its object is released at the end of the suite.
  static HostHelper helper_;
  DriverItems items_;
  std::wstring printerName_ = L"MQ-450";
  host::OemCuipParam cuip_{};
  host::OemUiPsParam psParam_{};
};

HMODULE SheetHost::module_ = nullptr;
HostHelper SheetHost::helper_;

TEST_F(SheetHost, DocumentSheetInEnglish) {
  SetLanguage(L"ENG_MQ450.res");
  const DocumentFindings found = DocumentSheet("en");
  EXPECT_EQ(found.tabs, (std::vector<std::wstring>{L"Main", L"Water Mark", L"Operation", L"1D Code",
                                                   L"2D Code", L"Version"}));
  EXPECT_EQ(found.editorTitle, L"End Document Operation");
  EXPECT_EQ(Utf8(found.errorText), "Command length error!");
  EXPECT_TRUE(found.editorOpenAfterError);
  EXPECT_EQ(found.shownAgain, L"1D 56 42 00 ");
  EXPECT_EQ(found.helpTips, 20);

  // The end-of-document slot holds what the editor stored; Cancel on the second opening changed nothing.
  const uint8_t* r = record_.data();
  EXPECT_EQ(EndDoc().sendCommand.Get(r), 1);
  EXPECT_EQ(EndDoc().commandLength.Get(r), 4);
  EXPECT_EQ(std::vector<uint8_t>(r + EndDoc().command.offset, r + EndDoc().command.offset + 5),
            (std::vector<uint8_t>{0x1D, 0x56, 0x42, 0x00, 0x00}));
  EXPECT_EQ(EndDoc().cutType.Get(r), 2);
  EXPECT_EQ(EndDoc().feedMm.Get(r), 100);
  EXPECT_EQ(EndDoc().buzzerBeeps.Get(r), 3);
  EXPECT_EQ(EndDoc().buzzerVolume.Get(r), 255);
  EXPECT_EQ(EndDoc().feedToCut.Get(r), 1);
  // The other slots keep their defaults.
  EXPECT_EQ(plugin::Slot(plugin::SlotId::kEndPage).commandLength.Get(r), 0);

  // The density item was renamed and the host told, at init and again whenever the Main page painted; the
  // Main page's apply pushed the paper size it shows (the driver's own choice, Letter) into the form item.
  EXPECT_EQ(std::wstring(items_.items[0].pName), L"Print Density");
  EXPECT_EQ(std::wstring(items_.densityParams[2].pData), L"Density2");
  EXPECT_EQ(std::wstring(items_.items[1].pName), L"Paper Size");
  ASSERT_GE(helper_.updates.size(), 2u);
  EXPECT_EQ(helper_.updates[0].item, &items_.items[0]);
  for (const auto& update : helper_.updates) {
    EXPECT_EQ(update.pci, cuip_.poemuiobj);
    EXPECT_EQ(update.mode, host::kOemCuipDocProp);
  }
  EXPECT_TRUE(std::any_of(helper_.updates.begin(), helper_.updates.end(),
                          [this](const auto& update) { return update.item == &items_.items[1]; }));
  EXPECT_EQ(items_.items[1].Sel, 0);
  EXPECT_NE(items_.items[1].Flags & OPTIF_CHANGED, 0u);
  EXPECT_EQ(plugin::settings::kFormName.Get(r), u"Letter");
}

TEST_F(SheetHost, DeviceSheetInEnglish) {
  SetLanguage(L"ENG_MQ450.res");
  int treeItems = 0;
  EXPECT_EQ(DeviceSheet("en", &treeItems),
            (std::vector<std::wstring>{L"Utility", L"Download", L"Font", L"Version"}));
  EXPECT_EQ(treeItems, 19);
}

TEST_F(SheetHost, DocumentSheetInSimplifiedChinese) {
  SetLanguage(L"CHN_MQ450.res");
  const DocumentFindings found = DocumentSheet("zh");
  ASSERT_EQ(found.tabs.size(), 6u);
  EXPECT_NE(found.tabs[2], L"Operation");
  EXPECT_NE(found.editorTitle, L"End Document Operation");
  EXPECT_NE(Utf8(found.errorText), "Command length error!");
  EXPECT_EQ(found.shownAgain, L"1D 56 42 00 ");
  EXPECT_EQ(EndDoc().commandLength.Get(record_.data()), 4);
  EXPECT_NE(std::wstring(items_.items[0].pName), L"Print Density");
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, DeviceSheetInSimplifiedChinese) {
  SetLanguage(L"CHN_MQ450.res");
  int treeItems = 0;
  const std::vector<std::wstring> tabs = DeviceSheet("zh", &treeItems);
  ASSERT_EQ(tabs.size(), 4u);
  EXPECT_NE(tabs[2], L"Font");
  EXPECT_EQ(treeItems, 19);
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, DocumentSheetInTraditionalChinese) {
  SetLanguage(L"CHF_MQ450.res");
  const DocumentFindings found = DocumentSheet("tw");
  // Texts that differ from the simplified ones show which file was read.
  ASSERT_EQ(found.tabs.size(), 6u);
  EXPECT_NE(found.tabs[2], L"Operation");
  EXPECT_EQ(Utf8(found.editorTitle), "文件結束操作");
  EXPECT_EQ(Utf8(found.errorText), "命令長度錯誤！");
  EXPECT_EQ(found.shownAgain, L"1D 56 42 00 ");
  EXPECT_EQ(EndDoc().commandLength.Get(record_.data()), 4);
  EXPECT_EQ(Utf8(items_.items[0].pName), "列印濃度");
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, DeviceSheetInTraditionalChinese) {
  SetLanguage(L"CHF_MQ450.res");
  int treeItems = 0;
  const std::vector<std::wstring> tabs = DeviceSheet("tw", &treeItems);
  ASSERT_EQ(tabs.size(), 4u);
  EXPECT_EQ(Utf8(tabs[2]), "字型");
  EXPECT_EQ(treeItems, 19);
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, DownloadPageInEnglish) {
  SetLanguage(L"ENG_MQ450.res");
  ExpectDownloadJobs(DownloadSession("en"));
}

TEST_F(SheetHost, DownloadPageInSimplifiedChinese) {
  SetLanguage(L"CHN_MQ450.res");
  ExpectDownloadJobs(DownloadSession("zh"));
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, DownloadPageInTraditionalChinese) {
  SetLanguage(L"CHF_MQ450.res");
  ExpectDownloadJobs(DownloadSession("tw"));
  SetLanguage(L"ENG_MQ450.res");
}

}  // namespace

TEST_F(SheetHost, UtilityPageSelfTestAndControlFontEditor) {
  for (const char* language : {"en", "zh", "tw"}) {
    SCOPED_TRACE(language);
    SetLanguage(std::string(language) == "en"   ? L"ENG_MQ450.res"
                : std::string(language) == "zh" ? L"CHN_MQ450.res"
                                                : L"CHF_MQ450.res");
    const UtilityFindings found = UtilitySession(language);
    EXPECT_EQ(found.selfTest, (std::vector<uint8_t>{0x1B, 0x63, 0x3B, 0x01, 0x1D, 0x28, 0x41, 0x02, 0x00,
                                                    0x00, 0x02, 0x1B, 0x63, 0x3B, 0x00}));
    EXPECT_TRUE(found.editorOpened);
    EXPECT_EQ(found.rowA, L"<none>") << "the deleted row is not written back";
    EXPECT_EQ(found.rowB, L"1B 70 01 19 FA");
    EXPECT_TRUE(found.translatorOpened);
    EXPECT_EQ(found.rowPShown, L"1B 40 ");
    EXPECT_TRUE(found.rowPInView);
    EXPECT_EQ(found.rowP, L"1B 40");
  }
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, MainPageStartsTheViewerAndSwitchesTheLanguage) {
  SetLanguage(L"ENG_MQ450.res");
  const MainFindings found = MainSession();
  EXPECT_EQ(found.viewerArguments, L"MQ450  MQ-450");
  EXPECT_EQ(found.languageValue, L"CHN_MQ450.res");
  ASSERT_EQ(found.switchedTabs.size(), 6u);
  EXPECT_EQ(Utf8(found.switchedTabs[0]), "主要");
  EXPECT_EQ(Utf8(found.switchedLogGroup), "驱动日志");
  EXPECT_EQ(LanguageValue(L"LANGUAGE_MQ450"), L"ENG_MQ450.res") << "OK applied English again";
}

// --- The Water Mark page: a text watermark and a tiled picture watermark applied through the real sheet ---

struct WatermarkFindings {
  std::wstring notice;                         // the graphics notice the first kind raised
  std::vector<uint8_t> textFile, pictureFile;  // the picture file after each apply
  uint8_t mode = 0xFF, graphics = 0xFF, position = 0xFF, style = 0xFF;
  std::u16string text, path;
};

// The text of the first non-empty static control of a message box.
std::wstring MessageText(HWND box) {
  HWND text = FindWindowExW(box, nullptr, L"Static", nullptr);
  while (text != nullptr && TextOf(text).empty()) text = FindWindowExW(box, text, L"Static", nullptr);
  return text != nullptr ? TextOf(text) : L"";
}

TEST_F(SheetHost, WatermarkPageWritesTheTextAndThePictureFiles) {
  const std::wstring folder = L"C:\\mqwatermark\\";
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  CopyFileW((mq::testing::WineHostPathW(MQ_DOWNLOAD_DATA_DIR) + L"\\badge-48x32.bmp").c_str(),
            (folder + L"badge-48x32.bmp").c_str(), FALSE);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring pictureFile = std::wstring(temp) + printerName_ + L"1.bmp";
  const std::vector<uint8_t> expectedPicture = ReadBytes(mq::testing::WineHostPathW(MQ_DOWNLOAD_DATA_DIR) +
                                                         L"\\..\\watermark\\badge-48x32-picture.bmp");
  ASSERT_FALSE(expectedPicture.empty());

  for (const char* language : {"en", "zh", "tw"}) {
    SCOPED_TRACE(language);
    const std::string lang = language;
    SetLanguage(lang == "en" ? L"ENG_MQ450.res" : lang == "zh" ? L"CHN_MQ450.res" : L"CHF_MQ450.res");
    SetUp();  // a fresh default record for each language: graphics off, no watermark
    DeleteFileW(pictureFile.c_str());
    WatermarkFindings found;
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), language);
    const LONG answer = RunSheet(
        false,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
          HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          auto command = [page](int id, int code) {
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, code),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
          };
          auto choose = [&](int id, int index) {
            SendDlgItemMessageW(page, id, CB_SETCURSEL, index, 0);
            command(id, CBN_SELCHANGE);
          };
          auto slide = [page](int id, int position) {
            SendDlgItemMessageW(page, id, TBM_SETPOS, TRUE, position);
            SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
          };
          // Text Water Mark while graphics is off: the notice, answered by its OK.
          PostMessageW(page, WM_COMMAND, MAKEWPARAM(1078, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(page, 1078)));
          if (HWND box = d.WaitWindow([sheet](HWND w) {
                return Driver::IsDialog(w) && w != sheet && GetDlgItem(w, IDOK) != nullptr &&
                       FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr) == nullptr;
              })) {
            found.notice = MessageText(box);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            d.WaitGone(box);
          }
          SendDlgItemMessageW(page, 1078, BM_SETCHECK, BST_CHECKED, 0);
          SendDlgItemMessageW(page, 1077, BM_SETCHECK, BST_UNCHECKED, 0);
          choose(1020, 3);  // DRAFT
          choose(1022, 2);  // Bold
          // A face of ordinary metrics (the prefix's first family is a math font, whose cell is far taller
          // than its letters).
          const LRESULT sans = SendDlgItemMessageW(page, 1021, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(L"DejaVu Sans"));
          if (sans >= 0) choose(1021, static_cast<int>(sans));

          slide(1018, 45);
          d.Capture(sheet, "watermark-text");
          SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
          Sleep(300);
          found.textFile = ReadBytes(pictureFile);

          // Image Water Mark: graphics is on now, so no notice; Browse picks the 8-bit picture, then Tiled.
          SendMessageW(GetDlgItem(page, 1061), BM_CLICK, 0, 0);
          PostMessageW(page, WM_COMMAND, MAKEWPARAM(1049, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(page, 1049)));
          d.AnswerOpen(folder + L"badge-48x32.bmp");
          choose(1023, 9);  // Tiled
          slide(1082, 30);
          d.Capture(sheet, "watermark-tiled");
          SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
          Sleep(300);
          found.pictureFile = ReadBytes(pictureFile);
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    EXPECT_EQ(driver.screenshots, 2);
    const uint8_t* r = record_.data();
    namespace field = plugin::settings;
    EXPECT_FALSE(found.notice.empty());
    if (lang == "en") {
      EXPECT_EQ(Utf8(found.notice), "All Text will be printed as graphics image!");
    }
    EXPECT_EQ(field::kWatermarkMode.Get(r), 1);
    EXPECT_EQ(field::kPrintAsGraphics.Get(r), 1);
    EXPECT_EQ(field::kWatermarkPosition.Get(r), 9);
    EXPECT_EQ(field::kWatermarkSize.Get(r), 30);
    EXPECT_EQ(field::kWatermarkFontStyle.Get(r), 2);
    EXPECT_EQ(field::kWatermarkText.Get(r), u"DRAFT");
    EXPECT_EQ(field::kWatermarkBitmapPath.Get(r), u"C:\\mqwatermark\\badge-48x32.bmp");

    // The text square: 270054 bytes, rows bottom-up of 900 bytes, the dark text pixels around the centre.
    ASSERT_EQ(found.textFile.size(), 270054u);
    EXPECT_EQ(found.textFile[0], 'B');
    EXPECT_EQ(found.textFile[28], 24);
    double sx = 0, sy = 0;
    int dark = 0;
    // The ink's extent along the 45-degree baseline (u) and across it (v, upwards), from the square's centre.
    const double diagonal = std::sqrt(0.5);
    double uLow = 1e9, uHigh = -1e9, vLow = 1e9, vHigh = -1e9;
    for (int row = 0; row < 300; ++row) {
      for (int x = 0; x < 300; ++x) {
        const uint8_t* px = found.textFile.data() + 54 + static_cast<size_t>(row) * 900 + x * 3;
        if (px[0] + px[1] + px[2] >= 3 * 200) continue;
        sx += x;
        sy += 299 - row;
        ++dark;
        const double dx = x - 150.0, dy = (299 - row) - 150.0;
        const double u = (dx - dy) * diagonal, v = (-dx - dy) * diagonal;
        uLow = std::min(uLow, u), uHigh = std::max(uHigh, u);
        vLow = std::min(vLow, v), vHigh = std::max(vHigh, v);
      }
    }
    ASSERT_GT(dark, 500) << "the text is drawn";
    // The text cell is centred on the square, so the middle of the ink's extent is within a few pixels of it
    // (side bearings, and capitals standing on the baseline inside a cell that also holds the descent: some 5
    // pixels here; drawn from the baseline instead of the cell's bottom the text sat about 13 pixels low).
    const double uMiddle = (uLow + uHigh) / 2, vMiddle = (vLow + vHigh) / 2;
    EXPECT_LT(std::hypot(uMiddle, vMiddle), 8)
        << "ink middle along/across the baseline " << uMiddle << "," << vMiddle;
    std::printf("watermark text ink middle (%s): %.1f along, %.1f across\n", language, uMiddle, vMiddle);
    // The ink's centroid is pulled towards the heavy letters (D, R and A against F and T) but stays near it.
    const double cx = sx / dark, cy = sy / dark;
    EXPECT_LT(std::hypot(cx - 150, cy - 150), 12) << "centroid " << cx << "," << cy;
    std::printf("watermark text centroid (%s): %.1f, %.1f of %d dark pixels\n", language, cx, cy, dark);
    EXPECT_EQ(found.pictureFile, expectedPicture) << "the page's file is mq450 watermark image's";
  }
  SetLanguage(L"ENG_MQ450.res");
}

TEST_F(SheetHost, ALanguageChangeRetitlesBothOpenSheetsAndRepaintsTheirPages) {
  SetLanguage(L"ENG_MQ450.res");
  const LanguageFindings found = BothSheetsSession();
  EXPECT_EQ(found.documentTabsBefore, (std::vector<std::wstring>{L"Main", L"Water Mark", L"Operation",
                                                                 L"1D Code", L"2D Code", L"Version"}));
  EXPECT_EQ(found.deviceTabsBefore,
            (std::vector<std::wstring>{L"Utility", L"Download", L"Font", L"Version"}));
  ASSERT_EQ(found.documentTabs.size(), 6u);
  EXPECT_EQ(Utf8(found.documentTabs[0]), "主要");
  EXPECT_EQ(Utf8(found.documentTabs[5]), "版本");
  ASSERT_EQ(found.deviceTabs.size(), 4u);
  EXPECT_EQ(Utf8(found.deviceTabs[0]), "工具");
  EXPECT_EQ(Utf8(found.deviceTabs[3]), "版本");
  for (size_t i = 0; i < 4; ++i) EXPECT_NE(found.deviceTabs[i], found.deviceTabsBefore[i]) << i;
  EXPECT_EQ(Utf8(found.mainLogGroup), "驱动日志");
  EXPECT_EQ(Utf8(found.deviceVersionLine), "产品信息:");
  EXPECT_EQ(Utf8(found.documentVersionLine), "产品信息:");
  EXPECT_EQ(Utf8(found.utilitySelfTest), "自检");
  EXPECT_EQ(found.deviceTabsAtOk, found.deviceTabsBefore);
  EXPECT_EQ(LanguageValue(L"LANGUAGE_MQ450"), L"ENG_MQ450.res");
  // A window of another process is left as it was, though its caption names the printer.
  EXPECT_EQ(found.foreignTabsBefore, L"One|Two|Three|Four#0");
  EXPECT_TRUE(found.foreignAlive);
  EXPECT_EQ(found.foreignTabsAfter, found.foreignTabsBefore) << "titles # tab-setting messages received";
}

// --- The 1D and 2D Code pages, driven by window messages, on a printer whose port is mapped to a Unix file
// ---

namespace {

class BarcodePagesHost : public SheetHost {
 protected:
  // What the printer received from each test print, and what the pages showed.
  struct Findings {
    std::vector<uint8_t> code128, gs1Expanded, pdf417, qr;
    std::wstring millimetres, points;  // the size shown after Apply
    bool gs1GroupShown = false, generalGroupHidden = false, compositeRowEnabled = false;
    std::wstring rowsShown, qrSample;
    int tips1D = 0, tips2D = 0;  // the tools of each page's help-tip window
  };

  static void SetText(HWND page, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static void Choose(HWND page, int id, int index) {
    HWND list = GetDlgItem(page, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
  static void Click(HWND page, int id) { SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }

  Findings Session(const std::string& language) {
    Findings found;
    const std::string jobUnix = std::string(MQ_SCREENS_DIR) + "/../wine-barcode-job.bin";
    const std::wstring job = mq::testing::WineHostPathW(jobUnix);
    HANDLE printer = JobPrinter(jobUnix);
    EXPECT_NE(printer, nullptr);
    cuip_.hPrinter = printer;
    auto print = [&](HWND page, int button) { return PressForJob(page, button, job); };
    Driver driver(GetCurrentThreadId(), mq::testing::WineHostPathW(MQ_SCREENS_DIR), language);
    const LONG answer = RunSheet(
        false,
        [&](Driver& d) {
          HWND sheet = d.Sheet();
          if (sheet == nullptr) return;
          auto pageAt = [&](int tab) {
            SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(tab), 0);
            return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          };
          // A page's help-tip window belongs to the sheet (a pop-up's owner is a top-level window); it is
          // the one whose tools are the page's controls.
          auto tipsOf = [&d](HWND page) {
            HWND tips = d.FindHidden([page](HWND w) {
              wchar_t name[32] = {};
              GetClassNameW(w, name, 32);
              if (wcscmp(name, TOOLTIPS_CLASSW) != 0) return false;
              wchar_t text[1100] = {};
              TOOLINFOW tool{};
              tool.cbSize = sizeof(tool);
              tool.lpszText = text;
              return SendMessageW(w, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) != 0 &&
                     tool.hwnd == page;
            });
            return tips != nullptr ? static_cast<int>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0)) : 0;
          };
          // 1D Code2 becomes Code128: width 4, height 100, HRI below in Font B.
          HWND one = pageAt(3);
          found.tips1D = tipsOf(one);
          Choose(one, 1020, 1);
          Choose(one, 1022, 8);
          SetText(one, 1206, L"4");
          SetText(one, 1205, L"100");
          Choose(one, 1023, 2);
          Click(one, 1061);
          SetText(one, 1104, L"{A12{C3456");
          d.Capture(sheet, "1dcode-general");
          found.code128 = print(one, 1036);
          SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
          found.millimetres = TextOf(GetDlgItem(one, 1052));
          found.points = TextOf(GetDlgItem(one, 1055));
          // 1D Code3 becomes GS1 DataBar Expanded, composite, with its own parameters.
          Choose(one, 1020, 2);
          Choose(one, 1022, 12);
          found.gs1GroupShown = IsWindowVisible(GetDlgItem(one, 1173)) != FALSE;
          found.generalGroupHidden = IsWindowVisible(GetDlgItem(one, 1172)) == FALSE;
          SetText(one, 1049, L"3");
          SetText(one, 1050, L"60");
          Click(one, 1100);
          found.compositeRowEnabled = IsWindowEnabled(GetDlgItem(one, 1051)) != FALSE;
          SetText(one, 1051, L"5");
          SetText(one, 1059, L"2");
          Choose(one, 1025, 1);
          Choose(one, 1026, 0);
          SetText(one, 1104, L"0112345678901231");
          d.Capture(sheet, "1dcode-databar");
          found.gs1Expanded = print(one, 1036);

          // 2D Code1 stays PDF417: 5 columns, 95 rows (kept at 90), width 2, height 4, level 3.
          HWND two = pageAt(4);
          found.tips2D = tipsOf(two);
          SetText(two, 1049, L"5");
          SetText(two, 1050, L"95");
          found.rowsShown = TextOf(GetDlgItem(two, 1050));
          SetText(two, 1203, L"2");
          SetText(two, 1204, L"4");
          Choose(two, 1023, 3);
          SetText(two, 1107, L"MQ-450 PDF417");
          d.Capture(sheet, "2dcode-pdf417");
          found.pdf417 = print(two, 1106);
          // 2D Code2 becomes a QR Code: width 6, Japanese, model 1, error level H.
          Choose(two, 1201, 1);
          Choose(two, 1202, 3);  // the GS1 DataBar group on its way, for a picture of it
          Click(two, 1098);
          d.Capture(sheet, "2dcode-databar");
          Click(two, 1097);
          Choose(two, 1202, 4);
          found.qrSample = TextOf(GetDlgItem(two, 1107));
          SetText(two, 1071, L"6");
          Choose(two, 1026, 1);
          Choose(two, 1027, 0);
          Choose(two, 1028, 2);
          SetText(two, 1107, L"https://example.com/mq450");
          d.Capture(sheet, "2dcode-qr");
          found.qr = print(two, 1106);
          PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
          if (!d.WaitGone(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        },
        driver);
    EXPECT_GT(answer, 0);
    EXPECT_EQ(driver.screenshots, 5);
    RemoveJobPrinter(printer);
    return found;
  }

  // The jobs against the files mq450 barcode job writes for the record the pages should leave, and the
  // host's record against that record.
  void ExpectJobsAndRecord(const Findings& found) {
    const std::wstring data = mq::testing::WineHostPathW(MQ_BARCODE_DATA_DIR) + L"\\";
    EXPECT_EQ(found.code128, ReadBytes(data + L"page-1d-code128.prn"));
    EXPECT_EQ(found.gs1Expanded, ReadBytes(data + L"page-1d-gs1-expanded.prn"));
    EXPECT_EQ(found.pdf417, ReadBytes(data + L"page-2d-pdf417.prn"));
    EXPECT_EQ(found.qr, ReadBytes(data + L"page-2d-qr.prn"));
    EXPECT_FALSE(found.code128.empty());
    EXPECT_EQ(found.millimetres, L" 16.5") << "100 dots and Font B below: 117 dots";
    EXPECT_EQ(found.points, L" 47.0");
    EXPECT_TRUE(found.gs1GroupShown);
    EXPECT_TRUE(found.generalGroupHidden);
    EXPECT_TRUE(found.compositeRowEnabled);
    EXPECT_EQ(found.rowsShown, L"90");
    EXPECT_EQ(found.qrSample, L"01234567890123");
    EXPECT_EQ(found.tips1D, 17);
    EXPECT_EQ(found.tips2D, 22);
    const std::vector<uint8_t> expected = ReadBytes(data + L"pages-settings.bin");
    ASSERT_EQ(expected.size(), plugin::kPrivateSettingsSize);
    const size_t first = plugin::kBarcode1DBase;
    const size_t end = plugin::kBarcode2DBase + plugin::kBarcode2DCount * plugin::kBarcode2DSize;
    EXPECT_EQ(std::vector<uint8_t>(record_.begin() + first, record_.begin() + end),
              std::vector<uint8_t>(expected.begin() + first, expected.begin() + end))
        << "the barcode entries the host keeps hold the edited values";
  }
};

TEST_F(BarcodePagesHost, TestPrintsAndEditedEntriesInEveryLanguage) {
  for (const char* language : {"en", "zh", "tw"}) {
    SCOPED_TRACE(language);
    SetLanguage(std::string(language) == "en"   ? L"ENG_MQ450.res"
                : std::string(language) == "zh" ? L"CHN_MQ450.res"
                                                : L"CHF_MQ450.res");
    SetUp();
    ExpectJobsAndRecord(Session(language));
  }
  SetLanguage(L"ENG_MQ450.res");
}

}  // namespace
