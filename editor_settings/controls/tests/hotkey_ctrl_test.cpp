#include "editor_settings/controls/hotkey_ctrl.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "editor_settings/controls/hotkey_ctrl_ex.h"
#include "editor_settings/controls/hotkey_record.h"
#include "foundation/system/trusted_messages.h"
#include "tests/support/test_support.h"

namespace {

struct SeenNotify {
  UINT code;
  UINT_PTR id;
  HWND from;
  HotkeyNotify record;
};

std::vector<SeenNotify> g_seen;
HBRUSH g_messageBoxBrush = nullptr;

LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    const auto* record = reinterpret_cast<const HotkeyNotify*>(lParam);
    g_seen.push_back({record->hdr.code, record->hdr.idFrom, record->hdr.hwndFrom, *record});
    return 0;
  }
  if (msg == WM_CTLCOLORMSGBOX && g_messageBoxBrush) return reinterpret_cast<LRESULT>(g_messageBoxBrush);
  return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

std::wstring KeyName(UINT vk, bool extended) {
  LONG lParam = static_cast<LONG>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
  if (extended) lParam |= 1 << 24;
  wchar_t name[100] = {};
  int n = ::GetKeyNameTextW(lParam, name, 100);
  return std::wstring(name, n > 0 ? n : 0);
}

int CountCodes(UINT code) {
  int n = 0;
  for (const SeenNotify& s : g_seen) n += s.code == code;
  return n;
}

class HotkeyCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen.clear();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ParentProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilloraHotkeyTestParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassW(&wc);
    m_parent = ::CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(m_parent);
    RECT rect = {10, 10, 230, 80};
    ASSERT_TRUE(m_ctrl.Create(WS_VISIBLE | WS_TABSTOP, rect, CWnd::FromHandle(m_parent), 1001));
    m_control = m_ctrl.m_hWnd;
    m_field = ::GetDlgItem(m_control, kHotkeyFieldId);
    ASSERT_TRUE(m_field);
  }
  void TearDown() override {
    if (::IsWindow(m_parent)) ::DestroyWindow(m_parent);
    CWnd::DeleteTempMap();
  }
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(m_control, msg, wParam, lParam); }
  HWND Child(int id) { return ::GetDlgItem(m_control, id); }
  RECT ChildRect(int id) {
    RECT r = {};
    ::GetWindowRect(Child(id), &r);
    ::MapWindowPoints(nullptr, m_control, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HWND m_parent = nullptr;
  CHotkeyCtrlAdv m_ctrl;
  HWND m_control = nullptr;
  HWND m_field = nullptr;
};

}  // namespace

TEST(HotkeyConversionTest, FieldFlagsAndModifiersMapBothWays) {
  for (BYTE flags = 0; flags < 8; ++flags) {
    WORD modifiers = FieldFlagsToModifiers(flags);
    EXPECT_EQ((flags & HOTKEYF_SHIFT) != 0, (modifiers & MOD_SHIFT) != 0);
    EXPECT_EQ((flags & HOTKEYF_CONTROL) != 0, (modifiers & MOD_CONTROL) != 0);
    EXPECT_EQ((flags & HOTKEYF_ALT) != 0, (modifiers & MOD_ALT) != 0);
    EXPECT_EQ(0, modifiers & ~(MOD_ALT | MOD_CONTROL | MOD_SHIFT));
    EXPECT_EQ(flags, ModifiersToFieldFlags(modifiers));
    EXPECT_EQ(flags, ModifiersToFieldFlags(modifiers | MOD_WIN | MOD_NOREPEAT));
  }
  EXPECT_EQ(MOD_CONTROL, FieldFlagsToModifiers(HOTKEYF_CONTROL | HOTKEYF_EXT | 0xF0));
}

