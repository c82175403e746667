// Builds a phrase folder of 10,000 phrase files in 200 folders and prints
// how long the phrase store takes to load, sort and look phrases up.
//   bench_phrase_store [folder]   (default: a temporary folder)
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "bench/phrase_tree.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_store.h"
#include "phrases/store/phrase_writer.h"
#include "tests/support/test_support.h"

namespace {

double BestLoadMs(CPhraseStore& store, const std::wstring& root) {
  return BestOfMs(3, [&] { store.Load(root, 0); });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // The tree goes into a fresh temporary folder (removed at the end) unless
  // a folder is named.
  qlrtest::TempDir temp;
  std::wstring root = argc < 2 ? temp.File(L"Phrases") : std::wstring(argv[1]);

  double t0 = BenchNowMs();
  if (!MakeBenchPhraseTree(root)) return 1;
  wprintf(L"built %d phrase files in %d folders: %.0f ms\n", kBenchFolders * kBenchPhrasesPerFolder, kBenchFolders,
          BenchNowMs() - t0);

  CPhraseStore store;
  double ms = BestLoadMs(store, root);
  wprintf(L"load, every file opened: best of 3 %.1f ms (%d nodes)\n", ms, store.GetNodeCount());

  // With the load record: the first load writes it, later ones open only
  // changed files (none here).
  const std::wstring cachePath = root + L".loadcache";
  store.SetLoadCachePath(cachePath);
  t0 = BenchNowMs();
  store.Load(root, 0);
  WaitForPhraseWrites(60000);
  wprintf(L"load writing the load record: %.1f ms\n", BenchNowMs() - t0);
  ms = BestLoadMs(store, root);
  wprintf(L"load with the load record: best of 3 %.1f ms (%d nodes)\n", ms, store.GetNodeCount());

  t0 = BenchNowMs();
  const int kSorts = 10;
  for (int i = 0; i < kSorts; ++i) store.Sort(0, false);
  wprintf(L"sort: %.2f ms per sort of the whole tree\n", (BenchNowMs() - t0) / kSorts);

  std::vector<std::uint32_t> ids;
  store.ForEachNode(
      [](CPhraseNode* node, void* context, CPhraseNode*) -> int {
        static_cast<std::vector<std::uint32_t>*>(context)->push_back(node->CMDID);
        return 1;
      },
      &ids);
  std::mt19937 rng(2);
  const int kLookups = 10000;
  int found = 0;
  t0 = BenchNowMs();
  for (int i = 0; i < kLookups; ++i)
    if (store.FindNodeById(ids[rng() % ids.size()])) ++found;
  double lookupMs = BenchNowMs() - t0;
  wprintf(L"lookup: %d of %d ids found, %.2f us per lookup\n", found, kLookups,
          1000.0 * lookupMs / kLookups);

  DeleteFileW(cachePath.c_str());
  return found == kLookups ? 0 : 1;
}
