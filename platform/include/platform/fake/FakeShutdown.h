// In-memory restart of Windows for tests and simulated machines: journaled, never restarts anything.
#pragma once

#include "platform/SystemShutdown.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeSystemShutdown : public SystemShutdown {
 public:
  explicit FakeSystemShutdown(CallJournal& journal) : journal_(journal) {}
  uint32_t EnableShutdownPrivilege() override {
    return journal_.Enter("AdjustTokenPrivileges", {{"privilege", "SeShutdownPrivilege"}});
  }
  uint32_t Reboot() override {
    uint32_t e = journal_.Enter("ExitWindowsEx", {{"flags", "2"}, {"reason", "0"}});
    if (e == 0) ++reboots;
    return e;
  }
  int reboots = 0;

 private:
  CallJournal& journal_;
};

}  // namespace mq::platform
