// Journal and failure injection in front of the portable profile reader.
#include "platform/fake/JournaledProfile.h"

namespace mq::platform {

std::string JournaledProfile::GetString(std::string_view file, std::string_view section, std::string_view key,
                                        std::string_view defaultValue, uint32_t capacity) {
  // A failed read answers as for a missing file: the default.
  if (journal_.Enter("GetPrivateProfileStringW", {{"file", inner_.FullPath(file)},
                                                  {"section", std::string(section)},
                                                  {"key", std::string(key)}}) != 0) {
    return IniProfile::DefaultAnswer(defaultValue, capacity);
  }
  CallJournal::Quiet quiet(&journal_);
  return inner_.GetString(file, section, key, defaultValue, capacity);
}

std::vector<std::string> JournaledProfile::GetSectionNames(std::string_view file) {
  if (journal_.Enter("GetPrivateProfileSectionNamesW", {{"file", inner_.FullPath(file)}}) != 0) return {};
  CallJournal::Quiet quiet(&journal_);
  return inner_.GetSectionNames(file);
}

std::vector<std::string> JournaledProfile::GetKeyNames(std::string_view file, std::string_view section) {
  if (journal_.Enter(
          "GetPrivateProfileStringW",
          {{"file", inner_.FullPath(file)}, {"section", std::string(section)}, {"key", "(null)"}}) != 0) {
    return {};
  }
  CallJournal::Quiet quiet(&journal_);
  return inner_.GetKeyNames(file, section);
}

uint32_t JournaledProfile::WriteString(std::string_view file, std::string_view section,
                                       std::optional<std::string_view> key,
                                       std::optional<std::string_view> value) {
  if (uint32_t e =
          journal_.Enter("WritePrivateProfileStringW", {{"file", inner_.FullPath(file)},
                                                        {"section", std::string(section)},
                                                        {"key", key ? std::string(*key) : "(null)"},
                                                        {"value", value ? std::string(*value) : "(null)"}})) {
    return e;
  }
  CallJournal::Quiet quiet(&journal_);
  return inner_.WriteString(file, section, key, value);
}

uint32_t JournaledProfile::Flush(std::string_view file) {
  if (uint32_t e = journal_.Enter(
          "WritePrivateProfileStringW",
          {{"file", inner_.FullPath(file)}, {"section", "(null)"}, {"key", "(null)"}, {"value", "(null)"}})) {
    return e;
  }
  return inner_.Flush(file);
}

}  // namespace mq::platform
