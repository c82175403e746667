// Builds the phrase menu for 2,000 phrases in 100 folders with a 30-entry
// clipboard history, measures every item as the menu loop would, and
// prints the times.
//   bench_menu_build [rounds] [plain|fixed]   (plain: without the macro
//   engine; fixed: phrase texts without changing macros, whose item texts
//   are kept on the nodes after the first round)
// Popup menus come from a pool as in the tray program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "foundation/text_basics.h"
#include "phrases/menu_builder.h"
#include "phrases/menu_draw.h"
#include "phrases/menu_macros.h"
#include "phrases/menu_pool.h"
#include "phrases/menu_item_data.h"
#include "phrases/phrase_node.h"
#include "phrases/phrase_store.h"

namespace {

constexpr int kFolders = 100;
constexpr int kPhrasesPerFolder = 20;
constexpr int kHistory = 30;

class History : public IMenuHistory {
 public:
  History() {
    for (int i = 0; i < kHistory; ++i)
      texts.push_back(L"Clipboard entry " + IntToStr(i) + L"\r\nwith a second line and some more text");
    captions.resize(kHistory);
    tips.resize(kHistory);
  }
  int GetCount() override { return kHistory; }
  void SetLocked(bool) override {}
  bool IsRtf(int i) override { return i % 3 == 0; }
  bool IsBitmap(int) override { return false; }
  std::wstring GetPlainText(int i) override { return texts[i]; }
  std::wstring GetMenuText(int i) override { return texts[i]; }
  std::wstring GetSourceUrl(int) override { return std::wstring(); }
  std::wstring* CaptionCache(int i) override { return &captions[i]; }
  std::wstring* ToolTipCache(int i) override { return &tips[i]; }
  std::vector<std::wstring> texts, captions, tips;
};

void FillStore(CPhraseStore& store, bool fixed) {
  std::uint32_t id = 1;
  for (int f = 0; f < kFolders; ++f) {
    CPhraseNode folder;
    folder.SetCaption(L"Folder " + IntToStr(f));
    folder.MakeFolder();
    for (int p = 0; p < kPhrasesPerFolder; ++p) {
      CPhraseNode node;
      node.SetCaption(L"Phrase " + IntToStr(f) + L"." + IntToStr(p));
      node.data = fixed ? L"Dear customer,\r\nthank you for your message.\r\nKind regards"
                        : L"Dear %CLIPBOARD_TEXT%,\r\nthank you for your message.\r\nKind regards";
      node.DataType = static_cast<std::uint32_t>(p % 3);
      node.CMDID = id++;
      folder.childNodes->push_back(std::move(node));
    }
    store.Nodes().push_back(std::move(folder));
  }
}

int MeasureAll(HMENU menu) {
  int count = GetMenuItemCount(menu);
  int measured = 0;
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) measured += MeasureAll(sub);
    MEASUREITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemData = reinterpret_cast<ULONG_PTR>(GetMenuItemDataByPos(menu, i));
    if (item.itemData && MeasureMenuItem(&item)) ++measured;
  }
  return measured;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int rounds = argc > 1 ? _wtoi(argv[1]) : 20;
  bool plain = argc > 2 && wcscmp(argv[2], L"plain") == 0;
  bool fixed = argc > 2 && wcscmp(argv[2], L"fixed") == 0;
  if (rounds < 1) rounds = 1;
  CPhraseStore store;
  FillStore(store, fixed);
  CPopupMenuPool pool;
  History history;
  CPhraseMenuMacros macros;
  std::vector<std::uint32_t> lastUsed = {5, 700, 1999};
  ReadMenuItemHeight();

  std::vector<double> build, measure, cleanup;
  int items = 0;
  for (int r = 0; r < rounds; ++r) {
    CPhraseMenuRequest request;
    request.store = &store;
    request.history = &history;
    request.lastUsed = &lastUsed;
    request.lastUsedId = 5;
    request.texts.clipboardText = L"Anna";
    request.texts.macros = plain ? nullptr : &macros;
    request.pool = &pool;
    macros.NewRequest();
    double t0 = BenchNowMs();
    HMENU menu = CPhraseMenuBuilder(request).Build();
    double t1 = BenchNowMs();
    items = MeasureAll(menu);
    double t2 = BenchNowMs();
    FreeMenuItemData(menu);
    pool.Give(menu);
    double t3 = BenchNowMs();
    build.push_back(t1 - t0);
    measure.push_back(t2 - t1);
    cleanup.push_back(t3 - t2);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  wprintf(L"menu_build: %d phrases in %d folders, %d history entries, %d items measured%ls\n",
          kFolders * kPhrasesPerFolder, kFolders, kHistory, items,
          plain ? L", no macro engine" : fixed ? L", no changing macros" : L"");
  wprintf(L"  build   median %.2f ms (first %.2f ms)\n", median(build), build[0]);
  wprintf(L"  measure median %.2f ms\n", median(measure));
  wprintf(L"  cleanup median %.2f ms\n", median(cleanup));
  wprintf(L"  total   median %.2f ms over %d rounds\n", median(build) + median(measure) + median(cleanup), rounds);
  ReleaseMenuFonts();
  return 0;
}
