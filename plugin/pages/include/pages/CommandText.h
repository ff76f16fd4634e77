// Printer command bytes as the user edits them: each byte as two upper-case hexadecimal digits followed by
// one space, and typed text read back two digits at a time. Used by the operation editor and the Utility
// page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mq::plugin {

// The most bytes one stored command holds.
inline constexpr size_t kMaxCommandBytes = 128;

// "1D 56 42 00 " for {0x1D, 0x56, 0x42, 0x00}; "" for no bytes.
std::string FormatCommandText(const uint8_t* bytes, size_t count);

// Reads typed text: one space is skipped before each byte; then two characters make one byte (high digit
// first), unless the second one is a space or the first one is the last character, in which case the first
// digit alone is the byte. 'A'..'F' and 'a'..'f' are 10..15; any other non-digit counts as 0. "1D56" gives
// 1D 56, "1D 5" gives 1D 05, "1 2" gives 01 02, a trailing space adds nothing. The whole text is read,
// however long; the caller decides whether the result fits.
std::vector<uint8_t> ParseCommandText(std::string_view text);

// Whether a character may be typed into a command edit: hexadecimal digits, space, backspace, '-' and '.',
// and anything typed with Ctrl held (clipboard shortcuts). Tab is handled by the dialog before it reaches the
// edit.
bool IsCommandTextChar(char16_t ch, bool controlHeld);

}  // namespace mq::plugin
