// Test canvases: 32-bit top-down DIB sections in memory DCs whose pixels
// the tests read back, and bitmaps built pixel by pixel.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace drawtest {

// A pixel as the DIB holds it (blue low) from a COLORREF (red low).
inline DWORD ToBgr(COLORREF c) {
  return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) |
         GetBValue(c);
}
inline COLORREF ToColorRef(DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_w(width), m_h(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row y is line y
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_pixels = static_cast<DWORD*>(bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Ok() const { return m_pixels && m_dc; }
  HDC Dc() const { return m_dc; }
  int Width() const { return m_w; }
  int Height() const { return m_h; }
  void Fill(COLORREF c) {
    GdiFlush();
    for (size_t i = 0, n = static_cast<size_t>(m_w) * m_h; i < n; ++i) m_pixels[i] = ToBgr(c);
  }
  // Raw pixel with its alpha byte.
  DWORD Raw(int x, int y) const {
    GdiFlush();
    return m_pixels[static_cast<size_t>(y) * m_w + x];
  }
  void SetRaw(int x, int y, DWORD p) {
    GdiFlush();
    m_pixels[static_cast<size_t>(y) * m_w + x] = p;
  }
  COLORREF At(int x, int y) const { return ToColorRef(Raw(x, y)); }
  // Pixels outside the rectangle that differ from background.
  int CountOutside(const RECT& r, COLORREF background) const {
    GdiFlush();
    const DWORD expected = ToBgr(background);
    int count = 0;
    for (int y = 0; y < m_h; ++y) {
      const DWORD* row = m_pixels + static_cast<size_t>(y) * m_w;
      bool rowInside = y >= r.top && y < r.bottom;
      for (int x = 0; x < m_w; ++x)
        if ((row[x] & 0xFFFFFF) != expected && !(rowInside && x >= r.left && x < r.right))
          ++count;
    }
    return count;
  }

 private:
  int m_w, m_h;
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_pixels = nullptr;
};

// A 32-bit bottom-up DIB section (not selected anywhere) whose pixel
// (x, y), y from the top, is raw(x, y) (blue low, alpha high).
inline HBITMAP MakeBitmap(int width, int height, const std::function<DWORD(int, int)>& raw) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* px = static_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) px[static_cast<size_t>(height - 1 - y) * width + x] = raw(x, y);
  return bitmap;
}

inline HBITMAP MakeSolidBitmap(int width, int height, COLORREF c) {
  return MakeBitmap(width, height, [c](int, int) { return ToBgr(c); });
}

// Pixel (x, y), y from the top, of any bitmap through GetDIBits.
inline DWORD ReadRaw(HBITMAP bitmap, int x, int y) {
  BITMAP bm = {};
  GetObjectW(bitmap, sizeof(bm), &bm);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> px(static_cast<size_t>(bm.bmWidth) * bm.bmHeight, 0);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, bm.bmHeight, px.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return px[static_cast<size_t>(y) * bm.bmWidth + x];
}

}  // namespace drawtest
