// Prints how long conversions of RTF take for texts of phrase and clipboard
// sizes, beside the bare decoding and case mapping they stand on, and how
// long macro highlighting of a long phrase takes (the whole text after a
// load, the visible part after a keystroke), beside the control's own
// searches and keystroke.
//   bench_rich_edit
#include <windows.h>

#include <cstdio>
#include <string>

#include <richedit.h>

#include "bench/bench_timer.h"
#include "editor/text/macro_highlight.h"
#include "editor/text/rich_text_io.h"
#include "foundation/ui/rich_edit.h"
#include "foundation/ui/rich_edit_convert.h"

namespace {

// HighlightAll may cost this many times the plain searches; a case change
// and a conversion of 50,000 characters this many milliseconds.
constexpr double kHighlightTarget = 3;
constexpr double kConvertTargetMs = 100;

// 50,000 characters in 1,000 lines with 2,000 macros.
std::wstring MacroText() {
  std::wstring text;
  for (int i = 0; i < 1000; ++i) {
    std::wstring line = L"Dear %SELECTED_TEXT%, on %DATE% we spoke ";
    line += std::wstring(49 - line.size(), L'x');
    text += line + L"\r";
  }
  return text;
}

// The control's own search for every macro name, without colouring.
double BareSearches(HWND edit, const MacroScheme& scheme) {
  double start = BenchNowMs();
  int found = 0;
  for (const std::wstring& keyword : scheme.KeywordGroups[0].keywords)
    found += rich_text::FindAll(edit, keyword, 0, 0, -1, nullptr, nullptr);
  double ms = BenchNowMs() - start;
  std::printf("  (%d matches)", found);
  return ms;
}

int BenchHighlight() {
  LoadLibraryW(L"RichEd20.DLL");
  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  HWND edit = CreateWindowExW(0, L"RichEdit20W", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0,
                              600, 440, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!edit) return 1;
  std::wstring text = MacroText();
  rich_text::StreamInByPrefix(edit, text);
  const MacroScheme& scheme = GetMacroScheme();
  std::printf("highlighting %zu chars:", text.size());
  double bare = BareSearches(edit, scheme);
  double start = BenchNowMs();
  HighlightAll(edit, scheme);
  double all = BenchNowMs() - start;
  std::printf("\n  HighlightAll %8.1f ms (bare searches of the whole text %8.1f ms): ratio %.2f, target %.0f: %s\n",
              all, bare, all / bare, kHighlightTarget, all <= kHighlightTarget * bare ? "met" : "MISSED");

  CHARRANGE top = {0, 0};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&top));
  double keys = 0, visible = 0;
  const int rounds = 20;
  for (int i = 0; i < rounds; ++i) {
    start = BenchNowMs();
    SendMessageW(edit, WM_CHAR, L'a', 1);
    keys += BenchNowMs() - start;
    start = BenchNowMs();
    HighlightVisible(edit, scheme);
    visible += BenchNowMs() - start;
  }
  std::printf("  HighlightVisible after a keystroke %8.2f ms (the keystroke itself %8.2f ms)\n", visible / rounds,
              keys / rounds);
  DestroyWindow(frame);
  return 0;
}

}  // namespace

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
    // The bare work: decoding the RTF's bytes once, and mapping the text to
    // upper case once.
    start = BenchNowMs();
    std::wstring decoded(bytes.size(), L'\0');
    MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), &decoded[0],
                        static_cast<int>(decoded.size()));
    double bareDecode = BenchNowMs() - start;
    start = BenchNowMs();
    std::wstring mapped = text;
    CharUpperBuffW(&mapped[0], static_cast<DWORD>(mapped.size()));
    double bareUpper = bareDecode + BenchNowMs() - start;
    bool upperRight = RtfToPlainText(std::wstring(upper.begin(), upper.end())) == mapped;
    std::printf("%6zu chars: plain->RTF %8.1f ms, RTF->plain %8.1f ms (bare decoding %6.2f ms), "
                "upper case %8.1f ms (bare decoding and mapping %6.2f ms)%s\n",
                text.size(), toRtf, toPlain, bareDecode, changeCase, bareUpper,
                plain == text && upperRight ? "" : "  (MISMATCH)");
    if (chars == 50000)
      std::printf("  50,000 chars target %.0f ms: RTF->plain %.1f ms %s, upper case %.1f ms %s\n", kConvertTargetMs,
                  toPlain, toPlain <= kConvertTargetMs ? "met" : "MISSED", changeCase,
                  changeCase <= kConvertTargetMs ? "met" : "MISSED");
  }
  DestroyWindow(parent);
  return BenchHighlight();
}
