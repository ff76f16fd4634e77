// Screenshots of windows for the Windows test hosts: a window's rectangle read back from the screen (the
// virtual desktop of the Wine stage) and written as a PNG file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "PngWriter.h"

namespace mq::testing {

// Redraws the window, waits for the paint to settle, and saves what the screen shows of it. false when the
// window has no area or the file cannot be written.
inline bool CaptureWindow(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(700);
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  const auto* px = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    rgb[i * 3] = static_cast<uint8_t>(px[i] >> 16);
    rgb[i * 3 + 1] = static_cast<uint8_t>(px[i] >> 8);
    rgb[i * 3 + 2] = static_cast<uint8_t>(px[i]);
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return WritePng(file, width, height, rgb);
}

}  // namespace mq::testing
