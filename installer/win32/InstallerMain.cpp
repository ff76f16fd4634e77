// installer.exe: the setup program's Windows entry. Without arguments it runs the start checks and the
// wizard; "/quiet ..." installs without any window, writing its messages to the log file and to standard
// output; "/?" lists the switches. Only one copy runs at a time: a second start brings the first one's
// window to the front and ends.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "InstallerResources.h"
#include "Win32WizardHost.h"
#include "common/LanguageTexts.h"
#include "common/OsGeneration.h"
#include "installer/CommandLine.h"
#include "installer/InstallEngine.h"
#include "installer/QuietInstall.h"
#include "installer/StartChecks.h"
#include "installer/UsbInstallation.h"
#include "installer/UsbPrinters.h"
#include "installer/Wizard.h"
#include "platform/Text.h"
#include "platform/win32/Win32DesktopRoles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SetupRoles.h"
#include "platform/win32/Win32UsbRoles.h"

namespace mq::installer {
namespace {

constexpr const wchar_t* kMutexName = L"MQ.PrinterPackage.Installer";

// Waits by running the thread's messages, so that the progress dialog keeps painting while its loop holds the
// thread.
class MessagePumpClock : public platform::Clock {
 public:
  void Sleep(uint32_t milliseconds) override {
    const DWORD start = GetTickCount();
    while (true) {
      const DWORD passed = GetTickCount() - start;
      if (passed >= milliseconds) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(message.wParam));
          return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  uint32_t TickCount() override { return GetTickCount(); }
};

// Standard output of the program when it has one (a console it was started from, or a redirected handle);
// a GUI program is given none by a console, so it attaches to its parent's console where the system can.
class Output {
 public:
  Output() {
    handle_ = GetStdHandle(STD_OUTPUT_HANDLE);
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
      // AttachConsole is Windows XP's; on Windows 2000 a quiet run writes to its log file only.
      using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
      HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
      auto attach = kernel == nullptr ? nullptr
                                      : reinterpret_cast<AttachConsoleFn>(
                                            reinterpret_cast<void*>(GetProcAddress(kernel, "AttachConsole")));
      if (attach != nullptr && attach(ATTACH_PARENT_PROCESS)) {
        handle_ = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        owned_ = handle_ != INVALID_HANDLE_VALUE;
      }
    }
    if (handle_ == INVALID_HANDLE_VALUE) handle_ = nullptr;
  }
  ~Output() {
    if (owned_) CloseHandle(handle_);
  }
  bool Available() const { return handle_ != nullptr; }
  void Write(std::string_view utf8) {
    if (handle_ == nullptr) return;
    DWORD written = 0;
    if (GetFileType(handle_) == FILE_TYPE_CHAR) {
      std::wstring wide = Wide(utf8);
      WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      WriteFile(handle_, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
  }

 private:
  HANDLE handle_ = nullptr;
  bool owned_ = false;
};

// The quiet run's log: every message as lines ending in CR LF, UTF-8, to the file and to standard output.
class QuietLog {
 public:
  explicit QuietLog(Output& output) : output_(output) {}
  ~QuietLog() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  bool Open(const std::string& path) {
    file_ = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
  }
  void Write(std::string_view message) {
    std::string text;
    for (size_t i = 0; i < message.size(); ++i) {
      if (message[i] == '\r') continue;
      if (message[i] == '\n')
        text += "\r\n";
      else
        text += message[i];
    }
    text += "\r\n";
    if (file_ != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    output_.Write(text);
  }

 private:
  Output& output_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// The USB printers are made before the wizard or the quiet run whose message boxes they use: they reach it
// through this.
class ForwardingUi : public InstallUi {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    if (target != nullptr) target->ShowMessage(text, caption);
  }
  bool AskYesNo(std::string_view text) override { return target != nullptr && target->AskYesNo(text); }
  bool RestartWindows() override { return target != nullptr && target->RestartWindows(); }
  InstallUi* target = nullptr;
};

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                0, 0, &administrators))
    return false;
  // A null token is the thread's impersonation token, else the process token.
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}

std::string DecodeAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return Narrow(wide);
}

void ShowBox(std::string_view text, std::string_view caption) {
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

int Run(HINSTANCE module) {
  Output output;
  std::vector<std::string> args = Arguments();
  CommandLine line;
  std::string error;
  if (!ParseCommandLine(args, &line, &error)) {
    std::string text = "installer: " + error + "\r\n";
    bool quiet = false;
    for (const std::string& a : args) quiet = quiet || mq::text::EqualsNoCase(a, "/quiet");
    if (output.Available())
      output.Write(text);
    else if (!quiet)
      ShowBox(text + "\r\n" + std::string(CommandLineHelp()), "installer");
    return kExitBadArguments;
  }
  if (line.mode == CommandLine::Mode::kHelp) {
    if (output.Available())
      output.Write(CommandLineHelp());
    else
      ShowBox(CommandLineHelp(), "installer");
    return kExitSucceeded;
  }
  const bool quiet = line.mode == CommandLine::Mode::kQuiet;

  platform::Win32Platform platform;
  const std::string package = platform.system.ModuleDirectory();
  const bool is64 = common::Is64BitWindows(platform.system);
  const uint16_t langId = platform.system.SystemDefaultLangId();
  SetupConfig config(platform.profile, package, is64);
  common::LanguageTexts texts(platform.profile, package + "\\language", "setup", langId);
  QuietLog log(output);
  if (quiet && !line.quiet.logFile.empty() && !log.Open(line.quiet.logFile)) {
    output.Write("installer: the log file " + line.quiet.logFile + " cannot be written\r\n");
    return kExitBadArguments;
  }
  auto tell = [&](std::string_view text) {
    if (quiet)
      log.Write(text);
    else
      ShowBox(text, WizardText(texts, "Setup", "Caption"));
  };

  platform::Win32WindowLookup windows;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (quiet) {
      log.Write("Another copy of the setup program is running: nothing was installed.");
    } else {
      for (const std::string& title : WizardWindowTitles(platform.profile, package)) {
        if (windows.BringToFront(title)) break;
      }
    }
    CloseHandle(mutex);
    return kExitFailed;
  }

  StartFacts facts;
  facts.uninstallRunning = AnyWindowOpen(windows, UninstallWindowTitles(platform.profile, package));
  facts.version = platform.system.Version();
  facts.is64BitWindows = is64;
  std::string refusal = StartCheckMessage(facts, config, texts);
  if (!refusal.empty()) {
    tell(refusal);
    if (mutex != nullptr) CloseHandle(mutex);
    return kExitFailed;
  }

  platform::Win32SetupRoles roles;
  platform::Win32UsbRoles usbRoles;
  const DetectedOs os = DetectOs(facts.version, platform.system.NativeProcessorArchitecture());
  const bool administrator = IsAdministrator();
  int code = kExitSucceeded;
  // One engine for both ways of running: its message boxes go to the wizard or to the quiet run's log.
  ForwardingUi forward;
  UsbPrinters printers(usbRoles.devices, usbRoles.libraries, usbRoles.versions, package, texts, forward);
  InstallerServices services{platform.Services(), roles.spooler, roles.services,           roles.cabinet,
                             roles.redirection,   printers,      platform::SystemErrorText};
  UsbInstallation usb(services, config, texts, forward, printers);
  InstallEngine engine(services, config, texts, forward, usb);
  if (quiet) {
    QuietEnvironment env{config, texts, os, administrator, platform.system.WindowsDirectory(), printers,
                         [&](std::string_view text) { log.Write(text); }};
    QuietInstall run(line.quiet, env);
    forward.target = &run;
    run.UseEngine(engine);
    code = run.Run();
  } else {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);
    MessagePumpClock pump;
    Win32WizardHost host(module, langId);
    platform::Win32SystemShutdown shutdown;
    WizardEnvironment env{config,           texts,          langId,          os,
                          administrator,    platform.system.WindowsDirectory(),
                          platform.files,   platform.shell, pump,            printers,
                          &shutdown,        DecodeAnsi};
    Wizard wizard(env, host);
    forward.target = &wizard;
    wizard.UseEngine(engine);
    host.Run(wizard);
  }
  forward.target = nullptr;
  if (mutex != nullptr) CloseHandle(mutex);
  return code;
}

}  // namespace
}  // namespace mq::installer

int WINAPI wWinMain(HINSTANCE module, HINSTANCE, PWSTR, int) {
  return mq::installer::Run(module);
}
