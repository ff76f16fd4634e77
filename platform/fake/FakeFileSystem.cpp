// In-memory file system with Windows semantics.
#include "platform/fake/FakeFileSystem.h"

#include <algorithm>

#include "platform/Text.h"
#include "platform/WinError.h"
#include "platform/WindowsPath.h"

namespace mq::platform {

struct FakeFileSystem::Node {
  std::string name;
  bool folder = false;
  uint32_t attributes = 0;
  std::vector<uint8_t> bytes;
  std::vector<std::unique_ptr<Node>> children;

  Node* Child(std::string_view childName) const {
    for (const auto& child : children) {
      if (text::EqualsNoCase(child->name, childName)) return child.get();
    }
    return nullptr;
  }
  void Remove(const Node* child) {
    std::erase_if(children, [child](const auto& c) { return c.get() == child; });
  }
};

FakeFileSystem::FakeFileSystem(CallJournal& journal) : journal_(journal) {}
FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) const {
  WindowsPath parsed = ParseWindowsPath(path);
  auto drive = drives_.find(parsed.drive);
  if (drive == drives_.end()) return nullptr;
  Node* current = drive->second.get();
  for (const std::string& name : parsed.names) {
    if (current == nullptr || !current->folder) return nullptr;
    current = current->Child(name);
  }
  return current;
}

FakeFileSystem::Node* FakeFileSystem::FindParent(std::string_view path, std::string* leaf,
                                                 uint32_t* error) const {
  WindowsPath parsed = ParseWindowsPath(path);
  if (parsed.names.empty()) {
    *error = err::kAccessDenied;
    return nullptr;
  }
  *leaf = parsed.names.back();
  auto drive = drives_.find(parsed.drive);
  Node* current = drive == drives_.end() ? nullptr : drive->second.get();
  for (size_t i = 0; i + 1 < parsed.names.size() && current != nullptr; ++i) {
    current = current->Child(parsed.names[i]);
    if (current != nullptr && !current->folder) current = nullptr;
  }
  if (current == nullptr) *error = err::kPathNotFound;
  return current;
}

uint32_t FakeFileSystem::MissingError(std::string_view path) const {
  std::string leaf;
  uint32_t error = err::kFileNotFound;
  FindParent(path, &leaf, &error);
  return error == err::kPathNotFound ? err::kPathNotFound : err::kFileNotFound;
}

FakeFileSystem::Node* FakeFileSystem::Make(std::string_view path, bool folder) {
  WindowsPath parsed = ParseWindowsPath(path);
  auto& root = drives_[parsed.drive];
  if (!root) {
    root = std::make_unique<Node>();
    root->folder = true;
    root->attributes = kFileAttributeDirectory;
  }
  Node* current = root.get();
  for (size_t i = 0; i < parsed.names.size(); ++i) {
    bool last = i + 1 == parsed.names.size();
    Node* next = current->Child(parsed.names[i]);
    if (next == nullptr) {
      current->children.push_back(std::make_unique<Node>());
      next = current->children.back().get();
      next->name = parsed.names[i];
      next->folder = !last || folder;
      next->attributes = next->folder ? kFileAttributeDirectory : kFileAttributeArchive;
    }
    current = next;
  }
  return current;
}

uint32_t FakeFileSystem::GetAttributes(std::string_view path, uint32_t* attributes) {
  if (uint32_t e = journal_.Enter("GetFileAttributesW", {{"path", std::string(path)}})) return e;
  if (Node* node = Find(path)) {
    *attributes = node->attributes;
    return err::kSuccess;
  }
  return MissingError(path);
}

uint32_t FakeFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  if (uint32_t e = journal_.Enter("SetFileAttributesW", {{"path", std::string(path)},
                                                         {"attributes", CallJournal::Hex(attributes)}})) {
    return e;
  }
  Node* node = Find(path);
  if (node == nullptr) return MissingError(path);
  uint32_t kept = node->attributes & kFileAttributeDirectory;
  uint32_t wanted = attributes & ~kFileAttributeDirectory;
  if (wanted == kFileAttributeNormal) wanted = node->folder ? 0 : kFileAttributeNormal;
  node->attributes = kept | wanted;
  return err::kSuccess;
}

