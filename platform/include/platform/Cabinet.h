// Cabinet (.cab) extraction through the Setup API's cabinet iterator.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace mq::platform {

class Cabinet {
 public:
  virtual ~Cabinet() = default;
  // SetupIterateCabinetW over cabinet: each member for which wanted(name) is true is written into folder
  // under its own name (overwriting); the others are skipped. Returns the iterator's error, 0 when it went
  // through.
  virtual uint32_t Extract(std::string_view cabinet, std::string_view folder,
                           const std::function<bool(std::string_view name)>& wanted) = 0;
};

}  // namespace mq::platform
