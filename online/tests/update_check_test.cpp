#include "online/update_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/system/handles.h"
#include "online/online_test_seams.h"
#include "settings/settings_files.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_support.h"

namespace {

SYSTEMTIME Utc(WORD y, WORD mo, WORD d, WORD h = 12, WORD mi = 0, WORD s = 0) {
  SYSTEMTIME t = {};
  t.wYear = y;
  t.wMonth = mo;
  t.wDay = d;
  t.wHour = h;
  t.wMinute = mi;
  t.wSecond = s;
  return t;
}

TEST(UpdateScheduleTest, WaitsAndTheirLogLine) {
  const SYSTEMTIME now = Utc(2026, 12, 9, 12, 0, 0);
  const struct {
    SYSTEMTIME last;
    int days;
    DWORD ms;
    const wchar_t* line;
  } cases[] = {
      {Utc(2026, 11, 1), 7, 600000,
       L"wait for checkupdates ms=600000 sec=600 minutes=10 hour=0 days=0, Next update date: "
       L"08-11-2026 12:00:00"},
      {Utc(2026, 12, 9, 12, 0, 0), 29, 2505600000u,
       L"wait for checkupdates ms=2505600000 sec=2505600 minutes=41760 hour=696 days=29, Next update "
       L"date: 07-01-2027 12:00:00"},
      {Utc(2026, 12, 8, 18, 30, 0), 1, 23400000,
       L"wait for checkupdates ms=23400000 sec=23400 minutes=390 hour=6 days=0, Next update date: "
       L"09-12-2026 18:30:00"},
      // A stored time in the future waits no longer than the days from now.
      {Utc(2030, 1, 1), 3, 259200000,
       L"wait for checkupdates ms=259200000 sec=259200 minutes=4320 hour=72 days=3, Next update date: "
       L"04-01-2030 12:00:00"},
      {Utc(2026, 13, 40), 7, 600000,
       L"wait for checkupdates ms=600000 sec=600 minutes=10 hour=0 days=0, Next update date: Cannot "
       L"convert variant_time to system_time"},
  };
  for (const auto& c : cases) {
    std::wstring line;
    EXPECT_EQ(ComputeUpdateWaitMs(c.last, c.days, now, &line), c.ms) << qlrtest::ToUtf8(c.line);
    EXPECT_EQ(line, c.line);
  }
  // Whole seconds come out whole at any time of day, whatever the error of
  // the day fractions.
  int wrong = 0;
  for (WORD hour = 0; hour < 24; ++hour)
    for (WORD minute = 0; minute < 60; ++minute)
      for (WORD second : {0, 1, 29, 58}) {
        const SYSTEMTIME last = Utc(2026, 12, 2, hour, minute, second);
        SYSTEMTIME later = last;
        later.wSecond = static_cast<WORD>(second + 1);
        if (ComputeUpdateWaitMs(last, 7, later, nullptr) != (7 * 86400 - 1) * 1000u) ++wrong;
      }
  EXPECT_EQ(wrong, 0) << "waits a second off of 5760";
}

std::vector<DWORD> g_steps;
std::atomic<int> g_flipAfter{0};

TEST(UpdateScheduleTest, OfflineStepsDoubleUpToAnHourAndACheckOnRequestGivesUp) {
  const struct {
    DWORD offlineLimitMs;
    int flipAfter;  // the connection comes back after this many waits (0: never)
    std::vector<DWORD> steps;
    UpdateWaitEnd end;
  } cases[] = {
      // A scheduled check waits as long as it takes; the rest of its wait
      // went by offline.
      {INFINITE, 14,
       {5000, 10000, 20000, 40000, 80000, 160000, 320000, 640000, 1280000, 2560000, 3600000, 3600000, 3600000,
        3600000, 0},
       UpdateWaitEnd::kReady},
      // One the user asked for gives up after ten minutes offline.
      {kOnRequestOfflineLimitMs, 0, {5000, 10000, 20000, 40000, 80000, 160000, 285000}, UpdateWaitEnd::kGaveUp},
      {kOnRequestOfflineLimitMs, 3, {5000, 10000, 20000, 0}, UpdateWaitEnd::kReady},
  };
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  for (const auto& c : cases) {
    SetInternetStateForTests(1);
    g_steps.clear();
    g_flipAfter = c.flipAfter;
    SetUpdateWaitForTests([](HANDLE, HANDLE, DWORD ms) -> DWORD {
      g_steps.push_back(ms);
      if (static_cast<int>(g_steps.size()) == g_flipAfter) SetInternetStateForTests(0);
      return WAIT_TIMEOUT;
    });
    EXPECT_EQ(WaitBeforeUpdateCheck(stop.Get(), cancel.Get(), 7000, c.offlineLimitMs), c.end);
    EXPECT_EQ(g_steps, c.steps);
  }

  // The stop event and the cancel event each end an offline wait at once.
  SetInternetStateForTests(1);
  SetUpdateWaitForTests(nullptr);
  SetEvent(cancel.Get());
  EXPECT_EQ(WaitBeforeUpdateCheck(stop.Get(), cancel.Get(), 0, INFINITE), UpdateWaitEnd::kStopped);
  SetEvent(stop.Get());
  EXPECT_EQ(WaitBeforeUpdateCheck(stop.Get(), nullptr, 0, INFINITE), UpdateWaitEnd::kStopped);
  SetInternetStateForTests(-1);
}

// The window that the worker reports to.
struct Reports {
  std::mutex lock;
  std::vector<CUpdateInfo> records;
  std::atomic<int> callbacks{0};
  std::atomic<int> lastCallbackArg{-1};
};
Reports* g_reports = nullptr;

class UpdateWorkerTest : public ::testing::Test {
 protected:
  static constexpr UINT kResultMessage = WM_APP + 5;

