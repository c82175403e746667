#include "editor/services/editor_menu_localizer.h"

#include <gtest/gtest.h>

#include <string>

#include "editor_settings/helpers/menu_ranges.h"
#include "foundation/localization/language_files.h"
#include "tests/support/test_support.h"

namespace {

std::wstring ItemText(HMENU menu, UINT id) {
  wchar_t text[200] = {};
  GetMenuStringW(menu, id, text, 200, MF_BYCOMMAND);
  return text;
}

TEST(EditorMenuLocalizerTest, RunTimeListsKeepTheirTextsAndMissingKeysAreCollected) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"German.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangLocalized=Deutsch\r\n[Menu_Editor]\r\nCopy=Kopieren\r\n"
                                           L"Open=Öffnen\r\n"));
  const UINT ids[] = {kLanguageItemFirst, kLanguageItemLast, kMacroItemFirst, kMacroItemLast,
                      kRecentFolderFirst, kRecentFolderLast};
  HMENU menu = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 200, L"Copy");
  for (UINT id : ids) AppendMenuW(sub, MF_STRING, id, L"Copy");
  AppendMenuW(sub, MF_STRING, kRecentFolderLast + 1, L"Open");
  AppendMenuW(sub, MF_STRING, kMacroItemFirst - 1, L"Open");
  AppendMenuW(sub, MF_STRING, kRecentFolderFirst + 1, L"C:\\Phrases Old");
  AppendMenuW(sub, MF_STRING, 201, L"&Save As...\tCtrl+S");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Open");

  CEditorMenuLocalizer localizer(lng, L"Menu_Editor");
  EXPECT_EQ(localizer.GetSectionName(), L"Menu_Editor");
  localizer.Localize(menu);
  EXPECT_EQ(ItemText(menu, 200), L"Kopieren");
  for (UINT id : ids) EXPECT_EQ(ItemText(sub, id), L"Copy") << id;
  EXPECT_EQ(ItemText(sub, kRecentFolderLast + 1), L"Öffnen");
  EXPECT_EQ(ItemText(sub, kMacroItemFirst - 1), L"Öffnen");
  // Untranslated items are written for translators; run-time lists are not.
  wchar_t value[100] = {};
  GetPrivateProfileStringW(L"Menu_Editor", L"Save_As", L"", value, 100, lng.c_str());
  EXPECT_STREQ(value, L"Save As...");
  EXPECT_EQ(GetPrivateProfileIntW(L"Menu_Editor", L"C:\\Phrases_Old", 7, lng.c_str()), 7);

  EXPECT_FALSE(localizer.WantsItemIcon(kMacroItemFirst));
  EXPECT_FALSE(localizer.WantsItemIcon(kMacroItemLast));
  EXPECT_TRUE(localizer.WantsItemIcon(kRecentFolderFirst));
  EXPECT_TRUE(localizer.WantsItemIcon(200));
  DestroyMenu(menu);
  SetCurrentLanguage(L"");
}

}  // namespace
