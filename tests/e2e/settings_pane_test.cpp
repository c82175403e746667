// The editor's settings pane driven from outside: the pane's tab strip and
// its show and hide, the page following the tray program's options, and the
// page's values written back when the editor closes through its own button.
#include <iostream>

#include "tests/e2e/editor_session.h"

#include <shellapi.h>

namespace {

using qlre2e::EditorSessionTest;
using qlrtest::WaitUntil;

constexpr int kTabId = 1234;
constexpr UINT kHotkeyTestId = 1001;
constexpr UINT kHotkeySetField = WM_USER + 4;
constexpr int kHotkeyWinBox = 2;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return qlre2e::SendWaiting(window, message, wParam, lParam);
}
HWND FindPage(HWND frame) { return qlre2e::FindSettingsPage(frame); }

bool Checked(HWND page, int id) { return Send(GetDlgItem(page, id), BM_GETCHECK) == BST_CHECKED; }
void Click(HWND page, int id) { Send(GetDlgItem(page, id), BM_CLICK); }
void SetText(HWND page, int id, const wchar_t* text) {
  Send(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

RECT ScreenRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// Alt+2 typed into the frame, brought to the front first.
bool PressAlt2(HWND frame) {
  if (!WaitUntil([&] {
        if (GetForegroundWindow() != frame) SetForegroundWindow(frame);
        return GetForegroundWindow() == frame;
      }, 20000, 100))
    return false;
  INPUT keys[4] = {};
  const WORD order[4] = {VK_MENU, '2', '2', VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  return SendInput(4, keys, sizeof(INPUT)) == 4;
}

// A click (posted button messages) in the middle of a tab.
bool ClickTab(HWND tabs, int index) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tabs, &pid);
  qlre2e::RemoteBuffer buffer(pid, sizeof(RECT));
  RECT rect = {};
  // A narrow pane shows the tab only once the strip is scrolled to it.
  if (!Send(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(buffer.Address())))
    Send(tabs, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, index), 0);
  if (!buffer.Address() || !Send(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(buffer.Address())) ||
      !buffer.Read(&rect, sizeof(rect)))
    return false;
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(tabs, WM_LBUTTONUP, 0, at);
  return true;
}


constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run value "Quillora" (its type in *type), or "-" when there is none.
std::wstring RunValue(DWORD* type = nullptr) {
  wchar_t data[1024] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t), kind = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Quillora", RRF_RT_ANY | RRF_NOEXPAND, &kind, data, &size) !=
      ERROR_SUCCESS)
    return L"-";
  if (type) *type = kind;
  return data;
}
void SetRunValue(const std::wstring& value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Quillora", REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
void DeleteRunValue() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Quillora"); }

bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }

// The visible child windows of a box of the process with the given class
// and style type, in the order of the box's children.
std::vector<HWND> ChildrenOf(HWND box, const wchar_t* className, DWORD typeMask = 0, DWORD type = 0) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, className) != 0 || !IsWindowVisible(child)) continue;
    if (typeMask && (static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & typeMask) != type) continue;
    found.push_back(child);
  }
  return found;
}

// The tray program's settings area as the tray would publish it.
class SettingsArea {
 public:
  SettingsArea()
      : m_map(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024,
                                 L"Local\\$QUILLORA_SETTING_AREA$")) {}
  bool Publish(WORD key, WORD modifiers, bool doubled) {
    if (!m_map) return false;
    char* view = static_cast<char*>(MapViewOfFile(m_map.Get(), FILE_MAP_WRITE, 0, 0, 1024));
    if (!view) return false;
    const std::string text = "<?xml version=\"1.0\" ?>\r\n<QuilloraSettings HotKey_Key=\"" + std::to_string(key) +
                             "\" HotKey_Mod=\"" + std::to_string(modifiers) + "\" Double=\"" +
                             (doubled ? "1" : "0") + "\" />\r\n";
    memset(view, 0, 1024);
    memcpy(view, text.c_str(), text.size());
    UnmapViewOfFile(view);
    return true;
  }

 private:
  UniqueHandle m_map;
};

