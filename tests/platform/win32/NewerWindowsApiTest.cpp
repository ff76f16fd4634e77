// Window subclassing by either means NewerWindowsApi has: run once in a process without the common controls
// (the Windows 2000 way, through SetWindowLongPtrW) and once with them loaded first (SetWindowSubclass), as
// MQ_WITH_COMMON_CONTROLS says. The same edit-control filter must behave the same in both.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/NewerWindowsApi.h"

namespace mq::platform::win32 {
namespace {

constexpr UINT_PTR kId = 7;

struct Seen {
  std::vector<UINT_PTR> ids;
  std::vector<DWORD_PTR> data;
  bool removedAtDestroy = false;
};

// Drops the character 'x' and records what it was given; removes itself when the window goes.
LRESULT CALLBACK DropX(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  auto* seen = reinterpret_cast<Seen*>(data);
  if (message == WM_CHAR) {
    seen->ids.push_back(id);
    seen->data.push_back(data);
    if (wParam == 'x') return 0;
  } else if (message == WM_NCDESTROY) {
    RemoveSubclass(window, DropX, id);
    seen->removedAtDestroy = true;
  }
  return CallNextSubclassProcedure(window, message, wParam, lParam);
}

std::wstring TypeInto(HWND edit, const wchar_t* text) {
  for (const wchar_t* c = text; *c != 0; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
  wchar_t buffer[64] = {};
  GetWindowTextW(edit, buffer, 64);
  return buffer;
}

class Subclassing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("MQ_WITH_COMMON_CONTROLS") != nullptr) {
      ASSERT_NE(LoadLibraryW(L"comctl32.dll"), nullptr);
    } else {
      ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr)
          << "the Windows 2000 way needs no common controls";
    }
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit_, nullptr);
  }
  void TearDown() override {
    if (edit_ != nullptr) DestroyWindow(edit_);
  }
  HWND edit_ = nullptr;
};

TEST_F(Subclassing, FiltersUntilRemovedAndPassesEverythingElseOn) {
  Seen seen;
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit_, GWLP_WNDPROC));
  ASSERT_TRUE(SetSubclass(edit_, DropX, kId, reinterpret_cast<DWORD_PTR>(&seen)));
  EXPECT_EQ(TypeInto(edit_, L"axb"), L"ab");
  EXPECT_EQ(seen.ids, (std::vector<UINT_PTR>{kId, kId, kId}));
  EXPECT_EQ(seen.data.front(), reinterpret_cast<DWORD_PTR>(&seen));

  RemoveSubclass(edit_, DropX, kId);
  EXPECT_EQ(TypeInto(edit_, L"x"), L"abx");
  EXPECT_EQ(seen.ids.size(), 3u);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit_, GWLP_WNDPROC)), original);
}

TEST_F(Subclassing, RemovesItselfWhenTheWindowIsDestroyed) {
  Seen seen;
  ASSERT_TRUE(SetSubclass(edit_, DropX, kId, reinterpret_cast<DWORD_PTR>(&seen)));
  EXPECT_EQ(TypeInto(edit_, L"xy"), L"y");
  EXPECT_TRUE(DestroyWindow(edit_));
  edit_ = nullptr;
  EXPECT_TRUE(seen.removedAtDestroy);
}

TEST(ModuleOfAddress, IsTheImageThatHoldsTheCode) {
  EXPECT_EQ(ModuleOfAddress(reinterpret_cast<const void*>(&TypeInto)), GetModuleHandleW(nullptr));
}

}  // namespace
}  // namespace mq::platform::win32
