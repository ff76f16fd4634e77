// Portable implementation of the Windows profile functions.
#include "platform/IniProfile.h"

#include <vector>

#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::platform {
namespace {

// The profile functions treat Ctrl-Z (the old end-of-file mark) as a blank too.
bool IsProfileSpace(char16_t c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}

std::u16string_view TrimUnits(std::u16string_view s) {
  while (!s.empty() && IsProfileSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsProfileSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string TrimName(std::string_view name) {
  std::u16string wide = text::Utf8ToUtf16(name);
  return text::Utf16ToUtf8(TrimUnits(wide));
}

// Copies a value the way the profile functions do: one pair of matching quotes (either kind) is removed, but
// only when the whole value fits the buffer; the result is cut to capacity - 1 units.
std::string CopyEntry(std::string_view utf8, uint32_t capacity) {
  if (capacity == 0) return {};
  std::u16string value = text::Utf8ToUtf16(utf8);
  std::u16string_view rest = value;
  bool quoted = false;
  if (rest.size() >= 2 && (rest.front() == u'"' || rest.front() == u'\'') && rest.back() == rest.front()) {
    quoted = true;
    rest.remove_prefix(1);
  }
  std::u16string out(rest.substr(0, capacity - 1));
  if (quoted && capacity >= rest.size() && !out.empty()) out.pop_back();
  return text::Utf16ToUtf8(out);
}

}  // namespace

struct IniProfile::Document {
  struct Line {
    enum class Kind { kBlank, kSection, kKey } kind = Kind::kBlank;
    std::string raw;    // the line as stored, without its line break
    std::string name;   // trimmed section name (between the brackets) or trimmed key name
    std::string value;  // trimmed value of a key line
    bool hasValue = false;
  };
  Encoding encoding = Encoding::kAnsi;
  std::vector<Line> lines;

  static Line Parse(std::u16string_view raw) {
    Line line;
    line.raw = text::Utf16ToUtf8(raw);
    std::u16string_view t = TrimUnits(raw);
    if (t.empty()) return line;
    if (t.front() == u'[') {
      size_t close = t.rfind(u']');
      if (close != std::u16string_view::npos && close > 0) {
        line.kind = Line::Kind::kSection;
        line.name = text::Utf16ToUtf8(TrimUnits(t.substr(1, close - 1)));
        return line;
      }
    }
    line.kind = Line::Kind::kKey;
    size_t equals = t.find(u'=');
    if (equals == std::u16string_view::npos) {
      line.name = text::Utf16ToUtf8(t);
      return line;
    }
    line.name = text::Utf16ToUtf8(TrimUnits(t.substr(0, equals)));
    line.value = text::Utf16ToUtf8(TrimUnits(t.substr(equals + 1)));
    line.hasValue = true;
    return line;
  }

  // Index of the header line of the first section named name; -1 for the lines before any header when name is
  // empty; nullopt when absent.
  std::optional<long> FindSection(std::string_view name) const {
    std::string wanted = TrimName(name);
    if (wanted.empty()) return -1;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].kind == Line::Kind::kSection && text::EqualsNoCase(lines[i].name, wanted)) {
        return static_cast<long>(i);
      }
    }
    return std::nullopt;
  }

  // One past the last line of the section whose header is at index header.
  size_t SectionEnd(long header) const {
    size_t i = static_cast<size_t>(header + 1);
    while (i < lines.size() && lines[i].kind != Line::Kind::kSection) ++i;
    return i;
  }

  const Line* FindKey(long header, std::string_view key) const {
    std::string wanted = TrimName(key);
    for (size_t i = static_cast<size_t>(header + 1); i < SectionEnd(header); ++i) {
      if (lines[i].kind == Line::Kind::kKey && text::EqualsNoCase(lines[i].name, wanted)) return &lines[i];
    }
    return nullptr;
  }
};

IniProfile::IniProfile(FileSystem& files, std::string windowsDirectory)
    : files_(files), windowsDirectory_(std::move(windowsDirectory)) {}

std::string IniProfile::DefaultAnswer(std::string_view defaultValue, uint32_t capacity) {
  // The default loses its trailing spaces (spaces only) before use.
  std::string fallback(defaultValue);
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return CopyEntry(fallback, capacity);
}

std::string IniProfile::FullPath(std::string_view file) const {
  if (file.find_first_of("\\/") != std::string_view::npos || (file.size() >= 2 && file[1] == ':')) {
    return std::string(file);
  }
  return text::JoinPath(windowsDirectory_, file);
}

