#include "editor_settings/controls/timed_message_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "tests/support/test_support.h"

namespace {

struct Call {
  UINT type = MB_OKCANCEL;
  std::wstring text = L"Choose";
  std::wstring items;
  std::set<unsigned> checked;
  std::set<unsigned> disabled;
  int x = -1;
  int y = -1;
  std::map<int, std::wstring> buttonTexts;
  TimedMessageBoxIconProvider iconProvider = nullptr;
  LPARAM iconArgument = 0;
};

BOOL CALLBACK FindBox(HWND hWnd, LPARAM out) {
  wchar_t name[16] = {};
  ::GetClassNameW(hWnd, name, 16);
  if (::lstrcmpW(name, L"#32770") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
  *reinterpret_cast<HWND*>(out) = hWnd;
  return FALSE;
}

std::atomic<int>* g_nested = nullptr;

void CALLBACK NestedCall(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  std::set<unsigned> inner = {0};
  *g_nested = ShowTimedMessageBox(nullptr, MB_OK, L"inner", L"inner", L"z", &inner, {}, -1, -1, nullptr, 0, {});
}

// Shows a box on a thread of its own; the test finds it by that thread.
class BoxThread {
 public:
  explicit BoxThread(Call call, std::function<void()> before = nullptr) : m_call(std::move(call)) {
    m_thread = std::thread([this, before] {
      m_threadId = ::GetCurrentThreadId();
      if (before) before();
      m_result = ShowTimedMessageBox(nullptr, m_call.type, m_call.text, L"Quillora test", m_call.items,
                                     &m_call.checked, m_call.disabled, m_call.x, m_call.y, m_call.iconProvider,
                                     m_call.iconArgument,
                                     m_call.buttonTexts);
      m_done = true;
    });
  }
  ~BoxThread() {
    if (m_thread.joinable()) {
      if (HWND box = Box()) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
      m_thread.join();
    }
  }

  HWND Box() const {
    HWND found = nullptr;
    ::EnumThreadWindows(m_threadId, &FindBox, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  HWND WaitBox() {
    HWND box = nullptr;
    qlrtest::WaitUntil([&] { return m_threadId != 0 && (box = Box()) != nullptr; }, 15000);
    return box;
  }
  // Closes with the button and waits for the call's end.
  int Close(int button) {
    if (HWND box = Box()) ::PostMessageW(box, WM_COMMAND, button, 0);
    qlrtest::WaitUntil([&] { return m_done.load(); }, 15000);
    m_thread.join();
    return m_result;
  }
  const std::set<unsigned>& Checked() const { return m_call.checked; }

 private:
  Call m_call;
  std::thread m_thread;
  std::atomic<DWORD> m_threadId{0};
  std::atomic<bool> m_done{false};
  int m_result = -1;
};

std::vector<HWND> Items(HWND box) {
  std::vector<HWND> items;
  for (int id = kTimedMessageBoxFirstItemId;; ++id) {
    HWND item = ::GetDlgItem(box, id);
    if (!item) return items;
    items.push_back(item);
  }
}

RECT ScreenRect(HWND hWnd) {
  RECT r = {};
  ::GetWindowRect(hWnd, &r);
  return r;
}

std::wstring Text(HWND hWnd) {
  wchar_t text[256] = {};
  ::GetWindowTextW(hWnd, text, 256);
  return text;
}

bool IsChecked(HWND item) { return ::SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<HWND> StandardButtons(HWND box) {
  std::vector<HWND> buttons;
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    if (HWND b = ::GetDlgItem(box, id)) buttons.push_back(b);
  }
  return buttons;
}

}  // namespace

TEST(TimedMessageBoxTest, SplitsItemLines) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  } cases[] = {
      {L"", {}},
      {L"one", {L"one"}},
      {L"a\nb\n", {L"a", L"b", L""}},
      {L"a\n\nb", {L"a", L"", L"b"}},
      {L"\n", {L""}},
      {L"\n\n", {L""}},
      {L"\nfirst", {L""}},
      {L"a\n", {L"a", L""}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.lines, SplitItemLines(c.text)) << qlrtest::ToUtf8(c.text);
}

TEST(TimedMessageBoxTest, CheckBoxesStartFromTheSetAndReturnTheirStates) {
  Call call;
  call.items = L"a\nb\n";
  call.checked = {1, 7};  // 7 is beyond the lines
  call.disabled = {2, 9};
  BoxThread thread(call);
  HWND box = thread.WaitBox();
  ASSERT_TRUE(box);
  std::vector<HWND> items = Items(box);
  ASSERT_EQ(3u, items.size());
  EXPECT_EQ(L"a", Text(items[0]));
  EXPECT_EQ(L"", Text(items[2]));
  EXPECT_FALSE(IsChecked(items[0]));
  EXPECT_TRUE(IsChecked(items[1]));
  EXPECT_FALSE(IsChecked(items[2]));
  EXPECT_TRUE(::IsWindowEnabled(items[1]));
  EXPECT_FALSE(::IsWindowEnabled(items[2]));
  ::SendMessageW(items[1], BM_CLICK, 0, 0);
  EXPECT_EQ(IDOK, thread.Close(IDOK));
  EXPECT_TRUE(thread.Checked().empty());

  BoxThread cancelled(call);
  box = cancelled.WaitBox();
  ASSERT_TRUE(box);
  items = Items(box);
  ASSERT_EQ(3u, items.size());
  ::SendMessageW(items[0], BM_CLICK, 0, 0);
  EXPECT_EQ(IDCANCEL, cancelled.Close(IDCANCEL));
  EXPECT_EQ((std::set<unsigned>{0, 1}), cancelled.Checked());
}

TEST(TimedMessageBoxTest, ChecksLieBetweenTextAndOneCentredRowOfButtons) {
  struct Case {
    UINT type;
    int tabAnchor;
  } cases[] = {{MB_OKCANCEL, IDCANCEL}, {MB_YESNOCANCEL, IDCANCEL}, {MB_YESNO, IDNO}, {MB_OK, IDOK}};
  for (const Case& c : cases) {
    Call call;
    call.type = c.type;
    call.items = L"first option\nsecond option\nthird";
    BoxThread thread(call);
    HWND box = thread.WaitBox();
    ASSERT_TRUE(box) << c.type;
    std::vector<HWND> items = Items(box);
    ASSERT_EQ(3u, items.size());
    RECT text = ScreenRect(::GetDlgItem(box, 0xFFFF));
    std::vector<HWND> buttons = StandardButtons(box);
    ASSERT_FALSE(buttons.empty());
    LONG buttonsTop = ScreenRect(buttons[0]).top;
    LONG previousBottom = text.bottom;
    for (HWND item : items) {
      RECT r = ScreenRect(item);
      EXPECT_GE(r.top, previousBottom) << c.type;
      EXPECT_LE(r.bottom, buttonsTop) << c.type;
      previousBottom = r.bottom;
    }
    // One row, centred in the client area, without overlaps.
    RECT client = {};
    ::GetClientRect(box, &client);
    LONG left = LONG_MAX, right = LONG_MIN;
    for (HWND b : buttons) {
      RECT r = ScreenRect(b);
      EXPECT_EQ(buttonsTop, r.top);
      ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
      left = std::min(left, r.left);
      right = std::max(right, r.right);
    }
    EXPECT_LE(std::abs((left - client.left) - (client.right - right)), 2) << c.type;
    EXPECT_EQ(items[0], ::GetWindow(::GetDlgItem(box, c.tabAnchor), GW_HWNDNEXT)) << c.type;
    EXPECT_EQ(items[1], ::GetWindow(items[0], GW_HWNDNEXT));
    thread.Close(IDCANCEL);
  }
}

TEST(TimedMessageBoxTest, ShortMessagesAreBold) {
  for (size_t length : {60u, 61u}) {
    Call call;
    call.text = std::wstring(length, L'm');
    call.items = L"x";
    BoxThread thread(call);
    HWND box = thread.WaitBox();
    ASSERT_TRUE(box);
    HFONT font = reinterpret_cast<HFONT>(::SendDlgItemMessageW(box, 0xFFFF, WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    if (font) ::GetObjectW(font, sizeof(lf), &lf);
    EXPECT_EQ(length == 60, lf.lfWeight >= FW_BOLD) << length;
    RECT text = ScreenRect(::GetDlgItem(box, 0xFFFF));
    RECT whole = ScreenRect(box);
    EXPECT_LE(text.right, whole.right);
    thread.Close(IDOK);
  }
}

TEST(TimedMessageBoxTest, NestedCallReturnsZeroAndOuterBoxKeepsItsStates) {
  std::atomic<int> nested{-1};
  Call call;
  call.items = L"a\nb";
  BoxThread thread(call, [&] {
    // The timer fires inside the outer box's modal loop, on its thread.
    g_nested = &nested;
    ::SetTimer(nullptr, 0, 30, &NestedCall);
  });
  HWND box = thread.WaitBox();
  ASSERT_TRUE(box);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return nested.load() != -1; }, 10000));
  EXPECT_EQ(0, nested.load());
  std::vector<HWND> items = Items(box);
  ASSERT_EQ(2u, items.size());
  ::SendMessageW(items[1], BM_CLICK, 0, 0);
  EXPECT_EQ(IDOK, thread.Close(IDOK));
  EXPECT_EQ((std::set<unsigned>{1}), thread.Checked());
}

TEST(TimedMessageBoxTest, BoxesOnTwoThreadsDoNotMeet) {
  Call first;
  first.items = L"one\ntwo";
  first.checked = {0};
  Call second;
  second.items = L"x\ny\nz";
  second.checked = {2};
  BoxThread a(first);
  BoxThread b(second);
  HWND boxA = a.WaitBox();
  HWND boxB = b.WaitBox();
  ASSERT_TRUE(boxA && boxB);
  ASSERT_NE(boxA, boxB);
  std::vector<HWND> itemsA = Items(boxA);
  std::vector<HWND> itemsB = Items(boxB);
  ASSERT_EQ(2u, itemsA.size());
  ASSERT_EQ(3u, itemsB.size());
  ::SendMessageW(itemsA[1], BM_CLICK, 0, 0);
  ::SendMessageW(itemsB[0], BM_CLICK, 0, 0);
  EXPECT_EQ(IDOK, b.Close(IDOK));
  EXPECT_EQ(IDCANCEL, a.Close(IDCANCEL));
  EXPECT_EQ((std::set<unsigned>{0, 1}), a.Checked());
  EXPECT_EQ((std::set<unsigned>{0, 2}), b.Checked());
}

TEST(TimedMessageBoxTest, PositionIsClampedAndButtonsRenamed) {
  Call call;
  call.items = L"a";
  call.x = -5;
  call.y = 99999;
  call.buttonTexts = {{IDOK, L"Go on"}, {IDCANCEL, L""}, {4711, L"nobody"}};
  BoxThread thread(call);
  HWND box = thread.WaitBox();
  ASSERT_TRUE(box);
  RECT r = ScreenRect(box);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), r.bottom);
  EXPECT_EQ(L"Go on", Text(::GetDlgItem(box, IDOK)));
  EXPECT_FALSE(Text(::GetDlgItem(box, IDCANCEL)).empty());
  EXPECT_EQ(IDOK, thread.Close(IDOK));
}

