#include "history/actions/version_text.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/system/security.h"

namespace {

TEST(VersionTextTest, NormalisedVersionsKeepOnlyTheFirstDot) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"1, 5, 0", L"1.50"}, {L"1.5.0", L"1.50"}, {L"2,61", L"2.61"}, {L"3", L"3"},
      {L"", L""},            {L"1..2", L"1.2"},   {L".5", L".5"},
  };
  for (const auto& c : cases) {
    std::wstring text = c.in;
    NormalizeVersionText(text);
    EXPECT_EQ(text, c.out) << testing::PrintToString(std::wstring(c.in));
  }
}

TEST(VersionTextTest, PartsAreJoinedAsAsked) {
  const struct {
    const wchar_t* version;
    bool product, build;
    const wchar_t* prefix;
    bool blank, admin;
    const wchar_t* text;
  } cases[] = {
      {L"1, 5, 0, 7", true, true, L"build", true, false, L"Quillora 1.50 build 7"},
      {L"1.5.0.7", true, true, L"b", false, false, L"Quillora 1.50 b7"},
      {L"1.5.0.7", true, false, L"build", true, false, L"Quillora 1.50"},
      {L"1.5.0.7", true, false, L"", false, true, L"Quillora 1.50^"},
      {L"1.5.0.7", true, true, L"build", true, true, L"Quillora 1.50 build 7^"},
      {L"1.5.0.7", false, true, L"build", true, false, L"1.50 build 7"},
      {L"", true, true, L"build", true, true, L"Quillora"},  // no version block
      {L"", false, true, L"build", true, false, L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ComposeProgramVersionText(c.version, c.product, c.build, c.prefix, c.blank, c.admin),
              c.text)
        << testing::PrintToString(std::wstring(c.text));
}

// This test program carries the version block "1, 5, 0, 7".
TEST(VersionTextTest, OwnVersionBlockAndRightsMakeTheText) {
  SetAdminTestForTests([] { return false; });
  EXPECT_EQ(BuildProgramVersionText(true, true, L"build", true), L"Quillora 1.50 build 7");
  EXPECT_EQ(BuildProgramVersionText(true, false, L"", false), L"Quillora 1.50");
  SetAdminTestForTests([] { return true; });
  EXPECT_EQ(BuildProgramVersionText(true, true, L"b", false), L"Quillora 1.50 b7^");
  EXPECT_EQ(BuildProgramVersionText(true, false, L"", false), L"Quillora 1.50^");
  SetAdminTestForTests(nullptr);
}

}  // namespace
