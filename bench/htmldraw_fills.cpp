// Prints how long the effects painter takes for a tooltip-sized background
// (400 x 300) per fill effect, a soft shadow and a 50 % blend, beside the
// bare GDI work each stands on (one FillRect, one BitBlt of the area).
//   bench_htmldraw_fills
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/bench_timer.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/work_bitmap.h"

namespace {

template <typename Fn>
void Measure(const char* what, Fn&& fn) {
  std::vector<double> times;
  for (int i = 0; i < 60; ++i) {
    double start = BenchNowMs();
    fn();
    GdiFlush();
    times.push_back(BenchNowMs() - start);
  }
  std::sort(times.begin(), times.end());
  std::printf("%-28s best %6.3f ms  median %6.3f ms\n", what, times.front(),
              times[times.size() / 2]);
}

}  // namespace

int wmain() {
  const int w = 400, h = 300;
  WorkBitmap target, source, shadow;
  if (!target.Create(w, h) || !source.Create(w, h) || !shadow.Create(w, h)) {
    std::printf("cannot make the %d x %d bitmaps\n", w, h);
    return 1;
  }
  RECT r = {0, 0, w, h};
  HBRUSH brush = CreateSolidBrush(RGB(200, 220, 255));
  Measure("bare FillRect", [&] { FillRect(target.Dc(), &r, brush); });
  Measure("bare BitBlt", [&] { BitBlt(target.Dc(), 0, 0, w, h, source.Dc(), 0, 0, SRCCOPY); });
  DeleteObject(brush);

  CEffectPainter painter;
  const char* names[] = {"solid",    "hgradient", "vgradient", "hcgradient", "vcgradient",
                         "3hgradient", "3vgradient", "noise",   "diagshade",  "hshade",
                         "vshade",   "hbump",     "vbump",     "softbump",   "hardbump",
                         "metal"};
  for (int effect = 0; effect <= CEffectPainter::kFillMetal; ++effect) {
    char label[64];
    std::snprintf(label, sizeof label, "fill %s", names[effect]);
    Measure(label, [&] {
      painter.FillRectEffect(target.Dc(), effect, r, RGB(255, 255, 255), RGB(200, 200, 255),
                             RGB(0, 0, 200), 5, 0);
    });
  }
  Measure("blend 50 %", [&] {
    painter.BlendBlit(target.Dc(), 0, 0, w, h, source.Dc(), 0, 0, 50);
  });
  std::fill(shadow.Pixels(), shadow.Pixels() + shadow.Count(), 0x808080u);
  HBITMAP shadowBitmap = shadow.Detach();  // the painter selects it into a DC of its own
  Measure("soft shadow blur 7", [&] {
    painter.DrawShadow(target.Dc(), 0, 0, w, h, shadowBitmap, true, 7, 7);
  });
  DeleteObject(shadowBitmap);
  return 0;
}
