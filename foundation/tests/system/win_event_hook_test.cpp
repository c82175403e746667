#include "foundation/system/win_event_hook.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/test_support.h"

namespace {

class CRecorder : public IWinEventSubscriber {
 public:
  std::vector<WinEventRecord> records;
  std::vector<LONG_PTR> values;
  void OnWinEvent(const WinEventRecord& record, LONG_PTR userValue) override {
    records.push_back(record);
    values.push_back(userValue);
  }
  bool SawFocusOn(HWND h) const {
    for (const auto& r : records) {
      if (r.event == EVENT_OBJECT_FOCUS && r.hwnd == h) return true;
    }
    return false;
  }
};

TEST(WinEventHookTest, SubscriptionsCollectIdsAndTheHookFollowsThem) {
  CWinEventHook& hook = CWinEventHook::GetInstance();
  CRecorder a, b;
  EXPECT_FALSE(hook.IsInstalled());
  EXPECT_TRUE(hook.Subscribe(&a, 1, EVENT_OBJECT_FOCUS));
  EXPECT_TRUE(hook.IsInstalled());
  EXPECT_TRUE(hook.Subscribe(&a, 99, EVENT_SYSTEM_FOREGROUND));  // same subscription
  EXPECT_FALSE(hook.Subscribe(&a, 99, EVENT_OBJECT_FOCUS));
  EXPECT_TRUE(hook.Subscribe(&b, 2, EVENT_SYSTEM_FOREGROUND));

  HWND w = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  struct Case {
    DWORD event;
    size_t toA, toB;
  } cases[] = {
      {EVENT_OBJECT_FOCUS, 1, 0},
      {EVENT_SYSTEM_FOREGROUND, 1, 1},
      {EVENT_OBJECT_NAMECHANGE, 0, 0},
  };
  for (const Case& c : cases) {
    a.records.clear();
    b.records.clear();
    hook.Dispatch(c.event, w, OBJID_CLIENT, CHILDID_SELF, 42, 1000);
    EXPECT_EQ(c.toA, a.records.size()) << c.event;
    EXPECT_EQ(c.toB, b.records.size()) << c.event;
  }
  EXPECT_EQ((std::vector<LONG_PTR>{1, 1}), a.values);  // the first user value stays
  b.records.clear();
  hook.Dispatch(EVENT_SYSTEM_FOREGROUND, w, OBJID_CLIENT, CHILDID_SELF, 42, 1000);
  ASSERT_EQ(1u, b.records.size());
  EXPECT_EQ(2, b.values.back());
  const WinEventRecord& r = b.records.back();
  EXPECT_EQ(static_cast<DWORD>(EVENT_SYSTEM_FOREGROUND), r.event);
  EXPECT_EQ(w, r.hwnd);
  EXPECT_EQ(42u, r.threadId);
  EXPECT_EQ(OBJID_CLIENT, r.objectId);
  EXPECT_EQ(1000u, r.time);

  EXPECT_TRUE(hook.Unsubscribe(&a));
  EXPECT_FALSE(hook.Unsubscribe(&a));
  EXPECT_TRUE(hook.IsInstalled());
  EXPECT_TRUE(hook.Unsubscribe(&b));
  EXPECT_FALSE(hook.IsInstalled());
}

TEST(WinEventHookTest, FocusChangesArriveThroughTheSystemHook) {
  HWND top = ::CreateWindowExW(0, L"STATIC", L"focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                               300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND edit1 = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, top,
                                 nullptr, nullptr, nullptr);
  HWND edit2 = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, top,
                                 nullptr, nullptr, nullptr);
  ASSERT_TRUE(top && edit1 && edit2);
  ::SetForegroundWindow(top);
  CRecorder focus;
  CWinEventHook& hook = CWinEventHook::GetInstance();
  ASSERT_TRUE(hook.Subscribe(&focus, 5, EVENT_OBJECT_FOCUS));
  ::SetFocus(edit1);
  ::SetFocus(edit2);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return focus.SawFocusOn(edit2); }, 5000));
  for (const auto& rec : focus.records) EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_FOCUS), rec.event);

  // A narrower range put in while installed still delivers focus events.
  SetWinEventRange(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS);
  focus.records.clear();
  ::SetFocus(edit1);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return focus.SawFocusOn(edit1); }, 5000));
  SetWinEventRange(EVENT_MIN, EVENT_MAX);

  EXPECT_TRUE(hook.Unsubscribe(&focus));
  focus.records.clear();
  ::SetFocus(edit2);
  qlrtest::PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(focus.records.empty());
  ::DestroyWindow(top);
}

}  // namespace
