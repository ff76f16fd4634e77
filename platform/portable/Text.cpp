// UTF-8/UTF-16/Windows-1252 conversions and Windows-style name comparison.
#include "platform/Text.h"

#include <array>

namespace mq::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 character at s[i], advancing i; malformed input yields U+FFFD and skips one byte.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
  auto b0 = static_cast<uint8_t>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  // Lead bytes C0, C1 and F5..FF never start a valid character (the first two only overlong ones).
  int extra = b0 >= 0xF5 ? -1 : b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC2 ? 1 : -1;
  if (extra < 0 || i + extra >= s.size()) {
    ++i;
    return kReplacement;
  }
  char32_t c = b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto b = static_cast<uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += extra + 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Windows-1252 bytes 0x80..0x9F; the five undefined ones map to the C1 control of the same value, as
// MultiByteToWideChar does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FoldChar(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0x80) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek capitals
  if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic capitals
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x100 && c <= 0x17F && (c % 2) == 0 && c != 0x130 && c != 0x138) return c + 1;  // Latin Extended-A
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;                                           // full-width Latin
  return c;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = DecodeUtf8(utf8, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char ch : ansi) {
    auto b = static_cast<uint8_t>(ch);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = DecodeUtf8(utf8, i);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (size_t k = 0; k < kCp1252High.size(); ++k) {
      if (kCp1252High[k] == c) mapped = static_cast<char>(0x80 + k);
    }
    out += mapped;
  }
  return out;
}

std::string FoldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) AppendUtf8(out, FoldChar(DecodeUtf8(s, i)));
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (FoldChar(DecodeUtf8(a, i)) != FoldChar(DecodeUtf8(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

std::string_view Trim(std::string_view s) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (size_t i = 0; i < utf8.size();) units += DecodeUtf8(utf8, i) >= 0x10000 ? 2 : 1;
  return units;
}

std::string TruncateUtf16(std::string_view utf8, size_t maxUnits) {
  size_t units = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t next = i;
    size_t width = DecodeUtf8(utf8, next) >= 0x10000 ? 2 : 1;
    if (units + width > maxUnits) break;
    units += width;
    i = next;
  }
  return std::string(utf8.substr(0, i));
}

std::string_view ParentPath(std::string_view windowsPath) {
  size_t slash = windowsPath.find_last_of("\\/");
  return slash == std::string_view::npos ? std::string_view{} : windowsPath.substr(0, slash);
}

std::string_view FileName(std::string_view windowsPath) {
  size_t slash = windowsPath.find_last_of("\\/");
  return slash == std::string_view::npos ? windowsPath : windowsPath.substr(slash + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (!out.empty() && (out.back() == '\\' || out.back() == '/')) out.pop_back();
  while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
  out += '\\';
  out += name;
  return out;
}

}  // namespace mq::text
