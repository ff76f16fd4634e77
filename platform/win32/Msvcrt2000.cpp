// The two C runtime functions of the C++ library that Windows 2000's msvcrt.dll (version 6.1) lacks: the file
// status calls with 64-bit times, _wstat64 (std::filesystem) and _fstat64 (file streams), which came with
// the C runtime 7.0 of Windows XP. Linked as an object into the 32-bit deliverables that need them, it takes
// the place of their import: msvcrt.dll's own function where it exists, else the 6.1 call with 32-bit times
// (_wstati64, _fstati64), widened. 64-bit binaries start at Windows XP x64, whose msvcrt.dll has both.
#if defined(_WIN32) && !defined(_WIN64)

#include <windows.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>

namespace {

// struct _stati64 of msvcrt.dll 6.1: 64-bit size, 32-bit times.
struct Stati64 {
  uint32_t dev;
  uint16_t ino;
  uint16_t mode;
  int16_t nlink;
  int16_t uid;
  int16_t gid;
  uint32_t rdev;
  int64_t size;
  int32_t atime;
  int32_t mtime;
  int32_t ctime;
};
static_assert(offsetof(Stati64, size) == 24 && offsetof(Stati64, atime) == 32 && sizeof(Stati64) == 48);

template <typename Function>
Function Msvcrt(const char* name) {
  HMODULE msvcrt = GetModuleHandleW(L"msvcrt.dll");
  return msvcrt == nullptr ? nullptr
                           : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(msvcrt, name)));
}

void Widen(const Stati64& in, struct _stat64* out) {
  out->st_dev = in.dev;
  out->st_ino = in.ino;
  out->st_mode = in.mode;
  out->st_nlink = in.nlink;
  out->st_uid = in.uid;
  out->st_gid = in.gid;
  out->st_rdev = in.rdev;
  out->st_size = in.size;
  out->st_atime = in.atime;
  out->st_mtime = in.mtime;
  out->st_ctime = in.ctime;
}

int __cdecl WStat64(const wchar_t* path, struct _stat64* status) {
  using Stat64Fn = int(__cdecl*)(const wchar_t*, struct _stat64*);
  using Stati64Fn = int(__cdecl*)(const wchar_t*, Stati64*);
  if (auto native = Msvcrt<Stat64Fn>("_wstat64")) return native(path, status);
  auto old = Msvcrt<Stati64Fn>("_wstati64");
  Stati64 result{};
  if (old == nullptr) return -1;
  const int error = old(path, &result);
  if (error == 0) Widen(result, status);
  return error;
}

int __cdecl FStat64(int descriptor, struct _stat64* status) {
  using Stat64Fn = int(__cdecl*)(int, struct _stat64*);
  using Stati64Fn = int(__cdecl*)(int, Stati64*);
  if (auto native = Msvcrt<Stat64Fn>("_fstat64")) return native(descriptor, status);
  auto old = Msvcrt<Stati64Fn>("_fstati64");
  Stati64 result{};
  if (old == nullptr) return -1;
  const int error = old(descriptor, &result);
  if (error == 0) Widen(result, status);
  return error;
}

}  // namespace

// The import slots the C++ library calls through (x86 names carry the leading underscore).
extern "C" {
extern void* const kWStat64Import __asm__("__imp___wstat64");
extern void* const kFStat64Import __asm__("__imp___fstat64");
void* const kWStat64Import = reinterpret_cast<void*>(&WStat64);
void* const kFStat64Import = reinterpret_cast<void*>(&FStat64);
}

#endif