  void SetUp() override {
    g_reports = &reports;
    SetSettingsFolders(program.Path(), program.Path());
    ASSERT_TRUE(server.Start());
    SetUpdateSiteForTests(server.BaseUrl());
    SetInternetStateForTests(0);
    window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                        if (m == kResultMessage) {
                          auto* info = reinterpret_cast<CUpdateInfo*>(l);
                          EXPECT_TRUE(IsLiveUpdateInfo(info));
                          std::lock_guard<std::mutex> guard(g_reports->lock);
                          g_reports->records.push_back(*info);
                          return 1;
                        }
                        return DefWindowProcW(h, m, w, l);
                      }));
    stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  }
  void TearDown() override {
    SetEvent(stop.Get());
    DestroyWindow(window);
    SetInternetStateForTests(-1);
    SetUpdateSiteForTests(L"");
    SetUpdateWaitForTests(nullptr);
    server.Stop();
    SetSettingsFolders(L"", L"");
    g_reports = nullptr;
  }
  static void Done(const UpdateCallbackRecord& record, int arg) {
    EXPECT_NE(record.owner, nullptr);
    EXPECT_EQ(record.message, kResultMessage);
    g_reports->lastCallbackArg = arg;
    ++g_reports->callbacks;
  }
  void Answer(const std::string& version) {
    qlrtest::HttpAnswer answer;
    answer.body = "<QuilloraVersionInfo><Version>" + version + "</Version></QuilloraVersionInfo>";
    server.SetAnswer("/Source/update_qlr.php", answer);
    qlrtest::HttpAnswer feed;
    feed.body = "<rss><channel><item><title>One</title></item><item><title>Two</title></item></channel></rss>";
    server.SetAnswer("/news_en.xml", feed);
  }
  size_t RecordCount() {
    std::lock_guard<std::mutex> guard(reports.lock);
    return reports.records.size();
  }
  bool WaitForCallbacks(int n) {
    return qlrtest::PumpUntil([&] { return reports.callbacks.load() >= n; }, 30000);
  }

  Reports reports;
  qlrtest::TempDir program;
  qlrtest::HttpTestServer server;
  HWND window = nullptr;
  UniqueHandle stop;
};

