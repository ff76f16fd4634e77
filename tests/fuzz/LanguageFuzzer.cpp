// The language files: the plug-in's index file and language file as its pages read them, and a setup
// program's language file with its line-break rule. Any file gives texts within their buffers.
#include <cstddef>
#include <cstdint>

#include "FuzzInput.h"
#include "common/LanguageTexts.h"
#include "platform/Text.h"
#include "platform/fake/FakePlatform.h"
#include "plugin/UiTexts.h"

using namespace mq;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> files = fuzz::SplitFiles(data, size, 3);
  platform::FakePlatform platform;
  const std::string driverDir = "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\";
  platform.files.MakeFolders("C:\\Users\\user\\AppData\\Roaming");
  platform.files.MakeFolders(driverDir);
  platform.files.MakeFolders("C:\\P\\language");
  platform.files.Put(driverDir + "LANGUAGE_MQ450.ini", files[0]);
  platform.files.Put(driverDir + "ENG_MQ450.res", files[1]);
  platform.files.Put("C:\\P\\language\\setup_EN.ini", files[2]);

  plugin::UiTexts texts(platform.Services());
  texts.PrepareAtLoad();
  fuzz::Require(texts.LoadLanguageList().size() <= 100);
  for (const plugin::LanguageEntry& entry : texts.Languages()) (void)texts.ChooseLanguage(entry.displayName);
  texts.ResolveCurrentLanguage();
  for (const plugin::UiTextDefault& shared : plugin::kSharedUiTexts) {
    std::string value = texts.ReadShared(shared.section, shared.key);
    fuzz::Require(text::Utf16Length(value) < shared.capacity);
  }

  common::LanguageTexts setup(platform.profile, "C:\\P\\language", "setup", 0x0409);
  for (const char* key : {"IDS_ADMIN", "IDS_ERR_SYSTEM", "Caption"}) {
    fuzz::Require(text::Utf16Length(setup.Message(key)) <= 2047 + 6);
    (void)setup.Text("Setup", key);
  }
  return 0;
}
