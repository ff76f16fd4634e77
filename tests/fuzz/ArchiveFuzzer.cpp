// The package checker's readers of outside files: the import tables of Windows binaries and ZIP archives. The
// same input goes to both. An archive is unpacked into a fresh folder; nothing may appear beside it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "PeImports.h"
#include "ZipArchive.h"

using namespace mq;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> dlls;
  std::string error;
  if (tool::ReadImportedDlls(std::span<const uint8_t>(data, size), &dlls, &error)) {
    for (const std::string& dll : dlls) fuzz::Require(!dll.empty() && dll.size() <= 256);
  } else {
    fuzz::Require(!error.empty());
  }

  static const fs::path base = fs::temp_directory_path() / "mq450-archive-fuzz";
  const fs::path input = base / "in.zip", out = base / "out";
  std::error_code ec;
  fs::remove_all(base, ec);
  fs::create_directories(out);
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  error.clear();
  if (!tool::ExtractZip(input.string(), out, &error)) fuzz::Require(!error.empty());
  // Only regular files and folders, all below the output folder, and nothing beside it.
  for (auto it = fs::recursive_directory_iterator(out, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fuzz::Require(!it->is_symlink() && (it->is_regular_file() || it->is_directory()));
  }
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(base, ec)) {
    fuzz::Require(entry.path() == input || entry.path() == out);
    ++entries;
  }
  fuzz::Require(entries == 2);
  return 0;
}
