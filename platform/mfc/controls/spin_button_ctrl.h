// CSpinButtonCtrl: an up-down control. Every method is the plain message.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/window/wnd.h"

class CSpinButtonCtrl : public CWnd {
 public:
  CSpinButtonCtrl() = default;

  void SetRange32(int nLower, int nUpper) { ::SendMessageW(m_hWnd, UDM_SETRANGE32, nLower, nUpper); }
  void GetRange32(int& nLower, int& nUpper) const {
    ::SendMessageW(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
  }
  // Answers the buddy it replaced.
  HWND SetBuddy(HWND hBuddy) {
    return reinterpret_cast<HWND>(::SendMessageW(m_hWnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hBuddy), 0));
  }
  HWND GetBuddy() const { return reinterpret_cast<HWND>(::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0)); }
  int SetPos32(int nPos) { return static_cast<int>(::SendMessageW(m_hWnd, UDM_SETPOS32, 0, nPos)); }
  // The position; error (may be null) is set when the buddy's text is no
  // number of the range.
  int GetPos32(BOOL* error = nullptr) const {
    return static_cast<int>(::SendMessageW(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
  }
};
