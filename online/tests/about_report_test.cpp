#include <gtest/gtest.h>

#include "online/about/about_probes.h"
#include "online/about/about_report.h"
#include "online/about/about_rows.h"
#include "phrases/store/phrase_statistics.h"
#include "tests/support/test_support.h"

namespace {

TEST(AboutReportText, RowsGroupsAndEmptyCaptions) {
  struct Case {
    std::vector<AboutRow> rows;
    std::wstring text;
  } cases[] = {
      {{}, L""},
      {{{L"Version", L"1.0", kAboutPlain}, {L"Released", L"today", kAboutPlain}},
       L"Version 1.0\r\nReleased today"},
      {{{L"Version", L"1.0", kAboutPlain}, {L"Components", L"", kAboutGroup}, {L"Core DLL", L"x", kAboutSuccess}},
       L"Version 1.0\r\n\r\nComponents \r\nCore DLL x"},
      // A group at the top does not start the text with an empty line.
      {{{L"Log (0)", L"", kAboutGroup}}, L"Log (0)"},
      {{{L"Processes", L"", kAboutGroup}, {L"", L"C:\\a.exe", kAboutPlain}},
       L"Processes \r\n======================"},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildAboutReportText(c.rows), c.text);
}

TEST(AboutReportText, LongTextsAreCutAt200Characters) {
  std::vector<AboutRow> rows = {{std::wstring(500, L'c'), std::wstring(5000, L'v'), kAboutPlain}};
  EXPECT_EQ(BuildAboutReportText(rows), std::wstring(200, L'c') + L" " + std::wstring(200, L'v'));
}

TEST(AboutReportText, TipsShowCaptionAndValueButNotForGroups) {
  EXPECT_EQ(BuildAboutTipText({L"Version", L"1.0", kAboutPlain}), L"Version 1.0");
  EXPECT_EQ(BuildAboutTipText({L"Write Rights", L"FAIL", kAboutFailure}), L"Write Rights FAIL");
  EXPECT_EQ(BuildAboutTipText({L"Environment", L"", kAboutGroup}), L"");
  EXPECT_EQ(BuildAboutTipText({std::wstring(1500, L'c'), std::wstring(3000, L'v'), kAboutPlain}),
            std::wstring(1000, L'c') + L" " + std::wstring(1000, L'v'));
}

TEST(AboutReportText, MenuTextsBecomeTitles) {
  struct Case {
    const wchar_t* menu;
    const wchar_t* title;
  } cases[] = {
      {L"&About Quillora\x2026", L"About Quillora"},
      {L"&About Quillora...", L"About Quillora"},
      {L"Tom && Jerry\tCtrl+A", L"Tom & Jerry"},
      {L"&&&Both", L"&Both"},
      {L"Trailing &", L"Trailing "},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(MenuTextToTitle(c.menu), c.title) << c.menu;
}

TEST(AboutReportText, ControlCharactersBecomeBlanks) {
  std::wstring raw = L"line1\r\nline2\tx";
  raw.push_back(L'\0');
  raw += L"y";
  EXPECT_EQ(CleanAboutValue(raw), L"line1  line2 x y");
}

size_t CountEntries(const std::wstring& folder) {
  WIN32_FIND_DATAW found = {};
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  size_t n = 0;
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") ++n;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return n;
}

std::wstring ValueOf(const std::vector<AboutRow>& rows, const std::wstring& caption, int* kind = nullptr) {
  for (const AboutRow& row : rows)
    if (row.caption == caption) {
      if (kind) *kind = row.kind;
      return row.value;
    }
  return L"<missing>";
}

TEST(AboutProbes, WritableFolderPassesAndKeepsNothing) {
  qlrtest::TempDir dir;
  std::vector<AboutRow> rows;
  AddPhraseFolderTests(rows, dir.Path());
  for (const wchar_t* caption : {L"Test for phrase-file", L"Test for phrase-group", L"Phrases Folder Read",
                                 L"Read Rights", L"Phrases Folder Write", L"Write Rights"}) {
    int kind = -1;
    EXPECT_EQ(ValueOf(rows, caption, &kind), L"Successfully") << caption;
    EXPECT_EQ(kind, kAboutSuccess) << caption;
  }
  EXPECT_EQ(CountEntries(dir.Path()), 0u);
}

TEST(AboutProbes, MissingFolderFailsEveryTest) {
  qlrtest::TempDir dir;
  std::vector<AboutRow> rows;
  AddPhraseFolderTests(rows, dir.File(L"gone"));
  for (const AboutRow& row : rows) {
    EXPECT_EQ(row.value, L"FAIL") << row.caption;
    EXPECT_EQ(row.kind, kAboutFailure) << row.caption;
  }
  EXPECT_EQ(rows.size(), 6u);
  EXPECT_EQ(GetFileAttributesW(dir.File(L"gone").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(AboutProbes, FileBlockForPresentAndMissingFiles) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"Settings.ini"), "[Settings]\r\n"));
  std::vector<AboutRow> rows;
  AddFileBlock(rows, L"Settings File", dir.File(L"Settings.ini"));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].caption, L"Settings File [Settings.ini]");
  EXPECT_EQ(rows[0].kind, kAboutGroup);
  EXPECT_EQ(ValueOf(rows, L"Full Path"), dir.File(L"Settings.ini"));
  EXPECT_EQ(ValueOf(rows, L"Settings.ini"), L"exist");
  EXPECT_EQ(ValueOf(rows, L"Read Access"), L"OK");
  EXPECT_EQ(ValueOf(rows, L"Write Access"), L"OK");

  rows.clear();
  AddFileBlock(rows, L"Phrases Folder", dir.File(L"NoSuch"));
  ASSERT_EQ(rows.size(), 3u);
  int kind = -1;
  EXPECT_EQ(ValueOf(rows, L"NoSuch", &kind), L"not exists");
  EXPECT_EQ(kind, kAboutFailure);
}

}  // namespace

