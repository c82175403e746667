// A stand-in for the tray window in interchange tests: a message-only
// window on its own thread whose query message handler the test supplies.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "tray/hook/wait_query.h"

class TrayWindowStub {
 public:
  using Handler = std::function<void(CQueryRecord&, CAnswerRecord&)>;

  explicit TrayWindowStub(Handler handler) : m_handler(std::move(handler)) {
    m_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    WaitForSingleObject(m_ready, 10000);
  }
  ~TrayWindowStub() {
    PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    WaitForSingleObject(m_thread, 10000);
    CloseHandle(m_thread);
    CloseHandle(m_ready);
  }
  HWND Hwnd() const { return m_hwnd; }
  int Served() const { return m_served.load(); }
  int Errors() const { return m_errors.load(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TrayWindowStub*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_TRAY_QUERY) {
      LRESULT r = ServeQueryMessage(wp, lp, self->m_handler);
      ++self->m_served;
      return r;
    }
    if (self && msg == WM_WAIT_QUERY_COMPLETE_ERROR) {
      ++self->m_errors;
      return 1;
    }
    if (msg == WM_CLOSE) {
      DestroyWindow(hwnd);
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  static DWORD WINAPI ThreadProc(void* p) {
    auto* self = static_cast<TrayWindowStub*>(p);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = L"QlrTrayWindowStub";
    RegisterClassW(&wc);
    self->m_hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr);
    SetWindowLongPtrW(self->m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetEvent(self->m_ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  }

  Handler m_handler;
  HANDLE m_ready = nullptr;
  HANDLE m_thread = nullptr;
  HWND m_hwnd = nullptr;
  std::atomic<int> m_served{0};
  std::atomic<int> m_errors{0};
};
