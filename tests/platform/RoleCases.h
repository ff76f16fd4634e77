// One table of how the registry, file system and spooler roles behave, asked of any implementation: the
// in-memory fakes natively and under Windows, the Win32 adapters under Windows. Each row drives the role
// through a short scene in a scratch place of its own and reports what it saw as one line of text; the row
// holds the line Windows gives and, where Wine's own services answer otherwise, the line Wine gives and why.
// The fakes must give the Windows line everywhere.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSpooler.h"

namespace mq::platform::testing {

// What a row works on: the three roles, an empty registry key of its own (open, below HKEY_CURRENT_USER) and
// an empty folder of its own. Spooler rows name what they add "MQ Role Test ..." and remove it again.
struct RoleScratch {
  Registry& registry;
  RegKey key;
  FileSystem& files;
  std::string folder;
  Spooler& spooler;
};

struct RoleCase {
  const char* role;
  const char* behaviour;
  std::string (*run)(RoleScratch& scratch);
  const char* windows;
  const char* wine = nullptr;  // null: Wine gives the Windows line
  const char* wineNote = nullptr;
};

const std::vector<RoleCase>& RoleCases();

// The three roles of one machine and where rows may make their scratch places: a registry path below
// HKEY_CURRENT_USER and a folder whose parent exists.
struct RoleMachine {
  Registry& registry;
  FileSystem& files;
  Spooler& spooler;
  std::string registryBase;
  std::string folderBase;
};

// Runs one row in fresh scratch places and removes them afterwards; returns the row's line, or a line that
// starts with "scratch:" when the places could not be made.
std::string RunRoleCase(const RoleCase& row, RoleMachine& machine);

// The in-memory machine: the fakes of the three roles, with the folders a Windows system has for them.
struct FakeRoleMachine {
  FakeRoleMachine();
  RoleMachine Machine() {
    return {registry, files, spooler, "Software\\MQ450 role cases", "C:\\Windows\\Temp\\mq450-role-cases"};
  }
  CallJournal journal;
  FakeRegistry registry{journal};
  FakeFileSystem files{journal};
  FakeSpooler spooler{journal, true};
};

}  // namespace mq::platform::testing
