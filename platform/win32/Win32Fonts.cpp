// GDI behind the fonts role.
#include "platform/win32/Win32Fonts.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/Text.h"

namespace mq::platform::ui {

namespace {

std::wstring Wide(std::string_view text) {
  const std::u16string u = text::Utf8ToUtf16(text);
  return std::wstring(u.begin(), u.end());
}

struct Families {
  std::vector<std::wstring> names;
};

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM lParam) {
  auto* families = reinterpret_cast<Families*>(lParam);
  if ((type & TRUETYPE_FONTTYPE) == 0) return 1;
  const std::wstring name = font->lfFaceName;
  // "@Name" is the vertical-writing face of a family that is listed under its own name as well.
  if (name.empty() || name[0] == L'@') return 1;
  if (std::find(families->names.begin(), families->names.end(), name) == families->names.end())
    families->names.push_back(name);
  return 1;
}

// A font created from the description, deleted with the object.
class ScopedFont {
 public:
  explicit ScopedFont(const LogicalFont& description) {
    LOGFONTW font{};
    font.lfHeight = description.height;
    font.lfWeight = description.weight;
    font.lfItalic = description.italic ? TRUE : FALSE;
    font.lfEscapement = description.escapement;
    font.lfOrientation = description.escapement;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfClipPrecision = description.clipRotated ? CLIP_LH_ANGLES : CLIP_DEFAULT_PRECIS;
    const std::wstring face = Wide(description.face);
    const size_t units = std::min<size_t>(face.size(), LF_FACESIZE - 1);
    std::memcpy(font.lfFaceName, face.data(), units * sizeof(wchar_t));
    handle_ = CreateFontIndirectW(&font);
  }
  ~ScopedFont() {
    if (handle_ != nullptr) DeleteObject(handle_);
  }
  ScopedFont(const ScopedFont&) = delete;
  ScopedFont& operator=(const ScopedFont&) = delete;
  HFONT Get() const { return handle_; }

 private:
  HFONT handle_ = nullptr;
};

class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

std::vector<std::string> Win32Fonts::TrueTypeFamilies() {
  Families families;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return {};
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;  // every family once per character set it has
  EnumFontFamiliesExW(screen, &all, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
  ReleaseDC(nullptr, screen);
  std::vector<std::string> out;
  for (const std::wstring& name : families.names)
    out.push_back(text::Utf16ToUtf8(std::u16string(name.begin(), name.end())));
  return out;
}

int Win32Fonts::VerticalDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

std::optional<TextExtent> Win32Fonts::Measure(const LogicalFont& description, std::u16string_view text) {
  MemoryDc dc;
  ScopedFont font(description);
  if (dc.Get() == nullptr || font.Get() == nullptr) return std::nullopt;
  HGDIOBJ old = SelectObject(dc.Get(), font.Get());
  SIZE size{};
  const BOOL ok = GetTextExtentPoint32W(dc.Get(), reinterpret_cast<const wchar_t*>(text.data()),
                                        static_cast<int>(text.size()), &size);
  SelectObject(dc.Get(), old);
  if (!ok) return std::nullopt;
  return TextExtent{static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

std::optional<Picture> Win32Fonts::Draw(const LogicalFont& description, std::u16string_view text, int x,
                                        int y, int side) {
  if (side <= 0) return std::nullopt;
  MemoryDc dc;
  ScopedFont font(description);
  if (dc.Get() == nullptr || font.Get() == nullptr) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = side;  // bottom-up, as the file keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return std::nullopt;
  }
  HGDIOBJ oldBitmap = SelectObject(dc.Get(), bitmap);
  HGDIOBJ oldFont = SelectObject(dc.Get(), font.Get());
  PatBlt(dc.Get(), 0, 0, side, side, WHITENESS);
  // The origin is the bottom of the text cell, not its baseline: the centring arithmetic takes the whole
  // extent (ascent and descent) as standing above the origin, and on the baseline the text sat a descent low
  // and to the side along the rotated vertical (about 14 px at 45 degrees in the 300 px square).
  SetTextAlign(dc.Get(), TA_BOTTOM | TA_LEFT);
  SetBkMode(dc.Get(), OPAQUE);
  SetBkColor(dc.Get(), RGB(255, 255, 255));
  SetTextColor(dc.Get(), RGB(0, 0, 0));
  const BOOL drawn =
      TextOutW(dc.Get(), x, y, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
  GdiFlush();
  std::optional<Picture> out;
  if (drawn) {
    out.emplace(side, side);
    const size_t row = (static_cast<size_t>(side) * 3 + 3) / 4 * 4;
    const auto* rows = static_cast<const uint8_t*>(bits);
    for (int j = 0; j < side; ++j) {
      const uint8_t* px = rows + static_cast<size_t>(side - 1 - j) * row;
      for (int i = 0; i < side; ++i, px += 3)
        out->Set(i, j, (static_cast<Rgb>(px[2]) << 16) | (static_cast<Rgb>(px[1]) << 8) | px[0]);
    }
  }
  SelectObject(dc.Get(), oldFont);
  SelectObject(dc.Get(), oldBitmap);
  DeleteObject(bitmap);
  return out;
}

}  // namespace mq::platform::ui
