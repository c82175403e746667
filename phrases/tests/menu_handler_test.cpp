#include "phrases/menu/menu_handler.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <random>
#include <thread>

#include "foundation/logging/exception_guard.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_macros.h"
#include "phrases/tests/menu_test_util.h"
#include "tests/support/test_support.h"

using namespace menutest;

namespace {

// The tray window of the tests: records what the handler sends it.
struct Tray {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Tray* self = reinterpret_cast<Tray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kMsgRightMenuCommand) {
      self->rightCode = static_cast<int>(wParam);
      self->rightItem = static_cast<UINT>(lParam);
      return 77;
    }
    if (self && msg == kMsgHideMenuTip) ++self->hideTips;
    if (self && msg == kMsgRunHook && self->hook) self->hook();
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  Tray() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrMenuTestTray";
    RegisterClassW(&wc);
    hwnd = CreateWindowW(wc.lpszClassName, L"tray", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, nullptr,
                         nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetForegroundWindow(hwnd);
  }
  ~Tray() { DestroyWindow(hwnd); }
  // The posted result: wParam as a signed value; false when none came.
  bool TakeResult(INT_PTR* result, HWND* owner) {
    MSG msg;
    if (!PeekMessageW(&msg, hwnd, kMsgMenuResult, kMsgMenuResult, PM_REMOVE)) return false;
    *result = static_cast<INT_PTR>(msg.wParam);
    *owner = reinterpret_cast<HWND>(msg.lParam);
    return true;
  }
  // Posted to run hook on the window's thread (inside an open menu's loop).
  static constexpr UINT kMsgRunHook = WM_APP + 77;
  std::function<void()> hook;
  HWND hwnd;
  int rightCode = -1;
  UINT rightItem = 0;
  int hideTips = 0;
};

std::vector<HWND> OpenMenus() {
  std::vector<HWND> menus;
  HWND w = nullptr;
  while ((w = FindWindowExW(nullptr, w, L"#32768", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) menus.push_back(w);
  }
  return menus;
}

void PressKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(30);  // lets the menu loop take each key in turn
  }
}

// Runs the steps on a second thread while the menu loop runs on this one.
struct Driver {
  template <typename F>
  explicit Driver(F steps) : thread([this, steps] { ok = steps(); }) {}
  ~Driver() { Join(); }
  void Join() {
    if (thread.joinable()) thread.join();
  }
  std::atomic<bool> ok{false};
  std::thread thread;
};

struct Fixture {
  Fixture() {
    InitLog(dir.File(L"log.txt").c_str());
    SetGuardReportBoxes(false);
    store.Nodes().push_back(Phrase(1, L"One", L"first phrase"));
    store.Nodes().push_back(Phrase(2, L"Two", L"second phrase"));
    CPhraseMenuOptions options;
    options.insertHistory = true;
    options.menuToolTips = false;
    options.addLastUsedToBegin = false;
    handler.SetOptions(options, 3);
  }
  ~Fixture() { TermLog(); }
  CMenuRequest Request(int x = 300, int y = 200) {
    CMenuRequest request;
    request.hwndForMenu = tray.hwnd;
    request.x = x;
    request.y = y;
    return request;
  }
  qlrtest::TempDir dir;
  Tray tray;
  CPhraseStore store;
  FakeHistory history{3};
  IDataNeededHander_MenuSelf handler{tray.hwnd, kMsgMenuResult, &store, &history, tray.hwnd};
};

