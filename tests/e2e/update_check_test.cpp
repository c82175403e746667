// The real Quillora.exe checking for updates against a local server: the
// editor's request, a second start's "/cfu", the tray command, and what a
// check leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>

#include "foundation/system/handles.h"
#include "tests/e2e/update_server.h"
#include "tests/support/test_support.h"

namespace {

using qlre2e::UpdateCheckE2eTest;
using qlre2e::kCheckForUpdatesCommand;
using qlre2e::kCheckWaitMs;
using qlre2e::kCommandEvent;
using qlre2e::kFeedPath;
using qlre2e::kOptionsChangedEvent;
using qlre2e::kServicePath;

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
  // The check is recorded once the user has seen its result.
  HWND dialog = WaitForUpdateDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(CloseUpdateDialog(dialog));
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

// The first scheduled check comes the configured days after the last one,
// or after the first start when none was ever made.
TEST_F(UpdateCheckE2eTest, AScheduledCheckWaitsFromTheLastCheckOrTheFirstStart) {
  const struct {
    const wchar_t* storedHigh;  // null: never checked
    unsigned long long leastMs, mostMs;
  } cases[] = {
      {L"30000000", 600000, 600000},  // long overdue: ten minutes
      // Seven days from now, less the seconds that may pass meanwhile on a
      // busy machine.
      {nullptr, 604798000, 604800000},
  };
  const std::wstring logged = L"wait for checkupdates ms=";
  for (const auto& c : cases) {
    DeleteFileW(dir.File(L"LogReport.txt").c_str());
    SetSetting(L"AutoCheckForUpdates", L"1");
    SetSetting(L"DaysCheckForUpdates", L"7");
    WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Low", c.storedHigh ? L"0" : nullptr,
                               dir.File(L"Settings.ini").c_str());
    WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Hi", c.storedHigh,
                               dir.File(L"Settings.ini").c_str());
    HWND window = Start(L"");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForLog(logged));
    const std::wstring log = LogText();
    const unsigned long long ms = wcstoull(log.c_str() + log.find(logged) + logged.size(), nullptr, 10);
    EXPECT_GE(ms, c.leastMs);
    EXPECT_LE(ms, c.mostMs);
    // The first start's time is kept for the next start.
    EXPECT_NE(StoredLastCheck(), L"/");
    EXPECT_EQ(server.RequestCount(), 0u);  // not before ten minutes
    Exit();
  }
}

// The options the editor saved are taken when it ends: each change of
// AutoCheckForUpdates or DaysCheckForUpdates schedules the check anew.
TEST_F(UpdateCheckE2eTest, ChangedUpdateOptionsScheduleTheCheckAnew) {
  qlrtest::HttpAnswer answer;
  answer.body = "<QuilloraVersionInfo><Version>0</Version></QuilloraVersionInfo>";
  server.SetAnswer(kServicePath, answer);
  SetSetting(L"DaysCheckForUpdates", L"7");
  SetSetting(L"LastCheckForUpdates_V2Low", L"0");
  SetSetting(L"LastCheckForUpdates_V2Hi", L"30785690");  // 1 January 2020, 11:52:53 UTC
  const std::wstring marker = dir.File(L"UpdateWait_Test.UpdateWait_Test");
  ASSERT_TRUE(qlrtest::WriteBytes(marker, "600000"));
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(LogText().find(L"wait for checkupdates"), std::wstring::npos);  // automatic checks are off

  const struct {
    const wchar_t* autoCheck;
    const wchar_t* days;
    const char* waitMs;
    const wchar_t* nextDate;  // null: nothing scheduled
    bool checks;              // the check is made
  } steps[] = {
      {L"1", L"7", "600000", L"Next update date: 08-01-2020 11:52:5", false},
      {L"1", L"3", "600000", L"Next update date: 04-01-2020 11:52:5", false},
      {L"0", L"3", "600000", nullptr, false},
      {L"1", L"5", "300", L"Next update date: 06-01-2020 11:52:5", true},
      {L"0", L"5", "300", nullptr, false},
  };
  for (const auto& step : steps) {
    const std::string name = qlrtest::ToUtf8(std::wstring(step.autoCheck) + L"/" + step.days);
    ASSERT_TRUE(qlrtest::WriteBytes(marker, step.waitMs));
    SetSetting(L"AutoCheckForUpdates", step.autoCheck);
    SetSetting(L"DaysCheckForUpdates", step.days);
    const size_t requests = Requests();
    // What the editor does when it ends.
    UniqueHandle ended(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Local\\Quillora_Event_PhraseEditorAgentCoop_Ended"));
    ASSERT_TRUE(ended) << name;
    SetEvent(ended.Get());
    EXPECT_TRUE(WaitForLog(std::wstring(L"Update check options changed: automatic=") + step.autoCheck +
                           L" days=" + step.days))
        << name;
    if (step.nextDate) EXPECT_TRUE(WaitForLog(step.nextDate)) << name;
    if (step.checks) {
      EXPECT_TRUE(WaitForRequests(requests + 1)) << name;
      // Each check schedules the next after the short wait and records its
      // time in Settings.ini; a setting written meanwhile by the test could be
      // lost to that write (both rewrite the whole file). Back to a long wait,
      // then on only once the checks already under way are over.
      ASSERT_TRUE(qlrtest::WriteBytes(marker, "600000"));
      EXPECT_TRUE(WaitForChecksToSettle()) << name;
    } else {
      // A check already on its way may still ask once.
      EXPECT_FALSE(qlrtest::WaitUntil([&] { return Requests() > requests + 1; }, 3000)) << name;
    }
  }
  Exit();
}

}  // namespace
