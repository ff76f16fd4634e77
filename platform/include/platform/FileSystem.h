// Files and folders, in the shape of the Win32 file functions. Paths are Windows paths in UTF-8
// ("C:\dir\f.ini"); names are matched without regard to letter case, as on Windows. Every operation returns a
// Windows error code, 0 on success; outputs are left untouched on failure.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mq::platform {

inline constexpr uint32_t kFileAttributeReadonly = 0x01;
inline constexpr uint32_t kFileAttributeHidden = 0x02;
inline constexpr uint32_t kFileAttributeSystem = 0x04;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;
inline constexpr uint32_t kFileAttributeNormal = 0x80;

// ReadAll serves configuration and state files; anything larger is refused before it is read.
inline constexpr uint64_t kMaxReadAllBytes = uint64_t{32} << 20;

// MoveFileExW flags.
inline constexpr uint32_t kMoveFileReplaceExisting = 0x1;
inline constexpr uint32_t kMoveFileDelayUntilReboot = 0x4;

struct FileFindData {
  std::string name;  // the entry's own name, without folder
  uint32_t attributes = 0;
  uint64_t size = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // GetFileAttributesW. ERROR_FILE_NOT_FOUND for a missing file, ERROR_PATH_NOT_FOUND for a missing folder on
  // the way.
  virtual uint32_t GetAttributes(std::string_view path, uint32_t* attributes) = 0;

  // SetFileAttributesW. kFileAttributeDirectory cannot be set or cleared this way.
  virtual uint32_t SetAttributes(std::string_view path, uint32_t attributes) = 0;

  // CreateDirectoryW: one level. ERROR_ALREADY_EXISTS when the name exists, ERROR_PATH_NOT_FOUND when the
  // parent folder is missing.
  virtual uint32_t CreateFolder(std::string_view path) = 0;

  // RemoveDirectoryW. ERROR_DIR_NOT_EMPTY when it still holds entries.
  virtual uint32_t RemoveFolder(std::string_view path) = 0;

  // CopyFileW. failIfExists: ERROR_FILE_EXISTS when the target exists. A read-only target gives
  // ERROR_ACCESS_DENIED. The copy keeps the source's attributes.
  virtual uint32_t Copy(std::string_view source, std::string_view target, bool failIfExists) = 0;

  // MoveFileExW. Without kMoveFileReplaceExisting an existing target gives ERROR_ALREADY_EXISTS.
  // kMoveFileDelayUntilReboot records the move for the next start instead of doing it; with an empty target
  // the source is deleted at the next start (a null new name).
  virtual uint32_t Move(std::string_view source, std::string_view target, uint32_t flags) = 0;

  // DeleteFileW. ERROR_ACCESS_DENIED for a read-only file or a folder.
  virtual uint32_t Delete(std::string_view path) = 0;

  // The whole content of a file (CreateFileW + ReadFile). ERROR_FILE_TOO_LARGE for a file of more than
  // kMaxReadAllBytes, without reading it whole.
  virtual uint32_t ReadAll(std::string_view path, std::vector<uint8_t>* contents) = 0;

  // Creates or truncates the file and writes contents (CreateFileW CREATE_ALWAYS + WriteFile).
  virtual uint32_t WriteAll(std::string_view path, std::span<const uint8_t> contents) = 0;

  // FindFirstFileW / FindNextFileW over a folder and a name pattern with '*' and '?' ("C:\dir\*.inf").
  // Entries in name order, without "." and "..". ERROR_FILE_NOT_FOUND when nothing matches,
  // ERROR_PATH_NOT_FOUND when the folder is missing.
  virtual uint32_t FindFiles(std::string_view pattern, std::vector<FileFindData>* found) = 0;
};

}  // namespace mq::platform
