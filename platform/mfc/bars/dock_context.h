// CDockContext: moving a control bar between the sides of its frame and a
// floating mini frame. StartDrag follows the mouse from a press in a
// docked bar until the release: let go over a side the bar may dock on,
// it docks there; anywhere else it floats at the dragged place. Escape,
// a right press or a lost capture cancel. ToggleDocking docks a floating
// bar again (on its last side) or floats a docked one. StartResize sizes
// a floating bar's mini frame from one of its borders (a hit-test code):
// during that the bar is asked CalcDynamicLayout(length, mode) with
// LM_COMMIT and may read m_nHitTest, m_ptLast and m_rectFrameDragHorz.
#pragma once
#include <windows.h>

#include "platform/mfc/core/geometry.h"

class CControlBar;
class CFrameWnd;

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext() = default;
  CDockContext(const CDockContext&) = delete;
  CDockContext& operator=(const CDockContext&) = delete;

  virtual void StartDrag(CPoint pt);
  virtual void ToggleDocking();
  virtual void StartResize(int nHitTest, CPoint pt);
  // Ends a running loop at once (the bar's window is going).
  void CancelLoop() { m_bCancel = true; }

  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  UINT m_uMRUDockID = 0;      // the side it last docked on
  CRect m_rectMRUDockPos;      // its screen rectangle there
  CPoint m_ptMRUFloatPos;      // where its mini frame last stood
  bool m_bHaveFloatPos = false;
  BOOL m_bDragging = FALSE;
  BOOL m_bResizing = FALSE;
  int m_nHitTest = HTNOWHERE;  // the border being dragged while resizing
  CPoint m_ptLast;             // the cursor's last screen point in a loop
  CRect m_rectFrameDragHorz;   // the mini frame's window rectangle when the resize began
  CRect m_rectDragHorz;        // the outline being dragged (screen)

 protected:
  // The side under a screen point that the bar may dock on, or 0.
  UINT DockSideAt(CPoint pt) const;
  // Runs the capture loop; onMove gets every new screen point. Answers
  // whether the button was released (not cancelled).
  template <typename OnMove>
  bool TrackLoop(HWND hWndCapture, CPoint start, OnMove onMove);
  void DrawOutline(const CRect& rect);
  bool m_bCancel = false;
};
