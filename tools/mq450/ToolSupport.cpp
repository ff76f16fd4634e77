// Error output and whole-file I/O for the tool.
#include "ToolSupport.h"

#include <iostream>

#include "platform/HostFile.h"

namespace mq::tool {

int Fail(int status, std::string_view message) {
  std::cerr << "mq450: " << message << '\n';
  return status;
}

bool ReadWholeFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>* bytes,
                   std::string* error) {
  std::string reason = platform::ReadHostFile(path, maxBytes, bytes);
  if (reason.empty()) return true;
  *error = "cannot read " + path + ": " + reason;
  return false;
}

bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  std::string reason = platform::WriteHostFile(path, bytes);
  if (reason.empty()) return true;
  *error = "cannot write " + path + ": " + reason;
  return false;
}

}  // namespace mq::tool
