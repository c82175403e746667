// Frames and lines in the border styles.
#include <algorithm>
#include <climits>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/work_bitmap.h"

namespace {

int PenStyleOf(int borderStyle) {
  switch (borderStyle) {
    case CEffectPainter::kBorderDashed: return PS_DASH;
    case CEffectPainter::kBorderDotted: return PS_DOT;
    case CEffectPainter::kBorderDashDot: return PS_DASHDOT;
    case CEffectPainter::kBorderDashDotDot: return PS_DASHDOTDOT;
    default: return PS_SOLID;  // solid, double and styles the table does not know
  }
}

// Light sides (left, top) and dark sides (right, bottom) of the outline
// through the corner points l, t, r, b.
void DrawOutline(HDC dc, HGDIOBJ light, HGDIOBJ dark, int l, int t, int r, int b) {
  POINT lightSides[] = {{l, b}, {l, t}, {r, t}};
  POINT darkSides[] = {{r, t}, {r, b}, {l, b}};
  SelectObjectScope selectLight(dc, light);
  Polyline(dc, lightSides, 3);
  SelectObjectScope selectDark(dc, dark);
  Polyline(dc, darkSides, 3);
}

}  // namespace

void CEffectPainter::DrawFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark,
                               int borderStyle, int width) {
  if (!dc || borderStyle == kBorderNone || width < 1) return;
  int areaW = 0, areaH = 0;
  if (!RectExtent(rect, areaW, areaH)) return;
  const int style = PenStyleOf(borderStyle);
  UniqueGdiObject lightPen(CreatePen(style, width, light));
  UniqueGdiObject darkPen;
  if (dark != light) darkPen.Reset(CreatePen(style, width, dark));
  if (!lightPen) return;
  HGDIOBJ darkOrLight = darkPen ? darkPen.Get() : lightPen.Get();
  // The pen's centre runs half its width inside the rectangle; right and
  // bottom are exclusive, so their lines lie one pixel further in.
  const long long half = width / 2;
  const long long l = rect.left + half, t = rect.top + half;
  const long long r = rect.right - 1 - half, b = rect.bottom - 1 - half;
  if (l > r || t > b) return;  // a pen this wide does not fit the rectangle
  // Inside the rectangle every corner is a valid int.
  auto i = [](long long v) { return static_cast<int>(v); };
  DrawOutline(dc, lightPen.Get(), darkOrLight, i(l), i(t), i(r), i(b));
  if (borderStyle == kBorderDouble) {
    const long long inset = 2LL * width;
    if (l + inset <= r - inset && t + inset <= b - inset)  // room for the inner one
      DrawOutline(dc, lightPen.Get(), darkOrLight, i(l + inset), i(t + inset), i(r - inset),
                  i(b - inset));
  }
}

void CEffectPainter::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour,
                              int borderStyle, int width) {
  if (!dc || borderStyle == kBorderNone || width < 1) return;
  UniqueGdiObject pen(CreatePen(PenStyleOf(borderStyle), width, colour));
  if (!pen) return;
  SelectObjectScope select(dc, pen.Get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  if (borderStyle == kBorderDouble) {
    // The second line lies below a line that is not vertical and to the
    // right of one that is not horizontal.
    auto shifted = [](int v, bool by, int width) {
      return static_cast<int>(std::min<long long>(INT_MAX, v + (by ? 2LL * width : 0)));
    };
    MoveToEx(dc, shifted(x1, y1 != y2, width), shifted(y1, x1 != x2, width), nullptr);
    LineTo(dc, shifted(x2, y1 != y2, width), shifted(y2, x1 != x2, width));
  }
}