TEST(MenuHandlerTest, KeysChooseItemsAndTheResultIsPosted) {
  struct Case {
    std::vector<WORD> keys;
    INT_PTR result;
  } cases[] = {
      {{VK_DOWN, VK_DOWN, VK_RETURN}, 2},
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 2000},  // the label above the history is skipped
      {{VK_ESCAPE}, -1},
      {{VK_UP, VK_RETURN}, -6},      // "Technical Support", the last item
      {{VK_UP, VK_UP, VK_UP, VK_RETURN}, -2},  // "Edit menu\settings"
  };
  Fixture f;
  for (const Case& c : cases) {
    POINT cursor = {};
    Driver driver([&] {
      if (!qlrtest::WaitUntil([] { return OpenMenus().size() == 1; }, 10000)) return false;
      GetCursorPos(&cursor);
      for (WORD key : c.keys) PressKeys({key});
      return true;
    });
    f.handler.OnDataNeeded(f.Request(), nullptr);
    driver.Join();
    EXPECT_TRUE(driver.ok);
    INT_PTR result = 0;
    HWND owner = nullptr;
    ASSERT_TRUE(f.tray.TakeResult(&result, &owner));
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(f.tray.hwnd, owner);
    EXPECT_EQ(300, cursor.x);
    EXPECT_EQ(200, cursor.y);
    EXPECT_FALSE(f.handler.IsMenuShown());
  }
  // The history was locked exactly while each menu was open.
  ASSERT_EQ(10u, f.history.lockChanges.size());
  for (size_t i = 0; i < f.history.lockChanges.size(); ++i) EXPECT_EQ(i % 2 == 0, f.history.lockChanges[i]);
  EXPECT_EQ(5, f.tray.hideTips);
}

// A request dispatched inside the open menu's loop (the next hotkey press,
// a query) is ignored: no menu inside the menu, one result in all.
TEST(MenuHandlerTest, ARequestWhileTheMenuIsOpenIsIgnored) {
  Fixture f;
  std::atomic<size_t> menusDuringNested{0};
  std::atomic<bool> nestedReturned{false};
  f.tray.hook = [&] {
    EXPECT_TRUE(f.handler.IsRequestOpen());
    f.handler.OnDataNeeded(f.Request(320, 220), nullptr);
    nestedReturned = true;
    menusDuringNested = OpenMenus().size();
  };
  Driver driver([&] {
    if (!qlrtest::WaitUntil([] { return OpenMenus().size() == 1; }, 10000)) return false;
    PostMessageW(f.tray.hwnd, Tray::kMsgRunHook, 0, 0);
    const bool ignored = qlrtest::WaitUntil([&] { return nestedReturned.load(); }, 10000);
    // A nested menu would hold the hook: close both.
    PressKeys({VK_ESCAPE});
    if (!ignored) PressKeys({VK_ESCAPE, VK_ESCAPE});
    return ignored;
  });
  f.handler.OnDataNeeded(f.Request(), nullptr);
  driver.Join();
  EXPECT_TRUE(driver.ok);
  EXPECT_EQ(1u, menusDuringNested.load());
  EXPECT_FALSE(f.handler.IsRequestOpen());
  INT_PTR result = 0;
  HWND owner = nullptr;
  ASSERT_TRUE(f.tray.TakeResult(&result, &owner));
  EXPECT_EQ(-1, result);
  EXPECT_FALSE(f.tray.TakeResult(&result, &owner));
  f.tray.hook = nullptr;
}

TEST(MenuHandlerTest, NoItemsNoMenuAndMinusOne) {
  Fixture f;
  for (CPhraseNode& node : f.store.Nodes()) node.enabled = false;
  CPhraseMenuOptions options = NoExtras();
  f.handler.SetOptions(options, 3);
  f.handler.OnDataNeeded(f.Request(), nullptr);
  INT_PTR result = 0;
  HWND owner = nullptr;
  ASSERT_TRUE(f.tray.TakeResult(&result, &owner));
  EXPECT_EQ(-1, result);
}

