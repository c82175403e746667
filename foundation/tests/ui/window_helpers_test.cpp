#include "foundation/ui/window_helpers.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow(HWND parent, DWORD style) {
  return ::CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 50, 50, parent, nullptr, nullptr,
                           nullptr);
}

TEST(WindowHelpersTest, TopLevelParentFollowsTheParentChain) {
  HWND top = MakeWindow(nullptr, WS_POPUP);
  HWND mid = MakeWindow(top, WS_CHILD);
  HWND leaf = MakeWindow(mid, WS_CHILD);
  EXPECT_EQ(top, GetTopLevelParent(leaf));
  EXPECT_EQ(top, GetTopLevelParent(mid));
  EXPECT_EQ(top, GetTopLevelParent(top));
  EXPECT_EQ(nullptr, GetTopLevelParent(nullptr));
  ::DestroyWindow(top);
}

TEST(WindowHelpersTest, LayeredStyleAndTransparency) {
  struct Case {
    BYTE percent, alpha;
  } cases[] = {{50, 127}, {100, 255}, {255, 255}, {101, 255}, {0, 0}, {80, 204}};
  for (const Case& c : cases) EXPECT_EQ(c.alpha, TransparencyAlpha(c.percent)) << int(c.percent);

  HWND w = MakeWindow(nullptr, WS_POPUP);
  EXPECT_FALSE(RemoveLayeredStyle(w));
  EXPECT_FALSE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  SetLayeredStyle(w);
  EXPECT_TRUE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  CLayeredWindow layered;
  EXPECT_TRUE(layered.SetTransparency(w, 80));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
  EXPECT_EQ(204, alpha);
  EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags & LWA_ALPHA);
  EXPECT_TRUE(RemoveLayeredStyle(w));
  EXPECT_FALSE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  ::DestroyWindow(w);
}

TEST(WindowHelpersTest, MenuItemsTakeRadioMarksAndTexts) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, 32820, L"Fix Pane");
  ASSERT_TRUE(SetMenuItemRadioCheck(true, 32820, menu));
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STATE | MIIM_FTYPE;
  ::GetMenuItemInfoW(menu, 32820, FALSE, &mii);
  EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
  EXPECT_TRUE(mii.fState & MFS_CHECKED);
  ASSERT_TRUE(SetMenuItemRadioCheck(false, 32820, menu));
  ::GetMenuItemInfoW(menu, 32820, FALSE, &mii);
  EXPECT_FALSE(mii.fType & MFT_RADIOCHECK);
  EXPECT_FALSE(mii.fState & MFS_CHECKED);

  ASSERT_TRUE(SetMenuItemText(L"Keep", 32820, menu));
  wchar_t text[32] = {};
  ::GetMenuStringW(menu, 32820, text, 32, MF_BYCOMMAND);
  EXPECT_STREQ(L"Keep", text);
  EXPECT_FALSE(SetMenuItemText(L"x", 999, menu));
  EXPECT_FALSE(SetMenuItemRadioCheck(true, 999, menu));
  ::DestroyMenu(menu);
}

TEST(WindowHelpersTest, MessageFilterCallGivesTheSystemsAnswer) {
  auto fn = reinterpret_cast<BOOL(WINAPI*)(UINT, DWORD)>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter")));
  BOOL expected = fn ? fn(WM_COPYDATA, MSGFLT_ADD) : 0;
  EXPECT_EQ(expected, ChangeWindowMessageFilterSafe(WM_COPYDATA, MSGFLT_ADD));
}

}  // namespace
