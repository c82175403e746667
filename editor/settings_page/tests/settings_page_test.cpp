// The settings page in this process on a window of the test's own, with a
// temporary program folder and its Settings.ini, driven by the messages a
// user's clicks and keys produce.
#include "editor/settings_page/settings_page.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "editor/settings_page/settings_page_ids.h"
#include "editor/settings_page/tests/format_rows.h"
#include "editor_settings/controls/hotkey_ctrl.h"
#include "editor_settings/controls/timed_message_box.h"
#include "editor_settings/editor_settings.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "platform/mfc/app/win_thread.h"
#include "settings/settings_area.h"
#include "settings/tests/settings_fixture.h"
#include "tests/support/test_support.h"

namespace {

constexpr wchar_t kRunValue[] = L"Quillora";

std::wstring ReadRunValue(DWORD* type = nullptr) {
  wchar_t data[600] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  DWORD valueType = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValue, RRF_RT_ANY | RRF_NOEXPAND, &valueType, data,
                     &size) != ERROR_SUCCESS)
    return L"<none>";
  if (type) *type = valueType;
  return data;
}

void WriteRunValue(const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

void DeleteRunValue() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValue); }

class SettingsPageTest : public SettingsFoldersTest {
 protected:
  void SetUp() override {
    SettingsFoldersTest::SetUp();
    DeleteRunValue();
    // The pointer rests outside the host: only the moves a test makes
    // reach the page.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ASSERT_TRUE(m_top.CreateEx(0, nullptr, L"settings host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 760,
                               nullptr, nullptr));
    host.mainWindow = m_top.m_hWnd;
    host.trayProgramPath = program.File(L"Quillora.exe");
    host.readMainHotkey = [this](HotkeyRecord& r) {
      if (!trayRuns) return false;
      r = trayHotkey;
      return true;
    };
  }
  void TearDown() override {
    page.reset();
    m_top.DestroyWindow();
    DeleteRunValue();
    SettingsFoldersTest::TearDown();
  }

  void Open(const std::wstring& ini) {
    ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), ini));
    MarkEditorSettingsChanged();
    GetEditorSettings();
    page = std::make_unique<CSettingsPage>(&m_top, host);
    ASSERT_TRUE(page->Create());
    ::ShowWindow(page->m_hWnd, SW_SHOW);
  }
  // Destroying the page saves; the file is then read as the tray reads it.
  void Close() {
    page->DestroyWindow();
    page.reset();
  }
  int Ini(const wchar_t* key, int def = -12345, const wchar_t* section = L"Settings") {
    return static_cast<int>(::GetPrivateProfileIntW(section, key, def, ProgramIni().c_str()));
  }
  HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
  std::wstring TextOf(int id) {
    wchar_t text[2048] = {};
    ::GetWindowTextW(Item(id), text, 2048);
    return text;
  }
  void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
  bool Checked(int id) { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int id) { return ::IsWindowEnabled(Item(id)) != FALSE; }
  void SetText(int id, const wchar_t* text) { ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
  void Choose(int id, int index) {
    ::SendMessageW(Item(id), CB_SETCURSEL, index, 0);
    ::SendMessageW(page->m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(Item(id)));
  }
  // The mouse comes over a control, as the system tells it: a
  // WM_SETCURSOR that the control leaves to its parent, or the mouse
  // move the editor's loop pre-translates before it dispatches it; or no
  // mouse at all, the page's own messages running once it was shown.
  enum class MouseWay { kSetCursor, kLoop, kNone };
  void Hover(int id, MouseWay way = MouseWay::kSetCursor) {
    HWND control = Item(id);
    RECT r = {};
    ::GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    if (way == MouseWay::kNone) {
      qlrtest::PumpUntil([] { return true; }, 0);
    } else if (way == MouseWay::kSetCursor) {
      ::SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    } else {
      MSG msg = {control, WM_MOUSEMOVE, 0, at, ::GetTickCount(), {0, 0}};
      if (!AfxPreTranslateWalk(nullptr, &msg)) ::DispatchMessageW(&msg);
    }
  }
  void SetHotkey(WORD key, BYTE fieldFlags, bool doublePress) {
    HWND control = Item(IDC_SP_HOTKEY);
    ::SendMessageW(control, HKX_SETHOTKEY, MAKEWORD(key, fieldFlags), 0);
    ::SendMessageW(control, HKX_SETDOUBLE, doublePress, 0);
    ::SendMessageW(control, HKX_SETWIN, 0, 0);
    page->CheckHotKey(false);
  }

  CWnd m_top;
  SettingsPageHost host;
  bool trayRuns = false;
  HotkeyRecord trayHotkey;
  std::unique_ptr<CSettingsPage> page;
};

