// The tray window's part in the handler tests: a parent window that records
// the handler's notices.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "history/capture/clipboard_handler.h"
#include "history/tests/history_test_util.h"

namespace histtest {

constexpr UINT kHandlerId = 1333;

struct HandlerParent {
  std::vector<std::pair<UINT, int>> notices;  // code, value
  HWND hwnd = nullptr;
  HandlerParent() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HandlerParent::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrTestHandlerParent";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           wc.hInstance, this);
  }
  ~HandlerParent() { DestroyWindow(hwnd); }
  int Count(UINT code) const {
    int n = 0;
    for (const auto& notice : notices) n += notice.first == code;
    return n;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = TestWindowObject<HandlerParent>(hwnd, msg, lParam);
    if (self && msg == WM_NOTIFY && wParam == kHandlerId) {
      auto* nm = reinterpret_cast<NMCLIPBOARDHISTORY*>(lParam);
      self->notices.push_back({nm->hdr.code, nm->hdr.code == CHN_HISTORYCHANGED ? nm->value : 0});
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
};

}  // namespace histtest
