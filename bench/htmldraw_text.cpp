// Prints how long the HTML text drawer takes to measure and draw a typical
// phrase tooltip (20 lines, 5 links) on a memory context, beside the bare
// GDI work it stands on (TextOutW of the same 20 lines).
//   bench_htmldraw_text
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/drawer_test_util.h"
#include "htmldraw/work_bitmap.h"

int wmain() {
  const int rounds = 1000;
  const std::wstring text = drawertest::SampleTooltip();
  WorkBitmap target;
  if (!target.Create(1200, 600)) {
    std::printf("cannot make the target bitmap\n");
    return 1;
  }
  CHtmlTextDrawer drawer;
  SIZE size = drawer.Measure(target.Dc(), text.c_str());
  RECT r = {0, 0, size.cx, size.cy};
  double start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    drawer.Measure(target.Dc(), text.c_str());
    drawer.Draw(target.Dc(), r);
  }
  GdiFlush();
  double drawerMs = (BenchNowMs() - start) / rounds;

  // The bare work: the 20 lines' text drawn with TextOutW.
  std::vector<std::wstring> lines(20, std::wstring(100, L'x'));
  start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    for (size_t l = 0; l < lines.size(); ++l)
      TextOutW(target.Dc(), 0, static_cast<int>(l) * 16, lines[l].c_str(), static_cast<int>(lines[l].size()));
  }
  GdiFlush();
  double bareMs = (BenchNowMs() - start) / rounds;
  std::printf("tooltip of %zu characters, %zu lines, %zu link areas, %ld x %ld\n", text.size(),
              drawer.Lines().size(), drawer.LinkAreas().size(), size.cx, size.cy);
  std::printf("measure+draw   %7.3f ms per round (target 2 ms)\n", drawerMs);
  std::printf("bare TextOutW  %7.3f ms per round (20 lines)\n", bareMs);
  return 0;
}
