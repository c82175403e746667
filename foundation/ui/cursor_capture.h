// CCursorCapture: a scoped cursor change while the program does something
// slow, such as starting a file: optionally captures the mouse for a window
// and shows a system cursor, and puts the previous cursor back at the end.
#pragma once
#include <windows.h>

class CCursorCapture {
 public:
  // captureWindow: the window that takes the mouse capture (null: none);
  // cursorId: a system cursor id such as IDC_APPSTARTING (null: the cursor
  // stays as it is).
  CCursorCapture(HWND captureWindow, LPCWSTR cursorId);
  ~CCursorCapture();
  CCursorCapture(const CCursorCapture&) = delete;
  CCursorCapture& operator=(const CCursorCapture&) = delete;

  // Sets the kept cursor back, nudges the mouse pointer so that the system
  // draws it anew, and releases the capture this object took. With bForget
  // the object is done: the destructor restores nothing more.
  void Restore(bool bForget);

 private:
  HCURSOR m_previous = nullptr;
  HWND m_captureWindow = nullptr;
  bool m_captured = false;
  bool m_done = false;
};
