// Placement of a tip around its point: the side and the anchor's place
// corrected at the screen's edges, the window kept on the screen.
#include <gtest/gtest.h>

#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tip_placement.h"

namespace {

const RECT kScreen = {0, 0, 1000, 800};
const SIZE kTip = {200, 60};
constexpr int kAnchor = 16, kDistance = 16;

TEST(PlacementTest, SidesAndAnchorsAreCorrectedAtTheEdges) {
  struct Case {
    const char* what;
    POINT point;
    int direction;
    int expected;
  } cases[] = {
      {"room below", {500, 300}, kPPBelow, kPPBelow},
      {"bottom edge sends it above", {500, 780}, kPPBelow | kPPAnchorFar, kPPAbove | kPPAnchorFar},
      {"top edge sends it below", {500, 20}, kPPAbove, kPPBelow},
      {"right edge sends it left", {950, 300}, kPPRight, kPPLeft | kPPAnchorNear},
      {"left edge sends it right", {30, 300}, kPPLeft | kPPAnchorCentre, kPPRight | kPPAnchorCentre},
      {"near anchor at the right edge goes far", {900, 300}, kPPAbove, kPPAbove | kPPAnchorFar},
      {"far anchor at the left edge goes near", {60, 300}, kPPAbove | kPPAnchorFar, kPPAbove | kPPAnchorNear},
      {"centred near the left edge goes near", {10, 300}, kPPAbove | kPPAnchorCentre, kPPAbove | kPPAnchorNear},
      {"centred near the right edge goes far", {995, 300}, kPPAbove | kPPAnchorCentre, kPPAbove | kPPAnchorFar},
      {"centred in the middle stays", {500, 300}, kPPBelow | kPPAnchorCentre, kPPBelow | kPPAnchorCentre},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TipPlacement p = PlaceTip(c.point, kTip, c.direction, kAnchor, kDistance, kScreen);
    EXPECT_EQ(p.direction, c.expected);
  }
  // A tip wider than the room on the far side and on the near side.
  RECT narrow = {0, 0, 300, 800};
  TipPlacement wide = PlaceTip(POINT{150, 300}, SIZE{280, 60}, kPPAbove, kAnchor, kDistance, narrow);
  EXPECT_EQ(wide.direction, kPPAbove | kPPAnchorCentre);
}

TEST(PlacementTest, TheAnchorPointsAtThePointAndTheWindowStaysOnTheScreen) {
  const POINT points[] = {{500, 300}, {3, 3}, {997, 797}, {0, 400}, {1000, 400}, {500, 0}};
  for (int direction : {0, 1, 2, 16, 17, 18, 32, 33, 34, 48, 49, 50}) {
    for (POINT point : points) {
      SCOPED_TRACE(testing::Message() << direction << " at " << point.x << "," << point.y);
      TipPlacement p = PlaceTip(point, kTip, direction, kAnchor, kDistance, kScreen);
      EXPECT_EQ(p.origin.x + p.anchor.x, point.x);
      EXPECT_EQ(p.origin.y + p.anchor.y, point.y);
      EXPECT_GE(p.origin.x, kScreen.left);
      EXPECT_LE(p.origin.x + p.window.cx, kScreen.right);
      EXPECT_GE(p.origin.y, kScreen.top);
      EXPECT_LE(p.origin.y + p.window.cy, kScreen.bottom);
      const int side = p.direction & 0x30;
      const bool vertical = side == kPPBelow || side == kPPAbove;
      EXPECT_EQ(p.window.cx, kTip.cx + (vertical ? 0 : kAnchor));
      EXPECT_EQ(p.window.cy, kTip.cy + (vertical ? kAnchor : 0));
      // The anchor band lies between the point and the tip.
      EXPECT_EQ(p.tipOffset.y, side == kPPBelow ? kAnchor : 0);
      EXPECT_EQ(p.tipOffset.x, side == kPPRight ? kAnchor : 0);
    }
  }
  // Near anchors sit the anchor distance from the near end, far ones from
  // the far end, centred ones in the middle.
  EXPECT_EQ(PlaceTip(POINT{500, 300}, kTip, kPPAbove, kAnchor, kDistance, kScreen).anchor.x, kDistance);
  EXPECT_EQ(PlaceTip(POINT{500, 300}, kTip, kPPAbove | kPPAnchorFar, kAnchor, kDistance, kScreen).anchor.x,
            kTip.cx - kDistance);
  EXPECT_EQ(PlaceTip(POINT{500, 300}, kTip, kPPAbove | kPPAnchorCentre, kAnchor, kDistance, kScreen).anchor.x,
            kTip.cx / 2);
  EXPECT_EQ(PlaceTip(POINT{500, 300}, kTip, kPPAbove, kAnchor, kDistance, kScreen).anchor.y, kTip.cy + kAnchor);
}

}  // namespace
