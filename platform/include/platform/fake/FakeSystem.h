// Small in-memory fakes: system facts, clock, shell and last error. Their answers are plain fields that a
// test sets; calls that act (sleeping, starting a program) are journaled and can be failed.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/ThreadError.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeSystemInfo : public SystemInfo {
 public:
  std::string windowsDirectory = "C:\\Windows";
  std::string systemDirectory = "C:\\Windows\\system32";
  std::string tempPath = "C:\\Windows\\Temp\\";
  std::string moduleDirectory = "C:\\Package";
  uint16_t langId = 0x0409;
  uint32_t ansiCodePage = 1252;
  // Under code page 1252 the text converts as Windows converts it. Under any other code page ASCII stays as
  // it is and other characters take their bytes from this table ('?' when missing), so a test names the
  // double-byte characters it types: {U+4E2D, "\xD6\xD0"} for code page 936.
  std::map<char32_t, std::string> ansiCharacters;
  OsVersion version{6, 1, 7601, 2, 1, 1};
  bool wow64 = false;
  uint16_t architecture = kProcessorArchitectureIntel;
  // Special folders by CSIDL; a missing entry makes SpecialFolder fail. specialFolderAvailable = false stands
  // for a system without SHGetSpecialFolderPathW.
  std::map<int, std::string> specialFolders = {{kCsidlAppData, "C:\\Users\\user\\AppData\\Roaming"},
                                               {kCsidlProgramFiles, "C:\\Program Files"}};
  bool specialFolderAvailable = true;

  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string TempPath() override { return tempPath; }
  std::string ModuleDirectory() override { return moduleDirectory; }
  uint16_t SystemDefaultLangId() override { return langId; }
  uint32_t AnsiCodePage() override { return ansiCodePage; }
  std::string ToAnsiCodePage(std::string_view utf8) override;
  OsVersion Version() override { return version; }
  bool IsWow64Process() override { return wow64; }
  uint16_t NativeProcessorArchitecture() override { return architecture; }
  std::optional<std::string> SpecialFolder(int csidl, bool) override {
    if (!specialFolderAvailable) return std::nullopt;
    auto it = specialFolders.find(csidl);
    if (it == specialFolders.end()) return std::nullopt;
    return it->second;
  }
};

class FakeClock : public Clock {
 public:
  explicit FakeClock(CallJournal& journal) : journal_(journal) {}
  // Recorded and added to the tick count; never waits.
  void Sleep(uint32_t milliseconds) override {
    journal_.Enter("Sleep", {{"milliseconds", std::to_string(milliseconds)}});
    ticks_ += milliseconds;
    slept_ += milliseconds;
  }
  uint32_t TickCount() override { return ticks_; }
  uint64_t TotalSlept() const { return slept_; }
  void Advance(uint32_t milliseconds) { ticks_ += milliseconds; }

 private:
  CallJournal& journal_;
  uint32_t ticks_ = 1000;
  uint64_t slept_ = 0;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(CallJournal& journal) : journal_(journal) {}
  // Returns 42 (success) unless the call is failed; a failure code is the ShellExecute result itself.
  intptr_t Execute(std::string_view verb, std::string_view file, std::string_view parameters,
                   std::string_view directory, int show) override {
    uint32_t e = journal_.Enter("ShellExecuteW", {{"verb", std::string(verb)},
                                                  {"file", std::string(file)},
                                                  {"parameters", std::string(parameters)},
                                                  {"directory", std::string(directory)},
                                                  {"show", std::to_string(show)}});
    return e != 0 ? static_cast<intptr_t>(e) : 42;
  }

 private:
  CallJournal& journal_;
};

class FakeThreadError : public ThreadError {
 public:
  void Set(uint32_t error) override { value = error; }
  uint32_t Get() override { return value; }
  uint32_t value = 0xDEADBEEF;  // a sentinel, so that tests see whether a call set it
};

}  // namespace mq::platform
