// Windows paths on a real folder: a root folder stands for the drive ("C:\Windows\x.ini" is
// root/Windows/x.ini whatever the drive letter), and each name is matched without regard to case against what
// the folder holds, since configurations name the same file with different letter case. Used by the Linux
// tool for simulated machines (behind a JournaledFileSystem for the transcript) and package folders.
// Attributes other than read-only and folder are kept nowhere and read as archive.
#pragma once

#include <filesystem>

#include "platform/FileSystem.h"

namespace mq::platform {

class RootedFileSystem : public FileSystem {
 public:
  explicit RootedFileSystem(std::filesystem::path root);

  uint32_t GetAttributes(std::string_view path, uint32_t* attributes) override;
  uint32_t SetAttributes(std::string_view path, uint32_t attributes) override;
  uint32_t CreateFolder(std::string_view path) override;
  uint32_t RemoveFolder(std::string_view path) override;
  uint32_t Copy(std::string_view source, std::string_view target, bool failIfExists) override;
  uint32_t Move(std::string_view source, std::string_view target, uint32_t flags) override;
  uint32_t Delete(std::string_view path) override;
  uint32_t ReadAll(std::string_view path, std::vector<uint8_t>* contents) override;
  uint32_t WriteAll(std::string_view path, std::span<const uint8_t> contents) override;
  uint32_t FindFiles(std::string_view pattern, std::vector<FileFindData>* found) override;

  // The host path a Windows path maps to (existing names in their stored case, the rest as given).
  std::filesystem::path HostPath(std::string_view windowsPath) const;

 private:
  std::filesystem::path root_;
};

}  // namespace mq::platform
