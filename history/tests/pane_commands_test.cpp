// The history pane's item menu rules and its commands, run on a real pane
// over a real handler's items, with the clipboard, the shell door and a
// stand-in tray window watched.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/system/shell_open.h"
#include "history/actions/shell_actions.h"
#include "history/actions/web_search.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_host.h"
#include "history/pane/pane_menu_state.h"
#include "history/pane/pane_save.h"
#include "history/tests/history_test_util.h"
#include "history/tests/pane_test_host.h"
#include "settings/settings_files.h"

namespace {

using qlrtest::PumpUntil;
using namespace pane_cmd;

std::vector<UINT>& g_trayCommands = histtest::TrayCommands();
using TestHost = histtest::PaneTestHost;

std::vector<std::wstring> g_opened;
INT_PTR RecordOpen(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*, int) {
  g_opened.push_back(file ? file : L"");
  return 33;
}

std::unique_ptr<CCHItem> Rtf(const std::string& rtf) { return histtest::MakeBytes(kHistoryKindRtf, rtf, true); }

class PaneCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFolders(m_dir.Path(), m_dir.Path());
    g_trayCommands.clear();
    g_opened.clear();
  }
  void TearDown() override {
    SetShellOpenHookForTests(nullptr);
    if (m_pane && m_pane->IsWindow()) m_pane->DestroyWindow();
    m_pane.reset();
    SetSettingsFolders(L"", L"");
  }
  CCHItem* Add(std::unique_ptr<CCHItem> item) {
    CCHItem* raw = item.get();
    raw->number = ++m_numbers;
    // Appended items are the newest: list index 0 is the last one added.
    m_handler.Queue().Append(std::move(item));
    return raw;
  }
  CQLRFloatPane& OpenPane() {
    m_pane = std::make_unique<CQLRFloatPane>(nullptr, nullptr);
    m_pane->SetHost(&m_host);
    EXPECT_TRUE(histtest::OpenFixedPane(*m_pane, &m_handler));
    m_pane->RefreshList();
    return *m_pane;
  }
  void Select(std::initializer_list<int> rows, int mark) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(m_pane->List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows) SendMessageW(m_pane->List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendMessageW(m_pane->List(), LVM_SETSELECTIONMARK, 0, mark);
  }
  void Command(UINT id) { SendMessageW(*m_pane, WM_COMMAND, id, 0); }

  qlrtest::TempDir m_dir;
  histtest::HistoryFolder m_folder;
  CQLRWndClipboardHandler m_handler;
  TestHost m_host;
  std::unique_ptr<CQLRFloatPane> m_pane;
  std::uint32_t m_numbers = 0;
};

// A fresh menu 205 prepared for the facts.
struct MenuProbe {
  explicit MenuProbe(const PaneMenuFacts& facts) {
    HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMenuResource));
    menu = GetSubMenu(bar, 0);
    RemoveMenu(bar, 0, MF_BYPOSITION);
    DestroyMenu(bar);
    PreparePaneMenu(menu, facts);
  }
  ~MenuProbe() { DestroyMenu(menu); }
  bool Enabled(UINT id) const { return !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED); }
  bool Checked(UINT id) const { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  std::wstring Text(UINT id) const { return MenuItemText(menu, id); }
  HMENU menu = nullptr;
};

