#include "foundation/localization/menu_localizer.h"

#include <gtest/gtest.h>

#include "foundation/files/ini.h"
#include "foundation/localization/language_files.h"
#include "tests/support/test_support.h"

namespace {

constexpr UINT kMenuId = 200;

std::wstring Read(const std::wstring& file, const wchar_t* key) {
  std::wstring value;
  ReadLngValue(file, L"Menu_Client", key, L"<missing>", 2000, &value);
  return value;
}

std::wstring ItemText(HMENU menu, UINT id) {
  wchar_t text[300] = {};
  GetMenuStringW(menu, id, text, 300, MF_BYCOMMAND);
  return text;
}

// The menu resource of this test program, owned for one test.
class LoadedMenu {
 public:
  LoadedMenu() : m_menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMenuId))) {}
  ~LoadedMenu() { DestroyMenu(m_menu); }
  HMENU Get() const { return m_menu; }

 private:
  HMENU m_menu;
};

TEST(MenuItemKeyTest, KeysAcceleratorsAndDisplayTexts) {
  struct Case {
    const wchar_t* text;
    const wchar_t* key;
    const wchar_t* accelerator;
    const wchar_t* display;
  } cases[] = {
      {L"&Save As\u2026\tCtrl+S", L"Save_As", L"Ctrl+S", L"Save As\u2026"},
      {L"E&xit", L"Exit", L"", L"Exit"},
      {L"Open...", L"Open", L"", L"Open..."},
      {L"Print Preview", L"Print_Preview", L"", L"Print Preview"},
      {L"\tLeading tab", L"\tLeading_tab", L"", L"\tLeading tab"},
      {L"A\tB\tC", L"A", L"B\tC", L"A"},
      {L"Save && Load", L"Save__Load", L"", L"Save  Load"},
      {L"Mid\u2026dle.", L"Middle", L"", L"Mid\u2026dle."},
  };
  for (const Case& c : cases) {
    MenuItemKey key = MakeMenuItemKey(c.text);
    EXPECT_EQ(c.key, key.key) << c.text;
    EXPECT_EQ(c.accelerator, key.accelerator) << c.text;
    EXPECT_EQ(c.display, key.display) << c.text;
  }
}

TEST(MenuItemKeyTest, KeyboardCharacters) {
  struct Case {
    const wchar_t* text;
    bool outside;
  } cases[] = {
      {L"Save_As", false},
      {L"<>,./?\";:']}[{!@#$%^&*()-_=+\\|09azAZ", false},
      {L"Файл", true},
      {L"Save As", true},
      {L"a`b", true},
      {L"a~b", true},
      {L"Ubersicht\u00FC", true},
      {L"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.outside, HasNonKeyboardChars(c.text)) << c.text;
}

TEST(MenuItemKeyTest, StripAmpersands) {
  struct Case {
    const wchar_t* text;
    const wchar_t* stripped;
  } cases[] = {
      {L"&Open", L"Open"},       {L"Save && Load", L"Save & Load"}, {L"Tail&", L"Tail&"},
      {L"&&&x", L"&&x"},         {L"Open\u2026\u2026", L"Open"},    {L"&A&B", L"AB"},
      {L"Save &All\tCtrl+S", L"Save All\tCtrl+S"},
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    StripMenuAmpersands(text);
    EXPECT_EQ(c.stripped, text) << c.text;
  }
}

class MenuLocalizerTest : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentLanguage(L""); }
  qlrtest::TempDir m_dir;
};

TEST_F(MenuLocalizerTest, ConstructorCreatesTheFileAndMakesItCurrent) {
  const std::wstring lng = m_dir.File(L"New.lng");
  CMenuLocalizerEx localizer(lng, L"_Client");
  EXPECT_EQ(lng, GetCurrentLanguage());
  EXPECT_EQ(L"Menu_Client", localizer.GetSectionName());
  EXPECT_EQ(L"En", GetLangPrefix(lng));
  CMenuLocalizer plain(m_dir.File(L"Other.lng"), false, L"");
  EXPECT_EQ(L"Menu", plain.GetSectionName());
}