bool BringForward(HWND frame) {
  return WaitUntil([&] {
    if (GetForegroundWindow() != frame) SetForegroundWindow(frame);
    return GetForegroundWindow() == frame;
  }, 20000, 100);
}

bool PressKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    INPUT press[2] = {};
    for (int i = 0; i < 2; ++i) {
      press[i].type = INPUT_KEYBOARD;
      press[i].ki.wVk = key;
      press[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    }
    if (SendInput(2, press, sizeof(INPUT)) != 2) return false;
  }
  return true;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO gui = {sizeof(gui)};
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) ? gui.hwndFocus : nullptr;
}

// The pane's saved sizes, where the editor keeps them.
void SetPaneWidth(DWORD width) {
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quillora\\Quillora : PhraseEditor\\EditorBars-SCBar-32777", L"sizeVertCX",
                  REG_DWORD, &width, sizeof(width));
}


class SettingsPaneTest : public EditorSessionTest {
 protected:
  // The editor's frame and its settings page, or an assertion.
  void StartWithPage(const std::wstring& args = std::wstring()) {
    frame = Start(args);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (page = FindPage(frame)) != nullptr; }, kWaitMs));
    bar = GetParent(page);
  }
  int IniInt(const wchar_t* key, const wchar_t* section = L"Settings") const {
    return GetPrivateProfileIntW(section, key, -12345, dir.File(L"Settings.ini").c_str());
  }
  void PrintFillTime() {
    const std::wstring mark = L"Settings page filled ";
    ASSERT_TRUE(WaitForLog(mark));
    const std::wstring log = LogText();
    const size_t at = log.find(mark) + mark.size();
    const std::wstring line = log.substr(at, log.find_first_of(L"\r\n", at) - at);
    std::cout << "Frame created to settings page filled: " << qlrtest::ToUtf8(line) << " (target 300 ms)" << std::endl;
  }

  HWND frame = nullptr;
  HWND page = nullptr;
  HWND bar = nullptr;
};

