#include "htmldraw/html_box_paint.h"

#include <algorithm>
#include <vector>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/markup_images.h"
#include "htmldraw/markup_values.h"
#include "htmldraw/text_style.h"

namespace {

// Dashes and dots past this many per side are not cut: the side is solid.
constexpr int kMaxDashes = 4096;
// Images larger than this on a side are not drawn behind a box.
constexpr int kMaxImageSide = 2048;

// The box inset on every side, with its corners rounded by what is left of
// the radius; right and bottom exclusive, as the fill draws it.
HRGN InsetRegion(const RECT& r, int inset, int radius) {
  const int left = radius - inset;
  if (left <= 0) return CreateRectRgn(r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
  return CreateRoundRectRgn(r.left + inset, r.top + inset, r.right - inset + 1, r.bottom - inset + 1, 2 * left,
                            2 * left);
}

// What lies between the box inset by from and by to.
bool AddRing(HRGN into, const RECT& r, int radius, int from, int to) {
  UniqueGdiObject outer(InsetRegion(r, from, radius));
  UniqueGdiObject hole(InsetRegion(r, to, radius));
  UniqueGdiObject ring(CreateRectRgn(0, 0, 0, 0));
  if (!outer || !hole || !ring) return false;
  HRGN g = static_cast<HRGN>(ring.Get());
  CombineRgn(g, static_cast<HRGN>(outer.Get()), static_cast<HRGN>(hole.Get()), RGN_DIFF);
  return CombineRgn(into, into, g, RGN_OR) != ERROR;
}

// Dashes across the band: along x for a top or bottom side, along y for a
// left or right one. Null when there would be too many.
HRGN Dashes(const RECT& band, bool alongX, int on, int off) {
  const long long length = alongX ? band.right - band.left : band.bottom - band.top;
  if (length <= 0 || length / (on + off) >= kMaxDashes) return nullptr;
  std::vector<char> data(sizeof(RGNDATAHEADER) + sizeof(RECT) * static_cast<size_t>(length / (on + off) + 1));
  auto* header = reinterpret_cast<RGNDATA*>(data.data());
  auto* rects = reinterpret_cast<RECT*>(header->Buffer);
  DWORD n = 0;
  for (long long p = 0; p < length; p += on + off) {
    const int a = static_cast<int>(p), b = static_cast<int>(std::min<long long>(p + on, length));
    rects[n++] = alongX ? RECT{band.left + a, band.top, band.left + b, band.bottom}
                        : RECT{band.left, band.top + a, band.right, band.top + b};
  }
  header->rdh.dwSize = sizeof(RGNDATAHEADER);
  header->rdh.iType = RDH_RECTANGLES;
  header->rdh.nCount = n;
  header->rdh.nRgnSize = n * sizeof(RECT);
  header->rdh.rcBound = band;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), header);
}

// A clip region in device units for a rectangle in logical ones.
void ClipToBox(HDC dc, const RECT& box, int radius) {
  POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
  LPtoDP(dc, corners, 2);
  const RECT device = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  UniqueGdiObject region(InsetRegion(device, 0, radius));
  if (region) ExtSelectClipRgn(dc, static_cast<HRGN>(region.Get()), RGN_AND);
}

int Place(int start, int room, int image, int value, bool percent) {
  const long long offset = percent ? (0LL + room - image) * value / 100 : value;
  return static_cast<int>(std::min<long long>(std::max<long long>(start + offset, -(1LL << 24)), 1LL << 24));
}

// Moves start back by whole tiles until it is at or before edge.
int TileStart(int start, int edge, int tile) {
  if (start <= edge) return start;
  return static_cast<int>(start - (0LL + start - edge + tile - 1) / tile * tile);
}

}  // namespace

BoxRepeat ParseBoxRepeat(const std::wstring& value) {
  if (value == L"repeat-x") return BoxRepeat::kX;
  if (value == L"repeat-y") return BoxRepeat::kY;
  if (value == L"no-repeat") return BoxRepeat::kNone;
  return BoxRepeat::kBoth;
}

