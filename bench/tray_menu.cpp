// Time from the tray icon's right click to the visible tray menu of the real
// Quillora.exe, with 2,000 phrases on disk and 100 clipboard-history
// entries, beside the bare work it stands on: loading the same menu
// resource and tracking it in this process, measured the same way.
//   bench_tray_menu [opens]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "tests/e2e/hotkey_session.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kFolders = 100;
constexpr int kPhrasesPerFolder = 20;
constexpr int kHistoryItems = 100;
constexpr UINT kTrayNotify = 32770;
constexpr UINT kTrayIconId = 10;
constexpr UINT kOpenBareMenu = WM_APP + 1;

// Milliseconds from posting the request to the visible menu, then closed
// with Escape; negative on time-out.
double TimeOneOpen(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD pid) {
  const double start = BenchNowMs();
  PostMessageW(window, message, wParam, lParam);
  while (!qlre2e::VisibleMenuOf(pid)) {
    if (BenchNowMs() - start > qlre2e::kWaitMs) return -1;
    Sleep(0);
  }
  const double ms = BenchNowMs() - start;
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  if (!qlrtest::WaitUntil([&] { return qlre2e::VisibleMenuOf(pid) == nullptr; }, qlre2e::kWaitMs, 2)) return -1;
  return ms;
}

// The bare menu: the tray program's resource loaded and tracked by a
// window of this process on its own thread.
HMODULE g_resources = nullptr;

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kOpenBareMenu) {
    HMENU bar = LoadMenuW(g_resources, MAKEINTRESOURCEW(128));
    SetForegroundWindow(hwnd);
    POINT at = {200, 150};
    TrackPopupMenu(GetSubMenu(bar, 0), TPM_RETURNCMD, at.x, at.y, 0, hwnd, nullptr);
    DestroyMenu(bar);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI BareThread(void* param) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = BareProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BenchBareTrayMenu";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
  *static_cast<HWND*>(param) = window;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

struct Figures {
  double median = 0, min = 0, max = 0;
};

Figures Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return {n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2, times.front(), times.back()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int opens = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
  qlrtest::TempDir dir;
  auto setting = [&](const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(L"Settings", key, value.c_str(), dir.File(L"Settings.ini").c_str());
  };
  const std::wstring phrases = dir.File(L"Phrases");
  bool laidOut = qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), dir.File(L"Quillora.exe")) &&
                 CreateDirectoryW(phrases.c_str(), nullptr);
  for (int f = 0; laidOut && f < kFolders; ++f) {
    const std::wstring folder = phrases + L"\\Folder " + std::to_wstring(f);
    laidOut = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
    for (int p = 0; laidOut && p < kPhrasesPerFolder; ++p) {
      const std::wstring name = L"Phrase " + std::to_wstring(f) + L"." + std::to_wstring(p);
      laidOut = qlre2e::WritePhrase(folder + L"\\" + name + L".quillora", name, L"Dear customer,\r\nthanks", p);
    }
  }
  if (!laidOut) {
    fwprintf(stderr, L"cannot lay out the program folder\n");
    return 1;
  }
  setting(L"PhrasesDirectory", phrases);
  setting(L"WriteLog", L"1");
  setting(L"Welcome_Already_Started_V2_60", L"1");
  setting(L"ClipboardHistory", L"1");
  setting(L"ClipboardHistoryMax", std::to_wstring(kHistoryItems));
  setting(L"SaveClipboardHistory_v198", L"0");
  setting(L"ShowHistoryPaneOnStart", L"0");

  // Without the core library beside it the services stay down; the phrases
  // are read and the history records all the same.
  qlrtest::ChildProcess quillora;
  if (!quillora.Start(dir.File(L"Quillora.exe"), L"")) return 1;
  auto log = [&] { return qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")); };
  HWND tray = nullptr;
  if (!qlrtest::WaitUntil([&] { return (tray = qlrtest::FindProcessWindow(quillora.Pid(), nullptr, L"Quillora")); },
                          qlre2e::kWaitMs) ||
      !qlrtest::WaitUntil([&] { return log().find(L"WTS_Notify ") != std::wstring::npos; }, qlre2e::kWaitMs)) {
    fwprintf(stderr, L"Quillora.exe did not come up\n");
    return 1;
  }
  for (int i = 1; i <= kHistoryItems; ++i) {
    const std::wstring count = L"Count=" + std::to_wstring(i) + L"\r";
    if (!qlrtest::PutClipboardText(L"History entry number " + std::to_wstring(i) + L" with a little text") ||
        !qlrtest::WaitUntil([&] { return log().find(count) != std::wstring::npos; }, qlre2e::kWaitMs, 5)) {
      fwprintf(stderr, L"history entry %d was not recorded\n", i);
      return 1;
    }
  }

  std::vector<double> trayTimes, bareTimes;
  SetCursorPos(200, 150);
  for (int i = 0; i < opens; ++i) {
    double ms = TimeOneOpen(tray, kTrayNotify, kTrayIconId, WM_RBUTTONUP, quillora.Pid());
    if (ms < 0) {
      fwprintf(stderr, L"open %d: no tray menu\n", i);
      return 1;
    }
    trayTimes.push_back(ms);
  }

  g_resources = LoadLibraryExW(dir.File(L"Quillora.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HWND bare = nullptr;
  HANDLE thread = CreateThread(nullptr, 0, BareThread, &bare, 0, nullptr);
  if (!g_resources || !thread || !qlrtest::WaitUntil([&] { return bare != nullptr; })) return 1;
  for (int i = 0; i < opens; ++i) {
    double ms = TimeOneOpen(bare, kOpenBareMenu, 0, 0, GetCurrentProcessId());
    if (ms < 0) {
      fwprintf(stderr, L"open %d: no bare menu\n", i);
      return 1;
    }
    bareTimes.push_back(ms);
  }
  PostMessageW(bare, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);

  const Figures trayFig = Summarise(trayTimes), bareFig = Summarise(bareTimes);
  wprintf(L"tray icon click to visible tray menu, %d phrases, %d history entries, %d opens\n",
          kFolders * kPhrasesPerFolder, kHistoryItems, opens);
  wprintf(L"  Quillora.exe median:         %8.1f ms (min %.1f, max %.1f)\n", trayFig.median, trayFig.min, trayFig.max);
  wprintf(L"  bare LoadMenu+Track median:  %8.1f ms (min %.1f, max %.1f)\n", bareFig.median, bareFig.min, bareFig.max);
  if (bareFig.median > 0)
    wprintf(L"  ratio of the medians:         %8.2f (goal <= 1.5)\n", trayFig.median / bareFig.median);
  int code = qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", qlre2e::kWaitMs);
  quillora.Wait(qlre2e::kWaitMs);
  return code == 1 ? 0 : 2;
}
