// The painter's working bitmaps: 32-bit DIB sections (blue, green, red,
// alpha bytes) selected into their own memory DC, so effects touch pixel
// memory directly.
#pragma once
#include <windows.h>

#include <cstddef>

// Largest bitmap the painter makes: sizes come from markup, and a
// 40,000 x 40,000 table must fail to allocate rather than exhaust memory.
constexpr long long kMaxBitmapPixels = 1LL << 24;

// Width and height at least 1 and the area within kMaxBitmapPixels.
bool IsDrawableSize(int width, int height);
// Width and height of a rectangle; false when it is empty or its sides lie
// so far apart that the difference overflows an int.
bool RectExtent(const RECT& rect, int& width, int& height);

class WorkBitmap {
 public:
  WorkBitmap() = default;
  ~WorkBitmap();
  WorkBitmap(const WorkBitmap&) = delete;
  WorkBitmap& operator=(const WorkBitmap&) = delete;

  // Zeroed pixels; false for sizes IsDrawableSize refuses or a failed call.
  bool Create(int width, int height);
  HDC Dc() const { return m_dc; }
  HBITMAP Bitmap() const { return m_bitmap; }
  DWORD* Pixels() const { return m_pixels; }
  size_t Count() const { return static_cast<size_t>(m_width) * static_cast<size_t>(m_height); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Hands the bitmap to the caller, taken out of the DC; the object is empty.
  HBITMAP Detach();

 private:
  void Reset();

  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_pixels = nullptr;
  int m_width = 0;
  int m_height = 0;
};

// The area (x, y, width, height) of dc copied into a new working bitmap.
bool CopyToWorkBitmap(WorkBitmap& work, HDC dc, int x, int y, int width, int height);
