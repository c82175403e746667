// Real mouse input (SendInput) through the real hook of Gesture.dll, with
// the gesture event created here as its waiter does.
#include <gtest/gtest.h>

#include <vector>

#include "gesture/tests/gesture_library.h"

namespace {

using gesturetest::ButtonAt;
using gesturetest::GestureEvent;
using gesturetest::GestureLibrary;
using gesturetest::InstallerThread;
using gesturetest::PeerInstaller;
using gesturetest::SendButton;

class GestureInputTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library.Load()) << GetLastError();
    ASSERT_TRUE(event.IsValid());
    shared = library.Shared();
  }
  void Install(std::int32_t mode) { ASSERT_EQ(installer.Start(mode), 1); }

  bool MiddleMove(POINT press, POINT release) {
    return ButtonAt(press.x, press.y, MOUSEEVENTF_MIDDLEDOWN) &&
           ButtonAt(release.x, release.y, MOUSEEVENTF_MIDDLEUP);
  }
  // The installing process's view of the gesture point; (-1, -1) when the
  // call reports none (and must then have left the point alone).
  GesturePoint ReportedPoint() {
    GesturePoint p = {-1, -1};
    int rc = library.GetGesturePoint(&p);
    if (!rc) {
      EXPECT_TRUE(p.x == -1 && p.y == -1) << "point changed by a failed call";
    }
    return p;
  }

  GestureLibrary library;
  GestureEvent event;
  InstallerThread installer{library};
  GestureSharedState* shared = nullptr;
};

TEST_F(GestureInputTest, MiddleMoveOfMoreThanOneHundredFiftyPixels) {
  struct Case {
    LONG dx, dy;
    bool signals;
  } cases[] = {{150, 0, false}, {151, 0, true},     {150, 17, false},  // 150.96 px
               {90, 120, false}, {-107, -107, true}, {0, -151, true}};
  const POINT press = {500, 500};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
    Install(kGestureMoveMiddle);
    shared->gesture = {0, 0};
    ASSERT_TRUE(MiddleMove(press, {press.x + c.dx, press.y + c.dy}));
    if (c.signals) {
      EXPECT_TRUE(event.WasSet());
      EXPECT_EQ(ReportedPoint(), (GesturePoint{500, 500}));
    } else {
      EXPECT_FALSE(event.IsSetNow());
      EXPECT_EQ(ReportedPoint(), (GesturePoint{-1, -1}));
      EXPECT_EQ(shared->start, (GesturePoint{500, 500}));
    }
    EXPECT_EQ(installer.Stop(), 1);
  }
}

TEST_F(GestureInputTest, ShortMoveThenReleaseFarFromTheFirstPress) {
  Install(kGestureMoveMiddle);
  ASSERT_TRUE(MiddleMove({300, 300}, {400, 300}));
  EXPECT_FALSE(event.IsSetNow());
  ASSERT_TRUE(MiddleMove({450, 300}, {500, 300}));  // 50 px from this press, 200 from the first
  EXPECT_TRUE(event.WasSet());
  for (int call = 0; call < 3; ++call) EXPECT_EQ(ReportedPoint(), (GesturePoint{300, 300}));

  ASSERT_TRUE(MiddleMove({600, 600}, {600, 800}));
  EXPECT_TRUE(event.WasSet());
  EXPECT_EQ(ReportedPoint(), (GesturePoint{600, 600}));
  EXPECT_EQ(installer.Stop(), 1);
}

TEST_F(GestureInputTest, PressAtTheOriginIsNotRecorded) {
  Install(kGestureMoveMiddle);
  shared->gesture = {0, 0};
  ASSERT_TRUE(MiddleMove({0, 0}, {300, 300}));
  EXPECT_FALSE(event.IsSetNow());
  EXPECT_EQ(shared->start, (GesturePoint{0, 0}));
  EXPECT_EQ(ReportedPoint(), (GesturePoint{-1, -1}));
  ASSERT_TRUE(MiddleMove({1, 0}, {300, 300}));  // x above 0 is enough
  EXPECT_TRUE(event.WasSet());
  EXPECT_EQ(ReportedPoint(), (GesturePoint{1, 0}));
  EXPECT_EQ(installer.Stop(), 1);
}

