// The tray menu's commands in the real Quillora.exe: quick settings saved
// in Settings.ini, the autostart value, the clipboard history's commands,
// the pane, the services, the programs of the suite and the web pages.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_menu_probe.h"
#include "tests/support/test_support.h"

namespace {

using qlre2e::MenuDump;

constexpr UINT kGetClipboardHandler = 32783;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The pane is found by its class: its title counts the history items.
constexpr wchar_t kPaneClass[] = L"QuilloraFloatPane";

int CopyFromPeer(const std::wstring& text) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"), L"text \"" + text + L"\"",
                             qlre2e::kWaitMs);
}

bool PutBitmapOnClipboard() {
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return false;
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  bool set = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  CloseClipboard();
  return set;
}

bool RunValueExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  bool exists = RegQueryValueExW(key, L"Quillora", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return exists;
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class TrayMenuCommandsE2eTest : public qlre2e::TrayMenuTest {
 protected:
  LRESULT Command(WORD id) { return SendMessageW(tray, WM_COMMAND, id, 0); }
  bool HistoryRuns() { return SendMessageW(tray, kGetClipboardHandler, 0, 0) != 0; }
  std::vector<std::wstring> HistoryEntries() {
    MenuDump menu = OpenAndRead();
    std::vector<std::wstring> out;
    for (const auto& item : menu.items)
      if (!item.Has(L'P') && item.id >= 34000 && item.id <= 34099) out.push_back(item.caption);
    return out;
  }
  size_t HistoryMenuSize() {
    MenuDump menu = OpenAndRead();
    const qlre2e::MenuItemDump* popup = menu.FindPopup(L"Clipboard History");
    return popup ? menu.Children(popup).size() : 0;
  }
};

TEST_F(TrayMenuCommandsE2eTest, QuickSettingsAreInvertedAndSavedAndAutostartIsWrittenAndDeleted) {
  SetSetting(L"SoundOnEventsV094", L"0");
  SetSetting(L"ShowHistoryPaneOnStart", L"0");
  SetSetting(L"SaveClipboardHistory_v198", L"0");
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  struct Case {
    WORD id;
    const wchar_t* key;
  } cases[] = {{32817, L"SoundOnEventsV094"},
               {32815, L"WriteLog"},
               {32827, L"ShowHistoryPaneOnStart"},
               {32809, L"SaveClipboardHistory_v198"}};
  for (const Case& c : cases) {
    const std::wstring before = Setting(c.key);
    ASSERT_TRUE(before == L"0" || before == L"1") << qlrtest::ToUtf8(c.key);
    const std::wstring inverted = before == L"0" ? L"1" : L"0";
    EXPECT_EQ(Command(c.id), 0);
    EXPECT_EQ(Setting(c.key), inverted) << qlrtest::ToUtf8(c.key);
    MenuDump menu = OpenAndRead();
    ASSERT_NE(menu.Find(c.id), nullptr);
    EXPECT_EQ(menu.Find(c.id)->Has(L'C'), inverted == L"1") << c.id;
    EXPECT_EQ(Command(c.id), 0);
    EXPECT_EQ(Setting(c.key), before) << qlrtest::ToUtf8(c.key);
  }
  // The log closed by the command writes nothing until it is opened again.
  Command(32815);
  const std::wstring closed = LogText();
  OpenAndRead();
  EXPECT_EQ(LogText(), closed);
  Command(32815);
  OpenAndRead();
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return LogText() != closed; }, kProgramWaitMs));

  // Another program's start may have written the value: begin without it.
  HKEY run = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
    RegDeleteValueW(run, L"Quillora");
    RegCloseKey(run);
  }
  ASSERT_FALSE(RunValueExists());
  Command(32774);
  EXPECT_TRUE(RunValueExists());
  MenuDump menu = OpenAndRead();
  EXPECT_TRUE(menu.Find(32774)->Has(L'C'));
  Command(32774);
  EXPECT_FALSE(RunValueExists());
  ExitTray();
}

