// The menu tooltip on the system's tooltip class, as when its own copy of
// the class cannot be registered: delayed tips and hiding still work. Its
// own test program, since the class copy is made once per process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "phrases/menu/menu_tooltip.h"
#include "phrases/tests/menu_test_util.h"
#include "tests/support/test_support.h"

using namespace menutest;

namespace {

TEST(MenuToolTipFallbackTest, SystemClassTipShowsDelayedAndHidesOnMouse) {
  // The name taken first: the tip's own class copy fails.
  WNDCLASSW taken = {};
  taken.lpfnWndProc = DefWindowProcW;
  taken.hInstance = GetModuleHandleW(nullptr);
  taken.lpszClassName = L"MenuToolTip";
  ASSERT_NE(RegisterClassW(&taken), 0);

  HWND owner = MakeMenuTipOwner();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 100, L"Item");
  CountingMenuTip tip;
  ASSERT_TRUE(tip.Create(owner, nullptr, nullptr, 0, nullptr));
  wchar_t cls[64] = {};
  GetClassNameW(tip.GetTipWindow(), cls, 64);
  EXPECT_STREQ(cls, TOOLTIPS_CLASSW);

  tip.HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(100, 0), reinterpret_cast<LPARAM>(menu));
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !tip.asked.empty(); }, 5000)) << "the delayed tip never came";
  EXPECT_EQ(std::vector<UINT>{100}, tip.asked);

  ShowWindow(tip.GetTipWindow(), SW_SHOWNOACTIVATE);
  SendMessageW(tip.GetTipWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_FALSE(IsWindowVisible(tip.GetTipWindow()));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return tip.GetPendingThreads() == 0; }, 3000));
  DestroyMenu(menu);
  DestroyWindow(owner);
}

}  // namespace
