#include <gtest/gtest.h>

#include <vector>

#include "settings/settings.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

class SettingsKeysTest : public SettingsFoldersTest {
 protected:
  int StoredInt(const wchar_t* section, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, -12345, ProgramIni().c_str()));
  }
};

TEST_F(SettingsKeysTest, DelayInsertIsWrittenOnFirstUse) {
  EXPECT_EQ(StoredInt(L"Settings", L"DelayInsertMilliseconds_v141"), -12345);
  EXPECT_EQ(CQLRSettings::GetDelayInsertMilliseconds(), 400);
  EXPECT_EQ(StoredInt(L"Settings", L"DelayInsertMilliseconds_v141"), 400);
  WritePrivateProfileStringW(L"Settings", L"DelayInsertMilliseconds_v141", L"150", ProgramIni().c_str());
  EXPECT_EQ(CQLRSettings::GetDelayInsertMilliseconds(), 150);
}

TEST_F(SettingsKeysTest, SkippedVersionsAreACommaList) {
  std::vector<int> none;
  EXPECT_FALSE(CQLRSettings::SaveSkippedVersions(none));
  std::vector<int> kept = {7};
  EXPECT_FALSE(CQLRSettings::LoadSkippedVersions(kept)) << "nothing stored";
  EXPECT_EQ(kept, std::vector<int>{7});

  ASSERT_TRUE(CQLRSettings::SaveSkippedVersions({150, 151, -3}));
  wchar_t text[100] = {};
  GetPrivateProfileStringW(L"Settings", L"SkippedVersion_OnCheckUpdates", L"", text, 100, ProgramIni().c_str());
  EXPECT_STREQ(text, L"150,151,-3");

  const struct {
    const wchar_t* stored;
    std::vector<int> expected;
  } cases[] = {
      {L"150,151,-3", {150, 151, -3}},
      {L"200", {200}},
      {L"12,abc,13", {12, 13}},
      {L"5,,6,", {5, 6}},
  };
  for (const auto& c : cases) {
    WritePrivateProfileStringW(L"Settings", L"SkippedVersion_OnCheckUpdates", c.stored, ProgramIni().c_str());
    std::vector<int> versions = {99};
    EXPECT_TRUE(CQLRSettings::LoadSkippedVersions(versions));
    EXPECT_EQ(versions, c.expected) << qlrtest::ToUtf8(c.stored);
  }
}

TEST_F(SettingsKeysTest, LastCheckIsAFileTimeInTwoInts) {
  SYSTEMTIME when = {};
  when.wYear = 2026;
  when.wMonth = 11;
  when.wDay = 30;
  when.wHour = 23;
  when.wMinute = 59;
  when.wSecond = 58;
  ASSERT_TRUE(CQLRSettings::SetLastCheckForUpdates(when));
  FILETIME ft;
  SystemTimeToFileTime(&when, &ft);
  EXPECT_EQ(static_cast<DWORD>(StoredInt(L"Settings", L"LastCheckForUpdates_V2Low")), ft.dwLowDateTime);
  EXPECT_EQ(static_cast<DWORD>(StoredInt(L"Settings", L"LastCheckForUpdates_V2Hi")), ft.dwHighDateTime);

  SYSTEMTIME read = {};
  read.wYear = 2000;
  read.wMonth = 1;
  read.wDay = 1;
  ASSERT_TRUE(CQLRSettings::GetLastCheckForUpdates(read));
  EXPECT_EQ(read.wYear, 2026);
  EXPECT_EQ(read.wMonth, 11);
  EXPECT_EQ(read.wDay, 30);
  EXPECT_EQ(read.wHour, 23);
  EXPECT_EQ(read.wSecond, 58);

  SYSTEMTIME local = read;
  ASSERT_TRUE(CQLRSettings::GetLastCheckForUpdatesLocal(local));
  FILETIME localFt, expectedFt;
  FileTimeToLocalFileTime(&ft, &expectedFt);
  SystemTimeToFileTime(&local, &localFt);
  EXPECT_EQ(CompareFileTime(&localFt, &expectedFt), 0);
}

