// In-memory top-level windows for tests and simulated machines: a set of titles, journaled lookups.
#pragma once

#include <set>
#include <string>

#include "platform/WindowLookup.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeWindowLookup : public WindowLookup {
 public:
  explicit FakeWindowLookup(CallJournal& journal) : journal_(journal) {}
  bool Exists(std::string_view title) override {
    if (title.empty()) return false;
    journal_.Enter("FindWindowW", {{"title", std::string(title)}});
    return titles.count(std::string(title)) != 0;
  }
  bool BringToFront(std::string_view title) override {
    if (!Exists(title)) return false;
    journal_.Enter("SetForegroundWindow", {{"title", std::string(title)}});
    return true;
  }
  std::set<std::string> titles;  // the windows open on the desktop

 private:
  CallJournal& journal_;
};

}  // namespace mq::platform
