#include <windows.h>

#include <gtest/gtest.h>

#include "editor_settings/buttons/tests/link_test_host.h"
#include "editor_settings/buttons/theme_functions.h"
#include "editor_settings/buttons/themed_icon_button.h"
#include "tests/support/test_support.h"

using namespace buttons_test;
using qlr_editor::COwnerDrawButton;
using qlr_editor::CThemedIconButton;

namespace {

constexpr UINT kButtonId = 720;
constexpr int kWidth = 80;
constexpr int kHeight = 30;

HWND MakeButton(HWND parent, DWORD type, const wchar_t* text = L"") {
  return ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | type, 10, 10, kWidth, kHeight, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), nullptr, nullptr);
}

// A 32-bit picture the size of the button.
struct Canvas {
  Canvas() {
    BITMAPINFO bi = qlrtest::TopDownBitmapInfo(kWidth, kHeight);
    dc = ::CreateCompatibleDC(nullptr);
    bitmap = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = ::SelectObject(dc, bitmap);
  }
  ~Canvas() {
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  void* bits = nullptr;
};

// The parent's WM_DRAWITEM for the button, drawn into canvas.
void DrawThroughParent(HWND parent, HWND button, HDC dc, UINT state) {
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = kButtonId;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = state;
  item.hwndItem = button;
  item.hDC = dc;
  item.rcItem = {0, 0, kWidth, kHeight};
  ::SendMessageW(parent, WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item));
}

struct ThemeMissing {
  ThemeMissing() { qlr_editor::ThemeFunctions().SetLibraryMissingForTests(true); }
  ~ThemeMissing() { qlr_editor::ThemeFunctions().SetLibraryMissingForTests(false); }
};

TEST(ThemedIconButtonTest, ClassicLookWithoutTheThemeLibrary) {
  ThemeMissing missing;
  CRecordingHost host;
  CThemedIconButton button;
  ASSERT_TRUE(button.SubclassWindow(MakeButton(host.m_hWnd, BS_PUSHBUTTON)));
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  const COLORREF fill = RGB(10, 200, 30);
  button.SetColours(fill, CLR_INVALID);

  struct Case {
    bool checked;
    UINT edge;
  } cases[] = {{false, EDGE_RAISED}, {true, EDGE_SUNKEN}};
  for (const Case& c : cases) {
    button.SetChecked(c.checked);
    Canvas drawn;
    DrawThroughParent(host.m_hWnd, button.m_hWnd, drawn.dc, 0);
    // The same frame drawn by the system for comparison.
    Canvas expected;
    RECT rc = {0, 0, kWidth, kHeight};
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(expected.dc, &rc, brush);
    ::DeleteObject(brush);
    ::DrawEdge(expected.dc, &rc, c.edge, BF_RECT);
    EXPECT_EQ(drawn.At(kWidth / 2, kHeight / 2), fill) << c.checked;
    for (POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{kWidth - 1, kHeight - 1}, POINT{kWidth - 2, kHeight / 2}})
      EXPECT_EQ(drawn.At(p.x, p.y), expected.At(p.x, p.y)) << c.checked << " " << p.x << "," << p.y;
  }

  // Focused: a black frame outside the edge.
  button.SetChecked(false);
  Canvas focused;
  DrawThroughParent(host.m_hWnd, button.m_hWnd, focused.dc, ODS_FOCUS);
  EXPECT_EQ(focused.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(focused.At(kWidth - 1, kHeight / 2), RGB(0, 0, 0));
  host.DestroyWindow();
}

TEST(ThemedIconButtonTest, KeysClickOnceEvenWhenHeld) {
  CRecordingHost host;
  CThemedIconButton button;
  ASSERT_TRUE(button.SubclassWindow(MakeButton(host.m_hWnd, BS_PUSHBUTTON, L"Go")));
  EXPECT_EQ(::SendMessageW(button.m_hWnd, WM_GETDLGCODE, VK_TAB, 0), 0);
  EXPECT_EQ(::SendMessageW(button.m_hWnd, WM_GETDLGCODE, VK_RETURN, 0), DLGC_WANTALLKEYS);

  for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_SPACE)}) {
    host.log.clickedIds.clear();
    ::SendMessageW(button.m_hWnd, WM_KEYDOWN, key, 1);
    for (int i = 0; i < 3; ++i) ::SendMessageW(button.m_hWnd, WM_KEYDOWN, key, 0x40000001);
    EXPECT_TRUE(host.log.clickedIds.empty());
    ::SendMessageW(button.m_hWnd, WM_KEYUP, key, 0xC0000001);
    EXPECT_EQ(host.log.clickedIds.size(), 1u) << key;
  }
  host.DestroyWindow();
}

