// The transcript and failure switchboard shared by the in-memory fakes. Each fake method announces itself
// with the Windows function it stands for and its arguments; the journal records one line per call
// ("CopyFileW source=C:\a target=C:\b failIfExists=0") and answers with the error to fail it with.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mq::platform {

class CallJournal {
 public:
  struct Arg {
    std::string_view name;
    std::string value;
  };

  // Records the call. Returns 0 to let it run, or the Windows error code it must fail with (the fake then
  // returns that error and leaves its outputs untouched).
  uint32_t Enter(std::string_view function, std::initializer_list<Arg> args);

  // Makes calls of function fail with error: the nth call only (1-based, counted from now), or every call
  // when nth is 0.
  void FailCall(std::string_view function, uint32_t error, int nth = 0);
  void ClearFailures() { rules_.clear(); }

  const std::vector<std::string>& Lines() const { return lines_; }
  // The recorded lines of one function, in order.
  std::vector<std::string> CallsTo(std::string_view function) const;
  size_t CountOf(std::string_view function) const { return CallsTo(function).size(); }
  void Clear() { lines_.clear(); }

  // Also hands every line to sink as it is recorded (the Linux tool prints them).
  void SetSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

  static std::string Hex(uint64_t value);

  // While a Quiet object lives, calls are neither recorded nor failed: a fake that is built on another fake
  // (the profile on the file system) records only its own call.
  class Quiet {
   public:
    explicit Quiet(CallJournal* journal) : journal_(journal) {
      if (journal_ != nullptr) ++journal_->quietDepth_;
    }
    ~Quiet() {
      if (journal_ != nullptr) --journal_->quietDepth_;
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

   private:
    CallJournal* journal_;
  };

 private:
  struct Rule {
    uint32_t error;
    int nth;
    int seen = 0;
  };
  std::vector<std::string> lines_;
  std::multimap<std::string, Rule, std::less<>> rules_;
  std::function<void(const std::string&)> sink_;
  int quietDepth_ = 0;
};

}  // namespace mq::platform
