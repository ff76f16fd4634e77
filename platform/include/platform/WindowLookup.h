// Finding the top-level windows of other programs by their title, as the setup programs do to keep out of
// each other's way and to wait for a program they started.
#pragma once

#include <string_view>

namespace mq::platform {

class WindowLookup {
 public:
  virtual ~WindowLookup() = default;
  // FindWindowW(no class, title): a top-level window with exactly this title exists. An empty title is never
  // looked up (it would find any untitled window) and answers false.
  virtual bool Exists(std::string_view title) = 0;
  // The window found as by Exists is restored when minimised (ShowWindow SW_RESTORE) and brought to the
  // foreground (SetForegroundWindow); false when there is none.
  virtual bool BringToFront(std::string_view title) = 0;
};

}  // namespace mq::platform
