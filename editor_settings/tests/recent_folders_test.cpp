// The recent phrase-folder list: cleaning, order, the default entry, and
// stored lists that cannot be trusted.
#include "editor_settings/recent_folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "editor_settings/editor_settings.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

using Folders = std::vector<std::wstring>;

Folders ListOf(const CQLREditorSettings& s) {
  Folders list;
  for (int i = 0; i < s.GetPrevFoldersCount(); ++i) list.push_back(s.GetPrevFolder(i));
  return list;
}

std::wstring NoSlash(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

class RecentFoldersTest : public SettingsFoldersTest {
 protected:
  Folders LoadWith(const std::wstring& settingsLines) {
    EXPECT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\n" + settingsLines));
    CQLREditorSettings s;
    s.Load();
    return ListOf(s);
  }
};

TEST_F(RecentFoldersTest, AddingCleansAndNormalisesTheList) {
  RecentFolders list;
  EXPECT_EQ(list.Get(0), L"");
  list.Add(L"D:\\Zeta\\\\");
  EXPECT_EQ(list.Get(0), L"D:\\Zeta");  // one entry: left as it is
  list.Add(L"C:\\alpha");
  list.Add(L"d:\\ZETA\\");                     // the same folder in other case
  list.Add(L"\\\\\\");                          // nothing left once cleaned
  list.Add(L"");
  list.Add(L"C:\\" + std::wstring(MAX_PATH, L'x'));  // no path is that long
  list.Add(L"c:\\Beta");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Get(0), L"C:\\alpha");
  EXPECT_EQ(list.Get(1), L"c:\\Beta");
  EXPECT_EQ(list.Get(2), L"D:\\Zeta");
  EXPECT_EQ(list.Get(3), L"");  // an index equal to the count
  EXPECT_EQ(list.Get(-1), L"");
}

TEST_F(RecentFoldersTest, StoredListsAreReadWithinBounds) {
  const std::wstring def = NoSlash(CQLREditorSettings::GetDefaultPhrasesDirectory());
  const std::wstring longName = L"C:\\" + std::wstring(300, L'y');
  struct Case {
    const char* name;
    std::wstring lines;
    Folders expected;
  } cases[] = {
      {"none stored", L"", {def}},
      {"sorted, backslashes and case twins",
       L"PrevFoldersCount=4\r\nPrev_Folder1=D:\\z\\\\\r\nPrev_Folder2=C:\\b\r\n"
       L"Prev_Folder3=d:\\Z\\\r\nPrev_Folder4=c:\\A\r\n",
       {L"c:\\A", L"C:\\b", L"D:\\z"}},
      {"one entry keeps its text", L"PrevFoldersCount=1\r\nPrev_Folder1=Q:\\One\\\r\n", {L"Q:\\One"}},
      {"count honoured over a longer tail",
       L"PrevFoldersCount=2\r\nPrev_Folder1=B:\\2\r\nPrev_Folder2=A:\\1\r\nPrev_Folder3=C:\\old\r\n",
       {L"A:\\1", L"B:\\2"}},
      {"ends at the first missing entry",
       L"PrevFoldersCount=5\r\nPrev_Folder1=A:\\1\r\nPrev_Folder2=B:\\2\r\nPrev_Folder4=D:\\4\r\n",
       {L"A:\\1", L"B:\\2"}},
      {"negative count", L"PrevFoldersCount=-3\r\nPrev_Folder1=A:\\1\r\nPrev_Folder2=B:\\2\r\n",
       {L"A:\\1", L"B:\\2"}},
      {"zero count", L"PrevFoldersCount=0\r\nPrev_Folder1=A:\\1\r\n", {L"A:\\1"}},
      {"huge count", L"PrevFoldersCount=2147483647\r\nPrev_Folder1=A:\\1\r\nPrev_Folder2=B:\\2\r\n",
       {L"A:\\1", L"B:\\2"}},
      {"garbage count", L"PrevFoldersCount=abc\r\nPrev_Folder1=A:\\1\r\n", {L"A:\\1"}},
      {"unusable entries skipped",
       L"PrevFoldersCount=4\r\nPrev_Folder1=\r\nPrev_Folder2=\\\\\\\r\nPrev_Folder3=" + longName +
           L"\r\nPrev_Folder4=E:\\ok\r\n",
       {L"E:\\ok"}},
      {"only unusable entries: the default",
       L"PrevFoldersCount=2\r\nPrev_Folder1=\r\nPrev_Folder2=\\\r\n", {def}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DWORD start = GetTickCount();
    EXPECT_EQ(LoadWith(c.lines), c.expected);
    EXPECT_LT(GetTickCount() - start, 20000u);
  }
}

TEST_F(RecentFoldersTest, AtMostAThousandStoredEntriesAreRead) {
  std::wstring section = L"PrevFoldersCount=2147483647";
  section.push_back(L'\0');
  for (int i = 1; i <= 1005; ++i) {
    wchar_t line[64];
    swprintf(line, 64, L"Prev_Folder%d=C:\\F%04d", i, i);
    section += line;
    section.push_back(L'\0');
  }
  section.push_back(L'\0');
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\n"));
  ASSERT_TRUE(WritePrivateProfileSectionW(L"Settings", section.c_str(), ProgramIni().c_str()));
  CQLREditorSettings s;
  s.Load();
  ASSERT_EQ(s.GetPrevFoldersCount(), RecentFolders::kMaxStored);
  EXPECT_EQ(s.GetPrevFolder(0), L"C:\\F0001");
  EXPECT_EQ(s.GetPrevFolder(999), L"C:\\F1000");
}

TEST_F(RecentFoldersTest, ASavedListComesBackTheSame) {
  CQLREditorSettings out;
  out.Load();
  out.AddPrevFolder(L"Z:\\Last\\");
  out.AddPrevFolder(L"A:\\First");
  ASSERT_TRUE(out.Save());
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"PrevFoldersCount", 0, ProgramIni().c_str()), 3u);
  CQLREditorSettings in;
  in.Load();
  EXPECT_EQ(ListOf(in), ListOf(out));
  EXPECT_EQ(ListOf(in)[0], L"A:\\First");
}

}  // namespace
