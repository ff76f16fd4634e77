// The --fail CALL=ERROR[@N] option of the "simulate" commands: makes a Windows call of the simulated machine
// fail with an error code, every time or only its Nth time. A call may be named in its A or its W spelling
// (the package's configuration and the Windows documentation name the A functions, the journal the W ones),
// and an injection whose call never happened is reported, so that a misspelt name cannot pass as a success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake/CallJournal.h"

namespace mq::tool {

struct FailRule {
  std::string function;  // as given
  uint32_t error = 0;
  int nth = 0;  // 0: every call
};

// Parses "CALL=ERROR" or "CALL=ERROR@N" (a non-zero error, N from 1). false for anything else.
bool ParseFailRule(std::string_view text, FailRule* rule);

// The value of a --fail option: adds its rule to *rules, or false with the usage line in *error.
bool ReadFailOption(std::string_view value, std::vector<FailRule>* rules, std::string* error);

class FailureInjection {
 public:
  explicit FailureInjection(std::vector<FailRule> rules) : rules_(std::move(rules)) {}

  // Arms every rule on journal, under the name given and its other spelling; calls are counted from now.
  void Arm(platform::CallJournal& journal);

  // The rules whose failure never happened since Arm (the call was not made, or made fewer than N times),
  // each as one line: "--fail CALL=ERROR[@N] never happened: the run made K calls of CALL or ITS_TWIN".
  std::vector<std::string> Missed(const platform::CallJournal& journal) const;

 private:
  std::vector<FailRule> rules_;
  size_t firstLine_ = 0;
};

// The names a call may be journaled under: the name given and, for a name ending in 'A' or 'W', the other.
std::vector<std::string> CallSpellings(std::string_view function);

}  // namespace mq::tool
