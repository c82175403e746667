#include "online/tray_helpers.h"

#include <gtest/gtest.h>

#include <atomic>

#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "settings/event_watchers.h"
#include "tests/support/test_support.h"

namespace {

TEST(TrayHelpersTest, PathsOfTheSuite) {
  std::wstring folder = GetAppFolderWithSlash();
  EXPECT_EQ(GetEditorPath(), folder + L"QuilloraEditor.exe");
  EXPECT_EQ(GetCoreDllPath(), folder + L"Quillora.dll");
  EXPECT_EQ(GetModuleFilePath(), qlrtest::BinFile(L"online_tray_helpers_test.exe"));
  EXPECT_EQ(GetLogFilePath(), GetLogReportPath());
  EXPECT_EQ(GetClientSuffix(), L"_Client");
  EXPECT_EQ(FormatIntToString(-42), L"-42");
  EXPECT_EQ(FormatIntToString(0), L"0");
}

TEST(TrayHelpersTest, SmallSystemHelpers) {
  HCURSOR cursor = GetSizeAllCursor();
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor, LoadCursorW(nullptr, IDC_SIZEALL));
  EXPECT_EQ(GetSizeAllCursor(), cursor);

  struct Day {
    int day, month, year, weekday;
  } days[] = {{1, 1, 2000, 6}, {29, 2, 2024, 4}, {8, 12, 2026, 2}, {1, 3, 1900, 4}};
  for (const Day& d : days) EXPECT_EQ(DayOfWeek(d.day, d.month, d.year), d.weekday);

  bool member = false;
  bool tested = CheckUserIsAdmin(member);
  EXPECT_EQ(IsUserAdmin(), tested && member);
  // The answer does not depend on the caller's own last error.
  SetLastError(5);
  EXPECT_EQ(IsUserAdmin(), tested && member);

  BOOL enabled = IsDwmCompositionEnabled();
  EXPECT_EQ(IsDwmCompositionEnabled(), enabled);
}

constexpr UINT kMessage = WM_APP + 74;
std::atomic<int> g_finished{0};
std::atomic<int> g_finishedParams{0};

TEST(TrayHelpersTest, EditorFinishedWatcherPostsEachSignal) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
  ASSERT_NE(window, nullptr);
  g_finished = 0;
  SetWindowLongPtrW(window, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                      if (m != kMessage) return DefWindowProcW(h, m, w, l);
                      ++g_finished;
                      g_finishedParams += static_cast<int>(w) + static_cast<int>(l);
                      return 0;
                    }));
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  long before = GetRunningWatcherCount();
  ASSERT_TRUE(StartEditorFinishedWatcher({stop.Get(), window, kMessage}));

  // The editor opens the event by name and pulses it when it ends.
  UniqueHandle ended(OpenEventW(EVENT_MODIFY_STATE, FALSE,
                                L"Local\\Quillora_Event_PhraseEditorAgentCoop_Ended"));
  ASSERT_TRUE(ended);
  for (int round = 1; round <= 2; ++round) {
    SetEvent(ended.Get());
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return g_finished.load() == round; }, 5000)) << round;
  }
  EXPECT_EQ(g_finishedParams.load(), 0);
  SetEvent(stop.Get());
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetRunningWatcherCount() == before; }, 5000));
  DestroyWindow(window);
}

}  // namespace
