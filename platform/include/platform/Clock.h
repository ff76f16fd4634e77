// Time and waiting. Every wait of the package goes through here so that tests run instantly and can assert
// the waits.
#pragma once

#include <cstdint>

namespace mq::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Sleep(milliseconds).
  virtual void Sleep(uint32_t milliseconds) = 0;
  // GetTickCount: milliseconds since start, wrapping at 2^32.
  virtual uint32_t TickCount() = 0;
};

}  // namespace mq::platform
