// Shows a top-level window titled "QlrForegroundPeer", brings it to the
// front and runs until the window is closed (or 60 s passed).
#include <windows.h>

int wmain() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrForegroundPeer";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"QlrForegroundPeer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            50, 50, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 1;
  SetForegroundWindow(hwnd);
  SetTimer(hwnd, 1, 60000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