TEST(HotkeyConversionTest, TextUsesTheKeyboardsNames) {
  const std::wstring ctrl = KeyName(VK_CONTROL, false);
  const std::wstring alt = KeyName(VK_MENU, false);
  EXPECT_EQ(L"", HotkeyToText(0, 0));
  EXPECT_EQ(L"Pause", HotkeyToText(VK_PAUSE, 0));
  EXPECT_EQ(ctrl + L"+" + alt + L"+" + KeyName(VK_RETURN, false), HotkeyToText(VK_RETURN, MOD_CONTROL | MOD_ALT));
  // The extended bit belongs to the key, whether Win is held or not.
  EXPECT_EQ(ctrl + L"+" + KeyName(VK_INSERT, true), HotkeyToText(VK_INSERT, MOD_CONTROL));
  const std::wstring space = KeyName(VK_SPACE, false);
  EXPECT_FALSE(space.empty());
  EXPECT_EQ(L"WIN+" + space, HotkeyToText(VK_SPACE, MOD_WIN));
}

TEST(HotkeyConversionTest, FieldRunsShowWinBoldBlueAndTheDoubledKey) {
  std::vector<HotkeyTextRun> none = BuildHotkeyTextRuns(0, false, false, true);
  ASSERT_EQ(1u, none.size());
  EXPECT_EQ(L"None", none[0].text);
  EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT), none[0].color);

  const std::wstring ctrl = KeyName(VK_CONTROL, false);
  const std::wstring k = KeyName('K', false);
  std::vector<HotkeyTextRun> runs = BuildHotkeyTextRuns(MAKEWORD('K', HOTKEYF_CONTROL), true, true, true);
  ASSERT_EQ(3u, runs.size());
  EXPECT_EQ(L"Win", runs[0].text);
  EXPECT_TRUE(runs[0].bold);
  EXPECT_EQ(kHotkeyWinColor, runs[0].color);
  EXPECT_EQ(L" + " + ctrl + L" + " + k, runs[1].text);
  EXPECT_FALSE(runs[1].bold);
  EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), runs[1].color);
  EXPECT_EQ(L" + " + k, runs[2].text);
  EXPECT_TRUE(runs[2].bold);

  std::vector<HotkeyTextRun> disabled = BuildHotkeyTextRuns(MAKEWORD('K', 0), true, false, false);
  ASSERT_EQ(2u, disabled.size());
  EXPECT_NE(kHotkeyWinColor, disabled[0].color);
  EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT), disabled[1].color);

  // Keys without a name still show something.
  for (WORD key : {0xFF, 0xE8, VK_NUMPAD0}) {
    std::vector<HotkeyTextRun> r = BuildHotkeyTextRuns(MAKEWORD(key, HOTKEYF_ALT), false, true, true);
    ASSERT_EQ(2u, r.size());
    EXPECT_NE(std::wstring::npos, r[1].text.find_first_not_of(L" +")) << key;
  }
}