uint32_t FakeFileSystem::CreateFolder(std::string_view path) {
  if (uint32_t e = journal_.Enter("CreateDirectoryW", {{"path", std::string(path)}})) return e;
  std::string leaf;
  uint32_t error = 0;
  Node* parent = FindParent(path, &leaf, &error);
  if (parent == nullptr) return error == err::kAccessDenied ? err::kAlreadyExists : error;
  if (parent->Child(leaf) != nullptr) return err::kAlreadyExists;
  parent->children.push_back(std::make_unique<Node>());
  Node* made = parent->children.back().get();
  made->name = leaf;
  made->folder = true;
  made->attributes = kFileAttributeDirectory;
  return err::kSuccess;
}

uint32_t FakeFileSystem::RemoveFolder(std::string_view path) {
  if (uint32_t e = journal_.Enter("RemoveDirectoryW", {{"path", std::string(path)}})) return e;
  std::string leaf;
  uint32_t error = 0;
  Node* parent = FindParent(path, &leaf, &error);
  if (parent == nullptr) return error;
  Node* node = parent->Child(leaf);
  if (node == nullptr) return err::kFileNotFound;
  if (!node->folder) return err::kDirectory;
  if (!node->children.empty()) return err::kDirNotEmpty;
  parent->Remove(node);
  return err::kSuccess;
}

uint32_t FakeFileSystem::Copy(std::string_view source, std::string_view target, bool failIfExists) {
  if (uint32_t e = journal_.Enter("CopyFileW", {{"source", std::string(source)},
                                                {"target", std::string(target)},
                                                {"failIfExists", failIfExists ? "1" : "0"}})) {
    return e;
  }
  Node* from = Find(source);
  if (from == nullptr) return MissingError(source);
  if (from->folder) return err::kAccessDenied;
  std::string leaf;
  uint32_t error = 0;
  Node* parent = FindParent(target, &leaf, &error);
  if (parent == nullptr) return error;
  Node* to = parent->Child(leaf);
  if (to != nullptr) {
    if (failIfExists) return err::kFileExists;
    if (to->folder || (to->attributes & kFileAttributeReadonly) != 0) return err::kAccessDenied;
  } else {
    parent->children.push_back(std::make_unique<Node>());
    to = parent->children.back().get();
    to->name = leaf;
  }
  to->bytes = from->bytes;
  to->attributes = from->attributes | kFileAttributeArchive;
  return err::kSuccess;
}

uint32_t FakeFileSystem::Move(std::string_view source, std::string_view target, uint32_t flags) {
  if (uint32_t e = journal_.Enter("MoveFileExW", {{"source", std::string(source)},
                                                  {"target", std::string(target)},
                                                  {"flags", CallJournal::Hex(flags)}})) {
    return e;
  }
  if ((flags & kMoveFileDelayUntilReboot) != 0) {
    pendingMoves_.emplace_back(source, target);
    return err::kSuccess;
  }
  std::string fromLeaf;
  uint32_t error = 0;
  Node* fromParent = FindParent(source, &fromLeaf, &error);
  Node* from = fromParent == nullptr ? nullptr : fromParent->Child(fromLeaf);
  if (from == nullptr) return err::kFileNotFound;
  std::string toLeaf;
  Node* toParent = FindParent(target, &toLeaf, &error);
  if (toParent == nullptr) return error;
  if (Node* existing = toParent->Child(toLeaf)) {
    if (existing == from) {
      from->name = toLeaf;
      return err::kSuccess;
    }
    if ((flags & kMoveFileReplaceExisting) == 0) return err::kAlreadyExists;
    if (existing->folder || (existing->attributes & kFileAttributeReadonly) != 0) return err::kAccessDenied;
    toParent->Remove(existing);
  }
  for (auto& child : fromParent->children) {
    if (child.get() == from) {
      std::unique_ptr<Node> moved = std::move(child);
      fromParent->Remove(nullptr);
      moved->name = toLeaf;
      toParent->children.push_back(std::move(moved));
      break;
    }
  }
  return err::kSuccess;
}

