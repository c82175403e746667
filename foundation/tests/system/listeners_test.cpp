#include "foundation/system/listeners.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Recorder : IObserver, IAppEventListener {
  std::vector<std::pair<int, int>> calls;
  std::vector<std::pair<int, int>> events;
  std::function<void()> onNotify;
  void OnObserverNotify(int a, int b) override {
    calls.emplace_back(a, b);
    if (onNotify) onNotify();
  }
  void OnAppEvent(int code, int param) override {
    events.emplace_back(code, param);
    if (onNotify) onNotify();
  }
};

TEST(ObserverListTest, AddRemoveAndNotifyCounts) {
  CObserverList list;
  Recorder a, b;
  EXPECT_EQ(list.Notify(nullptr, 1, 2), 0);
  EXPECT_TRUE(list.Add(&a));
  EXPECT_FALSE(list.Add(&a));  // twice: notified once
  EXPECT_FALSE(list.Add(nullptr));
  EXPECT_TRUE(list.Add(&b));
  EXPECT_EQ(list.Notify(nullptr, 3, 4), 2);
  EXPECT_EQ(a.calls.size(), 1u);
  EXPECT_EQ(b.calls.back(), std::make_pair(3, 4));
  // The sender is never told about its own notification.
  EXPECT_EQ(list.Notify(static_cast<IObserver*>(&a), 5, 6), 1);
  EXPECT_EQ(a.calls.size(), 1u);
  EXPECT_EQ(b.calls.size(), 2u);
  Recorder never;
  EXPECT_FALSE(list.Remove(&never));
  EXPECT_TRUE(list.Remove(&a));
  EXPECT_FALSE(list.Remove(&a));
  EXPECT_EQ(list.Notify(nullptr, 7, 8), 1);
}

TEST(ObserverListTest, ObserversMayRemoveThemselvesOrOthersWhileNotified) {
  CObserverList list;
  Recorder r[3];
  for (auto& x : r) list.Add(&x);
  // Whichever is called first removes all three; nobody else may be called.
  for (auto& x : r)
    x.onNotify = [&] {
      for (auto& y : r) list.Remove(&y);
    };
  EXPECT_EQ(list.Notify(nullptr, 1, 1), 1);
  EXPECT_EQ(r[0].calls.size() + r[1].calls.size() + r[2].calls.size(), 1u);
  EXPECT_EQ(list.Notify(nullptr, 1, 1), 0);
}

TEST(AppEventListenersTest, SenderSkippedNullSenderSkipsNobody) {
  Recorder a, b;
  AddAppEventListener(&a);
  AddAppEventListener(&a);
  AddAppEventListener(&b);
  AddAppEventListener(nullptr);
  NotifyAppEventListeners(nullptr, 1, 7);
  EXPECT_EQ(a.events, (std::vector<std::pair<int, int>>{{1, 7}}));
  EXPECT_EQ(b.events.size(), 1u);
  NotifyAppEventListeners(static_cast<IAppEventListener*>(&b), 0, 0);
  EXPECT_EQ(a.events.size(), 2u);
  EXPECT_EQ(b.events.size(), 1u);
  a.onNotify = [&] { RemoveAppEventListener(&a); };
  NotifyAppEventListeners(nullptr, 2, 0);
  NotifyAppEventListeners(nullptr, 3, 0);
  EXPECT_EQ(a.events.size(), 3u);
  EXPECT_EQ(b.events.size(), 3u);
  RemoveAppEventListener(&b);
  EXPECT_FALSE(GetAppEventListeners().Contains(&b));
}

TEST(ObserverListTest, ProcessWideListIsOneInstance) {
  Recorder a;
  EXPECT_TRUE(AddObserver(&a));
  EXPECT_EQ(&GetObserverList(), &GetObserverList());
  EXPECT_EQ(NotifyObservers(nullptr, 9, 9), 1);
  EXPECT_TRUE(RemoveObserver(&a));
  EXPECT_EQ(NotifyObservers(nullptr, 9, 9), 0);
}

}  // namespace
