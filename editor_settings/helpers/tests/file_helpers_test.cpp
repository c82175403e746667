#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "editor_settings/helpers/file_helpers.h"
#include "tests/support/test_support.h"

namespace {

TEST(EditorPathsTest, PartsOfOddPaths) {
  struct Case {
    const wchar_t* path;
    const wchar_t* ext;
    const wchar_t* name;
    const wchar_t* folder;           // with a backslash
    const wchar_t* folderNoSlash;
  } cases[] = {
      {L"", L"", L"", L"", L""},
      {L"\\", L"", L"", L"\\", L"\\"},
      {L"C:", L"", L"", L"C:\\", L"C:\\"},  // a bare drive keeps its root
      {L"C:\\a.b\\c", L"", L"c", L"C:\\a.b\\", L"C:\\a.b"},
      {L"C:\\dir\\f.quillora", L".quillora", L"f.quillora", L"C:\\dir\\", L"C:\\dir"},
      {L"\\\\server\\share\\f.txt", L".txt", L"f.txt", L"\\\\server\\share\\", L"\\\\server\\share"},
      {L"C:\\dir\\\\", L"", L"", L"C:\\dir\\", L"C:\\dir"},  // a trailing double backslash
      {L"name.txt", L".txt", L"name.txt", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.ext, GetFileExt(c.path));
    EXPECT_EQ(c.name, GetFileNameFromPath(c.path));
    EXPECT_EQ(c.folder, GetFolderFromPath(c.path, false));
    EXPECT_EQ(c.folderNoSlash, GetFolderFromPath(c.path, true));
  }
  std::wstring app = GetAppFolder();
  ASSERT_FALSE(app.empty());
  EXPECT_NE(L'\\', app.back());
  EXPECT_EQ(app + L"\\", GetAppFolderWithSlash());
  EXPECT_EQ(app + L"\\", GetFolderFromPath(GetModulePath(), false));
  EXPECT_EQ(L'\\', GetTempFolder().back());
}

TEST(EditorPathsTest, FilesFoldersAndDrives) {
  qlrtest::TempDir dir;
  std::wstring file = dir.File(L"a.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(file, "x"));
  EXPECT_TRUE(IsFolderExist(dir.Path()));
  EXPECT_TRUE(IsFolderExist(dir.Path() + L"\\"));
  EXPECT_TRUE(IsFolderExist(dir.Path() + L"\\\\"));
  EXPECT_FALSE(IsFolderExist(file));
  EXPECT_FALSE(IsFolderExist(L""));
  EXPECT_FALSE(IsFolderExist(dir.File(L"missing")));
  // Longer than a path may be: never cut to something that exists.
  EXPECT_FALSE(IsFolderExist(dir.Path() + L"\\" + std::wstring(300, L'z')));
  EXPECT_TRUE(IsFileExist(file));
  EXPECT_FALSE(IsFileExist(dir.Path()));
  EXPECT_FALSE(IsFileExist(dir.File(L"missing.txt")));
  EXPECT_FALSE(IsFileExist(L""));
  EXPECT_FALSE(IsOnRemovableDrive(file));
  EXPECT_TRUE(IsOnRemovableDrive(L"\\\\server\\share\\f.txt"));

  std::wstring first = GetTempFileNameWithExt(L"txt");
  ASSERT_TRUE(qlrtest::WriteBytes(first, "taken"));
  std::wstring second = GetTempFileNameWithExt(L".txt");
  std::wstring third = GetTempFileNameWithExt(L"txt");
  ::DeleteFileW(first.c_str());
  for (const std::wstring* name : {&first, &second, &third}) {
    EXPECT_EQ(GetTempFolder(), GetFolderFromPath(*name, false)) << *name;
    EXPECT_EQ(L".txt", GetFileExt(*name)) << *name;
  }
  EXPECT_NE(first, second);
  EXPECT_NE(second, third) << "two names within one tick must differ";
  EXPECT_FALSE(IsFileExist(second)) << "the name is not created";
}

TEST(EditorPathsTest, EnvironmentTokensExpandOrStayWhole) {
  ASSERT_TRUE(::SetEnvironmentVariableW(L"QLR_HELPER_DIR", L"D:\\data"));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"QLR_HELPER_LONG", std::wstring(1200, L'L').c_str()));
  ::SetEnvironmentVariableW(L"QLR_HELPER_NONE", nullptr);
  struct Case {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"", L""},
      {L"%", L"%"},
      {L"%%", L"%%"},
      {L"a%b", L"a%b"},
      {L"%QLR_HELPER_DIR%\\x", L"D:\\data\\x"},
      {L"%QLR_HELPER_NONE%\\x", L"%QLR_HELPER_NONE%\\x"},
      {L"%QLR_HELPER_LONG%\\x", L"%QLR_HELPER_LONG%\\x"},  // too long to expand: the token stays
      {L"%QLR_HELPER_DIR%%QLR_HELPER_NONE%", L"D:\\data%QLR_HELPER_NONE%"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.out, ExpandEnvVarsInPath(c.in)) << c.in;
  ::SetEnvironmentVariableW(L"QLR_HELPER_DIR", nullptr);
  ::SetEnvironmentVariableW(L"QLR_HELPER_LONG", nullptr);
}

