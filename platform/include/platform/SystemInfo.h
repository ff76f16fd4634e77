// Facts about the running Windows system: folders, language, version and architecture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mq::platform {

// OSVERSIONINFOEXW fields that callers decide on.
struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 2;  // VER_PLATFORM_WIN32_NT; 1 is Windows 9x
  uint16_t servicePackMajor = 0;
  uint8_t productType = 1;  // VER_NT_WORKSTATION; 2 domain controller, 3 server
};

// wProcessorArchitecture values of SYSTEM_INFO.
inline constexpr uint16_t kProcessorArchitectureIntel = 0;
inline constexpr uint16_t kProcessorArchitectureIa64 = 6;
inline constexpr uint16_t kProcessorArchitectureAmd64 = 9;

// CSIDL values used by the package.
inline constexpr int kCsidlAppData = 0x001A;
inline constexpr int kCsidlProgramFiles = 0x0026;
inline constexpr int kCsidlCommonAppData = 0x0023;

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // GetWindowsDirectoryW / GetSystemDirectoryW, without a trailing backslash ("C:\Windows",
  // "C:\Windows\system32").
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;

  // GetTempPathW, with its trailing backslash.
  virtual std::string TempPath() = 0;

  // The folder of the running program or library, without a trailing backslash.
  virtual std::string ModuleDirectory() = 0;

  // GetSystemDefaultLangID (0x0409 English, 0x0804 simplified Chinese, 0x0404 traditional Chinese, ...).
  virtual uint16_t SystemDefaultLangId() = 0;

  // GetACP: the ANSI code page (1252, 936, 950, ...).
  virtual uint32_t AnsiCodePage() = 0;
  // WideCharToMultiByte(CP_ACP) with the code page's default character: the text as bytes of the ANSI code
  // page, a double-byte character as its two bytes; a character the code page lacks becomes '?'.
  virtual std::string ToAnsiCodePage(std::string_view utf8) = 0;

  // GetVersionExW with OSVERSIONINFOEXW.
  virtual OsVersion Version() = 0;

  // IsWow64Process for the current process: true when a 32-bit program runs on 64-bit Windows.
  virtual bool IsWow64Process() = 0;

  // GetNativeSystemInfo's wProcessorArchitecture.
  virtual uint16_t NativeProcessorArchitecture() = 0;

  // SHGetSpecialFolderPathW(csidl, create), without a trailing backslash. nullopt when the function is not
  // available or fails.
  virtual std::optional<std::string> SpecialFolder(int csidl, bool create) = 0;
};

}  // namespace mq::platform
