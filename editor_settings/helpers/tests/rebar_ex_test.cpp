#include <windows.h>

#include <gtest/gtest.h>

#include "editor_settings/helpers/control_ex.h"

namespace {

// Whatever the bands leave uncovered is the button face, and the erase is
// answered, so the frame's own background never shows through.
TEST(ReBarExTest, ErasingFillsTheButtonFace) {
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, nullptr, L"rebar host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr));
  CReBarEx rebar;
  ASSERT_TRUE(rebar.Create(&top));
  // A rebar is as tall as its bands: give it one.
  CWnd band;
  ASSERT_TRUE(band.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 120, 26, rebar.m_hWnd, nullptr));
  // The control's own erase would paint these colours.
  const COLORREF red = RGB(255, 0, 0);
  rebar.SendMessage(RB_SETBKCOLOR, 0, red);
  ASSERT_TRUE(rebar.AddBar(&band, ::GetSysColor(COLOR_BTNTEXT), red));
  ::MoveWindow(rebar.m_hWnd, 0, 0, 400, 30, FALSE);
  RECT client = {};
  ::GetClientRect(rebar.m_hWnd, &client);
  ASSERT_GT(client.bottom, 15);
  ASSERT_GT(client.right, 200);

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::FillRect(memory, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  EXPECT_NE(::SendMessageW(rebar.m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 0);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(::GetPixel(memory, client.right - 3, client.bottom / 2), face);
  EXPECT_EQ(::GetPixel(memory, 1, 1), face);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  rebar.DestroyWindow();
  top.DestroyWindow();
}

}  // namespace
