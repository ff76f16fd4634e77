// The "settings" command group: default, convert and merge settings records as a print host does, and show
// their fields.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "SettingsFields.h"
#include "ToolSupport.h"
#include "platform/Text.h"
#include "platform/fake/FakeSystem.h"
#include "plugin/PrivateSettings.h"

namespace mq::tool {
namespace {

using plugin::kPrivateSettingsSize;
namespace settings = plugin::settings;

constexpr std::string_view kDefaultSystemDir = "C:\\Windows\\system32";
// The largest foreign record we read as a source; the host hands over at most a DEVMODE's private part.
constexpr size_t kMaxSourceSize = 65535;

struct Options {
  std::vector<std::string> positional;
  std::string output;
  std::string systemDir{kDefaultSystemDir};
  bool anyWidthValue = false;  // set: take any value that fits a field's width
};

bool ParseOptions(const Args& args, size_t from, Options* options, std::string* error) {
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--output" || a == "--system-dir") {
      if (!TakeOptionValue(args, &i, a == "--system-dir" ? &options->systemDir : &options->output, error))
        return false;
    } else if (a == "--any-value") {
      options->anyWidthValue = true;
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      return false;
    } else {
      options->positional.push_back(a);
    }
  }
  return true;
}

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(buffer, sizeof buffer, "%02X ", bytes[i]);
    out += buffer;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

// A stored text between quotes, every control character escaped (\n, \r, \t, \xHH, \uHHHH), so that a
// stored line break or terminal escape can neither fake another line nor reach the terminal. Backslashes
// stay as they are: the texts are mostly Windows paths.
std::string Quoted(const std::u16string& text) {
  std::string out = "\"";
  char escape[16];
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF;
    if (pair) {
      out += text::Utf16ToUtf8(std::u16string_view(text).substr(i++, 2));
    } else if (unit == u'\n') {
      out += "\\n";
    } else if (unit == u'\r') {
      out += "\\r";
    } else if (unit == u'\t') {
      out += "\\t";
    } else if (unit < 0x20 || unit == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(unit));
      out += escape;
    } else if ((unit >= 0x80 && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029 ||
               (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069) ||
               (unit >= 0xD800 && unit <= 0xDFFF)) {
      // C1 controls, line and paragraph separators, text direction overrides, and lone UTF-16 surrogates.
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
      out += escape;
    } else {
      out += text::Utf16ToUtf8(std::u16string_view(&unit, 1));
    }
  }
  return out + "\"";
}

std::string ShowRecord(const uint8_t* r) {
  std::ostringstream out;
  for (const NamedField& f : SettingsFieldTable()) {
    out << f.name << " = ";
    switch (f.kind) {
      case FieldKind::kSignature: {
        char signature[16];
        std::snprintf(signature, sizeof signature, "0x%08X", settings::kSignature.Get(r));
        out << signature;
        break;
      }
      case FieldKind::kText:
        out << Quoted(plugin::TextField{f.offset, f.width}.Get(r));
        break;
      case FieldKind::kCommand:
        out << Hex(r + f.offset, std::min<unsigned>(r[f.width], plugin::kCommandCapacity));
        break;
      case FieldKind::kSigned:
      case FieldKind::kUnsigned: {
        uint64_t bits = 0;
        for (uint32_t i = 0; i < f.width; ++i) bits |= uint64_t{r[f.offset + i]} << (8 * i);
        if (f.kind == FieldKind::kSigned && (bits >> (8 * f.width - 1)) != 0) {
          out << static_cast<int64_t>(bits) - (int64_t{1} << (8 * f.width));
        } else {
          out << bits;
        }
        break;
      }
    }
    out << '\n';
  }
  return out.str();
}

// Runs DevMode on the host's behalf; returns the failure text, empty on success.
std::string RunDevMode(uint32_t mode, const uint8_t* source, uint8_t* target, const std::string& systemDir) {
  platform::FakeThreadError lastError;
  host::OemDmParam param{};
  param.cbSize = sizeof param;
  param.pOEMDMIn = const_cast<uint8_t*>(source);
  param.pOEMDMOut = target;
  if (plugin::DevMode(mode, &param, systemDir, lastError) != com::kOk) {
    return "settings operation failed with error " + std::to_string(lastError.value);
  }
  return {};
}

