#include "phrases/menu/menu_builder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/logging/log.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/tests/menu_test_util.h"
#include "tests/support/test_support.h"

using namespace menutest;

namespace {

// Builds and owns one menu.
struct Built {
  explicit Built(CPhraseMenuRequest& request) : menu(CPhraseMenuBuilder(request).Build()) {}
  ~Built() {
    if (menu) {
      FreeMenuItemData(menu);
      DestroyMenu(menu);
    }
  }
  HMENU Sub(int position) const { return GetSubMenu(menu, position); }
  HMENU menu;
};

void FillTree(CPhraseStore& store) {
  auto& nodes = store.Nodes();
  nodes.push_back(Phrase(1, L"One", L"one"));
  std::vector<CPhraseNode> a;
  a.push_back(Phrase(3, L"Three", L"three"));
  a.push_back(Phrase(4, L"Four", L"four"));
  nodes.push_back(Folder(L"A", std::move(a)));
  nodes.push_back(Phrase(2, L"Two", L"two"));
  std::vector<CPhraseNode> b;
  b.push_back(Phrase(6, L"Six", L"six"));
  b.back().enabled = false;
  nodes.push_back(Folder(L"B", std::move(b)));
  std::vector<CPhraseNode> d;
  d.push_back(Phrase(5, L"Five", L"five"));
  std::vector<CPhraseNode> c;
  c.push_back(Folder(L"D", std::move(d)));
  nodes.push_back(Folder(L"C", std::move(c)));
}

TEST(MenuBuilderTest, TreeSectionPhrasesFirstThenFoldersWithoutEmptyOnes) {
  CPhraseStore store;
  FillTree(store);
  CPhraseMenuRequest request;
  request.store = &store;
  request.options = NoExtras();
  Built built(request);
  ASSERT_TRUE(built.menu);
  EXPECT_EQ(L"1 2 - [A] [C]", Outline(built.menu));
  EXPECT_EQ(L"3 4", Outline(built.Sub(3)));
  EXPECT_EQ(L"[D]", Outline(built.Sub(4)));
  EXPECT_EQ(L"5", Outline(GetSubMenu(built.Sub(4), 0)));
  // Every item is owner-drawn and carries its record.
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  for (int i = 0; i < GetMenuItemCount(built.menu); ++i) {
    ASSERT_TRUE(GetMenuItemInfoW(built.menu, i, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
    EXPECT_TRUE(GetMenuItemDataByPos(built.menu, i)) << i;
  }
  CMenuItemData* folder = GetMenuItemDataByPos(built.menu, 3);
  EXPECT_TRUE(folder->IsPopup());
  EXPECT_STREQ(L"A", folder->GetCaption());
  EXPECT_EQ(1u, GetMenuItemDataById(built.menu, 2)->position);
}

TEST(MenuBuilderTest, SeparatorsNeverDoubledLeadingOrTrailing) {
  struct Case {
    std::vector<std::uint32_t> flags;  // FlagsMenu of phrases 1, 2, 3
    const wchar_t* outline;
  } cases[] = {
      {{2, 1, 0}, L"1 - 2 3"},  // after the first and before the second: one separator
      {{1, 0, 0}, L"1 2 3"},    // before the first item of a menu: none
      {{0, 0, 2}, L"1 2 3"},    // after the last: removed with the tail
      {{3, 3, 3}, L"1 - 2 - 3"},
  };
  for (const Case& c : cases) {
    CPhraseStore store;
    for (std::uint32_t i = 0; i < 3; ++i) {
      store.Nodes().push_back(Phrase(i + 1, L"P", L"p"));
      store.Nodes().back().flagsMenu = c.flags[i];
    }
    CPhraseMenuRequest request;
    request.store = &store;
    request.options = NoExtras();
    Built built(request);
    EXPECT_EQ(c.outline, Outline(built.menu)) << c.outline;
  }
}

TEST(MenuBuilderTest, DuplicatesGrayedItemsAndEmptyMenus) {
  CPhraseStore store;
  store.Nodes().push_back(Phrase(7, L"Seven", L"x"));
  store.Nodes().push_back(Phrase(7, L"Seven again", L"y"));
  store.Nodes().push_back(Phrase(8, L"Needs selection", L"%SELECTED_TEXT%"));
  store.Nodes().back().disabledIsNoHasSelection = true;
  CPhraseMenuRequest request;
  request.store = &store;
  request.options = NoExtras();
  {
    Built built(request);
    EXPECT_EQ(L"7 ~8", Outline(built.menu));
    EXPECT_STREQ(L"Seven", GetMenuItemDataById(built.menu, 7)->GetCaption());
  }
  request.hasSelection = true;
  request.texts.selectedText = L"sel";
  {
    Built built(request);
    EXPECT_EQ(L"7 8", Outline(built.menu));
  }
  // Everything excluded, no history, no fixed commands: no menu at all.
  for (CPhraseNode& node : store.Nodes()) node.enabled = false;
  Built empty(request);
  EXPECT_FALSE(empty.menu);
}

TEST(MenuBuilderTest, LastUsedSectionDropsPhrasesThatAreGone) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(InitLog(dir.File(L"log.txt").c_str()));
  CPhraseStore store;
  std::vector<CPhraseNode> children;
  children.push_back(Phrase(1, L"One", L"one"));
  children.push_back(Phrase(5, L"Five", L"five"));
  store.Nodes().push_back(Folder(L"F", std::move(children)));
  std::vector<std::uint32_t> lastUsed = {5, 99, static_cast<std::uint32_t>(-2), 1};
  CPhraseMenuRequest request;
  request.store = &store;
  request.lastUsed = &lastUsed;
  request.lastUsedId = 5;
  request.options = NoExtras();
  request.options.addLastUsedToBegin = true;
  Built built(request);
  EXPECT_EQ(L"5 1 -Other commands- [F]", Outline(built.menu));
  EXPECT_EQ((std::vector<std::uint32_t>{5, static_cast<std::uint32_t>(-2), 1}), lastUsed);
  CMenuItemData* first = GetMenuItemDataByPos(built.menu, 0);
  CMenuItemData* second = GetMenuItemDataByPos(built.menu, 1);
  EXPECT_EQ(0, first->lastUsedIndex);
  EXPECT_EQ(1u, first->highlight);
  EXPECT_EQ(1, second->lastUsedIndex);
  EXPECT_EQ(1u, second->position);
  EXPECT_EQ(0u, second->highlight);
  // The folder holding the last used phrase is highlighted too.
  EXPECT_EQ(1u, GetMenuItemDataByPos(built.menu, 3)->highlight);
  WaitLogWritten(5000);
  TermLog();
  std::string log = qlrtest::ReadBytes(dir.File(L"log.txt"));
  std::wstring wide = qlrtest::ReadUtf16File(dir.File(L"log.txt"));
  EXPECT_TRUE(wide.find(L"last used phrase 99 no longer exists") != std::wstring::npos ||
              log.find("last used phrase 99 no longer exists") != std::string::npos);
}

TEST(MenuBuilderTest, LastUsedSectionLeavesExcludedPhrasesOut) {
  CPhraseStore store;
  store.Nodes().push_back(Phrase(1, L"One", L"one"));
  store.Nodes().push_back(Phrase(2, L"Two", L"two"));
  store.Nodes().back().enabled = false;
  std::vector<std::uint32_t> lastUsed = {2, 1};
  CPhraseMenuRequest request;
  request.store = &store;
  request.lastUsed = &lastUsed;
  request.options = NoExtras();
  request.options.addLastUsedToBegin = true;
  {
    Built built(request);
    EXPECT_EQ(L"1", Outline(built.menu));
    EXPECT_EQ(0, GetMenuItemDataById(built.menu, 1)->lastUsedIndex);
  }
  // Still remembered: included again, it is back in its place.
  EXPECT_EQ((std::vector<std::uint32_t>{2, 1}), lastUsed);
  store.Nodes().back().enabled = true;
  Built again(request);
  EXPECT_EQ(L"2 1", Outline(again.menu));
}

TEST(MenuBuilderTest, HistorySectionLabelsLimitsAndMoreHistory) {
  struct Case {
    int entries;
    int max;
    bool subMenu;
    const wchar_t* label;
    int inline_;     // entries directly in the target menu
    int more;        // entries in "More History" (-1 none)
    const wchar_t* popupCaption;
  } cases[] = {
      {20, 0, false, L"Clipboard History [20/20]", 15, 5, L"More History [5]\u2026"},
      {25, 10, false, L"Clipboard History [10/25]", 10, -1, nullptr},
      {16, 0, false, L"Clipboard History [16/16]", 15, 1, L"More History [1]\u2026"},
      {25, 0, true, L"Clipboard History [25/25]", 25, -1, L"Clipboard History [25]"},
      {25, 10, true, L"Clipboard History [10/25]", 10, -1, L"Clipboard History [10\\25]"},
  };
  for (const Case& c : cases) {
    CPhraseStore store;
    store.Nodes().push_back(Phrase(1, L"One", L"one"));
    FakeHistory history(c.entries);
    CPhraseMenuRequest request;
    request.store = &store;
    request.history = &history;
    request.options = NoExtras();
    request.options.insertHistory = true;
    request.options.maxHistoryItems = c.max;
    request.options.historyAsSubMenu = c.subMenu;
    Built built(request);
    std::vector<Item> items = Items(built.menu);
    ASSERT_GE(items.size(), 3u) << c.label;
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(c.label, items[1].caption);
    HMENU target = built.menu;
    int first = 2;
    if (c.subMenu) {
      ASSERT_TRUE(items[2].popup);
      EXPECT_EQ(c.popupCaption, items[2].caption);
      EXPECT_EQ(1u, GetMenuItemDataByPos(built.menu, 2)->historyFlag);
      target = built.Sub(2);
      first = 0;
    }
    std::vector<Item> listed = Items(target);
    ASSERT_EQ(static_cast<size_t>(first + c.inline_ + (c.more >= 0 ? 1 : 0)), listed.size()) << c.label;
    for (int i = 0; i < c.inline_; ++i) EXPECT_EQ(kHistoryFirstId + i, listed[first + i].id);
    if (c.more >= 0) {
      const Item& more = listed.back();
      EXPECT_TRUE(more.popup);
      EXPECT_EQ(c.popupCaption, more.caption);
      HMENU moreMenu = GetSubMenu(target, static_cast<int>(listed.size()) - 1);
      ASSERT_EQ(c.more, GetMenuItemCount(moreMenu));
      EXPECT_EQ(kHistoryFirstId + 15, GetMenuItemID(moreMenu, 0));
      EXPECT_EQ(15u, GetMenuItemDataById(moreMenu, kHistoryFirstId + 15)->position);
    }
  }
}

TEST(MenuBuilderTest, HistoryEntryRecordsTooltipsAndCaches) {
  FakeHistory history;
  history.Add(L"  first line\r\nsecond line  ");
  history.Add(L"{\\rtf1 x}", true);
  history.entries[1].url = L"http://example.org/a";
  history.entries[1].text = L"formatted";
  CPhraseMenuRequest request;
  request.history = &history;
  request.options = NoExtras();
  request.options.insertHistory = true;
  Built built(request);
  // Without phrases there is no label above the entries.
  EXPECT_EQ(L"2000 2001", Outline(built.menu));
  CMenuItemData* text = GetMenuItemDataById(built.menu, 2000);
  CMenuItemData* rtf = GetMenuItemDataById(built.menu, 2001);
  EXPECT_EQ(1u, text->historyFlag);
  EXPECT_EQ(0u, text->dataType);
  EXPECT_EQ(1u, rtf->dataType);
  EXPECT_EQ(1u, rtf->position);
  std::wstring caption = text->GetCaption();
  EXPECT_EQ(0u, caption.find(L"first line"));
  EXPECT_EQ(L'e', caption.back());  // trimmed at both ends
  std::wstring tip = text->GetToolTip();
  EXPECT_EQ(0u, tip.find(L"Insert plain text: Data from clipboard history\n\tChars: 27, Lines: 2\n\n"));
  EXPECT_NE(std::wstring::npos, tip.find(L"\n\n        right click on item for extended menu"));
  EXPECT_EQ(0u, rtf->GetToolTip().find(L"\tURL: http://example.org/a\n\nInsert formatted text: "));
  // The queue keeps the caption and tooltip; a second menu does not ask again.
  EXPECT_FALSE(history.entries[0].caption.empty());
  EXPECT_FALSE(history.entries[0].tip.empty());
  int calls = history.menuTextCalls;
  Built again(request);
  EXPECT_EQ(calls, history.menuTextCalls);
}

TEST(MenuBuilderTest, TailSectionCommandsCaptionsAndLabels) {
  CPhraseStore store;
  store.Nodes().push_back(Phrase(1, L"One", L"one"));
  struct Case {
    bool history, edit, selection, support, hasSelection;
    const wchar_t* outline;
  } cases[] = {
      {true, true, true, true, true, L"1 - 32772 32826 -Visit to us- 32784"},
      {false, true, true, true, false, L"1 -Clipboard History [Skipped]- 32772 ~32826 -Visit to us- 32784"},
      {true, false, false, true, false, L"1 - 32784"},
      {true, false, false, false, false, L"1"},
  };
  for (const Case& c : cases) {
    FakeHistory history;
    CPhraseMenuRequest request;
    request.store = &store;
    request.history = &history;
    request.options.insertHistory = c.history;
    request.options.addLastUsedToBegin = false;
    request.options.extEditSettings = c.edit;
    request.options.extSelectionIntoPhrase = c.selection;
    request.options.extSupport = c.support;
    request.hasSelection = c.hasSelection;
    request.texts.selectedText = c.hasSelection ? L"  a selection that is longer than forty characters\r\nline 2" : L"";
    Built built(request);
    EXPECT_EQ(c.outline, Outline(built.menu)) << c.outline;
    if (!c.edit) continue;
    EXPECT_STREQ(L"Edit menu\\settings", GetMenuItemDataById(built.menu, kCmdEditSettings)->GetCaption());
    EXPECT_EQ(L"You can change this menu, phrases and settings here",
              GetMenuItemDataById(built.menu, kCmdEditSettings)->GetToolTip());
    EXPECT_STREQ(L"Technical Support", GetMenuItemDataById(built.menu, kCmdSupport)->GetCaption());
    CMenuItemData* sel = GetMenuItemDataById(built.menu, kCmdSelectionIntoPhrase);
    if (c.hasSelection) {
      EXPECT_STREQ(L"Selection into Phrase [a selection that is longer than forty ch\u2026]\u2026", sel->GetCaption());
      EXPECT_EQ(L"Add selected text as new phrase [" + request.texts.selectedText + L"]", sel->GetToolTip());
    } else {
      EXPECT_STREQ(L"Selection into Phrase\u2026", sel->GetCaption());
    }
  }
}

TEST(MenuBuilderTest, SpecialCommandMap) {
  struct Case {
    int key;
    UINT id;
  } cases[] = {{-2, 32772}, {-4, 32826}, {-6, 32784}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.key, GetSpecialCommandKey(c.id));
    EXPECT_EQ(c.id, GetSpecialCommandId(c.key));
    EXPECT_TRUE(IsSpecialCommandKey(c.key));
  }
  for (int other : {0, -1, -3, -5, 32772, 2000}) {
    EXPECT_FALSE(IsSpecialCommandKey(other)) << other;
    EXPECT_EQ(0u, GetSpecialCommandId(other)) << other;
  }
  EXPECT_EQ(0, GetSpecialCommandKey(2000));
}

}  // namespace
