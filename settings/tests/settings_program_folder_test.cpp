// The settings store of a program copied into a folder of its own, with no
// test seams: the program folder and the profile folder are the real ones.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

class SettingsProgramFolderTest : public SettingsFoldersTest {
 protected:
  void SetUp() override {
    SetSettingsFolders(L"", L"");
    wchar_t buf[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, buf, CSIDL_PROFILE, FALSE));
    userFolder = std::wstring(buf) + L"\\Quillora";
    userIni = userFolder + L"\\Settings.ini";
    DeleteFileW(userIni.c_str());
    RemoveDirectoryW(userFolder.c_str());
    exe = program.File(L"probe.exe");
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_settings_probe.exe"), exe));
  }
  void TearDown() override {
    qlrtest::SetUnixWritable(program.Path(), true);
    DeleteFileW(userIni.c_str());
    RemoveDirectoryW(userFolder.c_str());
  }

  // Lines the probe wrote: the file in use and the new-version flag.
  std::wstring Run() {
    std::wstring out = output.File(L"probe.txt");
    EXPECT_EQ(qlrtest::RunProcess(exe, L"\"" + out + L"\""), 0);
    return qlrtest::ReadUtf16File(out);
  }

  static std::wstring Value(const std::wstring& ini, const wchar_t* section, const wchar_t* key) {
    wchar_t value[400] = {};
    GetPrivateProfileStringW(section, key, L"", value, 400, ini.c_str());
    return value;
  }

  qlrtest::TempDir output;
  std::wstring exe, userFolder, userIni;
};

TEST_F(SettingsProgramFolderTest, WritableFolderKeepsTheFileBesideTheProgram) {
  EXPECT_EQ(Run(), ProgramIni() + L"\n1\n");
  EXPECT_EQ(Value(ProgramIni(), L"A_SETTINGS", L"WRITED_TO"), ProgramIni());
  EXPECT_EQ(Value(ProgramIni(), L"A_SETTINGS", L"WRITED_WHO"), L"probe.exe");
  EXPECT_EQ(Value(ProgramIni(), L"Settings", L"QLRVersion"), L"QLR_150");
  EXPECT_EQ(Value(ProgramIni(), L"Settings", L"PrintLTChars"), L"100");
  EXPECT_EQ(GetFileAttributesW(userFolder.c_str()), INVALID_FILE_ATTRIBUTES);
  // The second run finds its own version.
  EXPECT_EQ(Run(), ProgramIni() + L"\n0\n");
}

TEST_F(SettingsProgramFolderTest, UnwritableFolderMovesTheFileToTheProfile) {
  ASSERT_TRUE(qlrtest::SetUnixWritable(program.Path(), false));
  EXPECT_EQ(Run(), userIni + L"\n1\n");
  EXPECT_EQ(GetFileAttributesW(ProgramIni().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Value(userIni, L"A_SETTINGS", L"WRITED_TO"), userIni);
  EXPECT_EQ(Run(), userIni + L"\n0\n");
}

}  // namespace
