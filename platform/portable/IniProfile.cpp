// Portable implementation of the Windows profile functions.
#include "platform/IniProfile.h"

#include <unordered_map>
#include <vector>

#include "platform/Text.h"
#include "platform/WinError.h"

namespace mq::platform {
namespace {

// The profile functions treat Ctrl-Z (the old end-of-file mark) as a blank too. All of these are ASCII, so
// trimming works on UTF-8 bytes exactly as on UTF-16 units.
bool IsProfileSpace(char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsProfileSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsProfileSpace(s.back())) s.remove_suffix(1);
  return s;
}

// The form a name is compared in: invalid UTF-8 replaced, blanks trimmed, letters folded.
std::string ComparableName(std::string_view name) {
  return text::FoldCase(TrimBlanks(text::Utf16ToUtf8(text::Utf8ToUtf16(name))));
}

std::string TrimName(std::string_view name) {
  return std::string(TrimBlanks(text::Utf16ToUtf8(text::Utf8ToUtf16(name))));
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
    enum class Kind : uint8_t { kBlank, kSection, kKey };
    Kind kind = Kind::kBlank;
    bool hasValue = false;
    std::string raw;  // the line as stored (UTF-8), without its line break
    // The trimmed section name (between the brackets) or key name, and the trimmed value, within raw.
    uint32_t nameBegin = 0, nameSize = 0, valueBegin = 0, valueSize = 0;
    std::string folded;  // the name as compared

    std::string_view Name() const { return std::string_view(raw).substr(nameBegin, nameSize); }
    std::string_view Value() const { return std::string_view(raw).substr(valueBegin, valueSize); }
  };
  struct Section {
    long header;  // index of its header line; -1 for the lines before the first header
    size_t end;   // one past its last line
  };

  enum class Encoding { kAnsi, kUtf8Bom, kUtf16Bom };
  Encoding encoding = Encoding::kAnsi;
  std::vector<uint8_t> bytes;  // what the file held when parsed
  std::vector<Line> lines;
  std::vector<Section> sections;                       // in file order, the preamble first
  std::unordered_map<std::string, size_t> firstNamed;  // folded name -> first section of that name

  // raw must be valid UTF-8.
  static Line Parse(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    std::string_view all = line.raw;
    auto span = [&all](std::string_view part, uint32_t* begin, uint32_t* size) {
      *begin = static_cast<uint32_t>(part.data() - all.data());
      *size = static_cast<uint32_t>(part.size());
    };
    std::string_view t = TrimBlanks(all);
    if (t.empty()) return line;
    if (t.front() == '[') {
      size_t close = t.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        line.kind = Line::Kind::kSection;
        span(TrimBlanks(t.substr(1, close - 1)), &line.nameBegin, &line.nameSize);
        line.folded = text::FoldCase(line.Name());
        return line;
      }
    }
    line.kind = Line::Kind::kKey;
    size_t equals = t.find('=');
    if (equals == std::string_view::npos) {
      span(t, &line.nameBegin, &line.nameSize);
    } else {
      span(TrimBlanks(t.substr(0, equals)), &line.nameBegin, &line.nameSize);
      span(TrimBlanks(t.substr(equals + 1)), &line.valueBegin, &line.valueSize);
      line.hasValue = true;
    }
    line.folded = text::FoldCase(line.Name());
    return line;
  }

  // Rebuilds the section table after the lines changed.
  void Index() {
    sections.clear();
    if (!firstNamed.empty()) firstNamed.clear();
    sections.push_back({-1, 0});
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].kind != Line::Kind::kSection) continue;
      sections.back().end = i;
      firstNamed.emplace(lines[i].folded, sections.size());
      sections.push_back({static_cast<long>(i), 0});
    }
    sections.back().end = lines.size();
  }

  // The first section named name; the preamble when name is blank; null when absent.
  const Section* FindSection(std::string_view name) const {
    std::string wanted = ComparableName(name);
    if (wanted.empty()) return &sections.front();
    auto found = firstNamed.find(wanted);
    return found == firstNamed.end() ? nullptr : &sections[found->second];
  }

  // Index of the first key line named key in the section, or lines.size().
  size_t FindKey(const Section& section, std::string_view key) const {
    std::string wanted = ComparableName(key);
    for (size_t i = static_cast<size_t>(section.header + 1); i < section.end; ++i) {
      if (lines[i].kind == Line::Kind::kKey && lines[i].folded == wanted) return i;
    }
    return lines.size();
  }

  static std::unique_ptr<Document> FromBytes(std::vector<uint8_t> bytes) {
    auto document = std::make_unique<Document>();
    std::string content;
    const char* chars = reinterpret_cast<const char*>(bytes.data());
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
      document->encoding = Encoding::kUtf16Bom;
      std::u16string wide;
      wide.reserve(bytes.size() / 2);
      for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        wide += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
      content = text::Utf16ToUtf8(wide);
    } else if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
      document->encoding = Encoding::kUtf8Bom;
      content = text::Utf16ToUtf8(text::Utf8ToUtf16(std::string_view(chars + 3, bytes.size() - 3)));
    } else {
      content = text::Cp1252ToUtf8(std::string_view(chars, bytes.size()));
    }
    size_t lineCount = 0, headerCount = 0;
    for (size_t i = 0; i < content.size(); ++i) {
      lineCount += content[i] == '\n';
      headerCount += content[i] == '[';
    }
    document->lines.reserve(lineCount + 1);
    document->firstNamed.reserve(headerCount);
    size_t start = 0;
    while (start < content.size()) {
      size_t end = content.find('\n', start);
      if (end == std::string::npos) end = content.size();
      size_t stop = end > start && content[end - 1] == '\r' ? end - 1 : end;
      document->lines.push_back(Parse(content.substr(start, stop - start)));
      start = end + 1;
    }
    document->bytes = std::move(bytes);
    document->Index();
    return document;
  }

  std::vector<uint8_t> Encode() const {
    std::string joined;
    for (const Line& line : lines) joined += line.raw + "\r\n";
    std::vector<uint8_t> out;
    switch (encoding) {
      case Encoding::kUtf16Bom: {
        std::u16string wide = text::Utf8ToUtf16(joined);
        out.reserve(2 + 2 * wide.size());
        out = {0xFF, 0xFE};
        for (char16_t unit : wide) {
          out.push_back(static_cast<uint8_t>(unit & 0xFF));
          out.push_back(static_cast<uint8_t>(unit >> 8));
        }
        break;
      }
      case Encoding::kUtf8Bom:
        joined.insert(0, "\xEF\xBB\xBF");
        out.assign(joined.begin(), joined.end());
        break;
      case Encoding::kAnsi: {
        std::string ansi = text::Utf8ToCp1252(joined);
        out.assign(ansi.begin(), ansi.end());
        break;
      }
    }
    return out;
  }
};

