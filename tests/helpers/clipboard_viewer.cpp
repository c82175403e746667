// A conforming member of the clipboard-viewer chain in its own process:
// it joins the chain at start, passes every chain message on as a viewer
// must, and counts the WM_DRAWCLIPBOARD it receives.
//   clipboard_viewer
// Messages to its window (class "QlrTestClipboardViewer", titled "joined"
// once it is in the chain):
//   WM_APP      -> the WM_DRAWCLIPBOARD count
//   WM_APP + 1  -> its next viewer
//   WM_CLOSE    -> leaves the chain and ends with 0
#include <windows.h>

namespace {

HWND g_next = nullptr;
LONG g_drawCount = 0;

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DRAWCLIPBOARD:
      ++g_drawCount;
      if (g_next) SendMessageW(g_next, msg, wParam, lParam);
      return 0;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wParam) == g_next)
        g_next = reinterpret_cast<HWND>(lParam);
      else if (g_next)
        SendMessageW(g_next, msg, wParam, lParam);
      return 0;
    case WM_APP:
      return g_drawCount;
    case WM_APP + 1:
      return reinterpret_cast<LRESULT>(g_next);
    case WM_CLOSE:
      ChangeClipboardChain(hwnd, g_next);
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int wmain() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrTestClipboardViewer";
  if (!RegisterClassW(&wc)) return 2;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"viewer", WS_OVERLAPPED, 0, 0, 50, 50,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 3;
  g_next = SetClipboardViewer(hwnd);
  SetWindowTextW(hwnd, L"joined");  // tests wait for this title
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
