// Host files written in the way that suits what they are, and read with a bound.
#include "platform/HostFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

namespace mq::platform {
namespace fs = std::filesystem;

namespace {

// Links are followed as the system does, up to its own limit of 40.
constexpr int kMaxLinkHops = 40;

std::string ErrnoText(int saved) {
  return saved != 0 ? std::strerror(saved) : "input/output error";
}

// The path a write must reach: symbolic links followed to their final target (which need not exist yet).
bool FollowLinks(fs::path path, fs::path* target, std::string* error) {
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    std::error_code ec;
    fs::file_status status = fs::symlink_status(path, ec);
    if (!fs::is_symlink(status)) {
      *target = path;
      return true;
    }
    fs::path next = fs::read_symlink(path, ec);
    if (ec) {
      *error = ec.message();
      return false;
    }
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  *error = std::strerror(ELOOP);
  return false;
}

// Writes bytes through an already open stream and closes it; empty or the reason.
std::string WriteAndClose(std::ofstream& out, std::span<const uint8_t> bytes) {
  errno = 0;
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  int saved = errno;
  bool written = out.good();
  out.close();
  if (!written || out.fail()) return ErrnoText(saved != 0 ? saved : errno);
  return {};
}

}  // namespace

fs::path TemporarySibling(const fs::path& path) {
  static std::atomic<uint64_t> counter{0};
  static const uint64_t seed = [] {
    std::random_device device;
    return (uint64_t{device()} << 32) ^ device();
  }();
  uint64_t tick = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::mt19937_64 mix(seed ^ tick ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull));
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string name = ".mq450-";
  for (uint64_t v = mix(), i = 0; i < 16; ++i, v >>= 4) name += kDigits[v & 15];
  name += ".tmp";
  return path.parent_path() / name;
}

std::string WriteHostFile(const fs::path& path, std::span<const uint8_t> bytes) {
  fs::path target;
  std::string error;
  if (!FollowLinks(path, &target, &error)) return error;
  std::error_code ec;
  fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) return "it is a folder";
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    // A device or a pipe: written where it is.
    std::ofstream out(target, std::ios::binary | std::ios::out);
    if (!out) return ErrnoText(errno);
    return WriteAndClose(out, bytes);
  }

  fs::path temp;
  std::ofstream out;
  for (int attempt = 0; attempt < 8 && !out.is_open(); ++attempt) {
    temp = TemporarySibling(target);
    if (fs::exists(fs::symlink_status(temp, ec))) continue;
    out.open(temp, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!out.is_open()) return ErrnoText(errno);
  }
  if (!out.is_open()) return "no free temporary name";
  error = WriteAndClose(out, bytes);
  if (error.empty() && fs::is_regular_file(status)) {
    fs::permissions(temp, status.permissions(), fs::perm_options::replace, ec);
    if (ec) error = ec.message();
  }
  if (error.empty()) {
    fs::rename(temp, target, ec);
    if (ec) error = ec.message();
  }
  if (!error.empty()) fs::remove(temp, ec);
  return error;
}

std::string ReadHostFile(const fs::path& path, uint64_t maxBytes, std::vector<uint8_t>* bytes) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) return "it is a folder";
  std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
  if (fs::is_regular_file(status)) {
    uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxBytes) return tooLarge;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ErrnoText(errno);
  std::vector<uint8_t> read;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    if (read.size() + static_cast<uint64_t>(in.gcount()) > maxBytes) return tooLarge;
    read.insert(read.end(), chunk, chunk + in.gcount());
  }
  if (in.bad()) return ErrnoText(errno);
  *bytes = std::move(read);
  return {};
}

}  // namespace mq::platform