TEST(EditorPathsTest, NumbersDaysAndMonths) {
  EXPECT_EQ(L"0", IntToStr(0));
  EXPECT_EQ(L"-5", IntToStr(-5));
  EXPECT_EQ(L"-2147483648", IntToStr(INT_MIN));
  const LCID english = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
  EXPECT_EQ(L"Sunday", GetLocaleDayName(0, english, false));
  EXPECT_EQ(L"Sat", GetLocaleDayName(6, english, true));
  EXPECT_EQ(L"", GetLocaleDayName(7, english, false));
  EXPECT_EQ(L"", GetLocaleDayName(-1, english, true));
  EXPECT_EQ(L"January", GetLocaleMonthName(1, english, false));
  EXPECT_EQ(L"Dec", GetLocaleMonthName(12, english, true));
  EXPECT_EQ(L"", GetLocaleMonthName(0, english, false));
  EXPECT_EQ(L"", GetLocaleMonthName(13, english, true));
  EXPECT_TRUE(IsWindows2000OrLater());
}

void MakeTree(const std::wstring& root, const std::wstring& relative) {
  std::wstring path = root;
  size_t start = 0;
  for (;;) {
    size_t sep = relative.find(L'\\', start);
    path = root + L"\\" + relative.substr(0, sep);
    ::CreateDirectoryW(path.c_str(), nullptr);
    if (sep == std::wstring::npos) break;
    start = sep + 1;
  }
}

TEST(FolderHasPhraseFilesTest, FindsADeepFileAndNothingElse) {
  qlrtest::TempDir dir;
  // A phrase file beside the searched folder: reached only through "..".
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"outside.quillora"), "x"));
  std::wstring root = dir.File(L"root");
  MakeTree(dir.Path(), L"root\\a\\b\\c\\d");
  MakeTree(dir.Path(), L"root\\e");
  for (const wchar_t* name : {L"root\\x.quillora.txt", L"root\\a\\quillora", L"root\\e\\y.quilloraa"})
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(name), "x"));
  EXPECT_FALSE(FolderHasPhraseFiles(root));
  EXPECT_FALSE(FolderHasPhraseFiles(root + L"\\"));
  EXPECT_FALSE(FolderHasPhraseFiles(dir.File(L"missing")));
  EXPECT_FALSE(FolderHasPhraseFiles(L""));

  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"root\\a\\b\\c\\d\\Deep.QUILLORA"), "x"));
  EXPECT_TRUE(FolderHasPhraseFiles(root));
  EXPECT_TRUE(FolderHasPhraseFiles(root + L"\\a\\b\\"));
  EXPECT_FALSE(FolderHasPhraseFiles(root + L"\\e"));
}

TEST(FolderHasPhraseFilesTest, FolderLinksAreNotFollowed) {
  qlrtest::TempDir dir;
  std::wstring root = dir.File(L"root");
  MakeTree(dir.Path(), L"root\\sub");
  std::wstring target = dir.File(L"elsewhere");
  ASSERT_TRUE(::CreateDirectoryW(target.c_str(), nullptr));
  ASSERT_TRUE(qlrtest::WriteBytes(target + L"\\linked.quillora", "x"));
  std::wstring loop = root + L"\\sub\\up";
  std::wstring link = root + L"\\link";
  if (!::CreateSymbolicLinkW(loop.c_str(), root.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
      !::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    GTEST_SKIP() << "no folder links here (error " << ::GetLastError() << ")";
  }
  // The search sees a folder's entry as its parent's listing gives it.
  WIN32_FIND_DATAW fd = {};
  HANDLE find = ::FindFirstFileW(loop.c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  if (find == INVALID_HANDLE_VALUE || !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    ::RemoveDirectoryW(loop.c_str());
    ::RemoveDirectoryW(link.c_str());
    GTEST_SKIP() << "folder links are not shown as reparse points here";
  }
  // A link to the tree's own parent ends nothing, and the file behind the
  // other link is not the tree's.
  EXPECT_FALSE(FolderHasPhraseFiles(root));
  ASSERT_TRUE(qlrtest::WriteBytes(root + L"\\sub\\own.quillora", "x"));
  EXPECT_TRUE(FolderHasPhraseFiles(root));
  ::RemoveDirectoryW(loop.c_str());
  ::RemoveDirectoryW(link.c_str());
}

}  // namespace
