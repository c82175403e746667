#include "foundation/system/shell_work_once.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "tests/support/test_support.h"

namespace {

// A work held on an event: the caller that never waits learns it is not
// done while it runs, and done once it ended, the work having run once.
TEST(ShellWorkOnceTest, TryFinishNeverWaitsAndTheWorkRunsOnce) {
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(release, nullptr);
  std::atomic<int> runs{0};
  CShellWorkOnce work([&] {
    ::WaitForSingleObject(release, 20000);
    ++runs;
  });
  // Not started: nothing done, nothing run here.
  EXPECT_FALSE(work.TryFinish());
  EXPECT_EQ(runs, 0);
  work.Start();
  EXPECT_FALSE(work.TryFinish());
  EXPECT_EQ(runs, 0);
  ::SetEvent(release);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return work.TryFinish(); }, 20000));
  EXPECT_EQ(runs, 1);
  work.Start();
  work.Finish();
  EXPECT_TRUE(work.TryFinish());
  EXPECT_EQ(runs, 1);
  ::CloseHandle(release);
}

// Never started, the first user does the work on its own thread.
TEST(ShellWorkOnceTest, FinishWithoutStartDoesTheWorkHere) {
  DWORD ranOn = 0;
  CShellWorkOnce work([&] { ranOn = ::GetCurrentThreadId(); });
  work.Finish();
  EXPECT_EQ(ranOn, ::GetCurrentThreadId());
  EXPECT_TRUE(work.TryFinish());
}

}  // namespace
