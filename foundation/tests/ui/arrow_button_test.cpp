#include "foundation/ui/arrow_button.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

TEST(ArrowButtonTest, ArrowAreaSitsAtTheRightEnd) {
  struct Case {
    RECT client;
    bool pushed;
    RECT area;
  } cases[] = {
      {{0, 0, 100, 24}, false, {82, 2, 98, 22}},
      {{0, 0, 100, 24}, true, {83, 2, 99, 22}},
      {{0, 0, 40, 10}, false, {22, 2, 38, 8}},
  };
  for (const Case& c : cases) {
    RECT a = ArrowAreaOf(c.client, c.pushed);
    EXPECT_TRUE(::EqualRect(&a, &c.area)) << a.left << "," << a.top << "," << a.right << ","
                                          << a.bottom;
  }
}

struct ClickLog {
  CArrowButton* button = nullptr;
  int clicks = 0;
  bool glyphAtClick = false;
};

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    auto* log = reinterpret_cast<ClickLog*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    ++log->clicks;
    log->glyphAtClick = log->button->IsGlyphPressed();
  }
  return ::DefWindowProcW(h, m, w, l);
}

void ClickAt(HWND button, int x, int y) {
  POINT screen = {x, y};
  ::ClientToScreen(button, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST(ArrowButtonTest, OwnerSeesWhetherTheArrowWasPressedDuringTheClick) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = OwnerProc;
  wc.lpszClassName = L"QlrArrowOwner";
  ::RegisterClassW(&wc);
  HWND owner = ::CreateWindowExW(0, L"QlrArrowOwner", L"", WS_POPUP | WS_VISIBLE, 50, 50, 300,
                                 100, nullptr, nullptr, nullptr, nullptr);
  HWND button = ::CreateWindowExW(0, L"BUTTON", L"Copy", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  10, 10, 150, 28, owner, reinterpret_cast<HMENU>(1002), nullptr,
                                  nullptr);
  ASSERT_TRUE(owner && button);
  ::SetForegroundWindow(owner);
  CArrowButton arrow;
  ClickLog log;
  log.button = &arrow;
  ::SetWindowLongPtrW(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
  ASSERT_TRUE(arrow.SubclassWindow(button));
  EXPECT_FALSE(arrow.SubclassWindow(button));
  ::UpdateWindow(button);

  ClickAt(button, 140, 14);  // on the arrow
  EXPECT_EQ(1, log.clicks);
  EXPECT_TRUE(log.glyphAtClick);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !arrow.IsGlyphPressed(); }, 2000));

  ClickAt(button, 30, 14);  // on the text part
  EXPECT_EQ(2, log.clicks);
  EXPECT_FALSE(log.glyphAtClick);

  // Text changes and painting still work through the button's own procedure.
  ::SetWindowTextW(button, L"Copy all");
  wchar_t text[32] = {};
  ::GetWindowTextW(button, text, 32);
  EXPECT_STREQ(L"Copy all", text);
  ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  // The arrow is filled darker while the cursor rests on it.
  RECT client;
  ::GetClientRect(button, &client);
  RECT area = ArrowAreaOf(client, false);
  POINT inside = {area.left + 4, (area.top + 3 + area.bottom - 4) / 2};
  auto fillAfterMove = [&](int x, int y) {
    POINT screen = {x, y};
    ::ClientToScreen(button, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = ::GetDC(button);
    COLORREF c = ::GetPixel(dc, inside.x, inside.y);
    ::ReleaseDC(button, dc);
    return c;
  };
  EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), fillAfterMove(area.left + 6, inside.y));
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), fillAfterMove(20, 10));

  EXPECT_TRUE(arrow.UnsubclassWindow());
  ClickAt(button, 140, 14);
  EXPECT_EQ(3, log.clicks);
  EXPECT_FALSE(log.glyphAtClick);
  ::DestroyWindow(owner);
}

}  // namespace
