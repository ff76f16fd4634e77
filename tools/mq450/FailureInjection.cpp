// Failure injection of the "simulate" commands.
#include "FailureInjection.h"

#include "ToolSupport.h"

namespace mq::tool {

namespace {

bool IsCallOf(const std::string& line, std::string_view function) {
  return line.compare(0, function.size(), function) == 0 &&
         (line.size() == function.size() || line[function.size()] == ' ');
}

}  // namespace

bool ParseFailRule(std::string_view text, FailRule* rule) {
  size_t equals = text.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  std::string_view rest = text.substr(equals + 1);
  size_t at = rest.find('@');
  uint64_t error = 0;
  uint64_t nth = 0;
  if (!ParseCount(rest.substr(0, at), 0xFFFFFFFFu, &error) || error == 0) return false;
  if (at != std::string_view::npos && (!ParseCount(rest.substr(at + 1), 1000000, &nth) || nth == 0)) {
    return false;
  }
  rule->function = std::string(text.substr(0, equals));
  rule->error = static_cast<uint32_t>(error);
  rule->nth = static_cast<int>(nth);
  return true;
}

bool ReadFailOption(std::string_view value, std::vector<FailRule>* rules, std::string* error) {
  FailRule rule;
  if (!ParseFailRule(value, &rule)) {
    *error = "--fail takes CALL=ERROR or CALL=ERROR@N with a non-zero error and N from 1: " + std::string(value);
    return false;
  }
  rules->push_back(rule);
  return true;
}

std::vector<std::string> CallSpellings(std::string_view function) {
  std::vector<std::string> names{std::string(function)};
  if (function.size() > 1 && (function.back() == 'A' || function.back() == 'W')) {
    names.push_back(std::string(function.substr(0, function.size() - 1)) +
                    (function.back() == 'A' ? 'W' : 'A'));
  }
  return names;
}

void FailureInjection::Arm(platform::CallJournal& journal) {
  firstLine_ = journal.Lines().size();
  for (const FailRule& rule : rules_) {
    for (const std::string& name : CallSpellings(rule.function)) journal.FailCall(name, rule.error, rule.nth);
  }
}

std::vector<std::string> FailureInjection::Missed(const platform::CallJournal& journal) const {
  std::vector<std::string> missed;
  const std::vector<std::string>& lines = journal.Lines();
  for (const FailRule& rule : rules_) {
    size_t calls = 0;
    for (size_t i = firstLine_; i < lines.size(); ++i) {
      for (const std::string& name : CallSpellings(rule.function)) {
        if (IsCallOf(lines[i], name)) ++calls;
      }
    }
    if (calls >= static_cast<size_t>(rule.nth == 0 ? 1 : rule.nth)) continue;
    std::vector<std::string> names = CallSpellings(rule.function);
    std::string text = "--fail " + rule.function + "=" + std::to_string(rule.error);
    if (rule.nth != 0) text += "@" + std::to_string(rule.nth);
    text += " never happened: the run made " + std::to_string(calls) + " call" + (calls == 1 ? "" : "s") +
            " of " + names[0] + (names.size() > 1 ? " or " + names[1] : "");
    missed.push_back(text);
  }
  return missed;
}

}  // namespace mq::tool
