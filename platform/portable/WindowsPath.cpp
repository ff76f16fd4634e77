// Windows path splitting and wildcard matching.
#include "platform/WindowsPath.h"

#include <cctype>

#include "platform/Text.h"

namespace mq::platform {

WindowsPath ParseWindowsPath(std::string_view path) {
  WindowsPath out;
  // Windows takes paths as zero-ended strings: nothing after a zero is part of the path (and a host path with
  // a zero in it would be cut short by the system, possibly above the root).
  path = path.substr(0, path.find('\0'));
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    out.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    path.remove_prefix(2);
  }
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view name = path.substr(start, end - start);
    if (name == "..") {
      if (!out.names.empty()) out.names.pop_back();
    } else if (!name.empty() && name != ".") {
      out.names.emplace_back(name);
    }
    start = end + 1;
  }
  return out;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  std::string p = text::FoldCase(pattern);
  std::string n = text::FoldCase(name);
  // "*.*" matches names without a dot too, as on Windows.
  if (p == "*.*") return true;
  size_t pi = 0, ni = 0, starP = std::string::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::string::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace mq::platform
