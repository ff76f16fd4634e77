// One in-memory Windows machine for tests: a journal and a fake of every platform role, with the portable
// profile reader working on the fake files.
#pragma once

#include "platform/IniProfile.h"
#include "platform/fake/JournaledProfile.h"
#include "platform/PlatformServices.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSystem.h"

namespace mq::platform {

class FakePlatform {
 public:
  FakePlatform()
      : registry(journal),
        files(journal),
        iniProfile(files, system.windowsDirectory),
        profile(iniProfile, journal),
        clock(journal),
        shell(journal) {
    files.MakeFolders(system.systemDirectory);
    files.MakeFolders(system.tempPath);
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  PlatformServices Services() {
    return PlatformServices{registry, files, profile, system, clock, shell, lastError};
  }

  CallJournal journal;
  FakeSystemInfo system;
  FakeRegistry registry;
  FakeFileSystem files;
  IniProfile iniProfile;
  JournaledProfile profile;
  FakeClock clock;
  FakeShell shell;
  FakeThreadError lastError;
};

}  // namespace mq::platform
