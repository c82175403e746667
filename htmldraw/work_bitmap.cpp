#include "htmldraw/work_bitmap.h"

#include <climits>

bool IsDrawableSize(int width, int height) {
  return width > 0 && height > 0 &&
         static_cast<long long>(width) * static_cast<long long>(height) <= kMaxBitmapPixels;
}

bool RectExtent(const RECT& rect, int& width, int& height) {
  long long w = static_cast<long long>(rect.right) - rect.left;
  long long h = static_cast<long long>(rect.bottom) - rect.top;
  if (w <= 0 || h <= 0 || w > INT_MAX || h > INT_MAX) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

WorkBitmap::~WorkBitmap() { Reset(); }

void WorkBitmap::Reset() {
  if (m_dc) {
    if (m_old) SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  if (m_bitmap) DeleteObject(m_bitmap);
  m_dc = nullptr;
  m_bitmap = nullptr;
  m_old = nullptr;
  m_pixels = nullptr;
  m_width = m_height = 0;
}

bool WorkBitmap::Create(int width, int height) {
  Reset();
  if (!IsDrawableSize(width, height)) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_dc = CreateCompatibleDC(nullptr);
  if (!m_bitmap || !bits || !m_dc) {
    Reset();
    return false;
  }
  m_old = SelectObject(m_dc, m_bitmap);
  m_pixels = static_cast<DWORD*>(bits);
  m_width = width;
  m_height = height;
  return true;
}

HBITMAP WorkBitmap::Detach() {
  GdiFlush();
  if (m_dc) {
    if (m_old) SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  HBITMAP bitmap = m_bitmap;
  m_dc = nullptr;
  m_old = nullptr;
  m_bitmap = nullptr;
  Reset();
  return bitmap;
}

bool CopyToWorkBitmap(WorkBitmap& work, HDC dc, int x, int y, int width, int height) {
  if (!dc || !work.Create(width, height)) return false;
  bool ok = BitBlt(work.Dc(), 0, 0, width, height, dc, x, y, SRCCOPY) != FALSE;
  GdiFlush();  // the blit must land before the pixels are read
  return ok;
}
