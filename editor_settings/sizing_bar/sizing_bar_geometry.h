// The sizing bars' arithmetic over plain rectangles and size lists: which
// edges size a bar, its client rectangle, the hit test of its edges, the
// fitting of a docking row, the limits and the effect of dragging an
// edge, and the clamp of sizes read back from the profile. No windows.
#pragma once
#include <windows.h>

#include <vector>

namespace sizing_bar {

// The side a bar is docked on (the framework's dock bar ids stand for these).
enum class Side { kTop, kBottom, kLeft, kRight, kFloating };

// Edge flags: the edges that size the bar.
constexpr UINT kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8;
constexpr int kEdgeWidth = 5;     // the band along a sizing edge
constexpr int kGripperBand = 12;  // the gripper's (or caption's) band
constexpr int kCloseButton = 11;  // the close button's side

inline bool IsHorz(Side side) { return side == Side::kTop || side == Side::kBottom; }
inline bool IsVert(Side side) { return side == Side::kLeft || side == Side::kRight; }

// A bar that is not the first of its row sizes at the row's start, one
// that is not the last at the row's end; every docked bar also sizes at
// the edge that faces the frame's centre. A floating bar has none.
UINT EdgeFlags(Side side, bool firstInRow, bool lastInRow);
// The client rectangle inside a window rectangle: 3 left, 5 top, 3 right,
// 3 bottom, and 2 more left, right and bottom unless floating.
RECT ClientRectIn(const RECT& window, bool floating);
// The gripper band taken from a docked client rectangle (from the left
// when docked horizontally, else from the top); closeButton gets the
// close button's rectangle in the same coordinates.
RECT GripperClientRect(const RECT& client, bool horzDocked, RECT* closeButton);
// HTLEFT, HTRIGHT, HTTOP or HTBOTTOM for a point on a flagged edge band
// (tried in that order), else HTCLIENT. The side bands are shortened by
// the edge width at both ends when docked horizontally, the top and
// bottom bands when docked vertically.
int HitTestEdges(const RECT& window, UINT edges, bool horzDocked, POINT point);

// One bar of a docking row, along the row.
struct RowBar {
  bool sizing = true;      // a sizing bar (others keep their size)
  int length = 0;
  int minLength = 0;
  int thickness = 0;       // across the row
  bool justResized = false;
};
// Fits a row into rowLength: bars that do not fit move to a new row (the
// answer is the index of the first of them, or -1 when all stay); the
// sizing bars get the row's largest thickness; then the difference is
// spread one pixel at a time over the sizing bars in order, skipping bars
// at their minimum when shrinking and bars just resized, until it is used
// up or a pass changes nothing. A lone sizing bar takes it all (down to
// its minimum). The marks are cleared.
int FitRow(std::vector<RowBar>& row, int rowLength);
// The row's length as the dock bar lays it out: 2 plus every length less 2.
int RowTotal(const std::vector<RowBar>& row, size_t count);

// Dragging a bar's edge along its row: growth > 0 lengthens the bar. The
// bar may shrink to its minimum and grow by what the neighbours on the
// dragged edge's side can give (each down to its minimum).
void SideTrackLimits(const std::vector<RowBar>& row, size_t index, bool edgeAtRowEnd, int* minGrowth,
                     int* maxGrowth);
// Applies a growth within those limits: the bar changes by growth; when it
// grows, the neighbours on that side give the length one after another.
// The bar is marked just resized.
void ApplySideTrack(std::vector<RowBar>& row, size_t index, bool edgeAtRowEnd, int growth);

// A size read from the profile: at least the minimum, at most maximum
// (the virtual screen).
int ClampStoredSize(int stored, int minimum, int maximum);

}  // namespace sizing_bar
