// Time from the hotkey press in another program to the phrase menu being
// visible, with the real Quillora.exe, the core library and 2,000 phrases
// in 100 folders on disk. Each press is closed with Escape before the next.
//   bench_hotkey_to_menu [presses] [noballoon]   (noballoon: no tray balloon
//   on the hotkey, which is shown by default)
// Every step wakes another process (target, tray, wineserver), so the figure
// is higher on an idle machine whose cores sleep deeply than on a busy one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <numeric>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "tests/e2e/hotkey_session.h"

namespace {

constexpr int kFolders = 100;
constexpr int kPhrasesPerFolder = 20;
constexpr wchar_t kRoadEndLine[] = L"CQLRTrayWnd::OnWmCommandFromSelf";

bool WritePhrases(const qlre2e::HotkeySession& session) {
  for (int f = 0; f < kFolders; ++f) {
    const std::wstring folder = session.PhraseFolder() + L"\\Folder " + std::to_wstring(f);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
    for (int p = 0; p < kPhrasesPerFolder; ++p) {
      const std::wstring name = L"Phrase " + std::to_wstring(f) + L"." + std::to_wstring(p);
      if (!qlre2e::WritePhrase(folder + L"\\" + name + L".quillora", name,
                               L"Dear customer,\r\nthank you for your message.\r\nKind regards", p))
        return false;
    }
  }
  return true;
}

// Milliseconds from the press to the visible menu; negative on time-out.
double TimeOnePress(const qlre2e::HotkeySession& session) {
  const double start = BenchNowMs();
  if (!qlre2e::PressDefaultHotkey()) return -1;
  while (!session.PhraseMenu()) {
    if (BenchNowMs() - start > qlre2e::kWaitMs) return -1;
    Sleep(0);
  }
  return BenchNowMs() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int presses = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
  if (!qlre2e::DefaultHotkeyIsFree()) {
    fwprintf(stderr, L"Ctrl+Alt+Enter is taken by another program\n");
    return 1;
  }
  qlre2e::HotkeySession session;
  if (!session.Prepared() || !WritePhrases(session)) {
    fwprintf(stderr, L"cannot lay out the program folder\n");
    return 1;
  }
  const bool balloon = !(argc > 2 && wcscmp(argv[2], L"noballoon") == 0);
  if (!balloon) session.SetSetting(L"ShowTrayBallonOnHotkey", L"0");
  const double startAt = BenchNowMs();
  if (!session.StartTarget() || !session.StartQuillora()) {
    fwprintf(stderr, L"cannot start the target or Quillora.exe\n");
    return 1;
  }
  const double startMs = BenchNowMs() - startAt;

  std::vector<double> times;
  for (int i = 0; i < presses; ++i) {
    const size_t ends = session.CountInLog(kRoadEndLine);
    if (!session.BringTargetForward()) {
      fwprintf(stderr, L"press %d: the target did not come to the front\n", i);
      return 1;
    }
    const double ms = TimeOnePress(session);
    if (ms < 0) {
      fwprintf(stderr, L"press %d: no menu within %lu ms\n", i, qlre2e::kWaitMs);
      return 1;
    }
    times.push_back(ms);
    qlre2e::PressKey(VK_ESCAPE);
    // The road ends (clipboard put back) before the next press.
    if (!session.WaitForMenuGone() ||
        !qlrtest::WaitUntil([&] { return session.CountInLog(kRoadEndLine) > ends; }, qlre2e::kWaitMs, 5)) {
      fwprintf(stderr, L"press %d: the menu did not close\n", i);
      return 1;
    }
  }
  const double first = times.front();
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  const size_t n = sorted.size();
  const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  const double mean = std::accumulate(sorted.begin(), sorted.end(), 0.0) / static_cast<double>(n);
  wprintf(L"hotkey to menu, %d phrases in %d folders, %d presses, balloon %ls\n", kFolders * kPhrasesPerFolder,
          kFolders, presses, balloon ? L"on" : L"off");
  wprintf(L"  start to hotkey ready: %8.1f ms\n", startMs);
  wprintf(L"  first press:           %8.1f ms\n", first);
  wprintf(L"  median:                %8.1f ms\n", median);
  wprintf(L"  mean:                  %8.1f ms\n", mean);
  wprintf(L"  90th percentile:       %8.1f ms\n", sorted[std::min(n - 1, n * 9 / 10)]);
  wprintf(L"  min / max:             %8.1f / %.1f ms\n", sorted.front(), sorted.back());
  return session.Stop() == 0 ? 0 : 2;
}
