// The service control manager, for the installer's restart of the "Spooler" service.
#pragma once

#include <cstdint>
#include <string_view>

namespace mq::platform {

// SERVICE_STATUS dwCurrentState values.
inline constexpr uint32_t kServiceStopped = 1;
inline constexpr uint32_t kServiceStartPending = 2;
inline constexpr uint32_t kServiceStopPending = 3;
inline constexpr uint32_t kServiceRunning = 4;

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;
  // OpenSCManager + OpenService + ControlService(SERVICE_CONTROL_STOP). ERROR_SERVICE_NOT_ACTIVE when it is
  // not running. Returns without waiting for the stop to finish.
  virtual uint32_t Stop(std::string_view service) = 0;
  // StartServiceW. ERROR_SERVICE_ALREADY_RUNNING when it runs.
  virtual uint32_t Start(std::string_view service) = 0;
  // QueryServiceStatus: *state receives the current state.
  virtual uint32_t QueryState(std::string_view service, uint32_t* state) = 0;
};

}  // namespace mq::platform
