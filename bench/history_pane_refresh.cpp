// Times the history pane's list refresh after a capture into a 1,000-item
// history, beside the bare list-view calls it stands on (item count, scroll
// to the top, window title) on a plain owner-data list.
//   bench_history_pane_refresh
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/bench_timer.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kItems = 1000;
constexpr int kRounds = 20;

std::unique_ptr<CCHItem> MakeText(int i) {
  std::wstring text = std::to_wstring(i) + L": a copied line of text\r\nwith a second line, number " +
                      std::to_wstring(i * 7919);
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  item->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * sizeof(wchar_t)));
  item->number = static_cast<std::uint32_t>(i + 1);
  return item;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int wmain() {
  qlrtest::TempDir dir;
  SetSettingsFolders(dir.Path(), dir.Path());
  CQLRWndClipboardHandler handler;
  for (int i = 0; i < kItems; ++i) handler.Queue().Append(MakeText(i));
  CQLRFloatPane pane(nullptr, nullptr);
  if (!pane.Create(&handler, false, false)) {
    std::printf("the pane could not be created\n");
    return 1;
  }
  pane.SetFixed(true);
  Pump();
  pane.SetShowMode(0, false);
  UpdateWindow(pane.List());  // the visible rows' captions are cached now

  double refresh = 1e9, refreshPaint = 1e9, bare = 1e9;
  int next = kItems;
  for (int round = 0; round < kRounds; ++round) {
    handler.Queue().Append(MakeText(next++));  // a capture
    double start = BenchNowMs();
    pane.RefreshList();
    refresh = std::min(refresh, BenchNowMs() - start);
    start = BenchNowMs();
    UpdateWindow(pane.List());
    refreshPaint = std::min(refreshPaint, BenchNowMs() - start);
    Pump();
  }

  HWND plain = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA,
                               0, 0, 300, 150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int round = 0; round < kRounds; ++round) {
    double start = BenchNowMs();
    SendMessageW(plain, LVM_SETITEMCOUNT, kItems + round, 0);
    SendMessageW(plain, LVM_ENSUREVISIBLE, 0, FALSE);
    std::wstring title = L"Clipboard History[" + std::to_wstring(kItems + round) + L"] : Quillora";
    SetWindowTextW(plain, title.c_str());
    bare = std::min(bare, BenchNowMs() - start);
  }
  DestroyWindow(plain);
  pane.DestroyWindow();
  SetSettingsFolders(L"", L"");

  std::printf("history pane, %d items, best of %d:\n", kItems, kRounds);
  std::printf("  RefreshList after a capture:     %8.3f ms\n", refresh);
  std::printf("  repaint of the visible rows:     %8.3f ms\n", refreshPaint);
  std::printf("  bare list calls (count, top, title): %5.3f ms\n", bare);
  return 0;
}
