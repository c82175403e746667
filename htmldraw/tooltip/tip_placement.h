// Where a tip goes: the side of the point it lies on and the place of its
// anchor along that edge, corrected so that the tip stays on the screen.
#pragma once
#include <windows.h>

struct TipPlacement {
  int direction = 0;  // the code after the corrections
  SIZE window = {0, 0};   // the tip with its anchor band
  POINT origin = {0, 0};  // the window's top-left corner on the screen
  POINT anchor = {0, 0};  // the anchor's apex inside the window
  POINT tipOffset = {0, 0};  // the tip inside the window (below an anchor on the top or left edge)
};

// tip is the tip's size without the anchor; screen the bounds to stay in.
TipPlacement PlaceTip(POINT point, SIZE tip, int direction, int anchorHeight, int anchorDistance,
                      const RECT& screen);
