// Points, sizes and rectangles as the window wrappers take and give them.
#pragma once
#include <windows.h>

class CPoint : public POINT {
 public:
  CPoint() { x = 0; y = 0; }
  CPoint(int initX, int initY) { x = initX; y = initY; }
  CPoint(POINT p) { x = p.x; y = p.y; }
  // From the packed coordinates of a mouse message's lParam (signed).
  explicit CPoint(LPARAM packed) {
    x = static_cast<short>(LOWORD(packed));
    y = static_cast<short>(HIWORD(packed));
  }
  bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
  bool operator!=(const POINT& p) const { return !(*this == p); }
};

class CSize : public SIZE {
 public:
  CSize() { cx = 0; cy = 0; }
  CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
  CSize(SIZE s) { cx = s.cx; cy = s.cy; }
};

class CRect : public RECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};
