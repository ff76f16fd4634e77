// The system's file chooser, as the pages use it: an Open dialog owned by the page, with a title and a list
// of file types. The Win32 adapter shows the common Open dialog (GetOpenFileNameW); tests answer it through
// the fake, and the Windows test hosts answer the real dialog by window messages. Paths are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mq::platform::ui {

// One entry of the type list: the text shown ("*.JK(Firmware)") and the patterns it matches ("*.JK", several
// separated by ';').
struct FileType {
  std::string description;
  std::string pattern;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The full path of an existing file the user chose, or nothing when the dialog was cancelled or failed.
  virtual std::optional<std::string> ChooseFileToOpen(std::string_view title,
                                                      const std::vector<FileType>& types) = 0;
};

}  // namespace mq::platform::ui