TEST(MenuHandlerTest, RightClickMenuSendsItsAction) {
  Fixture f;
  Driver driver([&] {
    if (!qlrtest::WaitUntil([] { return OpenMenus().size() == 1; }, 10000)) return false;
    HMENU menu = f.handler.GetShownMenu();
    HWND tracker = f.handler.GetTracker()->GetWindow();
    // Wine never sends it; a right click on the second phrase, as Windows would report it.
    SendNotifyMessageW(tracker, WM_MENURBUTTONUP, 1, reinterpret_cast<LPARAM>(menu));
    if (!qlrtest::WaitUntil([] { return OpenMenus().size() == 2; }, 10000)) return false;
    // The nested menu may show before its loop takes keys: Down until its
    // first entry ("Copy") is highlighted, then Enter.
    HMENU nested = nullptr;
    for (HWND w : OpenMenus()) {
      HMENU m = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
      if (m && m != menu) nested = m;
    }
    if (!nested) return false;
    auto firstLit = [&] { return (GetMenuState(nested, 0, MF_BYPOSITION) & MF_HILITE) != 0; };
    for (int tries = 0; tries < 3 && !firstLit(); ++tries) {
      bool anyLit = false;
      for (int i = 0; i < GetMenuItemCount(nested); ++i)
        anyLit = anyLit || (GetMenuState(nested, i, MF_BYPOSITION) & MF_HILITE);
      if (!anyLit) PressKeys({VK_DOWN});
      qlrtest::WaitUntil(firstLit, 1000);
    }
    if (!firstLit()) return false;
    PressKeys({VK_RETURN});
    if (!qlrtest::WaitUntil([] { return OpenMenus().size() < 2; }, 10000)) return false;
    // Wine ends the phrase menu together with the nested one; Windows keeps it open.
    if (!OpenMenus().empty()) PressKeys({VK_ESCAPE});
    return true;
  });
  f.handler.OnDataNeeded(f.Request(), nullptr);
  driver.Join();
  EXPECT_TRUE(driver.ok);
  EXPECT_EQ(0, f.tray.rightCode);
  EXPECT_EQ(2u, f.tray.rightItem);

}

TEST(MenuHandlerTest, RightClickRefusedOnFoldersSeparatorsAndFixedCommands) {
  Fixture f;
  std::vector<CPhraseNode> children;
  children.push_back(Phrase(5, L"Five", L"five"));
  f.store.Nodes().push_back(Folder(L"F", std::move(children)));
  CMenuRequest request = f.Request();
  HMENU menu = f.handler.MakeMenu(request, &f.store);
  ASSERT_TRUE(menu);
  ASSERT_EQ(L"1 2 - [F] -Clipboard History [3/3]- 2000 2001 2002 - 32772 ~32826 -Visit to us- 32784", Outline(menu));
  CMenuTracker tracker(&f.handler, false);
  ASSERT_TRUE(tracker.Create());
  for (UINT pos : {2u, 3u, 4u, 8u, 9u, 10u, 12u}) {
    EXPECT_EQ(TRUE, SendMessageW(tracker.GetWindow(), WM_MENURBUTTONUP, pos, reinterpret_cast<LPARAM>(menu))) << pos;
    EXPECT_FALSE(tracker.IsContextMenuOpen());
    EXPECT_TRUE(OpenMenus().empty()) << pos;
  }
  EXPECT_EQ(-1, f.tray.rightCode);
  f.handler.CleanupMenu(menu);
  DestroyMenu(menu);
}

TEST(MenuHandlerTest, TooltipShownAfterItsDelayAndGoneWithTheMenu) {
  Fixture f;
  CPhraseMenuOptions options = f.handler.GetOptions();
  options.menuToolTips = true;
  f.handler.SetOptions(options, 3);
  // The second menu finds the tracker the first one left: it must serve it
  // as a new one, tip and all.
  for (int round = 0; round < 2; ++round) {
    HWND tip = nullptr;
    DWORD selectedAt = 0, shownAt = 0;
    std::wstring text;
    // A step that fails closes the menu, so that the test ends.
    auto fail = [] {
      PressKeys({VK_ESCAPE});
      return false;
    };
    Driver driver([&] {
      if (!qlrtest::WaitUntil([] { return OpenMenus().size() == 1; }, 10000)) return fail();
      // The tip window is made once the menu is up, not before it.
      if (!qlrtest::WaitUntil([&] { return (tip = f.handler.GetTracker()->GetTipWindow()) != nullptr; }, 5000))
        return fail();
      if (IsWindowVisible(tip)) return fail();
      PressKeys({VK_DOWN});
      selectedAt = GetTickCount();
      if (!qlrtest::WaitUntil([&] { return IsWindowVisible(tip) != FALSE; }, 5000)) return fail();
      shownAt = GetTickCount();
      wchar_t buffer[1024] = {};
      TTTOOLINFOW info = {};
      info.cbSize = sizeof(info);
      info.hwnd = f.handler.GetTracker()->GetWindow();
      info.uId = reinterpret_cast<UINT_PTR>(info.hwnd);
      info.lpszText = buffer;
      SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
      text = buffer;
      PressKeys({VK_ESCAPE});
      return true;
    });
    f.handler.OnDataNeeded(f.Request(), nullptr);
    driver.Join();
    ASSERT_TRUE(driver.ok) << round;
    EXPECT_GE(shownAt - selectedAt, 400u) << round;
    EXPECT_EQ(0u, text.find(L"Insert plain text \u00BB One")) << round << " " << qlrtest::ToUtf8(text);
    EXPECT_FALSE(IsWindow(tip)) << round;
    EXPECT_EQ(nullptr, GetCurrentMenuToolTip()) << round;
  }
}

