#include "history/pane/float_pane.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <climits>
#include <string>

#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

using qlrtest::PumpUntil;

// A settings folder of its own for each test, holding the saved place.
class PaneTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsFolders(m_dir.Path(), m_dir.Path()); }
  void TearDown() override { SetSettingsFolders(L"", L""); }
  std::wstring Ini() const { return GetSettingsIniPath(); }
  void SavePos(const wchar_t* x, const wchar_t* y) {
    WritePrivateProfileStringW(L"Settings_Agent", L"FloatPaneRect_TOPLEFT_x", x, Ini().c_str());
    WritePrivateProfileStringW(L"Settings_Agent", L"FloatPaneRect_TOPLEFT_y", y, Ini().c_str());
  }
  int SavedX() { return GetPrivateProfileIntW(L"Settings_Agent", L"FloatPaneRect_TOPLEFT_x", -999, Ini().c_str()); }
  int SavedY() { return GetPrivateProfileIntW(L"Settings_Agent", L"FloatPaneRect_TOPLEFT_y", -999, Ini().c_str()); }
  // A pane that has come up and slid to its caption.
  bool Collapsed(CQLRFloatPane& pane) {
    return PumpUntil([&] { return pane.ShowMode() == 1 && !pane.IsSliding(); }, 10000);
  }
  static RECT Rect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
  }
  qlrtest::TempDir m_dir;
};

TEST(PaneGeometryTest, FitOnScreenShiftsOnlyWhenThePaneFits) {
  struct Case {
    PaneRect in;
    int left, top;
  } cases[] = {
      {{300, 170, 100, 100}, 100, 100},      // inside: unchanged
      {{300, 170, 1900, 100}, 1620, 100},    // beyond the right edge
      {{300, 170, 100, 1000}, 100, 910},     // beyond the bottom
      {{3000, 170, 100, 100}, 100, 100},     // wider than the screen: unchanged
      {{300, 170, INT_MAX - 5, 10}, INT_MAX - 5, 10},  // shift would not fit either way
  };
  for (const Case& c : cases) {
    PaneRect r = c.in;
    if (c.in.width == 300 && c.in.left == INT_MAX - 5) r.width = INT_MAX;  // sum overflows int
    FitPaneRectOnScreen(r, 1920, 1080);
    EXPECT_EQ(r.left, c.left) << c.in.left;
    EXPECT_EQ(r.top, c.top) << c.in.top;
  }
}

TEST(PaneGeometryTest, SavedPositionIsBroughtOnTheScreen) {
  RECT screen = {0, 0, 1920, 1080};
  struct Case {
    POINT in, out;
  } cases[] = {
      {{100, 100}, {100, 100}},
      {{-5000, -7}, {0, 0}},
      {{INT_MAX, INT_MAX}, {1620, 910}},
      {{INT_MIN, 500}, {0, 500}},
      {{1800, 1000}, {1620, 910}},
  };
  for (const Case& c : cases) {
    POINT p = ReachablePanePosition(c.in, screen, 300, 170);
    EXPECT_EQ(p.x, c.out.x) << c.in.x;
    EXPECT_EQ(p.y, c.out.y) << c.in.y;
  }
}

TEST_F(PaneTest, CreatedTopmostToolWindowAtSavedOrDefaultPlace) {
  struct Case {
    const wchar_t* x;
    const wchar_t* y;
    int left, top;
  } cases[] = {
      {nullptr, nullptr, GetSystemMetrics(SM_CXVIRTUALSCREEN) - 300, 40},
      {L"100", L"100", 100, 100},
      {L"-99999", L"2147483647", GetSystemMetrics(SM_XVIRTUALSCREEN),
       GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 170},
  };
  for (const Case& c : cases) {
    DeleteFileW(Ini().c_str());
    if (c.x) SavePos(c.x, c.y);
    CQLRFloatPane pane(nullptr, nullptr);
    ASSERT_TRUE(pane.Create(nullptr, false, false));
    LONG_PTR ex = GetWindowLongPtrW(pane, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    wchar_t title[64] = {};
    GetWindowTextW(pane, title, 64);
    EXPECT_STREQ(title, L"Quillora : Clipboard History");
    ASSERT_TRUE(Collapsed(pane));
    // Collapsed: the right edge stays where the 300-px pane ended.
    RECT r = Rect(pane);
    EXPECT_EQ(r.right, c.left + 300);
    EXPECT_LT(r.bottom - r.top, 40);
    EXPECT_LT(r.right - r.left, 300);
    EXPECT_EQ(SavedX(), c.left);
    EXPECT_EQ(SavedY(), c.top);
    pane.SetShowMode(0, false);
    r = Rect(pane);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 170);
    pane.DestroyWindow();
  }
}

