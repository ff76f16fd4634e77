// The common Open dialog.
#include "platform/win32/Win32FileDialogs.h"

#include <commdlg.h>

#include "platform/Text.h"

namespace mq::platform::ui {

namespace {

std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

}  // namespace

std::optional<std::string> Win32FileDialogs::ChooseFileToOpen(std::string_view title,
                                                              const std::vector<FileType>& types) {
  // The type list is pairs of zero-ended texts, ended by an empty one.
  std::wstring filter;
  for (const FileType& type : types) {
    filter += Wide(type.description);
    filter.push_back(L'\0');
    filter += Wide(type.pattern);
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  const std::wstring caption = Wide(title);
  // Room for the longest path the system accepts.
  std::wstring path(32768, L'\0');
  OPENFILENAMEW open = {};
  open.lStructSize = sizeof(open);
  open.hwndOwner = owner_;
  open.lpstrFilter = types.empty() ? nullptr : filter.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = path.data();
  open.nMaxFile = static_cast<DWORD>(path.size());
  open.lpstrTitle = caption.c_str();
  // The host's working folder is left as it was.
  open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&open)) return std::nullopt;
  return text::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(path.c_str())));
}

}  // namespace mq::platform::ui