TEST_F(UpdateWorkerTest, ChecksOnRequestReportEveryOutcome) {
  const struct {
    const char* version;  // null: no answer at all
    int result;
    const wchar_t* error;
    const wchar_t* versionText;
    size_t news;
  } cases[] = {
      {"99.0.0.1", 0, L"", L"99.0.0.1", 2},
      {"0", 1, L"", L"", 2},
      {"", 2, L"ERROR: Cannot parse information file", L"", 2},
      {nullptr, 0, L"ERROR: Cannot load information from official web-site", L"", 0},
  };
  int round = 0;
  for (const auto& c : cases) {
    if (c.version)
      Answer(c.version);
    else
      server.SetAnswer("/Source/update_qlr.php", qlrtest::HttpAnswer{404, "gone"});
    ASSERT_TRUE(StartCheckForUpdates(window, kResultMessage, stop.Get(), Done, 0));
    ASSERT_TRUE(WaitForCallbacks(++round));
    ASSERT_EQ(RecordCount(), static_cast<size_t>(round));
    const CUpdateInfo& info = reports.records.back();
    EXPECT_EQ(info.errorText, c.error) << round;
    EXPECT_EQ(info.versionText, c.versionText) << round;
    EXPECT_EQ(info.news.size(), c.news) << round;
    EXPECT_EQ(info.autoMode, 0);
    EXPECT_EQ(reports.lastCallbackArg.load(), 0);
  }
  EXPECT_EQ(server.CountRequests("/Source/update_qlr.php", "Quillora_Updater"), 4u);
  auto requests = server.Requests();
  EXPECT_NE(requests[0].query.find("winver="), std::string::npos);
}

TEST_F(UpdateWorkerTest, SilentChecksReportOnlyANewerVersion) {
  Answer("0");
  ASSERT_TRUE(StartUpdateCheckThread(window, kResultMessage, 0, stop.Get(), 1, Done, 1, 1));
  ASSERT_TRUE(WaitForCallbacks(1));
  EXPECT_EQ(reports.lastCallbackArg.load(), 1);
  EXPECT_EQ(RecordCount(), 0u);  // nothing new, nothing said
  server.SetAnswer("/Source/update_qlr.php", qlrtest::HttpAnswer{404, "gone"});
  ASSERT_TRUE(StartUpdateCheckThread(window, kResultMessage, 0, stop.Get(), 1, Done, 1, 1));
  ASSERT_TRUE(WaitForCallbacks(2));
  EXPECT_EQ(RecordCount(), 0u);
  Answer("99");
  ASSERT_TRUE(StartUpdateCheckThread(window, kResultMessage, 0, stop.Get(), 1, Done, 1, 1));
  ASSERT_TRUE(WaitForCallbacks(3));
  ASSERT_EQ(RecordCount(), 1u);
  EXPECT_EQ(reports.records[0].versionText, L"99");
  EXPECT_EQ(reports.records[0].autoMode, 1);
  EXPECT_EQ(reports.records[0].scheduled, 1);
}

std::atomic<int> g_waitsEntered{0};

TEST_F(UpdateWorkerTest, AStopDuringTheWaitOrAutoChecksTurnedOffEndTheThreadQuietly) {
  Answer("99");
  SetUpdateWaitForTests([](HANDLE stopEvent, HANDLE, DWORD ms) -> DWORD {
    ++g_waitsEntered;
    return WaitForSingleObject(stopEvent, ms);
  });
  g_waitsEntered = 0;
  ASSERT_TRUE(StartUpdateCheckThread(window, kResultMessage, 600000, stop.Get(), 1, Done, 1, 1));
  ASSERT_TRUE(qlrtest::WaitUntil([] { return g_waitsEntered.load() == 1; }, 10000));
  SetEvent(stop.Get());

  // Scheduled checks were turned off while this one waited.
  WritePrivateProfileStringW(L"Settings", L"AutoCheckForUpdates", L"0", program.File(L"Settings.ini").c_str());
  UniqueHandle secondStop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(StartUpdateCheckThread(window, kResultMessage, 0, secondStop.Get(), 1, Done, 1, 1));
  ASSERT_TRUE(qlrtest::WaitUntil([] { return g_waitsEntered.load() == 2; }, 10000));
  // Neither thread may ask or report; give them time to do so wrongly.
  EXPECT_FALSE(qlrtest::PumpUntil([&] { return server.RequestCount() > 0 || reports.callbacks > 0; }, 3000));
  EXPECT_EQ(RecordCount(), 0u);
  // A check on request is made all the same.
  ASSERT_TRUE(StartCheckForUpdates(window, kResultMessage, secondStop.Get(), Done, 0));
  EXPECT_TRUE(WaitForCallbacks(1));
  EXPECT_EQ(RecordCount(), 1u);
  SetEvent(secondStop.Get());
}

