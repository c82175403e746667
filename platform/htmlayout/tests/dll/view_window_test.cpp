// The view window as its dialogs use it, through the DLL's exports: the
// native widgets, link clicks and mouse presses through the attached
// handler, scrolling and anchors, the dialog keys, what a page can make the
// view load, and the test hooks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/system/shell_open.h"
#include "platform/htmlayout/tests/dll/sample_pages.h"
#include "platform/htmlayout/tests/dll/view_host.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_support.h"

using hltest::ViewHost;

namespace {

// The click-by-href hook's marker and message, as the view knows them.
const wchar_t kClickSwitch[] = L"HTMLayoutClick_Test.HTMLayoutClick_Test";
const wchar_t kClickMessage[] = L"HTMLayout_ClickByHref";

UINT State(HELEMENT he) {
  UINT state = 0;
  HTMLayoutGetElementState(he, &state);
  return state;
}

// A marker file in the program folder for the length of a scope.
struct Marker {
  explicit Marker(const std::wstring& name) : path(qlrtest::BinFile(name)) { qlrtest::WriteBytes(path, ""); }
  ~Marker() { DeleteFileW(path.c_str()); }
  std::wstring path;
};

// Every shell open of this program is only written down, and the view
// clicks links named by their href (a switch is read once per process, so
// both are there from the start; the refusal without the switch is checked
// from outside, on the welcome program).
const Marker g_shellLog(kShellOpenTestSwitch);
const Marker g_click(kClickSwitch);

LRESULT ClickByHref(HWND view, const wchar_t* href) {
  ATOM atom = GlobalAddAtomW(href);
  LRESULT r = SendMessageW(view, RegisterWindowMessageW(kClickMessage), 0, atom);
  GlobalDeleteAtom(atom);
  return r;
}

// Big text, so that where a click lands does not hang on font metrics: a
// link whose second word is bold on the first line, plain text on the second.
const char kLinkPage[] =
    "<html><body><div style=\"font-size: 40px\"><a href=\"http://example.test/a\">Link <b>bold</b></a></div>"
    "<div style=\"font-size: 40px\">plain words here</div></body></html>";
const int kLinkY = 25, kPlainY = 75;

TEST(ViewWindowTest, CheckboxTogglesAndFollowsItsStates) {
  ViewHost v;
  ASSERT_TRUE(v.Load(hlpages::UpdatePage(true, 7)));
  HWND box = v.Child(L"Button");
  ASSERT_NE(box, nullptr);
  HELEMENT check = v.Find(L"CFUAutoCheck");
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);

  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(State(check) & STATE_CHECKED, 0u);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, BUTTON_STATE_CHANGED | SINKING), 1u);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, BUTTON_STATE_CHANGED), 1u);
  ASSERT_FALSE(v.handler.events.empty());
  EXPECT_EQ(v.handler.events.back().target, check);
  EXPECT_NE(v.handler.events.back().controlType, 0u);

  // The element's states reach the control at once, without a repaint.
  HTMLayoutSetElementState(check, STATE_DISABLED, 0, FALSE);
  EXPECT_FALSE(IsWindowEnabled(box));
  HTMLayoutSetElementState(check, STATE_CHECKED, STATE_DISABLED, TRUE);
  EXPECT_TRUE(IsWindowEnabled(box));
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);

  // A click on the label beside the box toggles it too.
  RECT r;
  GetWindowRect(box, &r);
  MapWindowPoints(nullptr, v.view, reinterpret_cast<POINT*>(&r), 2);
  v.handler.events.clear();
  v.Click(r.right + 30, (r.top + r.bottom) / 2);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(State(check) & STATE_CHECKED, 0u);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, BUTTON_STATE_CHANGED), 1u);
  ASSERT_FALSE(v.handler.events.empty());
  EXPECT_NE(v.handler.events[0].controlType, 0u);  // the press on the label is no window drag

  // The days input is a widget too: disabling it disables its edit.
  HWND edit = v.Child(L"Edit");
  ASSERT_NE(edit, nullptr);
  HTMLayoutSetElementState(v.Find(L"CFUDaysNumber"), STATE_DISABLED, 0, TRUE);
  EXPECT_FALSE(IsWindowEnabled(edit));
}

