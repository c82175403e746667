#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/tests/control_host.h"

namespace {

LOGFONTW TestLogFont() {
  LOGFONTW lf = {};
  lf.lfHeight = -13;
  lf.lfWeight = FW_BOLD;
  lf.lfStrikeOut = TRUE;
  return lf;
}

TEST(GdiTest, FontFillAndTextOnAMemoryContext) {
  CFont font;
  LOGFONTW lf = TestLogFont();
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  EXPECT_FALSE(font.CreateFontIndirect(&lf));  // holds one already
  LOGFONTW back = {};
  ASSERT_GT(font.GetLogFont(&back), 0);
  EXPECT_EQ(back.lfHeight, -13);
  EXPECT_EQ(back.lfWeight, FW_BOLD);
  EXPECT_TRUE(back.lfStrikeOut);
  CFont empty;
  EXPECT_EQ(empty.GetLogFont(&back), 0);

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 40, 20));
  ::ReleaseDC(nullptr, screen);
  BITMAP info = {};
  ASSERT_GT(bitmap.GetBitmap(&info), 0);
  EXPECT_EQ(info.bmWidth, 40);
  {
    CDC dc(memory);
    HBITMAP oldBitmap = dc.SelectObject(&bitmap);
    ASSERT_NE(oldBitmap, nullptr);
    dc.SetBkColor(RGB(0, 255, 0));
    dc.FillSolidRect(0, 0, 40, 20, RGB(255, 255, 255));
    dc.FillSolidRect(2, 2, 5, 5, RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(memory, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(memory, 10, 10), RGB(255, 255, 255));
    EXPECT_EQ(::GetBkColor(memory), RGB(0, 255, 0));  // left as it was

    HFONT oldFont = dc.SelectObject(&font);
    SIZE expected = {};
    ::GetTextExtentPoint32W(memory, L"Hello", 5, &expected);
    CSize extent = dc.GetTextExtent(CString(L"Hello"));
    EXPECT_EQ(extent.cx, expected.cx);
    EXPECT_EQ(extent.cy, expected.cy);
    EXPECT_EQ(dc.GetTextExtent(L"", 0).cx, 0);
    EXPECT_EQ(dc.GetTextExtent(nullptr, 3).cx, 0);
    CRect box(0, 0, 40, 20);
    EXPECT_EQ(dc.DrawText(CString(L"Hello"), &box, DT_SINGLELINE | DT_CALCRECT), expected.cy);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    dc.SetTextColor(RGB(0, 0, 255));
    EXPECT_EQ(::GetTextColor(memory), RGB(0, 0, 255));
    EXPECT_NE(oldFont, nullptr);
  }
  // The handle was the caller's: a plain wrapper leaves its selections.
  EXPECT_EQ(::GetCurrentObject(memory, OBJ_FONT), font.GetSafeHandle());
  EXPECT_EQ(::GetCurrentObject(memory, OBJ_BITMAP), bitmap.GetSafeHandle());
  ::DeleteDC(memory);
}

// A window class with a context of its own keeps its selections between
// GetDC calls, so what a client context left behind shows.
TEST(GdiTest, ClientAndPaintContextsPutBackWhatTheySelected) {
  static const wchar_t kClass[] = L"QuilloraGdiTestOwnDc";
  WNDCLASSEXW wc = {sizeof(wc)};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  ::RegisterClassExW(&wc);
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, kClass, L"own dc", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));

  CFont font;
  LOGFONTW lf = TestLogFont();
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  CBrush brush(RGB(9, 8, 7));
  ASSERT_NE(brush.GetSafeHandle(), nullptr);
  HDC own = ::GetDC(wnd);
  HGDIOBJ fontBefore = ::GetCurrentObject(own, OBJ_FONT);
  HGDIOBJ brushBefore = ::GetCurrentObject(own, OBJ_BRUSH);
  ::ReleaseDC(wnd, own);
  {
    CClientDC dc(&wnd);
    ASSERT_NE(dc.GetSafeHdc(), nullptr);
    dc.SelectObject(&font);
    dc.SelectObject(&brush);
    CFont second;
    LOGFONTW lf2 = TestLogFont();
    lf2.lfHeight = -20;
    ASSERT_TRUE(second.CreateFontIndirect(&lf2));
    dc.SelectObject(&second);  // the first original is the one put back
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), second.GetSafeHandle());
    dc.SelectObject(&font);
  }
  own = ::GetDC(wnd);
  EXPECT_EQ(::GetCurrentObject(own, OBJ_FONT), fontBefore);
  EXPECT_EQ(::GetCurrentObject(own, OBJ_BRUSH), brushBefore);
  ::ReleaseDC(wnd, own);

  wnd.ShowWindow(SW_SHOWNOACTIVATE);
  wnd.Invalidate();
  {
    CPaintDC dc(&wnd);
    EXPECT_NE(dc.GetSafeHdc(), nullptr);
    dc.SelectObject(&font);
  }
  EXPECT_EQ(::GetUpdateRect(wnd, nullptr, FALSE), FALSE);  // EndPaint validated it
  own = ::GetDC(wnd);
  EXPECT_EQ(::GetCurrentObject(own, OBJ_FONT), fontBefore);
  ::ReleaseDC(wnd, own);
  wnd.DestroyWindow();
}

}  // namespace