namespace {

TEST(AboutProbes, ReadOnlyFolderFailsTheWriteTestsAndKeepsNothing) {
  qlrtest::TempDir dir;
  std::wstring folder = dir.File(L"phrases");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(qlrtest::SetUnixWritable(folder, false));
  std::vector<AboutRow> rows;
  AddPhraseFolderTests(rows, folder);
  qlrtest::SetUnixWritable(folder, true);
  // The write probes themselves depend on the account (root writes into any
  // folder); the token check and the clean folder do not.
  for (const wchar_t* caption : {L"Write Rights"}) {
    int kind = -1;
    EXPECT_EQ(ValueOf(rows, caption, &kind), L"FAIL") << caption;
    EXPECT_EQ(kind, kAboutFailure) << caption;
  }
  EXPECT_EQ(ValueOf(rows, L"Phrases Folder Read"), L"Successfully");
  EXPECT_EQ(CountEntries(folder), 0u);
}

}  // namespace

namespace {

TEST(AboutRows, ProcessRowsNameTheirProgramsInTheCopiedReport) {
  std::vector<AboutRow> rows;
  AddProcessRows(rows, {L"C:\\Windows\\explorer.exe", L"", L"winedevice.exe", L"C:\\Tools\\"});
  EXPECT_EQ(BuildAboutReportText(rows),
            L"Processes \r\nexplorer.exe C:\\Windows\\explorer.exe\r\nwinedevice.exe winedevice.exe\r\n"
            L"C:\\Tools\\ C:\\Tools\\");
}

TEST(AboutRows, DurationsReadAsHoursMinutesAndSeconds) {
  struct Case {
    long long seconds;
    const wchar_t* text;
  } cases[] = {{-5, L"0 sec"}, {0, L"0 sec"}, {59, L"59 sec"}, {60, L"1 min 0 sec"},
               {3599, L"59 min 59 sec"}, {3600, L"1 h 0 min 0 sec"}, {90061, L"25 h 1 min 1 sec"}};
  for (const Case& c : cases) EXPECT_EQ(FormatDurationText(c.seconds), c.text) << c.seconds;
}

TEST(AboutRows, StatisticRowsCountPhrasesWithoutFolders) {
  PhraseTreeStatistics stats;
  stats.folders = 2;
  stats.textPhrases = 3;
  stats.rtfPhrases = 1;
  stats.execPhrases = 1;
  stats.enabledNodes = 6;
  stats.totalUsage = 12;
  stats.highestUsage = 9;
  stats.mostUsedCaption = L"Greeting";
  stats.charactersInserted = 600;
  std::vector<AboutRow> rows;
  AddStatisticRows(rows, stats);
  EXPECT_EQ(ValueOf(rows, L"All Phrases"), L"5");
  EXPECT_EQ(ValueOf(rows, L"Included Phrases"), L"6");
  EXPECT_EQ(ValueOf(rows, L"Folders"), L"2");
  EXPECT_EQ(ValueOf(rows, L"All Usage"), L"12 times");
  EXPECT_EQ(ValueOf(rows, L"Max Usage"), L"9 times, Greeting");
  EXPECT_EQ(ValueOf(rows, L"Typing Time Saved"), L"3 min 20 sec");
}

TEST(AboutProbes, BrowserProbeLeavesNothingBehind) {
  qlrtest::TempDir dir;
  FindDefaultBrowser(dir.Path());
  EXPECT_EQ(CountEntries(dir.Path()), 0u);
  EXPECT_EQ(FindDefaultBrowser(dir.File(L"gone")), L"");
  // A page of the probe's name that was there before stays as it was.
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"test_qlr.htm"), "<p>mine</p>"));
  FindDefaultBrowser(dir.Path());
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"test_qlr.htm")), "<p>mine</p>");
  EXPECT_EQ(GetFileAttributesW(dir.File(L"gone").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