void ParseBoxPosition(const std::wstring& value, BoxBackgroundImage& image) {
  size_t pos = 0;
  for (int axis = 0; axis < 2; ++axis) {
    while (pos < value.size() && value[pos] == L' ') ++pos;
    const size_t end = std::min(value.find(L' ', pos), value.size());
    const std::wstring word = value.substr(pos, end - pos);
    pos = end;
    if (word.empty()) return;
    image.percent[axis] = word.back() == L'%';
    image.position[axis] = std::min(std::max(ParseLeadingInt(word.c_str()), -kMaxStyleLength), kMaxStyleLength);
  }
}

void FillRoundedBox(HDC dc, const RECT& rect, int radius, COLORREF color) {
  UniqueGdiObject region(InsetRegion(rect, 0, radius));
  UniqueGdiObject brush(CreateSolidBrush(color));
  if (region && brush) FillRgn(dc, static_cast<HRGN>(region.Get()), static_cast<HBRUSH>(brush.Get()));
}

void DrawBoxBorder(HDC dc, const RECT& rect, int radius, const COLORREF sides[4], int style, int width) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const bool twoLines = style == kBorderDouble;
  const int depth = twoLines ? 3 : std::max(width, 1);
  if (w < 2 * depth + 1 || h < 2 * depth + 1) return;
  radius = std::min(radius, std::min(w, h) / 2);
  if (radius == 0 && style != kBorderDashed && style != kBorderDotted) {
    // Square corners: each line is four rectangles, no regions needed.
    const int from[2] = {0, 2}, to[2] = {twoLines ? 1 : depth, 3};
    for (int line = 0; line < (twoLines ? 2 : 1); ++line) {
      const RECT o = {rect.left + from[line], rect.top + from[line], rect.right - from[line], rect.bottom - from[line]};
      const int d = to[line] - from[line];
      const RECT parts[4] = {{o.left, o.top, o.right, o.top + d},
                             {o.right - d, o.top + d, o.right, o.bottom - d},
                             {o.left, o.bottom - d, o.right, o.bottom},
                             {o.left, o.top + d, o.left + d, o.bottom - d}};
      for (int s = 0; s < 4; ++s) {
        UniqueGdiObject brush(CreateSolidBrush(sides[s]));
        if (brush) FillRect(dc, &parts[s], static_cast<HBRUSH>(brush.Get()));
      }
    }
    return;
  }
  UniqueGdiObject ring(CreateRectRgn(0, 0, 0, 0));
  if (!ring) return;
  HRGN r = static_cast<HRGN>(ring.Get());
  if (twoLines) {
    if (!AddRing(r, rect, radius, 0, 1) || !AddRing(r, rect, radius, 2, 3)) return;
  } else if (!AddRing(r, rect, radius, 0, depth)) {
    return;
  }
  // Dots are as long as the border is deep, dashes three times that, with
  // gaps as long.
  const int on = style == kBorderDotted ? depth : style == kBorderDashed ? std::max(3, 3 * depth) : 0;
  const int k = std::max(radius, depth), mid = rect.left + w / 2;
  const RECT bands[4] = {{rect.left, rect.top, rect.right, rect.top + k},
                         {mid, rect.top + k, rect.right, rect.bottom - k},
                         {rect.left, rect.bottom - k, rect.right, rect.bottom},
                         {rect.left, rect.top + k, mid, rect.bottom - k}};
  for (int s = 0; s < 4; ++s) {
    UniqueGdiObject band(on > 0 ? Dashes(bands[s], s % 2 == 0, on, on) : nullptr);
    if (!band) band.Reset(CreateRectRgnIndirect(&bands[s]));
    UniqueGdiObject part(CreateRectRgn(0, 0, 0, 0));
    UniqueGdiObject brush(CreateSolidBrush(sides[s]));
    if (!band || !part || !brush) continue;
    CombineRgn(static_cast<HRGN>(part.Get()), r, static_cast<HRGN>(band.Get()), RGN_AND);
    FillRgn(dc, static_cast<HRGN>(part.Get()), static_cast<HBRUSH>(brush.Get()));
  }
}

