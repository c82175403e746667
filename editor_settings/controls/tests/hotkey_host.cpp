// Hosts a hotkey control in a window of its own and signals the named event
// given on the command line each time the control reports a change (2816).
// Ends when its window is closed or after a minute.
#include <windows.h>

#include <string>

#include "editor_settings/controls/hotkey_ctrl.h"
#include "editor_settings/controls/hotkey_record.h"

namespace {

HANDLE g_changed = nullptr;

LRESULT CALLBACK HostProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == kHotkeyNotifyChanged) ::SetEvent(g_changed);
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

void CALLBACK EndHost(HWND hWnd, UINT, UINT_PTR, DWORD) { ::DestroyWindow(hWnd); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  g_changed = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
  if (!g_changed || !RegisterHotkeyCtrlClass()) return 3;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuilloraHotkeyHost";
  ::RegisterClassW(&wc);
  HWND host = ::CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 120,
                                nullptr, nullptr, wc.hInstance, nullptr);
  HWND control = ::CreateWindowExW(0, kHotkeyCtrlClassName, L"", WS_CHILD | WS_VISIBLE, 5, 5, 200, 60, host,
                                   reinterpret_cast<HMENU>(1001), wc.hInstance, nullptr);
  if (!host || !control) return 4;
  ::SetTimer(host, 1, 60000, &EndHost);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
