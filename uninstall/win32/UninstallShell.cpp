// The running system's roles, start facts, worker thread and log of uninstall.exe.
#include "UninstallShell.h"

#include <memory>

namespace mq::uninstall {

uint32_t ProgramFsRedirection::Disable(uintptr_t* cookie) {
  if (sizeof(void*) == 8) {
    *cookie = 0;
    return 0;
  }
  return system_.Disable(cookie);
}

uint32_t ProgramFsRedirection::Revert(uintptr_t cookie) {
  return sizeof(void*) == 8 ? 0 : system_.Revert(cookie);
}

DialogServices Win32UninstallMachine::Services() {
  UninstallServices removal{roles.spooler,   platform.registry, platform.files, platform.profile,
                            platform.system, platform.clock,    platform.shell, roles.services,
                            redirection,     shutdown};
  return DialogServices{removal, windows, usb.libraries};
}

StartFacts ReadStartFacts() {
  StartFacts facts;
  facts.langId = GetSystemDefaultLangID();
  wchar_t folder[256];
  DWORD length = GetCurrentDirectoryW(256, folder);
  if (length > 0 && length < 256) {
    std::wstring text(folder, length);
    // A drive's root comes with its backslash ("C:\"); the folder is kept without one.
    if (!text.empty() && text.back() == L'\\') text.pop_back();
    facts.programFolder = platform::Narrow(text);
  }
  HMODULE winspool = LoadLibraryW(L"winspool.drv");
  facts.winspoolLoaded = winspool != nullptr;
  facts.hasDeletePrinterDriverEx =
      winspool != nullptr && GetProcAddress(winspool, "DeletePrinterDriverExW") != nullptr;
  return facts;
}

namespace {

DWORD WINAPI RunWork(void* parameter) {
  std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  (*work)();
  return 0;
}

}  // namespace

bool Win32WorkerStarter::Start(std::function<void()> work) {
  auto* owned = new std::function<void()>(std::move(work));
  HANDLE thread = CreateThread(nullptr, 0, RunWork, owned, 0, nullptr);
  if (thread == nullptr) {
    delete owned;
    return false;
  }
  CloseHandle(thread);
  return true;
}

FileQuietLog::~FileQuietLog() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool FileQuietLog::Open(const std::string& path) {
  file_ = CreateFileW(platform::Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  return file_ != INVALID_HANDLE_VALUE;
}

void FileQuietLog::WriteTo(HANDLE handle, const std::string& text) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void FileQuietLog::Line(const std::string& text) {
  const std::string line = text + "\r\n";
  WriteTo(file_, line);
  WriteTo(output_, line);
}

}  // namespace mq::uninstall
