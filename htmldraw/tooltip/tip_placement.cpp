#include "htmldraw/tooltip/tip_placement.h"

#include <algorithm>

#include "htmldraw/tooltip/pp_tooltip.h"

namespace {

// The anchor's place along the edge, corrected towards the side where the
// window fits: near (0), far (1) or centred (2).
int CorrectAlong(int along, long long point, long long length, long long distance, long long nearEdge,
                 long long farEdge) {
  switch (along) {
    case kPPAnchorNear:
      if (point - distance + length > farEdge)
        return point + distance - length >= nearEdge ? kPPAnchorFar : kPPAnchorCentre;
      return along;
    case kPPAnchorFar:
      if (point + distance - length < nearEdge)
        return point - distance + length <= farEdge ? kPPAnchorNear : kPPAnchorCentre;
      return along;
    default:
      if (point - nearEdge < distance) return kPPAnchorNear;
      if (farEdge - point < distance) return kPPAnchorFar;
      return kPPAnchorCentre;
  }
}

}  // namespace

TipPlacement PlaceTip(POINT point, SIZE tip, int direction, int anchorHeight, int anchorDistance,
                      const RECT& screen) {
  TipPlacement out;
  int side = direction & 0x30;
  int along = direction & 3;
  if (along > kPPAnchorCentre) along = kPPAnchorCentre;
  anchorHeight = std::max(anchorHeight, 0);
  anchorDistance = std::max(anchorDistance, 0);
  const bool vertical = side == kPPBelow || side == kPPAbove;
  const long long width = tip.cx + (vertical ? 0 : anchorHeight);
  const long long height = tip.cy + (vertical ? anchorHeight : 0);

  // Across the edge: to the other side when this one runs off the screen.
  if (side == kPPBelow && point.y + height > screen.bottom) side = kPPAbove;
  else if (side == kPPAbove && point.y - height < screen.top) side = kPPBelow;
  else if (side == kPPRight && point.x + width > screen.right) side = kPPLeft;
  else if (side == kPPLeft && point.x - width < screen.left) side = kPPRight;

  const long long length = vertical ? width : height;
  const long long nearEdge = vertical ? screen.left : screen.top;
  const long long farEdge = vertical ? screen.right : screen.bottom;
  const long long at = vertical ? point.x : point.y;
  along = CorrectAlong(along, at, length, anchorDistance, nearEdge, farEdge);
  long long offset = along == kPPAnchorNear ? anchorDistance
                     : along == kPPAnchorFar ? length - anchorDistance
                                             : length / 2;
  // The window is shifted along the edge to stay on the screen; the anchor
  // keeps pointing at the point.
  long long start = at - offset;
  start = std::min(start, farEdge - length);
  start = std::max(start, nearEdge);
  offset = std::clamp(at - start, 0LL, length);
  start = at - offset;

  out.direction = side | along;
  out.window = {static_cast<LONG>(width), static_cast<LONG>(height)};
  if (vertical) {
    out.anchor.x = static_cast<LONG>(offset);
    out.anchor.y = side == kPPBelow ? 0 : static_cast<LONG>(height);
    out.origin = {static_cast<LONG>(start), static_cast<LONG>(point.y - out.anchor.y)};
    if (side == kPPBelow) out.tipOffset.y = anchorHeight;
  } else {
    out.anchor.y = static_cast<LONG>(offset);
    out.anchor.x = side == kPPRight ? 0 : static_cast<LONG>(width);
    out.origin = {static_cast<LONG>(point.x - out.anchor.x), static_cast<LONG>(start)};
    if (side == kPPRight) out.tipOffset.x = anchorHeight;
  }
  return out;
}
