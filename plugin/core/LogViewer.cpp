// Starting the driver-log viewer.
#include "plugin/LogViewer.h"

namespace mq::plugin {
namespace {

constexpr int kShowShow = 5;           // SW_SHOW
constexpr intptr_t kFileNotFound = 2;  // ShellExecute's SE_ERR_FNF, the same number as ERROR_FILE_NOT_FOUND

}  // namespace

std::string LogViewerPath(std::string_view systemDirectory) {
  return std::string(systemDirectory.substr(0, 3)) + "Program Files\\ZNT\\ZNTDriverlog\\" +
         std::string(kLogViewerFileName);
}

LogViewerStart LaunchLogViewer(platform::Shell& shell, platform::SystemInfo& system) {
  intptr_t result =
      shell.Execute("open", LogViewerPath(system.SystemDirectory()), kLogViewerArguments, "", kShowShow);
  if (result > 32) return LogViewerStart::kStarted;
  platform::OsVersion version = system.Version();
  if (result == kFileNotFound && !(version.major == 5 && version.minor == 0)) return LogViewerStart::kMissing;
  return LogViewerStart::kFailedSilently;
}

}  // namespace mq::plugin