TEST_F(SettingsPaneTest, PaneStartsHiddenShowsByAlt2FollowsOptionsAndHidesByItsTab) {
  UniqueHandle options(CreateEventW(nullptr, FALSE, FALSE, qlre2e::kOptionsChangedEvent));
  SetSetting(L"SoundOnEventsV094", L"0");
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"DaysCheckForUpdates", L"5");
  ASSERT_NO_FATAL_FAILURE(StartWithPage(L"/hidesettings"));
  PrintFillTime();
  EXPECT_FALSE(IsWindowVisible(bar));

  ASSERT_TRUE(PressAlt2(frame));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) && IsWindowVisible(page); }, kWaitMs));
  // The strip is as tall as a caption, the page starts 2 pixels below it.
  HWND tabs = GetDlgItem(bar, kTabId);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(Send(tabs, TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(Send(tabs, TCM_GETCURSEL), 0);
  ASSERT_TRUE(WaitUntil([&] {
    const RECT strip = ScreenRect(tabs), sheet = ScreenRect(page);
    return strip.bottom - strip.top == GetSystemMetrics(SM_CYCAPTION) && sheet.top == strip.bottom + 2 &&
           sheet.right - sheet.left == strip.right - strip.left;
  }, kWaitMs));

  // The tray program changed its options: the page shows them within 2 s.
  EXPECT_FALSE(Checked(page, 1011));
  EXPECT_TRUE(Checked(page, 1012));
  EXPECT_EQ(qlre2e::WindowText(GetDlgItem(page, 1009)), L"5");
  SetSetting(L"SoundOnEventsV094", L"1");
  SetSetting(L"ClipboardHistory", L"0");
  SetSetting(L"DaysCheckForUpdates", L"12");
  const DWORD pulsed = GetTickCount();
  ASSERT_TRUE(SetEvent(options.Get()));
  EXPECT_TRUE(WaitUntil([&] {
    return Checked(page, 1011) && !Checked(page, 1012) && qlre2e::WindowText(GetDlgItem(page, 1009)) == L"12";
  }, kWaitMs));
  EXPECT_LE(GetTickCount() - pulsed, 2000u);

  // "Hide Settings" is a command: the pane goes, the page's tab stays chosen.
  ASSERT_TRUE(ClickTab(tabs, 1));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(bar); }, kWaitMs));
  EXPECT_EQ(Send(tabs, TCM_GETCURSEL), 0);
  ASSERT_TRUE(PressAlt2(frame));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) != FALSE; }, kWaitMs));
  // With the focus in the page Alt+2 still hides the pane.
  HWND days = GetDlgItem(page, 1009);
  PostMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(days), TRUE);
  ASSERT_TRUE(WaitUntil([&] {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(GetWindowThreadProcessId(page, nullptr), &gui) && gui.hwndFocus == days;
  }, kWaitMs));
  ASSERT_TRUE(PressAlt2(frame));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(bar); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(SettingsPaneTest, SaveAndCloseWritesTheNormalisedPageAndTellsTheTray) {
  SetSetting(L"ShowUncheckedPhrases", L"7", L"Settings_Editor");
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"ClipboardHistoryMax", L"40");
  SetSetting(L"InsertCHIntoMenu", L"1");
  SetSetting(L"MaxHistoryItemsInMenu", L"20");
  SetSetting(L"DelayAutoLoadSeconds_NextRelease", L"45");
  SetSetting(L"AutoCheckForUpdates", L"1");
  SetSetting(L"DaysCheckForUpdates", L"12");
  SetSetting(L"AddLastUsedMenuToBegin", L"1");
  SetSetting(L"AddLastUsedMenuToBegin_Count", L"2");
  UniqueHandle ended(CreateEventW(nullptr, FALSE, FALSE, qlre2e::kEditorEndedEvent));
  qlre2e::EventWaiter endedWaiter(ended.Get());
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  ASSERT_TRUE(Checked(page, 1028));
  ASSERT_TRUE(Checked(page, 1017));

  // Ticking a limit with an empty count offers 15; the delay box offers
  // the stored delay.
  Click(page, 1028);
  SetText(page, 1029, L"");
  Click(page, 1028);
  EXPECT_EQ(qlre2e::WindowText(GetDlgItem(page, 1029)), L"15");
  Click(page, 1017);
  SetText(page, 1021, L"");
  Click(page, 1017);
  EXPECT_EQ(qlre2e::WindowText(GetDlgItem(page, 1021)), L"45");

  SetText(page, 1009, L"0");
  SetText(page, 1043, L"9");
  SetText(page, 1013, L"");
  Click(page, 1028);
  Click(page, 1017);
  EXPECT_FALSE(Checked(page, 1028));
  EXPECT_FALSE(Checked(page, 1017));

  PostMessageW(GetDlgItem(page, 1037), BM_CLICK, 0, 0);
  EXPECT_EQ(child.Wait(kWaitMs), 0);
  EXPECT_TRUE(WaitUntil([&] { return endedWaiter.Released(); }, kWaitMs));

  EXPECT_EQ(IniInt(L"ShowUncheckedPhrases", L"Settings_Editor"), 1);
  EXPECT_EQ(IniInt(L"Preview", L"Settings_Editor"), 0);
  EXPECT_EQ(IniInt(L"Hotkey"), 196621);
  EXPECT_EQ(IniInt(L"Hotkey_Doubled"), 0);
  EXPECT_EQ(IniInt(L"ExtMenuCommand__EditSetting"), 1);
  EXPECT_FALSE(Setting(L"WRITED_TO", L"A_SETTINGS").empty());
  EXPECT_EQ(IniInt(L"DaysCheckForUpdates"), 7);
  EXPECT_EQ(IniInt(L"AddLastUsedMenuToBegin_Count"), 3);
  EXPECT_EQ(IniInt(L"MaxHistoryItemsInMenu"), 0);
  EXPECT_EQ(IniInt(L"DelayAutoLoadSeconds_NextRelease"), 0);
  EXPECT_EQ(IniInt(L"ClipboardHistoryMax"), 40);
}

