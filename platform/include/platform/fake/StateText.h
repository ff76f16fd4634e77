// The pieces of the text forms in which simulated machines keep their registry and spooler between runs:
// fields escaped so that any name survives the line-and-field layout, and strict numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mq::platform::state {

// Control characters, '%' and the characters in also are written as %XX (two upper-case hex digits of the
// byte); everything else as it is.
std::string Escape(std::string_view field, std::string_view also = {});

// The inverse; false for a '%' not followed by two hex digits.
bool Unescape(std::string_view field, std::string* out);

// A decimal number of 1 to 10 digits that fits 32 bits, nothing else.
bool ParseUint32(std::string_view text, uint32_t* value);

// "line N: what" for load errors.
std::string LineError(size_t lineNumber, std::string_view what);

}  // namespace mq::platform::state
