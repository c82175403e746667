// The editor's settings pane driven from outside: the pane's tab strip and
// its show and hide, the page following the tray program's options, and the
// page's values written back when the editor closes through its own button.
#include <algorithm>
#include <tuple>
#include <iostream>
#include <string>
#include <vector>

#include "tests/e2e/editor_session.h"
#include "tests/e2e/hotkey_session.h"

#include <shellapi.h>

namespace {

using qlre2e::EditorSessionTest;
using qlrtest::WaitUntil;

constexpr int kTabId = 1234;
constexpr UINT kHotkeyTestId = 1001;
constexpr UINT kHotkeySetField = WM_USER + 4;
constexpr int kHotkeyWinBox = 2;
constexpr UINT kToggleSettings = 32777;
constexpr UINT kReread = 32800;

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

// The pane's saved sizes, where the editor keeps them once the user sized
// the pane.
constexpr wchar_t kPaneSizesKey[] = L"Software\\Quillora\\Quillora\\Bars-SCBar-32777";
void SetPaneWidth(DWORD width) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kPaneSizesKey, L"sizeVertCX", REG_DWORD, &width, sizeof(width));
}
void ForgetPaneSizes() { RegDeleteTreeW(HKEY_CURRENT_USER, kPaneSizesKey); }

using qlrtest::ScreenPixels;

// The first 8 x 8 block of pure black in the pixels, as "x,y", or "".
std::string BlackBlock(const std::vector<DWORD>& pixels, int width) {
  const int height = width ? static_cast<int>(pixels.size()) / width : 0;
  for (int y = 0; y + 8 <= height; y += 4)
    for (int x = 0; x + 8 <= width; x += 4) {
      bool black = true;
      for (int dy = 0; dy < 8 && black; ++dy)
        for (int dx = 0; dx < 8 && black; ++dx) black = pixels[static_cast<size_t>((y + dy) * width + x + dx)] == 0;
      if (black) return std::to_string(x) + "," + std::to_string(y);
    }
  return std::string();
}

// The visible part of a window's client area on the screen: inside its
// top-level window's client area and the screen.
RECT VisibleClient(HWND window) {
  RECT client = {}, root = {};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  HWND top = GetAncestor(window, GA_ROOT);
  GetClientRect(top, &root);
  MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&root), 2);
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT visible = {};
  IntersectRect(&visible, &client, &root);
  IntersectRect(&visible, &visible, &screen);
  return visible;
}

// The screen of the rectangle once it stops changing (three equal copies
// in a row, 150 ms apart).
std::vector<DWORD> SettledPixels(const RECT& rect) {
  std::vector<DWORD> last = ScreenPixels(rect);
  int same = 0;
  WaitUntil([&] {
    std::vector<DWORD> now = ScreenPixels(rect);
    same = now == last ? same + 1 : 0;
    last.swap(now);
    return same >= 2;
  }, 20000, 150);
  return last;
}

