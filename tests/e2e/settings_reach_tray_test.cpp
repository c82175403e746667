// Choices made on the editor's settings page reach the running tray program:
// for each row the page is changed, saved and closed through its own button
// by an editor the tray did not start, and the tray's behaviour is checked
// from outside.
#include <cstring>
#include <functional>
#include <string>

#include "tests/e2e/editor_session.h"
#include "tests/e2e/hotkey_session.h"

namespace {

using qlrtest::WaitUntil;

constexpr int kHotkeyField = 1001;
constexpr UINT kHotkeySetField = WM_USER + 4;
constexpr int kHotkeyDoubleBox = 3;
constexpr int kHistoryBox = 1012;
constexpr int kHistoryMax = 1013;
constexpr int kTrackingList = 1035;
constexpr int kFormatList = 1042;
constexpr int kWriteLogBox = 1026;
constexpr int kSoundsBox = 1011;
constexpr int kPasteMethodList = 1034;
constexpr int kFontButton = 1045;
constexpr int kFontSizeList = 0x472;
constexpr int kSaveAndClose = 1037;
constexpr int kHistoryWindowId = 1333;
constexpr wchar_t kPhrase[] = L"Phrase from the tray";

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return qlre2e::SendWaiting(window, message, wParam, lParam);
}
HWND FindPage(HWND frame) { return qlre2e::FindSettingsPage(frame); }

bool Checked(HWND page, int id) { return Send(GetDlgItem(page, id), BM_GETCHECK) == BST_CHECKED; }
void SetChecked(HWND page, int id, bool on) {
  if (Checked(page, id) != on) Send(GetDlgItem(page, id), BM_CLICK);
}
// Selects the entry of a drop-down list that carries the data.
void SelectData(HWND list, LRESULT data) {
  for (int i = 0; i < Send(list, CB_GETCOUNT); ++i)
    if (Send(list, CB_GETITEMDATA, i) == data) Send(list, CB_SETCURSEL, i);
}

// The font dialog of the page's "..." button, with the largest size it
// offers chosen; true once its OK button has closed it.
bool ChooseLargestMenuFont(HWND page, DWORD editorPid) {
  PostMessageW(GetDlgItem(page, kFontButton), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  if (!WaitUntil([&] {
        for (HWND window : qlrtest::FindProcessWindows(editorPid))
          if (IsWindowVisible(window) && GetDlgItem(window, kFontSizeList)) dialog = window;
        return dialog != nullptr;
      }, qlre2e::kWaitMs))
    return false;
  HWND sizes = GetDlgItem(dialog, kFontSizeList);
  const LRESULT count = Send(sizes, CB_GETCOUNT);
  if (count <= 0) return false;
  Send(sizes, CB_SETCURSEL, count - 1);
  Send(dialog, WM_COMMAND, MAKEWPARAM(kFontSizeList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return WaitUntil([&] { return !IsWindow(dialog); }, qlre2e::kWaitMs);
}

using qlre2e::HotkeyHeld;

// What the tray program publishes of its hotkey for the other programs.
std::string SettingsAreaText() {
  UniqueHandle map(OpenFileMappingW(FILE_MAP_READ, FALSE, L"Local\\$QUILLORA_SETTING_AREA$"));
  if (!map) return std::string();
  const char* view = static_cast<const char*>(MapViewOfFile(map.Get(), FILE_MAP_READ, 0, 0, 1024));
  if (!view) return std::string();
  std::string text(view, strnlen(view, 1024));
  UnmapViewOfFile(view);
  return text;
}

int Occurrences(const std::wstring& text, const std::wstring& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// What the tray logs after each capture, with the history's count.
constexpr wchar_t kCaptured[] = L"OnClipboardHistoryChanged, Count=";

int LastLoggedCount(const std::wstring& log) {
  size_t at = log.rfind(kCaptured);
  return at == std::wstring::npos ? -1 : _wtoi(log.c_str() + at + wcslen(kCaptured));
}

int CopyFromPeer(const std::wstring& text) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"), L"text \"" + text + L"\"", 20000);
}
// Formatted text (RTF, HTML and plain text) from another program.
int CopyRichFromPeer(const std::wstring& text) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"),
                             L"rich \"" + text + L"\" \"http://example.com/\"", 20000);
}

// The number of items the tray's history pane lists; -1 without a pane.
int PaneItemCount(DWORD trayPid) {
  constexpr UINT kPaneItemCount = WM_APP + 2;
  HWND pane = qlrtest::FindProcessWindow(trayPid, L"QuilloraFloatPane");
  return pane ? static_cast<int>(qlre2e::SendWaiting(pane, kPaneItemCount)) : -1;
}