bool IniProfile::Load(std::string_view path, Document* document) {
  std::vector<uint8_t> bytes;
  if (files_.ReadAll(path, &bytes) != err::kSuccess) return false;
  std::u16string content;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    document->encoding = Encoding::kUtf16Bom;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      content += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  } else if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    document->encoding = Encoding::kUtf8Bom;
    content = text::Utf8ToUtf16(
        std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3));
  } else {
    document->encoding = Encoding::kAnsi;
    content = text::Utf8ToUtf16(
        text::Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
  }
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find(u'\n', start);
    if (end == std::u16string::npos) end = content.size();
    std::u16string_view raw(content.data() + start, end - start);
    if (!raw.empty() && raw.back() == u'\r') raw.remove_suffix(1);
    document->lines.push_back(Document::Parse(raw));
    start = end + 1;
  }
  return true;
}

std::string IniProfile::GetString(std::string_view file, std::string_view section, std::string_view key,
                                  std::string_view defaultValue, uint32_t capacity) {
  std::string path = FullPath(file);
  Document document;
  if (!Load(path, &document)) return DefaultAnswer(defaultValue, capacity);
  std::optional<long> header = document.FindSection(section);
  const Document::Line* line = header ? document.FindKey(*header, key) : nullptr;
  if (line == nullptr || !line->hasValue) return DefaultAnswer(defaultValue, capacity);
  return CopyEntry(line->value, capacity);
}

std::vector<std::string> IniProfile::GetSectionNames(std::string_view file) {
  std::string path = FullPath(file);
  std::vector<std::string> names;
  Document document;
  if (!Load(path, &document)) return names;
  for (const auto& line : document.lines) {
    if (line.kind == Document::Line::Kind::kSection && !line.name.empty()) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> IniProfile::GetKeyNames(std::string_view file, std::string_view section) {
  std::string path = FullPath(file);
  std::vector<std::string> names;
  Document document;
  if (!Load(path, &document)) return names;
  std::optional<long> header = document.FindSection(section);
  if (!header) return names;
  for (size_t i = static_cast<size_t>(*header + 1); i < document.SectionEnd(*header); ++i) {
    const auto& line = document.lines[i];
    if (line.kind == Document::Line::Kind::kKey && !line.name.empty()) names.push_back(line.name);
  }
  return names;
}

uint32_t IniProfile::WriteString(std::string_view file, std::string_view section,
                                 std::optional<std::string_view> key, std::optional<std::string_view> value) {
  std::string path = FullPath(file);
  using Line = Document::Line;
  Document document;
  Load(path, &document);
  std::optional<long> header = document.FindSection(section);
  if (!key) {
    if (header && *header >= 0) {
      document.lines.erase(document.lines.begin() + *header,
                           document.lines.begin() + document.SectionEnd(*header));
    }
  } else if (!value) {
    if (header) {
      const Line* line = document.FindKey(*header, *key);
      if (line != nullptr) document.lines.erase(document.lines.begin() + (line - document.lines.data()));
    }
  } else {
    std::string keyName = TrimName(*key);
    std::string text = keyName + "=" + std::string(*value);
    if (!header) {
      if (!document.lines.empty() && document.lines.back().kind != Line::Kind::kBlank) {
        document.lines.push_back(Line{});
      }
      Line sectionLine;
      sectionLine.kind = Line::Kind::kSection;
      sectionLine.name = TrimName(section);
      sectionLine.raw = "[" + sectionLine.name + "]";
      document.lines.push_back(sectionLine);
      header = static_cast<long>(document.lines.size() - 1);
    }
    if (const Line* existing = document.FindKey(*header, keyName)) {
      Line& line = document.lines[existing - document.lines.data()];
      line = Document::Parse(text::Utf8ToUtf16(line.name + "=" + std::string(*value)));
    } else {
      size_t insertAt = document.SectionEnd(*header);
      while (insertAt > static_cast<size_t>(*header + 1) &&
             document.lines[insertAt - 1].kind == Line::Kind::kBlank) {
        --insertAt;
      }
      document.lines.insert(document.lines.begin() + insertAt, Document::Parse(text::Utf8ToUtf16(text)));
    }
  }
  std::string joined;
  for (const Line& line : document.lines) joined += line.raw + "\r\n";
  std::vector<uint8_t> bytes;
  switch (document.encoding) {
    case Encoding::kUtf16Bom: {
      bytes = {0xFF, 0xFE};
      for (char16_t unit : text::Utf8ToUtf16(joined)) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
      }
      break;
    }
    case Encoding::kUtf8Bom:
      bytes = {0xEF, 0xBB, 0xBF};
      bytes.insert(bytes.end(), joined.begin(), joined.end());
      break;
    case Encoding::kAnsi: {
      std::string ansi = text::Utf8ToCp1252(joined);
      bytes.assign(ansi.begin(), ansi.end());
      break;
    }
  }
  return files_.WriteAll(path, bytes);
}

}  // namespace mq::platform
