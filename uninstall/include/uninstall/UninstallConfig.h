// What the uninstaller knows before it removes anything: its language texts, where its Uninstall.ini lives,
// which printers, port monitors and print processors belong to the package, and the Windows generation by the
// uninstaller's own rules (which differ from the installer's: Windows XP reads the ".2K" sections).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/IniReader.h"
#include "common/OsGeneration.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/SystemInfo.h"

namespace mq::uninstall {

// Every value of Uninstall.ini is read into a 30-character buffer.
inline constexpr uint32_t kConfigValueLimit = 29;

// The language file of the program folder chosen by the system default language, and its texts: each read
// with an empty default, at most 1023 characters, the first backslash-n pair (only the first) turned into a
// line break.
class UninstallTexts {
 public:
  UninstallTexts(platform::Profile& profile, std::string_view programFolder, uint16_t langId);
  std::string Text(std::string_view section, std::string_view key) const;
  std::string Message(std::string_view key) const { return Text("Message", key); }
  // The Message text of key with its one "%s" replaced by argument.
  std::string Message(std::string_view key, std::string_view argument) const;
  const std::string& file() const { return file_; }

 private:
  platform::Profile& profile_;
  std::string file_;
};

// The first backslash-n pair of raw as CR LF; later pairs stay as written.
std::string ExpandFirstNewline(std::string_view raw);
// text with its first "%s" replaced by argument; other '%' characters stay as written.
std::string FormatOne(std::string_view text, std::string_view argument);

// Locating Uninstall.ini: the program folder, then its "DRVCONFIG" subfolder. Every entry passed during the
// search (the one found included) gets the archive attribute only, which clears read-only, hidden and system.
struct ConfigLocation {
  enum class Outcome { kFound, kFolderInvalid, kNotFound };
  Outcome outcome = Outcome::kNotFound;
  std::string path;  // the folder's "Uninstall.ini" when found
};
ConfigLocation LocateUninstallIni(platform::FileSystem& files, std::string_view programFolder);

// One family of tokens ("BYPRINTER" with "PRINTERNUM" and "PRINTERNAME1"...). A name belongs to the family
// when it contains one of the tokens (case-sensitive); an empty token matches every name, a missing token key
// reads "0".
struct TokenSet {
  std::vector<std::string> tokens;
  bool Matches(std::string_view name) const;
};

class UninstallConfig {
 public:
  UninstallConfig(platform::Profile& profile, std::string path);

  const TokenSet& printers() const { return printers_; }
  const TokenSet& monitors() const { return monitors_; }
  const TokenSet& processors() const { return processors_; }
  // MANUFACTURER of BYPRINTER ("0" when missing).
  std::string Manufacturer() const;
  // A key of a component section, "0" when missing.
  std::string ComponentValue(std::string_view section, std::string_view key) const;
  const std::string& path() const { return path_; }

 private:
  TokenSet ReadTokens(std::string_view section, std::string_view countKey, std::string_view prefix) const;

  common::IniReader reader_;
  std::string path_;
  TokenSet printers_;
  TokenSet monitors_;
  TokenSet processors_;
};

// The generation from the version record: the 9x platform 0; NT 4.0 1; 5.0 2; 5.1, and 5.2 on an x64
// workstation, 3; other 5.2 4; 6.0 5 (workstation) or 6 (server); 6.1 7 or 6; every later version 7.
common::OsGeneration UninstallOsGeneration(const platform::OsVersion& version, uint16_t nativeArchitecture);

// The suffix of a component section: ".98", ".NT", ".2K" (also for generation 3), ".2003", ".Vista", ".2008",
// ".Win7".
std::string_view UninstallSectionSuffix(common::OsGeneration generation);

}  // namespace mq::uninstall
