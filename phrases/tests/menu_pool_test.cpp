#include "phrases/menu/menu_pool.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/tests/menu_test_util.h"

using namespace menutest;

namespace {

// The menu as text: one line per item with its caption, nested by depth.
std::wstring Describe(HMENU menu, int depth = 0) {
  std::wstring out;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    CMenuItemData* data = GetMenuItemDataByPos(menu, i);
    const wchar_t* caption = data ? data->GetCaption() : nullptr;
    out += std::wstring(static_cast<size_t>(depth) * 2, L' ') + std::to_wstring(GetMenuItemID(menu, i)) + L" " +
           (caption ? caption : L"-") + L"\n";
    if (HMENU sub = GetSubMenu(menu, i)) out += Describe(sub, depth + 1);
  }
  return out;
}

TEST(PopupMenuPoolTest, MenusComeBackEmptyWithTheirSubmenus) {
  CPopupMenuPool pool;
  HMENU top = pool.Take();
  HMENU sub = pool.Take();
  HMENU deeper = pool.Take();
  ASSERT_TRUE(top && sub && deeper);
  AppendMenuW(deeper, MF_STRING, 7, L"seven");
  AppendMenuW(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), L"deeper");
  AppendMenuW(top, MF_STRING, 1, L"one");
  AppendMenuW(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
  pool.Give(top);
  EXPECT_EQ(3u, pool.KeptCount());
  for (HMENU menu : {top, sub, deeper}) {
    EXPECT_TRUE(IsMenu(menu));
    EXPECT_EQ(0, GetMenuItemCount(menu));
  }
  // Handed out again, newest given last first; a handle destroyed meanwhile
  // is passed over.
  DestroyMenu(sub);
  HMENU a = pool.Take();
  HMENU b = pool.Take();
  HMENU c = pool.Take();
  EXPECT_EQ(0u, pool.KeptCount());
  for (HMENU menu : {a, b, c}) {
    EXPECT_TRUE(IsMenu(menu));
    EXPECT_EQ(0, GetMenuItemCount(menu));
    EXPECT_NE(sub, menu);
  }
  EXPECT_TRUE((a == top || b == top) && (a == deeper || b == deeper));
  pool.Give(nullptr);
  for (HMENU menu : {a, b, c}) pool.Give(menu);
  EXPECT_EQ(3u, pool.KeptCount());
}

TEST(PopupMenuPoolTest, AMenuBuiltFromKeptPopupsEqualsANewOne) {
  CPhraseStore store;
  store.Nodes().push_back(Phrase(1, L"One", L"first"));
  CPhraseNode f = Folder(L"F", {});
  f.childNodes->push_back(Phrase(2, L"Two", L"second"));
  f.childNodes->push_back(Folder(L"G", {}));
  f.childNodes->back().childNodes->push_back(Phrase(3, L"Three", L"x"));
  store.Nodes().push_back(std::move(f));
  store.Nodes().push_back(Folder(L"Empty", {}));
  store.Nodes().push_back(Folder(L"H", {}));
  store.Nodes().back().childNodes->push_back(Phrase(4, L"Four", L"y"));
  FakeHistory history(20);
  auto build = [&](CPopupMenuPool* pool) {
    CPhraseMenuRequest request;
    request.store = &store;
    request.history = &history;
    request.pool = pool;
    return CPhraseMenuBuilder(request).Build();
  };
  HMENU plain = build(nullptr);
  ASSERT_NE(nullptr, plain);
  const std::wstring expected = Describe(plain);
  FreeMenuItemData(plain);
  DestroyMenu(plain);

  CPopupMenuPool pool;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    HMENU menu = build(&pool);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(expected, Describe(menu));
    FreeMenuItemData(menu);
    pool.Give(menu);
    // The top menu, F, G, H and the "More History" popup.
    EXPECT_EQ(5u, pool.KeptCount());
  }
}

}  // namespace
