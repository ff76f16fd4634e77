// uninstall.exe against the real spooler of the running system (Wine in the test stage), after the x64
// installation engine has put the sample package's MQ-450 in place: the unattended run removes the printer
// and its driver with exit code 0, and the dialog opens in the system's language, lists the package's
// printers, removes the checked one, asks the restart question and shows About. The dialogs are driven by
// window messages from this process, the list view through memory of the uninstaller's process, and each is
// saved as a screenshot (uninstall-main, uninstall-restart, uninstall-about, with the language suffix).
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "UninstallResources.h"
#include "WinePackage.h"
#include "WindowCapture.h"

namespace mq::uninstall {
namespace {

using mq::testing::FileExists;

// The screenshots' language suffix: en, zh or tw, as the test stage starts this program.
std::string Language() {
  const char* language = std::getenv("MQ_SCREEN_LANGUAGE");
  return language != nullptr && *language != '\0' ? language : "en";
}

std::wstring LanguageFileTag() {
  std::string language = Language();
  return language == "zh" ? L"CN" : language == "tw" ? L"TCN" : L"EN";
}

std::vector<BYTE> Enumerate(const std::function<BOOL(BYTE*, DWORD, DWORD*, DWORD*)>& call, DWORD* count) {
  DWORD needed = 0;
  *count = 0;
  call(nullptr, 0, &needed, count);
  std::vector<BYTE> buffer(needed + 16);
  if (!call(buffer.data(), static_cast<DWORD>(buffer.size()), &needed, count)) *count = 0;
  return buffer;
}

// The local printers' names whose driver is driver.
std::vector<std::wstring> PrintersOf(const wchar_t* driver) {
  DWORD count = 0;
  std::vector<BYTE> buffer =
      Enumerate([](BYTE* b, DWORD s, DWORD* n,
                   DWORD* r) { return EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, b, s, n, r); },
                &count);
  std::vector<std::wstring> names;
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (printers[i].pDriverName != nullptr && std::wstring(printers[i].pDriverName) == driver)
      names.push_back(printers[i].pPrinterName);
  }
  return names;
}

bool DriverInstalled(const wchar_t* name) {
  DWORD count = 0;
  std::vector<BYTE> buffer =
      Enumerate([](BYTE* b, DWORD s, DWORD* n,
                   DWORD* r) { return EnumPrinterDriversW(nullptr, nullptr, 3, b, s, n, r); },
                &count);
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (std::wstring(drivers[i].pName) == name) return true;
  }
  return false;
}

void RemovePrinter(const std::wstring& name) {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, &defaults)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
}

std::string Utf8(const std::wstring& text) {
  return platform::Narrow(text);
}

std::wstring ReadAllText(const std::wstring& path) {
  std::wstring text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return platform::Wide(bytes);
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

// A block of memory in another process, for the list-view messages whose pointers the system does not
// carry across processes.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  BYTE* at(size_t offset) const { return static_cast<BYTE*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) {
    return WriteProcessMemory(process_, at(offset), data, size, nullptr) != 0;
  }
  bool Read(size_t offset, void* data, size_t size) {
    return ReadProcessMemory(process_, at(offset), data, size, nullptr) != 0;
  }

 private:
  HANDLE process_;
  void* address_;
};

class UninstallUnderWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    package_ = std::wstring(temp) + L"mq-uninstall-package-" + std::to_wstring(GetCurrentProcessId());
    mq::testing::LayOutPackage(package_, MQ_PACKAGE_DIR, MQ_MONITOR_DLL, MQ_PLUGIN_DLL);
    ASSERT_TRUE(
        mq::testing::CopyInto(mq::testing::WineHostPathW(MQ_UNINSTALL_EXE), package_, L"uninstall.exe"));
  }

  void TearDown() override {
    if (process_.hProcess != nullptr) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
      process_ = {};
    }
    for (const std::wstring& name : PrintersOf(L"MQ-450")) RemovePrinter(name);
  }

  // Installs the MQ-450 on port and returns the printer's name.
  std::wstring Install(const char* port) {
    std::vector<std::wstring> before = PrintersOf(L"MQ-450");
    installer::InstallJob job = mq::testing::InstallMq450(package_, port);
    EXPECT_EQ(job.resultState, installer::kStateSucceeded) << job.resultText;
    for (const std::wstring& name : PrintersOf(L"MQ-450")) {
      if (std::find(before.begin(), before.end(), name) == before.end()) return name;
    }
    ADD_FAILURE() << "no new printer on " << port;
    return L"";
  }

  // Starts uninstall.exe in the package folder, as a user starts it from there.
  bool Start(const std::wstring& arguments) {
    std::wstring command =
        L"\"" + package_ + L"\\uninstall.exe\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, package_.c_str(),
                          &startup, &process_) != 0;
  }

  // Runs another uninstall.exe to its end beside the one Start began; its exit code, or STILL_ACTIVE when it
  // did not end in time (it is then ended).
  DWORD RunToEnd(const std::wstring& arguments, DWORD milliseconds = 30000) {
    PROCESS_INFORMATION first = process_;
    process_ = {};
    DWORD code = STILL_ACTIVE;
    if (Start(arguments)) {
      code = WaitExit(milliseconds);
      if (code == STILL_ACTIVE) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    process_ = first;
    return code;
  }

  DWORD WaitExit(DWORD milliseconds) {
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  // A visible dialog of the uninstaller's process that has the control id.
  HWND WaitDialog(int controlId, DWORD milliseconds = 30000) {
    struct Search {
      DWORD process;
      int control;
      HWND found;
    } search{process_.dwProcessId, controlId, nullptr};
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
      EnumWindows(
          [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !IsWindowVisible(window) || GetDlgItem(window, s->control) == nullptr)
              return TRUE;
            s->found = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) return search.found;
      Sleep(100);
    }
    return nullptr;
  }

  static bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds = 60000) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
      if (done()) return true;
      Sleep(100);
    }
    return false;
  }

  static void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }

  std::vector<std::wstring> ListRows(HWND list) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteBlock block(process_.hProcess, sizeof(LVITEMW) + 512 * sizeof(wchar_t));
    for (int row = 0; row < count; ++row) {
      LVITEMW item{};
      item.iSubItem = 0;
      item.pszText = reinterpret_cast<LPWSTR>(block.at(sizeof(LVITEMW)));
      item.cchTextMax = 512;
      block.Write(0, &item, sizeof item);
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0)));
      wchar_t text[512] = {};
      block.Read(sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t));
      rows.push_back(text);
    }
    return rows;
  }

  void CheckRow(HWND list, int row) {
    RemoteBlock block(process_.hProcess, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    block.Write(0, &item, sizeof item);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0)));
  }

  void Shoot(HWND window, const char* name) {
    std::string file = std::string(MQ_SCREENS_DIR) + "/uninstall-" + name + "-" + Language() + ".png";
    CreateDirectoryW(mq::testing::WineHostPathW(MQ_SCREENS_DIR).c_str(), nullptr);
    EXPECT_TRUE(mq::testing::CaptureWindow(window, mq::testing::WineHostPathW(file))) << file;
  }

  std::wstring LanguageText(const wchar_t* section, const wchar_t* key) {
    std::wstring file = package_ + L"\\language\\uninstall_" + LanguageFileTag() + L".ini";
    wchar_t text[512] = {};
    GetPrivateProfileStringW(section, key, L"", text, 512, file.c_str());
    return text;
  }

  static std::wstring package_;
  PROCESS_INFORMATION process_{};
};

std::wstring UninstallUnderWine::package_;

