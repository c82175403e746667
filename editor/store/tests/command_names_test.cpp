// The names a title gives on disk.
#include <gtest/gtest.h>

#include "editor/store/command_names.h"
#include "editor/store/tests/store_test_util.h"

namespace {

struct NameCase {
  const wchar_t* title;
  bool spacesToo;
  const wchar_t* expected;
};

TEST(CommandNamesTest, SafeFileNamesFromTitles) {
  const NameCase cases[] = {
      {L"a.b?c", true, L"a_b_c"},
      {L"  x  ", true, L"x"},
      {L"\tx \t", false, L"x"},
      {L"?:*|", true, L""},
      {L"two words", true, L"two_words"},
      {L"two words", false, L"two words"},
      {L"first\nsecond", true, L"first"},
      {L"line\r\nnext", true, L"line"},  // the CR left by the cut is no file name character
      {L"bell\x07here", true, L"bell_here"},
      {L"CON", true, L"CON_"},
      {L"nul", false, L"nul_"},
      {L"COM1", true, L"COM1_"},
      {L"CONSOLE", true, L"CONSOLE"},
      {L"a___b", true, L"a_b"},
  };
  for (const NameCase& c : cases)
    EXPECT_EQ(MakeSafeFileName(c.title, c.spacesToo), c.expected) << c.title;
}

TEST(CommandNamesTest, StripAndNormalize) {
  EXPECT_EQ(StripUnsafeChars(L"  my: new/group?  "), L"my newgroup");
  EXPECT_EQ(StripUnsafeChars(L"???"), L"");
  EXPECT_EQ(StripUnsafeChars(L"a\nb"), L"a");
  EXPECT_EQ(NormalizeTitle(L"  hello\tworld "), L"hello");
  EXPECT_EQ(NormalizeTitle(L"abcdef", 3), L"abc\u2026");
  EXPECT_EQ(NormalizeTitle(L"\r\n x \r\n"), L"x");
  std::wstring longTitle(10000, L'w');
  EXPECT_EQ(NormalizeTitle(longTitle).size(), 10000u);
  EXPECT_EQ(MakeFileTitle(longTitle, 1, true, true), longTitle + L".quillora");
}

TEST(CommandNamesTest, UniqueAndNumberedPathsSkipTakenNames) {
  qlrtest::TempDir dir;
  EXPECT_EQ(MakeUniquePath(dir.Path(), L"T", true, true, true), dir.File(L"T.quillora"));
  ASSERT_TRUE(storetest::WritePhrase(dir.File(L"T.quillora"), L"T"));
  EXPECT_EQ(MakeUniquePath(dir.Path(), L"T", true, true, true), dir.File(L"T2.quillora"));
  ASSERT_TRUE(storetest::WritePhrase(dir.File(L"T2.quillora"), L"T"));
  EXPECT_EQ(MakeUniquePath(dir.Path() + L"\\", L"T", true, true, true), dir.File(L"T3.quillora"));
  EXPECT_EQ(MakeUniquePath(dir.Path(), L"???", true, true, true), dir.File(L".quillora"));

  EXPECT_EQ(MakeNumberedPath(dir.Path(), L"B"), dir.File(L"B.quillora"));
  ASSERT_TRUE(storetest::WritePhrase(dir.File(L"B.quillora"), L"B"));
  EXPECT_EQ(MakeNumberedPath(dir.Path(), L"B"), dir.File(L"B_1.quillora"));
  ASSERT_TRUE(storetest::WritePhrase(dir.File(L"B_1.quillora"), L"B"));
  EXPECT_EQ(MakeNumberedPath(dir.Path() + L"\\", L"B"), dir.File(L"B_2.quillora"));
}

TEST(CommandNamesTest, CopyOrMoveEntryFindsFreeNames) {
  qlrtest::TempDir dir;
  std::wstring target = dir.File(L"target");
  ASSERT_TRUE(storetest::MakeDir(target));
  ASSERT_TRUE(storetest::WritePhrase(dir.File(L"P.quillora"), L"P"));
  ASSERT_TRUE(storetest::WritePhrase(target + L"\\P.quillora", L"other"));
  EXPECT_EQ(CopyOrMoveEntry(dir.File(L"P.quillora"), target, false), target + L"\\P2.quillora");
  EXPECT_TRUE(storetest::Exists(dir.File(L"P.quillora")));
  EXPECT_EQ(CopyOrMoveEntry(dir.File(L"P.quillora"), target, true), target + L"\\P3.quillora");
  EXPECT_FALSE(storetest::Exists(dir.File(L"P.quillora")));

  std::wstring folder = dir.File(L"F");
  ASSERT_TRUE(storetest::MakeDir(folder));
  ASSERT_TRUE(storetest::WritePhrase(folder + L"\\in.quillora", L"in"));
  std::wstring copied = CopyOrMoveEntry(folder, target, false);
  EXPECT_EQ(copied, target + L"\\F");
  EXPECT_TRUE(storetest::Exists(copied + L"\\in.quillora"));
  EXPECT_TRUE(storetest::Exists(folder + L"\\in.quillora"));
  EXPECT_EQ(CopyOrMoveEntry(folder, target, true), target + L"\\F2");
  EXPECT_FALSE(storetest::Exists(folder));
  EXPECT_EQ(CopyOrMoveEntry(dir.File(L"missing.quillora"), target, false), L"");
}

}  // namespace
