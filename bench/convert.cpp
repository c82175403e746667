// Prints how long UTF-8 <-> UTF-16 and code-page conversions take for texts
// of clipboard and XML sizes, in nanoseconds per call and MB/s of input.
//   bench_convert
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/text/convert.h"
#include "bench/bench_timer.h"

namespace {

// Mixed text: ASCII, Latin, Cyrillic and a non-BMP character per 16 units.
std::wstring SampleText(size_t units) {
  const std::wstring piece = L"Phrase caf\u00E9 \u0416\u0430\xD83D\xDE00 12";
  std::wstring text;
  while (text.size() < units) text += piece;
  text.resize(units);
  if (units && IS_HIGH_SURROGATE(text.back())) text.back() = L'x';
  return text;
}

template <typename Fn>
void Measure(const char* what, size_t inputBytes, Fn&& fn) {
  int iterations = 1;
  double elapsed = 0;
  size_t sink = 0;
  // Grow the run until it lasts long enough to time.
  for (;;) {
    double start = BenchNowMs();
    for (int i = 0; i < iterations; ++i) sink += fn();
    elapsed = BenchNowMs() - start;
    if (elapsed > 200 || iterations > (1 << 26)) break;
    iterations *= 4;
  }
  double nsPerCall = elapsed * 1e6 / iterations;
  double mbPerSecond = inputBytes * iterations / (elapsed / 1000.0) / (1024.0 * 1024.0);
  std::printf("%-34s %10.0f ns/call %9.1f MB/s  (%zu)\n", what, nsPerCall, mbPerSecond,
              sink % 10);
}

}  // namespace

int wmain() {
  for (size_t units : {64u, 1000u, 1999u, 4000u, 100000u}) {
    std::wstring wide = SampleText(units);
    std::string utf8 = WideToUtf8(wide);
    std::string ansi = WideToMultiByte(wide.c_str(), 1251);
    char label[64];
    std::snprintf(label, sizeof label, "WideToUtf8 %zu units", units);
    Measure(label, wide.size() * 2, [&] { return WideToUtf8(wide.c_str()).size(); });
    std::snprintf(label, sizeof label, "Utf8ToWide %zu bytes", utf8.size());
    Measure(label, utf8.size(), [&] { return Utf8ToWide(utf8.c_str()).size(); });
    std::snprintf(label, sizeof label, "MultiByteToWide(1251) %zu bytes", ansi.size());
    Measure(label, ansi.size(), [&] { return MultiByteToWide(ansi.c_str(), 1251).size(); });
  }
  std::wstring text = SampleText(1000);
  Measure("FindStringNoCase in 1000 units", text.size() * 2,
          [&] { return static_cast<size_t>(FindStringNoCase(L"\u0436A\xD83D\xDE00 13", text, 0) + 1); });
  return 0;
}
