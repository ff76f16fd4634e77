// The "control-font" command group: shows and edits the control font's character translation table
// (MQ450CONTROL.dat) as the Utility page's editor does. The file is read and edited through the same profile
// reader the plug-in uses, in memory, and written back whole, so that a refused edit leaves it as it was.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "HexBytes.h"
#include "ToolSupport.h"
#include "pages/CommandText.h"
#include "pages/ControlFontTable.h"
#include "platform/IniProfile.h"
#include "platform/fake/CallJournal.h"
#include "platform/fake/FakeFileSystem.h"

namespace mq::tool {
namespace {

using plugin::kControlFontFirstCode;
using plugin::kControlFontRows;

// The table file stands at this place of an in-memory drive while the tool works on it.
constexpr std::string_view kWorkPath = "C:\\MQ450CONTROL.dat";
// A translation table is a small text file; anything much larger is not one.
constexpr size_t kMaxTableBytes = 1 << 20;

constexpr const char* kHelp =
    "usage: mq450 control-font show FILE\n"
    "       mq450 control-font set FILE CHAR \"HEX BYTES\"\n"
    "Shows the 96 characters 0x20..0x7F of the control font's translation table (MQ450CONTROL.dat) with "
    "their\n"
    "commands, or sets one character's command. CHAR is the character itself or its code (0x41); the command "
    "is\n"
    "hexadecimal byte text of at most 128 bytes, \"\" to remove it. The file is left as it was on any "
    "refusal.\n"
    "example: mq450 control-font set MQ450CONTROL.dat A \"1B 70 00 19 FA\"\n";

struct TableFile {
  platform::CallJournal journal;
  platform::FakeFileSystem files{journal};
  platform::IniProfile profile{files, "C:\\Windows"};
  TableFile() { files.MakeFolders("C:\\"); }
};

// Loads the file (a missing one is an empty table only for set); false with a message printed.
bool Load(const std::string& path, bool mayBeMissing, TableFile* table, int* status) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, kMaxTableBytes, &bytes, &error)) {
    if (mayBeMissing && !std::filesystem::exists(path)) return true;
    *status = Fail(kExitFailed, error);
    return false;
  }
  if (bytes.size() > kMaxTableBytes) {
    *status = Fail(kExitFailed,
                   path + ": too large for a translation table (" + std::to_string(bytes.size()) + " bytes)");
    return false;
  }
  table->files.PutBytes(kWorkPath, std::move(bytes));
  return true;
}

// "A", "~", " " or "0x41".
bool ParseCharacter(const std::string& text, int* code) {
  if (text.size() == 1) {
    *code = static_cast<unsigned char>(text[0]);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::vector<uint8_t> byte;
    std::string error;
    if (text.size() != 4 || !ParseHexBytes(text.substr(2), 1, &byte, &error) || byte.size() != 1)
      return false;
    *code = byte[0];
  } else {
    return false;
  }
  return *code >= kControlFontFirstCode && *code < kControlFontFirstCode + kControlFontRows;
}

std::string CharColumn(int code) {
  if (code == ' ') return "' '";
  if (code == 0x7F) return "DEL";
  return std::string(1, static_cast<char>(code));
}

int Show(const std::string& path) {
  TableFile table;
  int status = kExitOk;
  if (!Load(path, false, &table, &status)) return status;
  const plugin::ControlFontTable rows = plugin::ReadControlFontTable(table.profile, kWorkPath);
  std::printf("%-5s %-4s %s\n", "Char", "Hex", "Command");
  for (int row = 0; row < kControlFontRows; ++row) {
    const int code = kControlFontFirstCode + row;
    std::printf("%-5s %-4s %s\n", CharColumn(code).c_str(), plugin::ControlFontKey(code).c_str(),
                rows[static_cast<size_t>(row)].c_str());
  }
  return kExitOk;
}

int Set(const std::string& path, const std::string& character, const std::string& command) {
  int code = 0;
  if (!ParseCharacter(character, &code)) {
    return Fail(kExitUsage,
                "\"" + character +
                    "\" is not a character of the table (one character from space to DEL, or 0x20..0x7F)");
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ParseHexBytes(command, plugin::kMaxCommandBytes, &bytes, &error))
    return Fail(kExitUsage, "the command: " + error);
  TableFile table;
  int status = kExitOk;
  if (!Load(path, true, &table, &status)) return status;
  const std::string text = plugin::FormatCommandText(bytes.data(), bytes.size());
  const std::string key = plugin::ControlFontKey(code);
  const uint32_t e =
      bytes.empty() ? table.profile.WriteString(kWorkPath, plugin::kControlFontSection, key, std::nullopt)
                    : table.profile.WriteString(kWorkPath, plugin::kControlFontSection, key, text);
  if (e != 0) return Fail(kExitFailed, "cannot edit the table (error " + std::to_string(e) + ")");
  std::vector<uint8_t> edited;
  table.files.ReadAll(kWorkPath, &edited);
  if (!WriteOutputFile(path, edited, &error)) return Fail(kExitFailed, error);
  return kExitOk;
}

}  // namespace

int RunControlFont(const Args& args) {
  if ((args.size() == 1 || args.size() == 2) && (args.back() == "-h" || args.back() == "--help")) {
    std::cout << kHelp;
    return kExitOk;
  }
  if (!args.empty() && args[0] == "show" && args.size() == 2) return Show(args[1]);
  if (!args.empty() && args[0] == "set" && args.size() == 4) return Set(args[1], args[2], args[3]);
  std::cerr << kHelp;
  return Fail(kExitUsage, "control-font needs show FILE or set FILE CHAR \"HEX BYTES\"");
}

}  // namespace mq::tool
