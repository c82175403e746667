// Prints how long the HTML text drawer takes to measure and draw a typical
// phrase tooltip (20 lines, 5 links) on a memory context, beside the bare
// GDI work it stands on (TextOutW of the same 20 lines); the same tooltip
// as a two-column table beside it.
//   bench_htmldraw_text
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/drawer_test_util.h"
#include "htmldraw/work_bitmap.h"

namespace {

const int rounds = 1000;

// Milliseconds per measure and draw of text.
double TimeDrawer(WorkBitmap& target, const std::wstring& text, const char* label) {
  CHtmlTextDrawer drawer;
  SIZE size = drawer.Measure(target.Dc(), text.c_str());
  RECT r = {0, 0, size.cx, size.cy};
  double start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    drawer.Measure(target.Dc(), text.c_str());
    drawer.Draw(target.Dc(), r);
  }
  GdiFlush();
  double ms = (BenchNowMs() - start) / rounds;
  std::printf("%s of %zu characters, %zu lines, %zu link areas, %ld x %ld\n", label, text.size(),
              drawer.Lines().size(), drawer.LinkAreas().size(), size.cx, size.cy);
  return ms;
}

}  // namespace

int wmain() {
  WorkBitmap target;
  if (!target.Create(1200, 1200)) {
    std::printf("cannot make the target bitmap\n");
    return 1;
  }
  double drawerMs = TimeDrawer(target, drawertest::SampleTooltip(), "tooltip");
  double tableMs = TimeDrawer(target, drawertest::SampleTooltipTable(), "table tooltip");

  // The bare work: the 20 lines' text drawn with TextOutW.
  std::vector<std::wstring> lines(20, std::wstring(100, L'x'));
  double start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    for (size_t l = 0; l < lines.size(); ++l)
      TextOutW(target.Dc(), 0, static_cast<int>(l) * 16, lines[l].c_str(), static_cast<int>(lines[l].size()));
  }
  GdiFlush();
  double bareMs = (BenchNowMs() - start) / rounds;
  std::printf("measure+draw   %7.3f ms per round (target 2 ms)\n", drawerMs);
  std::printf("table variant  %7.3f ms per round (target 4 ms)\n", tableMs);
  std::printf("bare TextOutW  %7.3f ms per round (20 lines)\n", bareMs);
  return 0;
}
