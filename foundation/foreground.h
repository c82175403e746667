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
