// Time from the hotkey press in another program to the phrase menu being
// visible, with the real Quillora.exe, the core library and 2,000 phrases
// in 100 folders on disk, beside a bare program doing the same (it
// registers a hotkey of its own and shows a plain menu of 2,000 items in
// 100 submenus at the caret). The presses alternate between the two, so
// both meet the same load; each menu is closed with Escape before the next.
// Quillora.exe logs where the time of each menu went; the medians of those
// stages are printed too.
//   bench_hotkey_to_menu [presses] [noballoon]   (noballoon: no tray balloon
//   on the hotkey, which is shown by default)
// At the end both programs are told to exit (Quillora.exe by its tray
// menu's Exit command, the stand-in by WM_CLOSE) and the time to their end
// is printed, with the log's error lines of the end.
// Every step wakes another process (target, tray, wineserver), so the figure
// is higher on an idle machine whose cores sleep deeply than on a busy one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "tests/e2e/hotkey_session.h"
#include "tray/window/tray_messages.h"

namespace {

constexpr int kFolders = 100;
constexpr int kPhrasesPerFolder = 20;
constexpr wchar_t kRoadEndLine[] = L"CQLRTrayWnd::OnWmCommandFromSelf";
constexpr wchar_t kStagesLine[] = L"Phrase menu times: ";
constexpr WORD kStandInKey = VK_F11;  // with Ctrl+Alt, as the stand-in registers it

// The stages Quillora.exe logs, in the order of its line.
constexpr int kStages = 6;
const wchar_t* const kStageNames[kStages] = {
    L"before the query (balloon, clipboard)", L"query to the core library and back", L"store lookup",
    L"menu build",                            L"prepare (tracker window, foreground)", L"item measuring"};

// The program's event sounds beside it, as installed: the menu's sound is
// part of the road.
bool CopySounds(const qlre2e::HotkeySession& session) {
  WIN32_FIND_DATAW found = {};
  HANDLE find = FindFirstFileW(qlrtest::BinFile(L"*.wav").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    ok = ok && qlrtest::CopyFileTo(qlrtest::BinFile(found.cFileName), session.File(found.cFileName));
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return ok;
}

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

// Milliseconds from the press to the visible menu of the process; negative
// on time-out.
double TimeOnePress(const std::function<bool()>& press, DWORD pid) {
  const double start = BenchNowMs();
  if (!press()) return -1;
  while (!qlre2e::VisibleMenuOf(pid)) {
    if (BenchNowMs() - start > qlre2e::kWaitMs) return -1;
    Sleep(0);
  }
  return BenchNowMs() - start;
}

// The stages of the last menu in the log; false when there is no line.
bool LastStages(const std::wstring& log, double stages[kStages]) {
  const size_t at = log.rfind(kStagesLine);
  if (at == std::wstring::npos) return false;
  return swscanf(log.c_str() + at + wcslen(kStagesLine),
                 L"before query %lf ms, query %lf ms, store lookup %lf ms, menu build %lf ms, prepare %lf ms, "
                 L"item measuring %lf ms",
                 &stages[0], &stages[1], &stages[2], &stages[3], &stages[4], &stages[5]) == kStages;
}

// Milliseconds from posting the message to the end of the process of the
// window; negative on time-out.
double TimeExit(HWND window, UINT message, WPARAM wParam, DWORD pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return -1;
  const double start = BenchNowMs();
  PostMessageW(window, message, wParam, 0);
  const bool ended = WaitForSingleObject(process, qlre2e::kWaitMs) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended ? BenchNowMs() - start : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void PrintRow(const wchar_t* name, const std::vector<double>& times) {
  wprintf(L"  %-40ls %8.1f ms  (min %.1f, max %.1f)\n", name, Median(times),
          *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int presses = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
  if (!qlre2e::DefaultHotkeyIsFree()) {
    fwprintf(stderr, L"Ctrl+Alt+Enter is taken by another program\n");
    return 1;
  }
  qlre2e::HotkeySession session;
  if (!session.Prepared() || !CopySounds(session) || !WritePhrases(session)) {
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
  qlrtest::ChildProcess standIn;
  if (!standIn.Start(qlrtest::BinFile(L"bench_stand_in_hotkey_menu.exe"), L"") ||
      !qlrtest::WaitUntil([&] { return qlrtest::FindProcessWindow(standIn.Pid(), L"QlrBenchStandIn") != nullptr; },
                          qlre2e::kWaitMs)) {
    fwprintf(stderr, L"cannot start the stand-in\n");
    return 1;
  }

  std::vector<double> quillora, bare, rest;
  int missed = 0;  // presses whose menu did not come: counted and shown, not timed
  int bareMissed = 0;
  std::vector<double> stages[kStages];
  auto pressQuillora = [&](int i) {
    const size_t ends = session.CountInLog(kRoadEndLine);
    const double ms = TimeOnePress(qlre2e::PressDefaultHotkey, session.QuilloraPid());
    if (ms < 0) {
      fwprintf(stderr, L"press %d: no phrase menu within %lu ms\n", i, qlre2e::kWaitMs);
      return ++missed < 3;
    }
    qlre2e::PressKey(VK_ESCAPE);
    // The road ends (clipboard put back, times logged) before the next press.
    if (!session.WaitForMenuGone() ||
        !qlrtest::WaitUntil([&] { return session.CountInLog(kRoadEndLine) > ends; }, qlre2e::kWaitMs, 5))
      return fwprintf(stderr, L"press %d: the phrase menu did not close\n", i), false;
    double stage[kStages];
    if (!LastStages(session.LogText(), stage)) return fwprintf(stderr, L"press %d: no times logged\n", i), false;
    quillora.push_back(ms);
    double sum = 0;
    for (int s = 0; s < kStages; ++s) {
      stages[s].push_back(stage[s]);
      sum += stage[s];
    }
    rest.push_back(ms - sum);
    return true;
  };
  auto pressBare = [&](int i) {
    const double ms = TimeOnePress([] { return qlre2e::PressCtrlAlt(kStandInKey); }, standIn.Pid());
    if (ms < 0) {
      // Wine now and then drops a synthetic key press for the stand-in as well.
      fwprintf(stderr, L"press %d: no stand-in menu within %lu ms\n", i, qlre2e::kWaitMs);
      return ++bareMissed < 3;
    }
    qlre2e::PressKey(VK_ESCAPE);
    if (!qlrtest::WaitUntil([&] { return qlre2e::VisibleMenuOf(standIn.Pid()) == nullptr; }, qlre2e::kWaitMs, 5))
      return fwprintf(stderr, L"press %d: the stand-in's menu did not close\n", i), false;
    bare.push_back(ms);
    return true;
  };
  for (int i = 0; i < presses; ++i) {
    // Turn about which goes first, so neither always follows the other.
    for (int turn = 0; turn < 2; ++turn) {
      if (!session.BringTargetForward()) {
        fwprintf(stderr, L"press %d: the target did not come to the front\n", i);
        return 1;
      }
      if (!((turn == i % 2) ? pressQuillora(i) : pressBare(i))) return 1;
    }
  }
  const double bareExit =
      TimeExit(qlrtest::FindProcessWindow(standIn.Pid(), L"QlrBenchStandIn"), WM_CLOSE, 0, standIn.Pid());
  if (standIn.Wait(qlre2e::kWaitMs) == -1) standIn.Kill();
  const double quilloraExit = TimeExit(session.TrayWindow(), WM_COMMAND, ID_TRAY_EXIT, session.QuilloraPid());
  // The error lines of the run, each text once.
  std::vector<std::wstring> errors;
  const std::wstring log = session.LogText();
  for (size_t at = log.find(L"ERROR: "); at != std::wstring::npos; at = log.find(L"ERROR: ", at + 1)) {
    const std::wstring line = log.substr(at, log.find_first_of(L"\r\n", at) - at);
    if (std::find(errors.begin(), errors.end(), line) == errors.end()) errors.push_back(line);
  }

  const double ratio = Median(quillora) / Median(bare);
  wprintf(L"hotkey to visible menu, %d phrases in %d folders, %d presses each, balloon %ls\n",
          kFolders * kPhrasesPerFolder, kFolders, presses, balloon ? L"on" : L"off");
  wprintf(L"  start to hotkey ready:                   %8.1f ms\n", startMs);
  PrintRow(L"Quillora.exe median", quillora);
  PrintRow(L"bare stand-in median", bare);
  if (missed) wprintf(L"  presses of Quillora.exe without a menu:  %8d\n", missed);
  if (bareMissed) wprintf(L"  presses of the stand-in without a menu:  %8d\n", bareMissed);
  wprintf(L"  ratio of the medians:                    %8.2f (goal <= 1.25)\n", ratio);
  wprintf(L"  where Quillora.exe's time goes (medians of its logged stages):\n");
  for (int s = 0; s < kStages; ++s) wprintf(L"    %-44ls %6.1f ms\n", kStageNames[s], Median(stages[s]));
  wprintf(L"    %-44ls %6.1f ms\n", L"show and the rest (input, menu loop, screen)", Median(rest));
  wprintf(L"  exit by the tray menu's Exit to the end:  %8.1f ms (bare stand-in on WM_CLOSE %.1f ms)\n",
          quilloraExit, bareExit);
  wprintf(L"  kinds of error lines in Quillora.exe's log: %zu\n", errors.size());
  for (const std::wstring& line : errors) wprintf(L"    %ls\n", line.c_str());
  return session.Stop() == 0 && quilloraExit >= 0 ? 0 : 2;
}
