// The tray menu of the real Quillora.exe while items are highlighted: the
// delayed tooltip of an item, the pane blinking while "Clipboard History
// Pane" stays highlighted, and the menu brought up by a second start.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/tray_menu_probe.h"
#include "tests/support/test_support.h"

namespace {

constexpr wchar_t kPaneClass[] = L"QuilloraFloatPane";
constexpr wchar_t kTipClass[] = L"MenuToolTip";

class TrayMenuTipsE2eTest : public qlre2e::TrayMenuTest {
 protected:
  HWND VisibleTip() const {
    for (HWND tip : qlrtest::FindProcessWindows(child.Pid())) {
      wchar_t cls[32] = {};
      GetClassNameW(tip, cls, 32);
      if (std::wstring(cls) == kTipClass && IsWindowVisible(tip)) return tip;
    }
    return nullptr;
  }
  int VisibleMenus() const {
    int n = 0;
    for (HWND menu : qlrtest::FindProcessWindows(child.Pid())) {
      wchar_t cls[16] = {};
      GetClassNameW(menu, cls, 16);
      n += std::wstring(cls) == L"#32768" && IsWindowVisible(menu);
    }
    return n;
  }
  void Keys(std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) PostMessageW(tray, WM_KEYDOWN, key, 0);
  }
  // The highlighted item's tip shows after its delay and hides with the menu.
  void ExpectTipThenCloseMenu() {
    const DWORD start = GetTickCount();
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return VisibleTip() != nullptr; }, kProgramWaitMs, 10));
    EXPECT_GE(GetTickCount() - start, 400u);
    ASSERT_TRUE(CloseMenu());
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return VisibleTip() == nullptr; }, kProgramWaitMs));
  }
  // Whether the pane leaves the topmost band within the time: the blink
  // puts a collapsed pane at the bottom for a moment.
  bool PaneBlinks(HWND pane, DWORD ms) {
    return qlrtest::WaitUntil([&] { return !(GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_TOPMOST); }, ms, 2);
  }
};

TEST_F(TrayMenuTipsE2eTest, ItemTipComesAfterItsDelayAndGoesWithTheMenu) {
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP));
  EXPECT_EQ(VisibleTip(), nullptr);
  // Exit, Run As Administrator, About, then Check For Updates.
  Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
  ExpectTipThenCloseMenu();
  ExitTray();
}

TEST_F(TrayMenuTipsE2eTest, HistoryEntryGetsItsTipToo) {
  SetSetting(L"ClipboardHistory", L"1");
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_EQ(qlre2e::CopyFromPeer(L"entry for the tip"), 0);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=1"));
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP));
  // From the end: Enable Menu Of Phrases, Clipboard History Pane, Save
  // Phrase From Clipboard, the Clipboard History popup; into it, and up
  // from its first item to its last, the entry.
  Keys({VK_UP, VK_UP, VK_UP, VK_UP, VK_RIGHT});
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return VisibleMenus() == 2; }, kProgramWaitMs));
  Keys({VK_UP});
  ExpectTipThenCloseMenu();
  ExitTray();
}

TEST_F(TrayMenuTipsE2eTest, RestingOnTheHistoryPaneItemBlinksThePane) {
  SetSetting(L"ShowHistoryPaneOnStart", L"1");
  ASSERT_NE(StartTray(L""), nullptr);
  HWND pane = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    pane = qlrtest::FindProcessWindow(child.Pid(), kPaneClass);
    RECT r = {};
    return pane && GetWindowRect(pane, &r) && r.bottom - r.top < 40 &&
           (GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_TOPMOST);
  }, kProgramWaitMs));
  // Let the slide to the caption end.
  qlrtest::WaitUntil([] { return false; }, 1500);

  // Moved on at once: no blink.
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP));
  Keys({VK_UP, VK_UP, VK_UP});
  EXPECT_FALSE(PaneBlinks(pane, 2000));
  ASSERT_TRUE(CloseMenu());

  // Staying on it: the pane blinks.
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP));
  Keys({VK_UP, VK_UP});
  EXPECT_TRUE(PaneBlinks(pane, 4000));
  ASSERT_TRUE(CloseMenu());
  ExitTray();
}

TEST_F(TrayMenuTipsE2eTest, SecondStartWithShowMenuAndTheShowMenuEventBringTheMenuUp) {
  ASSERT_NE(StartTray(L""), nullptr);
  SetCursorPos(250, 180);
  qlrtest::ChildProcess second;
  ASSERT_TRUE(second.Start(dir.File(L"Quillora.exe"), L"/showmenu"));
  EXPECT_TRUE(WaitForMenu());
  second.Wait(kProgramWaitMs);
  ASSERT_TRUE(CloseMenu());
  // The show-menu event of the suite does the same.
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"{84F81BCD-0FC6-4782-B39F-C638F539FA14}");
  ASSERT_NE(event, nullptr);
  SetEvent(event);
  CloseHandle(event);
  EXPECT_TRUE(WaitForMenu());
  ASSERT_TRUE(CloseMenu());
  ExitTray();
}

}  // namespace
