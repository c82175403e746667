#include "phrases/menu/menu_tooltip.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_tracker.h"
#include "phrases/tests/menu_test_util.h"
#include "tests/support/test_support.h"

using namespace menutest;

namespace {

TEST(MenuToolTipTest, DestructionDoesNotWaitOutPendingDelays) {
  HWND owner = MakeMenuTipOwner();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 100, L"Item");
  AppendMenuW(menu, MF_STRING, 101, L"Other");
  CMenuToolTip* tip = new CMenuToolTip();
  ASSERT_TRUE(tip->Create(owner, nullptr, nullptr, 0, nullptr));
  for (UINT id : {100u, 101u, 100u}) tip->HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(menu));
  EXPECT_EQ(100u, tip->GetCurrentItem());
  EXPECT_GT(tip->GetPendingThreads(), 0);
  DWORD start = GetTickCount();
  delete tip;
  EXPECT_LT(GetTickCount() - start, 400u);
  DestroyMenu(menu);
  DestroyWindow(owner);
}

int g_forwarded = 0;

LRESULT CALLBACK CountingOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MENUSELECT) ++g_forwarded;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The tip arms its thread hook; outside a menu loop nothing passes a
// call-window hook (every send would be slow under Wine) and nothing is
// forwarded. Paused it is out of the way, and back afterwards unless its
// tip went meanwhile.
TEST(MenuToolTipTest, ThreadHookForwardsAndStepsAsideForOtherMenus) {
  HWND owner = MakeMenuTipOwner();
  SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingOwnerProc));
  HWND child = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  auto selectInChild = [&] {
    g_forwarded = 0;
    SendMessageW(child, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    return g_forwarded;
  };
  {
    CountingMenuTip tip;
    ASSERT_TRUE(tip.Create(owner, nullptr, nullptr, 0, nullptr));
    EXPECT_TRUE(IsMenuTipHookArmed());
    EXPECT_FALSE(IsMenuTipHookInstalled());
    EXPECT_EQ(0, selectInChild());
    {
      CMenuTipHookPause pause;
      EXPECT_FALSE(IsMenuTipHookArmed());
      {
        CMenuTipHookPause inner;
      }
      EXPECT_FALSE(IsMenuTipHookArmed());
    }
    EXPECT_TRUE(IsMenuTipHookArmed());
    {
      CMenuTipHookPause pause;
      tip.DestroyTip();
    }
    EXPECT_FALSE(IsMenuTipHookArmed());
    // A tip made while a pause lasts waits for its end.
    {
      CMenuTipHookPause pause;
      ASSERT_TRUE(tip.Create(owner, nullptr, nullptr, 0, nullptr));
      EXPECT_FALSE(IsMenuTipHookArmed());
    }
    EXPECT_TRUE(IsMenuTipHookArmed());
    EXPECT_FALSE(IsMenuTipHookInstalled());
  }
  EXPECT_FALSE(IsMenuTipHookArmed());
  DestroyWindow(owner);
}

// What the windows of a real child-tracked menu saw. Written on the test's
// thread; the counters are read by the thread that drives the menu.
constexpr UINT kMenuClosed = 0xFFFF;
struct ChildMenuLog {
  std::vector<UINT> forwarded;          // items of the WM_MENUSELECTs the owner got
  std::atomic<int> childSelects{0};     // WM_MENUSELECTs the child got...
  int childSelectsHooked = 0;           // ...with the call-window hook in place
  CMenuToolTip* tip = nullptr;
};
ChildMenuLog* g_menuLog = nullptr;

UINT SelectedItem(WPARAM wParam, LPARAM lParam) {
  return HIWORD(wParam) == 0xFFFF && !lParam ? kMenuClosed : LOWORD(wParam);
}

