// Saves 1,000 clipboard-history items of mixed kinds and prints how long
// loading them takes beside reading the same descriptor and data files once
// each as plain files.
//   bench_history_load
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "foundation/files/files.h"
#include "history/store/history_descriptor.h"
#include "history/store/history_queue.h"
#include "history/store/history_store.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kItems = 1000;
constexpr int kRounds = 3;

std::unique_ptr<CCHItem> MakeItem(int i) {
  std::wstring text = std::to_wstring(i) + L": a copied line of text, as people copy them, number " +
                      std::to_wstring(i * 7919);
  std::string narrow(text.begin(), text.end());
  auto bytes = [&](int kind) {
    auto item = std::make_unique<CCHItem>(kind);
    item->SetData(narrow.c_str(), static_cast<std::uint32_t>(narrow.size() + 1));
    return item;
  };
  switch (i % 20) {
    case 0: {  // a small bitmap with a pixel of its own
      DWORD pixels[64 * 48] = {};
      pixels[0] = static_cast<DWORD>(i);
      auto item = std::make_unique<CCHItem>(kHistoryKindBitmap);
      item->SetBitmap(CreateBitmap(64, 48, 1, 32, pixels), true);
      return item;
    }
    case 1:
      return bytes(kHistoryKindBrindle);
    case 2:
    case 3: {  // HTML with a plain-text alternate
      auto item = bytes(kHistoryKindHtml);
      auto plain = std::make_shared<CCHItem>(kHistoryKindUnicode);
      plain->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * 2));
      item->alternates.push_back(plain);
      return item;
    }
    case 4:
      return bytes(kHistoryKindRtf);
    case 5:
      return bytes(kHistoryKindAnsi);
    default: {
      auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
      item->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * 2));
      return item;
    }
  }
}

// Every descriptor and every file it names, read once as a whole file.
size_t ReadPlain(const std::wstring& folder) {
  size_t bytes = 0;
  std::vector<std::wstring> names;
  ListHistoryDescriptors(folder, &names);
  for (const std::wstring& name : names) {
    size_t size = 0;
    auto data = ReadFileToBuffer(folder + L"\\" + name, &size);
    bytes += size;
    HistoryDescriptor d;
    std::wstring problem;
    if (!data || !ParseHistoryDescriptor(DecodeProfileText(data.get(), size), &d, &problem)) continue;
    for (const std::wstring& file : d.files) {
      ReadFileToBuffer(folder + L"\\" + file, &size);
      bytes += size;
    }
  }
  return bytes;
}

}  // namespace

int wmain() {
  qlrtest::TempDir dir;
  const std::wstring folder = dir.Path();
  double start = BenchNowMs();
  for (int i = 0; i < kItems; ++i) {
    auto item = MakeItem(i);
    if (!SaveHistoryItem(folder, *item)) {
      printf("saving item %d failed\n", i);
      return 1;
    }
  }
  printf("saved %d items in %.0f ms\n", kItems, BenchNowMs() - start);

  double bestLoad = 1e9, bestPlain = 1e9;
  int loadedCount = 0;
  size_t plainBytes = 0;
  for (int round = 0; round < kRounds; ++round) {
    start = BenchNowMs();
    plainBytes = ReadPlain(folder);
    bestPlain = std::min(bestPlain, BenchNowMs() - start);

    CCHQueue queue;
    start = BenchNowMs();
    LoadHistory(folder, &queue);
    bestLoad = std::min(bestLoad, BenchNowMs() - start);
    loadedCount = queue.Count();
  }
  printf("plain reads of the descriptors and data files (%zu bytes): %.1f ms\n", plainBytes, bestPlain);
  printf("LoadHistory of %d items: %.1f ms (%.2f x the plain reads; target <= 1.25)\n", loadedCount,
         bestLoad, bestLoad / bestPlain);
  return loadedCount == kItems ? 0 : 2;
}
