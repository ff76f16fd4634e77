// The driver-log viewer: a separate program of the package that the installer puts in the drive root's
// "Program Files\ZNT\ZNTDriverlog" folder and the Main page starts with the model's names.
#pragma once

#include <string>
#include <string_view>

#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace mq::plugin {

// The viewer's file name; the installer's model files name the same file, so that what is copied is what is
// started.
inline constexpr std::string_view kLogViewerFileName = "ZNTDriverlogViewer.exe";
// The model name without and with its hyphen, two spaces apart.
inline constexpr std::string_view kLogViewerArguments = "MQ450  MQ-450";

// The system directory cut after its third character (the drive root, "D:\") followed by
// "Program Files\ZNT\ZNTDriverlog\ZNTDriverlogViewer.exe".
std::string LogViewerPath(std::string_view systemDirectory);

enum class LogViewerStart { kStarted, kMissing, kFailedSilently };

// ShellExecuteW("open", path, "MQ450  MQ-450", no directory, SW_SHOW). kMissing when the file was not found
// and Windows is not 5.0 (the caller then shows MB_LAYOUT_VIEWER); on Windows 5.0 a missing viewer, like
// every other failure, is kFailedSilently.
LogViewerStart LaunchLogViewer(platform::Shell& shell, platform::SystemInfo& system);

}  // namespace mq::plugin
