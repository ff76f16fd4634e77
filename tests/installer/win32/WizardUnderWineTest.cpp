// installer.exe itself under Wine (x64 build), in the language the test runs in (LC_ALL): the quiet
// installation with its exit codes and log, and the wizard walked page by page by window messages from this
// process to Install on LPT1:, with a second start bringing the first to the front, and a screenshot of every
// page, the About box and the progress dialog in build/mingw-x64/screens.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InstallerResources.h"
#include "WindowCapture.h"
#include "WineHostPath.h"
#include "WinePackage.h"

namespace {

std::wstring Temp() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

// The language suffix of the screenshots, from the system default language the run has.
std::string LanguageSuffix() {
  switch (GetSystemDefaultLangID()) {
    case 0x0804:
    case 0x1004:
      return "zh";
    case 0x0404:
    case 0x0C04:
    case 0x1404:
      return "tw";
    default:
      return "en";
  }
}

std::wstring LanguageTag() {
  const std::string s = LanguageSuffix();
  return s == "zh" ? L"CN" : s == "tw" ? L"TCN" : L"EN";
}

std::string ReadUtf8(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

void RemovePrinter(const wchar_t* name) {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterW(const_cast<LPWSTR>(name), &printer, &defaults)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
}

bool DriverExists(const wchar_t* name) {
  std::vector<BYTE> buffer(1 << 16);
  DWORD needed = 0;
  DWORD count = 0;
  if (!EnumPrinterDriversW(nullptr, nullptr, 3, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count))
    return false;
  for (DWORD i = 0; i < count; ++i) {
    if (std::wstring(reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data())[i].pName) == name) return true;
  }
  return false;
}

bool PrinterExists(const wchar_t* name) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, nullptr)) return false;
  ClosePrinter(printer);
  return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 15000) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

std::wstring TitleOf(HWND window) {
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  return title;
}

// The visible top-level dialogs of a process, in z-order.
std::vector<HWND> DialogsOf(DWORD processId) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t name[32] = {};
        GetClassNameW(w, name, 32);
        if (pid == s->pid && IsWindowVisible(w) && wcscmp(name, L"#32770") == 0) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A dialog of the process other than the ones given, holding a child of id (0: any).
HWND OtherDialog(DWORD processId, const std::vector<HWND>& known, int childId) {
  for (HWND w : DialogsOf(processId)) {
    if (std::find(known.begin(), known.end(), w) != known.end()) continue;
    if (childId == 0 || GetDlgItem(w, childId) != nullptr) return w;
  }
  return nullptr;
}

class InstallerProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    package_ = Temp() + L"mq-wizard-package-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(mq::testing::LayOutPackage(
        package_, {MQ_PACKAGE_DIR, MQ_MONITOR_DLL, MQ_PLUGIN_DLL, MQ_USB_TEST_LIBRARY_DIR, "[ZnUsbInt]\r\n"}));
    ASSERT_TRUE(mq::testing::CopyInto(mq::testing::WineHostPathW(MQ_INSTALLER_EXE), package_, L"installer.exe"));
    mq::testing::MakeDriverStore();
    screens_ = mq::testing::WineHostPathW(MQ_SCREENS_DIR);
    CreateDirectoryW(screens_.c_str(), nullptr);
  }

  static std::wstring Caption(const wchar_t* section, const wchar_t* key) {
    wchar_t text[512] = {};
    const std::wstring file = package_ + L"\\language\\setup_" + LanguageTag() + L".ini";
    GetPrivateProfileStringW(section, key, L"", text, 512, file.c_str());
    return text;
  }

  // Starts installer.exe with arguments; the handles are the caller's.
  static PROCESS_INFORMATION Start(const std::wstring& arguments) {
    std::wstring command = L"\"" + package_ + L"\\installer.exe\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, package_.c_str(),
                               &startup, &process));
    return process;
  }

  static DWORD Finish(PROCESS_INFORMATION& process, DWORD milliseconds = 60000) {
    DWORD code = 0xFFFF;
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &code);
    else
      TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  // A quiet run: its exit code and its log.
  static DWORD Quiet(const std::wstring& switches, std::string* log) {
    const std::wstring logFile = Temp() + L"mq-quiet.log";
    DeleteFileW(logFile.c_str());
    PROCESS_INFORMATION process = Start(L"/quiet " + switches + L" \"/log=" + logFile + L"\"");
    const DWORD code = Finish(process);
    *log = ReadUtf8(logFile);
    return code;
  }

  void Capture(HWND window, const std::string& name) {
    const std::string file = "wizard-" + name + "-" + LanguageSuffix() + ".png";
    EXPECT_TRUE(mq::testing::CaptureWindow(window, screens_ + L"\\" + std::wstring(file.begin(), file.end())))
        << file;
  }

  static std::wstring package_;
  static std::wstring screens_;
};