// The owner feeds its tip, as the tray window and the editor's frame do.
LRESULT CALLBACK TipOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_menuLog && msg == WM_MENUSELECT) {
    g_menuLog->forwarded.push_back(SelectedItem(wParam, lParam));
    g_menuLog->tip->HandleMenuSelect(msg, wParam, lParam);
  }
  if (g_menuLog && msg == WM_ENTERIDLE) g_menuLog->tip->HandleEnterIdle(msg, wParam, lParam);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MenuChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_menuLog && msg == WM_MENUSELECT) {
    g_menuLog->childSelectsHooked += IsMenuTipHookInstalled() ? 1 : 0;
    ++g_menuLog->childSelects;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND VisibleMenuOfThisProcess() {
  HWND w = nullptr;
  while ((w = FindWindowExW(nullptr, w, L"#32768", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

struct ShowingTip : CountingMenuTip {
  bool ShowAtOnce(UINT) override { return true; }
};

// A context menu tracked by a child of the owner: the call-window hook is
// not there before the menu, is put in by the loop's first message (so the
// selection that message makes already reaches the owner and its tip), is
// gone once the menu closed; a paused hook forwards nothing and the tip
// follows the next menu again.
TEST(MenuToolTipTest, ChildMenuIsForwardedOnlyWhileItsLoopRuns) {
  HWND owner = MakeMenuTipOwner();
  SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TipOwnerProc));
  WNDCLASSW wc = {};
  wc.lpfnWndProc = MenuChildProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrMenuTipChild";
  RegisterClassW(&wc);
  HWND child = CreateWindowW(wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, owner, nullptr,
                             wc.hInstance, nullptr);
  ASSERT_NE(child, nullptr);
  // Menus need a top-level window of their thread in the foreground.
  ShowWindow(owner, SW_SHOW);
  SetForegroundWindow(owner);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return GetForegroundWindow() == owner; }, 10000));

  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 100, L"First");
  AppendMenuW(menu, MF_STRING, 101, L"Second");
  ShowingTip tip;
  ASSERT_TRUE(tip.Create(owner, nullptr, nullptr, 0, nullptr));

  struct Round {
    bool paused;
    std::vector<UINT> forwarded;
    std::vector<UINT> asked;
  } rounds[] = {
      {false, {100, 101, kMenuClosed}, {100, 101}},
      {true, {}, {}},
      {false, {100, 101, kMenuClosed}, {100, 101}},
  };
  for (const Round& round : rounds) {
    SCOPED_TRACE(round.paused ? "paused" : "armed");
    ChildMenuLog log;
    log.tip = &tip;
    tip.asked.clear();
    std::unique_ptr<CMenuTipHookPause> pause(round.paused ? new CMenuTipHookPause() : nullptr);
    EXPECT_EQ(!round.paused, IsMenuTipHookArmed());
    EXPECT_FALSE(IsMenuTipHookInstalled());
    g_menuLog = &log;
    // Keys posted to the menu's thread, each once the last one's selection
    // came; the menu is closed whatever happened.
    std::atomic<bool> driven{false};
    std::thread driver([&] {
      bool ok = qlrtest::WaitUntil([] { return VisibleMenuOfThisProcess() != nullptr; }, 10000);
      for (int step = 1; ok && step <= 2; ++step) {
        PostMessageW(child, WM_KEYDOWN, VK_DOWN, 0);
        ok = qlrtest::WaitUntil([&] { return log.childSelects >= step; }, 10000);
      }
      driven = ok;
      for (int tries = 0; tries < 5 && VisibleMenuOfThisProcess(); ++tries) {
        PostMessageW(child, WM_KEYDOWN, VK_ESCAPE, 0);
        qlrtest::WaitUntil([] { return VisibleMenuOfThisProcess() == nullptr; }, 3000);
      }
    });
    POINT at = {20, 20};
    ClientToScreen(child, &at);
    TrackPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, 0, child, nullptr);
    driver.join();
    g_menuLog = nullptr;
    EXPECT_TRUE(driven);
    EXPECT_EQ(round.forwarded, log.forwarded);
    EXPECT_EQ(3, log.childSelects);
    EXPECT_EQ(round.paused ? 0 : 3, log.childSelectsHooked);
    EXPECT_EQ(round.asked, tip.asked);
    EXPECT_FALSE(IsMenuTipHookInstalled());
    EXPECT_EQ(!round.paused, IsMenuTipHookArmed());
    EXPECT_FALSE(IsWindowVisible(tip.GetTipWindow()));
    pause.reset();
    EXPECT_TRUE(IsMenuTipHookArmed());
    // Messages sent after the menu do not pass the hook any more.
    size_t before = log.forwarded.size();
    g_menuLog = &log;
    SendMessageW(child, WM_MENUSELECT, MAKEWPARAM(100, 0), reinterpret_cast<LPARAM>(menu));
    g_menuLog = nullptr;
    EXPECT_EQ(before, log.forwarded.size());
  }
  DestroyMenu(menu);
  DestroyWindow(owner);
}

TEST(MenuToolTipTest, OnlyTheItemWhereTheSelectionRestedIsShown) {
  HWND owner = MakeMenuTipOwner();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 100, L"Item");
  AppendMenuW(menu, MF_STRING, 101, L"Other");
  CountingMenuTip tip;
  ASSERT_TRUE(tip.Create(owner, nullptr, nullptr, 0, nullptr));
  tip.HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(100, 0), reinterpret_cast<LPARAM>(menu));
  tip.HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(101, 0), reinterpret_cast<LPARAM>(menu));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return tip.GetPendingThreads() == 0; }, 3000));
  qlrtest::PumpUntil([&] { return !tip.asked.empty(); }, 1000);
  EXPECT_EQ(std::vector<UINT>{101}, tip.asked);
  // Separators, popups, system commands and the closing notification clear it.
  struct Case {
    UINT item, flags;
    LPARAM menu;
  } cases[] = {{0, MF_SEPARATOR, 1}, {5, MF_POPUP, 1}, {SC_CLOSE, 0, 1}, {SC_MOVE, 0, 1}, {0, 0xFFFF, 0}};
  for (const Case& c : cases) {
    tip.HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(101, 0), reinterpret_cast<LPARAM>(menu));
    tip.HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(c.item, c.flags), c.menu == 1 ? reinterpret_cast<LPARAM>(menu) : 0);
    EXPECT_EQ(0u, tip.GetCurrentItem()) << c.item;
  }
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return tip.GetPendingThreads() == 0; }, 3000));
  DestroyMenu(menu);
  DestroyWindow(owner);
}

