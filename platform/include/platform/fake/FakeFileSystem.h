// In-memory file system with Windows semantics, for tests: one tree per drive letter, case-blind names that
// keep the case they were created with, read-only attributes honoured, delayed moves recorded. Every call
// goes to the journal under the name of the Win32 function it stands for.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeFileSystem : public FileSystem {
 public:
  explicit FakeFileSystem(CallJournal& journal);
  ~FakeFileSystem() override;

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

  // Direct access for set-up and checks; not journaled. Put creates the folders on the way.
  void Put(std::string_view path, std::string_view contents, uint32_t attributes = kFileAttributeArchive);
  void PutBytes(std::string_view path, std::vector<uint8_t> contents,
                uint32_t attributes = kFileAttributeArchive);
  void MakeFolders(std::string_view path);
  bool Exists(std::string_view path) const;
  std::optional<std::string> Contents(std::string_view path) const;
  // The stored name with its original letter case ("C:\Windows\System32\x.dll"), or nullopt.
  std::optional<std::string> ActualPath(std::string_view path) const;
  // Moves recorded with kMoveFileDelayUntilReboot, as (source, target).
  const std::vector<std::pair<std::string, std::string>>& PendingMoves() const { return pendingMoves_; }

 private:
  struct Node;
  Node* Find(std::string_view path) const;
  Node* FindParent(std::string_view path, std::string* leaf, uint32_t* error) const;
  Node* Make(std::string_view path, bool folder);
  // The error for a path that names nothing: ERROR_PATH_NOT_FOUND when a folder on the way is missing.
  uint32_t MissingError(std::string_view path) const;

  CallJournal& journal_;
  std::map<char, std::unique_ptr<Node>> drives_;
  std::vector<std::pair<std::string, std::string>> pendingMoves_;
};

}  // namespace mq::platform