TEST_F(GestureInputTest, EventsOfTheOtherGestureOrAnUnknownModeAreIgnored) {
  Install(kGestureTripleRight);
  ASSERT_TRUE(MiddleMove({300, 300}, {300, 700}));
  EXPECT_FALSE(event.IsSetNow());
  EXPECT_EQ(installer.Stop(), 1);

  Install(kGestureMoveMiddle);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ButtonAt(640, 500, MOUSEEVENTF_RIGHTDOWN));
    ASSERT_TRUE(SendButton(MOUSEEVENTF_RIGHTUP));
  }
  EXPECT_FALSE(event.IsSetNow());
  // Another process may write any mode into the shared block.
  shared->mode = 2;
  ASSERT_TRUE(MiddleMove({300, 300}, {300, 700}));
  EXPECT_FALSE(event.IsSetNow());
  EXPECT_EQ(shared->start, (GesturePoint{0, 0}));
  shared->mode = kGestureMoveMiddle;
  ASSERT_TRUE(MiddleMove({300, 300}, {300, 700}));
  EXPECT_TRUE(event.WasSet());
  EXPECT_EQ(installer.Stop(), 1);
}

TEST_F(GestureInputTest, GesturePointIsOnlyTheInstallersToRead) {
  PeerInstaller peer;
  ASSERT_TRUE(peer.Start(kGestureMoveMiddle));
  ASSERT_TRUE(peer.WaitInstalled());
  shared->gesture = {0, 0};
  ASSERT_TRUE(MiddleMove({320, 330}, {320, 630}));
  EXPECT_TRUE(event.WasSet());  // the peer's hook saw this process's input
  EXPECT_EQ(shared->gesture, (GesturePoint{320, 330}));
  EXPECT_EQ(ReportedPoint(), (GesturePoint{-1, -1}));
  EXPECT_EQ(peer.Stop(), 0);
}

// Right clicks whose releases follow each other by given gaps. The hook
// reads the clock while SendInput runs, so the gap it sees lies between the
// time from the previous call's end to this call's start and the time from
// the previous call's start to this call's end; a series whose bounds fall
// on the wrong side of 500 ms (a busy machine) proves nothing and is run
// again.
struct ClickSeries {
  std::vector<bool> setAfter;  // the event, after each release
  bool conclusive = true;
};

ClickSeries RightReleases(const std::vector<DWORD>& gapsMs, const GestureEvent& event) {
  ClickSeries series;
  DWORD prevStart = 0, prevEnd = 0;
  for (size_t i = 0; i < gapsMs.size(); ++i) {
    EXPECT_TRUE(ButtonAt(640, 500, MOUSEEVENTF_RIGHTDOWN));
    if (i > 0) {
      DWORD due = prevStart + gapsMs[i];
      // Paces the input itself; nothing is waited for here.
      while (static_cast<LONG>(GetTickCount() - due) < 0) Sleep(1);
    }
    DWORD start = GetTickCount();
    EXPECT_TRUE(SendButton(MOUSEEVENTF_RIGHTUP));
    DWORD end = GetTickCount();
    if (i > 0) {
      bool within = gapsMs[i] <= 500;
      if (within && end - prevStart > 500) series.conclusive = false;
      if (!within && start - prevEnd <= 500) series.conclusive = false;
    }
    series.setAfter.push_back(event.IsSetNow());
    prevStart = start;
    prevEnd = end;
  }
  return series;
}

TEST_F(GestureInputTest, TripleRightClick) {
  struct Case {
    const char* name;
    std::vector<DWORD> gaps;
    std::vector<bool> setAfter;
  } cases[] = {
      {"400 ms apart", {0, 400, 400}, {false, false, true}},
      // The late release is no first one: only the next three count.
      {"second 800 ms late", {0, 800, 300, 300, 300}, {false, false, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool done = false;
    for (int attempt = 0; attempt < 5 && !done; ++attempt) {
      Install(kGestureTripleRight);
      shared->gesture = {77, 88};
      ClickSeries series = RightReleases(c.gaps, event);
      EXPECT_EQ(installer.Stop(), 1);
      if (!series.conclusive) continue;
      done = true;
      EXPECT_EQ(series.setAfter, c.setAfter);
      EXPECT_EQ(shared->gesture, (GesturePoint{77, 88}));  // a triple click publishes none
    }
    EXPECT_TRUE(done) << "no series ran within its timing bounds";
  }
}

}  // namespace