TEST(MenuToolTipTest, PhraseMenuTipTextsAndIcons) {
  CPhraseStore store;
  store.Nodes().push_back(Phrase(1, L"One", L"first phrase"));
  CPhraseMenuRequest request;
  request.store = &store;
  request.options = NoExtras();
  HMENU menu = CPhraseMenuBuilder(request).Build();
  ASSERT_TRUE(menu);
  GetMenuItemDataById(menu, 1)->expandedText = L"first phrase";
  CPhraseMenuToolTip tip;
  std::wstring text, title;
  EXPECT_TRUE(tip.GetItemText(text, 1, menu, title));
  EXPECT_EQ(L"One", title);
  EXPECT_EQ(0u, text.find(L"Insert plain text \u00BB One\nChars: 12\r\n\r\nfirst phrase"));
  text.clear();
  title.clear();
  // A search command of the right-click menu over the same record id.
  AppendMenuW(menu, MF_STRING, kCmdSearchGoogle, L"x");
  CMenuItemData* search = new CMenuItemData();
  search->expandedText = L"query";
  SetMenuItemData(menu, kCmdSearchGoogle, false, search);
  EXPECT_TRUE(tip.GetItemText(text, kCmdSearchGoogle, menu, title));
  EXPECT_EQ(L"Search In Google [query]", text);
  EXPECT_TRUE(title.empty());
  text.clear();
  EXPECT_TRUE(tip.GetItemText(text, kCmdCopyItem, menu, title));
  EXPECT_EQ(L"Copy As Plain Text", text);
  for (UINT id : {kCmdSupport, kCmdSearchGoogle, kCmdSearchYandex, kCmdSearchMsdn, kCmdSearchWikipedia, 1u})
    EXPECT_TRUE(tip.GetItemIcon(id)) << id;
  EXPECT_NE(tip.GetItemIcon(kCmdSearchGoogle), tip.GetItemIcon(kCmdSearchYandex));
  FreeMenuItemData(menu);
  DestroyMenu(menu);

  for (UINT sys : {SC_SIZE, SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE, SC_RESTORE}) EXPECT_TRUE(tip.IsSysCommandId(sys));
  EXPECT_FALSE(tip.IsSysCommandId(SC_KEYMENU));
  EXPECT_FALSE(tip.IsSysCommandId(1));
  EXPECT_EQ(L"Visit to support form on official web site", GetCommandToolTip(kCmdSupport));
}

TEST(MenuTrackerTest, ActionCodesAndScreenEdges) {
  struct Code {
    UINT command;
    int code;
  } codes[] = {{32797, 0}, {32806, 1}, {32828, 2}, {32846, 3}, {32834, 4}, {32835, 5}, {32836, 6}, {32837, 7},
               {0, -1},    {32848, -1}};
  for (const Code& c : codes) EXPECT_EQ(c.code, RightMenuActionCode(c.command)) << c.command;

  struct Edge {
    RECT in;
    bool moved;
    RECT out;
  } edges[] = {
      {{10, 10, 110, 60}, false, {10, 10, 110, 60}},
      {{950, 10, 1100, 60}, true, {950, 10, 1024, 60}},        // narrower at the right edge
      {{10, 740, 110, 800}, true, {10, 708, 110, 768}},        // moved up with its full height
      {{950, 740, 1100, 800}, true, {950, 708, 1024, 768}},
  };
  for (const Edge& e : edges) {
    RECT r = e.in;
    EXPECT_EQ(e.moved, CMenuTracker::KeepOnScreen(r, 1024, 768));
    EXPECT_TRUE(EqualRect(&r, &e.out)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST(MenuToolTipTest, MenuHelpers) {
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(InsertMenuStringItem(menu, L"a", 10, 0));
  ASSERT_TRUE(InsertMenuStringItem(menu, L"b", 11, 1));
  ASSERT_TRUE(InsertMenuStringItem(menu, L"c", 10, 2));
  ASSERT_TRUE(InsertMenuStringItem(menu, L"first", 12, 0));
  EXPECT_EQ(1, FindMenuItemPosById(menu, 10));
  EXPECT_EQ(3, FindMenuItemPosFromEnd(10, menu));
  EXPECT_EQ(0, FindMenuItemPosById(menu, 12));
  EXPECT_EQ(-1, FindMenuItemPosById(menu, 99));
  EXPECT_EQ(-1, FindMenuItemPosFromEnd(99, menu));
  DestroyMenu(menu);
}

}  // namespace