int WriteRecord(const std::string& path, const std::vector<uint8_t>& record) {
  std::string error;
  if (!WriteOutputFile(path, record, &error)) return Fail(kExitFailed, error);
  return kExitOk;
}

int Default(const Options& o) {
  if (o.output.empty()) return Fail(kExitUsage, "settings default needs -o FILE");
  if (!o.positional.empty()) return Fail(kExitUsage, "settings default takes no input file");
  std::vector<uint8_t> record(kPrivateSettingsSize, 0);
  if (std::string failure = RunDevMode(host::kOemDmDefault, nullptr, record.data(), o.systemDir);
      !failure.empty()) {
    return Fail(kExitFailed, failure);
  }
  return WriteRecord(o.output, record);
}

int ConvertOrMerge(uint32_t mode, const Options& o) {
  const char* name = mode == host::kOemDmConvert ? "convert" : "merge";
  if (o.positional.size() != 1)
    return Fail(kExitUsage, std::string("settings ") + name + " needs one input file");
  if (o.output.empty()) return Fail(kExitUsage, std::string("settings ") + name + " needs -o FILE");
  std::vector<uint8_t> source;
  std::string error;
  if (!ReadWholeFile(o.positional[0], kMaxSourceSize, &source, &error)) {
    return Fail(kExitFailed,
                error + " (a settings record has at most " + std::to_string(kMaxSourceSize) + " bytes)");
  }
  if (source.size() < 12) {
    return Fail(kExitFailed, o.positional[0] + ": not a settings record (" + std::to_string(source.size()) +
                                 " bytes; a record has a 12-byte header and at most " +
                                 std::to_string(kMaxSourceSize) + " bytes)");
  }
  uint32_t claimed = settings::kSize.Get(source.data());
  if (settings::kSignature.Get(source.data()) == plugin::kPrivateSettingsSignature &&
      claimed > source.size()) {
    return Fail(kExitFailed, o.positional[0] + ": the record claims " + std::to_string(claimed) +
                                 " bytes but the file holds " + std::to_string(source.size()));
  }
  source.resize(std::max<size_t>(source.size(), kPrivateSettingsSize), 0);
  std::vector<uint8_t> target(kPrivateSettingsSize, 0);
  std::string failure = RunDevMode(host::kOemDmDefault, nullptr, target.data(), o.systemDir);
  if (failure.empty()) failure = RunDevMode(mode, source.data(), target.data(), o.systemDir);
  if (!failure.empty()) return Fail(kExitFailed, failure);
  return WriteRecord(o.output, target);
}

int Show(const Options& o) {
  if (o.positional.size() != 1) return Fail(kExitUsage, "settings show needs one file");
  std::vector<uint8_t> record;
  std::string error;
  if (!ReadWholeFile(o.positional[0], kPrivateSettingsSize, &record, &error)) {
    return Fail(kExitFailed,
                error + " (a settings record is " + std::to_string(kPrivateSettingsSize) + " bytes)");
  }
  if (record.size() != kPrivateSettingsSize) {
    return Fail(kExitFailed, o.positional[0] + ": not a settings record (" + std::to_string(record.size()) +
                                 " bytes, expected " + std::to_string(kPrivateSettingsSize) + ")");
  }
  std::cout << ShowRecord(record.data());
  return kExitOk;
}

