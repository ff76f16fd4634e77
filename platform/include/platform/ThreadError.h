// The calling thread's last-error value (SetLastError / GetLastError), for code that must report a Windows
// error code to a caller that reads it after a failed call.
#pragma once

#include <cstdint>

namespace mq::platform {

class ThreadError {
 public:
  virtual ~ThreadError() = default;
  // Sets the calling thread's last error. Never fails.
  virtual void Set(uint32_t error) = 0;
  // Returns the value last set on the calling thread.
  virtual uint32_t Get() = 0;
};

}  // namespace mq::platform
