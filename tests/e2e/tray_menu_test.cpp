// The tray menu of the real Quillora.exe: opened from the icon, filled with
// the program's state and languages, reopened in a new language, and
// putting a history pane that left the screen back on it.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_menu_probe.h"
#include "tests/support/test_support.h"

namespace {

using qlre2e::MenuDump;
using qlre2e::MenuItemDump;

constexpr UINT kExit = 57665;
constexpr UINT kShowMenuInFront = 32788;

class TrayMenuE2eTest : public qlre2e::TrayMenuTest {};

TEST_F(TrayMenuE2eTest, IconClicksOpenTheMenuAtTheCursorAndItsChoiceIsCarriedOut) {
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  const LPARAM openers[] = {WM_RBUTTONUP, WM_LBUTTONUP, 0x405};
  int x = 120;
  for (LPARAM mouse : openers) {
    ASSERT_TRUE(ClickIcon(mouse, x, 140)) << mouse;
    RECT r = {};
    GetWindowRect(MenuWindow(), &r);
    EXPECT_EQ(r.left, x) << mouse;
    EXPECT_EQ(r.top, 140) << mouse;
    ASSERT_TRUE(CloseMenu());
    EXPECT_TRUE(WaitForLog(L"_OnWmTrayEvent lParam=" + std::to_wstring(mouse)));
    EXPECT_TRUE(WaitForLog(L"DisplayTrayMenuWithPoint x=" + std::to_wstring(x) + L" y=140 bLoad=1, bPOPUP=0"));
    x += 40;
  }
  // Other notifications of the icon open nothing.
  PostMessageW(tray, qlre2e::kTrayNotify, qlre2e::kTrayIconId, WM_MOUSEMOVE);
  ASSERT_TRUE(WaitForLog(L"_OnWmTrayEvent lParam=512"));
  EXPECT_EQ(MenuWindow(), nullptr);
  // The command without an item and the show-menu request open it too.
  SetCursorPos(300, 200);
  PostMessageW(tray, WM_COMMAND, qlre2e::kShowTrayMenuCommand, 0);
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(CloseMenu());
  PostMessageW(tray, kShowMenuInFront, 0, 0);
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(CloseMenu());
  EXPECT_TRUE(WaitForLog(L"DisplayTrayMenuWithPoint x=300 y=200"));

  // The first item chosen by keys is Exit: the program ends as asked.
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP));
  PostMessageW(tray, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(tray, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(child.Wait(kProgramWaitMs), 0);
  EXPECT_NE(LogText().find(L"bPOPUP=57665"), std::wstring::npos) << qlrtest::ToUtf8(LogText());
}

TEST_F(TrayMenuE2eTest, ChecksEnablesAndCaptionsFollowTheProgramsState) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  CopyLibrary();
  ASSERT_TRUE(qlre2e::WritePhrase(dir.File(L"Phrases\\One.quillora"), L"One", L"one", 1));
  SetSetting(L"SoundOnEventsV094", L"0");
  SetSetting(L"ShowHistoryPaneOnStart", L"0");
  SetSetting(L"SaveClipboardHistory_v198", L"1");
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"DelayAutoLoadSeconds_NextRelease", L"-5");
  ASSERT_TRUE(qlrtest::PutClipboardText(L"text on the clipboard"));
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=1")) << qlrtest::ToUtf8(LogText());

  MenuDump menu = OpenAndRead();
  ASSERT_NE(menu.Find(kExit), nullptr) << qlrtest::ToUtf8(LogText());
  EXPECT_EQ(menu.Find(kExit)->caption, L"E&xit");
  struct Expected {
    UINT id;
    bool checked;
    bool disabled;
  } expected[] = {
      {32770, true, false},  // the services run
      {32817, false, false}, {32827, false, false}, {32809, true, false},
      {32816, false, true},  {32819, false, false},  // the history runs
      {32785, false, false},                          // text on the clipboard
      {32789, false, false},  {32792, false, false}, {32791, true, false},
      {32829, false, IsUserAnAdmin() != FALSE},
  };
  for (const Expected& e : expected) {
    const MenuItemDump* item = menu.Find(e.id);
    ASSERT_NE(item, nullptr) << e.id;
    EXPECT_EQ(item->Has(L'C'), e.checked) << e.id << " " << qlrtest::ToUtf8(item->flags);
    EXPECT_EQ(item->Has(L'G'), e.disabled) << e.id << " " << qlrtest::ToUtf8(item->flags);
  }
  EXPECT_TRUE(menu.Find(32772)->Has(L'D'));
  EXPECT_EQ(menu.Find(32831)->caption, L"Community Group");
  // A negative delay is read as the longest one.
  EXPECT_EQ(menu.Find(32774)->caption, L"Start With Windows (+600sec)");
  EXPECT_EQ(menu.Find(32775)->caption, L"Reread Phrases [1/1]");
  const MenuItemDump* history = menu.FindPopup(L"Clipboard History");
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->caption, L"Clipboard History [1/30]");
  EXPECT_TRUE(history->Has(L'C'));
  EXPECT_TRUE(menu.Find(32786)->Has(L'C'));
  ASSERT_NE(menu.Find(34000), nullptr);
  EXPECT_EQ(menu.Find(34000)->caption, L" text on the clipboard");
  EXPECT_TRUE(menu.Find(34000)->Has(L'D'));  // what the clipboard holds now
  // The built-in language is listed and current.
  ASSERT_NE(menu.Find(33000), nullptr);
  EXPECT_EQ(menu.Find(33000)->caption, L"English (Embedded)");
  EXPECT_TRUE(menu.Find(33000)->Has(L'C'));

  // Opened again: the counts are replaced, not added to.
  menu = OpenAndRead();
  EXPECT_EQ(menu.Find(32775)->caption, L"Reread Phrases [1/1]");
  EXPECT_EQ(menu.FindPopup(L"Clipboard History")->caption, L"Clipboard History [1/30]");
  EXPECT_EQ(menu.CountIds(34000, 34099), 1u);
  // The kept menu keeps its own separator before "Clear" at every opening.
  const std::vector<MenuItemDump> historyItems = menu.Children(menu.FindPopup(L"Clipboard History"));
  size_t clear = 0;
  while (clear < historyItems.size() && historyItems[clear].id != 32789) ++clear;
  ASSERT_LT(clear, historyItems.size());
  ASSERT_GT(clear, 0u);
  EXPECT_TRUE(historyItems[clear - 1].Has(L'S'));
  // A start delay set to 0 takes the suffix off the kept caption (the
  // settings are read again when an editor ends).
  SetSetting(L"DelayAutoLoadSeconds_NextRelease", L"0");
  ASSERT_EQ(SendMessageW(tray, 32774, 0, 0), 1);
  menu = OpenAndRead();
  ASSERT_NE(menu.Find(32774), nullptr);
  EXPECT_EQ(menu.Find(32774)->caption, L"Start With Windows");

  // No text on the clipboard, no history, no services.
  ASSERT_TRUE(qlrtest::WaitUntil([] {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    CloseClipboard();
    return true;
  }));
  ASSERT_EQ(SendMessageW(tray, WM_COMMAND, 32786, 0), 0);
  ASSERT_EQ(SendMessageW(tray, WM_COMMAND, 32770, 0), 0);
  menu = OpenAndRead();
  ASSERT_NE(menu.Find(32770), nullptr);
  EXPECT_FALSE(menu.Find(32770)->Has(L'C'));
  EXPECT_TRUE(menu.Find(32785)->Has(L'G'));
  EXPECT_TRUE(menu.Find(32819)->Has(L'G'));
  EXPECT_FALSE(menu.Find(32786)->Has(L'C'));
  EXPECT_FALSE(menu.FindPopup(L"Clipboard History")->Has(L'C'));
  EXPECT_EQ(menu.CountIds(34000, 34099), 0u);
  ExitTray();
}

