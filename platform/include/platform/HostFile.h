// Whole files on the host's own file system, for outputs and inputs that people name by path (the tool's
// outputs, the logo intermediates). Paths are host paths (UTF-8 on Linux, wide on Windows through
// std::filesystem).
//
// Writing respects what the path names: a regular file is replaced whole or not at all (a uniquely named
// temporary file in the same folder, given the old file's permissions, then renamed over it); a symbolic link
// is followed and its target written the same way; anything else that exists (a device, a pipe) is written in
// place, since replacing it would swap a device node for a plain file. Every write error is reported.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace mq::platform {

// Writes bytes to path as above. Empty on success, else the reason ("No space left on device").
std::string WriteHostFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// Reads a whole file of at most maxBytes bytes: a regular file larger than that is refused before anything is
// read, and any other kind of file (a pipe) is read no further than one byte beyond. Empty on success, else the
// reason ("it is a folder", "larger than 65535 bytes").
std::string ReadHostFile(const std::filesystem::path& path, uint64_t maxBytes, std::vector<uint8_t>* bytes);

// The name of a temporary file beside path: short enough for any folder's name limit, and unique across
// processes and calls.
std::filesystem::path TemporarySibling(const std::filesystem::path& path);

}  // namespace mq::platform