TEST(PaneMenuStateTest, RulesFollowTheSelectionAndTheItems) {
  auto text = histtest::MakeText(L"hello");
  auto guarded = histtest::MakeText(L"kept");
  guarded->SetProtected(true);
  auto brindle = histtest::MakeBytes(kHistoryKindBrindle, "doc", false);
  auto html = histtest::MakeBytes(kHistoryKindHtml, "<b>x</b>", true);
  auto rtf = Rtf("{\\rtf1 x}");
  auto withAlternates = histtest::MakeText(L"alt");
  withAlternates->alternates.push_back(std::shared_ptr<CCHItem>(Rtf("{\\rtf1 y}").release()));
  withAlternates->alternates.push_back(
      std::shared_ptr<CCHItem>(histtest::MakeBytes(kHistoryKindHtml, "<i>y</i>", true).release()));
  withAlternates->sourceUrl = L"https://example.org/";

  struct Case {
    const char* name;
    std::vector<const CCHItem*> items;
    std::vector<int> selected;
    int mark;
    std::vector<UINT> enabled, disabled, checked, unchecked;
  } cases[] = {
      {"no selection", {text.get()}, {}, -1, {kClear},
       {kCopy, kEdit, kOpenWith, kCopyPlain, kRun, kProtect, kSave, kDelete, kOpenAsUrl, kSearchGoogle,
        kCopySourceUrl, kUndo, kUpper, kTrim}, {}, {kProtect}},
      {"all Brindle", {brindle.get()}, {0}, 0, {kCopy, kOpenWith, kDelete}, {kEdit, kUpper, kTrim, kJoin, kCopyRtf}, {}, {}},
      {"protected only", {guarded.get()}, {0}, 0, {kProtect}, {kClear, kDelete}, {kProtect}, {}},
      {"protected and not", {guarded.get(), text.get()}, {0}, 0, {kClear}, {kDelete}, {kProtect}, {}},
      {"mixed selection", {guarded.get(), text.get()}, {0, 1}, 0, {kClear, kDelete}, {}, {}, {}},
      {"RTF main", {rtf.get()}, {0}, 0, {kCopyRtf, kUpper, kTrim}, {kCopyHtml, kCopySourceUrl, kOpenSourceUrl}, {}, {}},
      {"HTML main", {html.get()}, {0}, 0, {kCopyHtml}, {kCopyRtf, kUpper, kLower, kTrim, kJoin}, {}, {}},
      {"alternates and source", {withAlternates.get()}, {0}, 0,
       {kCopyRtf, kCopyHtml, kCopySourceUrl, kOpenSourceUrl}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    PaneMenuFacts facts;
    facts.items = c.items;
    facts.selected = c.selected;
    facts.mark = c.mark;
    facts.markText = c.mark >= 0 ? L"text" : L"";
    MenuProbe probe(facts);
    EXPECT_EQ(GetMenuDefaultItem(probe.menu, FALSE, GMDI_USEDISABLED), kCopy) << c.name;
    for (UINT id : c.enabled) EXPECT_TRUE(probe.Enabled(id)) << c.name << " " << id;
    for (UINT id : c.disabled) EXPECT_FALSE(probe.Enabled(id)) << c.name << " " << id;
    for (UINT id : c.checked) EXPECT_TRUE(probe.Checked(id)) << c.name << " " << id;
    for (UINT id : c.unchecked) EXPECT_FALSE(probe.Checked(id)) << c.name << " " << id;
  }
}

TEST(PaneMenuStateTest, CaptionsCountTheUndoStepsAndShowTheSearchedText) {
  auto item = histtest::MakeText(L"x");
  PaneMenuFacts facts;
  facts.items = {item.get()};
  facts.selected = {0};
  facts.mark = 0;
  facts.undoCount = 3;
  facts.collapsed = true;
  facts.markText = L"R&D " + std::wstring(80, L'z');
  MenuProbe probe(facts);
  EXPECT_TRUE(probe.Enabled(kUndo));
  EXPECT_EQ(probe.Text(kUndo), L"Undo [3]");
  EXPECT_TRUE(probe.Checked(kMinimizeToCaptionCommand));
  // 70 characters of the text, "&" doubled so that it is no mnemonic.
  EXPECT_EQ(probe.Text(kSearchGoogle), L"Search In Google [R&&D " + std::wstring(66, L'z') + L"\x2026]");
  EXPECT_EQ(probe.Text(kSearchMsdn).substr(0, 15), L"Search In MSDN ");

  facts.undoCount = 0;
  facts.markText = L"short";
  MenuProbe plain(facts);
  EXPECT_FALSE(plain.Enabled(kUndo));
  EXPECT_EQ(plain.Text(kUndo), L"Undo");
  EXPECT_EQ(plain.Text(kSearchYandex), L"Search In Yandex [short]");
  EXPECT_EQ(CountedCaption(L"Undo  [3]", 0), L"Undo [0]");
}

TEST(PaneLinkTest, AddressesGetAPrefixOnlyWhenTheyHaveNone) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"example.org", L"http://example.org"},
      {L"MAILTO:x", L"MAILTO:x"},
      {L"HTTPS://a.b", L"HTTPS://a.b"},
      {L"file:///c:/x", L"file:///c:/x"},
      {L"ftp://h", L"ftp://h"},
      {L"a\r\nb\tc    d", L"http://a b c d"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeLinkAddress(c.in), c.out) << qlrtest::ToUtf8(c.in);
  EXPECT_TRUE(IsWebAddress(L"Http://x"));
  EXPECT_FALSE(IsWebAddress(L"file:///c:/windows/notepad.exe"));
  EXPECT_FALSE(IsWebAddress(L"calc.exe"));
}

