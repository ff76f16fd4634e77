// Small helpers shared by the tool's commands: error output and files written whole or not at all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mq::tool {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Prints "mq450: message" to standard error and returns status.
int Fail(int status, std::string_view message);

// Reads a whole file; false (with a reason in *error) when it cannot.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

// Writes the bytes to a temporary file beside path and renames it into place, so that path is never left
// half-written. false (with a reason in *error) when it cannot.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

}  // namespace mq::tool
