// Test helpers of the tooltip windows: a topmost host window with one child
// tool, the cursor placed for real, relayed mouse messages.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "htmldraw/tooltip/pp_tooltip.h"
#include "tests/support/test_support.h"

namespace tiptest {

using qlrtest::PumpUntil;

// Pumps for the whole time; for checks that something does not happen.
inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

inline bool PlaceCursor(POINT point) {
  SetCursorPos(point.x, point.y);
  return PumpUntil([&] {
    POINT now;
    return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
  }, 3000);
}

inline bool IsShown(const CPPToolTip& tip) { return IsWindowVisible(tip.GetSafeHwnd()) != FALSE; }

inline RECT WindowRectOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// A message posted to window with a screen point turned into its client
// coordinates.
inline MSG MouseMessage(HWND window, UINT message, POINT screen, WPARAM wParam = 0) {
  POINT client = screen;
  ScreenToClient(window, &client);
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = MAKELPARAM(client.x, client.y);
  msg.pt = screen;
  return msg;
}

// A topmost top-level window with one child (the tool) at its left and
// free room at its right, so tests can move off the tool; a window
// procedure hook sees every message of the host.
class ToolHost {
 public:
  static constexpr int kLeft = 120, kTop = 160, kWidth = 420, kHeight = 260;
  static constexpr int kToolWidth = 260, kToolHeight = 200;

  ToolHost() {
    static const wchar_t kClass[] = L"TooltipTestHost";
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    host = CreateWindowExW(WS_EX_TOPMOST, kClass, L"host", WS_POPUP, kLeft, kTop, kWidth, kHeight, nullptr,
                           nullptr, wc.hInstance, this);
    tool = CreateWindowExW(0, kClass, L"tool", WS_CHILD | WS_VISIBLE, 10, 10, kToolWidth, kToolHeight, host,
                           reinterpret_cast<HMENU>(7), wc.hInstance, this);
    // Shown without activation: no test depends on which window is in front.
    ShowWindow(host, SW_SHOWNOACTIVATE);
    UpdateWindow(host);
  }
  ~ToolHost() {
    if (IsWindow(host)) DestroyWindow(host);
  }
  ToolHost(const ToolHost&) = delete;
  ToolHost& operator=(const ToolHost&) = delete;

  // Screen points inside the tool and on the host beside it.
  POINT InTool(int dx = 0, int dy = 0) const { return POINT{kLeft + 60 + dx, kTop + 120 + dy}; }
  POINT BesideTool() const { return POINT{kLeft + kToolWidth + 60, kTop + 120}; }

  HWND host = nullptr;
  HWND tool = nullptr;
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> onMessage;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<ToolHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->onMessage && self->onMessage(hwnd, message, wParam, lParam, &result)) return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

// A tooltip owned by a host, with short delays so tests run quickly.
inline bool CreateQuickTip(CPPToolTip& tip, HWND owner, UINT initialMs = 40) {
  if (!tip.Create(owner)) return false;
  tip.SetDelayTime(kPPDelayInitial, initialMs);
  return true;
}

// Puts the cursor at point and relays the move to window, as the owner's
// pre-translation would.
inline bool RelayMoveTo(CPPToolTip& tip, HWND window, POINT point) {
  if (!PlaceCursor(point)) return false;
  MSG msg = MouseMessage(window, WM_MOUSEMOVE, point);
  tip.RelayMessage(&msg);
  return true;
}

}  // namespace tiptest