TEST(TimedMessageBoxTest, HugeItemTextsStayOnTheScreenAboveTheButtons) {
  std::wstring many;
  for (int i = 0; i < 500; ++i) many += L"line " + std::to_wstring(i) + L"\n";
  many.pop_back();
  for (const std::wstring& items : {many, std::wstring(2000, L'w')}) {
    Call call;
    call.items = items;
    BoxThread thread(call);
    HWND box = thread.WaitBox();
    ASSERT_TRUE(box);
    RECT whole = ScreenRect(box);
    EXPECT_GE(whole.left, 0);
    EXPECT_GE(whole.top, 0);
    EXPECT_LE(whole.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(whole.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    LONG buttonsTop = ScreenRect(StandardButtons(box)[0]).top;
    RECT ok = ScreenRect(::GetDlgItem(box, IDOK));
    EXPECT_LE(ok.bottom, whole.bottom);
    for (HWND item : Items(box)) EXPECT_LE(ScreenRect(item).bottom, buttonsTop);
    thread.Close(IDOK);
  }
}

HICON OwnIcon(LPARAM argument) { return reinterpret_cast<HICON>(argument); }

TEST(TimedMessageBoxTest, IconProviderReplacesTheIcon) {
  HICON icon = ::LoadIconW(nullptr, IDI_WARNING);
  Call call;
  call.type = MB_OK | MB_ICONINFORMATION;
  call.items = L"a";
  call.iconProvider = &OwnIcon;
  call.iconArgument = reinterpret_cast<LPARAM>(icon);
  BoxThread thread(call);
  HWND box = thread.WaitBox();
  ASSERT_TRUE(box);
  HWND iconStatic = ::GetWindow(box, GW_CHILD);
  ASSERT_TRUE(iconStatic);
  EXPECT_EQ(icon, reinterpret_cast<HICON>(::SendMessageW(iconStatic, STM_GETICON, 0, 0)));
  thread.Close(IDOK);
}

TEST(TimedMessageBoxTest, EmptyItemTextShowsAPlainBox) {
  Call call;
  call.checked = {3};
  BoxThread thread(call);
  HWND box = thread.WaitBox();
  ASSERT_TRUE(box);
  EXPECT_TRUE(Items(box).empty());
  EXPECT_EQ(IDCANCEL, thread.Close(IDCANCEL));
  EXPECT_EQ((std::set<unsigned>{3}), thread.Checked());
}
