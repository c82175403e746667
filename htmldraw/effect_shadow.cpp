// Drop shadows: the destination darkened by a shadow bitmap, sharp or
// box-blurred.
#include <algorithm>
#include <memory>
#include <new>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/work_bitmap.h"

namespace {

bool Inside(long long i, int n) { return i >= 0 && i < n; }

// Replaces every pixel by the sum of the first channel (blue) over the
// blurX x blurY window around it, the area outside counting as 255. Both
// blur sizes are odd and below the bitmap's, so every sum fits 32 bits.
// Running sums keep the cost per pixel constant whatever the blur, so large
// blur values from markup cannot stall a paint.
bool BoxSums(WorkBitmap& work, int blurX, int blurY) {
  const int w = work.Width(), h = work.Height();
  const int halfX = blurX / 2, halfY = blurY / 2;
  DWORD* px = work.Pixels();
  std::unique_ptr<DWORD[]> rows(new (std::nothrow) DWORD[work.Count()]);
  std::unique_ptr<unsigned long long[]> column(new (std::nothrow) unsigned long long[w]);
  if (!rows || !column) return false;

  for (int y = 0; y < h; ++y) {
    const DWORD* line = px + static_cast<size_t>(y) * w;
    DWORD* sums = rows.get() + static_cast<size_t>(y) * w;
    auto at = [&](long long i) -> DWORD { return Inside(i, w) ? (line[i] & 0xFF) : 255; };
    unsigned long long sum = 0;
    for (long long i = -halfX; i <= halfX; ++i) sum += at(i);
    for (int x = 0; x < w; ++x) {
      sums[x] = static_cast<DWORD>(sum);
      sum = sum - at(static_cast<long long>(x) - halfX) + at(static_cast<long long>(x) + halfX + 1);
    }
  }

  const DWORD outsideRow = 255u * static_cast<DWORD>(blurX);
  auto rowSum = [&](long long j, int x) -> DWORD {
    return Inside(j, h) ? rows[static_cast<size_t>(j) * w + x] : outsideRow;
  };
  for (int x = 0; x < w; ++x) {
    unsigned long long sum = 0;
    for (long long j = -halfY; j <= halfY; ++j) sum += rowSum(j, x);
    column[x] = sum;
  }
  for (int y = 0; y < h; ++y) {
    DWORD* line = px + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      line[x] = static_cast<DWORD>(column[x]);
      column[x] = column[x] - rowSum(static_cast<long long>(y) - halfY, x) +
                  rowSum(static_cast<long long>(y) + halfY + 1, x);
    }
  }
  return true;
}

}  // namespace

void CEffectPainter::DrawShadow(HDC dc, int x, int y, int width, int height, HBITMAP shadow,
                                bool soft, int blurX, int blurY) {
  if (!dc || !shadow) return;
  SIZE size = GetBitmapSize(shadow);
  if (size.cx <= 0 || size.cy <= 0) return;
  WorkBitmap factors;
  if (!factors.Create(width, height)) return;
  std::fill(factors.Pixels(), factors.Pixels() + factors.Count(), 0xFFFFFFFFu);

  UniqueMemoryDC src(CreateCompatibleDC(nullptr));
  if (!src) return;
  HGDIOBJ old = SelectObject(src.Get(), shadow);
  if (!old || old == HGDI_ERROR) return;
  unsigned long long full = 255;  // the sum that means "no shadow here"
  bool ok = true;
  if (soft) {
    // Odd windows keep the blur centred on the pixel.
    blurX = std::max(blurX, 0) | 1;
    blurY = std::max(blurY, 0) | 1;
    int innerW = width - blurX, innerH = height - blurY;
    if (innerW > 0 && innerH > 0) {
      SetStretchBltMode(factors.Dc(), COLORONCOLOR);
      StretchBlt(factors.Dc(), blurX / 2, blurY / 2, innerW, innerH, src.Get(), 0, 0, size.cx,
                 size.cy, SRCCOPY);
      GdiFlush();
      ok = BoxSums(factors, blurX, blurY);
      full = 255ULL * static_cast<unsigned>(blurX) * static_cast<unsigned>(blurY);
    } else {
      ok = false;  // a blur as large as the area leaves nothing to darken
    }
  } else {
    BitBlt(factors.Dc(), 0, 0, std::min<LONG>(width, size.cx), std::min<LONG>(height, size.cy),
           src.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    for (size_t i = 0, n = factors.Count(); i < n; ++i) factors.Pixels()[i] &= 0xFF;
  }
  SelectObject(src.Get(), old);
  if (!ok) return;

  WorkBitmap area;
  if (!CopyToWorkBitmap(area, dc, x, y, width, height)) return;
  const DWORD* f = factors.Pixels();
  DWORD* px = area.Pixels();
  for (size_t i = 0, n = area.Count(); i < n; ++i) {
    if (f[i] >= full) continue;
    DWORD out = px[i] & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8)
      out |= static_cast<DWORD>(((px[i] >> shift) & 0xFF) * static_cast<unsigned long long>(f[i]) /
                                full)
             << shift;
    px[i] = out;
  }
  BitBlt(dc, x, y, width, height, area.Dc(), 0, 0, SRCCOPY);
}