TEST(ViewWindowTest, NumberInputKeepsItsRangeAndReadsAsInteger) {
  ViewHost v;
  ASSERT_TRUE(v.Load(hlpages::UpdatePage(true, 7)));
  HWND edit = v.Child(L"Edit");
  HWND spin = v.Child(UPDOWN_CLASSW);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(spin, nullptr);
  int lo = 0, hi = 0;
  SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 30);
  UDACCEL accel = {};
  ASSERT_GE(SendMessageW(spin, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel)), 1);
  EXPECT_EQ(accel.nInc, 1u);

  HELEMENT days = v.Find(L"CFUDaysNumber");
  auto value = [&] {
    VALUE val;
    ValueInit(&val);
    EXPECT_EQ(HTMLayoutControlGetValue(days, &val), HLDOM_OK);
    int n = val.t == T_INT ? static_cast<int>(val.d) : -1000;
    ValueClear(&val);
    return n;
  };
  EXPECT_EQ(value(), 7);
  SetWindowTextW(edit, L"12");
  EXPECT_EQ(value(), 12);
  // Typed past the range: the element holds the bound.
  SetWindowTextW(edit, L"45");
  EXPECT_EQ(value(), 30);
  SendMessageW(spin, UDM_SETPOS32, 0, 4);  // the arrows write the edit
  EXPECT_EQ(value(), 4);
  // Letters are no number: the value stays, and the edit shows it again once
  // it loses the focus.
  SetFocus(edit);
  SetWindowTextW(edit, L"abc");
  EXPECT_EQ(value(), 4);
  SetFocus(v.view);
  wchar_t shown[16] = {};
  GetWindowTextW(edit, shown, 16);
  EXPECT_STREQ(shown, L"4");

  // Broken inputs: no value reads as undefined, a minimum above the maximum
  // is taken the other way round, a step of its own is kept.
  ASSERT_TRUE(v.Load("<body><input type=number id=n minvalue=9 maxvalue=2 step=5></body>"));
  spin = v.Child(UPDOWN_CLASSW);
  ASSERT_NE(spin, nullptr);
  SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(hi, 9);
  SendMessageW(spin, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  EXPECT_EQ(accel.nInc, 5u);
  VALUE val;
  ValueInit(&val);
  EXPECT_EQ(HTMLayoutControlGetValue(v.Find(L"n"), &val), HLDOM_OK);
  EXPECT_EQ(val.t, static_cast<UINT>(T_UNDEFINED));
}

TEST(ViewWindowTest, MouseDownReportsControlTypes) {
  ViewHost v;
  ASSERT_TRUE(v.Load(kLinkPage));
  v.Press(15, kLinkY);
  v.Release(15, kLinkY);
  v.Press(15, kPlainY);
  v.Release(15, kPlainY);
  ASSERT_EQ(v.handler.Count(HANDLE_MOUSE, MOUSE_DOWN | SINKING), 2u);
  EXPECT_NE(v.handler.events[0].controlType, 0u);  // on the link's text
  EXPECT_EQ(v.handler.events[0].href, L"http://example.test/a");
  const hltest::Recorded& plain = v.handler.events.back();
  EXPECT_EQ(plain.cmd & ~SINKING, static_cast<UINT>(MOUSE_DOWN));
  EXPECT_EQ(plain.controlType, 0u);

  // Text inside the link (the bold word, further right) belongs to it.
  v.handler.events.clear();
  v.Press(130, kLinkY);
  ASSERT_FALSE(v.handler.events.empty());
  EXPECT_NE(v.handler.events[0].controlType, 0u);
}

