#include "foundation/localization/language_files.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/test_support.h"

namespace {

std::wstring Read(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  std::wstring value;
  ReadLngValue(file, section, key, L"<missing>", 1024, &value);
  return value;
}

// A language file as a translator saves it: UTF-16 with BOM.
void WriteLng(const std::wstring& path, const std::wstring& body) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(path, body));
}

struct FolderReport {
  std::wstring examplePath;
  std::vector<std::vector<std::wstring>> rows;  // name, caption, default, checked, id
};

// Runs the helper program copied into folder and reads its report.
FolderReport RunFolderHelper(const std::wstring& folder, const std::wstring& current,
                             const wchar_t* leaveOut, const std::wstring& reportPath) {
  FolderReport report;
  std::wstring exe = folder + L"\\helper_language_folder.exe";
  EXPECT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_language_folder.exe"), exe));
  std::wstring args = L"\"" + reportPath + L"\" \"" + current + L"\"";
  if (leaveOut) args += L" \"" + std::wstring(leaveOut) + L"\"";
  EXPECT_EQ(0, qlrtest::RunProcess(exe, args));
  std::wistringstream lines(qlrtest::ReadUtf16File(reportPath));
  std::wstring line;
  std::getline(lines, report.examplePath);
  while (std::getline(lines, line)) {
    std::vector<std::wstring> fields;
    std::wistringstream parts(line);
    std::wstring field;
    while (std::getline(parts, field, L'|')) fields.push_back(field);
    while (fields.size() < 5) fields.emplace_back();
    report.rows.push_back(fields);
  }
  return report;
}

TEST(LanguageFilesTest, NewFileStartsWithUtf16HeaderAndDefaults) {
  qlrtest::TempDir dir;
  const std::wstring bare = dir.File(L"Bare.lng");
  CreateLangFile(bare);
  EXPECT_EQ(std::string("\xFF\xFE\x00\x00", 4), qlrtest::ReadBytes(bare));

  const std::wstring lng = dir.File(L"New.lng");
  WriteLangFileHeader(lng);
  // The profile rewrite may drop the zero character after the BOM; the
  // text must still be UTF-16 so non-Latin values survive.
  EXPECT_EQ(0u, qlrtest::ReadBytes(lng).rfind("\xFF\xFE", 0));
  EXPECT_EQ(L"En", GetLangPrefix(lng));
  EXPECT_EQ(L"Type Your name and email (optional)", Read(lng, L"Main", L"Author"));
  EXPECT_EQ(L"English (Type localized name of language here)", GetLangLocalizedName(lng));
  ASSERT_TRUE(WriteLngValue(lng, L"Main", L"LangLocalized", L"Русский"));
  EXPECT_EQ(L"Русский", GetLangLocalizedName(lng));
}

TEST(LanguageFilesTest, ExistingFilesAreLeftAlone) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"Old.lng");
  WriteLng(lng, L"[Menu_Client]\r\nOpen=Öffnen\r\n");
  const std::string before = qlrtest::ReadBytes(lng);
  CreateLangFile(lng);
  WriteLangFileHeader(lng);
  EXPECT_EQ(before, qlrtest::ReadBytes(lng));
  EXPECT_EQ(L"", GetLangPrefix(lng));
}

TEST(LanguageFilesTest, HeaderValuesAndFileInfo) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"De.lng");
  WriteLng(lng, L"[Main]\r\nLangPrefix=  De  \r\nAuthor=Anna <a@b.c>\r\nLangLocalized=Deutsch\r\n");
  EXPECT_EQ(L"De", GetLangPrefix(lng));
  EXPECT_EQ(L"Deutsch", GetLangLocalizedName(lng));
  EXPECT_EQ(L"English (Embedded)", GetLangLocalizedName(dir.Path() + L"\\"));

  LangFileInfo info;
  EXPECT_EQ(1, GetLangFileInfo(lng, &info));
  EXPECT_EQ(L"Deutsch", info.name);
  EXPECT_EQ(L"Anna <a@b.c>", info.author);
  EXPECT_EQ(0, GetLangFileInfo(dir.File(L"None.lng"), &info));
  EXPECT_EQ(1, GetLangFileInfo(L"", &info));
  EXPECT_EQ(GetEmbeddedLanguageName(), info.name);
  EXPECT_FALSE(info.author.empty());
}

