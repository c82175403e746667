#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "editor_settings/buttons/hyperlink.h"
#include "editor_settings/buttons/tests/link_test_host.h"
#include "foundation/logging/system_error.h"
#include "tests/support/test_support.h"

using namespace buttons_test;
using qlr_editor::CHyperLink;

namespace {

constexpr UINT kLinkId = 501;

// A host with one static control turned into a link, as a dialog has it.
struct LinkFixture {
  explicit LinkFixture(const wchar_t* text, DWORD align = SS_LEFT, const wchar_t* url = nullptr, bool show = false)
      : host(show), link(url) {
    HWND control = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | align, 10, 10, 360, 30,
                                     host.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLinkId)),
                                     nullptr, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    attached = link.SubclassWindow(control) != FALSE;
  }
  ~LinkFixture() { host.DestroyWindow(); }

  COLORREF TextColourAnswered() {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 1, 1));
    brush = ::SendMessageW(host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(link.m_hWnd));
    COLORREF colour = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return colour;
  }
  POINT OverText() const { return ScreenCentre(link.m_hWnd, link.GetTextBox()); }
  POINT BesideText() const {
    RECT box = link.GetTextBox();
    RECT client = {};
    ::GetClientRect(link.m_hWnd, &client);
    POINT pt = {(box.right + client.right) / 2, (client.top + client.bottom) / 2};
    ::ClientToScreen(link.m_hWnd, &pt);
    return pt;
  }
  // What the parent sees when the static is clicked, with the cursor at pt.
  void ClickWithCursorAt(POINT pt) {
    ::SetCursorPos(pt.x, pt.y);
    ::SendMessageW(host.m_hWnd, WM_COMMAND, MAKEWPARAM(kLinkId, STN_CLICKED),
                   reinterpret_cast<LPARAM>(link.m_hWnd));
  }

  CRecordingHost host;
  CHyperLink link;
  bool attached = false;
  LRESULT brush = 0;
};