TEST_F(TrayMenuE2eTest, LanguageEntryIsStoredAndTheMenuReopensInItAtTheSamePlace) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"Deutsch.lng"),
                                      L"[Main]\r\nLangPrefix=de\r\nLangLocalized=Deutsch\r\n"
                                      L"[Menu_Client]\r\nExit=Beenden\r\nCommunity_Group=Gemeinschaft\r\n"));
  // More files than the list takes, some with odd names.
  for (int i = 0; i < 55; ++i) {
    std::wstring name = L"L" + std::to_wstring(100 + i) + (i % 2 ? L" & ; [x].lng" : L".lng");
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(name), L"[Main]\r\nLangPrefix=xx\r\n"));
  }
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP, 260, 120));
  MenuDump before = Dump();
  ASSERT_TRUE(CloseMenu());
  EXPECT_EQ(before.CountIds(33000, 33099), 50u);
  EXPECT_EQ(before.CountIds(33050, 33099), 0u);
  ASSERT_NE(before.Find(33001), nullptr);
  EXPECT_EQ(before.Find(33001)->caption, L"Deutsch");
  EXPECT_EQ(before.Find(33002)->caption, L"L100");
  EXPECT_EQ(before.Find(33003)->caption, L"L101 & ; [x]");

  // Chosen with the cursor elsewhere: back at the click's place.
  SetCursorPos(500, 400);
  PostMessageW(tray, WM_COMMAND, 33001, 0);
  ASSERT_TRUE(WaitForMenu());
  MenuDump after = Dump();
  ASSERT_TRUE(CloseMenu());
  EXPECT_EQ(Setting(L"Language"), L"Deutsch.lng");
  ASSERT_NE(after.Find(kExit), nullptr);
  EXPECT_EQ(after.Find(kExit)->caption, L"Beenden");
  EXPECT_EQ(after.Find(32831)->caption, L"Gemeinschaft");
  EXPECT_TRUE(after.Find(33001)->Has(L'C'));
  EXPECT_FALSE(after.Find(33000)->Has(L'C'));
  EXPECT_EQ(after.window.left, before.window.left);
  EXPECT_EQ(after.window.top, before.window.top);

  // What changed on disk shows at the next opening: the language file's
  // texts, a listed file's name, a file added to the folder (listed first).
  ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"Deutsch.lng"),
                                      L"[Main]\r\nLangPrefix=de\r\nLangLocalized=Deutsch (neu)\r\n"
                                      L"[Menu_Client]\r\nExit=Verlassen\r\n"));
  ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"A000.lng"), L"[Main]\r\nLangPrefix=aa\r\nLangLocalized=Afar\r\n"));
  ASSERT_TRUE(ClickIcon(WM_RBUTTONUP, 260, 120));
  after = Dump();
  ASSERT_TRUE(CloseMenu());
  ASSERT_NE(after.Find(kExit), nullptr);
  EXPECT_EQ(after.Find(kExit)->caption, L"Verlassen");
  ASSERT_NE(after.Find(33002), nullptr);
  EXPECT_EQ(after.Find(33001)->caption, L"Afar");
  EXPECT_EQ(after.Find(33002)->caption, L"Deutsch (neu)");
  EXPECT_TRUE(after.Find(33002)->Has(L'C'));

  // Back to the built-in language.
  PostMessageW(tray, WM_COMMAND, 33000, 0);
  ASSERT_TRUE(WaitForMenu());
  after = Dump();
  ASSERT_TRUE(CloseMenu());
  EXPECT_NE(Setting(L"Language"), L"Deutsch.lng");
  ASSERT_NE(after.Find(kExit), nullptr);
  // The built-in language's file is LocalizeExample.lng, which gathered
  // the English text without its mnemonic: no translation, so the item
  // keeps its own text.
  EXPECT_EQ(after.Find(kExit)->caption, L"E&xit");
  ExitTray();
}

