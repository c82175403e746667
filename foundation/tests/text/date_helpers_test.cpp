#include "foundation/text/date_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Day of week as the system calendar gives it for the same date.
int SystemDayOfWeek(WORD year, WORD month, WORD day) {
  SYSTEMTIME st = {};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &st)) return -1;
  return st.wDayOfWeek;
}

bool IsZeroed(const SYSTEMTIME& st) {
  static const SYSTEMTIME zero = {};
  return memcmp(&st, &zero, sizeof st) == 0;
}

struct DateCase {
  const wchar_t* text;
  bool ok;
  WORD year, month, day, hour, minute, second;
};

void ExpectDate(const SYSTEMTIME& st, const DateCase& c) {
  EXPECT_EQ(st.wYear, c.year) << c.text;
  EXPECT_EQ(st.wMonth, c.month) << c.text;
  EXPECT_EQ(st.wDay, c.day) << c.text;
  EXPECT_EQ(st.wHour, c.hour) << c.text;
  EXPECT_EQ(st.wMinute, c.minute) << c.text;
  EXPECT_EQ(st.wSecond, c.second) << c.text;
  EXPECT_EQ(st.wMilliseconds, 0) << c.text;
  if (c.ok) {
    // The system calendar starts in 1601.
    if (c.year >= 1601) {
      EXPECT_EQ(st.wDayOfWeek, SystemDayOfWeek(c.year, c.month, c.day)) << c.text;
    }
  } else {
    EXPECT_TRUE(IsZeroed(st)) << c.text;
  }
}

TEST(DateHelpersTest, MonthNamesIgnoreAsciiCaseOnly) {
  struct {
    const wchar_t* name;
    int month;
  } cases[] = {{L"Jan", 1}, {L"jan", 1}, {L"JAN", 1}, {L"jUN", 6}, {L"Dec", 12},
               {L"January", 0}, {L"Ja", 0}, {L"", 0}, {L"J\u0430n", 0}};
  for (const auto& c : cases) EXPECT_EQ(MonthFromName(c.name, 0), c.month) << c.name;
  EXPECT_EQ(MonthFromName(L"xyz", 65535), 65535);
}

TEST(DateHelpersTest, RssDatesReadDayMonthYearAndTime) {
  const DateCase cases[] = {
      {L"05 Dec 2026 10:20:30 GMT", true, 2026, 12, 5, 10, 20, 30},
      {L"  1 jan 2000  23:59:58  ", true, 2000, 1, 1, 23, 59, 58},
      {L"GMT 7 Mar 2021 04:05:06", true, 2021, 3, 7, 4, 5, 6},
      // Whatever does not read stays 0.
      {L"3 Feb", true, 0, 2, 3, 0, 0, 0},
      {L"3 Feb 2020 12", true, 2020, 2, 3, 12, 0, 0},
      // A leading weekday does not parse.
      {L"Sat, 05 Dec 2026 10:20:30 GMT", false, 0, 0, 0, 0, 0, 0},
      {L"05 Foo 2026 10:20:30", false, 0, 0, 0, 0, 0, 0},
      {L"", false, 0, 0, 0, 0, 0, 0},
      {L"GMT", false, 0, 0, 0, 0, 0, 0},
      {L"12", false, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SYSTEMTIME st;
    memset(&st, 0xAB, sizeof st);
    ASSERT_EQ(ParseRssDate(c.text, st), c.ok) << c.text;
    ExpectDate(st, c);
  }
  SYSTEMTIME st;
  EXPECT_FALSE(ParseRssDate(nullptr, st));
}

TEST(DateHelpersTest, HostileRssDatesAreReadWithinBounds) {
  SYSTEMTIME st;
  // A month "name" far longer than any field, and numbers far beyond 16 bits.
  std::wstring longName = L"1 " + std::wstring(5000, L'M') + L" 2020 10:00:00";
  EXPECT_FALSE(ParseRssDate(longName.c_str(), st));
  EXPECT_TRUE(IsZeroed(st));
  std::wstring longNumber = L"1 Jan " + std::wstring(400, L'9') + L" 10:00:00";
  EXPECT_TRUE(ParseRssDate(longNumber.c_str(), st));
  EXPECT_EQ(st.wMonth, 1);
  EXPECT_EQ(st.wHour, 10);
}

TEST(DateHelpersTest, BuildStampsReadMonthDayYearAndTime) {
  const DateCase cases[] = {
      {L"Dec  8 2026 19:45:07", true, 2026, 12, 8, 19, 45, 7},
      {L"Jan 15 2024 01:02:03", true, 2024, 1, 15, 1, 2, 3},
      {L"Xyz 15 2024 01:02:03", true, 2024, 1, 15, 1, 2, 3},  // unknown month reads as 1
      {L"Mar 30 2025", true, 2025, 3, 30, 0, 0, 0},
      {L"", false, 0, 0, 0, 0, 0, 0},
      {L"Mar", false, 0, 0, 0, 0, 0, 0},
      {L"Mar x 2025 10:00:00", false, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SYSTEMTIME st;
    memset(&st, 0xAB, sizeof st);
    ASSERT_EQ(ParseBuildStamp(c.text, st), c.ok) << c.text;
    ExpectDate(st, c);
  }
}

TEST(DateHelpersTest, OwnBuildStampParses) {
  SYSTEMTIME st;
  ASSERT_TRUE(ParseBuildDate(st)) << GetBuildStamp();
  EXPECT_GE(st.wYear, 2024);
  EXPECT_GE(st.wMonth, 1);
  EXPECT_LE(st.wMonth, 12);
  EXPECT_GE(st.wDay, 1);
  EXPECT_LE(st.wDay, 31);
  EXPECT_LE(st.wHour, 23);
  EXPECT_EQ(GetBuildStamp().size(), 20u);
}

}  // namespace
