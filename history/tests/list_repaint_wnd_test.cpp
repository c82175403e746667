#include "history/pane/list_repaint_wnd.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace {

// After a horizontal scroll the whole list waits to be painted again, and
// the list's own scroll handling still ran.
TEST(ListRepaintWndTest, HorizontalScrollRepaintsTheWholeList) {
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | WS_VISIBLE | LVS_REPORT, 0, 0, 200,
                              120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(list, nullptr);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 900;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  CListRepaintWnd wrapper;
  ASSERT_TRUE(wrapper.SubclassWindow(list));

  ValidateRect(list, nullptr);
  RECT dirty = {};
  EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE));
  SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
  RECT client = {};
  GetClientRect(list, &client);
  ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
  EXPECT_TRUE(EqualRect(&dirty, &client));
  EXPECT_GT(GetScrollPos(list, SB_HORZ), 0);

  // Other messages pass untouched.
  ValidateRect(list, nullptr);
  SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE));
  wrapper.UnsubclassWindow(TRUE);
  DestroyWindow(list);
}

}  // namespace