TEST_F(HotkeyCtrlTest, MessagesOfTheControl) {
  EXPECT_EQ(1, Send(HKX_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT)));
  EXPECT_EQ(MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT), Send(HKX_GETHOTKEY));
  // Flags above Alt never reach the field.
  EXPECT_EQ(1, Send(HKX_SETHOTKEY, 0xF841));
  EXPECT_EQ(0x0041, Send(HKX_GETHOTKEY));
  EXPECT_EQ(1, Send(HKX_SETHOTKEY, 0));
  EXPECT_EQ(0, Send(HKX_GETHOTKEY));

  EXPECT_EQ(1, Send(HKX_SETBOX, 1, 1));
  EXPECT_EQ(1, Send(HKX_GETBOX, 1));
  EXPECT_EQ(1, Send(HKX_GETWIN));
  EXPECT_EQ(0, Send(HKX_GETBOX, 2));
  EXPECT_EQ(1, Send(HKX_SETBOX, 2, 1));
  EXPECT_EQ(1, Send(HKX_GETDOUBLE));
  EXPECT_EQ(0, Send(HKX_SETBOX, 3, 1));
  EXPECT_EQ(0, Send(HKX_GETBOX, 0));
  EXPECT_EQ(0, Send(HKX_GETBOX, 3));
  Send(HKX_SETWIN, 0);
  EXPECT_EQ(0, Send(HKX_GETWIN));
  Send(HKX_SETDOUBLE, 0);
  EXPECT_EQ(0, Send(HKX_GETDOUBLE));
  EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(Child(kHotkeyDoubleBoxId), BM_GETCHECK, 0, 0));

  EXPECT_EQ(1, SendWithAddress(m_control, HKX_SETDOUBLETEXT, 0, reinterpret_cast<LPARAM>(L"x2")));
  wchar_t text[32] = {};
  ::GetWindowTextW(Child(kHotkeyDoubleBoxId), text, 32);
  EXPECT_STREQ(L"x2", text);
  EXPECT_EQ(0, SendWithAddress(m_control, HKX_SETDOUBLETEXT, 1, reinterpret_cast<LPARAM>(L"other")));
  EXPECT_EQ(0, SendWithAddress(m_control, HKX_SETDOUBLETEXT, 0, 0));
  EXPECT_EQ(0, SendWithAddress(m_control, HKX_SETDOUBLETEXT, 0, 0x10));
  // A plain send, or a post (as any program can make), reads no address.
  EXPECT_EQ(0, Send(HKX_SETDOUBLETEXT, 0, reinterpret_cast<LPARAM>(L"plain")));
  ASSERT_TRUE(::PostMessageW(m_control, HKX_SETDOUBLETEXT, 0, reinterpret_cast<LPARAM>(L"posted")));
  EXPECT_TRUE(qlrtest::PumpUntil([&] {
    MSG pending;
    return !::PeekMessageW(&pending, m_control, HKX_SETDOUBLETEXT, HKX_SETDOUBLETEXT, PM_NOREMOVE);
  }));
  ::GetWindowTextW(Child(kHotkeyDoubleBoxId), text, 32);
  EXPECT_STREQ(L"x2", text);

  EXPECT_EQ(1, Send(HKX_DELAYEDREPAINT));
  Send(HKX_ENABLEDOUBLE, 0);
  Send(HKX_ENABLEWIN, 0);
  EXPECT_FALSE(::IsWindowEnabled(Child(kHotkeyDoubleBoxId)));
  EXPECT_FALSE(::IsWindowEnabled(Child(kHotkeyWinBoxId)));
  Send(HKX_ENABLEWIN, 1);
  EXPECT_TRUE(::IsWindowEnabled(Child(kHotkeyWinBoxId)));

  ::EnableWindow(m_control, FALSE);
  for (int id = kHotkeyFieldId; id <= kHotkeyArrowButtonId; ++id) EXPECT_FALSE(::IsWindowEnabled(Child(id))) << id;
  ::EnableWindow(m_control, TRUE);
  for (int id = kHotkeyFieldId; id <= kHotkeyArrowButtonId; ++id) EXPECT_TRUE(::IsWindowEnabled(Child(id))) << id;

  HFONT font = static_cast<HFONT>(::GetStockObject(SYSTEM_FIXED_FONT));
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  EXPECT_EQ(font, reinterpret_cast<HFONT>(::SendMessageW(m_field, WM_GETFONT, 0, 0)));

  MINMAXINFO info = {};
  Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(155, info.ptMinTrackSize.x);
  EXPECT_EQ(2 * ::GetSystemMetrics(SM_CYMENU) + 12, info.ptMinTrackSize.y);
}

