// A settings save replaces the file only when it was written in full.
#include "editor_settings/settings_file_replace.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace {

int FilesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

TEST(SettingsFileReplaceTest, TheFileChangesOnlyWhenEveryWriteSucceeded) {
  qlrtest::TempDir dir;
  const std::wstring ini = dir.File(L"Settings.ini");
  ASSERT_TRUE(qlrtest::WriteUtf16File(ini, L"[Settings]\r\nOld=1\r\n"));
  ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_SYSTEM));
  const std::string before = qlrtest::ReadBytes(ini);

  // A write that gives up half-way: the copy goes, the file stays as it was.
  std::wstring seen;
  EXPECT_FALSE(ReplaceSettingsFile(ini, [&](const std::wstring& target) {
    seen = target;
    WritePrivateProfileStringW(L"Settings", L"Old", L"2", target.c_str());
    return false;
  }));
  EXPECT_NE(seen, ini);
  EXPECT_EQ(seen.substr(0, dir.Path().size()), dir.Path());  // beside it, so the move is a rename
  EXPECT_EQ(qlrtest::ReadBytes(ini), before);
  EXPECT_EQ(FilesIn(dir.Path()), 1);

  EXPECT_TRUE(ReplaceSettingsFile(ini, [](const std::wstring& target) {
    return WritePrivateProfileStringW(L"Settings", L"New", L"3", target.c_str()) != FALSE;
  }));
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"Old", 0, ini.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"New", 0, ini.c_str()), 3u);
  EXPECT_TRUE(GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(FilesIn(dir.Path()), 1);
  SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SettingsFileReplaceTest, AFirstSaveMakesAUnicodeFile) {
  qlrtest::TempDir dir;
  const std::wstring ini = dir.File(L"Settings.ini");
  const std::wstring name = L"Gr\u00fc\u00dfe \u0416";
  EXPECT_TRUE(ReplaceSettingsFile(ini, [&](const std::wstring& target) {
    return WritePrivateProfileStringW(L"Settings", L"Name", name.c_str(), target.c_str()) != FALSE;
  }));
  std::string bytes = qlrtest::ReadBytes(ini);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
  wchar_t read[64] = {};
  GetPrivateProfileStringW(L"Settings", L"Name", L"", read, 64, ini.c_str());
  EXPECT_EQ(std::wstring(read), name);
}

TEST(SettingsFileReplaceTest, AFileHeldByAnotherWriterIsLeftAndTheFailureReported) {
  qlrtest::TempDir dir;
  const std::wstring ini = dir.File(L"Settings.ini");
  ASSERT_TRUE(qlrtest::WriteUtf16File(ini, L"[Settings]\r\nOld=1\r\n"));
  const std::string before = qlrtest::ReadBytes(ini);
  HANDLE held = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  bool called = false;
  EXPECT_FALSE(ReplaceSettingsFile(ini, [&](const std::wstring&) {
    called = true;
    return true;
  }));
  CloseHandle(held);
  EXPECT_FALSE(called);
  EXPECT_EQ(qlrtest::ReadBytes(ini), before);
  EXPECT_EQ(FilesIn(dir.Path()), 1);
}

}  // namespace