std::atomic<int> g_waitsEnded{0};
std::atomic<unsigned long long> g_offlineWaited{0};

TEST_F(UpdateWorkerTest, ANewScheduleEndsTheWaitOfTheOneBefore) {
  Answer("99");
  g_waitsEntered = 0;
  g_waitsEnded = 0;
  SetUpdateWaitForTests([](HANDLE stopEvent, HANDLE cancelEvent, DWORD ms) -> DWORD {
    ++g_waitsEntered;
    HANDLE both[2] = {stopEvent, cancelEvent};
    // An overdue check (ten minutes) goes ahead at once.
    DWORD result = WaitForMultipleObjects(cancelEvent ? 2 : 1, both, FALSE, ms == 600000 ? 0 : ms);
    if (result != WAIT_TIMEOUT) ++g_waitsEnded;
    return result;
  });
  SYSTEMTIME now = {};
  GetSystemTime(&now);
  // Two checks scheduled a day ahead: the second ends the wait of the first.
  ASSERT_TRUE(ScheduleNextUpdateCheck(window, kResultMessage, stop.Get(), now, Done, 1, 1));
  ASSERT_TRUE(qlrtest::WaitUntil([] { return g_waitsEntered.load() == 1; }, 10000));
  ASSERT_TRUE(ScheduleNextUpdateCheck(window, kResultMessage, stop.Get(), now, Done, 1, 1));
  ASSERT_TRUE(qlrtest::WaitUntil([] { return g_waitsEntered.load() == 2 && g_waitsEnded.load() == 1; }, 10000));
  CancelScheduledUpdateCheck();
  ASSERT_TRUE(qlrtest::WaitUntil([] { return g_waitsEnded.load() == 2; }, 10000));
  EXPECT_FALSE(qlrtest::PumpUntil([&] { return server.RequestCount() > 0 || reports.callbacks > 0; }, 2000));

  // A schedule after those checks when it is due, and only once.
  ASSERT_TRUE(ScheduleNextUpdateCheck(window, kResultMessage, stop.Get(), Utc(2020, 1, 1), Done, 7, 1));
  ASSERT_TRUE(WaitForCallbacks(1));
  EXPECT_EQ(RecordCount(), 1u);
  EXPECT_EQ(reports.lastCallbackArg.load(), 1);
  EXPECT_EQ(server.CountRequests("/Source/update_qlr.php", "Quillora_Updater"), 1u);
}

TEST_F(UpdateWorkerTest, AnOfflineCheckOnRequestGivesUpAndSaysSo) {
  Answer("99");
  SetInternetStateForTests(1);
  g_offlineWaited = 0;
  SetUpdateWaitForTests([](HANDLE, HANDLE, DWORD ms) -> DWORD {
    g_offlineWaited += ms;
    return WAIT_TIMEOUT;
  });
  ASSERT_TRUE(StartCheckForUpdates(window, kResultMessage, stop.Get(), Done, 0));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return RecordCount() == 1; }, 30000));
  EXPECT_EQ(reports.records[0].errorText, kUpdateErrorNoConnection);
  EXPECT_EQ(g_offlineWaited.load(), kOnRequestOfflineLimitMs);
  // Nothing was asked, so no time of a check is stored either.
  EXPECT_FALSE(qlrtest::PumpUntil([&] { return server.RequestCount() > 0 || reports.callbacks > 0; }, 2000));
}

}  // namespace
