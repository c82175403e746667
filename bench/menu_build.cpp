// Builds the phrase menu for 2,000 phrases in 100 folders with the live
// clipboard history of 30 entries (a handler window holding real items),
// measures every item as the menu loop would, and prints the times: of the
// whole menu, of the menu without its history section, and of the bare
// Win32 work of a history section (30 owner-drawn items with their data).
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
#include "foundation/text/text_basics.h"
#include "history/actions/menu_history.h"
#include "history/capture/clipboard_handler.h"
#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_draw.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_macros.h"
#include "phrases/menu/menu_pool.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_store.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kFolders = 100;
constexpr int kPhrasesPerFolder = 20;
constexpr int kHistory = 30;
constexpr UINT kHandlerId = 1333;

// Every third entry rich text, the others Unicode text, as copies from
// other programs come in.
void FillHistory(CQLRWndClipboardHandler& handler) {
  for (int i = 0; i < kHistory; ++i) {
    std::wstring text = L"Clipboard entry " + IntToStr(i) + L"\r\nwith a second line and some more text";
    CCHItem* item;
    if (i % 3 == 0) {
      std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Clipboard entry " +
                        std::to_string(i) + "\\b0\\par with a second line and some more text\\par}";
      item = new CCHItem(kHistoryKindRtf);
      item->SetData(rtf.c_str(), static_cast<std::uint32_t>(rtf.size() + 1));
    } else {
      item = new CCHItem(kHistoryKindUnicode);
      item->SetData(text.c_str(), static_cast<std::uint32_t>((text.size() + 1) * sizeof(wchar_t)));
    }
    handler.Queue().Add(item, kHistory);
  }
}

// What a history section stands on: the owner-drawn items and their data.
double BareHistorySectionMs() {
  double t0 = BenchNowMs();
  HMENU menu = CreatePopupMenu();
  std::vector<std::wstring> captions;
  for (int i = 0; i < kHistory; ++i) captions.push_back(L"Clipboard entry " + IntToStr(i));
  for (int i = 0; i < kHistory; ++i) {
    AppendMenuW(menu, MF_OWNERDRAW, 2000 + i, nullptr);
    MENUITEMINFOW info = {sizeof(info)};
    info.fMask = MIIM_DATA;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(captions[i].c_str());
    SetMenuItemInfoW(menu, 2000 + i, FALSE, &info);
  }
  DestroyMenu(menu);
  return BenchNowMs() - t0;
}

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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
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
  CPhraseMenuMacros macros;
  std::vector<std::uint32_t> lastUsed = {5, 700, 1999};
  ReadMenuItemHeight();

  // The live history: a handler window with its queue, as in the tray.
  qlrtest::TempDir folder;
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ClipboardHandlerOptions options;
  options.folder = folder.Path();
  options.historyMax = kHistory;
  CQLRWndClipboardHandler handler;
  handler.SetOptions(options);
  if (!parent || !handler.Create(parent, kHandlerId, false)) {
    fwprintf(stderr, L"menu_build: the history handler window could not be made\n");
    return 1;
  }
  FillHistory(handler);
  CHandlerMenuHistory history([&handler] { return &handler; });

  std::vector<double> build, withoutHistory, measure, cleanup, bare;
  int items = 0;
  auto buildOnce = [&](bool withHistory, int* measured) {
    CPhraseMenuRequest request;
    request.store = &store;
    request.history = &history;
    request.options.insertHistory = withHistory;
    request.lastUsed = &lastUsed;
    request.lastUsedId = 5;
    request.texts.clipboardText = L"Anna";
    request.texts.macros = plain ? nullptr : &macros;
    request.pool = &pool;
    macros.NewRequest();
    history.SetLocked(true);
    double t0 = BenchNowMs();
    HMENU menu = CPhraseMenuBuilder(request).Build();
    double t1 = BenchNowMs();
    if (measured) *measured = MeasureAll(menu);
    double t2 = BenchNowMs();
    FreeMenuItemData(menu);
    pool.Give(menu);
    double t3 = BenchNowMs();
    history.SetLocked(false);
    if (withHistory) {
      build.push_back(t1 - t0);
      measure.push_back(t2 - t1);
      cleanup.push_back(t3 - t2);
    } else {
      withoutHistory.push_back(t1 - t0);
    }
  };
  // The history section on its own, as the builder adds it to a menu.
  std::vector<double> section;
  auto sectionOnce = [&] {
    CPhraseMenuRequest request;
    request.history = &history;
    request.options.insertHistory = true;
    request.pool = &pool;
    HMENU menu = CreatePopupMenu();
    history.SetLocked(true);
    double t0 = BenchNowMs();
    CPhraseMenuBuilder(request).AddHistory(menu);
    section.push_back(BenchNowMs() - t0);
    history.SetLocked(false);
    FreeMenuItemData(menu);
    pool.Give(menu);
  };
  for (int r = 0; r < rounds; ++r) {
    sectionOnce();  // first: the captions are made and cached here
    buildOnce(true, &items);
    buildOnce(false, nullptr);
    bare.push_back(BareHistorySectionMs());
  }
  wprintf(L"menu_build: %d phrases in %d folders, %d live history entries, %d items measured%ls\n",
          kFolders * kPhrasesPerFolder, kFolders, handler.GetItemCount(), items,
          plain ? L", no macro engine" : fixed ? L", no changing macros" : L"");
  wprintf(L"  build   median %.2f ms (first %.2f ms)\n", Median(build), build[0]);
  wprintf(L"  build without the history section median %.2f ms\n", Median(withoutHistory));
  wprintf(L"  history section: whole menu with minus without, median %.2f ms\n",
          Median(build) - Median(withoutHistory));
  wprintf(L"  history section alone median %.3f ms (first, captions not yet cached, %.2f ms)\n",
          Median(section), section[0]);
  wprintf(L"  bare Win32 history section (%d owner-drawn items with data) median %.3f ms\n", kHistory,
          Median(bare));
  wprintf(L"  measure median %.2f ms\n", Median(measure));
  wprintf(L"  cleanup median %.2f ms\n", Median(cleanup));
  wprintf(L"  total   median %.2f ms over %d rounds\n", Median(build) + Median(measure) + Median(cleanup), rounds);
  handler.Destroy();
  DestroyWindow(parent);
  ReleaseMenuFonts();
  return 0;
}