TEST(HyperLinkTest, AttachingAddsNotifyAndTheParentAnswersTheColours) {
  LinkFixture f(L"Visit the site");
  ASSERT_TRUE(f.attached);
  EXPECT_TRUE(f.link.GetStyle() & SS_NOTIFY);
  EXPECT_EQ(f.TextColourAnswered(), f.link.GetLinkColor());
  // The parent's own answer (its brush) is what the control gets.
  HDC probe = ::CreateCompatibleDC(nullptr);
  LRESULT plain = ::DefWindowProcW(f.host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(probe),
                                   reinterpret_cast<LPARAM>(f.link.m_hWnd));
  ::DeleteDC(probe);
  EXPECT_EQ(f.brush, plain);
  f.link.SetVisited(TRUE);
  EXPECT_TRUE(f.link.GetVisited());
  EXPECT_EQ(f.TextColourAnswered(), f.link.GetVisitedColor());

  // A second link of the same parent gets its own colour; other statics
  // keep the parent's.
  CHyperLink second;
  HWND control = ::CreateWindowExW(0, L"STATIC", L"Second", WS_CHILD, 10, 50, 100, 20, f.host.m_hWnd, nullptr,
                                   nullptr, nullptr);
  ASSERT_TRUE(second.SubclassWindow(control));
  HWND plainStatic = ::CreateWindowExW(0, L"STATIC", L"Plain", WS_CHILD, 10, 80, 100, 20, f.host.m_hWnd, nullptr,
                                       nullptr, nullptr);
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SetTextColor(dc, RGB(1, 1, 1));
  ::SendMessageW(f.host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  EXPECT_EQ(::GetTextColor(dc), second.GetLinkColor());
  ::SetTextColor(dc, RGB(1, 1, 1));
  ::SendMessageW(f.host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(plainStatic));
  EXPECT_NE(::GetTextColor(dc), second.GetLinkColor());
  ::DeleteDC(dc);
}

TEST(HyperLinkTest, TextBoxFollowsTheMeasuredTextAndLimitsTheHitTest) {
  for (DWORD align : {static_cast<DWORD>(SS_LEFT), static_cast<DWORD>(SS_CENTER), static_cast<DWORD>(SS_RIGHT)}) {
    LinkFixture f(L"A link in a wide static", align);
    ASSERT_TRUE(f.attached);
    HDC dc = ::GetDC(f.link.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE text = {};
    ::GetTextExtentPoint32W(dc, L"A link in a wide static", 23, &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(f.link.m_hWnd, dc);
    RECT box = f.link.GetTextBox();
    EXPECT_EQ(box.right - box.left, text.cx);
    EXPECT_EQ(box.bottom - box.top, text.cy);
    LONG expectedLeft = align == SS_LEFT ? 0 : align == SS_CENTER ? (360 - text.cx) / 2 : 360 - text.cx;
    EXPECT_EQ(box.left, expectedLeft) << align;

    POINT over = f.OverText();
    POINT beside = f.BesideText();
    if (align == SS_RIGHT) {
      beside.x = over.x - (box.right - box.left) / 2 - 20;
    }
    EXPECT_EQ(::SendMessageW(f.link.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(over.x, over.y)), HTCLIENT);
    EXPECT_EQ(::SendMessageW(f.link.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(beside.x, beside.y)), HTTRANSPARENT);
  }
}

TEST(HyperLinkTest, HoverGivesHandCursorAndUnderlineThenStopsTheTimer) {
  LinkFixture f(L"Hover over me");
  ASSERT_TRUE(f.attached);
  HCURSOR hand = CHyperLink::GetHandCursor();
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(CHyperLink::GetHandCursor(), hand);
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP bm = {};
  ::GetObjectW(info.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);

  HFONT plain = f.link.GetFont();
  POINT over = f.OverText();
  ::SetCursorPos(over.x, over.y);
  EXPECT_EQ(::SendMessageW(f.link.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(f.link.m_hWnd),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(::GetCursor(), hand);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return f.link.IsUnderlined(); }, 5000));
  LOGFONTW lf = {};
  ::GetObjectW(f.link.GetFont(), sizeof(lf), &lf);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_NE(f.link.GetFont(), plain);

  POINT beside = f.BesideText();
  ::SetCursorPos(beside.x, beside.y);
  HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  ::SendMessageW(f.link.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(f.link.m_hWnd),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(::GetCursor(), hand);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return !f.link.IsUnderlined(); }, 5000));
  lf = {};
  ::GetObjectW(f.link.GetFont(), sizeof(lf), &lf);
  EXPECT_FALSE(lf.lfUnderline);
  // Nothing is left to watch: the timer is gone.
  EXPECT_FALSE(::KillTimer(f.link.m_hWnd, 20));
}

TEST(HyperLinkTest, ClicksOpenTheRightTargetOrSendTheMessage) {
  struct Case {
    const wchar_t* url;
    const wchar_t* opened;  // null: the shell is not called
    UINT message;           // sent to the parent, 0 none
  } cases[] = {
      {L"message:1234", nullptr, 1234},
      {L"message:", nullptr, 0},
      {L"message:+1236", nullptr, 0},
      {L"message:-1237", nullptr, 0},
      {L"message:1235x", nullptr, 0},
      {L"message:0", nullptr, 0},
      {L"a@b", L"mailto:a@b", 0},
      {L"@x", L"@x", 0},
      {L"https://h/@n", L"https://h/@n", 0},
      {L"mailto:a@b", L"mailto:a@b", 0},
  };
  for (const Case& c : cases) {
    LinkFixture f(L"Click here", SS_LEFT, c.url);
    ASSERT_TRUE(f.attached);
    FakeShell shell;
    f.ClickWithCursorAt(f.OverText());
    if (c.opened) {
      ASSERT_EQ(shell.Requests().size(), 1u) << c.url;
      EXPECT_EQ(shell.Requests()[0].file, c.opened);
      EXPECT_EQ(shell.Requests()[0].verb, L"open");
      EXPECT_EQ(shell.Requests()[0].show, SW_SHOW);
      EXPECT_EQ(shell.Requests()[0].owner, f.link.m_hWnd);
      EXPECT_EQ(shell.Requests()[0].cursor, ::LoadCursorW(nullptr, IDC_APPSTARTING));
      EXPECT_TRUE(f.link.GetVisited());
      EXPECT_EQ(f.TextColourAnswered(), f.link.GetVisitedColor());
    } else {
      EXPECT_TRUE(shell.Requests().empty()) << c.url;
    }
    if (c.message) {
      ASSERT_EQ(f.host.log.messages.size(), 1u);
      EXPECT_EQ(f.host.log.messages[0], c.message);
      EXPECT_TRUE(f.link.GetVisited());
    } else {
      EXPECT_TRUE(f.host.log.messages.empty()) << c.url;
      if (!c.opened) EXPECT_FALSE(f.link.GetVisited()) << c.url;
    }
  }
}

