// A device-independent bitmap held in memory: header, colour table and
// pixel bits in one allocation, drawn through a DIB section made on first
// use. The textured fills write palette indices into an 8-bit one.
#pragma once
#include <windows.h>

#include <vector>

class CDibBitmap {
 public:
  CDibBitmap() = default;
  ~CDibBitmap();
  CDibBitmap(const CDibBitmap&) = delete;
  CDibBitmap& operator=(const CDibBitmap&) = delete;

  // Bits per pixel 1, 4, 8, 16, 24 or 32; false (and the bitmap empty) for
  // other depths, sizes below 1 or a bitmap too large to hold.
  bool Create(int width, int height, int bitsPerPixel);
  BYTE* GetBits();
  int GetStride() const { return m_stride; }
  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  int GetBitCount() const { return m_bitCount; }
  int GetPaletteCount() const { return m_paletteCount; }
  const BITMAPINFO* GetInfo() const;

  // Every byte of the pixel bits.
  void Fill(BYTE value);
  // Row y counts from the top; rows are stored bottom-up. Outside the
  // bitmap, or at depths above 8 bits, nothing happens.
  void SetPixelIndex(int x, int y, BYTE index);
  // The bytes of row y (from the top), or null outside the bitmap.
  BYTE* GetRow(int y);
  void SetPaletteEntry(int index, BYTE r, BYTE g, BYTE b);
  // Moves every palette entry towards colour by percent (at most 100).
  void TintPalette(COLORREF colour, int percent);
  // Copies the bits (and palette) into the DIB section and that to (x, y).
  bool Draw(HDC dc, int x, int y);

  // Stride of a row of the given depth and width, padded to 32 bits.
  static int StrideOf(int bitsPerPixel, int width);
  // Colour table entries of a depth: 2, 16, 256 or 0.
  static int PaletteCountOf(int bitsPerPixel);

 private:
  void Reset();
  RGBQUAD* Palette();
  BITMAPINFO* Info();

  std::vector<BYTE> m_data;  // header, palette, bits
  int m_width = 0;
  int m_height = 0;
  int m_bitCount = 0;
  int m_stride = 0;
  int m_paletteCount = 0;
  HBITMAP m_section = nullptr;
  HDC m_sectionDc = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  void* m_sectionBits = nullptr;
};
