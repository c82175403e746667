// The benchmarks' clock: milliseconds from the performance counter.
#pragma once
#include <windows.h>

inline double BenchNowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The shortest of runs timings of work.
template <typename F>
double BestOfMs(int runs, F work) {
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    const double t0 = BenchNowMs();
    work();
    const double ms = BenchNowMs() - t0;
    if (ms < best) best = ms;
  }
  return best;
}

// Handles this thread's messages for ms milliseconds: what the last timed
// work posted or left to paint is done before the next one starts, and
// threads it started get the time to end.
inline void BenchSettle(double ms) {
  const double end = BenchNowMs() + ms;
  MSG msg;
  while (BenchNowMs() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}
