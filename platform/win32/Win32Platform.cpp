// Win32 implementations of the platform roles.
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Text.h"
#include "platform/win32/NewerWindowsApi.h"

namespace mq::platform {

std::wstring Wide(std::string_view utf8) {
  std::u16string u = text::Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view wide) {
  return text::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

namespace {

// Our root constants are the 32-bit values of the HKEY_* handles; Windows sign-extends them on x64.
HKEY ToHkey(RegKey key) {
  switch (key) {
    case kHkeyClassesRoot:
      return HKEY_CLASSES_ROOT;
    case kHkeyCurrentUser:
      return HKEY_CURRENT_USER;
    case kHkeyLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case kHkeyUsers:
      return HKEY_USERS;
    default:
      return reinterpret_cast<HKEY>(key);
  }
}

const wchar_t* OrNull(const std::wstring& s) {
  return s.empty() ? nullptr : s.c_str();
}

std::string StripTrailingSlash(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return Narrow(path);
}

uint32_t LastErrorOr(BOOL ok) {
  return ok ? ERROR_SUCCESS : GetLastError();
}

std::vector<std::string> SplitMulti(const std::vector<wchar_t>& buffer, DWORD length) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i < length; ++i) {
    if (buffer[i] == 0) {
      if (i > start) out.push_back(Narrow(std::wstring_view(buffer.data() + start, i - start)));
      start = i + 1;
    }
  }
  return out;
}

}  // namespace

uint32_t Win32Registry::OpenKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  LSTATUS status = RegOpenKeyExW(ToHkey(parent), Wide(subKey).c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
  return static_cast<uint32_t>(status);
}

uint32_t Win32Registry::CreateKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key,
                                  bool* created) {
  HKEY opened = nullptr;
  DWORD disposition = 0;
  LSTATUS status = RegCreateKeyExW(ToHkey(parent), Wide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   access, nullptr, &opened, &disposition);
  if (status == ERROR_SUCCESS) {
    *key = reinterpret_cast<RegKey>(opened);
    if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  }
  return static_cast<uint32_t>(status);
}

uint32_t Win32Registry::CloseKey(RegKey key) {
  return static_cast<uint32_t>(RegCloseKey(ToHkey(key)));
}

uint32_t Win32Registry::QueryValue(RegKey key, std::string_view name, uint32_t* type, uint8_t* data,
                                   uint32_t* size) {
  DWORD t = 0;
  DWORD s = size != nullptr ? *size : 0;
  // Windows leaves the caller's buffer undefined when it is too small; the data goes through a buffer of our
  // own so that it stays untouched then, as the role promises. (At least one byte, so that a zero size still
  // asks for data and gets ERROR_MORE_DATA.) Without a size the call is refused before anything is written.
  const bool copied = data != nullptr && size != nullptr;
  std::vector<BYTE> buffer(copied ? std::max<DWORD>(s, 1) : 0);
  LSTATUS status = RegQueryValueExW(ToHkey(key), Wide(name).c_str(), nullptr, &t,
                                    copied ? buffer.data() : data, size != nullptr ? &s : nullptr);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (status == ERROR_SUCCESS && copied) std::memcpy(data, buffer.data(), s);
    if (size != nullptr) *size = s;
    // The type is known in both cases, and RegQueryValueExW reports it in both.
    if (type != nullptr) *type = t;
  }
  return static_cast<uint32_t>(status);
}

uint32_t Win32Registry::SetValue(RegKey key, std::string_view name, uint32_t type, const uint8_t* data,
                                 uint32_t size) {
  return static_cast<uint32_t>(RegSetValueExW(ToHkey(key), Wide(name).c_str(), 0, type, data, size));
}

uint32_t Win32Registry::DeleteValue(RegKey key, std::string_view name) {
  return static_cast<uint32_t>(RegDeleteValueW(ToHkey(key), Wide(name).c_str()));
}

uint32_t Win32Registry::DeleteKey(RegKey parent, std::string_view subKey) {
  return static_cast<uint32_t>(RegDeleteKeyW(ToHkey(parent), Wide(subKey).c_str()));
}

uint32_t Win32Registry::EnumKey(RegKey key, uint32_t index, std::string* name) {
  wchar_t buffer[256];
  DWORD length = 256;
  LSTATUS status = RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) *name = Narrow(std::wstring_view(buffer, length));
  return static_cast<uint32_t>(status);
}

