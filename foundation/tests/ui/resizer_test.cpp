#include "foundation/ui/resizer.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

TEST(ResizerTest, EdgeHitTestMapsEdgesAndCorners) {
  RECT w = {100, 100, 300, 250};
  struct Case {
    int x, y;
    LRESULT hit;
  } cases[] = {
      {200, 170, HTCLIENT},      // middle
      {103, 170, HTLEFT},        // 3 pixels from the left edge
      {107, 170, HTLEFT},
      {108, 170, HTCLIENT},      // inside the shrunk rectangle wins
      {296, 170, HTRIGHT},
      {200, 101, HTTOP},
      {200, 248, HTBOTTOM},
      {101, 101, HTTOPLEFT},
      {299, 101, HTTOPRIGHT},
      {101, 249, HTBOTTOMLEFT},
      {299, 249, HTBOTTOMRIGHT},
      {99, 170, HTCLIENT},       // outside the window
      {200, 250, HTCLIENT},      // the bottom edge itself lies outside
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.hit, EdgeHitTest(w, POINT{c.x, c.y}, 8, 8)) << c.x << "," << c.y;
  }
}

TEST(ResizerTest, DistanceToNearestEdge) {
  RECT w = {0, 0, 100, 50};
  struct Case {
    int x, y, d;
  } cases[] = {{0, 25, 0}, {1, 25, 1}, {50, 25, 25}, {99, 10, 1}, {50, 48, 2}, {-3, 25, 3}};
  for (const Case& c : cases) EXPECT_EQ(c.d, DistanceToNearestEdge(w, POINT{c.x, c.y}));
}

HWND MakePopup() {
  static ATOM atom = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.lpszClassName = L"QlrResizerTest";
    return ::RegisterClassW(&wc);
  }();
  return ::CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150,
                           nullptr, nullptr, nullptr, nullptr);
}

LRESULT HitAt(HWND h, int x, int y) { return ::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(x, y)); }

TEST(ResizerTest, EdgeModeReportsSizingEdgesOfABorderlessWindow) {
  HWND h = MakePopup();
  ASSERT_TRUE(h);
  WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC));
  CNoBorderResizer resizer(&h);
  CNoBorderResizer second(&h);
  ASSERT_TRUE(resizer.Attach(1));
  EXPECT_FALSE(second.Attach(1));  // one resizer per window
  EXPECT_FALSE(second.Detach());
  RECT r;
  ::GetWindowRect(h, &r);
  int frame = 2 * ::GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(HTLEFT, HitAt(h, r.left + 3, (r.top + r.bottom) / 2));
  EXPECT_EQ(HTBOTTOMRIGHT, HitAt(h, r.right - 1, r.bottom - 1));
  EXPECT_EQ(HTCLIENT, HitAt(h, r.left + frame + 5, (r.top + r.bottom) / 2));
  EXPECT_TRUE(resizer.Detach());
  EXPECT_EQ(original, reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC)));
  EXPECT_EQ(HTCLIENT, HitAt(h, r.left + 3, (r.top + r.bottom) / 2));
  EXPECT_FALSE(resizer.Attach(2));  // unknown mode
  EXPECT_TRUE(resizer.Attach(0));   // the failed attach left nothing behind
  ::DestroyWindow(h);
  EXPECT_FALSE(resizer.Detach());
}

TEST(ResizerTest, FrameOnDemandComesAtTheEdgeAndGoesWhenTheCursorLeaves) {
  HWND h = MakePopup();
  CNoBorderResizer resizer(&h);
  ASSERT_TRUE(resizer.Attach(0));
  RECT r;
  ::GetWindowRect(h, &r);
  auto thick = [&] { return (::GetWindowLongPtrW(h, GWL_STYLE) & WS_THICKFRAME) != 0; };
  int midY = (r.top + r.bottom) / 2;

  EXPECT_EQ(HTCLIENT, HitAt(h, r.left + 30, midY));
  EXPECT_FALSE(thick());
  ::SetCursorPos(r.left, midY);
  EXPECT_EQ(HTLEFT, HitAt(h, r.left, midY));  // outermost column: a real border now
  EXPECT_TRUE(thick());
  // The sizing thread keeps the border while the cursor stays on the edge...
  qlrtest::PumpUntil([] { return false; }, 450);
  EXPECT_TRUE(thick());
  // ...and takes it away soon after the cursor moved inside.
  ::SetCursorPos(r.left + 60, midY);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !thick(); }, 1000));
  ::DestroyWindow(h);
}

}  // namespace