TEST_F(SettingsPageTest, EveryOptionSavesBackAndStrayValuesComeBackNormalised) {
  Open(L"[Settings]\r\nHotkey=196621\r\nHotkey_Doubled=0\r\nDaysCheckForUpdates=12\r\nClipboardHistoryMax=40\r\n"
       L"MaxHistoryItemsInMenu=20\r\nDelayAutoLoadSeconds_NextRelease=45\r\nTextPasteMethod_v150=1\r\n"
       L"GestureType=1\r\nClipboardSpyMethod_v2_22=0\r\nSoundOnEventsV094=0\r\n"
       L"[Settings_Editor]\r\nShowUncheckedPhrases=7\r\n");
  EXPECT_EQ(TextOf(IDC_SP_UPDATE_DAYS), L"12");
  EXPECT_EQ(TextOf(IDC_SP_HISTORY_MAX), L"40");
  EXPECT_EQ(TextOf(IDC_SP_DELAY_SECONDS), L"45");
  EXPECT_TRUE(Checked(IDC_SP_MENU_HISTORY_LIMIT));
  EXPECT_FALSE(Checked(IDC_SP_SOUNDS));
  EXPECT_EQ(::SendMessageW(Item(IDC_SP_PASTE_METHOD), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(::SendMessageW(Item(IDC_SP_MOUSE_EVENTS), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(Item(IDC_SP_TRACKING), CB_GETCURSEL, 0, 0), 1);
  // Nothing selected in a list keeps its stored value (CB_ERR is no data).
  ::SendMessageW(Item(IDC_SP_TRACKING), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);

  SetText(IDC_SP_UPDATE_DAYS, L"0");
  SetText(IDC_SP_LAST_USED_COUNT, L"9");
  SetText(IDC_SP_HISTORY_MAX, L"");
  Click(IDC_SP_MENU_HISTORY_LIMIT);
  Click(IDC_SP_DELAY);
  Click(IDC_SP_SOUNDS);
  EXPECT_FALSE(Checked(IDC_SP_MENU_HISTORY_LIMIT));
  Close();
  EXPECT_EQ(Ini(L"DaysCheckForUpdates"), 7);
  EXPECT_EQ(Ini(L"AddLastUsedMenuToBegin_Count"), 3);
  EXPECT_EQ(Ini(L"MaxHistoryItemsInMenu"), 0);
  EXPECT_EQ(Ini(L"DelayAutoLoadSeconds_NextRelease"), 0);
  EXPECT_EQ(Ini(L"ClipboardHistoryMax"), 40);
  EXPECT_EQ(Ini(L"Hotkey"), 196621);
  EXPECT_EQ(Ini(L"Hotkey_Doubled"), 0);
  EXPECT_EQ(Ini(L"TextPasteMethod_v150"), 1);
  EXPECT_EQ(Ini(L"GestureType"), 1);  // the disabled list's item 0 changes nothing
  EXPECT_EQ(Ini(L"ClipboardSpyMethod_v2_22"), 0);
  EXPECT_EQ(Ini(L"SoundOnEventsV094"), 1);
  EXPECT_EQ(Ini(L"ExtMenuCommand__EditSetting"), 1);
  EXPECT_EQ(Ini(L"ShowUncheckedPhrases", -1, L"Settings_Editor"), 1);
  EXPECT_EQ(Ini(L"Preview", -1, L"Settings_Editor"), 0);
  EXPECT_EQ(Ini(L"ClipboardFormats2"), 0);
  EXPECT_EQ(Ini(L"ClipboardFormats0"), 1);
}

TEST_F(SettingsPageTest, BoxesFillTheirEmptyFieldsAndEnableTheirGroups) {
  Open(L"[Settings]\r\nMaxHistoryItemsInMenu=0\r\nDelayAutoLoadSeconds_NextRelease=0\r\nTextPasteMethod_v150=0\r\n");
  EXPECT_FALSE(Checked(IDC_SP_MENU_HISTORY_LIMIT));
  EXPECT_FALSE(Enabled(IDC_SP_MENU_HISTORY_COUNT));
  SetText(IDC_SP_MENU_HISTORY_COUNT, L"");
  Click(IDC_SP_MENU_HISTORY_LIMIT);
  EXPECT_TRUE(Enabled(IDC_SP_MENU_HISTORY_COUNT));
  EXPECT_EQ(TextOf(IDC_SP_MENU_HISTORY_COUNT), L"15");
  EXPECT_EQ(TextOf(IDC_SP_DELAY_SECONDS), L"0");
  Click(IDC_SP_DELAY);
  EXPECT_EQ(TextOf(IDC_SP_DELAY_SECONDS), L"30");  // the stored delay is 0

  // The history box rules its group, the menu box its count.
  EXPECT_TRUE(Enabled(IDC_SP_HISTORY_IN_MENU));
  Click(IDC_SP_HISTORY);
  for (int id : {IDC_SP_HISTORY_MAX, IDC_SP_HISTORY_IN_MENU, IDC_SP_MENU_HISTORY_LIMIT, IDC_SP_MENU_HISTORY_COUNT,
                 IDC_SP_FORMATS, IDC_SP_TRACKING})
    EXPECT_FALSE(Enabled(id)) << id;
  Click(IDC_SP_HISTORY);
  EXPECT_TRUE(Enabled(IDC_SP_MENU_HISTORY_COUNT));
  Click(IDC_SP_HISTORY_IN_MENU);
  EXPECT_FALSE(Enabled(IDC_SP_MENU_HISTORY_LIMIT));
  EXPECT_FALSE(Enabled(IDC_SP_MENU_HISTORY_COUNT));
  EXPECT_TRUE(Enabled(IDC_SP_SAVE_HISTORY));

  EXPECT_TRUE(Enabled(IDC_SP_UPDATE_DAYS));
  Click(IDC_SP_AUTO_UPDATE);
  EXPECT_FALSE(Enabled(IDC_SP_UPDATE_DAYS));
  Click(IDC_SP_LAST_USED);
  EXPECT_FALSE(Enabled(IDC_SP_LAST_USED_COUNT));
  EXPECT_FALSE(Enabled(IDC_SP_PRINT_CHARS));
  Choose(IDC_SP_PASTE_METHOD, 2);
  EXPECT_TRUE(Enabled(IDC_SP_PRINT_CHARS));
  EXPECT_TRUE(Enabled(IDC_SP_PRINT_CHARS_SPIN));
  EXPECT_FALSE(Enabled(IDC_SP_MOUSE_EVENTS));
  Close();
  EXPECT_EQ(Ini(L"TextPasteMethod_v150"), 2);
  EXPECT_EQ(Ini(L"MaxHistoryItemsInMenu"), 15);
  EXPECT_EQ(Ini(L"DelayAutoLoadSeconds_NextRelease"), 30);
}

TEST_F(SettingsPageTest, HotkeyTestTellsTrayUseConflictsAndSuccess) {
  Open(L"[Settings]\r\n");
  // Another window of this process holds Ctrl+Alt+F9.
  ASSERT_TRUE(::RegisterHotKey(m_top.m_hWnd, 77, MOD_CONTROL | MOD_ALT, VK_F9));
  SetHotkey(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT, false);
  EXPECT_EQ(page->GetHotkeyTestState(), kHotkeyConflict);
  std::wstring text = TextOf(IDC_SP_HOTKEY_RESULT);
  EXPECT_EQ(text.rfind(L"The hot key conflicts with other applications!\r\nError code:1409 ", 0), 0u) << text;
  ::UnregisterHotKey(m_top.m_hWnd, 77);
  page->CheckHotKey(false);
  EXPECT_EQ(TextOf(IDC_SP_HOTKEY_RESULT), L"The hot key validated successfully\u2026");
  EXPECT_EQ(page->GetHotkeyTestState(), kHotkeyValidated);

  trayRuns = true;
  trayHotkey.key = VK_F9;
  trayHotkey.modifiers = MOD_CONTROL | MOD_ALT;
  ASSERT_TRUE(::RegisterHotKey(m_top.m_hWnd, 77, MOD_CONTROL | MOD_ALT, VK_F9));  // as the tray holds it
  page->CheckHotKey(false);
  EXPECT_EQ(TextOf(IDC_SP_HOTKEY_RESULT), L"This hotkey already used by Quillora\u2026");
  EXPECT_EQ(page->GetHotkeyTestState(), kHotkeyUsedByTray);
  trayHotkey.flags = HotkeyRecord::kDoublePress;
  page->CheckHotKey(false);
  EXPECT_EQ(TextOf(IDC_SP_HOTKEY_RESULT), L"The hot key validated successfully\u2026");
  // The Win box makes it another hotkey: the system is asked.
  ::SendMessageW(Item(IDC_SP_HOTKEY), HKX_SETWIN, 1, 0);
  page->CheckHotKey(false);
  EXPECT_NE(page->GetHotkeyTestState(), kHotkeyUsedByTray);
  ::UnregisterHotKey(m_top.m_hWnd, 77);
  Close();
  EXPECT_EQ(Ini(L"Hotkey"), (MOD_CONTROL | MOD_ALT | MOD_WIN) * 65536 + VK_F9);
}

TEST_F(SettingsPageTest, HotkeyTestReadsTheSharedSettingsAreaWithoutAHostReader) {
  host.readMainHotkey = nullptr;
  Open(L"[Settings]\r\n");
  SetHotkey(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT, false);
  EXPECT_EQ(page->GetHotkeyTestState(), kHotkeyValidated);  // no area: the system says yes
  // The area as the tray program publishes it.
  ASSERT_TRUE(WriteSettingsArea(VK_F9, MOD_CONTROL | MOD_ALT, false, L""));
  SettingsAreaRecord record;
  ASSERT_TRUE(ReadSettingsArea(record));
  EXPECT_EQ(record.hotKeyKey, VK_F9);
  EXPECT_EQ(record.hotKeyMod, MOD_CONTROL | MOD_ALT);
  page->CheckHotKey(false);
  EXPECT_EQ(page->GetHotkeyTestState(), kHotkeyUsedByTray);
  ASSERT_TRUE(WriteSettingsArea(VK_F9, MOD_CONTROL | MOD_ALT, true, L""));
  page->CheckHotKey(false);
  EXPECT_EQ(page->GetHotkeyTestState(), kHotkeyValidated);
}

TEST_F(SettingsPageTest, SpecialKeyChoiceSetsTheControlAndChecksTheCurrentItem) {
  Open(L"[Settings]\r\nHotkey=196621\r\n");
  std::vector<HotkeyRecord> list;
  HMENU menu = page->BuildSpecialKeyMenu(list);
  ASSERT_EQ(static_cast<size_t>(::GetMenuItemCount(menu)), list.size());
  // Ctrl+Alt+Enter, current when the popup opened, ends the list checked.
  UINT last = kSpecialKeyFirstCommand + static_cast<UINT>(list.size()) - 1;
  EXPECT_EQ(::GetMenuState(menu, last, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), last);
  ::DestroyMenu(menu);
  EXPECT_TRUE(page->ChooseSpecialKey(kSpecialKeyFirstCommand));
  EXPECT_FALSE(page->ChooseSpecialKey(kSpecialKeyFirstCommand + 2));  // a separator
  EXPECT_FALSE(page->ChooseSpecialKey(kSpecialKeyFirstCommand + 500));
  EXPECT_EQ(::SendMessageW(Item(IDC_SP_HOTKEY), HKX_GETHOTKEY, 0, 0) & 0xFF, VK_SCROLL);
  Close();
  EXPECT_EQ(Ini(L"Hotkey"), VK_SCROLL);
  EXPECT_EQ(Ini(L"Hotkey_Doubled"), 0);
}

TEST_F(SettingsPageTest, AutostartBoxWritesTheRunValueAndFollowsOtherWriters) {
  const std::wstring command = program.File(L"Quillora.exe") + L" /autoload";
  WriteRunValue(L"C:\\elsewhere\\Quillora.exe /autoload");
  Open(L"[Settings]\r\n");
  EXPECT_FALSE(Checked(IDC_SP_AUTOSTART));
  EXPECT_EQ(ReadRunValue(), L"<none>");  // a value naming another program goes
  Click(IDC_SP_AUTOSTART);
  DWORD type = 0;
  EXPECT_EQ(ReadRunValue(&type), command);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  Click(IDC_SP_AUTOSTART);
  EXPECT_EQ(ReadRunValue(), L"<none>");
  // Another program's writes reach the box through the watcher.
  std::wstring upper = command;
  for (wchar_t& ch : upper) ch = static_cast<wchar_t>(::towupper(ch));
  WriteRunValue(upper);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return Checked(IDC_SP_AUTOSTART); }, 10000));
  DeleteRunValue();
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !Checked(IDC_SP_AUTOSTART); }, 10000));
  RunKeyWatcher& watcher = page->GetRunKeyWatcher();
  EXPECT_TRUE(watcher.IsRunning());
  Close();
}

