// Paths of the build tree as the Windows test programs see them under Wine: the Unix root is the Z: drive.
#pragma once

#include <string>
#include <string_view>

namespace mq::testing {

// "/work/build/x.dll" -> "Z:\work\build\x.dll".
inline std::string WineHostPath(std::string_view unixPath) {
  std::string out = "Z:";
  for (char c : unixPath) out += c == '/' ? '\\' : c;
  return out;
}

// The same as a wide string for the W functions (build paths are ASCII).
inline std::wstring WineHostPathW(std::string_view unixPath) {
  std::string narrow = WineHostPath(unixPath);
  return std::wstring(narrow.begin(), narrow.end());
}

}  // namespace mq::testing
