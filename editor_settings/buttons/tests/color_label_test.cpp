#include <windows.h>

#include <gtest/gtest.h>

#include "editor_settings/buttons/color_label.h"
#include "editor_settings/buttons/tests/link_test_host.h"
#include "tests/support/test_support.h"

using namespace buttons_test;
using qlr_editor::CColorLabel;

namespace {

HWND MakeLabel(HWND parent, DWORD style, const wchar_t* text) {
  return ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 30, 30, 120, 40, parent, nullptr,
                           nullptr, nullptr);
}

TEST(ColorLabelTest, ReflectedColoursFillTheLabelAndAnswerHollow) {
  CRecordingHost host;
  CColorLabel label;
  ASSERT_TRUE(label.SubclassWindow(MakeLabel(host.m_hWnd, SS_LEFT, L"Hello")));
  EXPECT_EQ(label.GetBkColour(), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(label.GetTextColour(), ::GetSysColor(COLOR_WINDOWTEXT));
  label.SetBkColour(RGB(200, 30, 40));

  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 120, 40);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  LRESULT brush = ::SendMessageW(host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label.m_hWnd));
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
  EXPECT_EQ(::GetBkColor(dc), RGB(200, 30, 40));
  EXPECT_EQ(::GetTextColor(dc), ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(::GetPixel(dc, 60, 20), RGB(200, 30, 40));
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);

  // Both font forms: the second keeps the text colour of the first.
  LOGFONTW lf = {};
  lf.lfHeight = -19;
  label.SetLabelFont(lf, RGB(0, 90, 0));
  EXPECT_EQ(label.GetTextColour(), RGB(0, 90, 0));
  LOGFONTW got = {};
  ::GetObjectW(label.GetFont(), sizeof(got), &got);
  EXPECT_EQ(got.lfHeight, -19);
  HFONT first = label.GetFont();
  lf.lfHeight = -23;
  label.SetLabelFont(lf);
  EXPECT_EQ(label.GetTextColour(), RGB(0, 90, 0));
  EXPECT_NE(label.GetFont(), first);
  ::GetObjectW(label.GetFont(), sizeof(got), &got);
  EXPECT_EQ(got.lfHeight, -23);
  host.DestroyWindow();
}

TEST(ColorLabelTest, RoundedLabelKeepsTheParentInItsCorners) {
  CRecordingHost host(true);
  ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CColorLabel label;
  ASSERT_TRUE(label.SubclassWindow(MakeLabel(host.m_hWnd, SS_CENTER, L"")));
  const COLORREF fill = RGB(200, 30, 40);
  label.SetBkColour(fill, FALSE);
  label.SetRounded(true);
  ::UpdateWindow(host.m_hWnd);

  HDC parentDC = ::GetDC(host.m_hWnd);
  COLORREF parentColour = ::GetPixel(parentDC, 10, 10);
  ::ReleaseDC(host.m_hWnd, parentDC);
  ASSERT_NE(parentColour, fill);
  HDC dc = ::GetDC(label.m_hWnd);
  EXPECT_EQ(::GetPixel(dc, 60, 20), fill);
  EXPECT_EQ(::GetPixel(dc, 3, 20), fill);
  for (POINT corner : {POINT{0, 0}, POINT{119, 0}, POINT{0, 39}, POINT{119, 39}})
    EXPECT_EQ(::GetPixel(dc, corner.x, corner.y), parentColour) << corner.x << "," << corner.y;
  ::ReleaseDC(label.m_hWnd, dc);

  // A new text repaints the whole box again.
  ::SendMessageW(label.m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  dc = ::GetDC(label.m_hWnd);
  EXPECT_EQ(::GetPixel(dc, 110, 5), fill);
  ::ReleaseDC(label.m_hWnd, dc);
  host.DestroyWindow();
}

}  // namespace
