// The file chooser for tests: answers each request with the next queued path (nothing, as if cancelled, once
// they run out) and keeps what each request asked for.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/FileDialogs.h"

namespace mq::platform::ui {

class FakeFileDialogs : public FileDialogs {
 public:
  struct Request {
    std::string title;
    std::vector<FileType> types;
  };

  // The next answer: a path, or std::nullopt for Cancel.
  void QueueAnswer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }

  std::optional<std::string> ChooseFileToOpen(std::string_view title,
                                              const std::vector<FileType>& types) override {
    requests.push_back({std::string(title), types});
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }

  std::vector<Request> requests;

 private:
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace mq::platform::ui
