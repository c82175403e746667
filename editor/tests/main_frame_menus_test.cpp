// The main frame's menus in-process: the Language submenu is rebuilt from
// the program folder's files when it opens, and only that popup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/tests/scaffold_frame.h"
#include "editor_settings/language/language_lists.h"
#include "foundation/localization/language_files.h"

namespace {

// The File popup's sub-menu whose first item is How To Localize.
HMENU FindLanguagePopup(HMENU file, int* index) {
  for (int i = 0; i < GetMenuItemCount(file); ++i) {
    HMENU sub = GetSubMenu(file, i);
    if (sub && GetMenuItemID(sub, 0) == 32776) {
      *index = i;
      return sub;
    }
  }
  return nullptr;
}

TEST(MainFrameMenusTest, LanguageItemsAreRebuiltInTheirOwnPopupOnly) {
  ScaffoldFrame s;
  ASSERT_NE(s.frame, nullptr);
  HMENU file = GetSubMenu(GetMenu(s.frame->m_hWnd), 0);
  ASSERT_NE(file, nullptr);
  const int fileItems = GetMenuItemCount(file);
  int index = -1;
  HMENU language = FindLanguagePopup(file, &index);
  ASSERT_NE(language, nullptr);
  ASSERT_EQ(GetMenuItemCount(language), 2);

  // The File popup holds the Language popup but is no language list.
  s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
  EXPECT_EQ(GetMenuItemCount(file), fileItems);
  EXPECT_EQ(GetMenuItemCount(language), 2);

  std::vector<std::wstring> files;
  FindLngFiles(files, GetLocalizeExampleFileName());
  const int expected = 3 + static_cast<int>(std::min<size_t>(files.size(), 50));
  for (int opening = 0; opening < 2; ++opening) {
    s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(language), MAKELPARAM(index, FALSE));
    ASSERT_EQ(GetMenuItemCount(language), expected) << opening;
    EXPECT_EQ(GetMenuItemID(language, 1), 32823u);
    EXPECT_EQ(GetMenuItemID(language, 3), 30000u);
    EXPECT_EQ(GetMenuItemID(language, expected - 1), static_cast<UINT>(30000 + expected - 4));
  }
}

}  // namespace