// The collapsed bar keeps the place of the expanded pane: a second and third
// start come up where the first was, and a dragged bar maps back to the
// expanded left through its right edge.
TEST_F(PaneTest, CollapsedPaneDoesNotDriftAndDraggedBarKeepsItsRightEdge) {
  SavePos(L"100", L"100");
  for (int start = 0; start < 3; ++start) {
    CQLRFloatPane pane(nullptr, nullptr);
    ASSERT_TRUE(pane.Create(nullptr, false, false));
    ASSERT_TRUE(Collapsed(pane));
    // A z-order change of the bar must not move the remembered place.
    SetWindowPos(pane, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pane.DestroyWindow();
    EXPECT_EQ(SavedX(), 100) << start;
    EXPECT_EQ(SavedY(), 100) << start;
  }
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, false, false));
  ASSERT_TRUE(Collapsed(pane));
  RECT bar = Rect(pane);
  SetWindowPos(pane, nullptr, bar.left + 50, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(SavedX(), 150);
  EXPECT_EQ(SavedY(), 300);
  pane.SetShowMode(0, false);
  RECT r = Rect(pane);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 300);
  pane.DestroyWindow();
}

TEST_F(PaneTest, ShowModeMessageTakesOnlyTheTwoModes) {
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, false, false));
  ASSERT_TRUE(Collapsed(pane));
  struct Case {
    WPARAM mode;
    LRESULT result;
    int after;
  } cases[] = {{0, 1, 0}, {2, 0, 0}, {1, 1, 1}, {static_cast<WPARAM>(-1), 0, 1}, {0, 1, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageW(pane, WM_APP + 3, c.mode, 0), c.result);
    EXPECT_EQ(pane.ShowMode(), c.after) << c.mode;
  }
  EXPECT_EQ(SendMessageW(pane, WM_APP + 2, 0, 0), 0);
  pane.DestroyWindow();
}

TEST_F(PaneTest, InactiveIsTranslucentAndCollapsesUnlessFixed) {
  for (bool fixed : {false, true}) {
    CQLRFloatPane pane(nullptr, nullptr);
    ASSERT_TRUE(pane.Create(nullptr, true, false));
    ASSERT_TRUE(Collapsed(pane));
    pane.SetShowMode(0, false);
    pane.SetFixed(fixed);
    SendMessageW(pane, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_LAYERED);
    SendMessageW(pane, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(pane, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 204);
    EXPECT_TRUE(flags & LWA_ALPHA);
    EXPECT_EQ(pane.ShowMode(), fixed ? 0 : 1);
    SendMessageW(pane, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_LAYERED);
    PumpUntil([&] { return !pane.IsSliding(); }, 10000);
    pane.DestroyWindow();
  }
}

TEST_F(PaneTest, RestingOnTheCaptionExpandsAndLeavingCollapses) {
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, false, false));
  ASSERT_TRUE(Collapsed(pane));
  RECT bar = Rect(pane);
  ASSERT_TRUE(SetCursorPos(bar.right - 3, bar.top + 5));
  SendMessageW(pane.Toolbar(), WM_TIMER, 1212, 0);
  EXPECT_EQ(pane.ShowMode(), 0);
  // Still inside: the tick keeps the pane open.
  SendMessageW(pane, WM_TIMER, 2336, 0);
  EXPECT_EQ(pane.ShowMode(), 0);
  RECT open = Rect(pane);
  ASSERT_TRUE(SetCursorPos(open.left > 50 ? open.left - 40 : open.right + 40, open.bottom + 40));
  SendMessageW(pane, WM_TIMER, 2336, 0);
  EXPECT_EQ(pane.ShowMode(), 1);
  PumpUntil([&] { return !pane.IsSliding(); }, 10000);
  // Fixed while open by resting on it: leaving keeps it open.
  bar = Rect(pane);
  ASSERT_TRUE(SetCursorPos(bar.right - 3, bar.top + 5));
  SendMessageW(pane.Toolbar(), WM_TIMER, 1212, 0);
  ASSERT_EQ(pane.ShowMode(), 0);
  pane.SetFixed(true);
  ASSERT_TRUE(SetCursorPos(open.left > 50 ? open.left - 40 : open.right + 40, open.bottom + 40));
  SendMessageW(pane, WM_TIMER, 2336, 0);
  EXPECT_EQ(pane.ShowMode(), 0);
  pane.DestroyWindow();
}