TEST_F(PaneCommandsTest, ClearDeleteProtectAndUndoChangeTheHistory) {
  CCHItem* oldest = Add(histtest::MakeText(L"one"));
  Add(histtest::MakeText(L"two"));
  CCHItem* newest = Add(histtest::MakeText(L"three"));
  // The newest item has a file on disk: protection makes it read-only.
  const std::wstring file = m_folder.File(L"three.txt");
  ASSERT_TRUE(qlrtest::WriteBytes(file, "three"));
  newest->SetStoredState(kStoredSaved, file);
  OpenPane();
  Select({0}, 0);
  Command(kProtect);
  EXPECT_TRUE(newest->IsProtected());
  EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);

  Select({1, 2}, 1);
  Command(kDelete);
  EXPECT_EQ(m_handler.GetItemCount(), 1);
  EXPECT_EQ(SendMessageW(m_pane->List(), LVM_GETITEMCOUNT, 0, 0), 1);
  Command(kUndo);
  ASSERT_EQ(m_handler.GetItemCount(), 3);
  EXPECT_GE(m_handler.Queue().IndexOfNumber(oldest->number), 0);
  EXPECT_EQ(SendMessageW(m_pane->List(), LVM_GETITEMCOUNT, 0, 0), 3);

  Command(kClear);  // the protected item stays
  ASSERT_EQ(m_handler.GetItemCount(), 1);
  EXPECT_TRUE(m_handler.GetItem(0)->IsProtected());
  Select({0}, 0);
  Command(kProtect);
  EXPECT_FALSE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
  newest->SetStoredState(kStoredNot, L"");
}

TEST_F(PaneCommandsTest, CopyCommandsPutTheirFormOnTheClipboardWithoutPasting) {
  CCHItem* html = Add(histtest::MakeBytes(kHistoryKindHtml, "<b>caf\xC3\xA9</b>", true));
  CCHItem* text = Add(histtest::MakeText(L"Plain & simple"));
  text->sourceUrl = L"https://example.org/page";
  text->alternates.push_back(std::shared_ptr<CCHItem>(Rtf("{\\rtf1 Rich}").release()));
  text->alternates.push_back(std::shared_ptr<CCHItem>(
      histtest::MakeBytes(kHistoryKindHtml, "<i>\xC3\xA9t\xC3\xA9</i>", true).release()));
  OpenPane();
  ASSERT_TRUE(qlrtest::PutClipboardText(L"sentinel"));
  Select({1}, 1);
  Command(kCopy);  // an HTML item goes back as HTML
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"HTML Format")));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(m_host.reports.empty());
  EXPECT_EQ(m_pane->PendingItemNumber(), html->number);
  Command(kCopyHtml);
  EXPECT_EQ(qlrtest::ClipboardText(), L"<b>caf\x00E9</b>");

  Select({0}, 0);
  Command(kCopy);  // with every form it holds
  EXPECT_EQ(qlrtest::ClipboardText(), L"Plain & simple");
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"Rich Text Format")));
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"HTML Format")));
  EXPECT_EQ(m_host.paperSounds, 0);
  Command(kCopyHtml);
  EXPECT_EQ(qlrtest::ClipboardText(), L"<i>\x00E9t\x00E9</i>");
  Command(kCopySourceUrl);
  EXPECT_EQ(qlrtest::ClipboardText(), L"https://example.org/page");
  Command(kCopyPlain);
  EXPECT_EQ(qlrtest::ClipboardText(), L"Plain & simple");
  Command(kCopyRtf);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(RegisterClipboardFormatW(L"Rich Text Format"));
  std::string rtf = data ? static_cast<const char*>(GlobalLock(data)) : "";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(rtf, "{\\rtf1 Rich}");

  // Empty Clipboard leaves the clipboard empty and free for everyone.
  Command(kEmptyClipboard);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(CountClipboardFormats(), 0);
  CloseClipboard();
  // The reselect finds the copied item again.
  EXPECT_TRUE(PumpUntil([&] { return m_pane->PendingItemNumber() == 0; }, 5000));
  EXPECT_EQ(SendMessageW(m_pane->List(), LVM_GETSELECTIONMARK, 0, 0), 0);
}

