#include "tray/menu/tray_menu_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray/menu/tray_menu_ids.h"

namespace {

// The tray menu's first popup, loaded from the program's menu resource.
class TrayMenuStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayMenuResource));
    ASSERT_NE(bar, nullptr);
    menu = GetSubMenu(bar, 0);
    ASSERT_NE(menu, nullptr);
  }
  void TearDown() override { DestroyMenu(bar); }
  UINT State(UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND); }
  bool Checked(UINT id) { return (State(id) & MF_CHECKED) != 0; }
  bool Grayed(UINT id) { return (State(id) & MF_GRAYED) != 0; }
  std::wstring Text(HMENU m, UINT item, UINT flags) {
    wchar_t text[256] = {};
    GetMenuStringW(m, item, text, 256, flags);
    return text;
  }
  // "depth:id caption", "depth:-" for a separator, "depth:> caption" for a popup.
  void Flatten(HMENU m, int depth, std::vector<std::wstring>& out) {
    for (int pos = 0; pos < GetMenuItemCount(m); ++pos) {
      std::wstring line = std::to_wstring(depth) + L":";
      HMENU sub = GetSubMenu(m, pos);
      UINT id = GetMenuItemID(m, pos);
      if (sub) {
        out.push_back(line + L"> " + Text(m, pos, MF_BYPOSITION));
        Flatten(sub, depth + 1, out);
      } else if (GetMenuState(m, pos, MF_BYPOSITION) & MF_SEPARATOR) {
        out.push_back(line + L"-");
      } else {
        out.push_back(line + std::to_wstring(id) + L" " + Text(m, pos, MF_BYPOSITION));
      }
    }
  }

  HMENU bar = nullptr;
  HMENU menu = nullptr;
};

TEST_F(TrayMenuStateTest, ResourceHoldsEveryCommandInMenuOrder) {
  std::vector<std::wstring> items;
  Flatten(menu, 0, items);
  const std::vector<std::wstring> expected = {
      L"0:57665 E&xit", L"0:32829 Run As Administrator", L"0:-",
      L"0:57664 &About Quillora\u2026", L"0:32791 Check For Updates", L"0:-",
      L"0:> Help", L"1:32781 Visit To Web Site", L"1:32823 Visit To Quick Start", L"1:-",
      L"1:32782 Visit To Forum", L"1:32825 Visit to F.A.Q.", L"1:32790 RSS Feed", L"1:32818 Video",
      L"1:32831 Community Group", L"1:-", L"1:32783 Email To Us", L"1:32784 Support",
      L"0:> Language", L"1:32776 How To Localize Quillora?",
      L"0:32832 Welcome To Quillora", L"0:-",
      L"0:32774 Start With Windows", L"0:32772 Edit Phrases\\Settings\u2026",
      L"0:> Quick Settings", L"1:32817 Sounds", L"1:32815 Wrte Log", L"1:32816 Menu On Mouse Event",
      L"1:32827 History Panel On Start", L"1:-", L"1:32775 Reread Phrases", L"1:32830 Open Settings File",
      L"0:> Clipboard History", L"1:32786 Keep", L"1:32819 Re-Keep", L"1:32809 Save On Exit", L"1:-",
      L"1:32789 Clear",
      L"0:32785 Save Phrase From Clipboard", L"0:-", L"0:32792 Clipboard History Pane",
      L"0:32770 Enable Menu Of Phrases"};
  EXPECT_EQ(items, expected);
}