TEST_F(SettingsPaneTest, HotkeyTestNamesAConflictAndAFreeKey) {
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  HWND hotkey = GetDlgItem(page, kHotkeyTestId);
  HWND result = GetDlgItem(page, 1004);
  ASSERT_NE(hotkey, nullptr);
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(owner, 1, MOD_CONTROL | MOD_ALT, VK_F9));
  auto toggle = [&] {
    Send(hotkey, kHotkeySetField, MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT));
    // Posted: the box's notice then comes from the editor's own thread.
    PostMessageW(GetDlgItem(hotkey, kHotkeyWinBox), BM_CLICK, 0, 0);
    PostMessageW(GetDlgItem(hotkey, kHotkeyWinBox), BM_CLICK, 0, 0);
  };
  toggle();
  const std::wstring conflict = L"The hot key conflicts with other applications!\r\nError code:1409 ";
  EXPECT_TRUE(WaitUntil([&] { return qlre2e::WindowText(result).compare(0, conflict.size(), conflict) == 0; }, kWaitMs))
      << qlrtest::ToUtf8(qlre2e::WindowText(result));
  EXPECT_GT(qlre2e::WindowText(result).size(), conflict.size());
  UnregisterHotKey(owner, 1);
  DestroyWindow(owner);
  toggle();
  EXPECT_TRUE(WaitUntil([&] { return qlre2e::WindowText(result) == L"The hot key validated successfully\u2026"; }, kWaitMs))
      << qlrtest::ToUtf8(qlre2e::WindowText(result));

  // The tray program holds the keys: with the same press count they are its
  // own; pressed twice they are another hotkey.
  SettingsArea area;
  ASSERT_TRUE(area.Publish(VK_F9, MOD_CONTROL | MOD_ALT, false));
  toggle();
  EXPECT_TRUE(WaitUntil([&] { return qlre2e::WindowText(result) == L"This hotkey already used by Quillora\u2026"; }, kWaitMs))
      << qlrtest::ToUtf8(qlre2e::WindowText(result));
  ASSERT_TRUE(area.Publish(VK_F9, MOD_CONTROL | MOD_ALT, true));
  toggle();
  EXPECT_TRUE(WaitUntil([&] { return qlre2e::WindowText(result) == L"The hot key validated successfully\u2026"; }, kWaitMs))
      << qlrtest::ToUtf8(qlre2e::WindowText(result));

  // The arrow's popup: its first item is Scroll Lock pressed once.
  ASSERT_TRUE(BringForward(frame));
  PostMessageW(GetDlgItem(hotkey, 4), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] {
    HWND menu = qlrtest::FindProcessWindow(child.Pid(), L"#32768");
    return menu && IsWindowVisible(menu);
  }, kWaitMs));
  ASSERT_TRUE(PressKeys({VK_DOWN, VK_RETURN}));
  EXPECT_TRUE(WaitUntil([&] { return LOBYTE(Send(hotkey, WM_USER + 5)) == VK_SCROLL; }, kWaitMs));
  EXPECT_EQ(HIBYTE(Send(hotkey, WM_USER + 5)), 0);
  EXPECT_EQ(Send(hotkey, WM_USER + 8), 0);
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(SettingsPaneTest, BoxesEnableTheirFieldsAndAutostartFollowsTheRunKey) {
  SetSetting(L"ClipboardHistory", L"1");
  SetSetting(L"InsertCHIntoMenu", L"1");
  SetSetting(L"MaxHistoryItemsInMenu", L"20");
  SetSetting(L"AutoCheckForUpdates", L"1");
  SetSetting(L"DelayAutoLoadSeconds_NextRelease", L"45");
  SetSetting(L"AddLastUsedMenuToBegin", L"1");
  SetSetting(L"TextPasteMethod_v150", L"2");
  // A value naming another program goes when the page loads.
  SetRunValue(L"C:\\Elsewhere\\Quillora.exe /autoload");
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  EXPECT_TRUE(WaitUntil([] { return RunValue() == L"-"; }, kWaitMs)) << qlrtest::ToUtf8(RunValue());
  EXPECT_FALSE(Checked(page, 1003));

  struct Row {
    int box;
    std::vector<int> fields;
  };
  const Row rows[] = {{1053, {1043}}, {1017, {1021}}, {1008, {1009}}, {1028, {1029}},
                      {1019, {1028, 1031}}, {1012, {1013, 1019, 1042}}};
  for (const Row& row : rows) {
    for (int field : row.fields) EXPECT_TRUE(Enabled(page, field)) << row.box << " " << field;
    Click(page, row.box);
    for (int field : row.fields) EXPECT_FALSE(Enabled(page, field)) << row.box << " " << field;
  }
  Click(page, 1012);
  EXPECT_TRUE(Enabled(page, 1019));
  // Only "key by key when shorter than" has a length.
  HWND paste = GetDlgItem(page, 1034);
  EXPECT_TRUE(Enabled(page, 1047));
  for (int item : {1, 2}) {
    Send(paste, CB_SETCURSEL, item);
    Send(page, WM_COMMAND, MAKEWPARAM(1034, CBN_SELENDOK), reinterpret_cast<LPARAM>(paste));
    EXPECT_EQ(Enabled(page, 1047), item == 2) << item;
  }

  // The box writes and deletes the Run value; a value the test writes
  // itself shows in the box.
  const std::wstring command = dir.Path() + L"\\Quillora.exe /autoload";
  Click(page, 1003);
  DWORD type = 0;
  EXPECT_EQ(RunValue(&type), command);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  Click(page, 1003);
  EXPECT_EQ(RunValue(), L"-");
  SetRunValue(command);
  DWORD changed = GetTickCount();
  EXPECT_TRUE(WaitUntil([&] { return Checked(page, 1003); }, kWaitMs));
  EXPECT_LE(GetTickCount() - changed, 2000u);
  DeleteRunValue();
  changed = GetTickCount();
  EXPECT_TRUE(WaitUntil([&] { return !Checked(page, 1003); }, kWaitMs));
  EXPECT_LE(GetTickCount() - changed, 2000u);
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(SettingsPaneTest, MenuCommandsAndFontAreWrittenWhenConfirmed) {
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  const std::wstring caption = L"Quillora : PhraseEditor";
  auto openBox = [&] {
    PostMessageW(GetDlgItem(page, 1049), BM_CLICK, 0, 0);
    HWND box = nullptr;
    WaitUntil([&] {
      box = qlrtest::FindProcessWindow(child.Pid(), L"#32770", caption.c_str());
      return box && IsWindowVisible(box) && ChildrenOf(box, L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX).size() == 3;
    }, kWaitMs);
    return box;
  };
  HWND box = openBox();
  ASSERT_NE(box, nullptr);
  std::vector<HWND> boxes = ChildrenOf(box, L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX);
  ASSERT_EQ(boxes.size(), 3u);
  // Between the text and the buttons.
  std::vector<HWND> texts = ChildrenOf(box, L"Static");
  ASSERT_FALSE(texts.empty());
  const RECT ok = ScreenRect(GetDlgItem(box, IDOK));
  for (HWND item : boxes) {
    EXPECT_EQ(Send(item, BM_GETCHECK), BST_CHECKED);
    EXPECT_GE(ScreenRect(item).top, ScreenRect(texts.back()).top);
    EXPECT_LE(ScreenRect(item).bottom, ok.top);
  }
  Send(boxes[1], BM_CLICK);
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  // The three keys are written one after another.
  EXPECT_TRUE(WaitUntil([&] {
    return Setting(L"ExtMenuCommand__EditSetting") == L"1" && Setting(L"ExtMenuCommand__SaveSelAsPhrase") == L"0" &&
           Setting(L"ExtMenuCommand__SUPPORT") == L"1";
  }, kWaitMs)) << qlrtest::ToUtf8(Setting(L"ExtMenuCommand__SUPPORT"));

  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWaitMs));
  box = openBox();
  ASSERT_NE(box, nullptr);
  boxes = ChildrenOf(box, L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(Send(boxes[1], BM_GETCHECK), BST_UNCHECKED);
  Send(boxes[0], BM_CLICK);
  PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWaitMs));
  EXPECT_EQ(Setting(L"ExtMenuCommand__EditSetting"), L"1");

  EXPECT_EQ(Setting(L"FontForMenu"), L"");
  PostMessageW(GetDlgItem(page, 1045), BM_CLICK, 0, 0);
  HWND font = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    font = qlrtest::FindProcessWindow(child.Pid(), L"#32770", L"Font");
    return font && IsWindowVisible(font) && GetDlgItem(font, IDOK);
  }, kWaitMs));
  PostMessageW(GetDlgItem(font, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !Setting(L"FontForMenu").empty(); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(SettingsPaneTest, FormatListShowsTheSystemNamesAndSavesAToggledRow) {
  for (int i = 0; i < 5; ++i) SetSetting((L"ClipboardFormats" + std::to_wstring(i)).c_str(), L"1");
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  HWND list = GetDlgItem(page, 1042);
  const wchar_t* const extensions[5] = {L".txt", L".rtf", L".bmp", L".bnd", L".html"};
  const wchar_t* const names[5] = {L"Plain Text", L"Formatted Text", L"Bitmap", L"Brindle Document",
                                   L"HTML Code (web page)"};
  std::vector<qlre2e::RemoteListItem> rows = qlre2e::ReadRemoteList(list);
  ASSERT_EQ(rows.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    SHFILEINFOW info = {};
    std::wstring type;
    if (i < 4 && SHGetFileInfoW(extensions[i], FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME))
      type = info.szTypeName;
    const std::wstring expected = (type.empty() ? L"" : type + L", ") + names[i] + L" [" + extensions[i] + L"]";
    EXPECT_EQ(rows[i].text, expected) << i;
    EXPECT_EQ(rows[i].stateImage, 2u) << i;
  }

  ASSERT_TRUE(BringForward(frame));
  ASSERT_TRUE(WaitUntil([&] {
    if (FocusOf(frame) != list) Send(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    return FocusOf(frame) == list;
  }, kWaitMs, 100));
  ASSERT_TRUE(PressKeys({VK_HOME, VK_DOWN, VK_SPACE}));
  EXPECT_TRUE(WaitUntil([&] { return qlre2e::ReadRemoteList(list).at(1).stateImage == 1; }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
  EXPECT_EQ(Setting(L"ClipboardFormats1"), L"0");
  for (int i : {0, 2, 3, 4}) EXPECT_EQ(Setting((L"ClipboardFormats" + std::to_wstring(i)).c_str()), L"1") << i;
}

TEST_F(SettingsPaneTest, DamagedSavedWidthsAreClamped) {
  for (DWORD width : {0u, 20000u}) {
    SetPaneWidth(width);
    ASSERT_NO_FATAL_FAILURE(StartWithPage());
    RECT pane = ScreenRect(bar), whole = {};
    GetClientRect(frame, &whole);
    EXPECT_GE(pane.right - pane.left, 33) << width;
    EXPECT_LT(pane.right - pane.left, whole.right) << width;
    EXPECT_EQ(Exit(frame), 0);
  }
  SetPaneWidth(100);
}

}  // namespace