TEST(ViewWindowTest, LinkClickSinksThenBubblesOnce) {
  const std::wstring logPath = qlrtest::BinFile(kShellOpenTestLog);
  DeleteFileW(logPath.c_str());
  ViewHost v;
  ASSERT_TRUE(v.Load(kLinkPage));
  // Attaching the same handler again changes nothing.
  HTMLayoutWindowAttachEventHandler(v.view, HLEventHandler::ElementProc, &v.handler, HANDLE_ALL);
  v.Click(15, kLinkY);
  ASSERT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), 1u);
  ASSERT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK), 1u);
  size_t sinking = 0, bubbling = 0;
  for (size_t i = 0; i < v.handler.events.size(); ++i) {
    if (v.handler.events[i].cmd == (HYPERLINK_CLICK | SINKING)) sinking = i;
    if (v.handler.events[i].cmd == HYPERLINK_CLICK) bubbling = i;
  }
  EXPECT_LT(sinking, bubbling);
  EXPECT_EQ(v.handler.events[bubbling].href, L"http://example.test/a");
  // Nobody handled it: the address went to the shell.
  EXPECT_NE(qlrtest::ReadBytes(logPath).find("http://example.test/a"), std::string::npos);

  // Handled while sinking: no bubbling, no shell.
  DeleteFileW(logPath.c_str());
  v.handler.events.clear();
  v.handler.handleBehavior = HYPERLINK_CLICK | SINKING;
  v.Click(15, kLinkY);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), 1u);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK), 0u);
  EXPECT_EQ(GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);

  // Released elsewhere: no click.
  v.handler.events.clear();
  v.Press(15, kLinkY);
  v.Release(15, kPlainY);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), 0u);

  // Unhandled links other than http, https and mailto do nothing.
  v.handler.handleBehavior = ~0u;
  ASSERT_TRUE(v.Load("<body><div style=\"font-size: 40px\"><a href=\"file:///c:/windows/notepad.exe\">Run</a>"
                     "</div><div style=\"font-size: 40px\"><a href=\"mailto:team@example.test\">Mail</a></div></body>"));
  v.Click(15, kLinkY);
  v.Click(15, kPlainY);
  const std::string log = qlrtest::ReadBytes(logPath);
  EXPECT_EQ(log.find("notepad"), std::string::npos);
  EXPECT_NE(log.find("mailto:team@example.test"), std::string::npos);
}

// A handler that reloads the page or destroys the view from inside an event.
struct Rude : HLEventHandler {
  HWND view = nullptr;
  bool destroy = false;
  int calls = 0;
  bool HandleBehaviorEvent(HELEMENT, BEHAVIOR_EVENT_PARAMS& p) override {
    if (p.cmd != (HYPERLINK_CLICK | SINKING)) return false;
    ++calls;
    if (destroy) {
      DestroyWindow(view);
    } else {
      const char page[] = "<body>another page</body>";
      HTMLayoutLoadHtml(view, reinterpret_cast<const BYTE*>(page), sizeof(page) - 1);
    }
    return false;
  }
};

TEST(ViewWindowTest, HandlerMayReloadOrDestroyTheViewDuringAClick) {
  for (bool destroy : {false, true}) {
    ViewHost v;
    ASSERT_TRUE(v.Load(kLinkPage));
    Rude rude;
    rude.view = v.view;
    rude.destroy = destroy;
    HWND view = v.view;
    HTMLayoutWindowAttachEventHandler(view, HLEventHandler::ElementProc, &rude, HANDLE_ALL);
    v.handler.events.clear();
    v.Click(15, kLinkY);
    EXPECT_EQ(rude.calls, 1);
    // The dispatch ended with the old page: no bubbling, no link action.
    EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK), 0u);
    EXPECT_EQ(IsWindow(view) != FALSE, !destroy);
    if (!destroy) {
      v.Click(15, kLinkY);  // plain text now
      EXPECT_EQ(rude.calls, 1);
    }
  }
}

