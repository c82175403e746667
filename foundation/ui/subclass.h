// A process-wide registry that subclasses windows by handle and routes
// their messages to a callback. Used for windows whose class the program
// does not own (list views, buttons of dialogs).
#pragma once
#include <windows.h>

// The callback may set *passOn to FALSE to keep the message from the
// previous window procedure; its result is then the message's result.
typedef LRESULT (*SubclassCallback)(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                    LONG_PTR userValue, BOOL* passOn, WNDPROC previous);

class CWindowSubclassHandler {
 public:
  CWindowSubclassHandler(HWND hWnd, SubclassCallback callback, LONG_PTR userValue)
      : m_hWnd(hWnd), m_callback(callback), m_userValue(userValue) {}
  virtual ~CWindowSubclassHandler() = default;

  HWND m_hWnd;
  SubclassCallback m_callback;  // null: the entry only passes messages on
  LONG_PTR m_userValue;
  WNDPROC m_previous = nullptr;
};

// False when the window does not exist, is already subclassed here, or the
// callback is null.
bool SubclassWindowProc(HWND hWnd, SubclassCallback callback, LONG_PTR userValue);
// False when the window is not subclassed here. When another procedure was
// installed on top of ours meanwhile, ours stays in the chain and only
// passes messages on, so the later subclass keeps working.
bool UnsubclassWindowProc(HWND hWnd);
bool IsWindowSubclassed(HWND hWnd);
