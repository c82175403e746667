#include <windows.h>

#include <gtest/gtest.h>

#include "editor_settings/buttons/buttons_names.h"
#include "editor_settings/buttons/hover_link_button.h"
#include "editor_settings/buttons/hyperlink.h"
#include "editor_settings/buttons/tests/link_test_host.h"
#include "foundation/ui/subclass.h"
#include "platform/mfc/app/win_thread.h"
#include "tests/support/test_support.h"

using namespace buttons_test;
using qlr_editor::CHoverLinkButton;

namespace {

constexpr UINT kButtonId = 610;

struct HoverFixture {
  explicit HoverFixture(DWORD style = BS_AUTOCHECKBOX) {
    HWND control = ::CreateWindowExW(0, L"BUTTON", L"Start with Windows", WS_CHILD | WS_VISIBLE | style, 10, 10,
                                     320, 24, host.m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), nullptr, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    attached = button.SubclassWindow(control) != FALSE;
  }
  ~HoverFixture() { host.DestroyWindow(); }

  LPARAM Caption() const {
    RECT box = button.GetCaptionBox();
    return MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  }
  // The check mark itself, left of the caption.
  LPARAM Box() const { return MAKELPARAM(::GetSystemMetrics(SM_CXMENUCHECK) / 2, 12); }
  void Click(LPARAM at) {
    ::SendMessageW(button.m_hWnd, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(button.m_hWnd, WM_LBUTTONUP, 0, at);
  }
  bool Underlined() const {
    LOGFONTW lf = {};
    ::GetObjectW(button.GetFont(), sizeof(lf), &lf);
    return lf.lfUnderline != 0;
  }

  CRecordingHost host;
  CHoverLinkButton button;
  bool attached = false;
};

TEST(HoverLinkButtonTest, CaptionClickNotifiesAndTheBoxStillToggles) {
  HoverFixture f;
  ASSERT_TRUE(f.attached);

  f.Click(f.Caption());
  EXPECT_TRUE(f.button.IsHovering());
  // The first hover made the tip: one tool for the whole button, as wide
  // as the button.
  HWND tip = f.button.GetToolTip().GetSafeHwnd();
  ASSERT_TRUE(tip);
  EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 320);
  ASSERT_EQ(f.host.log.notifyCodes.size(), 1u);
  EXPECT_EQ(f.host.log.notifyCodes[0], qlr_editor::kHoverLinkClickedCode);
  EXPECT_EQ(f.button.GetCheck(), BST_UNCHECKED);
  EXPECT_TRUE(f.host.log.clickedIds.empty());
  EXPECT_EQ(::GetCapture(), nullptr);

  f.Click(f.Box());
  EXPECT_FALSE(f.button.IsHovering());
  EXPECT_EQ(f.button.GetCheck(), BST_CHECKED);
  EXPECT_EQ(f.host.log.notifyCodes.size(), 1u);
  EXPECT_EQ(f.host.log.clickedIds.size(), 1u);
}

TEST(HoverLinkButtonTest, UnderlineAndHandCursorOnlyOverTheCaption) {
  HoverFixture f;
  ASSERT_TRUE(f.attached);
  HFONT normal = f.button.GetFont();
  ::SendMessageW(f.button.m_hWnd, WM_MOUSEMOVE, 0, f.Caption());
  EXPECT_TRUE(f.Underlined());
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_TRUE(::SendMessageW(f.button.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(f.button.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), qlr_editor::CHyperLink::GetHandCursor());

  ::SendMessageW(f.button.m_hWnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(f.button.IsHovering());
  EXPECT_EQ(f.button.GetFont(), normal);

  // Right of the caption text is no longer the caption.
  RECT box = f.button.GetCaptionBox();
  ::SendMessageW(f.button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(box.right + 5, 12));
  EXPECT_FALSE(f.button.IsHovering());
  EXPECT_FALSE(f.Underlined());

  // A font set from outside becomes the normal one, underlined while hovering.
  ::SendMessageW(f.button.m_hWnd, WM_MOUSEMOVE, 0, f.Caption());
  LOGFONTW lf = {};
  lf.lfHeight = -17;
  HFONT bigger = ::CreateFontIndirectW(&lf);
  ::SendMessageW(f.button.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(bigger), FALSE);
  LOGFONTW now = {};
  ::GetObjectW(f.button.GetFont(), sizeof(now), &now);
  EXPECT_EQ(now.lfHeight, -17);
  EXPECT_TRUE(now.lfUnderline);
  ::SendMessageW(f.button.m_hWnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(f.button.GetFont(), bigger);
  f.host.DestroyWindow();
  ::DeleteObject(bigger);
}

TEST(HoverLinkButtonTest, CaptionBoxFollowsAlignmentAndCheckMark) {
  int check = ::GetSystemMetrics(SM_CXMENUCHECK);
  HoverFixture left(BS_AUTOCHECKBOX);
  HoverFixture leftText(BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT);
  HoverFixture centred(BS_PUSHBUTTON | BS_CENTER);
  RECT a = left.button.GetCaptionBox();
  EXPECT_EQ(a.left, check);
  RECT b = leftText.button.GetCaptionBox();
  EXPECT_EQ(b.left, 320 - (a.right - a.left) - check);
  EXPECT_LE(b.right, 320 - check);
  RECT c = centred.button.GetCaptionBox();
  EXPECT_EQ(c.left, (320 - (a.right - a.left)) / 2);
}

int g_relayed = 0;
int g_popped = 0;

LRESULT CountTipMessages(HWND, UINT msg, WPARAM, LPARAM, LONG_PTR, BOOL*, WNDPROC) {
  if (msg == TTM_RELAYEVENT) ++g_relayed;
  if (msg == TTM_POP) ++g_popped;
  return 0;
}

TEST(HoverLinkButtonTest, TheLoopsPreTranslationFeedsTheTipOnlyWhileHovering) {
  HoverFixture f;
  ASSERT_TRUE(f.attached);
  // The loop meets the first mouse move before the button does: the tip
  // is there for it.
  MSG msg = {f.button.m_hWnd, WM_MOUSEMOVE, 0, f.Caption(), 0, {0, 0}};
  EXPECT_FALSE(AfxPreTranslateWalk(nullptr, &msg));
  HWND tip = f.button.GetToolTip().GetSafeHwnd();
  ASSERT_TRUE(tip);
  ASSERT_TRUE(SubclassWindowProc(tip, CountTipMessages, 0));
  // Away from the caption the tip is told to go.
  EXPECT_FALSE(AfxPreTranslateWalk(nullptr, &msg));
  EXPECT_EQ(g_relayed, 0);
  EXPECT_EQ(g_popped, 1);
  ::SendMessageW(f.button.m_hWnd, WM_MOUSEMOVE, 0, f.Caption());
  EXPECT_FALSE(AfxPreTranslateWalk(nullptr, &msg));
  EXPECT_EQ(g_relayed, 1);
  EXPECT_EQ(g_popped, 1);
  UnsubclassWindowProc(tip);
}

TEST(HoverLinkButtonTest, ReflectedColoursAreBlueOnButtonFace) {
  HoverFixture f;
  HDC dc = ::CreateCompatibleDC(nullptr);
  LRESULT brush = ::SendMessageW(f.host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(f.button.m_hWnd));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), ::GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(::GetBkColor(dc), ::GetSysColor(COLOR_BTNFACE));
  ::DeleteDC(dc);
}

}  // namespace
