// The layout of a frame's client area: each control bar among the frame's
// children answers WM_SIZEPARENT by taking its edge of the rectangle that
// is left, in z-order; the pane window gets what remains.
#pragma once
#include <windows.h>

constexpr UINT WM_SIZEPARENT = 0x0361;

struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;       // deferred moves, or null to move at once
  RECT rect;       // what is still free; bars shrink it
  SIZE sizeTotal;  // the bars' total extent
  BOOL bStretch;   // bars span the whole width or height
};

enum AfxRepositionFlag : UINT {
  reposDefault = 0,
  reposQuery = 1,  // only compute: the free rectangle goes to lpRectParam
  reposExtra = 2,  // lpRectParam holds borders kept free around the pane
};

// Lays out the children of hWndParent whose ids lie in nIDFirst..nIDLast;
// nIDLeftOver takes the rest.
void AfxRepositionBars(HWND hWndParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag,
                       LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch);

// Moves a child as part of a layout pass.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* pLayout, HWND hWnd, LPCRECT lpRect);
