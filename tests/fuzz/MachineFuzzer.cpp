// The simulated machine's state files as a hand or a hostile tool may leave them: a file either loads or is
// refused with its line, and what loads is written back in a form that loads to the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeSpooler.h"

using namespace mq;

template <typename Fake, typename Make>
void RoundTrip(std::string_view text, Make make) {
  platform::CallJournal journal;
  Fake first = make(journal);
  std::string error;
  if (!first.Deserialize(text, &error)) {
    fuzz::Require(error.rfind("line ", 0) == 0);
    return;
  }
  std::string written = first.Serialize();
  Fake second = make(journal);
  fuzz::Require(second.Deserialize(written, &error));
  fuzz::Require(second.Serialize() == written);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first byte picks the form with or without its escaped-names first line, so both readers get tried.
  std::string registryText(text), spoolerText(text);
  if (size > 0 && (data[0] & 1) != 0) {
    registryText = std::string(platform::FakeRegistry::kEscapedNamesMark) + "\n" + registryText.substr(1);
    spoolerText = std::string(platform::FakeSpooler::kEscapedFieldsMark) + "\n" + spoolerText.substr(1);
  }
  RoundTrip<platform::FakeRegistry>(registryText,
                                    [](platform::CallJournal& j) { return platform::FakeRegistry(j); });
  RoundTrip<platform::FakeSpooler>(spoolerText,
                                   [](platform::CallJournal& j) { return platform::FakeSpooler(j, false); });
  return 0;
}
