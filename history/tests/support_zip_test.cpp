#include "history/actions/support_zip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/system/shell_open.h"
#include "foundation/tests/message_box_watch.h"
#include "foundation/tests/zip_test_reader.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

struct Request {
  std::wstring verb, file, parameters;
  int show;
};
std::vector<Request> g_requests;

INT_PTR Shell(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
              const wchar_t*, int show) {
  g_requests.push_back({verb ? verb : L"", file ? file : L"", parameters ? parameters : L"", show});
  return 33;
}

class SupportZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_requests.clear();
    CreateDirectoryW(dir.File(L"Profile").c_str(), nullptr);
    SetSettingsFolders(dir.Path(), dir.File(L"Profile"));
    ASSERT_TRUE(qlrtest::WriteUtf16File(settings, L"[Settings]\r\nWriteLog=1\r\n"));
    ASSERT_EQ(GetSettingsIniPath(), settings);
    SetShellOpenHookForTests(Shell);
  }
  void TearDown() override {
    SetShellOpenHookForTests(nullptr);
    SetSettingsFolders(L"", L"");
  }
  std::vector<ziptest::ReadEntry> Entries() {
    std::vector<ziptest::ReadEntry> entries;
    EXPECT_TRUE(ziptest::ReadArchive(qlrtest::ReadBytes(archive), entries));
    return entries;
  }

  qlrtest::TempDir dir;
  const std::wstring settings = dir.File(L"Settings.ini");
  const std::wstring log = dir.File(L"LogReport.txt");
  const std::wstring archive = dir.File(L"support.zip");
  const std::wstring info = GetTempFolder() + kSupportInfoFileName;
  const std::wstring report = L"Quillora 1.00 \x00e9\x20ac\r\nWindows";
};

TEST_F(SupportZipTest, ArchiveHoldsTheReportTheSettingsAndTheLogAndIsShownSelected) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(log, L"line one\r\n"));
  EXPECT_TRUE(CreateSupportZip(log, archive, true, nullptr, report, true));
  std::vector<ziptest::ReadEntry> entries = Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "Quillora_Info.txt");
  EXPECT_EQ(entries[0].data, qlrtest::ToUtf8(report));  // UTF-8, no byte-order mark
  EXPECT_EQ(entries[1].name, "Settings.ini");
  EXPECT_EQ(entries[1].data, qlrtest::ReadBytes(settings));
  EXPECT_EQ(entries[2].name, "LogReport.txt");
  EXPECT_EQ(entries[2].data, qlrtest::ReadBytes(log));
  EXPECT_FALSE(IsFileExist(info));
  ASSERT_EQ(g_requests.size(), 1u);
  EXPECT_EQ(g_requests[0].verb, L"open");
  EXPECT_EQ(g_requests[0].file, L"explorer.exe");
  EXPECT_EQ(g_requests[0].parameters, L"/select, \"" + archive + L"\"");
  EXPECT_EQ(g_requests[0].show, SW_SHOWNORMAL);

  // Without the selection nothing is started.
  g_requests.clear();
  EXPECT_TRUE(CreateSupportZip(log, archive, true, nullptr, report, false));
  EXPECT_EQ(Entries().size(), 3u);
  EXPECT_TRUE(g_requests.empty());
}

// With logging off (the default) there is no log: the archive still comes,
// and the report says what is missing.
TEST_F(SupportZipTest, MissingFilesAreLeftOutAndNamedInTheReport) {
  boxwatch::SeenBox box = boxwatch::RunWatchingBox(
      [&] { EXPECT_TRUE(CreateSupportZip(log, archive, true, nullptr, report, true)); });
  EXPECT_FALSE(box.shown) << qlrtest::ToUtf8(box.text);
  std::vector<ziptest::ReadEntry> entries = Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Quillora_Info.txt");
  const std::string text = entries[0].data;
  EXPECT_EQ(text.rfind(qlrtest::ToUtf8(report), 0), 0u);
  EXPECT_NE(text.find(qlrtest::ToUtf8(L"Missing file: " + log)), std::string::npos) << text;
  EXPECT_EQ(text.find("Follows Files"), std::string::npos);
  EXPECT_EQ(entries[1].name, "Settings.ini");
  EXPECT_EQ(g_requests.size(), 1u);
}

TEST_F(SupportZipTest, ArchiveThatCannotBeWrittenTellsWhichFilesItWouldHold) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(log, L"line\r\n"));
  const std::wstring nowhere = dir.File(L"no such folder\\support.zip");
  bool result = true;
  boxwatch::SeenBox box = boxwatch::RunWatchingBox(
      [&] { result = CreateSupportZip(log, nowhere, true, nullptr, report, true); });
  EXPECT_FALSE(result);
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(box.caption, L"Quillora");
  EXPECT_EQ(box.text, L"Cannot create ZIP-archive " + nowhere + L"\n\nFollows Files:\n" + info + L"\n" +
                          settings + L"\n" + log + L"\n");
  EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(g_requests.empty());
  EXPECT_FALSE(IsFileExist(info));
  EXPECT_FALSE(IsFileExist(nowhere));

  // Without showErrors no box holds the caller.
  box = boxwatch::RunWatchingBox(
      [&] { result = CreateSupportZip(log, nowhere, false, nullptr, report, true); });
  EXPECT_FALSE(result);
  EXPECT_FALSE(box.shown);
}

TEST_F(SupportZipTest, ArchiveNameIsOneWordOfTheLogNameVersionAndDate) {
  const std::wstring name = GetSupportZipName();
  EXPECT_EQ(name.find_first_of(L" :\\"), std::wstring::npos) << qlrtest::ToUtf8(name);
  EXPECT_EQ(name.rfind(L"LogReport", 0), 0u) << qlrtest::ToUtf8(name);
  EXPECT_NE(name.find(L"_Quillora_version"), std::wstring::npos) << qlrtest::ToUtf8(name);
  ASSERT_GT(name.size(), 4u);
  EXPECT_EQ(name.substr(name.size() - 4), L".zip");
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_NE(name.find(std::to_wstring(now.wYear) + L"_.zip"), std::wstring::npos) << qlrtest::ToUtf8(name);
}

}  // namespace