TEST_F(HotkeyCtrlTest, ChildrenFollowTheSize) {
  const int bar = ::GetSystemMetrics(SM_CYMENU);
  for (int width : {220, 300, 155}) {
    ::SetWindowPos(m_control, nullptr, 0, 0, width, 2 * bar + 20, SWP_NOMOVE | SWP_NOZORDER);
    RECT field = ChildRect(kHotkeyFieldId);
    EXPECT_EQ(5, field.left);
    EXPECT_EQ(4, field.top);
    EXPECT_EQ(width - 25, field.right - field.left);
    EXPECT_EQ(bar, field.bottom - field.top);
    RECT win = ChildRect(kHotkeyWinBoxId);
    RECT dbl = ChildRect(kHotkeyDoubleBoxId);
    const int boxWidth = (width - 25) / 2 - 5;
    EXPECT_EQ(5, win.left);
    EXPECT_EQ(field.bottom + 4, win.top);
    EXPECT_EQ(boxWidth, win.right - win.left);
    EXPECT_EQ(boxWidth, dbl.right - dbl.left);
    EXPECT_EQ(field.right, dbl.right);
    EXPECT_EQ(win.top, dbl.top);
    RECT arrow = ChildRect(kHotkeyArrowButtonId);
    EXPECT_GE(arrow.left, field.right) << width;
  }
}

TEST_F(HotkeyCtrlTest, WrapperConvertsRecords) {
  struct Case {
    HotkeyRecord in;
    WORD fieldValue;
    bool win;
    bool dbl;
    HotkeyRecord out;
  } cases[] = {
      {{0, 1, VK_RETURN, MOD_CONTROL | MOD_ALT}, MAKEWORD(VK_RETURN, HOTKEYF_CONTROL | HOTKEYF_ALT), false, false,
       {0, 1, VK_RETURN, MOD_CONTROL | MOD_ALT}},
      {{1, 1, 'K', MOD_WIN | MOD_SHIFT}, MAKEWORD('K', HOTKEYF_SHIFT), true, true, {1, 1, 'K', MOD_WIN | MOD_SHIFT}},
      {{0xFE, 0, 'Q', MOD_NOREPEAT | 0x30 | MOD_ALT}, MAKEWORD('Q', HOTKEYF_ALT), false, false, {0, 1, 'Q', MOD_ALT}},
      {{3, 1, 0, 0}, 0, false, true, {1, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(m_ctrl.SetRecord(c.in));
    EXPECT_EQ(c.fieldValue, Send(HKX_GETHOTKEY));
    EXPECT_EQ(c.win, Send(HKX_GETWIN) != 0);
    EXPECT_EQ(c.dbl, Send(HKX_GETDOUBLE) != 0);
    HotkeyRecord out = m_ctrl.GetRecord();
    EXPECT_EQ(c.out.flags, out.flags);
    EXPECT_EQ(c.out.valid, out.valid);
    EXPECT_EQ(c.out.key, out.key);
    EXPECT_EQ(c.out.modifiers, out.modifiers);
  }
  WORD key = 0, modifiers = 0;
  bool win = true, dbl = true;
  EXPECT_TRUE(m_ctrl.SetHotkey('Z', MOD_CONTROL | MOD_SHIFT, false, false));
  m_ctrl.GetHotkey(key, modifiers, win, dbl);
  EXPECT_EQ('Z', key);
  EXPECT_EQ(MOD_CONTROL | MOD_SHIFT, modifiers);
  EXPECT_FALSE(win);
  EXPECT_FALSE(dbl);
  EXPECT_TRUE(m_ctrl.SetDoubleText(L"x2"));
}

TEST_F(HotkeyCtrlTest, NotifiesItsParent) {
  ::SendMessageW(Child(kHotkeyWinBoxId), BM_CLICK, 0, 0);
  ::SendMessageW(Child(kHotkeyDoubleBoxId), BM_CLICK, 0, 0);
  ASSERT_EQ(2, CountCodes(kHotkeyNotifyChanged));
  EXPECT_EQ(1001u, g_seen[0].id);
  EXPECT_EQ(m_control, g_seen[0].from);
  EXPECT_EQ(0, g_seen[0].record.x);
  EXPECT_EQ(0, g_seen[0].record.bottom);

  g_seen.clear();
  ::SendMessageW(m_field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_field), MAKELPARAM(123, 45));
  ASSERT_EQ(1, CountCodes(kHotkeyNotifyContextMenu));
  EXPECT_EQ(123, g_seen[0].record.x);
  EXPECT_EQ(45, g_seen[0].record.y);

  g_seen.clear();
  ::SendMessageW(Child(kHotkeyArrowButtonId), BM_CLICK, 0, 0);
  ASSERT_EQ(1, CountCodes(kHotkeyNotifyArrowButton));
  RECT arrow = {};
  ::GetWindowRect(Child(kHotkeyArrowButtonId), &arrow);
  EXPECT_EQ(arrow.left, g_seen[0].record.left);
  EXPECT_EQ(arrow.top, g_seen[0].record.top);
  EXPECT_EQ(arrow.right, g_seen[0].record.right);
  EXPECT_EQ(arrow.bottom, g_seen[0].record.bottom);

  // Focus: the control hands it to the field; leaving for the parent tells.
  g_seen.clear();
  ::SetForegroundWindow(m_parent);
  ::SetFocus(m_parent);
  ::SetFocus(m_control);
  EXPECT_EQ(m_field, ::GetFocus());
  EXPECT_EQ(1, CountCodes(static_cast<UINT>(NM_SETFOCUS)));
  ::SetFocus(m_parent);
  EXPECT_EQ(1, CountCodes(static_cast<UINT>(NM_KILLFOCUS)));

  // A key typed into the field.
  g_seen.clear();
  ::SetFocus(m_field);
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = 'K';
  keys[0].ki.wScan = keys[1].ki.wScan = static_cast<WORD>(::MapVirtualKeyW('K', MAPVK_VK_TO_VSC));
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(2u, ::SendInput(2, keys, sizeof(INPUT)));
  EXPECT_TRUE(qlrtest::PumpUntil([] { return CountCodes(kHotkeyNotifyChanged) > 0; }, 5000));
  EXPECT_EQ('K', LOBYTE(Send(HKX_GETHOTKEY)));
}

TEST_F(HotkeyCtrlTest, FieldShowsBlueWhenWinIsChecked) {
  auto countBlue = [&] {
    RECT client = {};
    ::GetClientRect(m_field, &client);
    HDC screen = ::GetDC(m_field);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SendMessageW(m_field, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int blue = 0;
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x) blue += ::GetPixel(dc, x, y) == kHotkeyWinColor;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(m_field, screen);
    return blue;
  };
  Send(HKX_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL));
  EXPECT_EQ(0, countBlue());
  Send(HKX_SETWIN, 1);
  EXPECT_GT(countBlue(), 0);
}