// Reads IN, writes each NAME=VALUE into it in the order given and writes the result to OUT; every other byte
// of the record stays as it was. Nothing is written unless every assignment is accepted.
int Set(const Options& o) {
  if (o.positional.empty()) return Fail(kExitUsage, "settings set needs an input file and NAME=VALUE");
  if (o.output.empty()) return Fail(kExitUsage, "settings set needs -o FILE");
  if (o.positional.size() < 2) return Fail(kExitUsage, "settings set needs at least one NAME=VALUE");
  std::vector<uint8_t> record;
  std::string error;
  if (!ReadWholeFile(o.positional[0], kPrivateSettingsSize, &record, &error)) {
    return Fail(kExitFailed,
                error + " (a settings record is " + std::to_string(kPrivateSettingsSize) + " bytes)");
  }
  if (record.size() != kPrivateSettingsSize) {
    return Fail(kExitFailed, o.positional[0] + ": not a settings record (" + std::to_string(record.size()) +
                                 " bytes, expected " + std::to_string(kPrivateSettingsSize) + ")");
  }
  for (size_t i = 1; i < o.positional.size(); ++i) {
    const std::string& assignment = o.positional[i];
    size_t equals = assignment.find('=');
    if (equals == std::string::npos) return Fail(kExitUsage, "\"" + assignment + "\" is not NAME=VALUE");
    std::string name = assignment.substr(0, equals);
    const NamedField* field = FindSettingsField(name);
    if (field == nullptr) {
      return Fail(kExitUsage, "no settings field is named \"" + name +
                                  "\" (the names are those mq450 settings show prints)");
    }
    if (!SetSettingsField(*field, std::string_view(assignment).substr(equals + 1), o.anyWidthValue,
                          record.data(), &error)) {
      return Fail(kExitUsage, error);
    }
  }
  return WriteRecord(o.output, record);
}

constexpr const char* kSetHelp =
    "usage: mq450 settings set IN -o OUT [--any-value] NAME=VALUE...\n"
    "Writes the named fields (the names mq450 settings show prints) into a copy of the record IN and saves "
    "it\n"
    "as OUT; every other byte stays as it was. Numbers are decimal or 0x-hexadecimal and must lie in the\n"
    "field's range (--any-value: whatever fits the field's width); texts are UTF-8; a slot's command is\n"
    "hexadecimal byte text and sets its commandLength too. Nothing is written if one assignment is refused.\n"
    "example: mq450 settings set d.bin -o z.bin zoomEnabled=1 scalePercent=55 'endDoc.command=1B 70 00 19 "
    "FA'\n";

constexpr const char* kSettingsHelp =
    "usage: mq450 settings default -o FILE [--system-dir DIR]\n"
    "       mq450 settings convert IN -o FILE [--system-dir DIR]\n"
    "       mq450 settings merge IN -o FILE [--system-dir DIR]\n"
    "       mq450 settings show FILE\n"
    "       mq450 settings set IN -o OUT NAME=VALUE...   (see mq450 settings set --help)\n"
    "The plug-in's private settings record (1976 bytes) as the print host handles it. default writes a "
    "record\n"
    "of defaults; convert and merge fold a stored record (a printer's or a document's, of any size up to\n"
    "65535 bytes) into defaults, as the host does when it loads one; show prints every field as name = "
    "value.\n"
    "--system-dir is the Windows system folder the defaults' driver-log folder is built from\n"
    "(default C:\\Windows\\system32).\n"
    "examples:\n"
    "  mq450 settings default -o d.bin\n"
    "  mq450 settings merge stored.bin -o fixed.bin\n"
    "  mq450 settings show fixed.bin\n";

}  // namespace

int RunSettings(const Args& args) {
  if (args.empty()) {
    std::cerr << kSettingsHelp;
    return Fail(kExitUsage, "settings needs a command: default, convert, merge, show or set");
  }
  bool help = args.back() == "-h" || args.back() == "--help";
  if (args[0] == "set" && args.size() == 2 && help) {
    std::cout << kSetHelp;
    return kExitOk;
  }
  if (help && args.size() <= 2) {
    std::cout << kSettingsHelp;
    return kExitOk;
  }
  Options options;
  std::string error;
  if (!ParseOptions(args, 1, &options, &error)) return Fail(kExitUsage, error);
  const std::string& command = args[0];
  if (command == "default") return Default(options);
  if (command == "convert") return ConvertOrMerge(host::kOemDmConvert, options);
  if (command == "merge") return ConvertOrMerge(host::kOemDmMerge, options);
  if (command == "show") return Show(options);
  if (command == "set") return Set(options);
  return Fail(kExitUsage, "unknown settings command: " + command);
}

}  // namespace mq::tool
