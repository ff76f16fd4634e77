// Language texts for page tests: a table of (section, key) -> text standing for the current language file,
// with the built-in default for anything missing and the same cut to the room given.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "pages/PageTexts.h"
#include "platform/Text.h"

namespace mq::plugin::testing {

class TableTexts : public PageTexts {
 public:
  void ResolveCurrentLanguage() override { ++resolves; }
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                   size_t capacity) override {
    auto it = table.find({std::string(section), std::string(key)});
    std::string_view text = it == table.end() ? fallback : std::string_view(it->second);
    return text::TruncateUtf16(text, capacity == 0 ? 0 : capacity - 1);
  }

  std::map<std::pair<std::string, std::string>, std::string> table;
  int resolves = 0;
};

}  // namespace mq::plugin::testing
