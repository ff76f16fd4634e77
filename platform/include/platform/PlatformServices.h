// The set of platform roles a program's logic is given at construction. The composition root (the Win32 entry
// points, the Linux tool, a test fixture) owns the implementations; logic classes keep references to the
// roles they use. Roles that arrive with later features (spooler, services, dialog controls) travel beside
// it.
#pragma once

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/ThreadError.h"

namespace mq::platform {

struct PlatformServices {
  Registry& registry;
  FileSystem& files;
  Profile& profile;
  SystemInfo& system;
  Clock& clock;
  Shell& shell;
  ThreadError& lastError;
};

}  // namespace mq::platform