// Mouse input at a screen point: a move there, then the given buttons.
INPUT MouseAt(POINT at, DWORD buttons) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((at.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((at.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  return input;
}

// Whether nearly all of the window's client area is on the screen (a pane
// docked again is laid out a moment later).
bool MostlyVisible(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  const RECT visible = VisibleClient(window);
  const long long all = static_cast<long long>(client.right) * client.bottom;
  const long long shown = static_cast<long long>(visible.right - visible.left) * (visible.bottom - visible.top);
  return all > 0 && shown * 10 >= all * 9;
}

// What the pane shows matches what it paints when made to paint all of
// itself again, and no block of it is left black. "" when clean.
std::wstring ShownTip(HWND window);

std::string PaintFault(HWND bar) {
  // No control under the cursor shows a hover state that a later paint
  // drops, and no tip of the page covers it (a tip shown over a box the
  // test clicked goes once the pointer left).
  INPUT away = MouseAt(POINT{0, GetSystemMetrics(SM_CYSCREEN) - 1}, 0);
  SendInput(1, &away, sizeof(INPUT));
  WaitUntil([&] { return ShownTip(bar).empty(); }, 20000, 50);
  // The frame may still be laying the pane out: the copy counts once the
  // pane stood still while it was taken.
  RECT rect = {};
  std::vector<DWORD> shown;
  WaitUntil([&] {
    rect = VisibleClient(bar);
    if (rect.right <= rect.left || rect.bottom <= rect.top) return false;
    shown = SettledPixels(rect);
    const RECT now = VisibleClient(bar);
    return EqualRect(&rect, &now) != FALSE;
  }, 20000, 50);
  const int width = rect.right - rect.left;
  if (width <= 0 || rect.bottom <= rect.top) return "the pane is not on the screen";
  const std::string black = BlackBlock(shown, width);
  if (!black.empty()) return "a black block at " + black;
  // Painted by the editor's own loop (a paint forced from here would
  // reach its controls' notices as foreign).
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  const HWND scroller = FindWindowExW(bar, nullptr, L"QuilloraPageScroller", nullptr);
  WaitUntil([&] {
    for (HWND w : {bar, scroller, scroller ? GetWindow(scroller, GW_CHILD) : nullptr})
      if (w && GetUpdateRect(w, nullptr, FALSE)) return false;
    return true;
  }, 20000, 50);
  const std::vector<DWORD> repainted = SettledPixels(rect);
  if (repainted.size() != shown.size()) return "the pane moved";
  size_t differ = 0;
  for (size_t i = 0; i < shown.size(); ++i) differ += shown[i] != repainted[i];
  // A caret or a blinking label may differ; stale bits cover whole areas.
  if (differ * 200 > shown.size())
    return std::to_string(differ) + " of " + std::to_string(shown.size()) + " pixels differ from a fresh paint";
  return std::string();
}

// Whether every visible control of the page lies inside the client area
// of its scroller once the page is scrolled to the given end.
std::string ControlsOutside(HWND page, HWND scroller, bool farEnd) {
  const WPARAM code = farEnd ? SB_BOTTOM : SB_TOP;
  qlre2e::SendWaiting(scroller, WM_HSCROLL, code, 0);
  qlre2e::SendWaiting(scroller, WM_VSCROLL, code, 0);
  RECT view = {};
  GetClientRect(scroller, &view);
  MapWindowPoints(scroller, nullptr, reinterpret_cast<POINT*>(&view), 2);
  std::string outside;
  for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
    if (!IsWindowVisible(control)) continue;
    const RECT r = ScreenRect(control);
    // The title row spans the page; its ends lie at the page's own ends.
    const bool out = farEnd ? (r.right > view.right || r.bottom > view.bottom) : (r.left < view.left || r.top < view.top);
    if (out) outside += std::to_string(GetDlgCtrlID(control)) + " ";
  }
  return outside;
}

// A drag of the left mouse button from one screen point to another, in steps.
bool Drag(POINT from, POINT to) {
  std::vector<INPUT> inputs = {MouseAt(from, 0), MouseAt(from, MOUSEEVENTF_LEFTDOWN)};
  for (int step = 1; step <= 8; ++step)
    inputs.push_back(MouseAt(POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8}, 0));
  inputs.push_back(MouseAt(to, MOUSEEVENTF_LEFTUP));
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool ClickAt(POINT at) {
  INPUT inputs[3] = {MouseAt(at, 0), MouseAt(at, MOUSEEVENTF_LEFTDOWN), MouseAt(at, MOUSEEVENTF_LEFTUP)};
  return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

// The window's place on the screen once it stood still for a moment.
RECT SettledRect(HWND window) {
  qlrtest::WaitUntilStill(
      [&] {
        const RECT r = ScreenRect(window);
        return std::make_tuple(r.left, r.top, r.right, r.bottom);
      },
      300);
  return ScreenRect(window);
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

constexpr wchar_t kSoundsTip[] = L"Play sounds on events (copy to clipboard, paste text snippet and etc)";

// The text of a tooltip that the window's process shows now, or "".
std::wstring ShownTip(HWND window) {
  std::pair<DWORD, std::wstring> search(0, L"");
  GetWindowThreadProcessId(window, &search.first);
  EnumWindows([](HWND w, LPARAM data) {
    auto* found = reinterpret_cast<std::pair<DWORD, std::wstring>*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (pid == found->first && IsWindowVisible(w) && _wcsicmp(cls, TOOLTIPS_CLASSW) == 0) {
      found->second = qlre2e::WindowText(w);
      if (!found->second.empty()) return FALSE;
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.second;
}


class SettingsPaneTest : public EditorSessionTest {
 protected:
  // The editor's frame and its settings page, or an assertion.
  void StartWithPage(const std::wstring& args = std::wstring()) {
    frame = Start(args);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (page = FindPage(frame)) != nullptr; }, kWaitMs));
    scroller = GetParent(page);
    bar = GetParent(scroller);
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
  HWND scroller = nullptr;  // between the pane and its page
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
  // Seen for the first time: the format rows get their icons, and what
  // came after the first paint was painted too.
  HWND formats = GetDlgItem(page, 1042);
  EXPECT_TRUE(WaitUntil([&] {
    const std::vector<qlre2e::RemoteListItem> rows = qlre2e::ReadRemoteList(formats);
    return rows.size() == 5 && rows[1].image >= 0;  // the editor's own icon for ".rtf"
  }, kWaitMs));
  EXPECT_EQ(PaintFault(bar), "") << "first shown";
  // The mouse resting on a box shows its tip, in the page's language.
  ASSERT_TRUE(BringForward(frame));
  const RECT sounds = ScreenRect(GetDlgItem(page, 1011));
  const POINT onSounds = {sounds.left + 40, (sounds.top + sounds.bottom) / 2};
  INPUT rest[2] = {MouseAt(POINT{onSounds.x - 6, onSounds.y}, 0), MouseAt(onSounds, 0)};
  ASSERT_EQ(SendInput(2, rest, sizeof(INPUT)), 2u);
  EXPECT_TRUE(WaitUntil([&] { return ShownTip(frame) == kSoundsTip; }, kWaitMs)) << qlrtest::ToUtf8(ShownTip(frame));
  // The strip is as tall as a caption, the page starts 2 pixels below it.
  HWND tabs = GetDlgItem(bar, kTabId);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(Send(tabs, TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(Send(tabs, TCM_GETCURSEL), 0);
  ASSERT_TRUE(WaitUntil([&] {
    const RECT strip = ScreenRect(tabs), sheet = ScreenRect(scroller);
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

// A message box of the process whose text holds part; null when none
// showed within the wait.
HWND WaitForBoxSaying(DWORD pid, const std::wstring& part) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND window : qlrtest::FindProcessWindows(pid)) {
      wchar_t cls[16] = {};
      GetClassNameW(window, cls, 16);
      if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) continue;
      if (qlre2e::WindowText(GetDlgItem(window, 0xFFFF)).find(part) == std::wstring::npos) continue;
      found = window;
      return true;
    }
    return false;
  }, 20000);
  return found;
}

// A close the document refuses (the open phrase's file is held by another
// program) keeps a later page change, which the next close saves over what
// another program wrote meanwhile; a Settings.ini that cannot be written
// lets the user stay, with the editor's values as they were, or close
// without saving.
TEST_F(SettingsPaneTest, RefusedAndUnwritableClosesKeepPageChangesAndAWayOut) {
  const std::wstring phrase = PhrasesFolder() + L"\\Held.quillora";
  ASSERT_TRUE(qlre2e::WritePhrase(phrase, L"Held", L"held words", 1));
  SetSetting(L"LastFile", phrase, L"Settings_Editor");
  SetSetting(L"SoundOnEventsV094", L"0");
  SetSetting(L"MenuToolTips_V0_94_A22", L"0");
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  // The tray program, started after the editor, changes an option the
  // editor never hears of.
  SetSetting(L"ClipboardHistoryMax", L"77");
  HWND text = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (text = qlre2e::FindChildOfClass(GetDlgItem(frame, 0xE900), L"RichEdit")) != nullptr; },
      kWaitMs));
  Send(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed words"));
  Send(text, EM_SETMODIFY, TRUE);
  UniqueHandle held(CreateFileW(phrase.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  PostMessageW(frame, WM_CLOSE, 0, 0);
  HWND box = WaitForBoxSaying(child.Pid(), L"Close without them?");
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDNO, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWaitMs));
  ASSERT_TRUE(IsWindow(frame));

  Click(page, 1011);
  held.Reset();
  PostMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(child.Wait(kWaitMs), 0);
  EXPECT_EQ(IniInt(L"SoundOnEventsV094"), 1);
  EXPECT_EQ(IniInt(L"ClipboardHistoryMax"), 77);
  EXPECT_NE(qlrtest::ReadBytes(phrase).find("typed words"), std::string::npos);

  // Settings.ini held: the close says why and asks; No stays, Yes closes
  // without the page's change.
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  Click(page, 1023);
  const std::wstring ini = dir.File(L"Settings.ini");
  held.Reset(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  for (int answer : {IDNO, IDYES}) {
    PostMessageW(frame, WM_CLOSE, 0, 0);
    box = WaitForBoxSaying(child.Pid(), L"Close without saving the settings?");
    ASSERT_NE(box, nullptr) << answer;
    const std::wstring said = qlre2e::WindowText(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(said.find(L"Cannot save the settings to"), std::wstring::npos) << qlrtest::ToUtf8(said);
    EXPECT_NE(said.find(ini), std::wstring::npos) << qlrtest::ToUtf8(said);
    PostMessageW(box, WM_COMMAND, answer, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWaitMs));
    if (answer != IDNO) continue;
    EXPECT_TRUE(WaitUntil([&] { return child.IsRunning() && IsWindow(frame); }, 1000));
    // The unreadable file left the editor's values alone: Reread reads
    // its phrase folder still.
    Send(frame, WM_COMMAND, kReread);
    EXPECT_NE(qlre2e::FindRemoteTreeItem(GetDlgItem(qlre2e::FindPhrasePane(frame), 1243), L"Held"), nullptr);
  }
  EXPECT_EQ(child.Wait(kWaitMs), 0);
  held.Reset();
  EXPECT_EQ(IniInt(L"MenuToolTips_V0_94_A22"), 0);
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
  ForgetPaneSizes();
}

TEST_F(SettingsPaneTest, PaneShowsItsWholePageAndPaintsCleanlyAfterResizeDockingAndReopening) {
  ForgetPaneSizes();
  ASSERT_NO_FATAL_FAILURE(StartWithPage());
  ASSERT_TRUE(BringForward(frame));
  const RECT made = ScreenRect(page);
  const LONG pageWidth = made.right - made.left;
  // As wide as its page, or as the frame leaves beside a usable view.
  HWND view = GetDlgItem(frame, 0xE900);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(WaitUntil([&] {
    RECT client = {};
    GetClientRect(scroller, &client);
    const RECT shown = ScreenRect(view);
    return client.right >= pageWidth || shown.right - shown.left <= 204;
  }, kWaitMs)) << pageWidth;
  // Every control can be scrolled into the pane.
  EXPECT_EQ(ControlsOutside(page, scroller, true), "");
  EXPECT_EQ(ControlsOutside(page, scroller, false), "");


  EXPECT_EQ(PaintFault(bar), "") << "opened";
  // Its inner edge dragged: wider, then narrower than at first.
  const RECT first = ScreenRect(bar);
  const int middle = (first.top + first.bottom) / 2;
  ASSERT_TRUE(BringForward(frame));
  ASSERT_TRUE(Drag(POINT{first.left + 2, middle}, POINT{first.left - 120, middle}));
  ASSERT_TRUE(WaitUntil([&] { return ScreenRect(bar).left < first.left - 60; }, kWaitMs));
  EXPECT_EQ(PaintFault(bar), "") << "widened";
  const RECT wide = ScreenRect(bar);
  ASSERT_TRUE(BringForward(frame));
  ASSERT_TRUE(Drag(POINT{wide.left + 2, middle}, POINT{first.left + 150, middle}));
  ASSERT_TRUE(WaitUntil([&] { return ScreenRect(bar).left > first.left + 60; }, kWaitMs));
  EXPECT_EQ(PaintFault(bar), "") << "narrowed";
  EXPECT_EQ(ControlsOutside(page, scroller, true), "") << "narrowed";

  // Floated and docked again by a double click on its caption.
  PostMessageW(bar, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(WaitUntil([&] { return GetAncestor(bar, GA_ROOT) != frame && IsWindowVisible(bar); }, kWaitMs));
  EXPECT_EQ(PaintFault(bar), "") << "floating";
  PostMessageW(bar, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(WaitUntil([&] { return GetAncestor(bar, GA_ROOT) == frame && MostlyVisible(bar); }, kWaitMs));
  ASSERT_TRUE(BringForward(frame));
  EXPECT_EQ(PaintFault(bar), "") << "docked again";

  // Hidden and shown again.
  PostMessageW(frame, WM_COMMAND, kToggleSettings, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(bar); }, kWaitMs));
  PostMessageW(frame, WM_COMMAND, kToggleSettings, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) && MostlyVisible(bar); }, kWaitMs));
  EXPECT_EQ(PaintFault(bar), "") << "reopened";

  // A real click on the hotkey's "WIN" box reaches it, and each click
  // tests the hotkey again: Ctrl+Alt+F9 is held by this test.
  HWND hotkey = GetDlgItem(page, kHotkeyTestId);
  HWND win = GetDlgItem(hotkey, kHotkeyWinBox);
  HWND result = GetDlgItem(page, 1004);
  RECT overlap = {};
  const RECT box = SettledRect(win), label = ScreenRect(result);
  EXPECT_FALSE(IntersectRect(&overlap, &box, &label));
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(owner, 1, MOD_CONTROL | MOD_ALT, VK_F9));
  Send(hotkey, kHotkeySetField, MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT));
  const std::wstring conflict = L"The hot key conflicts with other applications!";
  for (bool checked : {true, false}) {
    ASSERT_TRUE(BringForward(frame));
    // Where the box is now: the frame may still be laying its panes out.
    ASSERT_TRUE(ClickAt(Centre(SettledRect(win))));
    EXPECT_TRUE(WaitUntil([&] { return (Send(win, BM_GETCHECK) == BST_CHECKED) == checked; }, kWaitMs)) << checked;
  }
  EXPECT_TRUE(WaitUntil([&] { return qlre2e::WindowText(result).compare(0, conflict.size(), conflict) == 0; }, kWaitMs))
      << qlrtest::ToUtf8(qlre2e::WindowText(result));
  UnregisterHotKey(owner, 1);
  DestroyWindow(owner);
  EXPECT_EQ(Exit(frame), 0);
  ForgetPaneSizes();
}

}  // namespace
