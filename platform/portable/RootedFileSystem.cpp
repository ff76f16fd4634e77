// Windows file semantics over a host folder.
#include "platform/RootedFileSystem.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "platform/Text.h"
#include "platform/WinError.h"
#include "platform/WindowsPath.h"

namespace mq::platform {
namespace fs = std::filesystem;

namespace {

bool IsReadOnly(const fs::path& p) {
  std::error_code ec;
  auto perms = fs::status(p, ec).permissions();
  return !ec && (perms & fs::perms::owner_write) == fs::perms::none;
}

uint32_t AttributesOf(const fs::path& p) {
  std::error_code ec;
  uint32_t attributes = fs::is_directory(p, ec) ? kFileAttributeDirectory : kFileAttributeArchive;
  if (IsReadOnly(p)) attributes |= kFileAttributeReadonly;
  return attributes;
}

uint32_t MissingError(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p.parent_path(), ec) ? err::kFileNotFound : err::kPathNotFound;
}

}  // namespace

RootedFileSystem::RootedFileSystem(fs::path root) : root_(std::move(root)) {}

fs::path RootedFileSystem::HostPath(std::string_view windowsPath) const {
  WindowsPath parsed = ParseWindowsPath(windowsPath);
  fs::path current = root_;
  bool exists = true;
  for (const std::string& name : parsed.names) {
    fs::path next = current / name;
    std::error_code ec;
    if (exists && fs::is_directory(current, ec)) {
      bool found = false;
      for (const auto& entry : fs::directory_iterator(current, ec)) {
        if (text::EqualsNoCase(entry.path().filename().string(), name)) {
          next = entry.path();
          found = true;
          break;
        }
      }
      exists = found;
    } else {
      exists = false;
    }
    current = next;
  }
  return current;
}

uint32_t RootedFileSystem::GetAttributes(std::string_view path, uint32_t* attributes) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return MissingError(host);
  *attributes = AttributesOf(host);
  return err::kSuccess;
}

uint32_t RootedFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return MissingError(host);
  bool readOnly = (attributes & kFileAttributeReadonly) != 0;
  fs::permissions(host, fs::perms::owner_write, readOnly ? fs::perm_options::remove : fs::perm_options::add,
                  ec);
  return ec ? err::kAccessDenied : err::kSuccess;
}

uint32_t RootedFileSystem::CreateFolder(std::string_view path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (fs::exists(host, ec)) return err::kAlreadyExists;
  if (!fs::is_directory(host.parent_path(), ec)) return err::kPathNotFound;
  return fs::create_directory(host, ec) ? err::kSuccess : err::kAccessDenied;
}

uint32_t RootedFileSystem::RemoveFolder(std::string_view path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return MissingError(host);
  if (!fs::is_directory(host, ec)) return err::kDirectory;
  if (!fs::is_empty(host, ec)) return err::kDirNotEmpty;
  return fs::remove(host, ec) ? err::kSuccess : err::kAccessDenied;
}

uint32_t RootedFileSystem::Copy(std::string_view source, std::string_view target, bool failIfExists) {
  fs::path from = HostPath(source);
  fs::path to = HostPath(target);
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) return fs::exists(from, ec) ? err::kAccessDenied : MissingError(from);
  if (!fs::is_directory(to.parent_path(), ec)) return err::kPathNotFound;
  if (fs::exists(to, ec)) {
    if (failIfExists) return err::kFileExists;
    if (fs::is_directory(to, ec) || IsReadOnly(to)) return err::kAccessDenied;
  }
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  return ec ? err::kAccessDenied : err::kSuccess;
}

uint32_t RootedFileSystem::Move(std::string_view source, std::string_view target, uint32_t flags) {
  // A delayed move is a promise about the next start; a folder on Linux has no next start, so it is kept
  // nowhere and reported done.
  if ((flags & kMoveFileDelayUntilReboot) != 0) return err::kSuccess;
  fs::path from = HostPath(source);
  fs::path to = HostPath(target);
  std::error_code ec;
  if (!fs::exists(from, ec)) return MissingError(from);
  if (fs::exists(to, ec) && !fs::equivalent(from, to, ec)) {
    if ((flags & kMoveFileReplaceExisting) == 0) return err::kAlreadyExists;
    if (fs::is_directory(to, ec) || IsReadOnly(to)) return err::kAccessDenied;
  }
  fs::rename(from, to, ec);
  return ec ? err::kAccessDenied : err::kSuccess;
}

uint32_t RootedFileSystem::Delete(std::string_view path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return MissingError(host);
  if (fs::is_directory(host, ec) || IsReadOnly(host)) return err::kAccessDenied;
  return fs::remove(host, ec) ? err::kSuccess : err::kAccessDenied;
}

uint32_t RootedFileSystem::ReadAll(std::string_view path, std::vector<uint8_t>* contents) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return MissingError(host);
  // Folders, and devices or pipes that a hostile folder may hold in place of a file, are not read.
  if (!fs::is_regular_file(host, ec)) return err::kAccessDenied;
  uintmax_t size = fs::file_size(host, ec);
  if (ec) return err::kAccessDenied;
  if (size > kMaxReadAllBytes) return err::kFileTooLarge;
  std::ifstream in(host, std::ios::binary);
  if (!in) return err::kAccessDenied;
  // The file may grow meanwhile: read in pieces and stop past the limit.
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(size));
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    if (bytes.size() + static_cast<size_t>(in.gcount()) > kMaxReadAllBytes) return err::kFileTooLarge;
    bytes.insert(bytes.end(), chunk, chunk + in.gcount());
  }
  if (in.bad()) return err::kReadFault;
  *contents = std::move(bytes);
  return err::kSuccess;
}

uint32_t RootedFileSystem::WriteAll(std::string_view path, std::span<const uint8_t> contents) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::is_directory(host.parent_path(), ec)) return err::kPathNotFound;
  if (fs::is_directory(host, ec) || (fs::exists(host, ec) && IsReadOnly(host))) return err::kAccessDenied;
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return err::kAccessDenied;
  out.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
  return out.good() ? err::kSuccess : err::kWriteFault;
}

uint32_t RootedFileSystem::FindFiles(std::string_view pattern, std::vector<FileFindData>* found) {
  std::string_view leaf = text::FileName(pattern);
  fs::path folder = HostPath(text::ParentPath(pattern));
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return err::kPathNotFound;
  std::vector<FileFindData> matches;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().string();
    if (!MatchesWildcard(leaf, name)) continue;
    std::error_code sizeError;
    uint64_t size = entry.is_regular_file(sizeError) ? entry.file_size(sizeError) : 0;
    matches.push_back(FileFindData{name, AttributesOf(entry.path()), size});
  }
  if (matches.empty()) return err::kFileNotFound;
  std::sort(matches.begin(), matches.end(), [](const FileFindData& a, const FileFindData& b) {
    return text::FoldCase(a.name) < text::FoldCase(b.name);
  });
  *found = std::move(matches);
  return err::kSuccess;
}

}  // namespace mq::platform
