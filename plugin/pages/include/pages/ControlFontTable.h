// The control font's character translation table: for each character code 0x20..0x7F of the printer font
// named Control, the command bytes the character stands for. It lives in MQ450CONTROL.dat in the 32-bit
// driver folder, in initialisation-file form: section "Character Translation Table", the key is the code in
// upper-case hexadecimal without leading zero ("41" for A), the value the command as byte text ("1B 70 00 ").
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Profile.h"

namespace mq::plugin {

inline constexpr std::string_view kControlFontFileName = "MQ450CONTROL.dat";
inline constexpr std::string_view kControlFontSection = "Character Translation Table";
inline constexpr int kControlFontFirstCode = 0x20;
inline constexpr int kControlFontRows = 96;  // 0x20..0x7F
// Room a stored command is read with: 128 bytes of byte text and more, so that an overlong one is seen.
inline constexpr uint32_t kControlFontValueRoom = 2048;

// The stored command text of each row, unchanged; "" for a character without a command.
using ControlFontTable = std::array<std::string, kControlFontRows>;

// Windows directory + "\system32\spool\drivers\w32x86\3\MQ450CONTROL.dat" (the same folder on 64-bit
// Windows).
std::string ControlFontPath(std::string_view windowsDirectory);

// "20".."7F": the key of a row's character.
std::string ControlFontKey(int code);

ControlFontTable ReadControlFontTable(platform::Profile& profile, std::string_view path);

// Deletes the file, then writes one key per row with a command. Returns the first failed write's error (the
// rows before it are written), 0 when every write worked.
uint32_t WriteControlFontTable(platform::Profile& profile, platform::FileSystem& files, std::string_view path,
                               const ControlFontTable& table);

}  // namespace mq::plugin