void DrawBoxBackgroundImage(HDC dc, CEffectPainter& painter, const RECT& box, int radius,
                            const BoxBackgroundImage& bg) {
  if (bg.file.empty() || box.right <= box.left || box.bottom <= box.top) return;
  const bool icon = bg.file.size() > 4 && _wcsicmp(bg.file.c_str() + bg.file.size() - 4, L".ico") == 0;
  MarkupImageAttributes a;
  a.file = bg.file;
  MarkupImage image;
  SIZE size = {bg.size[0], bg.size[1]};
  if (icon) {
    if (size.cx <= 0) size.cx = GetSystemMetrics(SM_CXICON);
    if (size.cy <= 0) size.cy = GetSystemMetrics(SM_CYICON);
    if (size.cx > kMaxImageSide || size.cy > kMaxImageSide || !image.Load(kTagIcon, a, nullptr, size.cx, size.cy))
      return;
  } else {
    if (!image.Load(kTagBitmap, a, nullptr, 0, 0)) return;
    const SIZE natural = CEffectPainter::GetBitmapSize(image.Bitmap());
    if (size.cx <= 0) size.cx = natural.cx;
    if (size.cy <= 0) size.cy = natural.cy;
  }
  if (size.cx <= 0 || size.cy <= 0 || size.cx > kMaxImageSide || size.cy > kMaxImageSide) return;
  auto drawAt = [&](HDC target, int x, int y) {
    if (icon) painter.DrawIcon(target, x, y, size.cx, size.cy, image.Icon(), 0, false, 0, 0, 0, 0, 0);
    else painter.DrawBitmap(target, x, y, size.cx, size.cy, image.Bitmap(), false, 0, 0, false, 0, 0, 0, 0, 0);
  };
  const int x = Place(box.left, box.right - box.left, size.cx, bg.position[0], bg.percent[0]);
  const int y = Place(box.top, box.bottom - box.top, size.cy, bg.position[1], bg.percent[1]);
  const int saved = SaveDC(dc);
  ClipToBox(dc, box, radius);
  RECT clip = {};
  const int shown = GetClipBox(dc, &clip);
  if (shown != NULLREGION && shown != ERROR) {
    if (bg.repeat == BoxRepeat::kNone) {
      drawAt(dc, x, y);
    } else {
      const bool acrossX = bg.repeat != BoxRepeat::kY, acrossY = bg.repeat != BoxRepeat::kX;
      const int left = acrossX ? TileStart(x, box.left, size.cx) : x;
      const int top = acrossY ? TileStart(y, box.top, size.cy) : y;
      const int right = acrossX ? box.right : x + size.cx, bottom = acrossY ? box.bottom : y + size.cy;
      // The tile drawn once over the colour in the middle of what shows of
      // the box (its background), then copied over the rest.
      const COLORREF under = GetPixel(dc, (clip.left + clip.right) / 2, (clip.top + clip.bottom) / 2);
      UniqueGdiObject tile(CreateCompatibleBitmap(dc, size.cx, size.cy));
      UniqueMemoryDC tileDc(CreateCompatibleDC(dc));
      UniqueGdiObject brush(CreateSolidBrush(under == CLR_INVALID ? RGB(255, 255, 255) : under));
      if (tile && tileDc && brush) {
        SelectObjectScope select(tileDc.Get(), tile.Get());
        const RECT whole = {0, 0, size.cx, size.cy};
        FillRect(tileDc.Get(), &whole, static_cast<HBRUSH>(brush.Get()));
        drawAt(tileDc.Get(), 0, 0);
        painter.TileBitmap(dc, left, top, right - left, bottom - top, tileDc.Get(), 0, 0, size.cx, size.cy);
      }
    }
  }
  RestoreDC(dc, saved);
}
