#include "settings/settings_files.h"

#include <gtest/gtest.h>

#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

using SettingsFilesTest = SettingsFoldersTest;

std::wstring IniReadStringOrEmpty(const std::wstring& ini) {
  wchar_t value[300] = {};
  GetPrivateProfileStringW(L"Settings", L"Language", L"", value, 300, ini.c_str());
  return value;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(SettingsFilesTest, WritableProgramFolderGetsAUnicodeFileBesideTheProgram) {
  ASSERT_FALSE(Exists(ProgramIni()));
  EXPECT_EQ(GetSettingsIniPath(), ProgramIni());
  ASSERT_TRUE(Exists(ProgramIni()));
  EXPECT_TRUE(GetFileAttributesW(ProgramIni().c_str()) & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(qlrtest::ReadBytes(ProgramIni()), std::string("\xFF\xFE"));
  EXPECT_FALSE(Exists(UserFolder())) << "the per-user folder is made only when it is used";
  EXPECT_FALSE(IsPortableRun());
}

TEST_F(SettingsFilesTest, UnwritableProgramFolderUsesTheProfileFolder) {
  ASSERT_TRUE(qlrtest::SetUnixWritable(program.Path(), false));
  EXPECT_EQ(GetSettingsIniPath(), UserIni());
  EXPECT_FALSE(Exists(ProgramIni())) << "nothing is created where the user may not write";
  EXPECT_TRUE(Exists(UserFolder()));
  EXPECT_EQ(qlrtest::ReadBytes(UserIni()), std::string("\xFF\xFE"));

  // The choice is made on every access: a folder that becomes writable is
  // used at once.
  ASSERT_TRUE(qlrtest::SetUnixWritable(program.Path(), true));
  EXPECT_EQ(GetSettingsIniPath(), ProgramIni());
}

TEST_F(SettingsFilesTest, ExistingProgramFileIsUsedWhileItIsWritable) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\n"));
  ASSERT_TRUE(qlrtest::SetUnixWritable(program.Path(), false));
  EXPECT_EQ(GetSettingsIniPath(), ProgramIni()) << "the file itself is writable";
  ASSERT_TRUE(qlrtest::SetUnixWritable(ProgramIni(), false));
  EXPECT_EQ(GetSettingsIniPath(), UserIni());
  ASSERT_TRUE(qlrtest::SetUnixWritable(ProgramIni(), true));
}

TEST_F(SettingsFilesTest, ProgramOnADriveWithoutRootIsAPortableRun) {
  // No drive stands behind this letter, so its type is "no root".
  wchar_t letter = 0;
  for (wchar_t d = L'Q'; d <= L'Y' && !letter; ++d) {
    const wchar_t root[] = {d, L':', L'\\', 0};
    if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) letter = d;
  }
  ASSERT_NE(letter, 0);
  const std::wstring folder = std::wstring(1, letter) + L":\\Quillora";
  SetSettingsFolders(folder, profile.Path());
  EXPECT_TRUE(IsPortableRun());
  EXPECT_EQ(GetSettingsIniPath(), folder + L"\\Settings.ini");
  EXPECT_EQ(GetUserSettingsPath(true), UserIni());
  EXPECT_FALSE(Exists(UserFolder())) << "a portable run never makes the per-user folder";
}

