// ZIP reading. Layout (little-endian): the end-of-central-directory record (signature 0x06054B50, within the
// last 65557 bytes) gives the entry count (+10), the directory's size (+12) and offset (+16); each directory
// entry (0x02014B50, 46 bytes and its name, extra field and comment) gives the flags (+8), method (+10),
// CRC-32 (+16), compressed (+20) and uncompressed size (+24), the name length (+28), extra length (+30),
// comment length (+32) and the local header's offset (+42); the local header (0x04034B50, 30 bytes) is
// followed by its own name and extra field (lengths at +26 and +28), then the data.
#include "ZipArchive.h"

#include <zlib.h>

#include <fstream>
#include <vector>

#include "LittleEndian.h"
#include "ToolSupport.h"

namespace mq::tool {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMaxArchiveBytes = 1ull << 30;
constexpr uint64_t kMaxUnpackedBytes = 2ull << 30;
constexpr uint32_t kMaxEntries = 100000;
// Deflate cannot expand a byte to more than 1032 (a 258-byte match costs at least two bits).
constexpr uint64_t kMaxDeflateRatio = 1032;

// A relative name of plain components; a trailing '/' marks a folder.
bool SafeName(const std::string& name) {
  if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos ||
      name.find(':') != std::string::npos || name.find('\0') != std::string::npos) {
    return false;
  }
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (part == "..") return false;
    if (part.empty() && end != name.size()) return false;  // "a//b"
    start = end + 1;
  }
  return true;
}

bool Inflate(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  Bytef none = 0;  // an empty entry still needs somewhere to point
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out->empty() ? &none : out->data();
  stream.avail_out = static_cast<uInt>(out->size());
  int result = inflate(&stream, Z_FINISH);
  bool ok = result == Z_STREAM_END && stream.total_out == out->size();
  inflateEnd(&stream);
  return ok;
}

}  // namespace

bool ExtractZip(const std::string& archive, const fs::path& into, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(archive, kMaxArchiveBytes, &bytes, error)) return false;
  LittleEndian r(bytes);
  auto fail = [&](const std::string& why) {
    *error = archive + ": " + why;
    return false;
  };
  // The end record is the last one: search backwards over the longest possible comment.
  uint64_t end = 0;
  bool found = false;
  if (bytes.size() >= 22) {
    uint64_t lowest = bytes.size() > 65557 ? bytes.size() - 65557 : 0;
    for (uint64_t at = bytes.size() - 22 + 1; at-- > lowest;) {
      uint32_t signature = 0;
      if (r.U32(at, &signature) && signature == 0x06054B50) {
        end = at;
        found = true;
        break;
      }
    }
  }
  if (!found) return fail("not a ZIP archive");
  uint32_t count = 0, directorySize = 0, directory = 0;
  r.U16(end + 10, &count);
  r.U32(end + 12, &directorySize);
  r.U32(end + 16, &directory);
  if (count == 0xFFFF || directory == 0xFFFFFFFF) return fail("ZIP64 archives are not read");
  if (count > kMaxEntries) return fail("too many entries");
  if (static_cast<uint64_t>(directory) + directorySize > end) return fail("damaged central directory");
  uint64_t unpacked = 0;
  uint64_t at = directory;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t signature = 0, flags = 0, method = 0, crc = 0, packedSize = 0, size = 0, nameLength = 0,
             extraLength = 0, commentLength = 0, local = 0;
    if (!r.U32(at, &signature) || signature != 0x02014B50 || !r.U16(at + 8, &flags) ||
        !r.U16(at + 10, &method) || !r.U32(at + 16, &crc) || !r.U32(at + 20, &packedSize) ||
        !r.U32(at + 24, &size) || !r.U16(at + 28, &nameLength) || !r.U16(at + 30, &extraLength) ||
        !r.U16(at + 32, &commentLength) || !r.U32(at + 42, &local) || at + 46 + nameLength > end) {
      return fail("damaged central directory entry " + std::to_string(i + 1));
    }
    std::string name(bytes.begin() + at + 46, bytes.begin() + at + 46 + nameLength);
    at += 46ull + nameLength + extraLength + commentLength;
    if (!SafeName(name)) return fail("entry \"" + OneLine(name) + "\" would be written outside the folder");
    if ((flags & 1) != 0) return fail(name + " is encrypted");
    if (packedSize == 0xFFFFFFFF || size == 0xFFFFFFFF) return fail("ZIP64 archives are not read");
    unpacked += size;
    if (unpacked > kMaxUnpackedBytes) return fail("unpacks to more than 2 GiB");
    fs::path target = into / fs::path(name);
    std::error_code ec;
    if (name.back() == '/') {
      fs::create_directories(target, ec);
      if (ec) return fail("cannot create " + target.string() + ": " + ec.message());
      continue;
    }
    uint32_t localSignature = 0, localName = 0, localExtra = 0;
    if (!r.U32(local, &localSignature) || localSignature != 0x04034B50 || !r.U16(local + 26, &localName) ||
        !r.U16(local + 28, &localExtra)) {
      return fail("damaged local header of " + name);
    }
    uint64_t data = static_cast<uint64_t>(local) + 30 + localName + localExtra;
    if (data + packedSize > bytes.size()) return fail(name + " runs past the end of the archive");
    // The sizes are checked before the entry's memory is taken: a directory may claim any size at all.
    if (method != 0 && method != 8)
      return fail(name + ": compression method " + std::to_string(method) + " is not read");
    if (method == 0 && packedSize != size) return fail(name + ": stored sizes differ");
    if (method == 8 && size > static_cast<uint64_t>(packedSize) * kMaxDeflateRatio + 1024)
      return fail(name + ": claims more bytes than its compressed data can hold");
    std::vector<uint8_t> contents(size);
    if (method == 0) {
      std::copy(bytes.begin() + data, bytes.begin() + data + size, contents.begin());
    } else if (!Inflate(bytes.data() + data, packedSize, &contents)) {
      return fail(name + ": damaged data");
    }
    if (crc32(0, contents.data(), static_cast<uInt>(contents.size())) != crc)
      return fail(name + ": CRC-32 does not match");
    fs::create_directories(target.parent_path(), ec);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
    if (!out) return fail("cannot write " + target.string());
  }
  return true;
}

}  // namespace mq::tool