class SettingsReachTrayTest : public qlre2e::EditorSessionTest {
 protected:
  void SetUp() override {
    qlre2e::EditorSessionTest::SetUp();
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), dir.File(L"Quillora.exe")));
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.dll"), dir.File(L"Quillora.dll")));
    SetSetting(L"Welcome_Already_Started_V2_60", L"1");
  }
  void TearDown() override {
    if (tray.IsRunning()) {
      qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", kWaitMs);
      if (tray.Wait(kWaitMs) == -1) tray.Kill();
    }
    qlre2e::EditorSessionTest::TearDown();
  }
  HWND StartTray() {
    if (!tray.Start(dir.File(L"Quillora.exe"), L"")) return nullptr;
    HWND window = nullptr;
    WaitUntil([&] { return (window = qlrtest::FindProcessWindow(tray.Pid(), nullptr, L"Quillora")); }, kWaitMs);
    return window && WaitForLog(L"WTS_Notify ") ? window : nullptr;
  }
  // An editor of its own, the change made on its page, then its Save and
  // Close button; true once the tray has applied the saved settings.
  bool ChangeOnPage(const std::function<void(HWND page)>& change) {
    const int applied = Occurrences(LogText(), kApplied);
    HWND frame = Start();
    HWND page = nullptr;
    if (!frame || !WaitUntil([&] { return (page = FindPage(frame)) != nullptr; }, kWaitMs)) return false;
    change(page);
    PostMessageW(GetDlgItem(page, kSaveAndClose), BM_CLICK, 0, 0);
    if (child.Wait(kWaitMs) != 0) return false;
    // Once the log is off the tray says nothing more: then its history
    // window is the sign that it is done.
    return WaitUntil([&] { return Occurrences(LogText(), kApplied) > applied || !logging; }, kWaitMs);
  }

  static constexpr const wchar_t* kApplied = L"Settings applied again";
  qlrtest::ChildProcess tray;
  bool logging = true;
};