TEST_F(TrayMenuE2eTest, PaneBeyondTheRightEdgeIsPutBackWhenTheMenuOpens) {
  SetSetting(L"ShowHistoryPaneOnStart", L"1");
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  HWND pane = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return (pane = qlrtest::FindProcessWindow(child.Pid(), L"QuilloraFloatPane")); },
      kProgramWaitMs));
  const int screen = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  RECT r = {};
  // The pane slides to its caption after its start; let it settle first.
  qlrtest::WaitUntil([&] {
    RECT now = {};
    GetWindowRect(pane, &now);
    bool still = EqualRect(&now, &r) != FALSE;
    r = now;
    return still;
  }, 5000, 300);
  const int width = r.right - r.left;
  ASSERT_TRUE(SetWindowPos(pane, nullptr, screen - width / 2, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  MenuDump menu = OpenAndRead();
  ASSERT_NE(menu.Find(32792), nullptr);
  EXPECT_TRUE(menu.Find(32792)->Has(L'C'));
  EXPECT_TRUE(WaitForLog(L"Correct pos float pane from menu updating"));
  GetWindowRect(pane, &r);
  EXPECT_EQ(r.right, screen - 5);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(r.right - r.left, width);
  // Now on the screen: the next opening finds it right.
  OpenAndRead();
  EXPECT_TRUE(WaitForLog(L"Well,well, float pane pos is correctly"));
  ExitTray();
}

}  // namespace
