#include <gtest/gtest.h>

#include "foundation/text/date_helpers.h"
#include "phrases/macros/macro_dates.h"

namespace {

TEST(BuildDateTest, TheStampInTheUsersFormatOrAsItIs) {
  // This very build's stamp.
  SYSTEMTIME built = {};
  ASSERT_TRUE(ParseBuildDate(built));
  std::wstring text = GetBuildDateText();
  EXPECT_EQ(text, FormatDateTimeFull(built));
  EXPECT_NE(text, GetBuildStamp());
  EXPECT_NE(text.find(std::to_wstring(built.wYear)), std::wstring::npos);

  SYSTEMTIME known = {2026, 3, 0, 5, 7, 8, 9, 0};
  EXPECT_EQ(GetBuildDateText(L"Mar  5 2026 07:08:09"), FormatDateTimeFull(known));
  for (const wchar_t* raw : {L"", L"built today", L"Mar"})
    EXPECT_EQ(GetBuildDateText(raw), raw);
}

}  // namespace
