#include "foundation/ui/message_box_timeout.h"

namespace {

// One box being shown on this thread; boxes may nest (a box shown from a
// handler that runs while another box is open).
struct TimedBox {
  HWND box = nullptr;
  UINT_PTR timer = 0;
  bool timedOut = false;
  TimedBox* outer = nullptr;
};

thread_local TimedBox* t_boxes = nullptr;
thread_local HHOOK t_hook = nullptr;

// The message box dialog is the first "#32770" window activated on this
// thread while the innermost call waits for its box.
LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && t_boxes && !t_boxes->box) {
    wchar_t cls[16] = {};
    HWND h = reinterpret_cast<HWND>(wParam);
    if (::GetClassNameW(h, cls, 16) && wcscmp(cls, L"#32770") == 0) t_boxes->box = h;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK OnTimeout(HWND, UINT, UINT_PTR id, DWORD) {
  for (TimedBox* b = t_boxes; b; b = b->outer) {
    if (b->timer != id) continue;
    ::KillTimer(nullptr, id);
    b->timer = 0;
    if (b->box && ::IsWindow(b->box)) {
      b->timedOut = true;
      ::EndDialog(b->box, kMessageBoxTimedOut);
    }
    return;
  }
}

}  // namespace

int MessageBoxTimeout(HWND owner, const wchar_t* caption, const wchar_t* text, UINT type,
                      DWORD milliseconds) {
  TimedBox box;
  box.outer = t_boxes;
  t_boxes = &box;
  bool ownHook = false;
  if (!t_hook) {
    t_hook = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
    ownHook = t_hook != nullptr;
  }
  // A thread timer: the box's own message loop dispatches it to OnTimeout.
  box.timer = ::SetTimer(nullptr, 0, milliseconds, OnTimeout);
  int result = ::MessageBoxW(owner, text, caption, type);
  if (box.timer) ::KillTimer(nullptr, box.timer);
  if (ownHook) {
    ::UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
  }
  t_boxes = box.outer;
  if (box.timedOut) return kMessageBoxTimedOut;
  return result;
}
