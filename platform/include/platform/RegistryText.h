// Reading and writing text and number values through the Registry role, with the size probing and terminating
// zero that the registry functions expect.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace mq::platform {

// A REG_SZ or REG_EXPAND_SZ value as UTF-8 (the size is probed first; a missing terminator is tolerated).
// Returns the registry error: ERROR_FILE_NOT_FOUND when missing, ERROR_INVALID_DATA for another type.
uint32_t ReadRegString(Registry& registry, RegKey key, std::string_view name, std::string* value);

// The bytes of a REG_SZ value: UTF-16LE with its terminating zero.
std::vector<uint8_t> RegSzBytes(std::string_view value);

// Writes a REG_SZ value; the byte count includes the terminating zero.
uint32_t WriteRegString(Registry& registry, RegKey key, std::string_view name, std::string_view value);

// REG_DWORD values.
uint32_t ReadRegDword(Registry& registry, RegKey key, std::string_view name, uint32_t* value);
uint32_t WriteRegDword(Registry& registry, RegKey key, std::string_view name, uint32_t value);

}  // namespace mq::platform