TEST_F(HotkeyCtrlTest, BackgroundTakesTheParentsBrush) {
  auto erasedColour = [&] {
    HDC screen = ::GetDC(m_control);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SendMessageW(m_control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    COLORREF colour = ::GetPixel(dc, 1, 1);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(m_control, screen);
    return colour;
  };
  g_messageBoxBrush = ::CreateSolidBrush(RGB(10, 200, 30));
  EXPECT_EQ(RGB(10, 200, 30), erasedColour());
  ::DeleteObject(g_messageBoxBrush);
  g_messageBoxBrush = ::CreateSolidBrush(RGB(200, 10, 30));
  EXPECT_EQ(RGB(200, 10, 30), erasedColour());
  ::DeleteObject(g_messageBoxBrush);
  g_messageBoxBrush = nullptr;
}

namespace {
int g_paints = 0;
WNDPROC g_fieldProc = nullptr;
LRESULT CALLBACK CountPaints(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) ++g_paints;
  return ::CallWindowProcW(g_fieldProc, hWnd, msg, wParam, lParam);
}
}  // namespace

TEST_F(HotkeyCtrlTest, IdleControlDoesNotRepaintItself) {
  g_paints = 0;
  g_fieldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(m_field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints)));
  ::InvalidateRect(m_control, nullptr, TRUE);
  qlrtest::PumpUntil([] { return false; }, 2000);
  EXPECT_GT(g_paints, 0);
  EXPECT_LT(g_paints, 10);
  ::SetWindowLongPtrW(m_field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_fieldProc));
}

