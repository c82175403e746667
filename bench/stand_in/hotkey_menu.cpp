// The bare program the hotkey benchmark measures Quillora.exe against: a
// hidden window that registers a hotkey and, on each press, builds a plain
// menu of 2,000 items in 100 submenus and shows it at the caret of the
// window in front, as any Win32 program would. Nothing of the suite.
//   bench_stand_in_hotkey_menu.exe   (Ctrl+Alt+F11; ends on WM_CLOSE)
#include <windows.h>

#include <string>

namespace {

constexpr int kFolders = 100;
constexpr int kItemsPerFolder = 20;
constexpr int kHotkeyId = 1;

HMENU BuildMenu() {
  HMENU menu = CreatePopupMenu();
  UINT id = 1;
  for (int f = 0; f < kFolders; ++f) {
    HMENU folder = CreatePopupMenu();
    for (int p = 0; p < kItemsPerFolder; ++p) {
      const std::wstring caption = L"Phrase " + std::to_wstring(f) + L"." + std::to_wstring(p);
      AppendMenuW(folder, MF_STRING, id++, caption.c_str());
    }
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(folder), (L"Folder " + std::to_wstring(f)).c_str());
  }
  return menu;
}

// The caret of the window in front in screen coordinates; the pointer's
// place when it has none.
POINT CaretPoint() {
  POINT at = {};
  GetCursorPos(&at);
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  HWND front = GetForegroundWindow();
  if (front && GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &gui) && gui.hwndCaret) {
    POINT caret = {gui.rcCaret.left, gui.rcCaret.bottom};
    if (ClientToScreen(gui.hwndCaret, &caret)) at = caret;
  }
  return at;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_HOTKEY: {
      const POINT at = CaretPoint();
      HMENU menu = BuildMenu();
      // A popup menu works only for the window in front.
      SetForegroundWindow(hwnd);
      TrackPopupMenuEx(menu, TPM_RETURNCMD, at.x, at.y, hwnd, nullptr);
      DestroyMenu(menu);
      return 0;
    }
    case WM_DESTROY:
      UnregisterHotKey(hwnd, kHotkeyId);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int wmain() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrBenchStandIn";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Stand-in", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!window || !RegisterHotKey(window, kHotkeyId, MOD_CONTROL | MOD_ALT, VK_F11)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
