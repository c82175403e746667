// The real Quillora.exe checking for updates against a local server: the
// editor's request, a second start's "/cfu", the tray command, and what a
// check leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "foundation/handles.h"
#include "tests/e2e/tray_program.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_support.h"

namespace {

constexpr char kServicePath[] = "/Source/update_qlr.php";
constexpr char kFeedPath[] = "/news_en.xml";
constexpr wchar_t kCommandEvent[] = L"Local\\Quillora_CommandCheckForUpdates";
constexpr wchar_t kOptionsChangedEvent[] = L"Local\\Quillora_OptionsChanged";
constexpr WORD kCheckForUpdatesCommand = 32791;
constexpr DWORD kCheckWaitMs = 60000;

class UpdateCheckE2eTest : public qlre2e::TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    ASSERT_TRUE(server.Start());
    SetSetting(L"AutoCheckForUpdates", L"0");
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"UpdateSite_Test.UpdateSite_Test"),
                                    qlrtest::ToUtf8(server.BaseUrl())));
    SetConnection('0');
  }
  void TearDown() override {
    TrayProgramTest::TearDown();
    server.Stop();
  }
  void SetConnection(char state) {
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"InternetState_Test.InternetState_Test"), std::string(1, state)));
  }
  std::string Link(const char* path) const { return qlrtest::ToUtf8(server.BaseUrl()) + (path + 1); }
  void AnswerNewVersion() {
    qlrtest::HttpAnswer answer;
    answer.body = "<QuilloraVersionInfo><Version>99.0.0.1</Version><DownloadURL>" + Link("/setup.exe") +
                  "</DownloadURL><DownloadURL_PE>" + Link("/portable.zip") +
                  "</DownloadURL_PE></QuilloraVersionInfo>";
    server.SetAnswer(kServicePath, answer);
    qlrtest::HttpAnswer feed;
    feed.body = "<rss><channel><item><title>News</title></item></channel></rss>";
    server.SetAnswer(kFeedPath, feed);
    qlrtest::HttpAnswer file;
    file.body = "binary";
    file.headers = {{"Last-Modified", "Tue, 01 Dec 2026 08:30:15 GMT"}};
    server.SetAnswer("/setup.exe", file);
    server.SetAnswer("/portable.zip", file);
  }
  size_t Requests() const { return server.CountRequests(kServicePath, "Quillora_Updater"); }
  bool WaitForRequests(size_t n) const {
    return qlrtest::WaitUntil([&] { return Requests() >= n; }, kCheckWaitMs);
  }
  std::wstring StoredLastCheck() {
    wchar_t low[32] = {}, high[32] = {};
    std::wstring ini = dir.File(L"Settings.ini");
    GetPrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Low", L"", low, 32, ini.c_str());
    GetPrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Hi", L"", high, 32, ini.c_str());
    return std::wstring(low) + L"/" + high;
  }

  qlrtest::HttpTestServer server;
};

TEST_F(UpdateCheckE2eTest, TheEditorsRequestAndASecondStartEachCheckOnce) {
  AnswerNewVersion();
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  UniqueHandle options(OpenEventW(SYNCHRONIZE, FALSE, kOptionsChangedEvent));
  ASSERT_TRUE(options);
  std::atomic<bool> released{false};
  std::thread editor([&] { released = WaitForSingleObject(options.Get(), kCheckWaitMs) == WAIT_OBJECT_0; });
  std::wstring before = StoredLastCheck();

  UniqueHandle command;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return (command = UniqueHandle(OpenEventW(EVENT_MODIFY_STATE, FALSE, kCommandEvent))).IsValid(); },
      kProgramWaitMs));
  SetEvent(command.Get());
  ASSERT_TRUE(WaitForRequests(1));
  ASSERT_TRUE(WaitForLog(L"Update check result: version=[99.0.0.1] error=[] news=1"));
  editor.join();
  EXPECT_TRUE(released.load());
  EXPECT_NE(StoredLastCheck(), before);

  auto requests = server.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].path, kServicePath);
  EXPECT_NE(requests[0].query.find("qlr_version="), std::string::npos);
  EXPECT_NE(requests[0].query.find("&au=disabled&"), std::string::npos);
  EXPECT_EQ(server.CountRequests(kFeedPath, "Quillora_Updater"), 1u);
  EXPECT_EQ(server.CountRequests("/setup.exe", "Quillora_Update"), 1u);
  EXPECT_EQ(server.CountRequests("/portable.zip", "Quillora_Update"), 1u);

  // "/cfu" as a second start: one more check.
  qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/cfu", kProgramWaitMs);
  EXPECT_TRUE(WaitForRequests(2));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return server.CountRequests(kFeedPath, "Quillora_Updater") == 2; },
                                 kCheckWaitMs));
  EXPECT_EQ(Requests(), 2u);
  Exit();
}

TEST_F(UpdateCheckE2eTest, AMissingAnswerTriesTheFallbackAndReportsTheError) {
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_COMMAND, kCheckForUpdatesCommand, 0);
  ASSERT_TRUE(WaitForLog(L"error=[ERROR: Cannot load information from official web-site]"));
  EXPECT_EQ(server.CountRequests(kServicePath, "Quillora_Updater"), 1u);
  EXPECT_EQ(server.RequestCount(), 2u);  // and one by the fallback
  EXPECT_TRUE(WaitForLog(L"Ooops, cannot download info version file by URLDownloadToFile_API_Wrapper"));
  Exit();
}

TEST_F(UpdateCheckE2eTest, OfflineTheUserIsAskedAndCancelStopsTheCheck) {
  AnswerNewVersion();
  SetConnection('1');
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_COMMAND, kCheckForUpdatesCommand, 0);
  EXPECT_TRUE(qlrtest::CloseMessageBox(child.Pid(), L"No has connection to Intenet. Continue?", kProgramWaitMs,
                                       IDCANCEL));
  ASSERT_TRUE(WaitForLog(L"Check for updates cancelled: no connection"));
  EXPECT_EQ(server.RequestCount(), 0u);
  // Going on regardless: the check waits for a connection, then asks.
  PostMessageW(window, WM_COMMAND, kCheckForUpdatesCommand, 0);
  EXPECT_TRUE(qlrtest::CloseMessageBox(child.Pid(), L"No has connection to Intenet. Continue?", kProgramWaitMs,
                                       IDOK));
  EXPECT_FALSE(qlrtest::WaitUntil([&] { return server.RequestCount() > 0; }, 5000));
  SetConnection('0');
  EXPECT_TRUE(WaitForRequests(1));
  EXPECT_TRUE(WaitForLog(L"Update check result: version=[99.0.0.1]"));
  Exit();
}

TEST_F(UpdateCheckE2eTest, AScheduledCheckWaitsAndIsLogged) {
  SetSetting(L"AutoCheckForUpdates", L"1");
  SetSetting(L"DaysCheckForUpdates", L"7");
  SetSetting(L"LastCheckForUpdates_V2Low", L"0");
  SetSetting(L"LastCheckForUpdates_V2Hi", L"30000000");  // long past
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitForLog(L"wait for checkupdates ms=600000 sec=600 minutes=10 hour=0 days=0, Next update date: "));
  EXPECT_EQ(server.RequestCount(), 0u);  // not before ten minutes
  Exit();
}

}  // namespace
