// printerhost.exe: plays the universal-driver UI host on a printer that the package's installer put in place.
// It finds the installed MQ-450 printer through the spooler, loads the plug-in from the printer driver's own
// files, opens the document and the device property sheets through the system's CommonPropertySheetUIW and
// works them from a second thread as a user would: a screenshot of every page, a 1D and a 2D test print, a
// logo download and the self-test. Each job the printer's port receives is saved. One line per step goes to
// standard output: "STEP <name> ok|FAIL <detail>"; the exit code is the number of failed steps.
//
// usage: printerhost.exe OUT_DIR PORT_FILE LOGO_BMP
//   OUT_DIR    folder for the screenshots (<page>-en.png), the jobs (job-<name>.bin), the data each test
//   print
//              sent (job-<name>.data.txt) and the document settings record after OK (document-settings.bin)
//   PORT_FILE  the file the printer's port is mapped to (read after each job, deleted before it)
//   LOGO_BMP   the picture the Download page converts and sends
#include <windows.h>
#include <commctrl.h>
#include <compstui.h>
#include <dlgs.h>
#include <prsht.h>
#include <winspool.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FileBytes.h"
#include "MQ450UIResources.h"
#include "RecordingDriverUI.h"
#include "WindowCapture.h"
#include "plugin/HostTypes.h"
#include "plugin/PrivateSettings.h"

namespace {

using namespace mq;
using mq::testing::ReadBytes;

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 4 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? n : 0);
  return out;
}

int g_failed = 0;

// Control ids of the setup program's wizard window and of its licence page.
constexpr int kWizardPageArea = 1001;
constexpr int kWizardFirstPage = 1200;
constexpr int kLicenseAccept = 1057;

void Step(const std::string& name, bool ok, const std::string& detail) {
  std::printf("STEP %s %s %s\n", name.c_str(), ok ? "ok" : "FAIL", detail.c_str());
  std::fflush(stdout);
  if (!ok) ++g_failed;
}

bool WriteBytes(const std::wstring& path, const void* data, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
}

bool IsDialog(HWND w) {
  wchar_t name[32] = {};
  GetClassNameW(w, name, 32);
  return wcscmp(name, L"#32770") == 0;
}

// --- The user, on a second thread ---

class User {
 public:
  User(DWORD uiThread, std::wstring out, std::wstring portFile)
      : uiThread_(uiThread), out_(std::move(out)), portFile_(std::move(portFile)) {}

  HWND WaitWindow(const std::function<bool(HWND)>& match, int milliseconds = 15000) {
    struct Search {
      const std::function<bool(HWND)>* match;
      HWND found;
    } search{&match, nullptr};
    for (int waited = 0; waited < milliseconds; waited += 50) {
      EnumThreadWindows(
          uiThread_,
          [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (!IsWindowVisible(w) || !(*s->match)(w)) return TRUE;
            s->found = w;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) return search.found;
      Sleep(50);
    }
    return nullptr;
  }

  bool WaitGone(HWND window) {
    for (int waited = 0; waited < 15000; waited += 50) {
      if (!IsWindow(window) || !IsWindowVisible(window)) return true;
      Sleep(50);
    }
    return false;
  }

  HWND Sheet() {
    return WaitWindow(
        [](HWND w) { return IsDialog(w) && FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr); });
  }

  HWND ShowTab(HWND sheet, int index) {
    SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }

  // A PNG of the window as the screen shows it.
  void Capture(HWND window, const std::string& name) {
    const std::wstring file = out_ + L"\\" + std::wstring(name.begin(), name.end()) + L"-en.png";
    Step("screenshot-" + name, mq::testing::CaptureWindow(window, file), name + "-en.png");
  }

  // Presses a button of a page and saves what the printer's port received from the job it started.
  void Press(HWND page, int button, const std::string& job) {
    DeleteFileW(portFile_.c_str());
    HWND control = GetDlgItem(page, button);
    if (control == nullptr || !IsWindowEnabled(control))
      return Step(job, false, "the page has no enabled button " + std::to_string(button));
    SendMessageW(control, BM_CLICK, 0, 0);
    std::vector<uint8_t> arrived;
    for (int attempt = 0; attempt < 60 && arrived.empty(); ++attempt) {
      arrived = ReadBytes(portFile_);
      if (arrived.empty()) Sleep(100);
    }
    if (arrived.empty()) return Step(job, false, "no job reached the port");
    const std::wstring name = out_ + L"\\job-" + std::wstring(job.begin(), job.end()) + L".bin";
    WriteBytes(name, arrived.data(), arrived.size());
    Step(job, true, std::to_string(arrived.size()) + " bytes reached the port");
  }

