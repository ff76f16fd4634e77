// Reading and writing the control font's translation table.
#include "pages/ControlFontTable.h"

#include <cstdio>

namespace mq::plugin {

std::string ControlFontPath(std::string_view windowsDirectory) {
  return std::string(windowsDirectory) + "\\system32\\spool\\drivers\\w32x86\\3\\" +
         std::string(kControlFontFileName);
}

std::string ControlFontKey(int code) {
  char key[8];
  std::snprintf(key, sizeof key, "%X", static_cast<unsigned>(code));
  return key;
}

ControlFontTable ReadControlFontTable(platform::Profile& profile, std::string_view path) {
  ControlFontTable table;
  for (int row = 0; row < kControlFontRows; ++row)
    table[static_cast<size_t>(row)] = profile.GetString(
        path, kControlFontSection, ControlFontKey(kControlFontFirstCode + row), "", kControlFontValueRoom);
  return table;
}

uint32_t WriteControlFontTable(platform::Profile& profile, platform::FileSystem& files, std::string_view path,
                               const ControlFontTable& table) {
  files.Delete(path);  // a missing file is fine: there is nothing to clear
  for (int row = 0; row < kControlFontRows; ++row) {
    const std::string& command = table[static_cast<size_t>(row)];
    if (command.empty()) continue;
    if (uint32_t e = profile.WriteString(path, kControlFontSection,
                                         ControlFontKey(kControlFontFirstCode + row), command)) {
      return e;
    }
  }
  return 0;
}

}  // namespace mq::plugin
