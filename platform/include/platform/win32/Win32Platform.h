// The Win32 implementations of the platform roles, compiled only by the Windows builds. Each forwards to the
// Win32 function named in its interface and converts between UTF-8 and UTF-16 at the boundary.
#pragma once

#include "platform/PlatformServices.h"

namespace mq::platform {

class Win32Registry : public Registry {
 public:
  uint32_t OpenKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key) override;
  uint32_t CreateKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key,
                     bool* created) override;
  uint32_t CloseKey(RegKey key) override;
  uint32_t QueryValue(RegKey key, std::string_view name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override;
  uint32_t SetValue(RegKey key, std::string_view name, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
  uint32_t DeleteValue(RegKey key, std::string_view name) override;
  uint32_t DeleteKey(RegKey parent, std::string_view subKey) override;
  uint32_t EnumKey(RegKey key, uint32_t index, std::string* name) override;
  uint32_t EnumValue(RegKey key, uint32_t index, std::string* name) override;
};

class Win32FileSystem : public FileSystem {
 public:
  uint32_t GetAttributes(std::string_view path, uint32_t* attributes) override;
  uint32_t SetAttributes(std::string_view path, uint32_t attributes) override;
  uint32_t CreateFolder(std::string_view path) override;
  uint32_t RemoveFolder(std::string_view path) override;
  uint32_t Copy(std::string_view source, std::string_view target, bool failIfExists) override;
  uint32_t Move(std::string_view source, std::string_view target, uint32_t flags) override;
  uint32_t Delete(std::string_view path) override;
  uint32_t ReadAll(std::string_view path, std::vector<uint8_t>* contents) override;
  uint32_t WriteAll(std::string_view path, std::span<const uint8_t> contents) override;
  uint32_t FindFiles(std::string_view pattern, std::vector<FileFindData>* found) override;
};

class Win32Profile : public Profile {
 public:
  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, uint32_t capacity) override;
  std::vector<std::string> GetSectionNames(std::string_view file) override;
  std::vector<std::string> GetKeyNames(std::string_view file, std::string_view section) override;
  uint32_t WriteString(std::string_view file, std::string_view section, std::optional<std::string_view> key,
                       std::optional<std::string_view> value) override;
  uint32_t Flush(std::string_view file) override;
};

class Win32SystemInfo : public SystemInfo {
 public:
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string TempPath() override;
  std::string ModuleDirectory() override;
  uint16_t SystemDefaultLangId() override;
  uint32_t AnsiCodePage() override;
  std::string ToAnsiCodePage(std::string_view utf8) override;
  OsVersion Version() override;
  bool IsWow64Process() override;
  uint16_t NativeProcessorArchitecture() override;
  std::optional<std::string> SpecialFolder(int csidl, bool create) override;
};

class Win32Clock : public Clock {
 public:
  void Sleep(uint32_t milliseconds) override;
  uint32_t TickCount() override;
};

class Win32Shell : public Shell {
 public:
  intptr_t Execute(std::string_view verb, std::string_view file, std::string_view parameters,
                   std::string_view directory, int show) override;
};

class Win32ThreadError : public ThreadError {
 public:
  void Set(uint32_t error) override;
  uint32_t Get() override;
};

// All roles of the running Windows system in one place, for a program's or library's composition root.
struct Win32Platform {
  Win32Registry registry;
  Win32FileSystem files;
  Win32Profile profile;
  Win32SystemInfo system;
  Win32Clock clock;
  Win32Shell shell;
  Win32ThreadError lastError;

  PlatformServices Services() {
    return PlatformServices{registry, files, profile, system, clock, shell, lastError};
  }
};

// UTF-8 <-> UTF-16 as wchar_t strings for the W functions.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace mq::platform