TEST(MenuHandlerTest, LastUsedIdsThroughTheCallbackAndAReload) {
  Fixture f;
  static int refused = -1;
  f.handler.SetPreSetCallback([](void*, int id) -> BOOL { return id != refused; }, nullptr);
  f.store.Nodes()[0].SetFilePath(L"C:\\p\\one.quillora");
  f.store.Nodes()[1].SetFilePath(L"C:\\p\\two.quillora");
  EXPECT_TRUE(f.handler.SetLastID(1));
  EXPECT_TRUE(f.handler.SetLastID(2));
  refused = 1;
  EXPECT_FALSE(f.handler.SetLastID(1));
  EXPECT_EQ(2, f.handler.GetLastUsedId());
  EXPECT_EQ((std::vector<std::uint32_t>{2, 1}), f.handler.GetLastUsedIds());
  // Reloaded: the phrases got new ids, and "one" is gone.
  f.store.Nodes().clear();
  f.store.Nodes().push_back(Phrase(12, L"Two", L"second phrase"));
  f.store.Nodes().back().SetFilePath(L"C:\\p\\two.quillora");
  f.handler.OnPhrasesReloaded();
  EXPECT_EQ((std::vector<std::uint32_t>{12}), f.handler.GetLastUsedIds());
  EXPECT_EQ(12, f.handler.GetLastUsedId());
}

// Everything a shown menu holds, submenus inside braces: kinds, states, ids
// and every field of the item records. The handles of the submenus of the
// top level go to subs.
std::wstring Snapshot(HMENU menu, std::vector<HMENU>* subs = nullptr) {
  std::wstring out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    out += L"(" + IntToStr(static_cast<int>(info.fType)) + L" " + IntToStr(static_cast<int>(info.fState)) + L" " +
           IntToStr(static_cast<int>(info.hSubMenu ? 0 : info.wID));
    if (const CMenuItemData* d = GetMenuItemDataByPos(menu, i)) {
      for (const wchar_t* text : {d->GetCaption(), d->GetHint(), d->GetCommandText()})
        out += L" |" + std::wstring(text ? text : L"");
      out += L" |" + d->GetToolTip() + L" |" + d->expandedText;
      for (long long n : {static_cast<long long>(d->historyFlag), static_cast<long long>(d->bitmapFlag),
                          static_cast<long long>(d->dataType), static_cast<long long>(d->position),
                          static_cast<long long>(d->kindFlags), static_cast<long long>(d->highlight),
                          static_cast<long long>(d->commandId), static_cast<long long>(d->markerPosition),
                          static_cast<long long>(d->lastUsedIndex)})
        out += L" " + std::to_wstring(n);
    }
    if (info.hSubMenu) {
      out += L" {" + Snapshot(info.hSubMenu) + L"}";
      if (subs) subs->push_back(info.hSubMenu);
    }
    out += L")\n";
  }
  return out;
}