uint32_t FakeFileSystem::Delete(std::string_view path) {
  if (uint32_t e = journal_.Enter("DeleteFileW", {{"path", std::string(path)}})) return e;
  std::string leaf;
  uint32_t error = 0;
  Node* parent = FindParent(path, &leaf, &error);
  if (parent == nullptr) return error;
  Node* node = parent->Child(leaf);
  if (node == nullptr) return err::kFileNotFound;
  if (node->folder || (node->attributes & kFileAttributeReadonly) != 0) return err::kAccessDenied;
  parent->Remove(node);
  return err::kSuccess;
}

uint32_t FakeFileSystem::ReadAll(std::string_view path, std::vector<uint8_t>* contents) {
  if (uint32_t e = journal_.Enter("ReadFile", {{"path", std::string(path)}})) return e;
  Node* node = Find(path);
  if (node == nullptr) return MissingError(path);
  if (node->folder) return err::kAccessDenied;
  if (node->bytes.size() > kMaxReadAllBytes) return err::kFileTooLarge;
  *contents = node->bytes;
  return err::kSuccess;
}

uint32_t FakeFileSystem::WriteAll(std::string_view path, std::span<const uint8_t> contents) {
  if (uint32_t e = journal_.Enter(
          "WriteFile", {{"path", std::string(path)}, {"bytes", std::to_string(contents.size())}})) {
    return e;
  }
  std::string leaf;
  uint32_t error = 0;
  Node* parent = FindParent(path, &leaf, &error);
  if (parent == nullptr) return error;
  Node* node = parent->Child(leaf);
  if (node != nullptr && (node->folder || (node->attributes & kFileAttributeReadonly) != 0)) {
    return err::kAccessDenied;
  }
  if (node == nullptr) {
    parent->children.push_back(std::make_unique<Node>());
    node = parent->children.back().get();
    node->name = leaf;
    node->attributes = kFileAttributeArchive;
  }
  node->bytes.assign(contents.begin(), contents.end());
  return err::kSuccess;
}

uint32_t FakeFileSystem::FindFiles(std::string_view pattern, std::vector<FileFindData>* found) {
  if (uint32_t e = journal_.Enter("FindFirstFileW", {{"pattern", std::string(pattern)}})) return e;
  std::string leaf;
  uint32_t error = 0;
  Node* parent = FindParent(pattern, &leaf, &error);
  if (parent == nullptr) return error == err::kAccessDenied ? err::kFileNotFound : error;
  std::vector<FileFindData> matches;
  for (const auto& child : parent->children) {
    if (MatchesWildcard(leaf, child->name)) {
      matches.push_back(FileFindData{child->name, child->attributes, child->bytes.size()});
    }
  }
  if (matches.empty()) return err::kFileNotFound;
  std::sort(matches.begin(), matches.end(), [](const FileFindData& a, const FileFindData& b) {
    return text::FoldCase(a.name) < text::FoldCase(b.name);
  });
  *found = std::move(matches);
  return err::kSuccess;
}

void FakeFileSystem::Put(std::string_view path, std::string_view contents, uint32_t attributes) {
  PutBytes(path, std::vector<uint8_t>(contents.begin(), contents.end()), attributes);
}

void FakeFileSystem::PutBytes(std::string_view path, std::vector<uint8_t> contents, uint32_t attributes) {
  Node* node = Make(path, false);
  node->bytes = std::move(contents);
  node->attributes = attributes;
}

void FakeFileSystem::MakeFolders(std::string_view path) {
  Make(path, true);
}

bool FakeFileSystem::Exists(std::string_view path) const {
  return Find(path) != nullptr;
}

std::optional<std::string> FakeFileSystem::Contents(std::string_view path) const {
  Node* node = Find(path);
  if (node == nullptr || node->folder) return std::nullopt;
  return std::string(node->bytes.begin(), node->bytes.end());
}

std::optional<std::string> FakeFileSystem::ActualPath(std::string_view path) const {
  WindowsPath parsed = ParseWindowsPath(path);
  auto drive = drives_.find(parsed.drive);
  if (drive == drives_.end()) return std::nullopt;
  std::string out(1, parsed.drive);
  out += ':';
  Node* current = drive->second.get();
  for (const std::string& name : parsed.names) {
    current = current->folder ? current->Child(name) : nullptr;
    if (current == nullptr) return std::nullopt;
    out += '\\' + current->name;
  }
  return out;
}

}  // namespace mq::platform