TEST(ThemedIconButtonTest, CheckBoxModeTakesTheToggleBackOutside) {
  CRecordingHost host;
  CThemedIconButton button;
  ASSERT_TRUE(button.SubclassWindow(MakeButton(host.m_hWnd, BS_PUSHBUTTON)));
  button.SetCheckBoxMode(true);
  ::SendMessageW(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.IsChecked());
  ::SendMessageW(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(kWidth + 20, 5));
  EXPECT_FALSE(button.IsChecked());
  EXPECT_TRUE(host.log.clickedIds.empty());

  ::SendMessageW(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.IsChecked());
  EXPECT_EQ(host.log.clickedIds.size(), 1u);
  host.DestroyWindow();
}

TEST(ThemedIconButtonTest, DoubleClickGivesOnePendingClick) {
  CRecordingHost host;
  CThemedIconButton button;
  ASSERT_TRUE(button.SubclassWindow(MakeButton(host.m_hWnd, BS_PUSHBUTTON)));
  ::SendMessageW(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(host.log.clickedIds.size(), 1u);
  ::SendMessageW(button.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.GetState() & BST_PUSHED);
  EXPECT_EQ(host.log.clickedIds.size(), 1u);
  ::SendMessageW(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(host.log.clickedIds.size(), 2u);
  EXPECT_FALSE(button.GetState() & BST_PUSHED);
  host.DestroyWindow();
}

TEST(ThemedIconButtonTest, IconHasADisabledVariantAndHoverFollowsTheCursor) {
  CRecordingHost host;
  CThemedIconButton button;
  ASSERT_TRUE(button.SubclassWindow(MakeButton(host.m_hWnd, BS_PUSHBUTTON, L"Icon")));
  button.SetIcon(::CopyIcon(::LoadIconW(nullptr, IDI_INFORMATION)), CThemedIconButton::kIconRight);
  ASSERT_NE(button.GetIcon(), nullptr);
  ASSERT_NE(button.GetDisabledIcon(), nullptr);
  EXPECT_NE(button.GetDisabledIcon(), button.GetIcon());
  ::EnableWindow(button.m_hWnd, FALSE);
  Canvas canvas;
  DrawThroughParent(host.m_hWnd, button.m_hWnd, canvas.dc, ODS_DISABLED);  // must not fail
  ::EnableWindow(button.m_hWnd, TRUE);

  EXPECT_FALSE(button.IsHot());
  ::SendMessageW(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.IsHot());
  ::SendMessageW(button.m_hWnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button.IsHot());
  button.SetIcon(nullptr, CThemedIconButton::kIconLeft);
  EXPECT_EQ(button.GetDisabledIcon(), nullptr);
  host.DestroyWindow();
}

TEST(OwnerDrawButtonTest, DialogCodesKeepTheOriginalKind) {
  struct Case {
    DWORD type;
    LRESULT mustHave;
    LRESULT mustNotHave;
  } cases[] = {
      {BS_PUSHBUTTON, DLGC_UNDEFPUSHBUTTON, DLGC_DEFPUSHBUTTON},
      {BS_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON, DLGC_UNDEFPUSHBUTTON},
      {BS_AUTORADIOBUTTON, DLGC_RADIOBUTTON, DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON},
  };
  CRecordingHost host;
  for (const Case& c : cases) {
    COwnerDrawButton button;
    ASSERT_TRUE(button.SubclassWindow(MakeButton(host.m_hWnd, c.type)));
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    LRESULT code = ::SendMessageW(button.m_hWnd, WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(code & c.mustHave, c.mustHave) << c.type;
    EXPECT_EQ(code & c.mustNotHave, 0) << c.type;
    button.DestroyWindow();
  }
  COwnerDrawButton group;
  ASSERT_TRUE(group.SubclassWindow(MakeButton(host.m_hWnd, BS_GROUPBOX)));
  EXPECT_EQ(::SendMessageW(group.m_hWnd, WM_GETDLGCODE, 0, 0), DLGC_STATIC);

  // The dialog manager moves the default by style; owner drawing stays.
  COwnerDrawButton push;
  ASSERT_TRUE(push.SubclassWindow(MakeButton(host.m_hWnd, BS_PUSHBUTTON)));
  ::SendMessageW(push.m_hWnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_TRUE(push.IsDefaultButton());
  EXPECT_TRUE(::SendMessageW(push.m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(push.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  ::SendMessageW(push.m_hWnd, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EXPECT_FALSE(push.IsDefaultButton());
  EXPECT_EQ(push.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  host.DestroyWindow();
}

}  // namespace
