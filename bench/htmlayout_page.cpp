// Prints how long HTMLayout.dll takes to load the update page with 6 news
// items and paint it for the first time in a visible view, beside the bare
// GDI work it stands on (the page's lines drawn with TextOutW into the
// same window).
//   bench_htmlayout_page
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bench_timer.h"
#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/tests/dll/sample_pages.h"

int wmain() {
  const int rounds = 50;
  HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 700, 460, nullptr, nullptr,
                              nullptr, nullptr);
  HWND view = CreateWindowExW(WS_EX_CLIENTEDGE, HTMLayoutClassNameW(), L"", WS_CHILD | WS_VISIBLE, 5, 5, 654, 390,
                              host, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!host || !view) {
    std::printf("cannot make the view\n");
    return 1;
  }
  ShowWindow(host, SW_SHOWNOACTIVATE);
  const std::string page = hlpages::UpdatePageWithNews(6);
  auto load = [&] {
    HTMLayoutLoadHtml(view, reinterpret_cast<const BYTE*>(page.data()), static_cast<UINT>(page.size()));
    UpdateWindow(view);
  };
  load();
  double start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) load();
  GdiFlush();
  const double pageMs = (BenchNowMs() - start) / rounds;

  // The bare work: 60 lines of text drawn into the view's window.
  const std::wstring line(90, L'x');
  start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    HDC dc = GetDC(view);
    for (int l = 0; l < 60; ++l) TextOutW(dc, 0, l * 14, line.c_str(), static_cast<int>(line.size()));
    ReleaseDC(view, dc);
  }
  GdiFlush();
  const double bareMs = (BenchNowMs() - start) / rounds;
  std::printf("load+first paint %7.3f ms per round (target 100 ms)\n", pageMs);
  std::printf("bare TextOutW    %7.3f ms per round (60 lines)\n", bareMs);
  DestroyWindow(host);
  return 0;
}