TEST(RunKeyWatcherTest, StopWinsAndTheThreadOutlivesTheOwnersHandle) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  for (int round = 0; round < 20; ++round) {
    RunKeyWatcher watcher;
    ASSERT_TRUE(watcher.Start(window, WM_APP + 1));
    watcher.Stop();
    EXPECT_EQ(watcher.Wait(5000), 0u) << round;
  }
  // Closed at once after the stop, before the thread reached its wait: the
  // thread still ends on its own copy.
  for (int round = 0; round < 20; ++round) {
    auto watcher = std::make_unique<RunKeyWatcher>();
    ASSERT_TRUE(watcher->Start(window, WM_APP + 1));
    watcher.reset();
  }
  ::DestroyWindow(window);
}

// Clicks in the box with check boxes from another thread, as the user does.
void AnswerExtendedCommandsBox(std::atomic<bool>* found, bool clearSecond, int button) {
  HWND box = nullptr;
  qlrtest::WaitUntil([&] {
    box = ::FindWindowW(L"#32770", L"Quillora : PhraseEditor");
    return box && ::GetDlgItem(box, kTimedMessageBoxFirstItemId + 2);
  }, 5000);
  if (!box) return;
  *found = true;
  int checked = 0;
  for (int i = 0; i < 3; ++i)
    checked += ::SendMessageW(::GetDlgItem(box, kTimedMessageBoxFirstItemId + i), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (checked != 3) return;  // leaves the box open: the test fails on its time-out
  if (clearSecond) ::SendMessageW(::GetDlgItem(box, kTimedMessageBoxFirstItemId + 1), BM_CLICK, 0, 0);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

TEST_F(SettingsPageTest, ExtendedCommandsReachTheFileWhenConfirmed) {
  Open(L"[Settings]\r\n");
  for (int button : {IDCANCEL, IDOK}) {
    std::atomic<bool> found{false};
    std::thread answer(AnswerExtendedCommandsBox, &found, true, button);
    page->ShowExtendedCommands();
    answer.join();
    EXPECT_TRUE(found);
    EXPECT_EQ(Ini(L"ExtMenuCommand__SaveSelAsPhrase"), button == IDOK ? 0 : -12345) << button;
  }
  EXPECT_EQ(Ini(L"ExtMenuCommand__EditSetting"), 1);
  EXPECT_EQ(Ini(L"ExtMenuCommand__SUPPORT"), 1);
  // A reload from the tray program keeps the choice.
  MarkEditorSettingsChanged();
  EXPECT_EQ(GetEditorSettings().extMenuCommand[kExtSaveSelAsPhrase], 0);
  Close();
}

}  // namespace

namespace {

TEST_F(SettingsPageTest, ButtonsAndLinkReachTheHostAndTheLayoutFollowsTheWidth) {
  int hides = 0, checks = 0;
  host.hideSettings = [&] { ++hides; };
  host.requestUpdateCheck = [&] { ++checks; };
  Open(L"[Settings]\r\n");
  Click(IDC_SP_HIDE);
  EXPECT_EQ(hides, 1);
  ::SendMessageW(page->m_hWnd, WM_SP_CHECK_UPDATES, 0, 0);
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(TextOf(IDC_SP_SAVE_CLOSE), L"Save And Close");
  EXPECT_EQ(TextOf(IDC_SP_TITLE), L" Settings");
  // Loading again renews the tips, it adds none.
  auto toolCount = [] {
    LRESULT total = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM sum) {
      wchar_t name[64] = {};
      ::GetClassNameW(w, name, 64);
      if (wcscmp(name, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<LRESULT*>(sum) += ::SendMessageW(w, TTM_GETTOOLCOUNT, 0, 0);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&total));
    return total;
  };
  Hover(IDC_SP_SOUNDS);
  LRESULT count = toolCount();
  EXPECT_GT(count, 10);
  page->LoadControls();
  page->OnDocumentUpdate(kHintLanguageChanged);
  EXPECT_EQ(toolCount(), count);

  ::MoveWindow(page->m_hWnd, 0, 0, 700, 600, TRUE);
  RECT title = {}, save = {}, hide = {};
  auto place = [&](int id, RECT& r) {
    ::GetWindowRect(Item(id), &r);
    ::MapWindowPoints(nullptr, page->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  };
  place(IDC_SP_TITLE, title);
  place(IDC_SP_SAVE_CLOSE, save);
  place(IDC_SP_HIDE, hide);
  EXPECT_EQ(title.left, 0);
  EXPECT_EQ(title.top, 0);
  EXPECT_EQ(title.right, 700);
  EXPECT_EQ(save.right, 699);
  EXPECT_EQ(save.top, 1);
  EXPECT_EQ(save.bottom - save.top, title.bottom - title.top - 3);
  EXPECT_EQ(hide.left, 1);  // mirrored on the left
  EXPECT_EQ(hide.right - hide.left, save.right - save.left);
  ::SendMessageW(page->m_hWnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(10, 10));
  place(IDC_SP_TITLE, title);
  EXPECT_EQ(title.right, 700);
  Close();
}

TEST_F(SettingsPageTest, FormatRowsNameTheSystemsTypesAndSaveTheirChecks) {
  Open(L"[Settings]\r\nClipboardFormats0=1\r\nClipboardFormats1=1\r\nClipboardFormats2=0\r\nClipboardFormats3=1\r\n"
       L"ClipboardFormats4=1\r\n");
  HWND list = Item(IDC_SP_FORMATS);
  ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
  const wchar_t* extensions[5] = {L".txt", L".rtf", L".bmp", L".bnd", L".html"};
  const wchar_t* names[5] = {L"Plain Text", L"Formatted Text", L"Bitmap", L"Brindle Document",
                             L"HTML Code (web page)"};
  for (int i = 0; i < 5; ++i) {
    SHFILEINFOW info = {};
    std::wstring expected;
    if (i != 4) {
      ::SHGetFileInfoW(extensions[i], FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);
      expected = info.szTypeName;
      if (!expected.empty()) expected += L", ";
    }
    expected += std::wstring(names[i]) + L" [" + extensions[i] + L"]";
    wchar_t text[300] = {};
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 300;
    ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(text), expected) << i;
    UINT state = static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK)) >> 12;
    EXPECT_EQ(state, i == 2 ? 1u : 2u) << i;
  }
  // A refill, and a page made after another one closed, show the same
  // rows with their icons: the pages share the process's images.
  auto icons = [&] { return sptest::RowsWithIcons(list); };
  // The icons come once the list is seen (the host window shows it).
  int withIcons = 0;
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return (withIcons = icons()) >= 1; }, 20000));
  page->LoadControls();
  EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
  EXPECT_EQ(icons(), withIcons);
  Close();
  Open(L"[Settings]\r\nClipboardFormats0=1\r\nClipboardFormats1=1\r\nClipboardFormats2=0\r\n"
       L"ClipboardFormats3=1\r\nClipboardFormats4=1\r\n");
  list = Item(IDC_SP_FORMATS);
  EXPECT_EQ(icons(), withIcons);
  // Home, Down, Space: the second row's box.
  ::SetFocus(list);
  for (UINT key : {VK_HOME, VK_DOWN, VK_SPACE}) {
    ::SendMessageW(list, WM_KEYDOWN, key, 0);
    ::SendMessageW(list, WM_KEYUP, key, 0xC0000001);
  }
  qlrtest::PumpUntil([&] { return (::SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12) == 1; },
                     2000);
  Close();
  EXPECT_EQ(Ini(L"ClipboardFormats1"), 0);
  EXPECT_EQ(Ini(L"ClipboardFormats0"), 1);
  EXPECT_EQ(Ini(L"ClipboardFormats2"), 0);
}

