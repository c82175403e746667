// Loads the benchmark phrase folder (10,000 phrases in 200 folders) into
// the store and prints how long the editor's phrase tree takes to fill,
// refresh and look items up, beside the bare tree-view inserts of as many
// items (redrawing off) measured in the same run.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "bench/phrase_tree.h"
#include "editor/tree/phrase_tree_ctrl.h"
#include "editor_settings/editor_settings.h"
#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"

namespace {

constexpr double kFillTargetMs = 300;
constexpr double kRefreshTargetMs = 400;

double BareInserts(HWND host, int count) {
  HWND tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_CHECKBOXES, 0, 0,
                                400, 280, host, nullptr, nullptr, nullptr);
  double start = BenchNowMs();
  ::SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
  HTREEITEM folder = TVI_ROOT;
  for (int i = 0; i < count; ++i) {
    std::wstring text = L"Phrase " + std::to_wstring(i);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = i % 51 == 0 ? TVI_ROOT : folder;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<LPWSTR>(text.c_str());
    insert.item.lParam = i;
    insert.item.state = INDEXTOSTATEIMAGEMASK(2) | TVIS_BOLD;
    insert.item.stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (i % 51 == 0) folder = item;
  }
  ::SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
  double ms = BenchNowMs() - start;
  ::DestroyWindow(tree);
  return ms;
}

}  // namespace

int wmain() {
  qlrtest::TempDir temp;
  std::wstring root = temp.File(L"Phrases");
  if (!MakeBenchPhraseTree(root)) return 1;
  CCommandFolder store;
  store.Load(root);
  GetEditorSettings().ShowUncheckedPhrases = 1;
  CControlHost host;
  CPhraseTreeCtrl tree;
  if (!tree.Create(WS_CHILD | WS_VISIBLE, CControlHost::ChildRect(), &host, 100)) return 1;

  double fillBest = 1e30, refreshBest = 1e30, bareBest = 1e30, findMs = 0;
  int items = 0;
  for (int round = 0; round < 3; ++round) {
    double t = BenchNowMs();
    tree.FillFromStore(store);
    fillBest = std::min(fillBest, BenchNowMs() - t);
    items = static_cast<int>(tree.SendMessage(TVM_GETCOUNT));
    bareBest = std::min(bareBest, BareInserts(host.m_hWnd, items));
    // A few open folders and a selection deep down, as a user leaves them.
    for (HTREEITEM folder = tree.GetRootItem(); folder; folder = tree.GetNextSiblingItem(folder))
      if (tree.GetItemId(folder) % 20 == 0) tree.ExpandWithParents(folder);
    tree.SelectItem(tree.FindItemById(store.GetNextId() / 2));
    t = BenchNowMs();
    tree.Refresh(store);
    refreshBest = std::min(refreshBest, BenchNowMs() - t);
  }
  double t = BenchNowMs();
  int found = 0;
  for (std::uint32_t id = 1; id < store.GetNextId(); ++id) found += tree.FindItemById(id) != nullptr;
  findMs = BenchNowMs() - t;

  wprintf(L"tree items: %d\n", items);
  wprintf(L"bare tree-view inserts (redraw off): %.1f ms\n", bareBest);
  wprintf(L"FillFromStore: %.1f ms (target %.0f ms) %ls\n", fillBest, kFillTargetMs,
          fillBest <= kFillTargetMs ? L"ok" : L"SLOW");
  wprintf(L"Refresh: %.1f ms (target %.0f ms) %ls\n", refreshBest, kRefreshTargetMs,
          refreshBest <= kRefreshTargetMs ? L"ok" : L"SLOW");
  wprintf(L"FindItemById of all %d items: %.2f ms (%.3f us each)\n", found, findMs,
          found ? 1000.0 * findMs / found : 0.0);
  return 0;
}
