// A FileSystem that records every call in a journal under the Win32 function it stands for, and fails the
// calls the journal is told to fail, before handing the others to the file system it wraps. Gives a real
// folder (RootedFileSystem) the transcript and failure injection of the in-memory fakes.
#pragma once

#include "platform/FileSystem.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class JournaledFileSystem : public FileSystem {
 public:
  JournaledFileSystem(FileSystem& inner, CallJournal& journal) : inner_(inner), journal_(journal) {}

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

 private:
  FileSystem& inner_;
  CallJournal& journal_;
};

}  // namespace mq::platform