uint32_t Win32Registry::EnumValue(RegKey key, uint32_t index, std::string* name) {
  wchar_t buffer[16384];
  DWORD length = 16384;
  LSTATUS status = RegEnumValueW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) *name = Narrow(std::wstring_view(buffer, length));
  return static_cast<uint32_t>(status);
}

uint32_t Win32FileSystem::GetAttributes(std::string_view path, uint32_t* attributes) {
  DWORD a = GetFileAttributesW(Wide(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return GetLastError();
  *attributes = a;
  return ERROR_SUCCESS;
}

uint32_t Win32FileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  return LastErrorOr(SetFileAttributesW(Wide(path).c_str(), attributes));
}

uint32_t Win32FileSystem::CreateFolder(std::string_view path) {
  return LastErrorOr(CreateDirectoryW(Wide(path).c_str(), nullptr));
}

uint32_t Win32FileSystem::RemoveFolder(std::string_view path) {
  return LastErrorOr(RemoveDirectoryW(Wide(path).c_str()));
}

uint32_t Win32FileSystem::Copy(std::string_view source, std::string_view target, bool failIfExists) {
  return LastErrorOr(CopyFileW(Wide(source).c_str(), Wide(target).c_str(), failIfExists));
}

uint32_t Win32FileSystem::Move(std::string_view source, std::string_view target, uint32_t flags) {
  const std::wstring to = Wide(target);
  return LastErrorOr(MoveFileExW(Wide(source).c_str(), target.empty() ? nullptr : to.c_str(), flags));
}

uint32_t Win32FileSystem::Delete(std::string_view path) {
  return LastErrorOr(DeleteFileW(Wide(path).c_str()));
}

uint32_t Win32FileSystem::ReadAll(std::string_view path, std::vector<uint8_t>* contents) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  DWORD got = 0;
  uint32_t result = ERROR_SUCCESS;
  for (;;) {
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      result = GetLastError();
      break;
    }
    if (got == 0) break;
    if (bytes.size() + got > kMaxReadAllBytes) {
      result = ERROR_FILE_TOO_LARGE;
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  CloseHandle(file);
  if (result == ERROR_SUCCESS) *contents = std::move(bytes);
  return result;
}

uint32_t Win32FileSystem::WriteAll(std::string_view path, std::span<const uint8_t> contents) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  uint32_t result = ERROR_SUCCESS;
  size_t done = 0;
  while (done < contents.size()) {
    DWORD wrote = 0;
    DWORD part = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1u << 20));
    if (!::WriteFile(file, contents.data() + done, part, &wrote, nullptr)) {
      result = GetLastError();
      break;
    }
    done += wrote;
  }
  CloseHandle(file);
  return result;
}

uint32_t Win32FileSystem::FindFiles(std::string_view pattern, std::vector<FileFindData>* found) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Wide(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return GetLastError();
  std::vector<FileFindData> matches;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    matches.push_back(FileFindData{Narrow(name), data.dwFileAttributes,
                                   (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  if (matches.empty()) return ERROR_FILE_NOT_FOUND;
  *found = std::move(matches);
  return ERROR_SUCCESS;
}

std::string Win32Profile::GetString(std::string_view file, std::string_view section, std::string_view key,
                                    std::string_view defaultValue, uint32_t capacity) {
  if (capacity == 0) return {};
  std::vector<wchar_t> buffer(capacity, 0);
  DWORD length =
      GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(defaultValue).c_str(),
                               buffer.data(), capacity, Wide(file).c_str());
  return Narrow(std::wstring_view(buffer.data(), length));
}

std::vector<std::string> Win32Profile::GetSectionNames(std::string_view file) {
  for (DWORD size = 4096;; size *= 4) {
    std::vector<wchar_t> buffer(size, 0);
    DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), size, Wide(file).c_str());
    if (length + 2 < size) return SplitMulti(buffer, length);
  }
}

std::vector<std::string> Win32Profile::GetKeyNames(std::string_view file, std::string_view section) {
  for (DWORD size = 4096;; size *= 4) {
    std::vector<wchar_t> buffer(size, 0);
    DWORD length = GetPrivateProfileStringW(Wide(section).c_str(), nullptr, L"", buffer.data(), size,
                                            Wide(file).c_str());
    if (length + 2 < size) return SplitMulti(buffer, length);
  }
}

