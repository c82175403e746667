#include "tray/hook/retry_sender.h"

#include <gtest/gtest.h>

#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 9;
int g_calls = 0;
int g_answerFrom = 0;  // answer non-zero from this call on (0: never)

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbeMessage) {
    ++g_calls;
    return g_answerFrom && g_calls >= g_answerFrom ? 1 : 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class RetrySenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrRetryProbe";
    RegisterClassW(&wc);
    m_window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(m_window, nullptr);
    m_stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_calls = 0;
  }
  void TearDown() override {
    SetEvent(m_stop.Get());
    DestroyWindow(m_window);
  }
  RetrySenderRecord Record(int tries, bool sendFirst) {
    RetrySenderRecord record;
    record.window = m_window;
    record.message = kProbeMessage;
    record.intervalMs = 20;
    record.tries = tries;
    record.stopEvent = m_stop.Get();
    record.sendFirst = sendFirst;
    return record;
  }
  HWND m_window = nullptr;
  UniqueHandle m_stop;
};

TEST_F(RetrySenderTest, SendsUntilTheWindowAnswersOrTheTriesRunOut) {
  const struct {
    int tries;
    int answerFrom;
    int expectedCalls;
  } cases[] = {{200, 1, 1}, {200, 3, 3}, {4, 0, 4}, {1, 0, 1}};
  for (const auto& c : cases) {
    g_calls = 0;
    g_answerFrom = c.answerFrom;
    ASSERT_TRUE(StartRetrySender(Record(c.tries, true)));
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return g_calls >= c.expectedCalls; }, 10000));
    // No further try comes after the answer or the last try.
    EXPECT_FALSE(qlrtest::PumpUntil([&] { return g_calls > c.expectedCalls; }, 150));
  }
}

TEST_F(RetrySenderTest, StopEventEndsTheTries) {
  g_answerFrom = 0;
  ASSERT_TRUE(StartRetrySender(Record(200, false)));
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_calls >= 2; }, 10000));
  SetEvent(m_stop.Get());
  qlrtest::PumpUntil([] { return false; }, 60);
  int after = g_calls;
  EXPECT_FALSE(qlrtest::PumpUntil([&] { return g_calls > after; }, 150));
}

TEST_F(RetrySenderTest, AWaitingStartWaitsOneIntervalFirst) {
  g_answerFrom = 1;
  RetrySenderRecord record = Record(5, false);
  record.intervalMs = 400;
  DWORD start = GetTickCount();
  ASSERT_TRUE(StartRetrySender(record));
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_calls >= 1; }, 10000));
  EXPECT_GE(GetTickCount() - start, 350u);
}

}  // namespace
