// The Windows registry, in the shape of the RegXxxExW functions. Names are UTF-8; value data travels exactly
// as Windows stores it (strings as UTF-16LE with their terminating zero counted in the byte size), so that
// the callers do the same size probing as against the real registry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mq::platform {

using RegKey = std::uintptr_t;

// Predefined root keys, with the values Windows gives them.
inline constexpr RegKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHkeyUsers = 0x80000003u;

// Value types (REG_*).
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// Access masks (KEY_*).
inline constexpr uint32_t kKeyQueryValue = 0x0001;
inline constexpr uint32_t kKeySetValue = 0x0002;
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyWrite = 0x20006;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;
inline constexpr uint32_t kKeyWow64_64Key = 0x0100;

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExW. Opens an existing key below parent (a predefined root or an open key). Returns 0 and sets
  // *key; ERROR_FILE_NOT_FOUND when the key does not exist, ERROR_INVALID_HANDLE for a bad parent. *key is
  // left untouched on failure.
  virtual uint32_t OpenKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key) = 0;

  // RegCreateKeyExW. Opens the key, creating it and any missing parents first. *created (may be null) tells
  // whether it was created. *key untouched on failure.
  virtual uint32_t CreateKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key,
                             bool* created) = 0;

  // RegCloseKey. ERROR_INVALID_HANDLE for a key that is not open.
  virtual uint32_t CloseKey(RegKey key) = 0;

  // RegQueryValueExW. type, data and size may each be null. *size is the buffer size in bytes on entry and
  // the value's size on return. data null: returns 0 with the size. Buffer too small: ERROR_MORE_DATA, *size
  // set to the size needed, data untouched. Missing value: ERROR_FILE_NOT_FOUND, outputs untouched.
  virtual uint32_t QueryValue(RegKey key, std::string_view name, uint32_t* type, uint8_t* data,
                              uint32_t* size) = 0;

  // RegSetValueExW. Stores size bytes of data under name (the empty name is the key's default value).
  virtual uint32_t SetValue(RegKey key, std::string_view name, uint32_t type, const uint8_t* data,
                            uint32_t size) = 0;

  // RegDeleteValueW. ERROR_FILE_NOT_FOUND when the value does not exist.
  virtual uint32_t DeleteValue(RegKey key, std::string_view name) = 0;

  // RegDeleteKeyW. Deletes a key that has no subkeys; ERROR_ACCESS_DENIED when it has some,
  // ERROR_FILE_NOT_FOUND when it does not exist.
  virtual uint32_t DeleteKey(RegKey parent, std::string_view subKey) = 0;

  // RegEnumKeyExW / RegEnumValueW. The name of the index-th subkey or value, in the key's order;
  // ERROR_NO_MORE_ITEMS past the end.
  virtual uint32_t EnumKey(RegKey key, uint32_t index, std::string* name) = 0;
  virtual uint32_t EnumValue(RegKey key, uint32_t index, std::string* name) = 0;
};

}  // namespace mq::platform
