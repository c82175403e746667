// Lets a window without a sizing border be resized at its edges. Mode 1
// reports the edges as sizing borders in WM_NCHITTEST; mode 0 gives the
// window a real sizing border only while the cursor is on an edge.
#pragma once
#include <windows.h>

class CNoBorderResizer {
 public:
  // The owner's window-handle member is read at each use, so the resizer
  // follows the owner's current window.
  explicit CNoBorderResizer(HWND* ownerWindow) : m_owner(ownerWindow) {}
  virtual ~CNoBorderResizer();
  CNoBorderResizer(const CNoBorderResizer&) = delete;
  CNoBorderResizer& operator=(const CNoBorderResizer&) = delete;

  bool Attach(int mode);
  bool Detach();

 private:
  static LRESULT CALLBACK EdgeProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FrameOnDemandProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static CNoBorderResizer* FromWindow(HWND hWnd);

  DWORD m_savedStyle = 0;
  WNDPROC m_oldProc = nullptr;
  HWND* m_owner;
};

// Hit-test of a point on the edges of a window rectangle: HTCLIENT inside
// the rectangle shrunk by the frame or outside it, else the edge or corner.
LRESULT EdgeHitTest(const RECT& window, POINT pt, int frameX, int frameY);
// Smallest distance from the point to one of the rectangle's four edges.
int DistanceToNearestEdge(const RECT& window, POINT pt);
