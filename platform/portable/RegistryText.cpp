// Text and number values over the Registry role.
#include "platform/RegistryText.h"

#include <vector>

#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::platform {

uint32_t ReadRegString(Registry& registry, RegKey key, std::string_view name, std::string* value) {
  // The value may change between the probe and the read; retry a few times on ERROR_MORE_DATA.
  for (int attempt = 0; attempt < 4; ++attempt) {
    uint32_t type = 0;
    uint32_t size = 0;
    uint32_t status = registry.QueryValue(key, name, &type, nullptr, &size);
    if (status != err::kSuccess) return status;
    if (type != kRegSz && type != kRegExpandSz) return err::kInvalidData;
    std::vector<uint8_t> data(size + 2, 0);
    status = registry.QueryValue(key, name, &type, data.data(), &size);
    if (status == err::kMoreData) continue;
    if (status != err::kSuccess) return status;
    std::u16string wide;
    for (uint32_t i = 0; i + 1 < size; i += 2) {
      auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
      if (unit == 0) break;
      wide += unit;
    }
    *value = text::Utf16ToUtf8(wide);
    return err::kSuccess;
  }
  return err::kMoreData;
}

std::vector<uint8_t> RegSzBytes(std::string_view value) {
  std::u16string wide = text::Utf8ToUtf16(value);
  std::vector<uint8_t> data;
  data.reserve((wide.size() + 1) * 2);
  for (char16_t unit : wide) {
    data.push_back(static_cast<uint8_t>(unit & 0xFF));
    data.push_back(static_cast<uint8_t>(unit >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return data;
}

uint32_t WriteRegString(Registry& registry, RegKey key, std::string_view name, std::string_view value) {
  std::vector<uint8_t> data = RegSzBytes(value);
  return registry.SetValue(key, name, kRegSz, data.data(), static_cast<uint32_t>(data.size()));
}

uint32_t ReadRegDword(Registry& registry, RegKey key, std::string_view name, uint32_t* value) {
  uint32_t type = 0;
  uint8_t data[4] = {};
  uint32_t size = sizeof data;
  uint32_t status = registry.QueryValue(key, name, &type, data, &size);
  if (status != err::kSuccess) return status;
  if (type != kRegDword || size != 4) return err::kInvalidData;
  *value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
  return err::kSuccess;
}

uint32_t WriteRegDword(Registry& registry, RegKey key, std::string_view name, uint32_t value) {
  uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return registry.SetValue(key, name, kRegDword, data, sizeof data);
}

}  // namespace mq::platform