// The text of the page's tip for a control.
std::wstring TipOf(HWND control) {
  std::pair<HWND, std::wstring> found(control, L"");
  ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM data) {
    auto* search = reinterpret_cast<std::pair<HWND, std::wstring>*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(w, name, 64);
    if (wcscmp(name, TOOLTIPS_CLASSW) != 0) return TRUE;
    wchar_t text[1024] = {};
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = search->first;
    info.uId = reinterpret_cast<UINT_PTR>(search->first);
    info.lpszText = text;
    if (!::SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return TRUE;
    info.lpszText = text;
    ::SendMessageW(w, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
    if (text[0]) search->second = text;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

std::wstring LocalDateOf(const FILETIME& utc) {
  FILETIME local = {};
  SYSTEMTIME time = {};
  ::FileTimeToLocalFileTime(&utc, &local);
  ::FileTimeToSystemTime(&local, &time);
  wchar_t text[64] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 64);
  return text;
}

TEST_F(SettingsPageTest, UpdateTipShowsTheLastCheckTheFileHoldsAtEachFill) {
  // Three different days, each written between fills as the tray writes
  // them after a check; the second page of the process reads the file too.
  const ULONGLONG day = 24ull * 3600 * 10000000;
  const ULONGLONG base = 133000000000000000ull;  // in 2022
  auto stored = [&](int n) {
    FILETIME time = {static_cast<DWORD>(base + n * 40 * day), static_cast<DWORD>((base + n * 40 * day) >> 32)};
    return time;
  };
  auto write = [&](int n) {
    const FILETIME time = stored(n);
    ::WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Low",
                                 std::to_wstring(static_cast<int>(time.dwLowDateTime)).c_str(), ProgramIni().c_str());
    ::WritePrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Hi",
                                 std::to_wstring(static_cast<int>(time.dwHighDateTime)).c_str(), ProgramIni().c_str());
  };
  Open(L"[Settings]\r\n");
  Hover(IDC_SP_AUTO_UPDATE);
  write(0);
  page->LoadControls();
  const std::wstring first = TipOf(Item(IDC_SP_AUTO_UPDATE));
  EXPECT_NE(first.find(L": " + LocalDateOf(stored(0))), std::wstring::npos) << first;
  page->LoadControls();
  EXPECT_EQ(TipOf(Item(IDC_SP_AUTO_UPDATE)), first);
  write(1);
  page->LoadControls();
  std::wstring tip = TipOf(Item(IDC_SP_AUTO_UPDATE));
  EXPECT_NE(tip.find(L": " + LocalDateOf(stored(1))), std::wstring::npos) << tip;
  page.reset();
  write(2);
  page = std::make_unique<CSettingsPage>(&m_top, host);
  ASSERT_TRUE(page->Create());
  Hover(IDC_SP_AUTO_UPDATE);
  tip = TipOf(Item(IDC_SP_AUTO_UPDATE));
  EXPECT_NE(tip.find(L": " + LocalDateOf(stored(2))), std::wstring::npos) << tip;
}