TEST_F(SettingsReachTrayTest, EachPageChoiceChangesTheRunningTray) {
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"ClipboardHistoryMax", L"30");
  SetSetting(L"ClipboardSpyMethod_v2_22", L"1");
  SetSetting(L"TextPasteMethod_v150", L"0");
  SetSetting(L"SoundOnEventsV094", L"0");
  ASSERT_TRUE(qlre2e::WritePhrase(PhrasesFolder() + L"\\Phrase.quillora", L"Phrase", kPhrase, 1));
  HWND trayWindow = StartTray();
  ASSERT_NE(trayWindow, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return GetDlgItem(trayWindow, kHistoryWindowId) != nullptr; }, kWaitMs));
  ASSERT_TRUE(HotkeyHeld(MOD_CONTROL | MOD_ALT, VK_RETURN));
  HWND historyWindow = GetDlgItem(trayWindow, kHistoryWindowId);
  qlre2e::InsertTarget target;
  ASSERT_TRUE(target.Start());
  // The only phrase (id 1) inserted into the target at another program's
  // request: true once it arrived.
  auto insertPhrase = [&] {
    target.Clear();
    return target.BringForward() && qlre2e::SendCommandBlock(trayWindow, 1, target.Window(), 138) == 1 &&
           target.WaitForText(kPhrase);
  };
  // The width of the phrase menu that Ctrl+Alt+key opens in the target (its
  // items are as wide as their texts in the menu font); 0 when none opened.
  auto menuWidth = [&](WORD key) {
    HWND menu = nullptr;
    if (!target.BringForward() || !qlre2e::PressCtrlAlt(key) ||
        !WaitUntil([&] { return (menu = qlre2e::VisibleMenuOf(tray.Pid())) != nullptr; }, kWaitMs))
      return 0;
    RECT rect = {};
    GetWindowRect(menu, &rect);
    EXPECT_TRUE(qlre2e::PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitUntil([&] { return qlre2e::VisibleMenuOf(tray.Pid()) == nullptr; }, kWaitMs));
    return static_cast<int>(rect.right - rect.left);
  };
  const int systemFontWidth = menuWidth(VK_RETURN);
  ASSERT_GT(systemFontWidth, 0) << qlrtest::ToUtf8(LogText());
  // The tray's sign that it tried to play the key sound (the test's program
  // folder holds no sound files).
  const std::wstring keySoundMissing = L"Sound file not found: " + dir.File(L"kbd.wav");
  int copies = 0;
  auto copyTexts = [&](int count) {
    // Formatted: the rows after "recorded kinds" keep no plain text.
    for (int i = 0; i < count; ++i) EXPECT_EQ(CopyRichFromPeer(L"row copy " + std::to_wstring(++copies)), 0);
  };

  struct Row {
    const char* name;
    std::function<void(HWND page)> change;
    std::function<bool()> holds;
  };
  const Row rows[] = {
      {"hotkey",
       [](HWND page) {
         Send(GetDlgItem(page, kHotkeyField), kHotkeySetField, MAKEWORD(VK_F7, HOTKEYF_CONTROL | HOTKEYF_ALT));
       },
       [] { return HotkeyHeld(MOD_CONTROL | MOD_ALT, VK_F7) && !HotkeyHeld(MOD_CONTROL | MOD_ALT, VK_RETURN); }},
      // The menu is opened by the new hotkey, which thus works, not only is held.
      {"menu font", [&](HWND page) { EXPECT_TRUE(ChooseLargestMenuFont(page, child.Pid())); },
       [&] { return menuWidth(VK_F7) > 2 * systemFontWidth; }},
      {"double hotkey",
       [](HWND page) { Send(GetDlgItem(GetDlgItem(page, kHotkeyField), kHotkeyDoubleBox), BM_CLICK); },
       [] {
         const std::string area = SettingsAreaText();
         return area.find("Double=\"1\"") != std::string::npos &&
                area.find("HotKey_Key=\"" + std::to_string(VK_F7) + "\"") != std::string::npos;
       }},
      {"recorded kinds",
       // The plain-text row of the format list unticked.
       [](HWND page) { EXPECT_TRUE(qlre2e::SetRemoteListCheck(GetDlgItem(page, kFormatList), 0, false)); },
       [&] {
         // Formatted text, plain text, formatted text: only the two formatted
         // copies are kept, and in order, so the plain one came in between.
         const int logged = Occurrences(LogText(), kCaptured);
         EXPECT_EQ(CopyRichFromPeer(L"kinds rich 1"), 0);
         EXPECT_EQ(CopyFromPeer(L"kinds plain"), 0);
         EXPECT_EQ(CopyRichFromPeer(L"kinds rich 2"), 0);
         return WaitUntil([&] { return Occurrences(LogText(), kCaptured) >= logged + 2; }, kWaitMs) &&
                Occurrences(LogText(), kCaptured) == logged + 2;
       }},
      {"history maximum",
       [](HWND page) { Send(GetDlgItem(page, kHistoryMax), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2")); },
       [&] {
         // Read once the tray has logged all three captures.
         const int logged = Occurrences(LogText(), kCaptured);
         copyTexts(3);
         return WaitUntil([&] { return Occurrences(LogText(), kCaptured) >= logged + 3; }, kWaitMs) &&
                LastLoggedCount(LogText()) == 2;
       }},
      {"tracking method",
       // The viewer chain: the automatic choice is the listener here.
       [](HWND page) { SelectData(GetDlgItem(page, kTrackingList), 0); },
       [&] {
         HWND now = GetDlgItem(trayWindow, kHistoryWindowId);
         const bool remade = now && now != historyWindow;
         historyWindow = now;
         return remade;
       }},
      {"history off", [](HWND page) { SetChecked(page, kHistoryBox, false); },
       [&] { return WaitUntil([&] { return GetDlgItem(trayWindow, kHistoryWindowId) == nullptr; }, kWaitMs); }},
      {"history on", [](HWND page) { SetChecked(page, kHistoryBox, true); },
       [&] { return WaitUntil([&] { return GetDlgItem(trayWindow, kHistoryWindowId) != nullptr; }, kWaitMs); }},
      {"paste method",
       // Through the clipboard instead of typed: the phrase is left there.
       [](HWND page) { SelectData(GetDlgItem(page, kPasteMethodList), 1); },
       [&] {
         return qlrtest::PutClipboardText(L"user text") && insertPhrase() &&
                WaitUntil([] { return qlrtest::ClipboardText() == kPhrase; }, kWaitMs);
       }},
      {"sounds",
       [&](HWND page) {
         // Off until now: the insertion above tried to play nothing.
         EXPECT_EQ(Occurrences(LogText(), keySoundMissing), 0);
         SetChecked(page, kSoundsBox, true);
       },
       [&] {
         return insertPhrase() &&
                WaitUntil([&] { return Occurrences(LogText(), keySoundMissing) > 0; }, kWaitMs);
       }},
      {"write log off",
       [&](HWND page) {
         SetChecked(page, kWriteLogBox, false);
         // Room in the history, so that its pane counts the next copy.
         Send(GetDlgItem(page, kHistoryMax), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"30"));
         logging = false;
       },
       [&] {
         // The tray's next capture writes nothing: compared once its
         // history pane counts the copy, so the tray has taken it.
         const size_t before = LogText().size();
         const int count = LastLoggedCount(LogText());
         const int items = PaneItemCount(tray.Pid());
         if (items < 0) return false;
         copyTexts(1);
         if (!WaitUntil([&] { return PaneItemCount(tray.Pid()) == items + 1; }, kWaitMs)) return false;
         // The tray writes its log on a thread of its own: lines of this
         // capture, queued before the pane heard of it, land once the
         // file has stopped growing.
         qlrtest::WaitUntilStill([&] { return LogText().size(); }, 500, kWaitMs);
         return LogText().size() == before && LastLoggedCount(LogText()) == count;
       }},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(ChangeOnPage(row.change)) << row.name;
    EXPECT_TRUE(WaitUntil(row.holds, kWaitMs)) << row.name;
  }
  // The editor's saves say when they were written.
  EXPECT_GE(Setting(L"WRITED_WHEN", L"A_SETTINGS").size(), 10u);
  EXPECT_TRUE(tray.IsRunning());
}

}  // namespace