std::wstring InstallerProgram::package_;
std::wstring InstallerProgram::screens_;

TEST_F(InstallerProgram, QuietInstallationOnLpt1) {
  RemovePrinter(L"MQ-450(P)");
  std::string log;
  EXPECT_EQ(Quiet(L"/model=MQ-450 /port=LPT1: /default", &log), 0u) << log;
  const std::string success = Utf8(Caption(L"Message", L"IDS_INF_NTRESTART"));
  ASSERT_FALSE(success.empty());
  EXPECT_NE(log.find(success), std::string::npos) << log;
  EXPECT_TRUE(PrinterExists(L"MQ-450(P)"));
  wchar_t defaultPrinter[256] = {};
  DWORD size = 256;
  ASSERT_TRUE(GetDefaultPrinterW(defaultPrinter, &size));
  EXPECT_STREQ(defaultPrinter, L"MQ-450(P)");
  RemovePrinter(L"MQ-450(P)");
}

TEST_F(InstallerProgram, QuietRefusals) {
  std::string log;
  EXPECT_EQ(Quiet(L"/model=NO-SUCH /port=LPT1:", &log), 2u) << log;
  EXPECT_NE(log.find("NO-SUCH"), std::string::npos) << log;
  EXPECT_EQ(Quiet(L"/model=MQ-450 /port=NET: /ip=0.0.0.0", &log), 1u) << log;
  const std::string refused = Utf8(Caption(L"Message", L"IDS_ERR_IPADDRISNULL"));
  EXPECT_NE(log.find(refused), std::string::npos) << log;
  EXPECT_FALSE(PrinterExists(L"MQ-450(E)"));
  // An open uninstall window keeps the installation away: the uninstall program titles it from its own
  // language file.
  wchar_t title[256] = {};
  GetPrivateProfileStringW(L"Uninstall", L"Title", L"", title, 256,
                           (package_ + L"\\language\\uninstall_" + LanguageTag() + L".ini").c_str());
  ASSERT_NE(title[0], L'\0');
  HWND uninstall = CreateWindowW(L"STATIC", title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(uninstall, nullptr);
  EXPECT_EQ(Quiet(L"/model=MQ-450 /port=LPT1:", &log), 1u) << log;
  EXPECT_NE(log.find(Utf8(Caption(L"Setup", L"Close"))), std::string::npos) << log;
  DestroyWindow(uninstall);
  EXPECT_FALSE(PrinterExists(L"MQ-450(P)"));
  // Bad arguments are refused before anything runs.
  PROCESS_INFORMATION process = Start(L"/quiet /model=MQ-450 /port=LPT1: /bogus");
  EXPECT_EQ(Finish(process), 2u);
}

TEST_F(InstallerProgram, WizardWalkedToInstallOnLpt1) {
  RemovePrinter(L"MQ-450(P)");
  PROCESS_INFORMATION process = Start(L"");
  const std::wstring caption = Caption(L"Setup", L"Caption");
  HWND frame = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    frame = FindWindowW(L"#32770", caption.c_str());
    return frame != nullptr && IsWindowVisible(frame);
  })) << "no wizard window titled " << Utf8(caption);
  auto page = [&](int id) { return GetDlgItem(frame, id); };
  auto shown = [&](int id) { return IsWindowVisible(page(id)) != FALSE; };
  auto next = [&] { PostMessageW(GetDlgItem(frame, IDOK), BM_CLICK, 0, 0); };

  // The licence page: Next waits for Accept.
  ASSERT_TRUE(WaitUntil([&] { return shown(IDC_WIZARD_PAGE_LICENSE); }));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, IDOK)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, IDC_WIZARD_BACK)));
  Capture(frame, "license");
  PostMessageW(GetDlgItem(page(IDC_WIZARD_PAGE_LICENSE), IDC_LICENSE_ACCEPT), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(frame, IDOK)) != FALSE; }));

  // A second start while the first runs brings the first to the front and ends.
  ShowWindow(frame, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(frame) != FALSE; }));
  PROCESS_INFORMATION second = Start(L"");
  EXPECT_EQ(Finish(second, 20000), 1u);
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(frame); })) << "the first wizard stayed minimised";

  // About, from the system menu.
  PostMessageW(frame, WM_SYSCOMMAND, IDM_ABOUT, 0);
  HWND about = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (about = OtherDialog(process.dwProcessId, {frame}, IDC_ABOUT_VERSION)); }));
  EXPECT_EQ(TitleOf(about), Caption(L"About", L"Caption"));
  Capture(about, "about");
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

  next();
  ASSERT_TRUE(WaitUntil([&] { return shown(IDC_WIZARD_PAGE_MODULE); }));
  HWND module = page(IDC_WIZARD_PAGE_MODULE);
  EXPECT_EQ(SendDlgItemMessageW(module, IDC_MODULE_RECEIPT, BM_GETCHECK, 0, 0), BST_CHECKED);
  Capture(frame, "module");
  next();
  ASSERT_TRUE(WaitUntil([&] { return shown(IDC_WIZARD_PAGE_MODE); }));
  Capture(frame, "mode");
  next();
  ASSERT_TRUE(WaitUntil([&] { return shown(IDC_WIZARD_PAGE_OS); }));
  HWND os = page(IDC_WIZARD_PAGE_OS);
  EXPECT_EQ(SendDlgItemMessageW(os, IDC_OS_WIN7, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(os, IDC_OS_2000)));
  Capture(frame, "os");
  next();
  ASSERT_TRUE(WaitUntil([&] { return shown(IDC_WIZARD_PAGE_PORT); }));
  HWND port = page(IDC_WIZARD_PAGE_PORT);
  wchar_t selected[64] = {};
  const LRESULT index = SendDlgItemMessageW(port, IDC_PORT_LIST, CB_GETCURSEL, 0, 0);
  SendDlgItemMessageW(port, IDC_PORT_LIST, CB_GETLBTEXT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(selected));
  EXPECT_STREQ(selected, L"LPT1:");
  EXPECT_EQ(TitleOf(GetDlgItem(frame, IDOK)), Caption(L"Setup", L"Install"));
  Capture(frame, "port");

  // Install: the progress dialog while the worker runs, then the result message.
  next();
  HWND progress = nullptr;
  HWND result = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    progress = OtherDialog(process.dwProcessId, {frame}, IDC_PROGRESS_BAR);
    result = OtherDialog(process.dwProcessId, {frame}, 0xFFFF);  // the message box's text
    return progress != nullptr || result != nullptr;
  }));
  if (progress != nullptr) Capture(progress, "progress");
  ASSERT_TRUE(WaitUntil([&] { return (result = OtherDialog(process.dwProcessId, {frame}, 0xFFFF)); }, 60000));
  wchar_t message[512] = {};
  GetDlgItemTextW(result, 0xFFFF, message, 512);
  EXPECT_EQ(std::wstring(message), Caption(L"Message", L"IDS_INF_NTRESTART"));
  PostMessageW(result, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Finish(process), 0u);
  EXPECT_TRUE(DriverExists(L"MQ-450"));
  EXPECT_TRUE(PrinterExists(L"MQ-450(P)"));
  RemovePrinter(L"MQ-450(P)");
}

}  // namespace
