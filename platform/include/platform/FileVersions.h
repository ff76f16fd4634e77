// The version resource of a file, as the installer compares driver versions.
#pragma once

#include <string>
#include <string_view>

namespace mq::platform {

class FileVersions {
 public:
  virtual ~FileVersions() = default;
  // GetFileVersionInfoW / VerQueryValueW: the "\StringFileInfo\%04x%04x\FileVersion" string of the first
  // translation in "\VarFileInfo\Translation"; "0.0.0.0" when the file, its resource or the string is
  // missing.
  virtual std::string FileVersion(std::string_view path) = 0;
};

}  // namespace mq::platform
