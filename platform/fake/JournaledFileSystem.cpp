// Journal and failure injection in front of any FileSystem.
#include "platform/fake/JournaledFileSystem.h"

#include <string>

namespace mq::platform {

uint32_t JournaledFileSystem::GetAttributes(std::string_view path, uint32_t* attributes) {
  if (uint32_t e = journal_.Enter("GetFileAttributesW", {{"path", std::string(path)}})) return e;
  return inner_.GetAttributes(path, attributes);
}

uint32_t JournaledFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  if (uint32_t e = journal_.Enter("SetFileAttributesW", {{"path", std::string(path)},
                                                         {"attributes", CallJournal::Hex(attributes)}})) {
    return e;
  }
  return inner_.SetAttributes(path, attributes);
}

uint32_t JournaledFileSystem::CreateFolder(std::string_view path) {
  if (uint32_t e = journal_.Enter("CreateDirectoryW", {{"path", std::string(path)}})) return e;
  return inner_.CreateFolder(path);
}

uint32_t JournaledFileSystem::RemoveFolder(std::string_view path) {
  if (uint32_t e = journal_.Enter("RemoveDirectoryW", {{"path", std::string(path)}})) return e;
  return inner_.RemoveFolder(path);
}

uint32_t JournaledFileSystem::Copy(std::string_view source, std::string_view target, bool failIfExists) {
  if (uint32_t e = journal_.Enter("CopyFileW", {{"source", std::string(source)},
                                                {"target", std::string(target)},
                                                {"failIfExists", failIfExists ? "1" : "0"}})) {
    return e;
  }
  return inner_.Copy(source, target, failIfExists);
}

uint32_t JournaledFileSystem::Move(std::string_view source, std::string_view target, uint32_t flags) {
  if (uint32_t e = journal_.Enter("MoveFileExW", {{"source", std::string(source)},
                                                  {"target", std::string(target)},
                                                  {"flags", CallJournal::Hex(flags)}})) {
    return e;
  }
  return inner_.Move(source, target, flags);
}

uint32_t JournaledFileSystem::Delete(std::string_view path) {
  if (uint32_t e = journal_.Enter("DeleteFileW", {{"path", std::string(path)}})) return e;
  return inner_.Delete(path);
}

uint32_t JournaledFileSystem::ReadAll(std::string_view path, std::vector<uint8_t>* contents) {
  if (uint32_t e = journal_.Enter("ReadFile", {{"path", std::string(path)}})) return e;
  return inner_.ReadAll(path, contents);
}

uint32_t JournaledFileSystem::WriteAll(std::string_view path, std::span<const uint8_t> contents) {
  if (uint32_t e = journal_.Enter(
          "WriteFile", {{"path", std::string(path)}, {"bytes", std::to_string(contents.size())}})) {
    return e;
  }
  return inner_.WriteAll(path, contents);
}

uint32_t JournaledFileSystem::FindFiles(std::string_view pattern, std::vector<FileFindData>* found) {
  if (uint32_t e = journal_.Enter("FindFirstFileW", {{"pattern", std::string(pattern)}})) return e;
  return inner_.FindFiles(pattern, found);
}

}  // namespace mq::platform
