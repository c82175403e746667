#include "editor/services/macro_menus.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor_settings/helpers/menu_ranges.h"
#include "phrases/macros/macro_sources.h"
#include "phrases/macros/macro_table.h"
#include "tests/support/test_support.h"

namespace {

// Twenty layouts of twenty languages: twenty layout macros.
std::vector<HKL> TwentyLayouts() {
  const WORD languages[] = {0x0409, 0x0407, 0x040C, 0x0410, 0x0C0A, 0x0419, 0x0415, 0x0416, 0x0413, 0x041D,
                            0x0406, 0x0414, 0x040B, 0x0405, 0x040E, 0x0408, 0x041F, 0x0422, 0x0411, 0x0412};
  std::vector<HKL> layouts;
  for (WORD lang : languages) layouts.push_back(reinterpret_cast<HKL>(static_cast<ULONG_PTR>(MAKELONG(lang, lang))));
  return layouts;
}

class MacroMenusTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetMacroSources(); }
};

TEST_F(MacroMenusTest, ManyLayoutsNeverReachTheRecentFolderIds) {
  CMacroSources sources;
  sources.keyboardLayouts = TwentyLayouts;
  SetMacroSources(sources);
  ASSERT_GE(GetMacroCount(), kFixedMacroCount + 20);

  HMENU menu = CreatePopupMenu();
  int added = FillMacroMenu(menu);
  EXPECT_EQ(added, 50);
  ASSERT_EQ(GetMenuItemCount(menu), 50);
  std::set<std::wstring> listed;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    UINT id = GetMenuItemID(menu, i);
    EXPECT_EQ(id, kMacroItemFirst + i);
    EXPECT_LE(id, kMacroItemLast);
    wchar_t text[200] = {};
    GetMenuStringW(menu, i, text, 200, MF_BYPOSITION);
    EXPECT_EQ(GetMenuMacroName(id), text);
    listed.insert(text);
  }
  // Every fixed macro made it; the layouts fill what is left.
  for (int id = 0; id < kFixedMacroCount; ++id) EXPECT_EQ(listed.count(MacroName(id)), 1u) << id;
  EXPECT_EQ(GetMenuMacroName(kRecentFolderFirst), L"");
  EXPECT_EQ(GetMenuMacroName(kMacroItemFirst - 1), L"");
  DestroyMenu(menu);
  EXPECT_EQ(FillMacroMenu(nullptr), 0);
}

TEST_F(MacroMenusTest, FewLayoutsListTheWholeTable) {
  CMacroSources sources;
  sources.keyboardLayouts = [] { return std::vector<HKL>{TwentyLayouts()[0], TwentyLayouts()[1]}; };
  SetMacroSources(sources);
  HMENU menu = CreatePopupMenu();
  EXPECT_EQ(FillMacroMenu(menu), GetMacroCount());
  wchar_t last[200] = {};
  GetMenuStringW(menu, GetMenuItemCount(menu) - 1, last, 200, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(last).rfind(kLayoutMacroPrefix, 0), 0u);  // layouts after the fixed macros
  DestroyMenu(menu);
}

TEST_F(MacroMenusTest, DescriptionsWithTheCurrentValue) {
  // Every fixed macro has a row, every row a text.
  for (int id = 0; id < kFixedMacroCount; ++id) {
    EXPECT_NE(GetMacroDescriptionId(MacroName(id)), 0u) << id;
  }
  EXPECT_EQ(GetMacroDescriptionId(L"%ACTIVATE_KL_EN%"), 0u);
  EXPECT_EQ(GetMacroDescription(L"%NO_SUCH_MACRO%"), L"");

  EXPECT_EQ(GetMacroDescription(L"%CURSOR_POS%"), L"The caret will be placed here after insertion of text");
  ASSERT_TRUE(qlrtest::PutClipboardText(L"from the clipboard"));
  EXPECT_EQ(GetMacroDescription(L"%CLIPBOARD_TEXT%"), L"Text from clipboard\r\r  [from the clipboard]");
  // A huge value is cut in the tip.
  ASSERT_TRUE(qlrtest::PutClipboardText(std::wstring(1 << 20, L'w')));
  EXPECT_EQ(GetMacroDescription(L"%CLIPBOARD_TEXT%"),
            L"Text from clipboard\r\r  [" + std::wstring(kTipValueChars, L'w') + L"]");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(GetMacroDescription(L"%CLIPBOARD_TEXT%"), L"Text from clipboard");
}

TEST_F(MacroMenusTest, PreviewExpandsWithoutMarks) {
  EXPECT_EQ(ExpandForPreview(L"a%CURSOR_POS%b"), L"ab");
  EXPECT_EQ(ExpandForPreview(L"plain"), L"plain");
  std::wstring year = ExpandForPreview(L"%YEAR%");
  EXPECT_EQ(year.size(), 4u);
  EXPECT_EQ(year.find(L'%'), std::wstring::npos);
}

}  // namespace