TEST_F(TrayMenuCommandsE2eTest, KeepAndReKeepNeitherLoseNorDoubleTheHistory) {
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"SaveClipboardHistory_v198", L"1");
  ASSERT_TRUE(qlrtest::PutClipboardText(L"first"));
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return HistoryRuns(); }, kProgramWaitMs)) << qlrtest::ToUtf8(LogText());
  // Another program's text: its "&" shows as itself, a long line is cut.
  const std::wstring second = L"Tom & Jerry " + std::wstring(60, L'x');
  ASSERT_EQ(CopyFromPeer(second), 0);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=2")) << qlrtest::ToUtf8(LogText());
  const std::vector<std::wstring> entries = HistoryEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], L" Tom && Jerry " + std::wstring(50 - 12, L'x') + L"\u2026");
  const size_t size = HistoryMenuSize();

  Command(32786);
  EXPECT_FALSE(HistoryRuns());
  // A session unlock does not undo the user's choice.
  EXPECT_EQ(SendMessageW(tray, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1), 1);
  EXPECT_FALSE(HistoryRuns());
  Command(32786);
  EXPECT_TRUE(HistoryRuns());
  EXPECT_EQ(HistoryMenuSize(), size);
  EXPECT_EQ(HistoryEntries(), entries);

  Command(32819);
  EXPECT_TRUE(HistoryRuns());
  EXPECT_EQ(HistoryEntries(), entries);
  ExitTray();
}

TEST_F(TrayMenuCommandsE2eTest, ClearKeepsTheProtectedItemAcrossAnExitAtOnce) {
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"SaveClipboardHistory_v198", L"1");
  ASSERT_TRUE(qlrtest::PutClipboardText(L"keep me"));
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=1"));
  ASSERT_EQ(CopyFromPeer(L"drop me"), 0);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=2"));
  ExitTray();
  // The first capture is the first descriptor; protect it on disk.
  const std::wstring first = dir.File(L"ClipboardHistory\\quillora_cb1.info");
  ASSERT_NE(GetFileAttributesW(first.c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(WritePrivateProfileStringW(L"Files", L"Protected", L"1", first.c_str()));

  ASSERT_TRUE(qlrtest::PutClipboardText(L"drop me"));
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return HistoryEntries().size() == 2; }, kProgramWaitMs));
  EXPECT_EQ(Command(32789), 0);
  PostMessageW(tray, WM_COMMAND, 57665, 0);
  EXPECT_EQ(child.Wait(kProgramWaitMs), 0);

  // Nothing on the clipboard for the next start to record.
  ASSERT_TRUE(qlrtest::WaitUntil([] {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    CloseClipboard();
    return true;
  }));
  ASSERT_NE(StartTray(L""), nullptr);
  std::vector<std::wstring> entries;
  qlrtest::WaitUntil([&] { return (entries = HistoryEntries()).size() == 1; }, 5000, 300);
  EXPECT_EQ(entries, std::vector<std::wstring>{L" keep me"});
  ExitTray();
}

TEST_F(TrayMenuCommandsE2eTest, HistoryEntriesPutTextAndPictureBackOnTheClipboard) {
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"ClipboardFormats2", L"1");  // pictures too
  ASSERT_TRUE(qlrtest::PutClipboardText(L"the text item"));
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=1"));
  ASSERT_TRUE(PutBitmapOnClipboard());
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=2")) << qlrtest::ToUtf8(LogText());
  // Ids follow the order of the menu last shown, newest first.
  auto idOf = [&](const std::wstring& caption) {
    std::vector<std::wstring> entries = HistoryEntries();
    auto at = std::find(entries.begin(), entries.end(), caption);
    return at == entries.end() ? WORD(0) : static_cast<WORD>(34000 + (at - entries.begin()));
  };
  const WORD text = idOf(L" the text item");
  ASSERT_EQ(text, 34001);
  Command(text);
  EXPECT_TRUE(qlrtest::WaitUntil([] { return qlrtest::ClipboardText() == L"the text item"; }));
  // The history sees the text come back and moves it to the top.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return idOf(L" the text item") == 34000; }, kProgramWaitMs));
  const WORD picture = idOf(L" Bitmap");
  ASSERT_NE(picture, 0);
  Command(picture);
  EXPECT_TRUE(qlrtest::WaitUntil([] { return IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }));
  // Past the history: nothing happens.
  Command(34050);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  ExitTray();
}

