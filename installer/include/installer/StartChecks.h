// What the setup program checks before it shows anything (the wizard) or installs anything (a quiet run): the
// uninstall program is not running, the Windows version and word size suit the package, the package offers a
// port for its printers, and the user is an administrator. The single-instance check is the Windows shell's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/LanguageTexts.h"
#include "installer/OsDetection.h"
#include "installer/SetupConfig.h"
#include "platform/Profile.h"
#include "platform/SystemInfo.h"
#include "platform/WindowLookup.h"

namespace mq::installer {

// The titles the two programs' windows carry: the fixed English and Chinese ones, then the caption of each of
// the package's language files (the uninstall program titles its dialog [Uninstall] Title, the wizard takes
// [Setup] Caption), without repeats or empty ones.
std::vector<std::string> UninstallWindowTitles(platform::Profile& profile, std::string_view packageFolder);
std::vector<std::string> WizardWindowTitles(platform::Profile& profile, std::string_view packageFolder);
// A window of one of these titles is open.
bool AnyWindowOpen(platform::WindowLookup& windows, const std::vector<std::string>& titles);

struct StartFacts {
  bool uninstallRunning = false;  // a window of the uninstall program exists
  platform::OsVersion version;
  bool is64BitWindows = false;
};

// The text of the first check that fails, "" when the program may go on: [Setup] Close (the uninstall program
// runs), [Setup] Nonsupport (Windows 98 / Me, NT 4.0), IDS_X64 (a package for 32-bit Windows only, on 64-bit
// Windows), IDS_X32 (the other way round), [Setup] PortNull (the package's start-up check).
std::string StartCheckMessage(const StartFacts& facts, const SetupConfig& config,
                              const common::LanguageTexts& texts);

// IDS_ADMIN when the detected Windows is 2000 or later and the user is not a member of the Administrators
// group, else "".
std::string AdministratorMessage(const DetectedOs& os, bool administrator, const common::LanguageTexts& texts);

// A text of the wizard's own sections ([Setup], [Legal], ...): the language file's, or the built-in English
// text when the file lacks it, so that no button or message is ever empty. [Message] texts are
// InstallerMessage's.
std::string WizardText(const common::LanguageTexts& texts, std::string_view section, std::string_view key);

// The dialog font of a system default language: the four Chinese identifiers switch every control of every
// page and dialog to a 13-pixel normal-weight "宋体" (SimSun) with the GB2312 character set.
struct DialogFont {
  bool replace = false;  // false: the templates' own font stays
  std::string face;      // UTF-8
  int height = 0;        // pixels (lfHeight)
  int weight = 0;        // FW_NORMAL
  int charset = 0;       // GB2312_CHARSET
};
DialogFont ChooseDialogFont(uint16_t langId);

}  // namespace mq::installer
