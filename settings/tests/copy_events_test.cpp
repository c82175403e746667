#include "settings/copy_events.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

const wchar_t kStart[] = L"Local\\Quillora_StartCopy";
const wchar_t kEnd[] = L"Local\\Quillora_EndCopy";

std::wstring Peer() { return qlrtest::BinFile(L"helper_named_object_peer.exe"); }

class CopyEventsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateCopyEvents()); }
  void TearDown() override { CloseCopyEvents(); }
};

TEST_F(CopyEventsTest, AnotherProcessSeesOurPulses) {
  const struct {
    const wchar_t* name;
    bool (*pulse)();
  } events[] = {{kStart, &PulseStartCopyEvent}, {kEnd, &PulseEndCopyEvent}};
  for (const auto& e : events) {
    qlrtest::ChildProcess waiter;
    ASSERT_TRUE(waiter.Start(Peer(), std::wstring(L"wait \"") + e.name + L"\" 20000"));
    // A pulse reaches only a waiter that already waits: pulse until it ends.
    int code = -1;
    EXPECT_TRUE(qlrtest::WaitUntil([&] {
      e.pulse();
      code = waiter.Wait(0);
      return code != -1;
    }, 15000, 20));
    EXPECT_EQ(code, 0) << qlrtest::ToUtf8(e.name);
  }
}

TEST_F(CopyEventsTest, AnotherProcessCanSignalUs) {
  const struct {
    const wchar_t* name;
    HANDLE handle;
  } events[] = {{kStart, GetStartCopyEvent()}, {kEnd, GetEndCopyEvent()}};
  for (const auto& e : events) {
    ASSERT_NE(e.handle, nullptr);
    EXPECT_EQ(WaitForSingleObject(e.handle, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "not signalled at start";
    ASSERT_EQ(qlrtest::RunProcess(Peer(), std::wstring(L"set \"") + e.name + L"\""), 0);
    EXPECT_EQ(WaitForSingleObject(e.handle, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    // Auto reset: the wait took the signal.
    EXPECT_EQ(WaitForSingleObject(e.handle, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  }
}

TEST_F(CopyEventsTest, PulseLeavesTheEventResetAndFailsWithoutIt) {
  EXPECT_TRUE(PulseNamedEvent(kStart));
  EXPECT_EQ(WaitForSingleObject(GetStartCopyEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseCopyEvents();
  EXPECT_EQ(GetStartCopyEvent(), nullptr);
  EXPECT_FALSE(PulseNamedEvent(kStart)) << "closed with its last handle";
  EXPECT_FALSE(PulseStartCopyEvent());
  EXPECT_EQ(qlrtest::RunProcess(Peer(), std::wstring(L"set \"") + kEnd + L"\""), 2);
}

}  // namespace
