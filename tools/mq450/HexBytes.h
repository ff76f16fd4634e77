// Strict reading of hexadecimal byte text given on the command line ("1B 70 00 19 FA"): the tool refuses what
// a page's edit would quietly read as zero.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mq::tool {

// Space-separated groups of hexadecimal digit pairs ("1B 70", "1B70" and " 1b 70 " all give 1B 70). At most
// maxBytes bytes; false with a reason in *error for an odd group, a non-hexadecimal character or too many bytes.
bool ParseHexBytes(std::string_view text, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* error);

}  // namespace mq::tool
