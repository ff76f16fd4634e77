// The portable profile reader over any file: UTF-16LE, UTF-8 and ANSI forms are chosen by the input's own
// first bytes. Every answer must fit the caller's buffer and be valid text, and a value written must read back.
#include <cstddef>
#include <cstdint>

#include "FuzzInput.h"
#include "platform/IniProfile.h"
#include "platform/Text.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeFileSystem.h"

using namespace mq;

namespace {

bool ValidText(const std::string& utf8) {
  return text::Utf16ToUtf8(text::Utf8ToUtf16(utf8)) == utf8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::CallJournal journal;
  platform::FakeFileSystem files(journal);
  files.MakeFolders("C:\\P");
  const std::string file = "C:\\P\\f.ini";
  files.PutBytes(file, std::vector<uint8_t>(data, data + size));
  platform::IniProfile profile(files, "C:\\Windows");

  // A few sections and keys of each file are enough to reach every path of the reader.
  std::vector<std::string> sections = profile.GetSectionNames(file);
  if (sections.size() > 8) sections.resize(8);
  sections.push_back("");
  for (const std::string& section : sections) {
    std::vector<std::string> keys = profile.GetKeyNames(file, section);
    if (keys.size() > 8) keys.resize(8);
    keys.push_back("missing key");
    for (const std::string& key : keys) {
      for (uint32_t capacity : {0u, 1u, 2u, 5u, 200u}) {
        std::string value = profile.GetString(file, section, key, "dflt ", capacity);
        fuzz::Require(ValidText(value));
        fuzz::Require(capacity == 0 ? value.empty() : text::Utf16Length(value) <= capacity - 1);
      }
    }
  }
  fuzz::Require(profile.WriteString(file, "Fuzz", "Key", "written value") == 0);
  fuzz::Require(profile.GetString(file, " fuzz ", "KEY", "", 200) == "written value");
  fuzz::Require(profile.WriteString(file, "Fuzz", "Key", std::nullopt) == 0);
  return 0;
}
