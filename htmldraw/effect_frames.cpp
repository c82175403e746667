// Frames and lines in the border styles.
#include "foundation/handles.h"
#include "htmldraw/effect_painter.h"

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
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const int style = PenStyleOf(borderStyle);
  UniqueGdiObject lightPen(CreatePen(style, width, light));
  UniqueGdiObject darkPen;
  if (dark != light) darkPen.Reset(CreatePen(style, width, dark));
  if (!lightPen) return;
  HGDIOBJ darkOrLight = darkPen ? darkPen.Get() : lightPen.Get();
  // The pen's centre runs half its width inside the rectangle; right and
  // bottom are exclusive, so their lines lie one pixel further in.
  const int half = width / 2;
  int l = rect.left + half, t = rect.top + half;
  int r = rect.right - 1 - half, b = rect.bottom - 1 - half;
  DrawOutline(dc, lightPen.Get(), darkOrLight, l, t, r, b);
  if (borderStyle == kBorderDouble) {
    const int inset = 2 * width;
    if (l + inset <= r - inset && t + inset <= b - inset)  // room for the inner one
      DrawOutline(dc, lightPen.Get(), darkOrLight, l + inset, t + inset, r - inset, b - inset);
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
    const int down = (x1 != x2) ? 2 * width : 0;
    const int right = (y1 != y2) ? 2 * width : 0;
    MoveToEx(dc, x1 + right, y1 + down, nullptr);
    LineTo(dc, x2 + right, y2 + down);
  }
}
