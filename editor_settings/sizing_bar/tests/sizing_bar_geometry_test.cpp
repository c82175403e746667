#include <gtest/gtest.h>

#include <vector>

#include "editor_settings/sizing_bar/sizing_bar_geometry.h"

namespace sizing_bar {
namespace {

TEST(SizingBarGeometryTest, EdgeFlagsFollowRowPositionAndSide) {
  struct Case {
    Side side;
    bool first, last;
    UINT flags;
  } cases[] = {
      {Side::kTop, true, true, kEdgeBottom},
      {Side::kTop, true, false, kEdgeBottom | kEdgeRight},
      {Side::kTop, false, false, kEdgeBottom | kEdgeLeft | kEdgeRight},
      {Side::kTop, false, true, kEdgeBottom | kEdgeLeft},
      {Side::kBottom, true, false, kEdgeTop | kEdgeRight},
      {Side::kBottom, false, true, kEdgeTop | kEdgeLeft},
      {Side::kLeft, true, true, kEdgeRight},
      {Side::kLeft, true, false, kEdgeRight | kEdgeBottom},
      {Side::kLeft, false, false, kEdgeRight | kEdgeTop | kEdgeBottom},
      {Side::kLeft, false, true, kEdgeRight | kEdgeTop},
      {Side::kRight, true, false, kEdgeLeft | kEdgeBottom},
      {Side::kRight, false, true, kEdgeLeft | kEdgeTop},
      {Side::kFloating, false, false, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EdgeFlags(c.side, c.first, c.last), c.flags) << static_cast<int>(c.side) << c.first << c.last;
}

TEST(SizingBarGeometryTest, ClientRectanglesAndTheGripperBand) {
  const RECT window = {0, 0, 100, 80};
  RECT docked = ClientRectIn(window, false), floating = ClientRectIn(window, true);
  EXPECT_EQ(docked.left, 5);
  EXPECT_EQ(docked.top, 5);
  EXPECT_EQ(docked.right, 95);
  EXPECT_EQ(docked.bottom, 75);
  EXPECT_EQ(floating.left, 3);
  EXPECT_EQ(floating.top, 5);
  EXPECT_EQ(floating.right, 97);
  EXPECT_EQ(floating.bottom, 77);
  // Docked horizontally the band runs down the left side, the button at its top.
  RECT button;
  RECT horz = GripperClientRect(docked, true, &button);
  EXPECT_EQ(horz.left, 17);
  EXPECT_EQ(horz.top, 5);
  EXPECT_EQ(button.left, 4);
  EXPECT_EQ(button.top, 5);
  EXPECT_EQ(button.right - button.left, kCloseButton);
  // Docked vertically it runs along the top, the button at its right end.
  RECT vert = GripperClientRect(docked, false, &button);
  EXPECT_EQ(vert.top, 17);
  EXPECT_EQ(vert.left, 5);
  EXPECT_EQ(button.left, 83);
  EXPECT_EQ(button.top, 4);
  EXPECT_EQ(button.bottom - button.top, kCloseButton);
  // A window too small for its borders gives an empty client, never a negative one.
  RECT tiny = ClientRectIn({0, 0, 4, 4}, false);
  EXPECT_GE(tiny.right, tiny.left);
  EXPECT_GE(tiny.bottom, tiny.top);
}

TEST(SizingBarGeometryTest, HitTestTriesFlaggedEdgesWithShortenedBands) {
  const RECT w = {100, 100, 300, 400};
  struct Case {
    UINT edges;
    bool horz;
    POINT pt;
    int code;
  } cases[] = {
      {kEdgeRight, false, {298, 250}, HTRIGHT},
      {kEdgeRight, false, {298, 101}, HTRIGHT},  // side bands run full length docked vertically
      {kEdgeBottom, false, {102, 398}, HTCLIENT},  // ... while the bottom band is shortened
      {kEdgeBottom, false, {150, 398}, HTBOTTOM},
      {kEdgeLeft, true, {101, 102}, HTCLIENT},  // docked horizontally the side bands are shortened
      {kEdgeLeft, true, {101, 200}, HTLEFT},
      {kEdgeTop, true, {101, 101}, HTTOP},
      {kEdgeLeft | kEdgeTop, false, {101, 101}, HTLEFT},  // left is tried first
      {kEdgeLeft, false, {298, 250}, HTCLIENT},  // an edge without its flag
      {kEdgeLeft | kEdgeRight | kEdgeTop | kEdgeBottom, false, {200, 250}, HTCLIENT},
      {kEdgeRight, false, {305, 250}, HTCLIENT},  // outside the window
  };
  for (const Case& c : cases)
    EXPECT_EQ(HitTestEdges(w, c.edges, c.horz, c.pt), c.code) << c.pt.x << "," << c.pt.y << " " << c.edges;
}

std::vector<RowBar> Row(std::initializer_list<int> lengths, int minLength = 33) {
  std::vector<RowBar> row;
  for (int len : lengths) {
    RowBar bar;
    bar.length = len;
    bar.minLength = minLength;
    bar.thickness = 100;
    row.push_back(bar);
  }
  return row;
}

TEST(SizingBarGeometryTest, FitRowSpreadsSplitsAndAlwaysEnds) {
  // A row that fits takes the difference one pixel at a time, in turn.
  auto row = Row({100, 100});
  row[1].thickness = 140;
  EXPECT_EQ(FitRow(row, RowTotal(row, 2) + 11), -1);
  EXPECT_EQ(row[0].length, 106);
  EXPECT_EQ(row[1].length, 105);
  EXPECT_EQ(row[0].thickness, 140);  // the row's largest thickness
  EXPECT_EQ(RowTotal(row, 2), 2 + 104 + 103);

  // A row that cannot hold its bars even at their minimum splits.
  row = Row({100, 100, 100}, 80);
  EXPECT_EQ(FitRow(row, 150), 1);
  EXPECT_EQ(row[0].length, 150);  // alone in what is left of the row

  // A single sizing bar takes the whole difference, a fixed bar none.
  row = Row({100, 60});
  row[1].sizing = false;
  row[1].minLength = 60;
  EXPECT_EQ(FitRow(row, 400), -1);
  EXPECT_EQ(row[0].length, 400 - 58);
  EXPECT_EQ(row[1].length, 60);
  // ... and never less than its minimum.
  row = Row({100});
  FitRow(row, 10);
  EXPECT_EQ(row[0].length, 33);

  // Shrinking skips bars at their minimum and the bar just resized.
  row = Row({40, 200, 100});
  row[1].justResized = true;
  FitRow(row, RowTotal(row, 3) - 50);
  EXPECT_EQ(row[0].length, 33);
  EXPECT_EQ(row[1].length, 200);
  EXPECT_EQ(row[2].length, 57);
  EXPECT_FALSE(row[1].justResized);  // the marks are cleared

  // Nobody can take the difference: the fitting stops all the same.
  row = Row({33, 33});
  row[0].justResized = row[1].justResized = true;
  FitRow(row, 500);
  EXPECT_EQ(row[0].length, 33);
  EXPECT_EQ(row[1].length, 33);
  row = Row({33, 33, 33});
  FitRow(row, RowTotal(row, 3) - 1);
  EXPECT_EQ(row[2].length, 33);
}

TEST(SizingBarGeometryTest, GrowingAlongTheRowShrinksNeighboursInTurnThenStops) {
  auto row = Row({100, 100, 100});
  int lo = 0, hi = 0;
  SideTrackLimits(row, 0, true, &lo, &hi);
  EXPECT_EQ(lo, -67);
  EXPECT_EQ(hi, 134);
  ApplySideTrack(row, 0, true, 100);
  EXPECT_EQ(row[0].length, 200);
  EXPECT_EQ(row[1].length, 33);  // the next neighbour gives first, down to its minimum
  EXPECT_EQ(row[2].length, 67);
  EXPECT_TRUE(row[0].justResized);
  ApplySideTrack(row, 0, true, 1000);  // past the limit: the bar stops growing
  EXPECT_EQ(row[0].length, 234);
  EXPECT_EQ(row[1].length, 33);
  EXPECT_EQ(row[2].length, 33);

  // Growing at the row's start takes from the bars before it.
  row = Row({100, 100, 100});
  ApplySideTrack(row, 2, false, 50);
  EXPECT_EQ(row[2].length, 150);
  EXPECT_EQ(row[1].length, 50);
  EXPECT_EQ(row[0].length, 100);
  // Shrinking stops at the bar's own minimum and gives nothing away.
  row = Row({100, 100});
  ApplySideTrack(row, 0, true, -500);
  EXPECT_EQ(row[0].length, 33);
  EXPECT_EQ(row[1].length, 100);
  // The last bar has no neighbour to grow into at the row's end.
  SideTrackLimits(row, 1, true, &lo, &hi);
  EXPECT_EQ(hi, 0);
}

TEST(SizingBarGeometryTest, StoredSizesAreClampedToMinimumAndScreen) {
  EXPECT_EQ(ClampStoredSize(10, 33, 1920), 33);
  EXPECT_EQ(ClampStoredSize(0, 33, 1920), 33);
  EXPECT_EQ(ClampStoredSize(-7, 33, 1920), 33);
  EXPECT_EQ(ClampStoredSize(100000, 33, 1920), 1920);
  EXPECT_EQ(ClampStoredSize(250, 33, 1920), 250);
  EXPECT_EQ(ClampStoredSize(250, 33, 10), 33);  // a screen smaller than the minimum
}

}  // namespace
}  // namespace sizing_bar
