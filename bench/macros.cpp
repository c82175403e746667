// Prints how long macro expansion of 2,000 phrase texts takes: texts without
// macros, texts with macros as one menu request expands them (fixed values
// read once), the same without a request, and for reference the cost of
// computing every macro's value for every text.
//   bench_macros
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/macros/macro_table.h"
#include "phrases/macros/macro_values.h"

namespace {

constexpr int kTexts = 2000;

std::vector<std::wstring> PlainTexts() {
  std::vector<std::wstring> texts;
  for (int i = 0; i < kTexts; ++i)
    texts.push_back(L"Dear customer, thank you for order " + std::to_wstring(i) +
                    L". We will answer within 100% of two working days.\r\nKind regards");
  return texts;
}

std::vector<std::wstring> MacroTexts() {
  const wchar_t* const bodies[] = {
      L"Dated %DATE%, signed %WINDOWS_USERNAME%%CURSOR_POS%",
      L"Re: %SELECTED_TEXT%\r\n%CLIPBOARD_TEXT%\r\n-- Quillora %QLR_VERSION%",
      L"%DAY2%.%MONTHNUMBER2%.%YEAR% %TIME% - see %URL_FROM_CLIPBOARD%",
      L"Order %NUMBERCHARS_SELTEXT% (%UPPER_SELTEXT%)%KEYPRESS_TAB%%DATETIME_EX_WD%",
  };
  std::vector<std::wstring> texts;
  for (int i = 0; i < kTexts; ++i) texts.push_back(std::to_wstring(i) + L" " + bodies[i % 4]);
  return texts;
}

template <typename Fn>
void Measure(const char* what, Fn&& fn) {
  fn();  // warm up: macro list, locale tables, version resources
  const int runs = 5;
  double best = 1e30;
  size_t sink = 0;
  for (int r = 0; r < runs; ++r) {
    double start = BenchNowMs();
    sink += fn();
    double elapsed = BenchNowMs() - start;
    if (elapsed < best) best = elapsed;
  }
  std::printf("%-46s %9.2f ms per %d texts %8.2f us/text  (%zu)\n", what, best, kTexts, best * 1000.0 / kTexts,
              sink % 10);
}

size_t ExpandAll(const std::vector<std::wstring>& texts, CTwoStringRecord* request) {
  const std::wstring selected = L"HTTP://example.com/page 42 items";
  const std::wstring clipboard = L"https://example.org/a b 7";
  size_t total = 0;
  for (const std::wstring& source : texts) {
    std::wstring text = source;
    int caret = 0;
    HKL layout = nullptr;
    if (request)
      request->ExpandWith(text, &caret, &layout, GetUserDefaultLCID());
    else
      ExpandPhraseMacros(text, selected, clipboard, &caret, &layout, GetUserDefaultLCID());
    total += text.size();
  }
  return total;
}

// What an expansion cost when every value was computed each time.
size_t EveryValueForEveryText() {
  const std::wstring selected = L"HTTP://example.com/page 42 items";
  const std::wstring clipboard = L"https://example.org/a b 7";
  size_t total = 0;
  for (int i = 0; i < kTexts; ++i) {
    CMacroValues values(selected, clipboard, GetUserDefaultLCID(), nullptr);
    for (int id = 0; id < kFixedMacroCount; ++id) total += values.Get(id).size();
    total += GetLayoutMacros().size();
  }
  return total;
}

}  // namespace

int wmain() {
  const std::vector<std::wstring> plain = PlainTexts();
  const std::vector<std::wstring> macros = MacroTexts();
  CTwoStringRecord request;
  request.SetTexts(L"HTTP://example.com/page 42 items");
  request.clipboardText = L"https://example.org/a b 7";

  Measure("without macros", [&] { return ExpandAll(plain, nullptr); });
  Measure("with macros, one menu request", [&] { return ExpandAll(macros, &request); });
  Measure("with macros, each text on its own", [&] { return ExpandAll(macros, nullptr); });
  Measure("reference: every value computed per text", [] { return EveryValueForEveryText(); });
  return 0;
}
