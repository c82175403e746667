#include "editor/services/web_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/services/web_pages.h"
#include "foundation/system/shell_open.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::wstring> g_opened;

INT_PTR RecordOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int show) {
  g_opened.push_back(std::wstring(verb ? verb : L"") + L"|" + (file ? file : L"") + L"|" + std::to_wstring(show));
  return kShellOpenRecordedResult;
}

class WebLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_opened.clear();
    SetShellOpenHookForTests(RecordOpen);
  }
  void TearDown() override {
    SetShellOpenHookForTests(nullptr);
    SetRussianPages(false);
  }
};

TEST_F(WebLinksTest, PagesFollowTheRussianChoiceWhereTheyHaveTwoVariants) {
  struct Case {
    UINT command;
    const wchar_t* english;
    const wchar_t* russian;
  } cases[] = {
      {32781, L"/home_qlr.php", L"/home_qlr.php"},
      {32795, L"/home_support.php", L"/home_support.php"},
      {32783, L"/forum/index.php", L"/forum/index.php"},
      {kIdLinksOfficialForum, L"/home_forum.php", L"/home_forum.php"},
      {32806, L"/news_en.xml", L"/Rus/news_ru.xml"},
      {32812, L"/quillora.shtml#Macro", L"/Rus/quillora_faq.htm#Macro"},
      {32776, L"/quillora_faq.shtml#howto_loc", L"/quillora_faq.shtml#howto_loc_ru"},
      {32827, L"/qlr_video.shtml", L"/qlr_video.shtml"},
  };
  auto endsWith = [](const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  };
  for (bool russian : {false, true}) {
    SetRussianPages(russian);
    const std::wstring home = GetHomePageAddress();
    const std::wstring site = home.substr(0, home.size() - wcslen(L"/home_qlr.php"));
    for (const Case& c : cases) {
      const std::wstring address = GetCommandWebAddress(c.command);
      EXPECT_EQ(address, site + (russian ? c.russian : c.english)) << c.command << " " << russian;
      EXPECT_TRUE(endsWith(address, russian ? c.russian : c.english));
    }
    // The other forum and the community page are on hosts of their own.
    EXPECT_EQ(GetCommandWebAddress(32819).compare(0, 8, L"https://"), 0);
    EXPECT_FALSE(GetCommandWebAddress(32840).empty());
  }
}

TEST_F(WebLinksTest, CommandsOpenTheirPageMaximisedAndTheMailCommandAMailLink) {
  SetRussianPages(true);
  EXPECT_TRUE(OpenCommandLink(nullptr, 32806));
  EXPECT_TRUE(OpenCommandLink(nullptr, 32782));
  EXPECT_FALSE(OpenCommandLink(nullptr, 32834));  // Exit opens nothing
  ASSERT_EQ(g_opened.size(), 2u);
  EXPECT_EQ(g_opened[0], L"open|" + GetNewsFeedAddress() + L"|3");
  EXPECT_EQ(g_opened[1], L"open|mailto:" + GetAuthorsMailAddress() + L"?subject=Quillora|3");
}

TEST(WindowTitleTest, PartsJoinAsTheTitleShowsThem) {
  EXPECT_EQ(RemoveLastDot(L"1.2.3.4"), L"1.2.34");
  EXPECT_EQ(RemoveLastDot(L"7"), L"7");
  WindowTitleParts parts;
  parts.appName = L"Quillora";
  parts.editorName = L"PhraseEditor";
  parts.version = L"1.2.3.4";
  parts.admin = true;
  parts.folder = L"C:\\no_such_folder";
  parts.folderState = L"NOT EXISTS";
  EXPECT_EQ(FormatWindowTitle(parts), L"Quillora : PhraseEditor 1.2.34^  - C:\\no_such_folder  !!!!NOT EXISTS !!!!");
  parts.admin = false;
  parts.noAdminNote = L"no rights";
  parts.version.clear();
  parts.folderState.clear();
  EXPECT_EQ(FormatWindowTitle(parts), L"Quillora : PhraseEditor [no rights]  - C:\\no_such_folder");
}

TEST(WindowTitleTest, FolderStateFromTheFolderItself) {
  qlrtest::TempDir dir;
  EXPECT_EQ(GetFolderTitleState(dir.Path()), L"");
  EXPECT_EQ(GetFolderTitleState(dir.File(L"missing")), L"NOT EXISTS");
  EXPECT_EQ(GetFolderTitleState(L""), L"NOT EXISTS");
  const std::wstring locked = dir.File(L"locked");
  ASSERT_TRUE(CreateDirectoryW(locked.c_str(), nullptr));
  ASSERT_TRUE(qlrtest::SetUnixWritable(locked, false));
  EXPECT_EQ(GetFolderTitleState(locked), L"WRITING DENIED");
  qlrtest::SetUnixWritable(locked, true);
}

TEST(DataTypeNameTest, KnownTypesAreLocalisedOthersShowTheKeyword) {
  EXPECT_EQ(DataTypeDisplayName(0), L"Plain text");
  EXPECT_EQ(DataTypeDisplayName(1), L"Formatted text (RTF)");
  EXPECT_EQ(DataTypeDisplayName(2), L"Start application");
  EXPECT_EQ(DataTypeDisplayName(7), L"TEXT");
}

}  // namespace