TEST_F(SettingsFilesTest, KeysBesideTheProgramWinEvenWhenTheUserFileIsInUse) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(),
                                      L"[Settings]\r\nClipboardHistoryMax=11\r\nLanguage=\r\n"
                                      L"WriteLog=1\r\nDirectoryForSave=C:\\Program\r\n"
                                      L"[Other]\r\nValue=5\r\n"));
  CreateDirectoryW(UserFolder().c_str(), nullptr);
  ASSERT_TRUE(qlrtest::WriteUtf16File(UserIni(),
                                      L"[Settings]\r\nClipboardHistoryMax=22\r\nSorting=3\r\n"
                                      L"Language=Fr.lng\r\nWriteLog=0\r\n"
                                      L"DirectoryForSave=C:\\User\r\nOnlyUser=u\r\n"
                                      L"Welcome_Already_Started_V2_60=1\r\n"));
  ASSERT_TRUE(qlrtest::SetUnixWritable(ProgramIni(), false));
  ASSERT_EQ(GetSettingsIniPath(), UserIni());

  const struct {
    const wchar_t* key;
    const wchar_t* section;
    int def;
    int expected;
  } ints[] = {
      {L"ClipboardHistoryMax", L"Settings", 0, 11},
      {L"Sorting", L"Settings", 0, 3},
      {L"Missing", L"Settings", 42, 42},
      {L"Value", L"Other", 0, 5},
      // The key test is case-sensitive; the profile read then goes on in the
      // per-user file.
      {L"clipboardHistoryMax", L"Settings", 0, 22},
  };
  for (const auto& c : ints)
    EXPECT_EQ(ReadSettingsInt(c.key, c.def, c.section), c.expected) << qlrtest::ToUtf8(c.key);

  const struct {
    const wchar_t* key;
    const wchar_t* def;
    const wchar_t* expected;
  } strings[] = {
      {L"DirectoryForSave", L"", L"C:\\Program"},
      {L"Language", L"", L"Fr.lng"},  // empty beside the program
      {L"OnlyUser", L"", L"u"},
      {L"Missing", L"dflt", L"dflt"},
  };
  for (const auto& c : strings)
    EXPECT_EQ(ReadSettingsString(c.key, c.def), c.expected) << qlrtest::ToUtf8(c.key);

  // These read the file in use only.
  EXPECT_EQ(ReadWriteLog(7), 0);
  EXPECT_TRUE(IsWelcomeAlreadyStarted());
  ASSERT_TRUE(WriteWriteLog(1));
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"WriteLog", 9, UserIni().c_str()), 1u);
  ASSERT_TRUE(qlrtest::SetUnixWritable(ProgramIni(), true));
}

TEST_F(SettingsFilesTest, LanguageIsTakenFromTheFirstFileThatHasOne) {
  const std::wstring other = program.File(L"inuse.ini");
  CreateDirectoryW(UserFolder().c_str(), nullptr);
  const struct {
    const wchar_t* inUse;
    const wchar_t* programFile;
    const wchar_t* userFile;
    const wchar_t* expected;
  } cases[] = {
      {L"A.lng", L"B.lng", L"C.lng", L"A.lng"},
      {L"", L"B.lng", L"C.lng", L"B.lng"},
      {L"", L"", L"C.lng", L"C.lng"},
      {L"", L"", L"", L""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(other, std::wstring(L"[Settings]\r\nLanguage=") + c.inUse + L"\r\n"));
    ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), std::wstring(L"[Settings]\r\nLanguage=") + c.programFile + L"\r\n"));
    ASSERT_TRUE(qlrtest::WriteUtf16File(UserIni(), std::wstring(L"[Settings]\r\nLanguage=") + c.userFile + L"\r\n"));
    EXPECT_EQ(ReadLanguage(other), c.expected);
  }

  const struct {
    const wchar_t* given;
    const wchar_t* written;
  } writes[] = {{L"C:\\Languages\\German.lng", L"German.lng"}, {L"Polski.lng", L"Polski.lng"}, {L"", L""}};
  for (const auto& w : writes) {
    ASSERT_TRUE(WriteLanguage(w.given, other));
    EXPECT_EQ(IniReadStringOrEmpty(other), w.written);
  }
}

TEST_F(SettingsFilesTest, WelcomeFlagAndLogSwitchDefaults) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\n"));
  EXPECT_FALSE(IsWelcomeAlreadyStarted());
  EXPECT_EQ(ReadWriteLog(3), 3);
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\nWelcome_Already_Started_V2_60=0\r\n"));
  EXPECT_FALSE(IsWelcomeAlreadyStarted());
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), L"[Settings]\r\nWelcome_Already_Started_V2_60=2\r\n"));
  EXPECT_TRUE(IsWelcomeAlreadyStarted());
}

TEST(SettingsInstallerTest, InstallerMarkNeedsANonEmptyValue) {
  const wchar_t* keyPath = L"Software\\Tessaly Software\\Quillora";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegDeleteValueW(key, L"FromInstaller");
  EXPECT_FALSE(IsInstalledByInstaller());
  const struct {
    const wchar_t* value;
    bool expected;
  } cases[] = {{L"", false}, {L"1", true}, {L"C:\\Setup\\quillora_setup.exe", true}};
  for (const auto& c : cases) {
    DWORD bytes = static_cast<DWORD>((wcslen(c.value) + 1) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(key, L"FromInstaller", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.value), bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(IsInstalledByInstaller(), c.expected) << qlrtest::ToUtf8(c.value);
  }
  RegDeleteValueW(key, L"FromInstaller");
  RegCloseKey(key);
}

}  // namespace
