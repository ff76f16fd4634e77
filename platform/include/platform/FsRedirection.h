// WOW64 file-system redirection: a 32-bit program on 64-bit Windows switches it off around accesses to the
// system folder, so that "system32" means the 64-bit system folder.
#pragma once

#include <cstdint>

namespace mq::platform {

class FsRedirection {
 public:
  virtual ~FsRedirection() = default;
  // Wow64DisableWow64FsRedirection, looked up by name in kernel32.dll: *cookie receives what Revert needs.
  // ERROR_INVALID_FUNCTION when the entry point is missing or the process is not a WOW64 process.
  virtual uint32_t Disable(uintptr_t* cookie) = 0;
  // Wow64RevertWow64FsRedirection.
  virtual uint32_t Revert(uintptr_t cookie) = 0;
};

// Switches redirection off for a scope when asked to; failures leave it as it was (a 64-bit program has
// none).
class RedirectionOff {
 public:
  RedirectionOff(FsRedirection& redirection, bool active) : redirection_(redirection) {
    if (active) disabled_ = redirection_.Disable(&cookie_) == 0;
  }
  ~RedirectionOff() {
    if (disabled_) redirection_.Revert(cookie_);
  }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

 private:
  FsRedirection& redirection_;
  uintptr_t cookie_ = 0;
  bool disabled_ = false;
};

}  // namespace mq::platform