TEST(ViewWindowTest, AnchorWheelAndBarScroll) {
  ViewHost v(500, 200);
  ASSERT_TRUE(v.Load(hlpages::UpdatePageWithNews(6)));
  EXPECT_EQ(v.ScrollPos(), 0);
  ASSERT_EQ(ClickByHref(v.view, L"#latest_news"), 1);
  const int anchor = v.ScrollPos();
  EXPECT_GT(anchor, 100);
  // In-page links are the view's own: nothing else is asked.
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK), 1u);

  SendMessageW(v.view, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(v.ScrollPos(), 0);
  SendMessageW(v.view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  const int wheel = v.ScrollPos();
  EXPECT_GT(wheel, 0);
  SendMessageW(v.view, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_GT(v.ScrollPos(), wheel);
  SendMessageW(v.view, WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageW(v.view, WM_VSCROLL, SB_BOTTOM, 0);
  const int bottom = v.ScrollPos();
  EXPECT_GE(bottom, anchor);
  SendMessageW(v.view, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(v.ScrollPos(), bottom);  // never past the end
  SendMessageW(v.view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_LT(v.ScrollPos(), bottom);
  // The keys the view asks for scroll as well.
  SendMessageW(v.view, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(v.ScrollPos(), 0);
  SendMessageW(v.view, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_GT(v.ScrollPos(), 0);
  SendMessageW(v.view, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(v.ScrollPos(), bottom);
  // The widgets move with the page.
  HWND box = v.Child(L"Button");
  ASSERT_NE(box, nullptr);
  RECT before;
  GetWindowRect(box, &before);
  SendMessageW(v.view, WM_VSCROLL, SB_TOP, 0);
  RECT after;
  GetWindowRect(box, &after);
  EXPECT_GT(after.top, before.top);
}

// A dialog whose only child is the view, focused; the keys come from a timer.
struct KeyDialog {
  WPARAM key;
  HWND view = nullptr;
  UINT dlgCode = 0;

  static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<KeyDialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
    switch (msg) {
      case WM_INITDIALOG: {
        self = reinterpret_cast<KeyDialog*>(lParam);
        SetWindowLongPtrW(dlg, DWLP_USER, lParam);
        self->view = CreateWindowExW(WS_EX_CLIENTEDGE, HTMLayoutClassNameW(), L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                     5, 5, 200, 100, dlg, reinterpret_cast<HMENU>(1012), nullptr, nullptr);
        std::string page = hlpages::UpdatePage(true, 7);
        HTMLayoutLoadHtml(self->view, reinterpret_cast<const BYTE*>(page.data()), static_cast<UINT>(page.size()));
        SetFocus(self->view);
        SetTimer(dlg, 1, 50, nullptr);
        SetTimer(dlg, 2, 10000, nullptr);  // a way out should the key be lost
        return FALSE;
      }
      case WM_TIMER:
        if (wParam == 2) {
          EndDialog(dlg, 99);
          return TRUE;
        }
        KillTimer(dlg, 1);
        SetFocus(self->view);
        self->dlgCode = static_cast<UINT>(SendMessageW(self->view, WM_GETDLGCODE, self->key, 0));
        PostMessageW(self->view, WM_KEYDOWN, self->key, 1);
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
  }

  INT_PTR Run() {
    struct {
      DLGTEMPLATE t;
      WORD menu, cls, title;
    } tpl = {};
    tpl.t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_VISIBLE;
    tpl.t.cx = 200;
    tpl.t.cy = 100;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &tpl.t, nullptr, Proc, reinterpret_cast<LPARAM>(this));
  }
};

TEST(ViewWindowTest, EnterAndEscapeStayWithTheDialog) {
  KeyDialog enter{VK_RETURN};
  EXPECT_EQ(enter.Run(), IDOK);
  EXPECT_EQ(enter.dlgCode & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE), 0u);
  KeyDialog escape{VK_ESCAPE};
  EXPECT_EQ(escape.Run(), IDCANCEL);
}

// Tab and Shift+Tab walk the links, Enter follows the focused one; the
// dialog keeps Tab past the last link and Enter while no link has the focus.
TEST(ViewWindowTest, TabShiftTabAndEnterWorkTheLinks) {
  ViewHost v;
  ASSERT_TRUE(v.Load("<p><a href=\"http://example.test/1\">one</a> <a name=here>anchor</a> "
                     "<a href=\"http://example.test/2\">two</a> <a href=\"http://example.test/3\">three</a>"));
  v.handler.handleBehavior = HYPERLINK_CLICK | SINKING;  // keep it from the shell
  BYTE keys[256] = {};
  auto key = [&](UINT vk, bool shift) {
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG m = {v.view, WM_KEYDOWN, vk, 1};
    const UINT code = static_cast<UINT>(SendMessageW(v.view, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&m)));
    if ((vk == VK_TAB && (code & DLGC_WANTTAB)) || (vk == VK_RETURN && (code & DLGC_WANTMESSAGE)))
      SendMessageW(v.view, WM_KEYDOWN, vk, 1);
    return code;
  };
  auto followed = [&] {
    return v.handler.events.empty() ? std::wstring() : v.handler.events.back().href;
  };
  EXPECT_EQ(key(VK_RETURN, false) & DLGC_WANTMESSAGE, 0u) << "no link has the focus yet";
  const struct {
    UINT vk;
    bool shift;
    const wchar_t* href;  // followed after the key; null: nothing new
  } steps[] = {
      {VK_TAB, false, nullptr}, {VK_RETURN, false, L"http://example.test/1"},
      {VK_TAB, false, nullptr}, {VK_TAB, false, nullptr},  {VK_RETURN, false, L"http://example.test/3"},
      {VK_TAB, true, nullptr},  {VK_RETURN, false, L"http://example.test/2"},
      {VK_TAB, true, nullptr},  {VK_RETURN, false, L"http://example.test/1"},
  };
  size_t clicks = 0;
  for (const auto& s : steps) {
    key(s.vk, s.shift);
    if (s.href) EXPECT_EQ(followed(), s.href);
    EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), clicks += s.href != nullptr);
  }
  // Past the first link backwards (and past the last forwards) the dialog
  // takes Tab on to its next control.
  EXPECT_EQ(key(VK_TAB, true) & DLGC_WANTTAB, 0u);
  key(VK_TAB, false), key(VK_TAB, false);
  EXPECT_EQ(key(VK_TAB, false) & DLGC_WANTTAB, 0u);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

// A 4 x 4 24-bit bitmap file of one colour.
std::string BitmapFile(COLORREF c) {
  BITMAPFILEHEADER f = {};
  BITMAPINFOHEADER i = {};
  i.biSize = sizeof(i);
  i.biWidth = 4;
  i.biHeight = 4;
  i.biPlanes = 1;
  i.biBitCount = 24;
  std::string pixels;
  for (int n = 0; n < 16; ++n) pixels += {static_cast<char>(GetBValue(c)), static_cast<char>(GetGValue(c)), static_cast<char>(GetRValue(c))};
  f.bfType = 0x4D42;
  f.bfOffBits = sizeof(f) + sizeof(i);
  f.bfSize = static_cast<DWORD>(f.bfOffBits + pixels.size());
  return std::string(reinterpret_cast<char*>(&f), sizeof(f)) + std::string(reinterpret_cast<char*>(&i), sizeof(i)) + pixels;
}

// How many pixels of the view's drawing have that colour.
int CountColour(HWND view, COLORREF c) {
  RECT rc;
  GetClientRect(view, &rc);
  HDC screen = GetDC(view);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
  ReleaseDC(view, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  int n = 0;
  for (int y = 0; y < rc.bottom; ++y)
    for (int x = 0; x < rc.right; ++x) n += GetPixel(dc, x, y) == c;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return n;
}

TEST(ViewWindowTest, PageMakesTheViewLoadNothingRemote) {
  qlrtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  const std::wstring marker = qlrtest::BinFile(L"marker_module.dll.ran");
  DeleteFileW(marker.c_str());
  ASSERT_NE(GetFileAttributesW(qlrtest::BinFile(L"marker_module.dll").c_str()), INVALID_FILE_ATTRIBUTES);
  qlrtest::TempDir dir;
  const std::wstring base = dir.Path() + L"\\page\\";
  CreateDirectoryW(base.c_str(), nullptr);
  ASSERT_TRUE(qlrtest::WriteBytes(base + L"red.bmp", BitmapFile(RGB(255, 0, 0))));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.Path() + L"\\blue.bmp", BitmapFile(RGB(0, 0, 255))));
  const std::string port = std::to_string(server.Port());
  const std::string page =
      "<body><IMG SRC=http://127.0.0.1:" + port + "/x.png><IMG SRC=https://127.0.0.1:" + port +
      "/y.bmp><IMG SRC=\"\\\\127.0.0.1\\share\\z.bmp\"><IMG SRC=//127.0.0.1/share/w.bmp>"
      "<IMG srcdll=marker_module.dll iddll=1 SRC=red.bmp width=40 height=40>"
      "<table background=\"file:red.bmp\" srcdll=marker_module.dll><tr><td>cell</td></tr></table>"
      "&lt;bmp srcdll=marker_module.dll iddll=1&gt; <bmp srcdll=marker_module.dll iddll=1>"
      "<IMG SRC=../blue.bmp width=40 height=40><IMG SRC=\"" +
      qlrtest::ToUtf8(dir.Path()) + "\\blue.bmp\" width=40 height=40></body>";
  ViewHost v;
  ASSERT_TRUE(v.Load(page, base.c_str()));
  // The local image under the base folder is drawn; the one outside is not.
  EXPECT_GT(CountColour(v.view, RGB(255, 0, 0)), 400);
  EXPECT_EQ(CountColour(v.view, RGB(0, 0, 255)), 0);
  qlrtest::PumpUntil([] { return false; }, 500);  // a request, were one made, would be in by now
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_EQ(GetModuleHandleW(L"marker_module.dll"), nullptr);
  EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ViewWindowTest, StyleSheetHandedOverLaterRestylesThePage) {
  ViewHost v;
  static std::wstring asked;
  asked.clear();
  HTMLayoutSetCallback(v.view, [](UINT, WPARAM, LPARAM lParam, LPVOID) -> LRESULT {
    auto* nm = reinterpret_cast<NMHL_LOAD_DATA*>(lParam);
    if (nm->hdr.code == HLN_LOAD_DATA && nm->dataType == HLRT_DATA_STYLE) asked = nm->uri;
    return LOAD_OK;
  }, nullptr);
  ASSERT_TRUE(v.Load("<html><head><link rel=stylesheet href=\"ext_style.css\"></head>"
                     "<body><div id=big>Welcome to the page</div></body></html>"));
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(CountColour(v.view, RGB(0, 255, 0)), 0);
  const char sheet[] = "#big {color: #00FF00; font-size: 30px; font-weight: bold}";
  ASSERT_TRUE(HTMLayoutDataReady(v.view, asked.c_str(), reinterpret_cast<LPBYTE>(const_cast<char*>(sheet)),
                                 sizeof(sheet) - 1));
  EXPECT_GT(CountColour(v.view, RGB(0, 255, 0)), 50);
}

TEST(ViewWindowTest, TextHookAndClickByHref) {
  ViewHost v;
  ASSERT_TRUE(v.Load(hlpages::UpdatePage(true, 7)));
  std::wstring text(static_cast<size_t>(SendMessageW(v.view, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(SendMessageW(v.view, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
  EXPECT_NE(text.find(L"CFUAutoCheck"), std::wstring::npos);
  EXPECT_NE(text.find(L"Latest News"), std::wstring::npos);

  v.handler.handleBehavior = HYPERLINK_CLICK | SINKING;  // keep it from the shell
  EXPECT_EQ(ClickByHref(v.view, L"http://example.test/forum"), 1);
  ASSERT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), 1u);
  EXPECT_EQ(v.handler.events.back().href, L"http://example.test/forum");
  EXPECT_EQ(ClickByHref(v.view, L"http://example.test/none"), 0);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), 1u);

  // From another process, as the black-box tests send it.
  auto fromOutside = [&](const wchar_t* href) {
    qlrtest::ChildProcess helper;
    std::wstring args = std::to_wstring(reinterpret_cast<INT_PTR>(v.view)) + L" " + href;
    if (!helper.Start(qlrtest::BinFile(L"helper_click_by_href.exe"), args)) return -1;
    qlrtest::PumpUntil([&] { return !helper.IsRunning(); }, 30000);
    return helper.Wait(0);
  };
  EXPECT_EQ(fromOutside(L"http://example.test/"), 1);
  EXPECT_EQ(v.handler.Count(HANDLE_BEHAVIOR_EVENT, HYPERLINK_CLICK | SINKING), 2u);
  EXPECT_EQ(v.handler.events.back().href, L"http://example.test/");
}

TEST(ViewWindowTest, UpdatePageLoadsAndPaintsInTime) {
  const std::string page = hlpages::UpdatePageWithNews(6);
  ViewHost v(654, 390);
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  ASSERT_TRUE(v.Load(page));  // loads and paints
  QueryPerformanceCounter(&b);
  std::printf("update page with 6 news items: load and first paint %.1f ms (target 100 ms)\n",
              1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
  EXPECT_GT(CountColour(v.view, RGB(0, 0, 255)), 0);  // the links were drawn
}

}  // namespace