TEST_F(MenuLocalizerTest, LocalizesItemsAndGathersMissingKeys) {
  const std::wstring lng = m_dir.File(L"De.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Menu_Client]\r\nOpen=Öffnen\r\nExit=Beenden\r\nFile=&Datei\r\nSave_All=\r\n"));
  CMenuLocalizerEx localizer(lng, L"_Client");
  localizer.AddExemptRange(300, 399);
  LoadedMenu menu;
  localizer.LocalizeMenu(menu.Get());

  HMENU file = GetSubMenu(menu.Get(), 0);
  wchar_t top[100] = {};
  GetMenuStringW(menu.Get(), 0, top, 100, MF_BYPOSITION);
  EXPECT_STREQ(L"&Datei", top);
  struct Shown {
    UINT id;
    const wchar_t* text;
  } shown[] = {
      {101, L"Öffnen\tCtrl+O"}, {107, L"Beenden"},  {102, L"Save &As\u2026\tCtrl+S"},
      {106, L"Файл"},           {301, L"Recent one"}, {105, L"Save &All\tCtrl+Shift+S"},
  };
  for (const Shown& s : shown) EXPECT_EQ(s.text, ItemText(file, s.id)) << s.id;

  struct Stored {
    const wchar_t* key;
    const wchar_t* value;
  } stored[] = {
      {L"Open", L"Öffnen"},                 // translations stay
      {L"Save_As", L"Save As\u2026"},       // without "&" and accelerator
      {L"Print_Preview", L"Print Preview"},
      {L"More", L"More"},                   // submenu items too
      {L"Save__Load", L"Save  Load"},
      {L"Save_All", L"Save All"},           // an empty value counts as missing
      {L"Файл", L"<missing>"},              // non-Latin texts add no keys
      {L"Recent_one", L"<missing>"},        // exempt ids are left alone
  };
  for (const Stored& s : stored) EXPECT_EQ(s.value, Read(lng, s.key)) << s.key;

  // The next opening reads the gathered display texts back: they are no
  // translation, and every item keeps its own text, mnemonic and
  // accelerator included; nothing more is written.
  const std::string gathered = qlrtest::ReadBytes(lng);
  LoadedMenu again;
  localizer.LocalizeMenu(again.Get());
  HMENU file2 = GetSubMenu(again.Get(), 0);
  HMENU more = GetSubMenu(file2, 4);
  struct Kept {
    HMENU menu;
    UINT id;
    const wchar_t* text;
  } kept[] = {
      {file2, 101, L"Öffnen\tCtrl+O"},          {file2, 102, L"Save &As\u2026\tCtrl+S"},
      {file2, 103, L"Print Preview"},            {more, 104, L"Save && Load"},
      {more, 105, L"Save &All\tCtrl+Shift+S"},  {file2, 107, L"Beenden"},
  };
  for (const Kept& k : kept) EXPECT_EQ(k.text, ItemText(k.menu, k.id)) << k.id;
  wchar_t moreText[100] = {};
  GetMenuStringW(file2, 4, moreText, 100, MF_BYPOSITION);
  EXPECT_STREQ(L"&More", moreText);
  EXPECT_EQ(gathered, qlrtest::ReadBytes(lng));
  // So, too, a single command's text with its accelerator.
  EXPECT_EQ(L"Save All\tCtrl+Shift+S", localizer.GetItemText(kMenuId, 105));
  EXPECT_EQ(L"Save As\u2026\tCtrl+S", localizer.GetItemText(kMenuId, 102));
}

TEST_F(MenuLocalizerTest, ItemTextOfOneCommand) {
  const std::wstring lng = m_dir.File(L"De.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Menu_Client]\r\nOpen=Öffnen\r\nExit=\r\n"));
  CMenuLocalizerEx localizer(lng, L"_Client");
  const std::string before = qlrtest::ReadBytes(lng);
  struct Case {
    UINT command;
    const wchar_t* text;
  } cases[] = {
      {101, L"Öffnen"},
      {105, L"Save All\tCtrl+Shift+S"},  // untranslated: stripped text with accelerator
      {104, L"Save & Load"},             // from a submenu: stripped once only
      {102, L"Save As\u2026\tCtrl+S"},
      {107, L"Exit"},                    // empty translation
      {999, L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, localizer.GetItemText(kMenuId, c.command)) << c.command;
  EXPECT_EQ(L"", localizer.GetItemText(7777, 101));
  EXPECT_EQ(before, qlrtest::ReadBytes(lng)) << "GetItemText writes nothing";
}

TEST_F(MenuLocalizerTest, MenuWriterKeepsExistingKeys) {
  const std::wstring lng = m_dir.File(L"Template.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Menu_Client]\r\nOpen=Öffnen\r\nexit=\r\n"));
  CMenuLocalizerEx localizer(lng, L"_Client");
  localizer.AddExemptRange(301, 301);
  LoadedMenu menu;
  localizer.WriteMenu(menu.Get());
  struct Stored {
    const wchar_t* key;
    const wchar_t* value;
  } stored[] = {
      {L"Open", L"Öffnen"}, {L"Exit", L""},          {L"File", L"File"},
      {L"More", L"More"},   {L"Save_All", L"Save All"}, {L"Файл", L"Файл"},
      {L"Print_Preview", L"Print Preview"},          {L"Recent_one", L"<missing>"},
  };
  for (const Stored& s : stored) EXPECT_EQ(s.value, Read(lng, s.key)) << s.key;
  // The menu itself is not changed.
  EXPECT_EQ(L"&Open...\tCtrl+O", ItemText(menu.Get(), 101));
}

TEST_F(MenuLocalizerTest, LanguageChangeRedirectsTheLocalizer) {
  const std::wstring de = m_dir.File(L"De.lng");
  const std::wstring fr = m_dir.File(L"Fr.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(de, L"[Menu_Client]\r\nExit=Beenden\r\n"));
  ASSERT_TRUE(qlrtest::WriteUtf16File(fr, L"[Menu_Client]\r\nExit=Quitter\r\n"));
  CMenuLocalizerEx localizer(de, L"_Client");
  EXPECT_EQ(L"Beenden", localizer.GetItemText(kMenuId, 107));
  SetCurrentLanguage(fr);
  EXPECT_EQ(L"Quitter", localizer.GetItemText(kMenuId, 107));
  LoadedMenu menu;
  localizer.LocalizeMenu(menu.Get());
  EXPECT_EQ(L"Quitter", ItemText(menu.Get(), 107));
  EXPECT_EQ(L"Print Preview", Read(fr, L"Print_Preview"));
  EXPECT_EQ(L"<missing>", Read(de, L"Print_Preview"));
}

}  // namespace
