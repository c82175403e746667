// Archives of the log with the settings. The archive and a manifest are
// left in <build>/log_archive_sample, where Python's zip reader checks them.
#include <gtest/gtest.h>

#include <string>

#include "editor/coop/log_archive.h"
#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

std::wstring SampleDir() { return qlrtest::BinDir() + L"\\..\\log_archive_sample"; }

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

class LogArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFolders(dir.Path(), dir.File(L"profile"));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"Settings.ini"), "[Settings]\r\nWriteLog=1\r\n"));
    ASSERT_TRUE(qlrtest::WriteUtf16File(dir.File(L"LogReport.txt"), L"EXE_Editor: [12/09/26 10:00:00] line\r\n"));
  }
  void TearDown() override { SetSettingsFolders(L"", L""); }
  qlrtest::TempDir dir;
};

TEST_F(LogArchiveTest, ArchiveHoldsTheSettingsTheLogAndTheInfoText) {
  const std::wstring sample = SampleDir();
  CreateDirectoryW(sample.c_str(), nullptr);
  const std::wstring zip = sample + L"\\logs.zip";
  DeleteFileW(zip.c_str());
  ASSERT_TRUE(ZipLogFiles(dir.File(L"LogReport.txt"), zip, false, nullptr, L"Info \u00E4", false));
  // The information file is gone again.
  EXPECT_FALSE(IsFileExist(GetTempFolder() + L"Quillora_Info.txt"));
  std::string manifest = "Settings.ini\t" + Hex(qlrtest::ReadBytes(dir.File(L"Settings.ini"))) + "\n" +
                         "LogReport.txt\t" + Hex(qlrtest::ReadBytes(dir.File(L"LogReport.txt"))) + "\n" +
                         "Quillora_Info.txt\t" + Hex("Info \xC3\xA4") + "\n";
  ASSERT_TRUE(qlrtest::WriteBytes(sample + L"\\manifest.txt", manifest));
}

TEST_F(LogArchiveTest, WithoutTextNoInfoFileAndFailuresLeaveNothing) {
  const std::wstring zip = dir.File(L"plain.zip");
  ASSERT_TRUE(ZipLogFiles(dir.File(L"LogReport.txt"), zip, false, nullptr, L"", false));
  std::string bytes = qlrtest::ReadBytes(zip);
  EXPECT_NE(bytes.find("LogReport.txt"), std::string::npos);
  EXPECT_EQ(bytes.find("Quillora_Info.txt"), std::string::npos);

  // A folder that does not exist: no archive, and the info file is removed.
  const std::wstring bad = dir.File(L"missing\\logs.zip");
  EXPECT_FALSE(ZipLogFiles(dir.File(L"LogReport.txt"), bad, false, nullptr, L"text", false));
  EXPECT_FALSE(IsFileExist(bad));
  EXPECT_FALSE(IsFileExist(GetTempFolder() + L"Quillora_Info.txt"));
}

TEST(LogZipNameTest, NameIsTheLogsWithoutBlanksOrColons) {
  std::wstring name = MakeLogZipName();
  std::wstring stem = GetFileNameFromPath(GetLogFilePath());
  stem.resize(stem.rfind(L'.'));
  EXPECT_EQ(name.rfind(stem + L"_Quillora___PhraseEditor_version", 0), 0u) << name;
  EXPECT_EQ(name.substr(name.size() - 4), L".zip");
  EXPECT_EQ(name.find_first_of(L" :"), std::wstring::npos) << name;
}

}  // namespace
