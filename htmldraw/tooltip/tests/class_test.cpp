// The window class: a failed registration leaves an object whose Create
// answers 0, and nothing is thrown.
#include <windows.h>

#include <gtest/gtest.h>

#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tooltip_class.h"
#include "htmldraw/tooltip/tree_item_tooltip.h"

namespace {

ATOM WINAPI FailingRegistrar(const WNDCLASSEXW*) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return 0;
}

TEST(ToolTipClassTest, ARegistrationFailureMakesCreateAnswerZero) {
  UnregisterClassW(kPPToolTipClass, GetModuleHandleW(nullptr));
  WNDCLASSEXW wc = {sizeof(wc)};
  ASSERT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), kPPToolTipClass, &wc));
  SetToolTipClassRegistrar(FailingRegistrar);
  {
    CPPToolTip* tip = nullptr;
    EXPECT_NO_THROW(tip = new CPPToolTip());
    EXPECT_FALSE(tip->Create(static_cast<HWND>(nullptr)));
    EXPECT_EQ(tip->GetSafeHwnd(), nullptr);
    // Everything else is harmless without a window.
    tip->ShowTextAt(POINT{10, 10}, L"nothing");
    tip->Pop();
    tip->HideTip();
    EXPECT_EQ(tip->GetState(), CPPToolTip::kHidden);
    delete tip;
    CTreeItemToolTip tree(nullptr);
    EXPECT_FALSE(tree.Create(static_cast<HWND>(nullptr)));
    tree.SetItemTip(1, 2, L"text", nullptr, nullptr);
    tree.CancelTip();
  }
  // Once the class can be registered, Create registers it and succeeds.
  SetToolTipClassRegistrar(nullptr);
  CPPToolTip tip;
  ASSERT_TRUE(tip.Create(static_cast<HWND>(nullptr)));
  wchar_t name[32] = {};
  GetClassNameW(tip.GetSafeHwnd(), name, 32);
  EXPECT_STREQ(name, L"CPPToolTip");
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), kPPToolTipClass, &wc));
  EXPECT_EQ(wc.style & CS_SAVEBITS, static_cast<UINT>(CS_SAVEBITS));
  EXPECT_EQ(wc.hbrBackground, nullptr);
  const LONG_PTR ex = GetWindowLongPtrW(tip.GetSafeHwnd(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongPtrW(tip.GetSafeHwnd(), GWL_STYLE) & WS_POPUP);
}

}  // namespace
