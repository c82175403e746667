// Prints how long the markup tooltip takes to build and show a 20-line
// phrase tooltip (a table with five links, shadow on), beside the bare
// Win32 work of the same show: a popup of the same size placed, shown and
// painted with DrawTextW of the same lines. Also counts the draws of a
// hidden tooltip over a second of its watch timer.
//   bench_tooltip_show
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bench_timer.h"
#include "htmldraw/tests/drawer_test_util.h"
#include "htmldraw/tooltip/pp_tooltip.h"

namespace {

const int rounds = 40;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

class CCountingTip : public CPPToolTip {
 public:
  void DrawBorder(HDC dc, HRGN region) override {
    ++draws;
    CPPToolTip::DrawBorder(dc, region);
  }
  int draws = 0;
};

HWND MakeWindow(DWORD exStyle, DWORD style, int width, int height, HWND owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"BenchTooltipWindow";
    RegisterClassExW(&wc);
    registered = true;
  }
  return CreateWindowExW(exStyle, L"BenchTooltipWindow", L"", style, 100, 100, width, height, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int wmain() {
  HWND owner = MakeWindow(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, 300, 200, nullptr);
  CCountingTip tip;
  if (!owner || !tip.Create(owner)) {
    std::printf("cannot make the windows\n");
    return 1;
  }
  const std::wstring text = drawertest::SampleTooltipTable();
  const POINT at = {640, 700};

  // Build and show, the paint included (the tip paints before ShowTextAt
  // returns).
  tip.ShowTextAt(at, text);  // warm-up: fonts and caches
  RECT placed = {};
  GetWindowRect(tip.GetSafeHwnd(), &placed);
  tip.Pop();
  Pump();
  double total = 0;
  for (int i = 0; i < rounds; ++i) {
    double start = BenchNowMs();
    tip.ShowTextAt(at, text);
    GdiFlush();
    total += BenchNowMs() - start;
    tip.Pop();
    Pump();
  }
  const double tipMs = total / rounds;
  const size_t links = tip.GetHtmlDrawer().LinkAreas().size();

  // The bare work: a popup of the tip's size placed, shown and painted with
  // the same lines through DrawTextW.
  const int width = placed.right - placed.left, height = placed.bottom - placed.top;
  HWND bare = MakeWindow(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, width, height, owner);
  std::wstring lines;
  for (int i = 0; i < 20; ++i) lines += L"Kind regards, the text that is pasted when the hotkey is pressed, with style\n";
  total = 0;
  for (int i = 0; i < rounds; ++i) {
    double start = BenchNowMs();
    SetWindowPos(bare, HWND_TOPMOST, placed.left, placed.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    HDC dc = GetDC(bare);
    RECT r = {0, 0, width, height};
    DrawTextW(dc, lines.c_str(), -1, &r, DT_CALCRECT);
    DrawTextW(dc, lines.c_str(), -1, &r, 0);
    ReleaseDC(bare, dc);
    GdiFlush();
    total += BenchNowMs() - start;
    ShowWindow(bare, SW_HIDE);
    Pump();
  }
  const double bareMs = total / rounds;

  // A hidden tip over a second of its 100 ms watch timer.
  const int before = tip.draws;
  double end = BenchNowMs() + 1000;
  while (BenchNowMs() < end) {
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  std::printf("tooltip of %zu characters, %ld x %ld, %zu link areas, shadow on\n", text.size(),
              placed.right - placed.left, placed.bottom - placed.top, links);
  std::printf("build+show     %7.3f ms per tip (target 30 ms)\n", tipMs);
  std::printf("bare Win32     %7.3f ms per show (popup + DrawTextW of 20 lines)\n", bareMs);
  std::printf("hidden tip     %7d draws in one second\n", tip.draws - before);
  DestroyWindow(bare);
  tip.DestroyWindow();
  DestroyWindow(owner);
  return 0;
}
