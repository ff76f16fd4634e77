// The operation editor's command-text tokenizer over any typed text, and the round trip of any bytes through
// their shown form.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzInput.h"
#include "pages/CommandText.h"

using namespace mq;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view typed(reinterpret_cast<const char*>(data), size);
  std::vector<uint8_t> parsed = plugin::ParseCommandText(typed);
  fuzz::Require(parsed.size() <= size);
  std::string shown = plugin::FormatCommandText(data, size);
  fuzz::Require(shown.size() == 3 * size);
  fuzz::Require(plugin::ParseCommandText(shown) == std::vector<uint8_t>(data, data + size));
  for (size_t i = 0; i + 1 < size; i += 2) {
    char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    (void)plugin::IsCommandTextChar(unit, (data[i] & 1) != 0);
  }
  return 0;
}
