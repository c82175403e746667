// The language lists of a program folder, read by a probe program copied
// into a temporary folder with real language files; and a translated
// template picked up by the editor's menu and by the real welcome program.
#include "editor_settings/language/language_lists.h"

#include <gtest/gtest.h>

#include <sstream>

#include "editor_settings/language/language_tools_names.h"
#include "editor_settings/language/make_lng_file.h"
#include "editor_settings/language/tests/lng_template_run.h"
#include "foundation/localization/language_files.h"
#include "tests/support/test_support.h"

namespace {

constexpr wchar_t kProbe[] = L"helper_language_lists_probe.exe";
constexpr DWORD kWaitMs = 20000;

struct Report {
  std::wstring find;
  std::vector<std::wstring> menu;
  std::vector<std::wstring> combo;
  std::wstring selected;
};

class LanguageListsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(kProbe), dir.File(kProbe))); }

  void Lng(const std::wstring& name, const std::wstring& body) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(name), body));
  }
  Report List(const std::wstring& current, const std::wstring& prefix) {
    Report r;
    const std::wstring out = dir.File(L"report.txt");
    const int code = qlrtest::RunProcess(dir.File(kProbe), L"\"" + out + L"\" \"" + current + L"\" \"" + prefix + L"\"",
                                         kWaitMs, dir.Path());
    EXPECT_EQ(code, 0);
    std::wistringstream lines(qlrtest::ReadUtf16File(out));
    for (std::wstring line; std::getline(lines, line);) {
      const size_t colon = line.find(L':');
      const std::wstring tag = line.substr(0, colon), rest = line.substr(colon + 1);
      if (tag == L"find") r.find = rest;
      if (tag == L"menu") r.menu.push_back(rest);
      if (tag == L"combo") r.combo.push_back(rest);
      if (tag == L"selected") r.selected = rest;
    }
    return r;
  }

  qlrtest::TempDir dir;
};

TEST_F(LanguageListsTest, NoFilesGivesOnlyTheBuiltInLanguage) {
  Lng(L"LocalizeExample.lng", L"[Main]\r\nLangLocalized=Example\r\n");
  Report r = List(L"", L"");
  EXPECT_EQ(r.find, L"1");
  ASSERT_EQ(r.menu.size(), 1u);
  EXPECT_EQ(r.menu[0], L"English (Embedded)|default|checked|30000");
  ASSERT_EQ(r.combo.size(), 1u);
  EXPECT_EQ(r.combo[0], L"English (Embedded)|0");
  EXPECT_EQ(r.selected, L"0");
}

TEST_F(LanguageListsTest, FilesInNameOrderWithTheirNamesOrFileNames) {
  Lng(L"b.lng", L"[Main]\r\nLangLocalized=Beta\r\n");
  Lng(L"A.lng", L"[Main]\r\nLangPrefix=Aa\r\n");
  Lng(L"c.lng", L"[Main]\r\nLangLocalized=\r\n");
  Lng(L"d.lng", L"[Main]\r\nLangLocalized=" + std::wstring(2000, L'L') + L"\r\n");
  Lng(L"LOCALIZEEXAMPLE.LNG", L"[Main]\r\nLangLocalized=Example\r\n");
  Lng(L"notes.txt", L"[Main]\r\nLangLocalized=Notes\r\n");
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"folder.lng").c_str(), nullptr));
  Report r = List(L"B.LNG", L"Lang");
  ASSERT_EQ(r.menu.size(), 5u);
  EXPECT_EQ(r.menu[0], L"English (Embedded)|||30000");
  EXPECT_EQ(r.menu[1], L"A|||30001") << "no LangLocalized: the file name without extension";
  EXPECT_EQ(r.menu[2], L"Beta|default|checked|30002");
  EXPECT_EQ(r.menu[3], L"c|||30003");
  EXPECT_LT(r.menu[4].size(), 2000u) << "a long name is cut";
  ASSERT_EQ(r.combo.size(), 5u);
  EXPECT_EQ(r.combo[0], L"Lang: English (Embedded)|0");
  EXPECT_EQ(r.combo[1], L"Lang: A.lng|1");
  EXPECT_EQ(r.combo[2], L"Lang: Beta|2");
  EXPECT_EQ(r.combo[3], L"Lang: c.lng|3");
  EXPECT_EQ(r.combo[4], L"Lang: " + std::wstring(1023, L'L') + L"|4");
  EXPECT_EQ(r.selected, L"2");
  // Without a prefix the names stand alone.
  r = List(L"none.lng", L"");
  ASSERT_EQ(r.combo.size(), 5u);
  EXPECT_EQ(r.combo[2], L"Beta|2");
  EXPECT_EQ(r.selected, L"-1");
}

TEST_F(LanguageListsTest, TheMenuHoldsNoMoreThanItsIds) {
  for (int i = 0; i < 60; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"lang%02d.lng", i);
    Lng(name, L"[Main]\r\nLangLocalized=L" + std::to_wstring(i) + L"\r\n");
  }
  Report r = List(L"lang59.lng", L"");
  ASSERT_EQ(r.menu.size(), kLanguageMenuMostItems);
  EXPECT_EQ(r.menu.back(), L"L48|||30049");
  EXPECT_EQ(r.combo.size(), 61u);
  EXPECT_EQ(r.selected, L"60");
}

TEST_F(LanguageListsTest, TranslatedTemplateReachesTheMenuAndTheWelcomeProgram) {
  const std::wstring lng = dir.File(L"Testish.lng");
  lngtest::TemplateRun run = lngtest::MakeTemplate(lng, LngTemplateSources());
  ASSERT_EQ(run.result, kMakeLngDone);
  ASSERT_TRUE(WriteLngValue(lng, L"Main", L"LangLocalized", L"Testish"));
  ASSERT_TRUE(WriteLngValue(lng, L"Strings_Welcome", L"57346", L"Willkommen"));

  Report r = List(L"Testish.lng", L"");
  ASSERT_EQ(r.menu.size(), 2u);
  EXPECT_EQ(r.menu[1], L"Testish|default|checked|30001");

  for (const wchar_t* f : {kWelcomeModuleName, L"HTMLayout.dll"})
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), dir.File(f)));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Settings", L"Language", L"Testish.lng", dir.File(L"Settings.ini").c_str()));
  qlrtest::ChildProcess welcome;
  ASSERT_TRUE(welcome.Start(dir.File(kWelcomeModuleName), L""));
  HWND window = nullptr;
  std::wstring title;
  qlrtest::WaitUntil(
      [&] {
        window = qlrtest::FindProcessWindow(welcome.Pid(), L"#32770");
        wchar_t buf[256] = {};
        if (window) GetWindowTextW(window, buf, 256);
        title = buf;
        return title == L"Willkommen";
      },
      kWaitMs);
  EXPECT_EQ(title, L"Willkommen");
  if (window) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  welcome.Wait(kWaitMs);
}

}  // namespace
