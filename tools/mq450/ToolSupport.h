// Small helpers shared by the tool's commands: error output, bounded reading of input files and outputs written
// whole or not at all.
#pragma once

#include <cstdint>
#include <optional>
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

// A whole decimal number in min..max: one optional sign and digits, nothing else ("+-5", " 5" and "5x" are
// refused).
std::optional<int> ParseWholeNumber(std::string_view text, int min, int max);

// Digits only (no sign, no spaces, at most 12 of them), in 0..max: the counts and codes of the simulate
// commands' options.
bool ParseCount(std::string_view text, uint64_t max, uint64_t* value);

// A text on one output line: CR and LF shown as \r and \n, so a journal or log line never spills over.
std::string OneLine(std::string_view text);

// The value of the option at args[*i]: moves *i onto it. false (with "missing value after OPTION" in *error)
// when the option is the last argument.
bool TakeOptionValue(const std::vector<std::string>& args, size_t* i, std::string* value, std::string* error);

// Reads a whole file of at most maxBytes bytes (a larger one is refused before it is read); false (with a
// reason in *error) when it cannot.
bool ReadWholeFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>* bytes, std::string* error);

// Writes an output: a regular file is replaced whole or not at all and keeps its permissions, a symbolic link
// is written through, a device or pipe is written in place. false (with a reason in *error) when it cannot.
bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

}  // namespace mq::tool
