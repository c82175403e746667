// Brings a window of this program to the front for a while and then gives
// the foreground back to the window that had it.
#pragma once
#include <windows.h>

class CAutoForegroundWindow {
 public:
  explicit CAutoForegroundWindow(HWND show);
  ~CAutoForegroundWindow();
  CAutoForegroundWindow(const CAutoForegroundWindow&) = delete;
  CAutoForegroundWindow& operator=(const CAutoForegroundWindow&) = delete;

  void Restore();

 private:
  HWND m_previous;
  HWND m_show;
  bool m_done;
  const wchar_t* m_logTag;
};

// Makes the top-level window of target the foreground window, trying first
// without attaching this thread's input (attached threads are refused on
// some platforms) and attached only when that fails; the focus goes to
// target when it belongs to this thread. True when target's window is in
// front afterwards.
bool BringWindowToFront(HWND target);