TEST_F(UninstallUnderWine, TheDialogListsThePackagesPrintersRemovesTheCheckedOneAndShowsAbout) {
  std::wstring kept = Install("LPT1:");
  std::wstring removed = Install("ZNTCOM1:");  // with the package's serial port monitor
  ASSERT_FALSE(kept.empty());
  ASSERT_FALSE(removed.empty());
  ASSERT_TRUE(Start(L""));
  HWND dialog = WaitDialog(IDC_UNINSTALL_COMPONENTS);
  ASSERT_NE(dialog, nullptr) << "the uninstall dialog did not open";
  EXPECT_EQ(WindowText(dialog), LanguageText(L"Uninstall", L"Title"));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_UNINSTALL_NOTE)), LanguageText(L"Uninstall", L"Note"));
  HWND list = GetDlgItem(dialog, IDC_UNINSTALL_COMPONENTS);
  std::vector<std::wstring> rows = ListRows(list);
  auto row = std::find(rows.begin(), rows.end(), removed);
  ASSERT_NE(row, rows.end()) << Utf8(removed) << " is not listed";
  EXPECT_NE(std::find(rows.begin(), rows.end(), kept), rows.end()) << Utf8(kept) << " is not listed";
  // A second copy finds the first one's mutex, brings its window up and ends.
  EXPECT_EQ(RunToEnd(L""), 0u);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetForegroundWindow(), dialog);

  CheckRow(list, static_cast<int>(row - rows.begin()));
  Press(dialog, IDC_UNINSTALL_START);
  HWND restart = WaitDialog(IDC_RESTART_NOTE1);
  ASSERT_NE(restart, nullptr) << "no restart question after the removal";
  EXPECT_EQ(WindowText(restart), LanguageText(L"Reboot", L"Title"));
  EXPECT_EQ(WindowText(GetDlgItem(restart, IDC_RESTART_NOTE2)), LanguageText(L"Reboot", L"Note2"));
  Shoot(restart, "restart");
  Press(restart, IDCANCEL);  // No: Windows is not restarted

  // The end of the run gives Exit back; the removed printer's row is gone.
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)) != FALSE; }));
  rows = ListRows(list);
  EXPECT_EQ(std::find(rows.begin(), rows.end(), removed), rows.end());
  EXPECT_NE(std::find(rows.begin(), rows.end(), kept), rows.end());
  EXPECT_GT(SendMessageW(GetDlgItem(dialog, IDC_UNINSTALL_LOG), LB_GETCOUNT, 0, 0), 4);
  Shoot(dialog, "main");
  EXPECT_TRUE(PrintersOf(L"MQ-450") == std::vector<std::wstring>{kept});
  EXPECT_TRUE(DriverInstalled(L"MQ-450")) << "the driver went while " << Utf8(kept) << " still uses it";

  PostMessageW(dialog, WM_SYSCOMMAND, IDM_UNINSTALL_ABOUT, 0);
  HWND about = WaitDialog(IDC_ABOUT_VERSION);
  ASSERT_NE(about, nullptr) << "About did not open";
  EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_VERSION)), LanguageText(L"About", L"Version"));
  Shoot(about, "about");
  Press(about, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 10000));

  Press(dialog, IDCANCEL);
  EXPECT_EQ(WaitExit(10000), 0u);
}

TEST_F(UninstallUnderWine, QuietAllRemovesThePrinterAndItsDriver) {
  std::wstring printer = Install("LPT1:");
  ASSERT_FALSE(printer.empty());
  ASSERT_TRUE(DriverInstalled(L"MQ-450"));
  std::wstring log = package_ + L"\\quiet.log";
  ASSERT_TRUE(Start(L"/quiet /all /log=\"" + log + L"\""));
  EXPECT_EQ(WaitExit(60000), 0u);
  std::wstring lines = ReadAllText(log);
  EXPECT_TRUE(PrintersOf(L"MQ-450").empty()) << Utf8(lines);
  EXPECT_FALSE(DriverInstalled(L"MQ-450")) << Utf8(lines);
  EXPECT_NE(lines.find(printer + L" was removed."), std::wstring::npos) << Utf8(lines);
  EXPECT_NE(lines.find(L"The driver was removed."), std::wstring::npos) << Utf8(lines);
}

TEST_F(UninstallUnderWine, QuietRefusesUnknownComponentsAndSwitchesAndStaysAwayFromAnOpenInstaller) {
  std::wstring log = package_ + L"\\unknown.log";
  EXPECT_EQ(RunToEnd(L"/quiet /item=NoSuchPrinter /noreboot /log=\"" + log + L"\""), 2u);
  EXPECT_NE(ReadAllText(log).find(L"/item=NoSuchPrinter: not in the component list"), std::wstring::npos);
  EXPECT_EQ(RunToEnd(L"/quiet /bogus"), 2u);

  // An installer window, found by the English caption of the installer's language file.
  HWND installer = CreateWindowExW(0, L"STATIC", L"MQ Printer Setup", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(installer, nullptr);
  std::wstring refused = package_ + L"\\installer-open.log";
  EXPECT_EQ(RunToEnd(L"/quiet /all /noreboot /log=\"" + refused + L"\""), 1u);
  DestroyWindow(installer);
  EXPECT_NE(ReadAllText(refused).find(LanguageText(L"Uninstall", L"Close")), std::wstring::npos);
}

}  // namespace
}  // namespace mq::uninstall