TEST(LanguageFilesTest, ExamplePathAndFileName) {
  struct Case {
    const wchar_t* path;
    const wchar_t* example;
  } cases[] = {
      {L"C:\\Prog\\De.lng", L"C:\\Prog\\LocalizeExample.lng"},
      {L"C:\\Prog\\", L"C:\\Prog\\LocalizeExample.lng"},
      {L"De.lng", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.example, GetLocalizeExamplePath(c.path)) << c.path;
  EXPECT_TRUE(IsLocalizeExampleFile(L"C:\\a\\localizeexample.LNG"));
  EXPECT_FALSE(IsLocalizeExampleFile(L"C:\\a\\De.lng"));
  EXPECT_EQ(L"LocalizeExample.lng", GetLocalizeExampleFileName());

  std::wstring name;
  std::wstring path = GetLngFilePath(name);
  EXPECT_EQ(L"LocalizeExample.lng", name);
  EXPECT_EQ(GetLngFolder() + L"LocalizeExample.lng", path);
  EXPECT_EQ(GetLngFolder() + L"Fr.lng", GetLngFilePath(L"Fr.lng"));
}

TEST(LanguageFilesTest, RussianRegionCodes) {
  struct Case {
    const wchar_t* code;
    bool russian;
    const wchar_t* fallback;
  } cases[] = {
      {L"ru", true, L""},  {L"RU", true, L""},   {L"uk", true, L"RU"}, {L"Be", true, L"RU"},
      {L"kz", true, L"RU"}, {L"LV", true, L"RU"}, {L"lt", true, L"RU"}, {L"et", true, L"RU"},
      {L"de", false, L""}, {L"", false, L""},    {L"rus", false, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.russian, IsRussianLangCode(c.code)) << c.code;
    EXPECT_EQ(c.fallback, GetFallbackLangPrefix(c.code)) << c.code;
  }
  qlrtest::TempDir dir;
  WriteLng(dir.File(L"Uk.lng"), L"[Main]\r\nLangPrefix= uk\r\n");
  WriteLng(dir.File(L"De.lng"), L"[Main]\r\nLangPrefix=De\r\n");
  EXPECT_TRUE(IsRussianLangFile(dir.File(L"Uk.lng")));
  EXPECT_FALSE(IsRussianLangFile(dir.File(L"De.lng")));
  EXPECT_FALSE(IsRussianLangFile(dir.File(L"Missing.lng")));
  EXPECT_TRUE(IsDifferentNoCase(L"a", L"b"));
  EXPECT_FALSE(IsDifferentNoCase(L"Abc", L"aBC"));
}

TEST(LanguageFilesTest, CurrentLanguageIsProcessWide) {
  SetCurrentLanguage(L"C:\\x\\De.lng");
  EXPECT_EQ(L"C:\\x\\De.lng", GetCurrentLanguage());
  EXPECT_EQ(1, SetCurrentLanguage(L""));
  EXPECT_EQ(L"", GetCurrentLanguage());
}

TEST(LanguageFilesTest, EmptyPathNeverReachesWinIni) {
  EXPECT_FALSE(WriteLngValue(L"", L"Main", L"LangPrefix", L"xx"));
  std::wstring value;
  EXPECT_EQ(0u, ReadLngValue(L"", L"Main", L"LangPrefix", L"def", 100, &value));
  EXPECT_EQ(L"def", value);
}

TEST(LanguageFilesTest, ListAndMenuOfAFolderWithLanguages) {
  qlrtest::TempDir dir;
  WriteLng(dir.File(L"zh.lng"), L"[Main]\r\nLangLocalized=中文\r\n");
  WriteLng(dir.File(L"Deutsch.lng"), L"[Main]\r\nLangLocalized=Deutsch\r\n");
  WriteLng(dir.File(L"bare.lng"), L"[Menu_Client]\r\nOpen=Open\r\n");
  WriteLng(dir.File(L"LocalizeExample.lng"), L"[Main]\r\nLangLocalized=Example\r\n");
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"notes.txt"), "x"));

  FolderReport all = RunFolderHelper(dir.Path(), L"deutsch.LNG", nullptr, dir.File(L"r1.txt"));
  EXPECT_EQ(dir.File(L"LocalizeExample.lng"), all.examplePath);
  std::vector<std::vector<std::wstring>> expected = {
      {L"", L"English (Embedded)", L"", L"", L"33000"},
      {L"bare.lng", L"bare", L"", L"", L"33001"},
      {L"Deutsch.lng", L"Deutsch", L"default", L"checked", L"33002"},
      {L"LocalizeExample.lng", L"Example", L"", L"", L"33003"},
      {L"zh.lng", L"中文", L"", L"", L"33004"},
  };
  EXPECT_EQ(expected, all.rows);

  FolderReport some = RunFolderHelper(dir.Path(), L"", L"localizeexample.lng", dir.File(L"r2.txt"));
  ASSERT_EQ(4u, some.rows.size());
  EXPECT_EQ(L"default", some.rows[0][2]) << "the empty name is the built-in English";
  EXPECT_EQ(L"checked", some.rows[0][3]);
  for (const auto& row : some.rows) EXPECT_NE(L"LocalizeExample.lng", row[0]);
}

