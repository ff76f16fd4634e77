// Text conversions shared by the portable code: UTF-8 (the portable string form) to and from UTF-16 (the
// Windows wide form, also used inside stored records), the Windows-1252 ANSI code page, and the case-blind
// comparisons Windows applies to file, key and section names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mq::text {

// Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Windows-1252; unmapped bytes and characters follow Windows (undefined bytes map to the C1 controls,
// characters outside the code page become '?').
std::string Cp1252ToUtf8(std::string_view ansi);
std::string Utf8ToCp1252(std::string_view utf8);

// Case-blind equality and ordering over the whole Unicode simple case mapping that matters for names here:
// ASCII, Latin-1 and Greek/Cyrillic letters fold; other characters compare exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string FoldCase(std::string_view s);

// Removes leading and trailing blanks (space, tab, CR, LF, VT, FF).
std::string_view Trim(std::string_view s);

// The UTF-16 length of a UTF-8 text.
size_t Utf16Length(std::string_view utf8);

// Cuts a UTF-8 text to at most maxUnits UTF-16 units, never splitting a character.
std::string TruncateUtf16(std::string_view utf8, size_t maxUnits);

// "C:\a\b.txt" -> "C:\a"; "b.txt" -> "".
std::string_view ParentPath(std::string_view windowsPath);
// "C:\a\b.txt" -> "b.txt".
std::string_view FileName(std::string_view windowsPath);
// Joins with exactly one backslash between.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace mq::text
