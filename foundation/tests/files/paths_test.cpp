#include "foundation/files/paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "foundation/text/text_basics.h"
#include "tests/support/test_support.h"

namespace {

TEST(PathsTest, PartsOfPaths) {
  struct Case {
    const wchar_t* path;
    const wchar_t* ext;
    const wchar_t* name;
    const wchar_t* folder;         // noBackslash false
    const wchar_t* folderNoSlash;  // noBackslash true
  } cases[] = {
      {L"C:\\dir\\sub\\file.txt", L".txt", L"file.txt", L"C:\\dir\\sub\\", L"C:\\dir\\sub"},
      {L"C:\\dir.d\\file", L"", L"file", L"C:\\dir.d\\", L"C:\\dir.d"},
      {L"C:\\a\\b.tar.gz", L".gz", L"b.tar.gz", L"C:\\a\\", L"C:\\a"},
      {L"C:\\file.txt", L".txt", L"file.txt", L"C:\\", L"C:\\"},
      {L"C:\\", L"", L"", L"C:\\", L"C:\\"},
      {L"C:", L"", L"", L"C:\\", L"C:\\"},
      {L"C:\\dir\\", L"", L"", L"C:\\dir\\", L"C:\\dir"},
      {L"\\\\srv\\share\\f.q", L".q", L"f.q", L"\\\\srv\\share\\", L"\\\\srv\\share"},
      {L"rel/dir/x.y", L".y", L"x.y", L"rel/dir\\", L"rel/dir"},
      {L"file.txt", L".txt", L"file.txt", L"", L""},
      {L"", L"", L"", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(GetFileExt(c.path), c.ext);
    EXPECT_EQ(GetFileNameFromPath(c.path), c.name);
    EXPECT_EQ(GetFolderFromPath(c.path, false), c.folder);
    EXPECT_EQ(GetFolderFromPath(c.path, true), c.folderNoSlash);
  }
}

TEST(PathsTest, ProgramAndTemporaryFolders) {
  std::wstring module = GetModulePath();
  ASSERT_FALSE(module.empty());
  EXPECT_EQ(GetFileNameFromPath(module), L"foundation_paths_test.exe");
  EXPECT_EQ(GetAppFolderWithSlash(), GetFolderFromPath(module, false));
  EXPECT_EQ(GetAppFolder() + L"\\", GetAppFolderWithSlash());
  EXPECT_NE(GetAppFolder().back(), L'\\');

  std::wstring temp = GetTempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  DWORD attrs = GetFileAttributesW(temp.c_str());
  EXPECT_TRUE(attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(PathsTest, LeadingDot) {
  EXPECT_EQ(EnsureLeadingDot(L"txt"), L".txt");
  EXPECT_EQ(EnsureLeadingDot(L".txt"), L".txt");
  EXPECT_EQ(EnsureLeadingDot(L""), L"");
}

TEST(PathsTest, TempNamesAreFreshAndCarryTheExtension) {
  qlrtest::TempDir dir;
  std::set<std::wstring> seen;
  for (int i = 0; i < 50; ++i) {
    // Created at once, as callers do: the next name must avoid it.
    std::wstring name = MakeTempFileName(dir.Path(), L"txt");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(GetFolderFromPath(name, true), dir.Path());
    std::wstring file = GetFileNameFromPath(name);
    EXPECT_EQ(file.substr(0, 3), L"abc");  // the platform keeps three prefix letters
    EXPECT_EQ(file.substr(file.size() - 8), L".tmp.txt");
    EXPECT_TRUE(seen.insert(name).second) << "repeated " << qlrtest::ToUtf8(name);
    ASSERT_TRUE(qlrtest::WriteBytes(name, "x"));
  }
  // Without a folder the name lies in the temporary folder; ".ext" keeps one dot.
  std::wstring name = GetTempFileNameWithExt(L".log");
  EXPECT_EQ(GetFolderFromPath(name, false), GetTempFolder());
  EXPECT_EQ(GetFileExt(name), L".log");
  EXPECT_EQ(name.find(L".."), std::wstring::npos);
  EXPECT_EQ(GetFileExt(MakeTempFileName(dir.Path() + L"\\", L"")), L".tmp");
  EXPECT_EQ(MakeTempFileName(dir.File(L"not\\there"), L"x"), L"");  // no such folder
}

TEST(PathsTest, EnvironmentTokens) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"QLR_TEST_VAR", L"value"));
  struct Case {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"%QLR_TEST_VAR%\\x", L"value\\x"},
      {L"a %QLR_TEST_VAR% b %QLR_TEST_VAR%", L"a value b value"},
      {L"%QLR_NO_SUCH_VAR%\\x", L"%QLR_NO_SUCH_VAR%\\x"},
      {L"50% of %QLR_TEST_VAR%", L"50% of %QLR_TEST_VAR%"},  // "% of %" is the token
      {L"100%", L"100%"},
      {L"plain", L"plain"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandEnvVars(c.in), c.out) << qlrtest::ToUtf8(c.in);
}

TEST(PathsTest, FileNamesFromText) {
  struct Case {
    const wchar_t* in;
    bool spaces;
    int max;
    const wchar_t* out;
  } cases[] = {
      {L"  a/b:c \t\r\n", false, 0, L"a_b_c"},
      {L"x\ny", false, 0, L"x"},
      {L"x\r\ny", false, 0, L"x"},  // the CR before the cut must not survive
      {L"?*:\\\"/<>\t|{}'%", false, 0, L""},
      {L"my phrase name", true, 0, L"my_phrase_name"},
      {L"my phrase name", false, 0, L"my phrase name"},
      {L"abcdefghij", false, 4, L"abcd"},
      {L"a??b", false, 0, L"a_b"},
      {L"a????b", false, 0, L"a_b"},
      {L"bell\x07here", false, 0, L"bell_here"},
      {L"__x__", false, 0, L"x"},
      {L"", false, 0, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakeFileNameFromText(c.in, c.spaces, c.max), c.out) << qlrtest::ToUtf8(c.in);
  }
}

TEST(TextBasicsTest, ReplaceCountsAndNeverLoops) {
  struct Case {
    const wchar_t* text;
    const wchar_t* from;
    const wchar_t* to;
    int count;
    const wchar_t* result;
  } cases[] = {
      {L"a-b-c", L"-", L"+", 2, L"a+b+c"},
      {L"aaa", L"a", L"aa", 3, L"aaaaaa"},  // replaced text is not searched again
      {L"abc", L"", L"x", 0, L"abc"},
      {L"abab", L"ab", L"", 2, L""},
      {L"xyz", L"q", L"r", 0, L"xyz"},
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(ReplaceText(text, c.from, c.to), c.count);
    EXPECT_EQ(text, c.result);
  }
  EXPECT_EQ(IntToStr(-42), L"-42");
  EXPECT_EQ(IntToStr(0), L"0");
  EXPECT_TRUE(EqualNoCase(L"C:\\Prog\\Q.EXE", L"c:\\prog\\q.exe"));
  EXPECT_FALSE(EqualNoCase(L"C:\\Prog\\Q.EXE", L"c:\\prog\\q.ex"));
}

TEST(TextBasicsTest, FormattedTextIsCutAndTerminated) {
  EXPECT_EQ(FormatText(L"PID=%d exe=[%ls]", 12, L"q.exe"), L"PID=12 exe=[q.exe]");
  const std::wstring longText(5000, L'x');
  EXPECT_EQ(FormatText(L"[%ls]", longText.c_str()), L"[" + longText.substr(0, 1022));
}

}  // namespace