TEST(LanguageFilesTest, DefaultLanguageIsTheFirstFileWithItsPrefix) {
  qlrtest::TempDir dir;
  WriteLng(dir.File(L"Zulu.lng"), L"[Main]\r\nLangPrefix=Fr\r\n");
  WriteLng(dir.File(L"Alpha.lng"), L"[Main]\r\nLangPrefix= fR \r\n");
  WriteLng(dir.File(L"Bare.lng"), L"[Menu_Client]\r\nOpen=Open\r\n");
  WriteLng(dir.File(L"German.lng"), L"[Main]\r\nLangPrefix=De\r\n");
  struct Case {
    const wchar_t* prefix;
    const wchar_t* found;
  } cases[] = {{L"fr", L"Alpha.lng"}, {L"DE", L"German.lng"}, {L"ru", L""}, {L"f", L""}};
  for (const Case& c : cases) {
    SetEnvironmentVariableW(L"QLR_FIND_LANG_PREFIX", c.prefix);
    FolderReport report = RunFolderHelper(dir.Path(), L"", nullptr, dir.File(L"r.txt"));
    ASSERT_EQ(1u, report.rows.size()) << c.prefix;
    EXPECT_EQ(std::wstring(L"found:") + c.found, report.rows[0][0]) << c.prefix;
  }
  SetEnvironmentVariableW(L"QLR_FIND_LANG_PREFIX", nullptr);
}

TEST(LanguageFilesTest, FolderWithoutLanguagesListsOnlyTheBuiltIn) {
  qlrtest::TempDir dir;
  FolderReport report = RunFolderHelper(dir.Path(), L"", nullptr, dir.File(L"r.txt"));
  // No match counts as a failed search; the built-in entry is listed anyway.
  std::vector<std::vector<std::wstring>> expected = {
      {L"no-search", L"", L"", L"", L""},
      {L"", L"English (Embedded)", L"default", L"checked", L"33000"}};
  EXPECT_EQ(expected, report.rows);
}

// A program in a "Release" or "Debug" build folder looks for its language
// files in the parent folder, for the path as for the list and the menu.
TEST(LanguageFilesTest, BuildFolderUsesItsParentForEveryLookup) {
  const wchar_t* buildFolders[] = {L"release", L"Debug"};
  for (const wchar_t* sub : buildFolders) {
    qlrtest::TempDir dir;
    const std::wstring program = dir.File(sub);
    ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr));
    WriteLng(dir.File(L"Fr.lng"), L"[Main]\r\nLangLocalized=Français\r\n");
    WriteLng(program + L"\\Inner.lng", L"[Main]\r\nLangLocalized=Inner\r\n");
    FolderReport report = RunFolderHelper(program, L"Fr.lng", nullptr, dir.File(L"r.txt"));
    EXPECT_EQ(dir.File(L"LocalizeExample.lng"), report.examplePath) << sub;
    std::vector<std::vector<std::wstring>> expected = {
        {L"", L"English (Embedded)", L"", L"", L"33000"},
        {L"Fr.lng", L"Français", L"default", L"checked", L"33001"},
    };
    EXPECT_EQ(expected, report.rows) << sub;
  }
}

TEST(LanguageFilesTest, OtherFolderNamesAreTheProgramFolder) {
  qlrtest::TempDir dir;
  const std::wstring program = dir.File(L"Releases");
  ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr));
  FolderReport report = RunFolderHelper(program, L"", nullptr, dir.File(L"r.txt"));
  EXPECT_EQ(program + L"\\LocalizeExample.lng", report.examplePath);
}

TEST(LanguageFilesTest, EmptyListBuildsNoMenu) {
  HMENU menu = CreatePopupMenu();
  EXPECT_FALSE(BuildLanguageMenu(menu, 100, {}, L""));
  EXPECT_EQ(0, GetMenuItemCount(menu));
  DestroyMenu(menu);
}

}  // namespace
