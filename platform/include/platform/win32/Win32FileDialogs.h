// The file chooser over the common Open dialog (GetOpenFileNameW), owned by a page's window. Windows builds
// only.
#pragma once

#include <windows.h>

#include "platform/ui/FileDialogs.h"

namespace mq::platform::ui {

class Win32FileDialogs : public FileDialogs {
 public:
  explicit Win32FileDialogs(HWND owner) : owner_(owner) {}
  std::optional<std::string> ChooseFileToOpen(std::string_view title,
                                              const std::vector<FileType>& types) override;

 private:
  HWND owner_;
};

}  // namespace mq::platform::ui
