#include "gesture/recognizer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "foundation/system/handles.h"

namespace {

// The recogniser's view of the world for one test: a clock the test sets,
// the traces written and the signals given.
struct World {
  static World* current;
  DWORD now = 1000;
  std::wstring traces;
  std::vector<std::int32_t> signals;

  static DWORD Ticks() { return current->now; }
  static void Trace(const wchar_t* text) { current->traces += text; }
  static void Signal(std::int32_t mode) { current->signals.push_back(mode); }
};
World* World::current = nullptr;

class RecognizerTest : public testing::Test {
 protected:
  RecognizerTest() : recognizer(&shared, {&World::Ticks, &World::Trace, &World::Signal}) {
    World::current = &world;
  }
  void Install(std::int32_t mode) {
    recognizer.Prepare(mode);
    world.traces.clear();
  }
  void Event(WPARAM message, LONG x, LONG y) { recognizer.Dispatch(message, POINT{x, y}); }

  GestureSharedState shared = {};
  World world;
  GestureRecognizer recognizer;
};

TEST(TruncatedDistanceTest, WholePixelsWithoutOverflow) {
  struct Case {
    GesturePoint from, to;
    double expected;
  } cases[] = {
      {{100, 100}, {250, 100}, 150},
      {{100, 100}, {251, 100}, 151},
      {{100, 100}, {250, 117}, 150},  // 150.96 truncates
      {{100, 100}, {190, 220}, 150},  // exactly 150
      {{-1280, -1024}, {-1129, -1024}, 151},
      {{INT_MIN, 0}, {INT_MAX, 0}, 4294967295.0},  // the difference does not fit 32 bits
      {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, 6074000998.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TruncatedDistance(c.from, c.to), c.expected)
        << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
  }
}

TEST_F(RecognizerTest, MiddleMoveSignalsAboveOneHundredFiftyPixels) {
  struct Case {
    GesturePoint press, release;
    bool signals;
  } cases[] = {
      {{300, 300}, {450, 300}, false},
      {{300, 300}, {451, 300}, true},
      {{300, 300}, {450, 317}, false},  // 150.96
      {{300, 300}, {390, 420}, false},
      {{300, 300}, {300, 149}, true},
      {{-500, 20}, {-349, 20}, true},    // a monitor left of the primary one
      {{20, -500}, {20, -651}, true},    // above it
      {{1, INT_MIN + 1}, {1, INT_MAX}, true},
      {{INT_MAX, 5}, {INT_MIN, 5}, true},
  };
  for (const Case& c : cases) {
    shared.gesture = {7, 7};
    Install(kGestureMoveMiddle);
    Event(WM_MBUTTONDOWN, c.press.x, c.press.y);
    Event(WM_MBUTTONUP, c.release.x, c.release.y);
    SCOPED_TRACE(testing::Message() << c.press.x << "," << c.press.y << " -> " << c.release.x
                                    << "," << c.release.y);
    EXPECT_EQ(world.traces, L"OnMouseDown_MoveMiddle\nOnMouseUp_MoveMiddle\n");
    if (c.signals) {
      EXPECT_EQ(world.signals, std::vector<std::int32_t>{kGestureMoveMiddle});
      EXPECT_EQ(shared.gesture.x, c.press.x);
      EXPECT_EQ(shared.gesture.y, c.press.y);
      EXPECT_FALSE(IsPointSet(shared.start));
    } else {
      EXPECT_TRUE(world.signals.empty());
      EXPECT_EQ(shared.gesture.x, 7);  // untouched
      EXPECT_EQ(shared.start.x, c.press.x);  // kept for the next release
    }
    world.signals.clear();
  }
}

TEST_F(RecognizerTest, PressAtOrBelowOriginIsNotRecorded) {
  struct Case {
    LONG x, y;
    bool recorded;
  } cases[] = {{0, 0, false}, {-5, -5, false}, {-1920, 0, false}, {0, -3, false},
               {1, 0, true},  {0, 1, true},    {-1920, 4, true}};
  for (const Case& c : cases) {
    Install(kGestureMoveMiddle);
    Event(WM_MBUTTONDOWN, c.x, c.y);
    Event(WM_MBUTTONUP, c.x + 400, c.y + 400);
    EXPECT_EQ(world.signals.size(), c.recorded ? 1u : 0u) << c.x << "," << c.y;
    world.signals.clear();
  }
}

TEST_F(RecognizerTest, ShortMoveKeepsFirstPressForTheNextRelease) {
  Install(kGestureMoveMiddle);
  Event(WM_MBUTTONDOWN, 300, 300);
  Event(WM_MBUTTONUP, 400, 300);
  Event(WM_MBUTTONDOWN, 450, 300);  // does not replace the start
  EXPECT_TRUE(world.signals.empty());
  Event(WM_MBUTTONUP, 500, 300);    // 200 px from the first press, 50 from the second
  EXPECT_EQ(world.signals.size(), 1u);
  EXPECT_EQ(shared.gesture.x, 300);
  EXPECT_EQ(shared.gesture.y, 300);
  // A release without a new press has no start to measure from.
  Event(WM_MBUTTONUP, 900, 900);
  EXPECT_EQ(world.signals.size(), 1u);
}

TEST_F(RecognizerTest, TripleRightReleasesWithinFiveHundredMilliseconds) {
  struct Case {
    const char* name;
    std::vector<DWORD> releases;      // tick count of each release
    std::vector<size_t> signalAfter;  // signal count after each release
  } cases[] = {
      {"400 ms apart", {1000, 1400, 1800}, {0, 0, 1}},
      {"exactly 500", {1000, 1500, 2000}, {0, 0, 1}},
      {"second too late", {1000, 1501, 1600, 1700, 1800}, {0, 0, 0, 0, 1}},
      {"third too late", {1000, 1100, 1601, 1700, 1800, 1900}, {0, 0, 0, 0, 0, 1}},
      {"wrap between releases", {0xFFFFFF00u, 0x64, 0x190}, {0, 0, 1}},
      {"too late across the wrap", {0xFFFFFE00u, 0xA0, 0x100, 0x200, 0x300}, {0, 0, 0, 0, 1}},
      {"sequence starts anew", {1000, 1100, 1200, 1300, 1400, 1500}, {0, 0, 1, 1, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Install(kGestureTripleRight);
    world.signals.clear();
    for (size_t i = 0; i < c.releases.size(); ++i) {
      world.now = c.releases[i];
      Event(WM_RBUTTONDOWN, 50, 60);
      Event(WM_RBUTTONUP, 50, 60);
      EXPECT_EQ(world.signals.size(), c.signalAfter[i]) << "release " << i;
    }
    for (std::int32_t mode : world.signals) EXPECT_EQ(mode, kGestureTripleRight);
  }
}

TEST_F(RecognizerTest, TripleRightTracesAndPoints) {
  shared.gesture = {11, 12};
  Install(kGestureTripleRight);
  const GesturePoint at[] = {{40, 41}, {42, 43}, {44, 45}};
  for (int i = 0; i < 3; ++i) {
    world.now = 5000 + i * 100;
    Event(WM_RBUTTONUP, at[i].x, at[i].y);
  }
  EXPECT_EQ(world.traces,
            L"OnMouseUp_Triple_Right\nOnMouseUp_Triple_Right\nOnMouseUp_Triple_Right\nClear\nClear\n");
  // The first release is the start; the gesture point stays the middle button's.
  EXPECT_EQ(shared.start.x, 40);
  EXPECT_EQ(shared.gesture.x, 11);
  EXPECT_EQ(shared.gesture.y, 12);

  world.traces.clear();
  world.now = 9000;
  Event(WM_RBUTTONUP, 1, 1);
  world.now = 9600;
  Event(WM_RBUTTONUP, 1, 1);
  EXPECT_EQ(world.traces, L"OnMouseUp_Triple_Right\nOnMouseUp_Triple_Right\nClear\n");
}

TEST_F(RecognizerTest, EventsOfOtherModesAreIgnored) {
  // A mode written by another process may be anything.
  for (std::int32_t mode : {0, 1, 2, -1, INT_MAX}) {
    SCOPED_TRACE(mode);
    Install(kGestureMoveMiddle);
    shared.mode = mode;
    for (DWORD t : {100u, 200u, 300u}) {
      world.now = t;
      Event(WM_RBUTTONDOWN, 500, 500);
      Event(WM_RBUTTONUP, 500, 500);
    }
    Event(WM_MBUTTONDOWN, 500, 500);
    Event(WM_MOUSEMOVE, 900, 900);
    Event(WM_LBUTTONUP, 900, 900);
    Event(WM_MBUTTONUP, 900, 900);
    std::vector<std::int32_t> expected;
    if (mode == kGestureMoveMiddle || mode == kGestureTripleRight) expected.push_back(mode);
    EXPECT_EQ(world.signals, expected);
    if (expected.empty()) {
      EXPECT_EQ(world.traces, L"");
    }
    world.signals.clear();
  }
}

TEST_F(RecognizerTest, InstallClearsTheStartAndTheClickSequence) {
  Install(kGestureTripleRight);
  world.now = 100;
  Event(WM_RBUTTONUP, 5, 5);
  world.now = 200;
  Event(WM_RBUTTONUP, 5, 5);
  recognizer.Prepare(kGestureTripleRight);
  EXPECT_EQ(world.traces.substr(world.traces.size() - 6), L"Clear\n");
  EXPECT_FALSE(IsPointSet(shared.start));
  world.now = 300;
  Event(WM_RBUTTONUP, 5, 5);  // a first release again, not a third
  EXPECT_TRUE(world.signals.empty());
  EXPECT_EQ(shared.mode, kGestureTripleRight);
}

TEST(GestureEventTest, OpenedAndSetNeverCreated) {
  // Nobody waits: the gesture is dropped and no event appears.
  SignalGestureEvent(kGestureMoveMiddle);
  UniqueHandle missing(OpenEventW(SYNCHRONIZE, FALSE, kGestureEventName));
  EXPECT_FALSE(missing.IsValid());

  UniqueHandle waiter(CreateEventW(nullptr, FALSE, FALSE, kGestureEventName));
  ASSERT_TRUE(waiter.IsValid());
  for (std::int32_t mode : {kGestureMoveMiddle, kGestureTripleRight}) {
    SignalGestureEvent(mode);
    EXPECT_EQ(WaitForSingleObject(waiter.Get(), 10000), WAIT_OBJECT_0) << mode;
  }
}

}  // namespace
