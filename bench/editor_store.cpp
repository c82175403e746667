// Builds a phrase folder of 10,000 phrase files in 200 folders and prints
// how long the editor takes to open it until its phrase tree holds every
// phrase (the store loaded, the tree filled), beside the bare Win32 work
// under it (listing every folder and reading every file).
//   bench_editor_store [folder]   (default: a temporary folder)
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bare_walk.h"
#include "bench/bench_timer.h"
#include "bench/phrase_tree.h"
#include "editor/store/command_folder.h"
#include "editor/tree/phrase_tree_ctrl.h"
#include "editor_settings/editor_settings.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"
#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"

namespace {

constexpr double kTargetRatio = 1.25;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  qlrtest::TempDir temp;
  std::wstring root = argc < 2 ? temp.File(L"Phrases") : std::wstring(argv[1]);

  double t0 = BenchNowMs();
  if (!MakeBenchPhraseTree(root)) return 1;
  wprintf(L"built %d phrase files in %d folders: %.0f ms\n", kBenchFolders * kBenchPhrasesPerFolder, kBenchFolders,
          BenchNowMs() - t0);

  double bareBest = 1e30, loadBest = 1e30, openBest = 1e30, first = 0;
  int files = 0, enabled = 0, total = 0, items = 0;
  CCommandFolder store;
  // As the editor opens it: the first load makes the record of the files,
  // later ones open only files changed since.
  store.SetLoadRecordPath(root + L".cache");
  GetEditorSettings().ShowUncheckedPhrases = 1;
  CControlHost host;
  CPhraseTreeCtrl tree;
  if (!tree.Create(WS_CHILD | WS_VISIBLE, CControlHost::ChildRect(), &host, 100)) return 1;
  for (int run = 0; run < 3; ++run) {
    // The least any load must do: list each folder, open and read each file.
    t0 = BenchNowMs();
    files = BareWalk(root, true).files;
    double bare = BenchNowMs() - t0;
    if (bare < bareBest) bareBest = bare;

    t0 = BenchNowMs();
    store.Load(root);
    double load = BenchNowMs() - t0;
    tree.FillFromStore(store);
    double open = BenchNowMs() - t0;
    if (load < loadBest) loadBest = load;
    if (run == 0) first = open;
    if (open < openBest) openBest = open;
    items = static_cast<int>(tree.SendMessage(TVM_GETCOUNT));
  }
  store.CountCommands(&enabled, &total);
  wprintf(L"bare FindFirstFileW/ReadFile walk: best of 3 %.1f ms (%d files)\n", bareBest, files);
  wprintf(L"editor store load: best of 3 %.1f ms (%d records, %d folders)\n", loadBest, total,
          store.CountFolders());
  const double ratio = openBest / bareBest;
  wprintf(L"store loaded and tree filled: first %.1f ms (record made), best of 3 %.1f ms (%d tree items)\n", first,
          openBest, items);
  wprintf(L"ratio %.2f, target %.2f: %ls\n", ratio, kTargetRatio, ratio <= kTargetRatio ? L"met" : L"MISSED");

  t0 = BenchNowMs();
  const int kSorts = 10;
  for (int i = 0; i < kSorts; ++i) store.Sort();
  wprintf(L"sort: %.2f ms per sort of the whole tree\n", (BenchNowMs() - t0) / kSorts);
  return total == kBenchFolders * (kBenchPhrasesPerFolder + 1) && items == total ? 0 : 1;
}