TEST_F(PaneCommandsTest, LinksSearchesAndRunGoThroughTheShellDoor) {
  CCHItem* item = Add(histtest::MakeText(L"example.org"));
  OpenPane();
  Select({0}, 0);
  SetShellOpenHookForTests(RecordOpen);
  Command(kOpenAsUrl);
  for (UINT id : {kSearchGoogle, kSearchYandex, kSearchWikipedia, kSearchMsdn}) Command(id);
  Command(kRun);
  item->sourceUrl = L"file:///c:/windows/system32/calc.exe";
  Command(kOpenSourceUrl);  // not a web address: beeps, opens nothing
  item->sourceUrl = L"https://example.org/from";
  Command(kOpenSourceUrl);
  SetShellOpenHookForTests(nullptr);
  ASSERT_EQ(g_opened.size(), 7u);
  EXPECT_EQ(g_opened[0], L"http://example.org");
  const int engines[] = {kSearchEngineGoogle, kSearchEngineYandex, kSearchEngineWikipedia, kSearchEngineMsdn};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g_opened[1 + i], BuildWebSearchAddress(L"example.org", engines[i]));
  EXPECT_NE(g_opened[1].find(L"search1.example"), std::wstring::npos);
  EXPECT_EQ(g_opened[5], L"example.org");
  EXPECT_EQ(g_opened[6], L"https://example.org/from");
}

TEST_F(PaneCommandsTest, SystemCommandsReachTheTrayAndTheWindowMenuGrowsOnce) {
  OpenPane();
  for (UINT id : {kEditPhrases, kTrayOptions, kRunAsAdmin, static_cast<UINT>(pane_ids::kClose), kSounds, kTrayExit})
    SendMessageW(*m_pane, WM_SYSCOMMAND, id, 0);
  PumpUntil([&] { return g_trayCommands.size() >= 6; }, 5000);
  EXPECT_EQ(g_trayCommands, (std::vector<UINT>{32772, 32791, 32829, 57665, 32817, 32819}));
  EXPECT_TRUE(m_pane->IsWindow());

  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, SC_CLOSE, L"Close");
  for (int i = 0; i < 2; ++i) SendMessageW(*m_pane, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, 1));
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetMenuItemID(menu, 2), kMinimizeToCaptionCommand);
  EXPECT_FALSE(GetMenuState(menu, kMinimizeToCaptionCommand, MF_BYCOMMAND) & MF_CHECKED);
  DestroyMenu(menu);
}

// Presses keys in the first visible menu window of this process.
void ChooseInMenu(std::initializer_list<WPARAM> keys) {
  HWND menu = nullptr;
  qlrtest::WaitUntil([&] {
    menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(menu, &pid);
      if (pid == GetCurrentProcessId() && IsWindowVisible(menu)) return true;
    }
    return false;
  }, 10000);
  for (WPARAM key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
}

TEST_F(PaneCommandsTest, RightButtonOnUndoClearsTheUndoPool) {
  Add(histtest::MakeText(L"a"));
  Add(histtest::MakeText(L"b"));
  OpenPane();
  Select({0}, 0);
  Command(kDelete);
  ASSERT_EQ(m_handler.Queue().GetUndoCount(), 1);
  HMENU menu = m_pane->LoadItemMenu();
  ASSERT_NE(menu, nullptr);
  int undoPos = -1;
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    if (GetMenuItemID(menu, i) == kUndo) undoPos = i;
  ASSERT_GE(undoPos, 0);
  EXPECT_EQ(MenuItemText(menu, kUndo), L"Undo [1]");
  std::thread chooser([] { ChooseInMenu({VK_DOWN, VK_RETURN}); });
  SendMessageW(*m_pane, WM_MENURBUTTONUP, undoPos, reinterpret_cast<LPARAM>(menu));
  chooser.join();
  EXPECT_EQ(m_handler.Queue().GetUndoCount(), 0);
  EXPECT_EQ(MenuItemText(menu, kUndo), L"Undo [0]");
  EXPECT_TRUE(GetMenuState(menu, kUndo, MF_BYCOMMAND) & MF_GRAYED);
  DestroyMenu(menu);
}

TEST_F(PaneCommandsTest, TrimOnNothingReportsZeroInABoxThatClosesItself) {
  Add(histtest::MakeText(L"tidy"));
  OpenPane();
  Select({0}, 0);
  std::wstring seen;
  std::thread watcher([&] { seen = qlrtest::WaitForMessageBox(GetCurrentProcessId(), 10000); });
  Command(kTrim);  // returns once the box closed by itself
  watcher.join();
  EXPECT_EQ(seen, L"Removed chars: 0");
}

