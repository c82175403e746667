// The hidden converter control before and after its parent is known; a
// process of its own, so that nothing made the control earlier.
#include <gtest/gtest.h>

#include <richedit.h>

#include "foundation/ui/rich_edit_convert.h"

namespace {

HWND NewParent() {
  return CreateWindowExW(0, L"STATIC", L"converter parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(RichEditParentTest, ControlIsMadeOnceAParentIsKnownAndAgainAfterItsParentWent) {
  // A child window needs its parent: no control and no conversion yet.
  EXPECT_EQ(GetHiddenRichEdit(), nullptr);
  EXPECT_EQ(RtfToPlainText(L"{\\rtf1 x}"), L"");
  EXPECT_EQ(GetHiddenRichEdit(), nullptr);

  HWND parent = NewParent();
  ASSERT_NE(parent, nullptr);
  SetHiddenRichEditParent(parent);
  HWND edit = GetHiddenRichEdit();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetHiddenRichEdit(), edit);
  wchar_t cls[64] = {};
  GetClassNameW(edit, cls, 64);
  EXPECT_STREQ(_wcsupr(cls), L"RICHEDIT20W");
  EXPECT_EQ(GetParent(edit), parent);
  EXPECT_FALSE(IsWindowVisible(edit));
  EXPECT_EQ(GetWindowLongPtrW(edit, GWL_STYLE) & (WS_CHILD | ES_MULTILINE | ES_WANTRETURN),
            static_cast<LONG_PTR>(WS_CHILD | ES_MULTILINE | ES_WANTRETURN));
  EXPECT_EQ(RtfToPlainText(L"{\\rtf1 x}"), L"x");
  // Long clipboard items must not be cut at the default 32767 characters.
  EXPECT_GE(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

  // The control goes with its parent; the next use makes a new one.
  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(edit));
  HWND parent2 = NewParent();
  SetHiddenRichEditParent(parent2);
  HWND edit2 = GetHiddenRichEdit();
  ASSERT_NE(edit2, nullptr);
  EXPECT_EQ(GetParent(edit2), parent2);
  EXPECT_EQ(RtfToPlainText(L"{\\rtf1 y}"), L"y");
  DestroyWindow(parent2);
}

}  // namespace