TEST_F(TrayMenuStateTest, StateChecksEnablesAndCaptionsAndStaysTheSameWhenAppliedAgain) {
  TrayMenuState on;
  on.servicesOn = on.autoStart = on.sounds = on.logOpen = on.paneOnStart = on.saveHistoryOnExit = true;
  on.clipboardHasText = on.historyRunning = true;
  on.isAdmin = false;
  on.delaySeconds = 45;
  on.enabledNodes = 3;
  on.totalNodes = 7;
  on.historyCount = 2;
  on.historyMax = 100000;
  for (int round = 0; round < 2; ++round) {
    ApplyTrayMenuState(menu, on);
    for (UINT id : {32770u, 32774u, 32817u, 32815u, 32827u, 32809u, 32786u}) EXPECT_TRUE(Checked(id)) << id;
    for (UINT id : {32785u, 32819u, 32789u, 32829u}) EXPECT_FALSE(Grayed(id)) << id;
    EXPECT_TRUE(Grayed(32816));
    EXPECT_FALSE(Checked(32816));
    EXPECT_EQ(GetMenuCommandText(menu, 32774), L"Start With Windows (+45sec)");
    EXPECT_EQ(GetMenuCommandText(menu, 32775), L"Reread Phrases [3/7]");
    HMENU parent = nullptr;
    int pos = -1;
    ASSERT_NE(FindSubmenuWithCommand(menu, 32786, &parent, &pos), nullptr);
    EXPECT_EQ(parent, menu);
    EXPECT_EQ(Text(parent, pos, MF_BYPOSITION), L"Clipboard History [2/100000]");
    EXPECT_TRUE(GetMenuState(parent, pos, MF_BYPOSITION) & MF_CHECKED);
  }
  TrayMenuState off;
  off.isAdmin = true;
  ApplyTrayMenuState(menu, off);
  for (UINT id : {32770u, 32774u, 32817u, 32815u, 32827u, 32809u, 32786u}) EXPECT_FALSE(Checked(id)) << id;
  for (UINT id : {32785u, 32819u, 32789u, 32829u, 32816u}) EXPECT_TRUE(Grayed(id)) << id;
  // No delay: the kept menu drops the one it showed.
  EXPECT_EQ(GetMenuCommandText(menu, 32774), L"Start With Windows");
  EXPECT_EQ(GetMenuCommandText(menu, 32775), L"Reread Phrases [0/0]");
  // A menu without these commands (a popup of another menu) is left alone.
  HMENU other = CreatePopupMenu();
  AppendMenuW(other, MF_STRING, 1, L"One");
  ApplyTrayMenuState(other, on);
  EXPECT_EQ(GetMenuItemCount(other), 1);
  DestroyMenu(other);
}

TEST(TrayMenuCaptionTest, CountsReplaceAnOldCountAndDelaysAnOldDelay) {
  struct Case {
    const wchar_t* caption;
    const wchar_t* expected;
  } counts[] = {{L"Reread Phrases", L"Reread Phrases [1/2]"},
                {L"Reread Phrases [9/9]", L"Reread Phrases [1/2]"},
                {L"Reread [old] Phrases", L"Reread [1/2]"},
                {L"[", L" [1/2]"},
                {L"", L" [1/2]"}};
  for (const Case& c : counts) EXPECT_EQ(CaptionWithCounts(c.caption, 1, 2), c.expected) << c.caption;
  EXPECT_EQ(CaptionWithDelay(L"Start", 30), L"Start (+30sec)");
  EXPECT_EQ(CaptionWithDelay(L"Start (+30sec)", 600), L"Start (+600sec)");
  EXPECT_EQ(CaptionWithDelay(L"Start", 0), L"Start");
  EXPECT_EQ(CaptionWithDelay(L"Start (+30sec)", 0), L"Start");
}

TEST_F(TrayMenuStateTest, LanguageSubmenuListsAtMostItsIdRange) {
  HMENU parent = nullptr;
  HMENU languages = FindSubmenuWithCommand(menu, ID_TRAY_LOCALIZE_HOWTO, &parent, nullptr);
  ASSERT_NE(languages, nullptr);
  EXPECT_EQ(FillLanguageSubmenu(menu, {}, L""), 0);
  EXPECT_EQ(GetMenuItemCount(languages), 1);

  std::vector<std::wstring> list = {L""};
  for (int i = 0; i < 70; ++i) list.push_back(L"Lang" + std::to_wstring(i) + L".lng");
  EXPECT_EQ(FillLanguageSubmenu(menu, list, L"Lang3.lng"), kLanguageMaxEntries);
  // Filled again for the next opening: the list is not appended twice.
  EXPECT_EQ(FillLanguageSubmenu(menu, list, L"Lang3.lng"), kLanguageMaxEntries);
  ASSERT_EQ(GetMenuItemCount(languages), 2 + kLanguageMaxEntries);
  EXPECT_EQ(GetMenuItemID(languages, 0), ID_TRAY_LOCALIZE_HOWTO);
  EXPECT_TRUE(GetMenuState(languages, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(languages, 2), kLanguageFirstId);
  EXPECT_EQ(GetMenuItemID(languages, 1 + kLanguageMaxEntries), kLanguageLastId);
  EXPECT_EQ(Text(languages, kLanguageFirstId + 4, MF_BYCOMMAND), L"Lang3");
  EXPECT_TRUE(GetMenuState(languages, kLanguageFirstId + 4, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu, kLanguageLastId + 1, MF_BYCOMMAND), static_cast<UINT>(-1));
}

}  // namespace
