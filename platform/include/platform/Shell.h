// Starting programs and opening documents (ShellExecuteW).
#pragma once

#include <cstdint>
#include <string_view>

namespace mq::platform {

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
inline constexpr int kShowHidden = 0;  // SW_HIDE

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW(verb, file, parameters, directory, show). Returns the function's value: greater than 32 on
  // success, otherwise an error code (2 file not found, 3 path not found, 31 no association, ...).
  // An empty verb is the default verb; empty parameters and directory stand for null.
  virtual intptr_t Execute(std::string_view verb, std::string_view file, std::string_view parameters,
                           std::string_view directory, int show) = 0;
};

}  // namespace mq::platform
