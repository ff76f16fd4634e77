// The portable profile reader with a journal: every call is recorded under the Win32 profile function it
// stands for and may be failed; the file reads and writes the reader makes on the way are not recorded, since
// on Windows they happen inside the profile function.
#pragma once

#include "platform/IniProfile.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class JournaledProfile : public Profile {
 public:
  JournaledProfile(IniProfile& inner, CallJournal& journal) : inner_(inner), journal_(journal) {}

  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, uint32_t capacity) override;
  std::vector<std::string> GetSectionNames(std::string_view file) override;
  std::vector<std::string> GetKeyNames(std::string_view file, std::string_view section) override;
  uint32_t WriteString(std::string_view file, std::string_view section, std::optional<std::string_view> key,
                       std::optional<std::string_view> value) override;
  uint32_t Flush(std::string_view file) override;

 private:
  IniProfile& inner_;
  CallJournal& journal_;
};

}  // namespace mq::platform