IniProfile::IniProfile(FileSystem& files, std::string windowsDirectory)
    : files_(files), windowsDirectory_(std::move(windowsDirectory)) {}

IniProfile::~IniProfile() = default;

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

const IniProfile::Document* IniProfile::Load(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (files_.ReadAll(path, &bytes) != err::kSuccess) return nullptr;
  std::unique_ptr<Document>& slot = parsed_[text::FoldCase(path)];
  if (slot == nullptr || slot->bytes != bytes) slot = Document::FromBytes(std::move(bytes));
  return slot.get();
}

std::string IniProfile::GetString(std::string_view file, std::string_view section, std::string_view key,
                                  std::string_view defaultValue, uint32_t capacity) {
  const Document* document = Load(FullPath(file));
  if (document == nullptr) return DefaultAnswer(defaultValue, capacity);
  const Document::Section* found = document->FindSection(section);
  if (found == nullptr) return DefaultAnswer(defaultValue, capacity);
  size_t line = document->FindKey(*found, key);
  if (line == document->lines.size() || !document->lines[line].hasValue) {
    return DefaultAnswer(defaultValue, capacity);
  }
  return CopyEntry(document->lines[line].Value(), capacity);
}

std::vector<std::string> IniProfile::GetSectionNames(std::string_view file) {
  std::vector<std::string> names;
  const Document* document = Load(FullPath(file));
  if (document == nullptr) return names;
  for (const Document::Section& section : document->sections) {
    if (section.header < 0) continue;
    std::string_view name = document->lines[section.header].Name();
    if (!name.empty()) names.emplace_back(name);
  }
  return names;
}

std::vector<std::string> IniProfile::GetKeyNames(std::string_view file, std::string_view section) {
  std::vector<std::string> names;
  const Document* document = Load(FullPath(file));
  if (document == nullptr) return names;
  const Document::Section* found = document->FindSection(section);
  if (found == nullptr) return names;
  for (size_t i = static_cast<size_t>(found->header + 1); i < found->end; ++i) {
    const auto& line = document->lines[i];
    if (line.kind == Document::Line::Kind::kKey && line.nameSize != 0) names.emplace_back(line.Name());
  }
  return names;
}

uint32_t IniProfile::WriteString(std::string_view file, std::string_view section,
                                 std::optional<std::string_view> key, std::optional<std::string_view> value) {
  std::string path = FullPath(file);
  using Line = Document::Line;
  // Edits work on a copy, so that a failed write leaves the parsed form matching the file.
  const Document* current = Load(path);
  Document document = current != nullptr ? *current : Document{};
  if (current == nullptr) document.Index();
  const Document::Section* found = document.FindSection(section);
  auto lines = [&document](size_t at) { return document.lines.begin() + static_cast<long>(at); };
  if (!key) {
    if (found != nullptr && found->header >= 0) document.lines.erase(lines(found->header), lines(found->end));
  } else if (!value) {
    if (found != nullptr) {
      size_t line = document.FindKey(*found, *key);
      if (line != document.lines.size()) document.lines.erase(lines(line));
    }
  } else {
    std::string keyName = TrimName(*key);
    std::string valueText = text::Utf16ToUtf8(text::Utf8ToUtf16(*value));
    size_t header = 0, end = 0;
    if (found == nullptr) {
      if (!document.lines.empty() && document.lines.back().kind != Line::Kind::kBlank) {
        document.lines.push_back(Line{});
      }
      document.lines.push_back(Document::Parse("[" + TrimName(section) + "]"));
      header = end = document.lines.size();
    } else {
      header = static_cast<size_t>(found->header + 1);
      end = found->end;
    }
    size_t existing = found != nullptr ? document.FindKey(*found, keyName) : document.lines.size();
    if (existing != document.lines.size()) {
      Line& line = document.lines[existing];
      line = Document::Parse(std::string(line.Name()) + "=" + valueText);
    } else {
      size_t insertAt = end;
      while (insertAt > header && document.lines[insertAt - 1].kind == Line::Kind::kBlank) --insertAt;
      document.lines.insert(lines(insertAt), Document::Parse(keyName + "=" + valueText));
    }
  }
  return files_.WriteAll(path, document.Encode());
}

}  // namespace mq::platform