  // Saves the text of a test print's data field beside its job.
  void SaveData(HWND page, int field, const std::string& job) {
    const std::string data = Utf8(TextOf(GetDlgItem(page, field)));
    WriteBytes(out_ + L"\\job-" + std::wstring(job.begin(), job.end()) + L".data.txt", data.data(),
               data.size());
  }

  // Answers a page's Open dialog with a file name.
  void AnswerOpen(const std::wstring& path) {
    HWND open = WaitWindow([](HWND w) {
      return IsDialog(w) && (GetDlgItem(w, cmb13) != nullptr || GetDlgItem(w, edt1) != nullptr);
    });
    if (open == nullptr) return Step("open-dialog", false, "the Open dialog did not appear");
    HWND name = GetDlgItem(open, cmb13) != nullptr ? GetDlgItem(open, cmb13) : GetDlgItem(open, edt1);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitGone(open);
  }

  void Close(HWND sheet) {
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    if (!WaitGone(sheet)) {
      Step("close", false, "the sheet did not close on OK");
      PostMessageW(sheet, WM_CLOSE, 0, 0);
    }
  }

 private:
  DWORD uiThread_;
  std::wstring out_;
  std::wstring portFile_;
};

// --- The host side ---

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
host::IPrintOemUI* g_object = nullptr;
bool g_device = false;

// The system calls this with the Windows callback convention; MinGW's PFNPROPSHEETUI leaves it out.
LONG CALLBACK ForwardSheetUi(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto* portable = reinterpret_cast<host::PropSheetUiInfo*>(info);
  const com::HResult hr = g_device ? g_object->DevicePropertySheets(portable, lParam)
                                   : g_object->DocumentPropertySheets(portable, lParam);
  return hr == com::kOk ? 1 : -1;
}

struct Printer {
  std::wstring name, port, driver, plugin;
  HANDLE handle = nullptr;
};

// The first local printer whose driver is an MQ-450 driver, and the plug-in among its driver's files.
bool FindPrinter(Printer* p) {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) return false;
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (printers[i].pDriverName != nullptr && wcsstr(printers[i].pDriverName, L"MQ-450") != nullptr) {
      p->name = printers[i].pPrinterName;
      p->port = printers[i].pPortName != nullptr ? printers[i].pPortName : L"";
      p->driver = printers[i].pDriverName;
      break;
    }
  }
  if (p->name.empty()) return false;
  std::vector<wchar_t> name(p->name.begin(), p->name.end());
  name.push_back(0);
  if (!OpenPrinterW(name.data(), &p->handle, nullptr)) return false;

  needed = 0;
  GetPrinterDriverW(p->handle, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> info(needed + 1);
  if (GetPrinterDriverW(p->handle, nullptr, 3, info.data(), needed, &needed)) {
    const auto* d = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
    for (const wchar_t* f = d->pDependentFiles; f != nullptr && *f != 0; f += wcslen(f) + 1) {
      const size_t n = wcslen(f);
      if (n >= 11 && _wcsicmp(f + n - 11, L"MQ450UI.DLL") == 0) p->plugin = f;
    }
  }
  // A dependent file may be named without its folder: the driver directory and its version folder hold it.
  if (p->plugin.empty() || p->plugin.find(L'\\') == std::wstring::npos) {
    wchar_t dir[MAX_PATH] = {};
    DWORD size = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof(dir), &size);
    for (const wchar_t* sub : {L"\\3\\MQ450UI.dll", L"\\MQ450UI.dll"}) {
      const std::wstring candidate = std::wstring(dir) + sub;
      if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) {
        p->plugin = candidate;
        break;
      }
    }
  }
  return !p->plugin.empty();
}

bool LoadPlugin(const std::wstring& path, std::string* detail) {
  HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr)
    return *detail = "LoadLibrary failed, error " + std::to_string(GetLastError()), false;
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  com::IClassFactory* factory = nullptr;
  if (getClassObject == nullptr || getClassObject(reinterpret_cast<REFCLSID>(host::kClsidOemUi),
                                                  reinterpret_cast<REFIID>(com::kIidIClassFactory),
                                                  reinterpret_cast<void**>(&factory)) != S_OK) {
    return *detail = "no class factory", false;
  }
  void* made = nullptr;
  const bool ok = factory->CreateInstance(nullptr, host::kIidIPrintOemUI, &made) == com::kOk;
  factory->Release();
  if (!ok) return *detail = "the class factory made no plug-in object", false;
  g_object = static_cast<host::IPrintOemUI*>(made);
  return true;
}

