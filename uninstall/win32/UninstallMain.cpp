// uninstall.exe: the uninstaller's Windows entry. Without switches it shows the uninstall dialog after the
// start checks (one copy at a time, never beside the installer); /quiet runs the removal unattended and /?
// lists the switches. The dialog procedure only forwards messages to the portable dialog logic, apart from
// drawing the program icon while the dialog is minimised.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "UninstallResources.h"
#include "UninstallShell.h"
#include "platform/win32/Win32Dialog.h"
#include "uninstall/StartChecks.h"

namespace {

using mq::platform::Narrow;
using mq::platform::ui::DialogSession;

HINSTANCE g_module = nullptr;

std::vector<std::string> Arguments() {
  std::vector<std::string> words;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return words;
  for (int i = 1; i < count; ++i) words.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return words;
}

// The executable's base name, which names the program's mutex.
std::wstring ApplicationName() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

// Text for whoever started the program: its standard output when it has one, else a message box.
void Tell(const std::string& text, bool quiet) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE) {
    mq::uninstall::FileQuietLog::WriteTo(output, text);
  } else if (!quiet) {
    MessageBoxW(nullptr, mq::platform::Wide(text).c_str(), L"uninstall", MB_OK);
  }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* logic = reinterpret_cast<mq::platform::ui::DialogLogic*>(lParam);
      return DialogSession::Attach(dialog, g_module, nullptr, logic, nullptr)->Init();
    }
    case WM_PAINT:
      if (IsIconic(dialog)) {
        // The program icon, centred in the client area.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(dialog, &paint);
        RECT client;
        GetClientRect(dialog, &client);
        const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, LoadIconW(g_module, MAKEINTRESOURCEW(IDI_UNINSTALL)));
        EndPaint(dialog, &paint);
        return TRUE;
      }
      break;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(LoadIconW(g_module, MAKEINTRESOURCEW(IDI_UNINSTALL)));
    default:
      break;
  }
  return DialogSession::Dispatch(dialog, message, wParam, lParam);
}

int RunDialog(mq::uninstall::Win32UninstallMachine& machine, const mq::uninstall::StartFacts& facts,
              bool mutexExisted) {
  using mq::uninstall::StartVerdict;
  mq::uninstall::UninstallTexts texts(machine.platform.profile, facts.programFolder, facts.langId);
  StartVerdict verdict =
      CheckStart(mutexExisted, machine.windows, machine.platform.profile, facts.programFolder, texts);
  if (verdict == StartVerdict::kAlreadyRunning) return 0;
  if (verdict == StartVerdict::kInstallerRunning) {
    MessageBoxW(nullptr, mq::platform::Wide(texts.Text("Uninstall", "Close")).c_str(),
                mq::platform::Wide(texts.Text("Uninstall", "Title")).c_str(), MB_OK);
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  mq::uninstall::Win32WorkerStarter worker;
  mq::uninstall::UninstallDialog dialog(machine.Services(), worker, facts);
  dialog.SetDiagnosticSink([](const std::string& line) { Tell(line, true); });
  DialogBoxParamW(g_module, MAKEINTRESOURCEW(IDD_UNINSTALL_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(static_cast<mq::platform::ui::DialogLogic*>(&dialog)));
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace mq::uninstall;
  g_module = instance;
  CommandLine line;
  std::string error;
  if (!ParseCommandLine(Arguments(), &line, &error)) {
    Tell("uninstall: " + error + "\r\n" + std::string(CommandLineUsage()), line.quiet);
    return kQuietBadArguments;
  }
  if (line.help) {
    Tell(std::string(CommandLineUsage()), false);
    return kQuietSucceeded;
  }
  // Owned until the process ends: a second copy finds it.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, ApplicationName().c_str());
  const bool mutexExisted = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  Win32UninstallMachine machine;
  StartFacts facts = ReadStartFacts();
  if (!line.quiet) return RunDialog(machine, facts, mutexExisted);

  FileQuietLog log;
  if (!line.logFile.empty() && !log.Open(line.logFile)) {
    Tell("uninstall: cannot create the log file " + line.logFile + "\r\n", true);
    return kQuietBadArguments;
  }
  if (mutexExisted) {
    log.Line("Another copy of the uninstaller is running.");
    return kQuietFailed;
  }
  return RunQuietUninstall(line, machine.Services(), facts, log);
}
