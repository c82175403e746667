#include "history/pane/pane_toolbar.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include "tests/support/test_support.h"

namespace {

using qlrtest::PumpUntil;

int g_hoverReports = 0;
LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == 0) ++g_hoverReports;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class ToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PaneToolbarTestParent";
    RegisterClassW(&wc);
    m_parent = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                               170, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(m_parent, nullptr);
    ASSERT_TRUE(m_bar.CreateIn(m_parent));
    SetWindowPos(m_bar, nullptr, 0, 0, 300, 24, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void TearDown() override { DestroyWindow(m_parent); }
  // A posted message for the parent, taken off its queue.
  bool Posted(UINT msg, MSG& out) {
    // Taken off the queue without dispatching: a dispatched move-by-caption
    // would start the system's move loop.
    return PeekMessageW(&out, m_parent, msg, msg, PM_REMOVE) != 0;
  }
  HWND m_parent = nullptr;
  CPaneToolbar m_bar{WM_APP + 2};
};

TEST_F(ToolbarTest, StretchSeparatorPutsTheButtonsAtTheRight) {
  EXPECT_EQ(SendMessageW(m_bar, TB_BUTTONCOUNT, 0, 0), 8);
  for (int width : {300, 250, 400}) {
    SetWindowPos(m_bar, nullptr, 0, 0, width, 24, SWP_NOZORDER | SWP_NOACTIVATE);
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
    SendMessageW(m_bar, TB_GETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&info));
    RECT client = {};
    GetClientRect(m_bar, &client);
    EXPECT_EQ(info.cx, client.right - 22 * 8 + 29) << width;
    EXPECT_EQ(CPaneToolbar::StretchWidth(client.right, 8), client.right - 147);
  }
}

TEST_F(ToolbarTest, DragAndDoubleClickOffTheButtonsReachThePane) {
  MSG msg = {};
  SendMessageW(m_bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(Posted(WM_SYSCOMMAND, msg));
  EXPECT_EQ(msg.wParam, 0xF012u);
  SendMessageW(m_bar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(Posted(WM_NCLBUTTONDBLCLK, msg));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(HTCAPTION));
  ReleaseCapture();
}

TEST_F(ToolbarTest, RestingMouseGivesExactlyOneHoverReport) {
  RECT rect = {};
  GetWindowRect(m_bar, &rect);
  ASSERT_TRUE(SetCursorPos(rect.left + 5, rect.top + 5));
  g_hoverReports = 0;
  SendMessageW(m_bar, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_NE(m_bar.HoverTimerId(), 0u);
  ASSERT_TRUE(PumpUntil([&] { return g_hoverReports > 0; }, 5000));
  PumpUntil([] { return false; }, 2500);
  EXPECT_EQ(g_hoverReports, 1);
  // Open menu: no report.
  SendMessageW(m_bar, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  m_bar.SetMenuOpen(true);
  SendMessageW(m_bar, WM_TIMER, 1212, 0);
  EXPECT_EQ(g_hoverReports, 1);
  m_bar.SetMenuOpen(false);
  SendMessageW(m_bar, WM_TIMER, 1212, 0);
  EXPECT_EQ(g_hoverReports, 2);
}

TEST_F(ToolbarTest, BackgroundFollowsAlertAndKeepState) {
  EXPECT_EQ(m_bar.ColorIndex(), COLOR_GRAYTEXT);
  m_bar.SetKeepState(true);
  EXPECT_EQ(m_bar.ColorIndex(), COLOR_WINDOW);
  EXPECT_TRUE(SendMessageW(m_bar, TB_ISBUTTONCHECKED, pane_ids::kKeep, 0));
  m_bar.SetKeepState(false);
  EXPECT_EQ(m_bar.ColorIndex(), COLOR_GRAYTEXT);
  EXPECT_FALSE(SendMessageW(m_bar, TB_ISBUTTONCHECKED, pane_ids::kKeep, 0));
  m_bar.SetCollapsedLook(true);
  EXPECT_TRUE(SendMessageW(m_bar, TB_ISBUTTONPRESSED, pane_ids::kMinimizeToCaption, 0));
  m_bar.SetCollapsedLook(false);
  EXPECT_FALSE(SendMessageW(m_bar, TB_ISBUTTONPRESSED, pane_ids::kMinimizeToCaption, 0));
  // Alert: pure red on the erased background.
  m_bar.SetAlert(true);
  HDC dc = GetDC(m_bar);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 300, 24);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(m_bar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
  EXPECT_EQ(GetPixel(mem, 2, 2), RGB(255, 0, 0));
  m_bar.SetAlert(false);
  SendMessageW(m_bar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
  EXPECT_EQ(GetPixel(mem, 2, 2), GetSysColor(COLOR_GRAYTEXT));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(m_bar, dc);
}

}  // namespace
