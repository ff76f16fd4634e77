// A whole file's bytes for the Windows test programs (jobs that reached a port, files a page wrote), read
// with sharing so that a file another process still has open can be read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mq::testing {

// Empty when the file cannot be opened.
inline std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  uint8_t buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  CloseHandle(file);
  return bytes;
}

}  // namespace mq::testing