// The tips speak the language of the moment they are made, whichever way
// the mouse first arrives (or none), and follow each switch made after
// that; the language here switches before the first hover.
TEST_F(SettingsPageTest, HoverTipsSpeakTheLanguageSetBeforeTheFirstHoverAndFollowLaterSwitches) {
  qlrtest::TempDir languages;
  const std::wstring german = languages.File(L"De.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(german, L"[Main]\r\nLangPrefix=De\r\n[Strings_Editor]\r\n"
                                              L"2139=T\u00F6ne bei Ereignissen\r\n2130=Rechtsklick f\u00FCr Tasten\r\n"
                                              L"2104=Tastenk\u00FCrzel frei\r\n2108=\u00DCber die Zwischenablage\r\n"
                                              L"2133=Zuletzt gepr\u00FCft\r\n"));
  struct LanguageBack {
    ~LanguageBack() { SetCurrentLanguage(L""); }
  } back;
  for (MouseWay way : {MouseWay::kSetCursor, MouseWay::kLoop, MouseWay::kNone}) {
    const int round = static_cast<int>(way);
    Open(L"[Settings]\r\nTextPasteMethod_v150=1\r\n");
    ASSERT_TRUE(SetLngStringFile(german, L"_Editor"));
    page->OnDocumentUpdate(kHintLanguageChanged);
    Hover(IDC_SP_SOUNDS, way);
    EXPECT_EQ(TipOf(Item(IDC_SP_SOUNDS)), L"T\u00F6ne bei Ereignissen") << round;
    // The hotkey control took the template field's place: its tip is on it.
    EXPECT_EQ(TipOf(Item(IDC_SP_HOTKEY)), L"Rechtsklick f\u00FCr Tasten") << round;
    EXPECT_EQ(TipOf(Item(IDC_SP_HOTKEY_RESULT)), L"Tastenk\u00FCrzel frei\u2026") << round;
    EXPECT_EQ(TipOf(Item(IDC_SP_PASTE_METHOD)), L"\u00DCber die Zwischenablage") << round;
    EXPECT_NE(TipOf(Item(IDC_SP_AUTO_UPDATE)).find(L"\n\nZuletzt gepr\u00FCft: "), std::wstring::npos) << round;
    // Back to the built-in texts once the tips exist.
    SetCurrentLanguage(L"");
    page->OnDocumentUpdate(kHintLanguageChanged);
    EXPECT_EQ(TipOf(Item(IDC_SP_SOUNDS)), L"Play sounds on events (copy to clipboard, paste text snippet and etc)")
        << round;
    EXPECT_EQ(TipOf(Item(IDC_SP_HOTKEY_RESULT)), L"The hot key validated successfully\u2026") << round;
    EXPECT_EQ(TipOf(Item(IDC_SP_PASTE_METHOD)), L"Via Windows Clipboard") << round;
    Close();
  }
}

