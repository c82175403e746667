// Prints how long conversions through the hidden rich edit control take for
// texts of phrase and clipboard sizes.
//   bench_rich_edit
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/rich_edit.h"
#include "foundation/rich_edit_convert.h"
#include "bench/bench_timer.h"

int wmain() {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  SetHiddenRichEditParent(parent);
  HWND edit = GetHiddenRichEdit();
  if (!edit) return 1;
  for (size_t chars : {1000, 10000, 50000}) {
    std::wstring text;
    for (int i = 0; text.size() < chars; ++i) text += L"Line " + std::to_wstring(i) + L" caf\u00e9 \u0416\r\n";
    double start = BenchNowMs();
    RichEditSetText(edit, text);
    std::wstring rtf = RichEditGetRtf(edit);
    double toRtf = BenchNowMs() - start;
    start = BenchNowMs();
    std::wstring plain = RtfToPlainText(rtf);
    double toPlain = BenchNowMs() - start;
    std::string bytes(rtf.begin(), rtf.end());
    start = BenchNowMs();
    std::string upper = RtfChangeCase(bytes, true);
    double changeCase = BenchNowMs() - start;
    std::printf("%6zu chars: plain->RTF %8.1f ms, RTF->plain %8.1f ms, upper case %8.1f ms%s\n",
                text.size(), toRtf, toPlain, changeCase, plain == text ? "" : "  (MISMATCH)");
  }
  DestroyWindow(parent);
  return 0;
}