// A browser's copy picked from the tray menu: its HTML comes back with it,
// and the history keeps the entry itself (once, with its files).
TEST_F(TrayMenuCommandsE2eTest, ARichEntryComesBackWithItsHtmlAndStaysOnce) {
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"SaveClipboardHistory_v198", L"1");
  ASSERT_TRUE(qlrtest::PutClipboardText(L"first"));
  ASSERT_NE(StartTray(L""), nullptr);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=1"));
  ASSERT_EQ(qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"),
                                L"rich \"rich entry\" \"https://origin.example/a\"", qlre2e::kWaitMs),
            0);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=2"));
  ASSERT_EQ(CopyFromPeer(L"later"), 0);
  ASSERT_TRUE(WaitForLog(L"Event OnClipboardHistoryChanged, Count=3"));
  auto richId = [&] {
    std::vector<std::wstring> entries = HistoryEntries();
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].find(L"rich entry") != std::wstring::npos) return static_cast<WORD>(34000 + i);
    return WORD(0);
  };
  ASSERT_EQ(richId(), 34001);
  Command(richId());
  EXPECT_TRUE(qlrtest::WaitUntil([] {
    return IsClipboardFormatAvailable(RegisterClipboardFormatW(L"HTML Format")) &&
           qlrtest::ClipboardText().find(L"rich entry") == 0;
  }));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return richId() == 34000; }, kProgramWaitMs));
  EXPECT_EQ(HistoryEntries().size(), 3u);
  ExitTray();
  int descriptors = 0, withHtml = 0;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(dir.File(L"ClipboardHistory\\*.info").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    ++descriptors;
    wchar_t second[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Files", L"File1", L"", second, MAX_PATH,
                             dir.File(std::wstring(L"ClipboardHistory\\") + found.cFileName).c_str());
    if (std::wstring(second).find(L".html") != std::wstring::npos) ++withHtml;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  EXPECT_EQ(descriptors, 3);
  EXPECT_EQ(withHtml, 1);
}

TEST_F(TrayMenuCommandsE2eTest, PaneCommandAndThePhraseMenusPaneAndSupportEntries) {
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  auto pane = [&] { return qlrtest::FindProcessWindow(child.Pid(), kPaneClass); };
  Command(32792);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return pane() != nullptr; }));
  Command(32792);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return pane() == nullptr; }));

  // The phrase menu's choices reach the window as WM_COPYDATA does.
  auto choose = [&](int id) {
    BYTE block[138] = {};
    memcpy(block, &id, sizeof(id));
    COPYDATASTRUCT data = {0, sizeof(block), block};
    return SendMessageW(tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  };
  EXPECT_EQ(choose(-3), 1);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return pane() != nullptr; }));
  EXPECT_EQ(choose(-6), 1);
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] { return Requests().find("open\thttps://www.quillora.example/home_support.php\t") != std::string::npos; }))
      << Requests();
  ExitTray();
}

TEST_F(TrayMenuCommandsE2eTest, EnableMenuOfPhrasesStopsAndStartsTheServices) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  CopyLibrary();
  ASSERT_NE(StartTray(L""), nullptr);
  EXPECT_FALSE(qlre2e::DefaultHotkeyIsFree());
  Command(32770);
  EXPECT_TRUE(qlre2e::DefaultHotkeyIsFree());
  EXPECT_FALSE(OpenAndRead().Find(32770)->Has(L'C'));
  Command(32770);
  EXPECT_FALSE(qlre2e::DefaultHotkeyIsFree());
  EXPECT_TRUE(OpenAndRead().Find(32770)->Has(L'C'));
  ExitTray();
}

TEST_F(TrayMenuCommandsE2eTest, ProgramsAndPagesGoThroughTheShellToTheirAddresses) {
  ASSERT_NE(StartTray(L"/noinstall"), nullptr);
  auto starts = [&] { return qlrtest::ReadUtf16File(dir.File(L"editor_starts.txt")); };
  Command(32772);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return starts() == L"start\n"; }, kProgramWaitMs));
  Command(32785);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return starts() == L"start\nstart\n"; }, kProgramWaitMs));
  EXPECT_NE(qlrtest::ReadUtf16File(dir.File(L"editor_cmdline.txt")).find(L"/addfromcb"), std::wstring::npos);

  const WORD pages[] = {32830, 32781, 32823, 32782, 32825, 32790, 32818, 32831, 32783, 32784, 32776, 32832};
  for (WORD id : pages) Command(id);
  const std::string log = Requests();
  EXPECT_EQ(CountOf(log, "\n"), std::size(pages)) << log;
  EXPECT_NE(log.find("open\t" + qlrtest::ToUtf8(dir.File(L"Settings.ini")) + "\t"), std::string::npos) << log;
  EXPECT_NE(log.find("open\t" + qlrtest::ToUtf8(dir.File(L"Quillora_Welcome.exe")) + "\t\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("open\tmailto:support@quillora.example"), std::string::npos) << log;
  EXPECT_NE(log.find("open\thttps://www.quillora.example/community.php\t"), std::string::npos) << log;
  EXPECT_EQ(CountOf(log, "quillora.example"), std::size(pages) - 2) << log;
  ExitTray();
}

}  // namespace