namespace {
int g_blanks = 0;
int g_texts = 0;
WNDPROC g_arrowProc = nullptr;
LRESULT CALLBACK CountBlanks(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTEXT) {
    ++g_texts;
    if (lParam && !*reinterpret_cast<const wchar_t*>(lParam)) ++g_blanks;
  }
  return ::CallWindowProcW(g_arrowProc, hWnd, msg, wParam, lParam);
}
// Threads of this process (the handle count is not kept under Wine).
int ThreadCount() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  int n = 0;
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    n += entry.th32OwnerProcessID == ::GetCurrentProcessId();
  }
  ::CloseHandle(snapshot);
  return n;
}
}  // namespace

TEST_F(HotkeyCtrlTest, FocusBlinksTheArrowOnceAndDestroyingMidBlinkIsSafe) {
  HWND arrow = Child(kHotkeyArrowButtonId);
  ::SetForegroundWindow(m_parent);
  ::SetFocus(m_parent);
  g_blanks = g_texts = 0;
  g_arrowProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(arrow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountBlanks)));
  ::SetFocus(m_field);
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_blanks > 0; }, 3000));
  ::SetFocus(m_parent);
  ::SetFocus(m_field);
  // One blink: three blanks and three restores, then nothing more.
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_texts >= 6; }, 8000));
  EXPECT_FALSE(qlrtest::PumpUntil([] { return g_texts > 6; }, 1000));
  wchar_t text[8] = {};
  ::GetWindowTextW(arrow, text, 8);
  EXPECT_STREQ(L">", text);
  EXPECT_EQ(3, g_blanks);
  ::SetWindowLongPtrW(arrow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_arrowProc));

  // Destroyed while blinking: the blink's thread ends.
  const int threadsBefore = ThreadCount();
  ASSERT_GT(threadsBefore, 0);
  ::SetFocus(m_parent);
  ::SetFocus(m_field);
  ASSERT_TRUE(qlrtest::PumpUntil([&] {
    ::GetWindowTextW(arrow, text, 8);
    return text[0] == 0;
  }, 3000));
  EXPECT_EQ(threadsBefore + 1, ThreadCount());
  ::DestroyWindow(m_control);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return ThreadCount() == threadsBefore; }, 3000)) << ThreadCount();
  EXPECT_FALSE(::IsWindow(arrow));
}

TEST(HotkeyCtrlProcessTest, AnotherProcessDrivesTheControl) {
  std::wstring eventName = L"Local\\QuilloraHotkeyHostChanged" + std::to_wstring(::GetCurrentProcessId());
  HANDLE changed = ::CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
  ASSERT_TRUE(changed);
  qlrtest::ChildProcess host;
  ASSERT_TRUE(host.Start(qlrtest::BinFile(L"helper_editor_controls_hotkey_host.exe"), eventName));
  HWND control = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] {
        HWND window = qlrtest::FindProcessWindow(host.Pid(), L"QuilloraHotkeyHost");
        control = window ? ::FindWindowExW(window, nullptr, kHotkeyCtrlClassName, nullptr) : nullptr;
        return control != nullptr;
      },
      15000));
  EXPECT_EQ(1, ::SendMessageW(control, HKX_SETHOTKEY, MAKEWORD('K', HOTKEYF_ALT), 0));
  EXPECT_EQ(MAKEWORD('K', HOTKEYF_ALT), ::SendMessageW(control, HKX_GETHOTKEY, 0, 0));
  // An address of this process means nothing there: never read.
  EXPECT_EQ(0, ::SendMessageW(control, HKX_SETDOUBLETEXT, 0, reinterpret_cast<LPARAM>(L"x2")));
  ::SendMessageW(::GetDlgItem(control, kHotkeyWinBoxId), BM_CLICK, 0, 0);
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(changed, 10000));
  EXPECT_EQ(1, ::SendMessageW(control, HKX_GETWIN, 0, 0));
  ::PostMessageW(::GetParent(control), WM_CLOSE, 0, 0);
  EXPECT_EQ(0, host.Wait(15000));
  ::CloseHandle(changed);
}
