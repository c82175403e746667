// Textured fills (noise, shades, bumps, metal) on the painter's reused
// 8-bit palette bitmap: a pixel is one byte, its colour a palette entry
// between the end colour (index 0), the middle colour and the background
// colour (index 255). Pixel values wrap modulo 256.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "htmldraw/effect_painter.h"

namespace {

// Integer arithmetic of the fills: 64 bits, so 40,000-pixel-wide areas
// cannot overflow a product; division truncates toward zero.
using Int = long long;

BYTE Wrap(Int value) { return static_cast<BYTE>(value & 0xFF); }

Int Cube(Int t) { return t * t * t; }

Int Bump(Int t, int g) { return (Cube(t) / 128 / 128 * (128 - g)) / 128 + 128; }

void SetPalette(CDibBitmap& dib, COLORREF c1, COLORREF c2, COLORREF c3, int tint) {
  auto mix = [](COLORREF a, COLORREF b, int wa, int wb) {
    return RGB((GetRValue(a) * wa + GetRValue(b) * wb) / 128,
               (GetGValue(a) * wa + GetGValue(b) * wb) / 128,
               (GetBValue(a) * wa + GetBValue(b) * wb) / 128);
  };
  auto set = [&](int index, COLORREF c) {
    dib.SetPaletteEntry(index, GetRValue(c), GetGValue(c), GetBValue(c));
  };
  for (int i = 0; i <= 128; ++i) set(i, mix(c3, c2, 128 - i, i));
  for (int k = 1; k <= 128; ++k) set(127 + k, mix(c2, c1, 128 - k, k));
  dib.TintPalette(c1, tint);
}

}  // namespace

bool CEffectPainter::FillTexture(int effect, int width, int height, COLORREF c1, COLORREF c2,
                                 COLORREF c3, int granularity, int tint) {
  if (m_texture.GetWidth() != width || m_texture.GetHeight() != height ||
      m_texture.GetBitCount() != 8) {
    if (!m_texture.Create(width, height, 8)) return false;
  }
  SetPalette(m_texture, c1, c2, c3, tint);

  const Int w = width, h = height;
  const int g = granularity & 0xFF;
  const int divisor = 32767 / std::max(2 * g, 1);  // at least 64: g is a byte
  auto noise = [&]() -> Int { return rand() / divisor - g; };
  const Int s = (255 - 2 * g) / 2;

  // Terms that depend on the column only, worked out once per fill.
  std::vector<Int> column;
  auto columns = [&](auto term) {
    column.resize(static_cast<size_t>(width));
    for (Int x = 0; x < w; ++x) column[static_cast<size_t>(x)] = term(x);
  };
  // Writes row value + column value + noise to every pixel; rowTerm (y)
  // and the column table give the two parts.
  auto fill = [&](auto rowTerm, bool withColumn) {
    for (int y = 0; y < height; ++y) {
      BYTE* row = m_texture.GetRow(y);
      if (!row) continue;
      Int base = rowTerm(static_cast<Int>(y));
      for (int x = 0; x < width; ++x)
        row[x] = Wrap(base + (withColumn ? column[static_cast<size_t>(x)] : 0) + noise());
    }
  };

  switch (effect) {
    case kFillNoise:
      fill([](Int) { return Int(128); }, false);
      break;
    case kFillDiagShade:
      columns([&](Int x) { return s * (w - x) / w; });
      fill([&](Int y) { return s * y / h + g; }, true);
      break;
    case kFillHShade:
      fill([&](Int y) { return (255 - 2 * g) * y / h + g; }, false);
      break;
    case kFillVShade:
      columns([&](Int x) { return (255 - 2 * g) * (w - x) / w + g; });
      fill([](Int) { return Int(0); }, true);
      break;
    case kFillHBump:
      fill([&](Int y) { return Bump(255 * y / h - 127, g); }, false);
      break;
    case kFillVBump:
      columns([&](Int x) { return Bump(255 * (w - x) / w - 127, g); });
      fill([](Int) { return Int(0); }, true);
      break;
    case kFillSoftBump: {
      columns([&](Int x) { return Cube(255 * (w - x) / w - 127) / 16384; });
      for (int y = 0; y < height; ++y) {
        BYTE* row = m_texture.GetRow(y);
        if (!row) continue;
        Int ty = Cube(255 * Int(y) / h - 127) / 16384;
        for (int x = 0; x < width; ++x) {
          Int v = ((column[static_cast<size_t>(x)] + ty) * (128 - g)) / 128 + 128;
          if (v < g) v = g;
          if (v > 255 - g) v = 255 - g;
          row[x] = Wrap(v + noise());
        }
      }
      break;
    }
    case kFillHardBump: {
      fill([&](Int y) { return (Cube(255 * y / h - 127) / 16384 * (64 - g) * 2) / 128 + 128; },
           false);
      // The cut-off edges: both divisors are 0 for narrow (below 6 pixels)
      // or one-row areas, which then keep the first pass alone.
      const Int d = std::min<Int>(w / 6, 16), q = h * h / 4;
      if (d == 0 || q == 0) break;
      std::vector<Int> right(static_cast<size_t>(width)), left(static_cast<size_t>(width));
      for (Int x = 0; x < w; ++x) {
        right[static_cast<size_t>(x)] = (128 * (w - x) / d) % 256 + g;
        left[static_cast<size_t>(x)] = (255 - g) - (128 * x / d) % 256;
      }
      for (int y = 0; y < height; ++y) {
        BYTE* row = m_texture.GetRow(y);
        if (!row) continue;
        Int dy = Int(y) - h / 2;
        Int e = (d * dy * dy) / q - d + w / 2;
        for (int x = 0; x < width; ++x) {
          Int u = Int(x) - w / 2;
          Int v = row[x];
          if (u > e)
            v = right[static_cast<size_t>(x)];
          else if (e + u < 0)
            v = left[static_cast<size_t>(x)];
          row[x] = Wrap(v + noise());
        }
      }
      break;
    }
    case kFillMetal: {
      m_texture.Fill(0);
      // Strokes start anywhere in the area; for areas wider or taller than
      // the generator's range the step is 1 rather than a division by 0,
      // and every write goes through the bounds-checked pixel setter, since
      // strokes run past the row ends.
      const Int stepX = std::max<Int>(32767 / w, 1), stepY = std::max<Int>(32767 / h, 1);
      const Int stepLength = std::max<Int>(32767 / std::min(w, h), 1);
      for (int stroke = 0; stroke < 200; ++stroke) {
        Int x0 = rand() / stepX;
        Int y0 = rand() / stepY;
        Int length = rand() / stepLength / 2;
        BYTE value = Wrap(rand() / 819);
        for (Int i = 0; i < length; ++i) {
          if (x0 - i >= 1 && y0 + i < h)
            m_texture.SetPixelIndex(static_cast<int>(x0 - i), static_cast<int>(y0 + i), value);
          if (x0 + i < w && y0 - i >= 1)
            m_texture.SetPixelIndex(static_cast<int>(w + i - x0), static_cast<int>(y0 - i), value);
        }
      }
      const Int sm = (215 - 2 * g) / 2;
      columns([&](Int x) { return (sm * (w - x) / w) % 256; });
      for (int y = 0; y < height; ++y) {
        BYTE* row = m_texture.GetRow(y);
        if (!row) continue;
        Int base = sm * Int(y) / h;
        for (int x = 0; x < width; ++x)
          row[x] = Wrap(row[x] + column[static_cast<size_t>(x)] + base + rand() / divisor);
      }
      break;
    }
    default:
      return false;
  }
  return true;
}
