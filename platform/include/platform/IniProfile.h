// The Windows profile functions in portable code, over a FileSystem: the reading rules of
// GetPrivateProfileStringW (case-blind trimmed names, trimmed values with one pair of quotes removed, first
// duplicate wins, truncation to capacity - 1) and a WritePrivateProfileStringW that edits the file in place.
// Files may be UTF-16LE with byte order mark, UTF-8 with byte order mark, or in the ANSI code page
// (Windows-1252).
//
// Each file is parsed once: the parsed form is kept with the bytes it came from and used again for as long as
// the file reads the same, so a run that asks a large file many questions costs one parse and one read per
// question, and lookups take time in proportion to the section searched, never its square.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Profile.h"

namespace mq::platform {

class IniProfile : public Profile {
 public:
  // windowsDirectory resolves file names given without a folder.
  IniProfile(FileSystem& files, std::string windowsDirectory);
  ~IniProfile() override;

  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, uint32_t capacity) override;
  std::vector<std::string> GetSectionNames(std::string_view file) override;
  std::vector<std::string> GetKeyNames(std::string_view file, std::string_view section) override;
  uint32_t WriteString(std::string_view file, std::string_view section, std::optional<std::string_view> key,
                       std::optional<std::string_view> value) override;
  // Writes go straight to the file: there is no cached copy to write out.
  uint32_t Flush(std::string_view) override { return 0; }

  // The file a profile file name stands for: names without a folder are in the Windows directory.
  std::string FullPath(std::string_view file) const;
  // What GetString answers when the key cannot be read: the default without trailing spaces, cut to
  // capacity - 1.
  static std::string DefaultAnswer(std::string_view defaultValue, uint32_t capacity);

 private:
  struct Document;
  // The parsed file, or null when it cannot be read.
  const Document* Load(const std::string& path);

  FileSystem& files_;
  std::string windowsDirectory_;
  std::map<std::string, std::unique_ptr<Document>> parsed_;  // by case-folded path
};

}  // namespace mq::platform