uint32_t Win32Profile::WriteString(std::string_view file, std::string_view section,
                                   std::optional<std::string_view> key,
                                   std::optional<std::string_view> value) {
  std::wstring k = key ? Wide(*key) : std::wstring();
  std::wstring v = value ? Wide(*value) : std::wstring();
  BOOL ok = WritePrivateProfileStringW(Wide(section).c_str(), key ? k.c_str() : nullptr,
                                       value ? v.c_str() : nullptr, Wide(file).c_str());
  return LastErrorOr(ok);
}

uint32_t Win32Profile::Flush(std::string_view file) {
  return LastErrorOr(WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(file).c_str()));
}

std::string Win32SystemInfo::WindowsDirectory() {
  wchar_t buffer[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  return StripTrailingSlash(std::wstring(buffer, length));
}

std::string Win32SystemInfo::SystemDirectory() {
  wchar_t buffer[MAX_PATH + 1];
  UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
  return StripTrailingSlash(std::wstring(buffer, length));
}

std::string Win32SystemInfo::TempPath() {
  wchar_t buffer[MAX_PATH + 2];
  DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
  return Narrow(std::wstring_view(buffer, length));
}

std::string Win32SystemInfo::ModuleDirectory() {
  // The module that holds this code: the program, or the plug-in library when linked into it.
  HMODULE module = win32::ModuleOfAddress(reinterpret_cast<const void*>(&Wide));
  std::vector<wchar_t> buffer(32768);
  DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
  std::wstring path(buffer.data(), length);
  size_t slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

uint16_t Win32SystemInfo::SystemDefaultLangId() {
  return GetSystemDefaultLangID();
}

uint32_t Win32SystemInfo::AnsiCodePage() {
  return GetACP();
}

std::string Win32SystemInfo::ToAnsiCodePage(std::string_view utf8) {
  const std::u16string wide = text::Utf8ToUtf16(utf8);
  if (wide.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
  const int units = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, source, units, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<size_t>(size), '\0');
  const int written = WideCharToMultiByte(CP_ACP, 0, source, units, ansi.data(), size, nullptr, nullptr);
  ansi.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return ansi;
}

OsVersion Win32SystemInfo::Version() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  OsVersion out;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
#pragma GCC diagnostic pop
    out.major = info.dwMajorVersion;
    out.minor = info.dwMinorVersion;
    out.build = info.dwBuildNumber;
    out.platformId = info.dwPlatformId;
    out.servicePackMajor = info.wServicePackMajor;
    out.productType = info.wProductType;
  }
  return out;
}

bool Win32SystemInfo::IsWow64Process() {
  using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = reinterpret_cast<IsWow64Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return fn != nullptr && fn(GetCurrentProcess(), &wow64) && wow64;
}

uint16_t Win32SystemInfo::NativeProcessorArchitecture() {
  SYSTEM_INFO info{};
  win32::NativeSystemInfo(&info);
  return info.wProcessorArchitecture;
}

std::optional<std::string> Win32SystemInfo::SpecialFolder(int csidl, bool create) {
  using GetFolderFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  HMODULE shell32 = LoadLibraryW(L"shell32.dll");
  if (shell32 == nullptr) return std::nullopt;
  auto fn = reinterpret_cast<GetFolderFn>(
      reinterpret_cast<void*>(GetProcAddress(shell32, "SHGetSpecialFolderPathW")));
  std::optional<std::string> result;
  wchar_t buffer[MAX_PATH + 1] = {};
  if (fn != nullptr && fn(nullptr, buffer, csidl, create)) result = StripTrailingSlash(buffer);
  FreeLibrary(shell32);
  return result;
}

void Win32Clock::Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

uint32_t Win32Clock::TickCount() {
  return GetTickCount();
}

intptr_t Win32Shell::Execute(std::string_view verb, std::string_view file, std::string_view parameters,
                             std::string_view directory, int show) {
  std::wstring v = Wide(verb), f = Wide(file), p = Wide(parameters), d = Wide(directory);
  return reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, OrNull(v), f.c_str(), OrNull(p), OrNull(d), show));
}

void Win32ThreadError::Set(uint32_t error) {
  SetLastError(error);
}

uint32_t Win32ThreadError::Get() {
  return GetLastError();
}

}  // namespace mq::platform
