// Gradients, the background effects and tiled bitmaps.
#include <algorithm>
#include <climits>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/work_bitmap.h"

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  UniqueGdiObject brush(CreateSolidBrush(colour));
  if (brush) FillRect(dc, &rect, static_cast<HBRUSH>(brush.Get()));
}

}  // namespace

void CEffectPainter::DrawGradient(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2,
                                  bool horizontal) {
  int width = 0, height = 0;
  if (!dc || !RectExtent(rect, width, height)) return;
  const long long size = horizontal ? width : height;
  for (int k = 0; k < 64; ++k) {
    long long from = k * size / 64, to = (k + 1) * size / 64;
    if (from == to) continue;
    COLORREF colour = RGB((GetRValue(c1) * (64 - k) + GetRValue(c2) * k) / 64,
                          (GetGValue(c1) * (64 - k) + GetGValue(c2) * k) / 64,
                          (GetBValue(c1) * (64 - k) + GetBValue(c2) * k) / 64);
    RECT band = rect;
    if (horizontal) {
      band.left = static_cast<LONG>(rect.left + from);
      band.right = static_cast<LONG>(rect.left + to);
    } else {
      band.top = static_cast<LONG>(rect.top + from);
      band.bottom = static_cast<LONG>(rect.top + to);
    }
    FillSolid(dc, band, colour);
  }
}

void CEffectPainter::FillRectEffect(HDC dc, int effect, const RECT& rect, COLORREF c1,
                                    COLORREF c2, COLORREF c3, int granularity, int tint) {
  int width = 0, height = 0;
  if (!dc || effect == kFillTransparent || !RectExtent(rect, width, height)) return;
  RECT first = rect, second = rect;
  first.right = second.left = rect.left + width / 2;
  RECT top = rect, bottom = rect;
  top.bottom = bottom.top = rect.top + height / 2;
  switch (effect) {
    case kFillHGradient:
      DrawGradient(dc, rect, c1, c3, true);
      break;
    case kFillVGradient:
      DrawGradient(dc, rect, c1, c3, false);
      break;
    case kFillHCGradient:
      DrawGradient(dc, first, c1, c3, true);
      DrawGradient(dc, second, c3, c1, true);
      break;
    case kFillVCGradient:
      DrawGradient(dc, top, c1, c3, false);
      DrawGradient(dc, bottom, c3, c1, false);
      break;
    case kFill3HGradient:
      DrawGradient(dc, first, c1, c2, true);
      DrawGradient(dc, second, c2, c3, true);
      break;
    case kFill3VGradient:
      DrawGradient(dc, top, c1, c2, false);
      DrawGradient(dc, bottom, c2, c3, false);
      break;
    case kFillNoise:
    case kFillDiagShade:
    case kFillHShade:
    case kFillVShade:
    case kFillHBump:
    case kFillVBump:
    case kFillSoftBump:
    case kFillHardBump:
    case kFillMetal:
      if (FillTexture(effect, width, height, c1, c2, c3, granularity, tint))
        m_texture.Draw(dc, rect.left, rect.top);
      break;
    default:  // solid, and numbers the table does not know
      FillSolid(dc, rect, c1);
      break;
  }
}

void CEffectPainter::TileBitmap(HDC dc, int x, int y, int width, int height, HDC src, int srcX,
                                int srcY, int tileWidth, int tileHeight) {
  if (!dc || !src || width <= 0 || height <= 0 || tileWidth <= 0 || tileHeight <= 0) return;
  // Only the part of the area that the DC can show is tiled: a small tile
  // over a huge area would otherwise cost millions of blits.
  RECT clip = {}, area = {x, y, static_cast<LONG>(std::min<long long>(INT_MAX, 0LL + x + width)),
                          static_cast<LONG>(std::min<long long>(INT_MAX, 0LL + y + height))};
  if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&clip, &clip, &area)) return;
  // The pattern starts on the tile grid of the area, at or before the clip.
  const int startX = x + (clip.left - x) / tileWidth * tileWidth;
  const int startY = y + (clip.top - y) / tileHeight * tileHeight;
  const int patternW = clip.right - startX, patternH = clip.bottom - startY;
  UniqueGdiObject pattern(CreateCompatibleBitmap(dc, patternW, patternH));
  UniqueMemoryDC patternDc(CreateCompatibleDC(dc));
  if (!pattern || !patternDc) return;
  SelectObjectScope select(patternDc.Get(), pattern.Get());
  HDC p = patternDc.Get();
  // One tile, then the filled part doubled across and down: each copy keeps
  // the tile grid because the filled part is a whole number of tiles.
  BitBlt(p, 0, 0, std::min(tileWidth, patternW), std::min(tileHeight, patternH), src, srcX, srcY,
         SRCCOPY);
  for (long long filled = tileWidth; filled < patternW; filled *= 2)
    BitBlt(p, static_cast<int>(filled), 0, static_cast<int>(std::min<long long>(filled, patternW - filled)),
           std::min(tileHeight, patternH), p, 0, 0, SRCCOPY);
  for (long long filled = tileHeight; filled < patternH; filled *= 2)
    BitBlt(p, 0, static_cast<int>(filled), patternW,
           static_cast<int>(std::min<long long>(filled, patternH - filled)), p, 0, 0, SRCCOPY);
  BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, p,
         clip.left - startX, clip.top - startY, SRCCOPY);
}