// The setup program's windows: its wizard (a dialog with the Next button) and any message box it shows.
struct ProcessWindows {
  DWORD process;
  HWND wizard = nullptr;
  HWND box = nullptr;
};

ProcessWindows FindProcessWindows(DWORD process) {
  ProcessWindows found{process};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<ProcessWindows*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != f->process || !IsWindowVisible(w) || !IsDialog(w)) return TRUE;
        if (GetDlgItem(w, kWizardPageArea) != nullptr) {
          f->wizard = w;
        } else {
          f->box = w;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The page the wizard shows: its pages are child dialogs with the ids 1200 (licence) to 1204 (port).
std::string VisiblePage(HWND wizard) {
  static const char* const kNames[] = {"licence", "model", "mode", "os", "port"};
  for (int i = 0; i < 5; ++i) {
    HWND page = GetDlgItem(wizard, kWizardFirstPage + i);
    if (page != nullptr && IsWindowVisible(page)) return kNames[i];
  }
  return "";
}

int WalkWizard(const std::wstring& out, const std::wstring& installer) {
  CreateDirectoryW(out.c_str(), nullptr);
  std::wstring folder = installer.substr(0, installer.find_last_of(L'\\'));
  std::vector<wchar_t> command(installer.begin(), installer.end());
  command.push_back(0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    Step("wizard-start", false, "the setup program did not start, error " + std::to_string(GetLastError()));
    return g_failed;
  }
  User user(0, out, L"");
  HWND wizard = nullptr;
  for (int waited = 0; waited < 20000 && wizard == nullptr; waited += 100) {
    wizard = FindProcessWindows(process.dwProcessId).wizard;
    if (wizard == nullptr) Sleep(100);
  }
  Step("wizard-start", wizard != nullptr,
       wizard != nullptr ? Utf8(L"the wizard \"" + TextOf(wizard) + L"\" opened") : "no wizard window");
  std::vector<std::string> seen;
  for (int step = 0; wizard != nullptr && step < 8; ++step) {
    Sleep(300);
    const std::string page = VisiblePage(wizard);
    if (page.empty() || (!seen.empty() && seen.back() == page)) break;
    seen.push_back(page);
    user.Capture(wizard, "wizard-" + page);
    if (page == "licence")
      SendDlgItemMessageW(GetDlgItem(wizard, kWizardFirstPage), kLicenseAccept, BM_CLICK, 0, 0);
    if (page == "port") break;  // Next would be Install
    SendDlgItemMessageW(wizard, IDOK, BM_CLICK, 0, 0);
  }
  Step("wizard-pages", seen.size() >= 4, std::to_string(seen.size()) + " pages shown");
  if (wizard != nullptr) PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  // Cancel may ask first: the answer is Yes.
  for (int waited = 0; waited < 5000; waited += 100) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    if (HWND box = FindProcessWindows(process.dwProcessId).box) PostMessageW(box, WM_COMMAND, IDYES, 0);
  }
  const bool ended = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  Step("wizard-cancel", ended, ended ? "Cancel closed the wizard" : "the wizard stayed open after Cancel");
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return g_failed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--wizard") return WalkWizard(argv[2], argv[3]);
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: printerhost.exe OUT_DIR PORT_FILE LOGO_BMP | --wizard OUT_DIR INSTALLER_EXE\n");
    return 100;
  }
  const std::wstring out = argv[1], portFile = argv[2], logo = argv[3];
  CreateDirectoryW(out.c_str(), nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  Printer printer;
  const bool found = FindPrinter(&printer);
  Step("find-printer", found,
       found ? Utf8(printer.name + L" on " + printer.port + L", driver " + printer.driver + L", plug-in " +
                    printer.plugin)
             : "no printer with an MQ-450 driver and its plug-in");
  if (!found) return g_failed;
  std::string detail;
  const bool loaded = LoadPlugin(printer.plugin, &detail);
  Step("load-plugin", loaded, loaded ? "IPrintOemUI from the installed MQ450UI.dll" : detail);
  if (!loaded) return g_failed;

  std::vector<uint8_t> record(plugin::kPrivateSettingsSize, 0);
  host::OemDmParam dm{};
  dm.cbSize = sizeof(dm);
  dm.pOEMDMOut = record.data();
  dm.cbBufSize = plugin::kPrivateSettingsSize;
  Step("default-settings", g_object->DevMode(host::kOemDmDefault, &dm) == com::kOk, "DevMode defaults");
  static mq::testing::RecordingDriverUI helper;
  g_object->PublishDriverInterface(&helper);

  std::vector<wchar_t> name(printer.name.begin(), printer.name.end());
  name.push_back(0);
  host::OemCuipParam cuip{};
  cuip.cbSize = sizeof(cuip);
  cuip.hPrinter = printer.handle;
  cuip.pPrinterName = reinterpret_cast<host::WChar*>(name.data());
  cuip.pOEMDM = record.data();
  host::OemUiPsParam ps{};
  ps.cbSize = sizeof(ps);
  ps.hPrinter = printer.handle;
  ps.pPrinterName = reinterpret_cast<host::WChar*>(name.data());
  ps.pOEMDM = record.data();

  using CommonPropertySheetUIFn = LONG(APIENTRY*)(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD);
  const auto commonPropertySheetUI = reinterpret_cast<CommonPropertySheetUIFn>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"compstui.dll"), "CommonPropertySheetUIW")));
  auto runSheet = [&](bool device, const std::function<void(User&)>& script) {
    g_device = device;
    g_object->CommonUIProp(device ? host::kOemCuipPrnProp : host::kOemCuipDocProp, &cuip);
    User user(GetCurrentThreadId(), out, portFile);
    std::thread player([&] { script(user); });
    DWORD result = 0;
    const LONG answer = commonPropertySheetUI == nullptr
                            ? 0
                            : commonPropertySheetUI(nullptr, reinterpret_cast<PFNPROPSHEETUI>(ForwardSheetUi),
                                                    reinterpret_cast<LPARAM>(&ps), &result);
    player.join();
    Step(device ? "device-sheet" : "document-sheet", answer > 0,
         "CommonPropertySheetUIW answered " + std::to_string(answer));
  };

  runSheet(false, [&](User& u) {
    HWND sheet = u.Sheet();
    if (sheet == nullptr) return Step("document-sheet-open", false, "no sheet window");
    const char* pages[] = {"main", "watermark", "operation", "1dcode", "2dcode", "version-document"};
    for (int i = 0; i < 6; ++i) {
      u.ShowTab(sheet, i);
      u.Capture(sheet, pages[i]);
    }
    HWND page = u.ShowTab(sheet, 3);
    u.SaveData(page, IDC_1DCODE_DATA, "1d-test-print");
    u.Press(page, IDC_1DCODE_PRINT, "1d-test-print");
    page = u.ShowTab(sheet, 4);
    u.SaveData(page, IDC_2DCODE_DATA, "2d-test-print");
    u.Press(page, IDC_2DCODE_PRINT, "2d-test-print");
    u.Close(sheet);
  });
  WriteBytes(out + L"\\document-settings.bin", record.data(), record.size());

  runSheet(true, [&](User& u) {
    HWND sheet = u.Sheet();
    if (sheet == nullptr) return Step("device-sheet-open", false, "no sheet window");
    // The logo goes first, so that the self-test page, which prints the stored logos, shows it.
    HWND page = u.ShowTab(sheet, 1);
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_ADD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_DOWNLOAD_ADD)));
    u.AnswerOpen(logo);
    HWND list = GetDlgItem(page, IDC_DOWNLOAD_LOGO_LIST);
    LVITEMW select = {};
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
    SendMessageW(GetDlgItem(page, IDC_DOWNLOAD_TRANSFORMATION), BM_CLICK, 0,
                 0);  // Transformation: the converted preview
    u.Capture(sheet, "download");
    u.Press(page, IDC_DOWNLOAD_DOWNLOAD_ALL, "logo-download");
    page = u.ShowTab(sheet, 0);
    u.Press(page, IDC_UTILITY_SELFTEST, "self-test");
    u.Capture(sheet, "utility");
    const char* pages[] = {"font", "version-device"};
    for (int i = 0; i < 2; ++i) {
      u.ShowTab(sheet, 2 + i);
      u.Capture(sheet, pages[i]);
    }
    u.Close(sheet);
  });

  g_object->Release();
  ClosePrinter(printer.handle);
  return g_failed;
}
