// Transcript and failure injection for the in-memory fakes.
#include "platform/fake/CallJournal.h"

#include <cstdio>

namespace mq::platform {

uint32_t CallJournal::Enter(std::string_view function, std::initializer_list<Arg> args) {
  if (quietDepth_ > 0) return 0;
  std::string line(function);
  for (const Arg& arg : args) {
    line += ' ';
    line += arg.name;
    line += '=';
    line += arg.value;
  }
  uint32_t error = 0;
  auto [first, last] = rules_.equal_range(function);
  for (auto it = first; it != last; ++it) {
    Rule& rule = it->second;
    ++rule.seen;
    if (error == 0 && (rule.nth == 0 || rule.nth == rule.seen)) error = rule.error;
  }
  if (error != 0) line += " -> error " + std::to_string(error);
  lines_.push_back(line);
  if (sink_) sink_(line);
  return error;
}

void CallJournal::FailCall(std::string_view function, uint32_t error, int nth) {
  rules_.emplace(std::string(function), Rule{error, nth});
}

std::vector<std::string> CallJournal::CallsTo(std::string_view function) const {
  std::vector<std::string> out;
  for (const std::string& line : lines_) {
    if (line.compare(0, function.size(), function) == 0 &&
        (line.size() == function.size() || line[function.size()] == ' ')) {
      out.push_back(line);
    }
  }
  return out;
}

std::string CallJournal::Hex(uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(value));
  return buffer;
}

}  // namespace mq::platform