// Random changes between openings (phrases renamed, rewritten, added,
// deleted, excluded, moved; the last-used list, the selection, the
// clipboard text, the language): every menu shown, kept folder submenus
// and all, equals one built fresh from the same state, and folders nothing
// changed in keep their submenus.
TEST(MenuHandlerTest, KeptFolderMenusAlwaysShowWhatAFreshBuildWould) {
  struct P {
    std::uint32_t id;
    std::wstring name, text;
    bool enabled = true, needsSelection = false;
    std::uint32_t flags = 0;
  };
  // Four folders; the last phrases of each go into a folder inside it.
  std::vector<std::vector<P>> folders(4);
  std::uint32_t nextId = 10;
  const std::wstring texts[] = {L"plain words", L"from [%CLIPBOARD_TEXT%]", L"two\r\nlines", L"%SELECTED_TEXT% kept",
                                L"%USERNAME% here"};
  for (auto& folder : folders)
    for (int i = 0; i < 4; ++i) folder.push_back({nextId, L"P" + IntToStr(static_cast<int>(nextId)), texts[i % 2 * 2]}), ++nextId;

  Fixture f;
  CPhraseMenuOptions options = f.handler.GetOptions();
  options.addLastUsedToBegin = true;
  f.handler.SetOptions(options, 3);
  auto reload = [&] {
    while (f.store.Nodes().size() > 2) f.store.Nodes().pop_back();
    for (CPhraseNode& node : f.store.Nodes()) node.ClearTextCaches();
    for (size_t k = 0; k < folders.size(); ++k) {
      std::vector<CPhraseNode> outer, inner;
      for (size_t i = 0; i < folders[k].size(); ++i) {
        const P& p = folders[k][i];
        CPhraseNode node = Phrase(p.id, p.name, p.text);
        node.enabled = p.enabled;
        node.disabledIsNoHasSelection = p.needsSelection;
        node.flagsMenu = p.flags;
        (i >= 3 ? inner : outer).push_back(std::move(node));
      }
      if (!inner.empty()) outer.push_back(Folder(L"Inner", std::move(inner)));
      f.store.Nodes().push_back(Folder(L"F" + IntToStr(static_cast<int>(k)), std::move(outer)));
    }
    f.handler.OnPhrasesReloaded();
  };
  reload();

  qlrtest::TempDir lngDir;
  const std::wstring lng = lngDir.File(L"Other.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Main]\r\nLangPrefix=Ot\r\n[Strings]\r\n162=Klartext\r\n259=Zeichen\r\n281=Rechtsklick\r\n"));
  ASSERT_TRUE(SetLngStringFile(lng, L""));
  SetCurrentLanguage(L"");

  std::mt19937 random(20261210);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  bool selected = false, otherLanguage = false;
  std::wstring clipboard = L"clip";
  std::vector<HMENU> before;
  std::vector<int> order;
  int kept = 0;
  for (int step = 0; step < 36; ++step) {
    std::vector<P>& folder = folders[pick(folders.size())];
    P& phrase = folder[pick(folder.size())];
    // Each change in every round of twelve, in a random order.
    if (order.empty()) {
      for (int a = 0; a < 12; ++a) order.push_back(a);
      std::shuffle(order.begin(), order.end(), random);
    }
    const int action = order.back();
    order.pop_back();
    switch (action) {
      case 0: phrase.name += L"x"; break;
      case 1: phrase.text = texts[pick(5)]; break;
      case 2: folder.insert(folder.begin() + static_cast<std::ptrdiff_t>(pick(folder.size())), P{nextId++, L"New", texts[pick(5)]}); break;
      case 3: if (folder.size() > 1) folder.erase(folder.begin() + static_cast<std::ptrdiff_t>(pick(folder.size()))); break;
      case 4: phrase.enabled = !phrase.enabled; break;
      case 5: phrase.needsSelection = !phrase.needsSelection; break;
      case 6: phrase.flags = static_cast<std::uint32_t>(pick(4)); break;
      case 7: f.handler.SetLastID(static_cast<int>(phrase.id)); break;
      case 8: selected = !selected; break;
      case 9: clipboard += L"+"; break;
      case 10:
        otherLanguage = !otherLanguage;
        SetCurrentLanguage(otherLanguage ? lng : L"");
        f.store.ClearTextCaches();  // as the tray does on a new language
        break;
      default: break;  // nothing changes
    }
    if (action <= 6) reload();
    f.handler.SetClipboardText(clipboard);
    CMenuRequest request = f.Request();
    request.selectedText = L"the selection";
    request.selectionFlag = selected ? 1 : 0;

    std::wstring shown;
    std::vector<HMENU> subs;
    const bool wander = step % 4 == 3;  // into the last folder and back out
    Driver driver([&] {
      if (!qlrtest::WaitUntil([] { return OpenMenus().size() == 1; }, 10000)) return false;
      shown = Snapshot(f.handler.GetShownMenu(), &subs);
      if (wander) PressKeys({VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RIGHT, VK_DOWN});
      for (int tries = 0; tries < 5 && !OpenMenus().empty(); ++tries) {
        PressKeys({VK_ESCAPE});
        qlrtest::WaitUntil([] { return OpenMenus().empty(); }, 1000);
      }
      return OpenMenus().empty();
    });
    f.handler.OnDataNeeded(request, nullptr);
    driver.Join();
    ASSERT_TRUE(driver.ok) << step;
    INT_PTR result = 0;
    HWND owner = nullptr;
    while (f.tray.TakeResult(&result, &owner)) {
    }

    std::vector<std::uint32_t> ids = f.handler.GetLastUsedIds();
    CPhraseMenuMacros macros;
    CPhraseMenuRequest fresh;
    fresh.store = &f.store;
    fresh.lastUsed = &ids;
    fresh.lastUsedId = static_cast<std::uint32_t>(f.handler.GetLastUsedId());
    fresh.texts.selectedText = selected ? request.selectedText : std::wstring();
    fresh.texts.clipboardText = clipboard;
    fresh.texts.macros = &macros;
    fresh.hasSelection = selected;
    fresh.history = &f.history;
    fresh.options = f.handler.GetOptions();
    HMENU menu = CPhraseMenuBuilder(fresh).Build();
    ASSERT_TRUE(menu);
    EXPECT_EQ(qlrtest::ToUtf8(Snapshot(menu)), qlrtest::ToUtf8(shown)) << "step " << step << " action " << action;
    FreeMenuItemData(menu);
    DestroyMenu(menu);
    for (HMENU sub : subs) kept += std::count(before.begin(), before.end(), sub) ? 1 : 0;
    before = subs;
  }
  SetCurrentLanguage(L"");
  // Most openings change one folder at most: the others were kept.
  EXPECT_GT(kept, 36);
}

