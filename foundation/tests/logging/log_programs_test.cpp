// The log as the programs of the suite find and share it: the file's place
// and the editor writing into the tray program's log.
#include "foundation/logging/log.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <regex>

#include "tests/support/test_support.h"

namespace {

std::wstring UserLogPath() {
  wchar_t appData[MAX_PATH] = {};
  EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
  return std::wstring(appData) + L"\\LogReport_Quillora.txt";
}

// A copy of the helper program in a folder of its own, as an installed program.
struct InstalledHelper {
  qlrtest::TempDir dir;
  std::wstring folder = dir.File(L"Quillora");
  std::wstring exe = folder + L"\\helper_log_writer.exe";
  InstalledHelper() {
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_log_writer.exe"), exe));
  }
  ~InstalledHelper() { qlrtest::SetUnixWritable(folder, true); }
  std::wstring ReportPath() {
    std::wstring out = dir.File(L"path.txt");
    EXPECT_EQ(qlrtest::RunProcess(exe, L"path \"" + out + L"\""), 0);
    return qlrtest::ReadUtf16File(out);
  }
};

TEST(LogProgramsTest, ReportPathBesideTheProgramOrInTheUserFolder) {
  InstalledHelper helper;
  std::wstring beside = helper.folder + L"\\LogReport.txt";
  EXPECT_EQ(helper.ReportPath(), beside);

  // A log file the user may not write sends the log to the user's folder.
  ASSERT_TRUE(qlrtest::WriteUtf16File(beside, L""));
  ASSERT_TRUE(SetFileAttributesW(beside.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(helper.ReportPath(), UserLogPath());
  ASSERT_TRUE(SetFileAttributesW(beside.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(helper.ReportPath(), beside);

  // So does a program folder the user may not write.
  ASSERT_TRUE(DeleteFileW(beside.c_str()));
  ASSERT_TRUE(qlrtest::SetUnixWritable(helper.folder, false));
  EXPECT_EQ(helper.ReportPath(), UserLogPath());
  ASSERT_TRUE(qlrtest::SetUnixWritable(helper.folder, true));
  EXPECT_EQ(helper.ReportPath(), beside);
}

TEST(LogProgramsTest, EditorWritesIntoTheTrayProgramsLog) {
  InstalledHelper editor;
  std::wstring path = editor.folder + L"\\LogReport.txt";
  // No tray program has a log open: the editor writes nothing.
  EXPECT_EQ(qlrtest::RunProcess(editor.exe, L"editor 3"), 3);

  ASSERT_TRUE(InitLog(path.c_str()));  // this process plays the tray program
  ASSERT_TRUE(Log(L"tray line"));
  EXPECT_EQ(qlrtest::RunProcess(editor.exe, L"editor 3"), 0);
  ASSERT_TRUE(TermLog());
  EXPECT_EQ(qlrtest::RunProcess(editor.exe, L"editor 3"), 3);

  std::wstring text = qlrtest::ReadUtf16File(path);
  const std::wstring stamp = L"\\[\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\] ";
  std::wregex pattern(L"EXE_Agent: " + stamp + L"tray line\r\n" + L"EXE_Editor: " + stamp +
                      L"editor line 1\r\nEXE_Editor: " + stamp + L"editor line 2\r\n" +
                      L"EXE_Editor: " + stamp + L"editor line 3\r\n");
  EXPECT_TRUE(std::regex_match(text, pattern)) << qlrtest::ToUtf8(text);
}

}  // namespace
