// The tray program's part in the pane tests: a stand-in tray window that
// records the commands and menu notices it gets, and a reader of the menu
// the pane has open.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "history/pane/pane_host.h"
#include "tests/support/test_support.h"

namespace histtest {

inline std::vector<UINT>& TrayCommands() {
  static std::vector<UINT> commands;
  return commands;
}
inline int& TrayMenuInits() {
  static int count = 0;
  return count;
}

inline LRESULT CALLBACK PaneTrayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) TrayCommands().push_back(LOWORD(wParam));
  if (msg == WM_INITMENUPOPUP) ++TrayMenuInits();
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class PaneTestHost : public IPaneHost {
 public:
  PaneTestHost() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PaneTrayProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PaneTestTray";
    RegisterClassW(&wc);
    tray = CreateWindowW(L"PaneTestTray", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    TrayCommands().clear();
    TrayMenuInits() = 0;
  }
  ~PaneTestHost() override { DestroyWindow(tray); }
  HWND TrayWindow() override { return tray; }
  HWND PreviousFocusWindow() override { return nullptr; }
  void ReportToTray(const std::wstring& text) override { reports.push_back(text); }
  void PlayPaperSound() override { ++paperSounds; }
  void PlayKeyboardSound() override {}
  bool IsAdministrator() override { return admin; }
  bool SoundsOn() override { return sounds; }
  HWND tray = nullptr;
  std::vector<std::wstring> reports;
  int paperSounds = 0;
  bool admin = false;
  bool sounds = false;
};

// The ids (0 for a separator) of the first visible menu window of this
// process, read while it is open (inspect sees the menu then); then it is
// closed with Escape. Run on a thread of its own while the menu is tracked.
inline std::vector<UINT> ReadOpenMenu(const std::function<void(HMENU)>& inspect = {}) {
  HWND window = nullptr;
  qlrtest::WaitUntil([&] {
    window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32768", nullptr)) != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      if (pid == GetCurrentProcessId() && IsWindowVisible(window)) return true;
    }
    return false;
  }, 10000);
  std::vector<UINT> ids;
  HMENU menu = window ? reinterpret_cast<HMENU>(SendMessageW(window, 0x01E1 /* MN_GETHMENU */, 0, 0)) : nullptr;
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    UINT id = GetMenuItemID(menu, i);
    ids.push_back(id == static_cast<UINT>(-1) ? 0 : id);
  }
  if (menu && inspect) inspect(menu);
  if (window) PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  return ids;
}

}  // namespace histtest
