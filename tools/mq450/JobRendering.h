// The paper that jobs print on the virtual MQ-450, shared by the render and printer commands.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace mq::tool {

// DejaVu Sans Mono (Debian package fonts-dejavu-core) for the resident fonts.
inline constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// Prints the jobs in order on one paper, written to output as a PNG picture; a line per job with its notes
// goes to report. With state, the stored logos are read from and kept in that folder. false with a reason
// in *error when something cannot be read or written; outputs are then left as they were.
bool RenderJobs(const std::vector<std::string>& jobs, const std::vector<std::vector<uint8_t>>& streams,
                const std::optional<std::string>& state, const std::string& fontPath,
                const std::string& output, std::ostream& report, std::string* error);

}  // namespace mq::tool
