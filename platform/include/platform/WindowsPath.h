// Splitting of Windows paths for the portable file systems: the drive letter and the names along the way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mq::platform {

struct WindowsPath {
  char drive = 'C';                // upper-case drive letter; paths without one use C
  std::vector<std::string> names;  // components, with "." removed and ".." applied
};

// Parses "C:\a\b", "\a\b" or "a\b" (both slash kinds). Relative paths start at the drive root.
WindowsPath ParseWindowsPath(std::string_view path);

// Case-blind match of a name against a pattern with '*' (any run) and '?' (one character).
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace mq::platform
