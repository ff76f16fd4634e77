// The role table under Windows: the in-memory fakes must give the Windows line here too, and the Win32
// adapters the line of the system they run on (Wine's where a row records one, else the Windows line). The
// adapters work on the running system: a key below HKEY_CURRENT_USER, a folder in the temporary folder, and
// spooler entries named "MQ Role Test ...", all removed again.
#include <gtest/gtest.h>
#include <windows.h>

#include "../RoleCases.h"
#include "platform/fake/FakeSystem.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SetupRoles.h"

namespace mq::platform::testing {
namespace {

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(RoleDifferential, FakesBehaveAsWindows) {
  FakeRoleMachine fake;
  RoleMachine machine = fake.Machine();
  for (const RoleCase& row : RoleCases()) {
    EXPECT_EQ(RunRoleCase(row, machine), row.windows) << row.role << ": " << row.behaviour;
  }
}

TEST(RoleDifferential, Win32AdaptersBehaveAsTheSystem) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32Spooler spooler;
  Win32SystemInfo system;
  std::string temp = system.TempPath();
  while (!temp.empty() && temp.back() == '\\') temp.pop_back();
  RoleMachine machine{registry, files, spooler, "Software\\MQ450 role cases", temp + "\\mq450-role-cases"};
  const bool wine = UnderWine();
  for (const RoleCase& row : RoleCases()) {
    const char* expected = wine && row.wine != nullptr ? row.wine : row.windows;
    EXPECT_EQ(RunRoleCase(row, machine), expected)
        << row.role << ": " << row.behaviour
        << (wine && row.wineNote != nullptr ? std::string(" (Wine: ") + row.wineNote + ")" : "");
  }
  files.RemoveFolder(machine.folderBase);
  registry.DeleteKey(kHkeyCurrentUser, machine.registryBase);
}

// The text a barcode test print sends: the system's conversion to its ANSI code page and the fake's agree
// under Windows-1252, a character the code page lacks becoming '?'.
TEST(RoleDifferential, AnsiConversionMatchesTheFakesUnderWindows1252) {
  Win32SystemInfo system;
  if (system.AnsiCodePage() != 1252) GTEST_SKIP() << "ANSI code page " << system.AnsiCodePage();
  FakeSystemInfo fake;
  for (const char* text : {"", "{A12{C3456",
                           "Gr\xC3\xBC\xC3\x9F"
                           "e \xE2\x82\xAC",
                           "\xE4\xB8\xAD1"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(system.ToAnsiCodePage(text), fake.ToAnsiCodePage(text));
  }
  EXPECT_EQ(system.ToAnsiCodePage("\xE2\x82\xAC\xE4\xB8\xAD"), "\x80?");
}

}  // namespace
}  // namespace mq::platform::testing
