#include "editor_settings/sizing_bar/sizing_bar_geometry.h"

#include <algorithm>

namespace sizing_bar {

UINT EdgeFlags(Side side, bool firstInRow, bool lastInRow) {
  if (side == Side::kFloating) return 0;
  UINT flags = 0;
  const bool horz = IsHorz(side);
  if (!firstInRow) flags |= horz ? kEdgeLeft : kEdgeTop;
  if (!lastInRow) flags |= horz ? kEdgeRight : kEdgeBottom;
  switch (side) {
    case Side::kTop: flags |= kEdgeBottom; break;
    case Side::kLeft: flags |= kEdgeRight; break;
    case Side::kRight: flags |= kEdgeLeft; break;
    case Side::kBottom: flags |= kEdgeTop; break;
    default: break;
  }
  return flags;
}

RECT ClientRectIn(const RECT& window, bool floating) {
  RECT r = {window.left + 3, window.top + 5, window.right - 3, window.bottom - 3};
  if (!floating) {
    r.left += 2;
    r.right -= 2;
    r.bottom -= 2;
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT GripperClientRect(const RECT& client, bool horzDocked, RECT* closeButton) {
  RECT r = client;
  RECT button;
  if (horzDocked) {
    r.left = std::min(r.left + kGripperBand, r.right);
    button = {r.left - 13, r.top, r.left - 13 + kCloseButton, r.top + kCloseButton};
  } else {
    r.top = std::min(r.top + kGripperBand, r.bottom);
    button = {r.right - 12, r.top - 13, r.right - 12 + kCloseButton, r.top - 13 + kCloseButton};
  }
  if (closeButton) *closeButton = button;
  return r;
}

int HitTestEdges(const RECT& window, UINT edges, bool horzDocked, POINT point) {
  const int sideInset = horzDocked ? kEdgeWidth : 0;   // the left and right bands
  const int endInset = horzDocked ? 0 : kEdgeWidth;    // the top and bottom bands
  struct Band {
    UINT flag;
    RECT rect;
    int code;
  } bands[] = {
      {kEdgeLeft, {window.left, window.top + sideInset, window.left + kEdgeWidth, window.bottom - sideInset}, HTLEFT},
      {kEdgeRight, {window.right - kEdgeWidth, window.top + sideInset, window.right, window.bottom - sideInset}, HTRIGHT},
      {kEdgeTop, {window.left + endInset, window.top, window.right - endInset, window.top + kEdgeWidth}, HTTOP},
      {kEdgeBottom, {window.left + endInset, window.bottom - kEdgeWidth, window.right - endInset, window.bottom}, HTBOTTOM},
  };
  for (const Band& band : bands)
    if ((edges & band.flag) && ::PtInRect(&band.rect, point)) return band.code;
  return HTCLIENT;
}

int RowTotal(const std::vector<RowBar>& row, size_t count) {
  int total = 2;
  for (size_t i = 0; i < count && i < row.size(); ++i) total += row[i].length - 2;
  return total;
}

int FitRow(std::vector<RowBar>& row, int rowLength) {
  int split = -1;
  size_t count = row.size();
  // 1. What does not fit even at its minimum goes to a row of its own.
  int sum = 2;
  for (size_t i = 0; i < row.size(); ++i) {
    sum += (row[i].sizing ? row[i].minLength : row[i].length) - 2;
    if (sum <= rowLength) continue;
    if (i == 0) {
      if (row[0].sizing) row[0].length = row[0].minLength;
      count = 1;
      split = row.size() > 1 ? 1 : -1;
    } else {
      count = i;
      split = static_cast<int>(i);
    }
    break;
  }
  // 2. One thickness for the row's sizing bars.
  int thickness = 0;
  for (size_t i = 0; i < count; ++i)
    if (row[i].sizing) thickness = std::max(thickness, row[i].thickness);
  std::vector<size_t> sizing;
  for (size_t i = 0; i < count; ++i) {
    if (!row[i].sizing) continue;
    row[i].thickness = thickness;
    sizing.push_back(i);
  }
  // 3. Spread the difference.
  int diff = rowLength - RowTotal(row, count);
  if (sizing.size() == 1) {
    RowBar& bar = row[sizing[0]];
    bar.length = std::max(bar.length + diff, bar.minLength);
  } else {
    while (diff != 0) {
      bool changed = false;
      for (size_t i : sizing) {
        if (diff == 0) break;
        RowBar& bar = row[i];
        if (bar.justResized) continue;
        if (diff < 0) {
          if (bar.length <= bar.minLength) continue;
          --bar.length;
          ++diff;
        } else {
          ++bar.length;
          --diff;
        }
        changed = true;
      }
      if (!changed) break;
    }
  }
  for (RowBar& bar : row) bar.justResized = false;
  return split;
}

namespace {

// The neighbours that give length when the bar grows at that edge.
template <typename Row, typename Fn>
void ForNeighbours(Row& row, size_t index, bool edgeAtRowEnd, Fn fn) {
  if (edgeAtRowEnd) {
    for (size_t i = index + 1; i < row.size(); ++i)
      if (!fn(row[i])) return;
  } else {
    for (size_t i = index; i-- > 0;)
      if (!fn(row[i])) return;
  }
}

}  // namespace

void SideTrackLimits(const std::vector<RowBar>& row, size_t index, bool edgeAtRowEnd, int* minGrowth,
                     int* maxGrowth) {
  int give = 0;
  if (index < row.size()) {
    ForNeighbours(row, index, edgeAtRowEnd, [&](const RowBar& bar) {
      if (bar.sizing) give += std::max(bar.length - bar.minLength, 0);
      return true;
    });
  }
  if (minGrowth) *minGrowth = index < row.size() ? -std::max(row[index].length - row[index].minLength, 0) : 0;
  if (maxGrowth) *maxGrowth = give;
}

void ApplySideTrack(std::vector<RowBar>& row, size_t index, bool edgeAtRowEnd, int growth) {
  if (index >= row.size()) return;
  int lo = 0, hi = 0;
  SideTrackLimits(row, index, edgeAtRowEnd, &lo, &hi);
  growth = std::clamp(growth, lo, hi);
  row[index].length += growth;
  row[index].justResized = true;
  int needed = growth;
  ForNeighbours(row, index, edgeAtRowEnd, [&](RowBar& bar) {
    if (needed <= 0) return false;
    if (!bar.sizing) return true;
    int take = std::min(needed, std::max(bar.length - bar.minLength, 0));
    bar.length -= take;
    needed -= take;
    return true;
  });
}

int ClampStoredSize(int stored, int minimum, int maximum) {
  if (maximum < minimum) maximum = minimum;
  return std::clamp(stored, minimum, maximum);
}

}  // namespace sizing_bar