TEST_F(PaneTest, EscapeCollapsesAndDoubleClickTogglesTheWorkArea) {
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, true, false));
  ASSERT_TRUE(Collapsed(pane));
  pane.SetShowMode(0, false);
  SetFocus(pane.List());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == pane.List(); }));
  SendMessageW(pane, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(pane.ShowMode(), 1);
  ASSERT_TRUE(PumpUntil([&] { return !pane.IsSliding(); }, 10000));

  // Collapsed: the double click expands; then it covers the work area and back.
  SendMessageW(pane, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(pane.ShowMode(), 0);
  RECT before = Rect(pane);
  SendMessageW(pane, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT now = Rect(pane);
  EXPECT_TRUE(EqualRect(&now, &work));
  SendMessageW(pane, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  now = Rect(pane);
  EXPECT_TRUE(EqualRect(&now, &before));
  pane.DestroyWindow();
}

int g_blinkSteps = 0;
WNDPROC g_paneProc = nullptr;
LRESULT CALLBACK CountBlinkSteps(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP + 1) ++g_blinkSteps;
  return CallWindowProcW(g_paneProc, hwnd, msg, wParam, lParam);
}

TEST_F(PaneTest, BlinkRunsThreeCyclesOnceAndMovesACollapsedPane) {
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, false, false));
  ASSERT_TRUE(Collapsed(pane));

  // One step at a time: the alert colour is on exactly for lParam 0.
  SendMessageW(pane, WM_APP + 1, 1, 0);
  EXPECT_TRUE(pane.Toolbar().Alert());
  EXPECT_FALSE(GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SendMessageW(pane, WM_APP + 1, 0, 1);
  EXPECT_FALSE(pane.Toolbar().Alert());
  // Wine does not give the topmost bit back after HWND_BOTTOM, although the
  // move to HWND_TOPMOST succeeds; so only the way down is checked by style.

  g_blinkSteps = 0;
  g_paneProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountBlinkSteps)));
  pane.Flash();
  EXPECT_TRUE(pane.IsBlinking());
  pane.Flash();  // refused while the first runs
  ASSERT_TRUE(PumpUntil([&] { return !pane.IsBlinking(); }, 10000));
  EXPECT_EQ(g_blinkSteps, 6);
  EXPECT_FALSE(pane.Toolbar().Alert());
  SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_paneProc));
  pane.DestroyWindow();
}

// Expanded again while it slides to its caption, the pane stays whole and
// where it was.
TEST_F(PaneTest, ExpandingWhileItSlidesKeepsThePaneWhole) {
  SavePos(L"100", L"100");
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, false, false));
  ASSERT_TRUE(Collapsed(pane));
  pane.SetShowMode(0, false);
  const RECT open = Rect(pane);
  pane.SetShowMode(1, true);
  ASSERT_TRUE(pane.IsSliding());
  pane.SetShowMode(0, false);
  ASSERT_TRUE(PumpUntil([&] { return !pane.IsSliding(); }, 10000));
  const RECT now = Rect(pane);
  EXPECT_EQ(now.left, open.left);
  EXPECT_EQ(now.top, open.top);
  EXPECT_EQ(now.right, open.right);
  EXPECT_EQ(now.bottom, open.bottom);
  EXPECT_EQ(SavedX(), 100);
  pane.DestroyWindow();
}

// A destroyed pane ends its slide instead of moving a window that is gone.
TEST_F(PaneTest, SlideStopsWhenThePaneIsDestroyed) {
  CQLRFloatPane pane(nullptr, nullptr);
  ASSERT_TRUE(pane.Create(nullptr, false, false));
  ASSERT_TRUE(PumpUntil([&] { return pane.ShowMode() == 1; }, 10000));
  pane.DestroyWindow();
  EXPECT_TRUE(PumpUntil([&] { return !pane.IsSliding(); }, 5000));
}

}  // namespace