TEST(PaneSaveTest, PlanFollowsTheKindAndTheHtmlForm) {
  auto text = histtest::MakeText(L"Notes: a/b?\r\nsecond");
  SavePlan plan = MakeSavePlan(*text);
  EXPECT_EQ(plan.extension, L".txt");
  EXPECT_FALSE(plan.htmlChoice);
  EXPECT_EQ(plan.filter, std::wstring(L"Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0\0", 46));
  EXPECT_LE(plan.name.size(), 40u);
  EXPECT_EQ(plan.name.find_first_of(L":/?\r\n"), std::wstring::npos) << qlrtest::ToUtf8(plan.name);
  text->alternates.push_back(std::shared_ptr<CCHItem>(histtest::MakeBytes(kHistoryKindHtml, "<p>", true).release()));
  plan = MakeSavePlan(*text);
  EXPECT_TRUE(plan.htmlChoice);
  EXPECT_EQ(plan.extension, L".htm");
  EXPECT_EQ(plan.filter.substr(0, 26), std::wstring(L"HTML files (*.htm,*.html)\0", 26));
  auto brindle = histtest::MakeBytes(kHistoryKindBrindle, "d", false);
  EXPECT_EQ(MakeSavePlan(*brindle).name, L"Brindle_Document.bnd");
  auto longText = histtest::MakeText(std::wstring(300, L'w'));
  EXPECT_EQ(MakeSavePlan(*longText).name, std::wstring(40, L'w'));

  qlrtest::TempDir dir;
  ASSERT_TRUE(SaveItemAs(*text, dir.File(L"a.htm"), true));
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"a.htm")).substr(0, 3), "<p>");
  ASSERT_TRUE(SaveItemAs(*text, dir.File(L"a.txt"), false));
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"a.txt")).substr(0, 2), "\xFF\xFE");
}

}  // namespace

namespace {

LRESULT CALLBACK RecordingTrayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) g_trayCommands.push_back(LOWORD(wParam));
  return DefWindowProcW(hwnd, msg, wParam, lParam);  // 0: the tray refuses
}

using histtest::ReadOpenMenu;

TEST_F(PaneCommandsTest, CaptionMenuAppendsItsItemsForTheTimeItIsOpen) {
  OpenPane();
  const std::vector<UINT> items = {32844, 0, 32820, 32789, 32819, 0, 32833, 32832, 32817,
                                   32772, 0, 32829, 32791, 57664, 0, 57665};
  // Without a window menu: a popup of its own.
  std::vector<UINT> seen;
  std::thread reader([&] { seen = ReadOpenMenu(); });
  m_pane->ShowCaptionMenu(POINT{100, 100});
  reader.join();
  if (!GetSystemMenu(*m_pane, FALSE)) {
    EXPECT_EQ(seen, items);
  }
  // With one: its items, a separator and the items, for the time it is open.
  SetWindowLongPtrW(*m_pane, GWL_STYLE, GetWindowLongPtrW(*m_pane, GWL_STYLE) | WS_SYSMENU);
  HMENU system = GetSystemMenu(*m_pane, FALSE);
  ASSERT_NE(system, nullptr);
  std::vector<UINT> before;
  for (int i = 0; i < GetMenuItemCount(system); ++i) before.push_back(GetMenuItemID(system, i));
  ASSERT_FALSE(before.empty());
  std::thread again([&] { seen = ReadOpenMenu(); });
  m_pane->ShowCaptionMenu(POINT{100, 100});
  again.join();
  ASSERT_EQ(seen.size(), before.size() + 1 + items.size());
  EXPECT_EQ(std::vector<UINT>(seen.begin() + before.size() + 1, seen.end()), items);
  std::vector<UINT> after;
  for (int i = 0; i < GetMenuItemCount(system); ++i) after.push_back(GetMenuItemID(system, i));
  EXPECT_EQ(after, before);  // the window menu as before
}

TEST_F(PaneCommandsTest, ShowPhraseMenuFromTheCaptionCollapsesAndReportsARefusingTray) {
  OpenPane();
  SetWindowLongPtrW(m_host.tray, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingTrayProc));
  std::wstring box;
  std::thread watcher([&] { box = qlrtest::WaitForMessageBox(GetCurrentProcessId(), 15000); });
  // Returns once the box closed by itself.
  m_pane->RunCaptionChoice(32844);
  watcher.join();
  EXPECT_EQ(m_pane->ShowMode(), 1);
  EXPECT_TRUE(IsWindowVisible(*m_pane));
  EXPECT_NE(std::find(g_trayCommands.begin(), g_trayCommands.end(), 32844u), g_trayCommands.end());
  EXPECT_EQ(box, L"Error on sending to app");
}

}  // namespace
