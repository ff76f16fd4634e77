// Splitting one fuzz input into the pieces a target needs: files separated by a marker line, and small
// numbers taken from the front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mq::fuzz {

// The input cut at each "\n--\n" into at most count pieces (the last takes the rest); missing pieces are empty.
inline std::vector<std::string> SplitFiles(const uint8_t* data, size_t size, size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> pieces;
  while (pieces.size() + 1 < count) {
    size_t cut = rest.find("\n--\n");
    if (cut == std::string_view::npos) break;
    pieces.emplace_back(rest.substr(0, cut));
    rest.remove_prefix(cut + 4);
  }
  pieces.emplace_back(rest);
  pieces.resize(count);
  return pieces;
}

// Stops the run when a property does not hold; libFuzzer keeps the input.
inline void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace mq::fuzz