// A history whose queue fails in the middle of the menu building.
class BrokenHistory : public FakeHistory {
 public:
  BrokenHistory() : FakeHistory(2) {}
  std::wstring GetMenuText(int) override {
    volatile int* nowhere = nullptr;
    return std::wstring(1, static_cast<wchar_t>(*nowhere));
  }
};

TEST(MenuHandlerTest, AFaultInTheHistorySectionIsReportedAndTheMenuStillBuilt) {
  Fixture f;
  BrokenHistory broken;
  IDataNeededHander_MenuSelf handler(f.tray.hwnd, kMsgMenuResult, &f.store, &broken, f.tray.hwnd);
  handler.SetOptions(f.handler.GetOptions(), 3);
  HMENU menu = handler.MakeMenu(f.Request(), &f.store);
  ASSERT_TRUE(menu);
  EXPECT_EQ(0u, Outline(menu).find(L"1 2 -Clipboard History [2/2]-"));
  handler.CleanupMenu(menu);
  DestroyMenu(menu);
  WaitLogWritten(5000);
  std::string log = qlrtest::ReadBytes(f.dir.File(L"log.txt"));
  std::wstring wide = qlrtest::ReadUtf16File(f.dir.File(L"log.txt"));
  const char kNarrow[] = "Exception in IDataNeededHander_MenuSelf::AddClipboardHistoryIntoMenu GetExceptionCode=3221225477 "
                         "status=[EXCEPTION_ACCESS_VIOLATION]";
  EXPECT_TRUE(log.find(kNarrow) != std::string::npos ||
              wide.find(qlrtest::FromUtf8(kNarrow)) != std::wstring::npos);
}

}  // namespace
