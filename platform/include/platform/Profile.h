// INI files read and written as the Windows profile functions do (GetPrivateProfileStringW and friends).
// A file name without a folder names a file in the Windows directory, as with the real functions
// ("win.ini" is the Windows profile).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mq::platform {

class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringW with a buffer of capacity UTF-16 units. Section and key are found without regard
  // to case and surrounding blanks; the value loses surrounding blanks and one pair of enclosing quotes; the
  // first of duplicate sections (and keys) wins. A missing file, section or key gives defaultValue (trailing
  // blanks removed). The answer is cut to capacity - 1 units; capacity 0 gives "".
  virtual std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                                std::string_view defaultValue, uint32_t capacity) = 0;

  // GetPrivateProfileSectionNamesW: the section names in file order, a repeated section as often as it
  // appears. Empty for a missing file.
  virtual std::vector<std::string> GetSectionNames(std::string_view file) = 0;

  // GetPrivateProfileStringW with a null key: the key names of the first matching section, in file order.
  virtual std::vector<std::string> GetKeyNames(std::string_view file, std::string_view section) = 0;

  // WritePrivateProfileStringW. A null key deletes the section, a null value deletes the key; otherwise the
  // key is set, creating the section (at the end) and the file when missing. A file that starts with the
  // UTF-16LE byte order mark stays UTF-16LE; others are written in the ANSI code page. Returns a Windows
  // error code.
  virtual uint32_t WriteString(std::string_view file, std::string_view section,
                               std::optional<std::string_view> key,
                               std::optional<std::string_view> value) = 0;

  // WritePrivateProfileStringW with only the file named: writes the system's cached copy of the file to disk
  // (Windows 98 keeps win.ini in memory until it is flushed). Returns a Windows error code.
  virtual uint32_t Flush(std::string_view file) = 0;
};

}  // namespace mq::platform
