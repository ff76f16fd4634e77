// Import tables of PE images. Layout (all fields little-endian): the DOS header's e_lfanew at 0x3C gives the
// "PE\0\0" signature, followed by the 20-byte file header (section count at +2, optional header size at +16)
// and the optional header (magic 0x10B for PE32, 0x20B for PE32+), whose data directories start at 96 or 112
// bytes; directory 1 is the import table, 13 the delay-import table. Section headers (40 bytes each) map
// relative virtual addresses to file offsets.
#include "PeImports.h"

#include <cctype>

#include "LittleEndian.h"

namespace mq::tool {
namespace {

struct Section {
  uint32_t virtualAddress = 0, virtualSize = 0, rawOffset = 0, rawSize = 0;
};

class Image : public LittleEndian {
 public:
  explicit Image(std::span<const uint8_t> file) : LittleEndian(file), file_(file) {}

  // The file offset of an address, when a section's stored bytes hold it.
  bool Offset(uint32_t rva, uint64_t* at) const {
    for (const Section& s : sections_) {
      if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
        *at = static_cast<uint64_t>(s.rawOffset) + (rva - s.virtualAddress);
        return *at < file_.size();
      }
    }
    return false;
  }
  // A zero-terminated name of at most 255 characters.
  bool Name(uint32_t rva, std::string* name) const {
    uint64_t at = 0;
    if (!Offset(rva, &at)) return false;
    name->clear();
    for (; at < file_.size() && name->size() < 256; ++at) {
      if (file_[at] == 0) return !name->empty();
      name->push_back(static_cast<char>(file_[at]));
    }
    return false;
  }
  std::vector<Section>& sections() { return sections_; }

 private:
  std::span<const uint8_t> file_;
  std::vector<Section> sections_;
};

// Descriptors of one table: `size` bytes each, the name's address at `nameField`, ended by an all-zero one.
bool ReadTable(const Image& image, uint32_t rva, uint32_t size, uint32_t nameField,
               std::vector<std::string>* dlls, std::string* error) {
  if (rva == 0) return true;
  uint64_t at = 0;
  if (!image.Offset(rva, &at)) {
    *error = "import table outside the file";
    return false;
  }
  for (int i = 0; i < 4096; ++i, at += size) {
    uint32_t name = 0, first = 0;
    if (!image.U32(at + nameField, &name) || !image.U32(at, &first)) {
      *error = "import table runs past the end of the file";
      return false;
    }
    if (name == 0 && first == 0) return true;
    std::string dll;
    if (!image.Name(name, &dll)) {
      *error = "import name outside the file";
      return false;
    }
    dlls->push_back(dll);
  }
  *error = "import table without an end";
  return false;
}

}  // namespace

bool LooksLikePortableExecutable(std::span<const uint8_t> file) {
  Image image(file);
  uint32_t lfanew = 0, signature = 0;
  return file.size() >= 64 && file[0] == 'M' && file[1] == 'Z' && image.U32(0x3C, &lfanew) &&
         image.U32(lfanew, &signature) && signature == 0x00004550;
}

bool ReadImportedDlls(std::span<const uint8_t> file, std::vector<std::string>* dlls, std::string* error) {
  dlls->clear();
  if (!LooksLikePortableExecutable(file)) {
    *error = "not a Windows executable";
    return false;
  }
  Image image(file);
  uint32_t lfanew = 0, sectionCount = 0, optionalSize = 0, magic = 0;
  image.U32(0x3C, &lfanew);
  uint64_t header = static_cast<uint64_t>(lfanew) + 4;
  uint64_t optional = header + 20;
  if (!image.U16(header + 2, &sectionCount) || !image.U16(header + 16, &optionalSize) ||
      !image.U16(optional, &magic) || (magic != 0x10B && magic != 0x20B)) {
    *error = "damaged PE header";
    return false;
  }
  uint64_t directories = optional + (magic == 0x10B ? 96 : 112);
  uint32_t directoryCount = 0;
  if (!image.U32(optional + (magic == 0x10B ? 92 : 108), &directoryCount)) {
    *error = "damaged PE header";
    return false;
  }
  for (uint64_t s = optional + optionalSize, n = 0; n < sectionCount; ++n, s += 40) {
    Section section;
    if (!image.U32(s + 8, &section.virtualSize) || !image.U32(s + 12, &section.virtualAddress) ||
        !image.U32(s + 16, &section.rawSize) || !image.U32(s + 20, &section.rawOffset)) {
      *error = "section table runs past the end of the file";
      return false;
    }
    image.sections().push_back(section);
  }
  uint32_t importRva = 0, delayRva = 0;
  if (directoryCount > 1) image.U32(directories + 8 * 1, &importRva);
  if (directoryCount > 13) image.U32(directories + 8 * 13, &delayRva);
  // An import descriptor is 20 bytes with the name at +12; a delay-load descriptor 32 bytes with it at +4.
  return ReadTable(image, importRva, 20, 12, dlls, error) && ReadTable(image, delayRva, 32, 4, dlls, error);
}

bool IsMinGwRuntimeDll(std::string_view dll) {
  std::string lower(dll);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (std::string_view prefix : {"libgcc", "libstdc++", "libwinpthread", "libssp", "libatomic", "libgomp",
                                  "libquadmath", "libgfortran", "mingwm10"}) {
    if (lower.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace mq::tool
