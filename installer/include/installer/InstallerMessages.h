// The installer's messages: the language file's text of a [Message] key, or its built-in English text when
// the language file lacks the key or leaves it empty, so that no message box and no result is ever empty.
#pragma once

#include <string>
#include <string_view>

#include "common/LanguageTexts.h"

namespace mq::installer {

// The built-in English text of a [Message] key (its "\1" line breaks expanded); "" for a key the installer
// does not know.
std::string BuiltInMessage(std::string_view key);

// The language file's text of key, or BuiltInMessage(key) when that is empty.
std::string InstallerMessage(const common::LanguageTexts& texts, std::string_view key);

}  // namespace mq::installer