void AnswerFontDialog(std::atomic<bool>* found) {
  HWND box = nullptr;
  qlrtest::WaitUntil([&] {
    box = ::FindWindowW(L"#32770", nullptr);
    while (box && !::GetDlgItem(box, 1136)) box = ::FindWindowExW(nullptr, box, L"#32770", nullptr);  // the face list
    return box != nullptr;
  }, 5000);
  if (!box) return;
  *found = true;
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(SettingsPageTest, ChosenMenuFontReachesTheFileAtOnce) {
  LPARAM hint = 0;
  host.updateViews = [&](LPARAM h) { hint = h; };
  Open(L"[Settings]\r\n");
  std::wstring sample = TextOf(IDC_SP_FONT_SAMPLE);
  EXPECT_EQ(sample.rfind(L"Font For Menu: ", 0), 0u) << sample;
  std::atomic<bool> found{false};
  std::thread answer(AnswerFontDialog, &found);
  page->ShowFontDialog();
  answer.join();
  ASSERT_TRUE(found);
  LOGFONTW stored = {};
  EXPECT_TRUE(::GetPrivateProfileStructW(L"Settings", L"FontForMenu", &stored, sizeof(stored), ProgramIni().c_str()));
  EXPECT_EQ(hint, kHintMenuFontChanged);
  page.reset();
}

// The tray program writes other values and pulses while the user has
// changes of their own on the page; then the language switches: the user's
// changes stay, the untouched controls follow the file, and the close saves
// both. (Last: the store keeps what it read for the keys later files lack.)
TEST_F(SettingsPageTest, ReloadAndLanguageSwitchKeepUnsavedChoicesAndTakeTheRest) {
  const std::wstring common = L"[Settings]\r\nTextPasteMethod_v150=1\r\nClipboardSpyMethod_v2_22=0\r\nHotkey=196621\r\n"
                              L"ClipboardFormats1=1\r\n";
  Open(common + L"ClipboardFormats2=0\r\nSoundOnEventsV094=0\r\nClipboardHistory=1\r\nDaysCheckForUpdates=5\r\nClipboardHistoryMax=40\r\n");
  HWND formats = Item(IDC_SP_FORMATS);
  auto formatOn = [&](int row) { return (ListView_GetItemState(formats, row, LVIS_STATEIMAGEMASK) >> 12) == 2; };
  Click(IDC_SP_SOUNDS);
  SetText(IDC_SP_HISTORY_MAX, L"7");
  Choose(IDC_SP_PASTE_METHOD, 0);
  Choose(IDC_SP_TRACKING, 0);
  SetHotkey(VK_F8, HOTKEYF_CONTROL, true);
  ListView_SetItemState(formats, 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);

  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), common + L"SoundOnEventsV094=0\r\nClipboardHistory=0\r\n"
                                                             L"DaysCheckForUpdates=12\r\nClipboardHistoryMax=50\r\n"
                                                             L"ClipboardFormats2=1\r\n"));
  GetEditorSettings().Load();
  for (int round = 0; round < 2; ++round) {
    if (round == 0)
      page->LoadControls();
    else
      page->RenewBuiltTexts();
    EXPECT_TRUE(Checked(IDC_SP_SOUNDS)) << round;
    EXPECT_EQ(TextOf(IDC_SP_HISTORY_MAX), L"7") << round;
    EXPECT_EQ(::SendMessageW(Item(IDC_SP_PASTE_METHOD), CB_GETCURSEL, 0, 0), 0) << round;
    EXPECT_EQ(::SendMessageW(Item(IDC_SP_TRACKING), CB_GETCURSEL, 0, 0), 0) << round;
    EXPECT_EQ(LOBYTE(::SendMessageW(Item(IDC_SP_HOTKEY), HKX_GETHOTKEY, 0, 0)), VK_F8) << round;
    EXPECT_FALSE(formatOn(1)) << round;
    // Untouched: the file's new values.
    EXPECT_FALSE(Checked(IDC_SP_HISTORY)) << round;
    EXPECT_EQ(TextOf(IDC_SP_UPDATE_DAYS), L"12") << round;
    EXPECT_TRUE(formatOn(2)) << round;
  }
  Close();
  EXPECT_EQ(Ini(L"SoundOnEventsV094"), 1);
  EXPECT_EQ(Ini(L"ClipboardHistoryMax"), 7);
  EXPECT_EQ(Ini(L"TextPasteMethod_v150"), 0);
  EXPECT_EQ(Ini(L"ClipboardSpyMethod_v2_22"), -1);
  EXPECT_EQ(Ini(L"Hotkey_Doubled"), 1);
  EXPECT_EQ(Ini(L"ClipboardFormats1"), 0);
  EXPECT_EQ(Ini(L"ClipboardHistory"), 0);
  EXPECT_EQ(Ini(L"DaysCheckForUpdates"), 12);
  EXPECT_EQ(Ini(L"ClipboardFormats2"), 1);
}

}  // namespace