TEST(HyperLinkTest, WindowTextServesAsUrlAndLongUrlsStayWhole) {
  {
    LinkFixture f(L"https://example.invalid/page");
    FakeShell shell;
    f.ClickWithCursorAt(f.OverText());
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].file, L"https://example.invalid/page");
    // Beside the text the click does nothing.
    f.ClickWithCursorAt(f.BesideText());
    EXPECT_EQ(shell.Requests().size(), 1u);
  }
  {
    std::wstring url = L"https://example.invalid/" + std::wstring(4000, L'q');
    LinkFixture f(L"Long", SS_LEFT, url.c_str());
    FakeShell shell;
    f.ClickWithCursorAt(f.OverText());
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].file, url);
  }
  {
    // No URL and no text: nothing to open, wherever the cursor is.
    LinkFixture f(L"");
    FakeShell shell;
    f.ClickWithCursorAt(ScreenCentre(f.link.m_hWnd, RECT{0, 0, 0, 0}));
    ::SendMessageW(f.host.m_hWnd, WM_COMMAND, MAKEWPARAM(kLinkId, STN_CLICKED),
                   reinterpret_cast<LPARAM>(f.link.m_hWnd));
    EXPECT_TRUE(shell.Requests().empty());
  }
}

TEST(HyperLinkTest, FailedOpenShowsTheSystemTextAndKeepsTheLastError) {
  LinkFixture f(L"Broken link", SS_LEFT, L"nowhere:thing");
  FakeShell shell(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
  std::wstring expected = L"Cannot open [nowhere:thing]\r\n" + GetSystemErrorText(ERROR_FILE_NOT_FOUND);
  bool closed = false;
  std::thread closer([&] { closed = qlrtest::CloseMessageBox(::GetCurrentProcessId(), expected, 15000); });
  ::SetLastError(1234);
  f.ClickWithCursorAt(f.OverText());
  DWORD after = ::GetLastError();
  closer.join();
  EXPECT_TRUE(closed);
  EXPECT_EQ(after, 1234u);
  EXPECT_EQ(shell.Requests().size(), 1u);
  EXPECT_FALSE(f.link.GetVisited());
  EXPECT_EQ(f.TextColourAnswered(), f.link.GetLinkColor());
}

TEST(HyperLinkTest, RealClickBesideTheTextGoesToTheParent) {
  LinkFixture f(L"Narrow text", SS_LEFT, L"https://example.invalid/", true);
  ::SetWindowPos(f.host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::UpdateWindow(f.host.m_hWnd);
  FakeShell shell;
  POINT beside = f.BesideText();
  POINT over = f.OverText();
  EXPECT_EQ(::WindowFromPoint(beside), f.host.m_hWnd);
  EXPECT_EQ(::WindowFromPoint(over), f.link.m_hWnd);

  auto click = [](POINT pt) {
    ::SetCursorPos(pt.x, pt.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
  };
  click(beside);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return f.host.log.mouseDowns > 0; }, 5000));
  EXPECT_TRUE(shell.Requests().empty());
  click(over);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !shell.Requests().empty(); }, 5000));
}

}  // namespace
