#include "foundation/ui/theme.h"

#include <gtest/gtest.h>

namespace {

TEST(ThemeTest, NeutralResultsUntilVisualStylesAreLoadedThenTheSystemsAnswers) {
  HWND w = ::CreateWindowExW(0, L"BUTTON", L"x", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(w);
  HDC dc = ::GetDC(w);
  RECT r = {0, 0, 14, 14};
  // The program never loads the library itself.
  bool loadedAtStart = ::GetModuleHandleW(L"UxTheme.DLL") != nullptr;
  if (!loadedAtStart) {
    EXPECT_FALSE(IsAppThemedSafe());
    EXPECT_EQ(nullptr, OpenThemeDataSafe(w, L"WINDOW"));
    EXPECT_FALSE(CloseThemeDataSafe(nullptr));
    EXPECT_EQ(E_FAIL, SetWindowThemeSafe(w, L"", L""));
    EXPECT_FALSE(DrawThemedCloseButton(w, dc, &r, false, true));
  }

  HMODULE ux = ::LoadLibraryW(L"uxtheme.dll");
  ASSERT_TRUE(ux);
  auto isThemed = reinterpret_cast<BOOL(WINAPI*)()>(
      reinterpret_cast<void*>(::GetProcAddress(ux, "IsAppThemed")));
  auto setTheme = reinterpret_cast<HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR)>(
      reinterpret_cast<void*>(::GetProcAddress(ux, "SetWindowTheme")));
  ASSERT_TRUE(isThemed && setTheme);
  EXPECT_EQ(isThemed() == 1, IsAppThemedSafe());
  EXPECT_EQ(setTheme(w, L"", L""), SetWindowThemeSafe(w, L"", L""));
  HTHEME_SAFE theme = OpenThemeDataSafe(w, L"WINDOW");
  if (theme) {
    EXPECT_TRUE(CloseThemeDataSafe(theme));
  }
  if (!IsAppThemedSafe()) {
    EXPECT_FALSE(DrawThemedCloseButton(w, dc, &r, true, false));
  }
  ::ReleaseDC(w, dc);
  ::DestroyWindow(w);
  ::FreeLibrary(ux);
}

}  // namespace
