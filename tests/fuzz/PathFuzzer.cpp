// The tool's path handling: Windows paths split for the host-folder file system (never leaving its root),
// wildcard matching, the logo intermediate's name, and the temporary names of outputs.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzInput.h"
#include "imaging/LogoFiles.h"
#include "platform/HostFile.h"
#include "platform/RootedFileSystem.h"
#include "platform/WindowsPath.h"

using namespace mq;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> parts = fuzz::SplitFiles(data, size, 2);
  const std::string& path = parts[0];

  platform::WindowsPath parsed = platform::ParseWindowsPath(path);
  for (const std::string& name : parsed.names) {
    fuzz::Require(!name.empty() && name != "." && name != "..");
    fuzz::Require(name.find_first_of(std::string_view("\\/\0", 3)) == std::string::npos);
  }
  // Lexically below the root whatever the path says; the root folder itself is empty, so nothing on the disk
  // is looked at beyond it.
  static const fs::path root = [] {
    fs::path made = fs::temp_directory_path() / "mq450-path-fuzz-root";
    fs::create_directories(made);
    return made;
  }();
  platform::RootedFileSystem files(root);
  fs::path host = files.HostPath(path);
  fuzz::Require(host.string().rfind(root.string(), 0) == 0);
  for (const fs::path& piece : host.lexically_relative(root)) fuzz::Require(piece != "..");

  (void)platform::MatchesWildcard(parts[1].substr(0, 64), path.substr(0, 256));

  if (std::optional<std::string> intermediate = imaging::IntermediatePath(path)) {
    // Four characters of the file name are cut and "Temp.bmp" added; the cut never reaches the folder.
    fuzz::Require(intermediate->size() >= 8 && intermediate->ends_with("Temp.bmp"));
    std::string kept = intermediate->substr(0, intermediate->size() - 8);
    fuzz::Require(path.starts_with(kept));
    fuzz::Require(path.find_first_of("\\/", kept.size()) == std::string::npos);
  }
  fs::path temp = platform::TemporarySibling(fs::path(path));
  fuzz::Require(temp.filename().string().size() <= 255);
  fuzz::Require(temp.parent_path() == fs::path(path).parent_path());
  return 0;
}