ULONGLONG Ticks(const SYSTEMTIME& time) {
  FILETIME ft = {};
  SystemTimeToFileTime(&time, &ft);
  return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

TEST_F(SettingsKeysTest, MissingOrBrokenLastCheckReadsNowOrFirstDate) {
  // Never checked: now, whatever the caller holds, and now is stored.
  for (bool zeroed : {true, false}) {
    WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Low", nullptr, ProgramIni().c_str());
    WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Hi", nullptr, ProgramIni().c_str());
    SYSTEMTIME before = {}, after = {};
    GetSystemTime(&before);
    SYSTEMTIME read = {};
    if (!zeroed) {
      read.wYear = 2024;
      read.wMonth = 2;
      read.wDay = 29;
    }
    SYSTEMTIME local = read;
    ASSERT_TRUE(zeroed ? CQLRSettings::GetLastCheckForUpdatesLocal(local)
                       : CQLRSettings::GetLastCheckForUpdates(read));
    GetSystemTime(&after);
    SYSTEMTIME stored = {};
    ASSERT_TRUE(CQLRSettings::GetLastCheckForUpdates(stored));
    EXPECT_GE(Ticks(stored), Ticks(before)) << zeroed;
    EXPECT_LE(Ticks(stored), Ticks(after)) << zeroed;
    if (zeroed) {
      EXPECT_GT(local.wYear, 2000);
    } else {
      EXPECT_EQ(Ticks(read), Ticks(stored));
    }
    EXPECT_NE(StoredInt(L"Settings", L"LastCheckForUpdates_V2Hi"), -12345) << zeroed;
  }
  SYSTEMTIME given = {};
  given.wYear = 2024;
  given.wMonth = 2;
  given.wDay = 29;
  SYSTEMTIME read = given;

  // A high half beyond what SYSTEMTIME can hold.
  WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Low", L"0", ProgramIni().c_str());
  WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Hi", L"-1", ProgramIni().c_str());
  read = given;
  ASSERT_TRUE(CQLRSettings::GetLastCheckForUpdates(read));
  EXPECT_EQ(read.wYear, 2013);
  EXPECT_EQ(read.wMonth, 1);
  EXPECT_EQ(read.wDay, 1);
  EXPECT_EQ(read.wDayOfWeek, 2);
  EXPECT_EQ(read.wHour + read.wMinute + read.wSecond + read.wMilliseconds, 0);
  // The first date was stored.
  SYSTEMTIME again = given;
  CQLRSettings::GetLastCheckForUpdates(again);
  EXPECT_EQ(again.wYear, 2013);
}

TEST_F(SettingsKeysTest, WindowPositionsAndFreeStrings) {
  POINT p = {10, 20};
  EXPECT_TRUE(CQLRSettings::ReadWindowPos(L"HistoryPane", p));
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  ASSERT_TRUE(CQLRSettings::WriteWindowPos(L"HistoryPane", -300, 450));
  EXPECT_EQ(StoredInt(L"Settings_Agent", L"HistoryPane_x"), -300);
  EXPECT_EQ(StoredInt(L"Settings_Agent", L"HistoryPane_y"), 450);
  POINT q = {0, 0};
  CQLRSettings::ReadWindowPos(L"HistoryPane", q);
  EXPECT_EQ(q.x, -300);
  EXPECT_EQ(q.y, 450);

  EXPECT_EQ(CQLRSettings::ReadString(L"DirectoryForSave", L"none"), L"none");
  ASSERT_TRUE(CQLRSettings::WriteString(L"DirectoryForSave", L"D:\\Saved"));
  EXPECT_EQ(CQLRSettings::ReadString(L"DirectoryForSave", L"none"), L"D:\\Saved");
}

}  // namespace
