#include "foundation/localization/locale_names.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const LCID kEnglishUS = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
constexpr GEOID kUnitedStates = 244;

TEST(LocaleNamesTest, DayNamesCountFromSunday) {
  const wchar_t* full[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                           L"Thursday", L"Friday", L"Saturday"};
  const wchar_t* shortNames[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  for (int day = 0; day < 7; ++day) {
    EXPECT_EQ(GetLocaleDayName(day, kEnglishUS, false), full[day]) << day;
    EXPECT_EQ(GetLocaleDayName(day, kEnglishUS, true), shortNames[day]) << day;
  }
  for (int day : {-1, 7, 100}) {
    EXPECT_EQ(GetLocaleDayName(day, kEnglishUS, false), L"") << day;
    EXPECT_EQ(GetLocaleDayName(day, kEnglishUS, true), L"") << day;
  }
  // Another locale: day 0 is still its Sunday, the table's last entry.
  EXPECT_EQ(GetLocaleDayName(0, kGerman, false), GetLocaleString(kGerman, LOCALE_SDAYNAME7));
  EXPECT_EQ(GetLocaleDayName(1, kGerman, true), GetLocaleString(kGerman, LOCALE_SABBREVDAYNAME1));
  EXPECT_NE(GetLocaleDayName(0, kGerman, false), L"Sunday");
}

TEST(LocaleNamesTest, MonthNamesCountFromJanuary) {
  struct {
    int month;
    bool abbreviated;
    const wchar_t* expected;
  } cases[] = {
      {1, false, L"January"}, {1, true, L"Jan"},  {6, false, L"June"}, {12, false, L"December"},
      {12, true, L"Dec"},     {0, false, L""},    {13, true, L""},     {-12, false, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLocaleMonthName(c.month, kEnglishUS, c.abbreviated), c.expected) << c.month;
  }
}

TEST(LocaleNamesTest, LocaleStringsAndFailures) {
  EXPECT_EQ(GetLocaleString(kEnglishUS, LOCALE_SISO639LANGNAME), L"en");
  EXPECT_EQ(GetLocaleString(kGerman, LOCALE_SISO639LANGNAME), L"de");
  EXPECT_EQ(GetLocaleString(kGerman, LOCALE_SISO3166CTRYNAME), L"DE");
  EXPECT_EQ(GetLocaleString(kEnglishUS, 0x7FFF), L"");  // no such information type
}

// The user's nation is a per-user setting; the tests pin it to a known one.
class GeoInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_saved = GetUserGeoID(GEOCLASS_NATION);
    if (m_saved != kUnitedStates) {
      ASSERT_TRUE(SetUserGeoID(kUnitedStates));
    }
  }
  void TearDown() override {
    if (m_saved != kUnitedStates && m_saved != GEOID_NOT_AVAILABLE) SetUserGeoID(m_saved);
  }
  GEOID m_saved = GEOID_NOT_AVAILABLE;
};

TEST_F(GeoInfoTest, NamesOfTheUsersNation) {
  EXPECT_EQ(GetGeoIsoCode(true), L"US");
  EXPECT_EQ(GetGeoIsoCode(false), L"USA");
  // Some systems (Wine among them) cannot name a nation; then the names
  // are empty rather than stale or garbage.
  wchar_t probe[100] = {};
  if (GetGeoInfoW(kUnitedStates, GEO_FRIENDLYNAME, probe, 100, 0) > 0) {
    EXPECT_EQ(GetGeoFriendlyName(), L"United States");
    EXPECT_FALSE(GetGeoOfficialName().empty());
  } else {
    EXPECT_EQ(GetGeoFriendlyName(), L"");
    EXPECT_EQ(GetUserGeoInfoText(GEO_FRIENDLYNAME), L"");
  }
}

TEST_F(GeoInfoTest, SmallBuffersAreCutAndTerminatedInside) {
  // "USA" needs four characters with its terminator.
  const std::wstring full = L"USA";
  for (int size : {1, 2, 3, 4, 5}) {
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    ASSERT_TRUE(GetUserGeoInfo(GEO_ISO3, buffer, size)) << size;
    EXPECT_EQ(std::wstring(buffer), full.substr(0, size - 1)) << size;
    for (int i = std::min(size, 4); i < 8; ++i) EXPECT_EQ(buffer[i], L'#') << "written past " << size;
  }
  wchar_t none[1] = {L'#'};
  EXPECT_FALSE(GetUserGeoInfo(GEO_ISO2, none, 0));
  EXPECT_EQ(none[0], L'#');
  EXPECT_FALSE(GetUserGeoInfo(GEO_ISO2, nullptr, 10));
}

}  // namespace
