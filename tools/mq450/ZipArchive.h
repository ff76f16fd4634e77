// Unpacking a ZIP archive (stored and deflated entries, as release archives are written) into a folder, for
// commands that accept an archive where they read a folder. Entries whose names would leave the folder
// (absolute, "..", drive letters, backslashes) are refused, as are ZIP64 archives, encrypted entries, sizes
// that do not match and damaged data (each entry's CRC-32 is checked).
#pragma once

#include <filesystem>
#include <string>

namespace mq::tool {

// Unpacks every entry of the archive into `into` (an existing, empty folder). false with a reason in *error
// when the archive cannot be read or an entry is refused; what was unpacked until then stays in `into`.
bool ExtractZip(const std::string& archive, const std::filesystem::path& into, std::string* error);

}  // namespace mq::tool
