#include "htmldraw/dib_bitmap.h"

#include <cstring>

#include "htmldraw/work_bitmap.h"

int CDibBitmap::StrideOf(int bitsPerPixel, int width) {
  return ((bitsPerPixel * width + 31) >> 5) << 2;
}

int CDibBitmap::PaletteCountOf(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

CDibBitmap::~CDibBitmap() { Reset(); }

void CDibBitmap::Reset() {
  if (m_sectionDc) {
    if (m_oldBitmap) SelectObject(m_sectionDc, m_oldBitmap);
    DeleteDC(m_sectionDc);
  }
  if (m_section) DeleteObject(m_section);
  m_sectionDc = nullptr;
  m_oldBitmap = nullptr;
  m_section = nullptr;
  m_sectionBits = nullptr;
  m_data.clear();
  m_width = m_height = m_bitCount = m_stride = m_paletteCount = 0;
}

bool CDibBitmap::Create(int width, int height, int bitsPerPixel) {
  Reset();
  switch (bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  if (!IsDrawableSize(width, height)) return false;
  int stride = StrideOf(bitsPerPixel, width);
  int palette = PaletteCountOf(bitsPerPixel);
  size_t bitsSize = static_cast<size_t>(stride) * static_cast<size_t>(height);
  size_t headerSize = sizeof(BITMAPINFOHEADER) + palette * sizeof(RGBQUAD);
  m_data.assign(headerSize + bitsSize, 0);
  BITMAPINFOHEADER& h = Info()->bmiHeader;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;  // positive: bottom-up rows
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bitsPerPixel);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(bitsSize);
  h.biClrUsed = palette;
  m_width = width;
  m_height = height;
  m_bitCount = bitsPerPixel;
  m_stride = stride;
  m_paletteCount = palette;
  return true;
}

BITMAPINFO* CDibBitmap::Info() { return reinterpret_cast<BITMAPINFO*>(m_data.data()); }

const BITMAPINFO* CDibBitmap::GetInfo() const {
  return m_data.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(m_data.data());
}

RGBQUAD* CDibBitmap::Palette() { return Info()->bmiColors; }

BYTE* CDibBitmap::GetBits() {
  if (m_data.empty()) return nullptr;
  return m_data.data() + sizeof(BITMAPINFOHEADER) + m_paletteCount * sizeof(RGBQUAD);
}

void CDibBitmap::Fill(BYTE value) {
  if (BYTE* bits = GetBits()) memset(bits, value, static_cast<size_t>(m_stride) * m_height);
}

BYTE* CDibBitmap::GetRow(int y) {
  if (m_data.empty() || y < 0 || y >= m_height) return nullptr;
  return GetBits() + static_cast<size_t>(m_height - 1 - y) * m_stride;
}

void CDibBitmap::SetPixelIndex(int x, int y, BYTE index) {
  if (x < 0 || x >= m_width || m_bitCount > 8) return;
  BYTE* row = GetRow(y);
  if (!row) return;
  switch (m_bitCount) {
    case 8:
      row[x] = index;
      break;
    case 4: {
      BYTE& b = row[x / 2];
      b = (x & 1) ? static_cast<BYTE>((b & 0xF0) | (index & 0x0F))
                  : static_cast<BYTE>((b & 0x0F) | (index << 4));
      break;
    }
    case 1: {
      BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
      BYTE& b = row[x / 8];
      b = (index & 1) ? static_cast<BYTE>(b | bit) : static_cast<BYTE>(b & ~bit);
      break;
    }
  }
}

void CDibBitmap::SetPaletteEntry(int index, BYTE r, BYTE g, BYTE b) {
  if (index < 0 || index >= m_paletteCount) return;
  Palette()[index] = {b, g, r, 0};
}

void CDibBitmap::TintPalette(COLORREF colour, int percent) {
  if (percent > 100) percent = 100;
  if (percent < 0) percent = 0;
  int cr = GetRValue(colour), cg = GetGValue(colour), cb = GetBValue(colour);
  RGBQUAD* palette = m_paletteCount ? Palette() : nullptr;
  for (int i = 0; i < m_paletteCount; ++i) {
    RGBQUAD& e = palette[i];
    e.rgbRed = static_cast<BYTE>((e.rgbRed * (100 - percent) + cr * percent) / 100);
    e.rgbGreen = static_cast<BYTE>((e.rgbGreen * (100 - percent) + cg * percent) / 100);
    e.rgbBlue = static_cast<BYTE>((e.rgbBlue * (100 - percent) + cb * percent) / 100);
  }
}

bool CDibBitmap::Draw(HDC dc, int x, int y) {
  if (!dc || m_data.empty()) return false;
  if (!m_section) {
    m_section = CreateDIBSection(dc, Info(), DIB_RGB_COLORS, &m_sectionBits, nullptr, 0);
    if (!m_section || !m_sectionBits) {
      if (m_section) DeleteObject(m_section);
      m_section = nullptr;
      return false;
    }
    m_sectionDc = CreateCompatibleDC(dc);
    if (!m_sectionDc) {
      DeleteObject(m_section);
      m_section = nullptr;
      return false;
    }
    m_oldBitmap = SelectObject(m_sectionDc, m_section);
  }
  GdiFlush();  // the section's memory is written directly
  memcpy(m_sectionBits, GetBits(), static_cast<size_t>(m_stride) * m_height);
  if (m_paletteCount) SetDIBColorTable(m_sectionDc, 0, m_paletteCount, Palette());
  return BitBlt(dc, x, y, m_width, m_height, m_sectionDc, 0, 0, SRCCOPY) != FALSE;
}
