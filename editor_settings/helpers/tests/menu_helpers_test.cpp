#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_settings/helpers/menu_helpers.h"

namespace {

constexpr UINT kMenuResource = 200;

struct Menu {
  HMENU h;
  explicit Menu(HMENU menu) : h(menu) {}
  ~Menu() { ::DestroyMenu(h); }
};

std::wstring TextAt(HMENU menu, int position) {
  wchar_t buf[512] = {};
  ::GetMenuStringW(menu, position, buf, 512, MF_BYPOSITION);
  return buf;
}

TEST(MenuHelpersTest, AppendingFromTheResourceAddsOneItem) {
  Menu menu(::CreatePopupMenu());
  EXPECT_TRUE(AppendResourceMenu(menu.h, 102, kMenuResource)) << "an item inside a nested pop-up";
  EXPECT_FALSE(AppendResourceMenu(menu.h, 102, kMenuResource)) << "appended twice";
  ASSERT_EQ(1, ::GetMenuItemCount(menu.h));
  EXPECT_EQ(102u, ::GetMenuItemID(menu.h, 0));
  EXPECT_EQ(L"Deep item", TextAt(menu.h, 0));

  EXPECT_FALSE(AppendResourceMenu(menu.h, 999, kMenuResource)) << "a command the resource lacks";
  EXPECT_FALSE(AppendResourceMenu(menu.h, 101, 999)) << "a missing resource";
  EXPECT_FALSE(AppendResourceMenu(nullptr, 101, kMenuResource));
  EXPECT_EQ(1, ::GetMenuItemCount(menu.h));

  // A long text is cut to 256 characters.
  ASSERT_TRUE(AppendResourceMenu(menu.h, 103, kMenuResource));
  std::wstring cut = TextAt(menu.h, 1);
  EXPECT_EQ(256u, cut.size());
  EXPECT_EQ(std::wstring(L"L") + std::wstring(255, L'x'), cut);

  // A command held in a pop-up of the target menu counts as present.
  Menu outer(::CreateMenu());
  Menu inner(::CreatePopupMenu());
  ::AppendMenuW(inner.h, MF_STRING, 104, L"Mine");
  ::AppendMenuW(outer.h, MF_POPUP, reinterpret_cast<UINT_PTR>(inner.h), L"Sub");
  inner.h = nullptr;  // owned by outer now
  EXPECT_FALSE(AppendResourceMenu(outer.h, 104, kMenuResource));
}

struct Hits {
  std::vector<HMENU> menus;
  size_t stopAfter = 100;
};
bool CountHit(HMENU menu, UINT, void* context) {
  auto* hits = static_cast<Hits*>(context);
  hits->menus.push_back(menu);
  return hits->menus.size() < hits->stopAfter;
}

TEST(MenuHelpersTest, FindVisitsEveryHitUntilToldToStop) {
  Menu bar(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMenuResource)));
  ASSERT_NE(nullptr, bar.h);
  Hits all;
  EXPECT_TRUE(FindMenuItem(bar.h, 104, CountHit, &all, true));
  ASSERT_EQ(2u, all.menus.size());
  EXPECT_EQ(::GetSubMenu(bar.h, 0), all.menus[0]);
  EXPECT_EQ(::GetSubMenu(bar.h, 1), all.menus[1]);
  Hits first;
  first.stopAfter = 1;
  EXPECT_TRUE(FindMenuItem(bar.h, 104, CountHit, &first, true));
  EXPECT_EQ(1u, first.menus.size());
  EXPECT_FALSE(FindMenuItem(bar.h, 104, nullptr, nullptr, false)) << "only in pop-ups";
  EXPECT_TRUE(FindMenuItem(bar.h, 102, nullptr, nullptr, true));
  EXPECT_FALSE(FindMenuItem(::GetSubMenu(bar.h, 0), 0, nullptr, nullptr, true)) << "a separator";
  EXPECT_FALSE(FindMenuItem(bar.h, 999, nullptr, nullptr, true));
}

TEST(MenuHelpersTest, ItemTextsWithoutEllipsisOrShortcut) {
  Menu bar(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMenuResource)));
  ASSERT_NE(nullptr, bar.h);
  EXPECT_EQ(L"Save &As", GetMenuItemText(bar.h, 106));
  EXPECT_EQ(L"&Open...\tCtrl+O", GetMenuItemText(bar.h, 101));
  EXPECT_EQ(L"&Open...", GetMenuItemTextNoShortcut(bar.h, 101));
  EXPECT_EQ(L"Deep item", GetMenuItemTextNoShortcut(bar.h, 102));
  EXPECT_EQ(L"", GetMenuItemText(bar.h, 999));
  EXPECT_EQ(L"", GetMenuItemText(nullptr, 101));
  EXPECT_EQ(L"Save &As", GetMenuItemTextFromResource(kMenuResource, 106));
  EXPECT_EQ(L"Deep item", GetMenuItemTextFromResource(kMenuResource, 102));
  EXPECT_EQ(L"", GetMenuItemTextFromResource(999, 102));
  EXPECT_EQ(L"", GetMenuItemTextFromResource(kMenuResource, 999));
  EXPECT_EQ(300u, GetMenuItemTextFromResource(kMenuResource, 103).size()) << "long texts are whole";

  Menu built(::CreatePopupMenu());
  const std::wstring longText = std::wstring(400, L'w') + L"\x2026";
  ::AppendMenuW(built.h, MF_STRING, 7, longText.c_str());
  ::AppendMenuW(built.h, MF_STRING, 8, L"Export\x2026\tCtrl+E");
  EXPECT_EQ(std::wstring(400, L'w'), GetMenuItemText(built.h, 7));
  EXPECT_EQ(L"Export\x2026", GetMenuItemTextNoShortcut(built.h, 8));
}

}  // namespace