namespace {

// Every window of the page, children before their own children, in the
// order the dialog keys walk them: what the user sees of each.
std::vector<std::wstring> PageWindows(HWND page) {
  std::vector<std::wstring> rows;
  std::function<void(HWND, int)> walk = [&](HWND parent, int depth) {
    for (HWND w = ::GetWindow(parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      wchar_t cls[64] = {}, text[256] = {};
      ::GetClassNameW(w, cls, 64);
      ::GetWindowTextW(w, text, 256);
      RECT r = {};
      ::GetWindowRect(w, &r);
      ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
      LOGFONTW font = {};
      if (HFONT f = reinterpret_cast<HFONT>(::SendMessageW(w, WM_GETFONT, 0, 0))) ::GetObjectW(f, sizeof(font), &font);
      const bool button = _wcsicmp(cls, L"Button") == 0;
      wchar_t row[800] = {};
      swprintf(row, 800, L"%d %ls id=%d style=%08lx ex=%08lx at=%ld,%ld,%ld,%ld [%ls] font=%ls/%ld/%ld on=%d check=%d",
               depth, cls, ::GetDlgCtrlID(w), static_cast<unsigned long>(::GetWindowLongW(w, GWL_STYLE)),
               static_cast<unsigned long>(::GetWindowLongW(w, GWL_EXSTYLE)), r.left, r.top, r.right, r.bottom, text,
               font.lfFaceName, font.lfHeight, font.lfWeight, ::IsWindowEnabled(w) ? 1 : 0,
               button ? static_cast<int>(::SendMessageW(w, BM_GETCHECK, 0, 0)) : -1);
      rows.push_back(row);
      walk(w, depth + 1);
    }
  };
  RECT r = {};
  ::GetWindowRect(page, &r);
  wchar_t head[200] = {};
  swprintf(head, 200, L"page %ldx%ld style=%08lx ex=%08lx", r.right - r.left, r.bottom - r.top,
           static_cast<unsigned long>(::GetWindowLongW(page, GWL_STYLE)),
           static_cast<unsigned long>(::GetWindowLongW(page, GWL_EXSTYLE)));
  rows.push_back(head);
  walk(page, 0);
  return rows;
}

TEST_F(SettingsPageTest, PageMadeInPartsIsThePageMadeAtOnceAndWritesNothingBeforeItIsFilled) {
  const std::wstring ini =
      L"[Settings]\r\nHotkey=196621\r\nDaysCheckForUpdates=12\r\nClipboardHistory=0\r\nSoundOnEventsV094=0\r\n"
      L"TextPasteMethod_v150=1\r\nClipboardFormats2=0\r\nAddLastUsedMenuToBegin=1\r\n";
  Open(ini);
  const std::vector<std::wstring> atOnce = PageWindows(page->m_hWnd);
  page.reset();  // the page made at once writes back what it showed
  ASSERT_TRUE(qlrtest::WriteUtf16File(ProgramIni(), ini));
  MarkEditorSettingsChanged();
  GetEditorSettings();

  // Closed before its last part, a page shows nothing of the user's: the
  // file stays as it was (an unfilled page would write every box off).
  const std::string before = qlrtest::ReadBytes(ProgramIni());
  page = std::make_unique<CSettingsPage>(&m_top, host);
  ASSERT_TRUE(page->CreateInParts());
  EXPECT_FALSE(::IsWindowVisible(page->m_hWnd));
  EXPECT_EQ(CSettingsPage::PartResult::kMore, page->MakeNextPart());
  page.reset();
  EXPECT_EQ(before, qlrtest::ReadBytes(ProgramIni()));

  // Made in parts with the thread's messages in between, the page has the
  // same windows, texts, fonts, places and values, and its full size
  // from its first part on; the focus stays where the user has it.
  HWND field = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 700, 10, 80, 20, m_top.m_hWnd, nullptr,
                                 nullptr, nullptr);
  ::SetForegroundWindow(m_top.m_hWnd);
  ::SetFocus(field);
  const HWND focus = ::GetFocus();
  page = std::make_unique<CSettingsPage>(&m_top, host);
  ASSERT_TRUE(page->CreateInParts());
  RECT first = {};
  ::GetWindowRect(page->m_hWnd, &first);
  int parts = 0;
  CSettingsPage::PartResult result;
  while ((result = page->MakeNextPart()) == CSettingsPage::PartResult::kMore) {
    ++parts;
    qlrtest::PumpUntil([] { return true; }, 0);
  }
  ASSERT_EQ(CSettingsPage::PartResult::kDone, result);
  EXPECT_GT(parts, 3) << "a few controls a part";
  ::ShowWindow(page->m_hWnd, SW_SHOW);
  EXPECT_EQ(focus, ::GetFocus());
  const std::vector<std::wstring> inParts = PageWindows(page->m_hWnd);
  ASSERT_EQ(atOnce.size(), inParts.size());
  for (size_t i = 0; i < atOnce.size(); ++i) EXPECT_EQ(atOnce[i], inParts[i]) << i;
  RECT done = {};
  ::GetWindowRect(page->m_hWnd, &done);
  EXPECT_TRUE(::EqualRect(&first, &done));
  EXPECT_EQ(CSettingsPage::PartResult::kDone, page->MakeNextPart());
  Close();
  EXPECT_EQ(Ini(L"DaysCheckForUpdates"), 12);
  EXPECT_EQ(Ini(L"SoundOnEventsV094"), 0);
  EXPECT_EQ(Ini(L"ClipboardFormats2"), 0);
  EXPECT_EQ(Ini(L"Hotkey"), 196621);
}

}  // namespace
