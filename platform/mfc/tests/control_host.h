// A top-level window that the control tests put their controls in. Shown
// (without activation) only for tests that need the focus: under Wine,
// hiding a shown top-level window without a window manager takes seconds.
#pragma once
#include <windows.h>

#include "platform/mfc/afxcmn.h"

class CControlHost : public CWnd {
 public:
  explicit CControlHost(bool show = false) {
    CreateEx(0, nullptr, L"control host", WS_OVERLAPPEDWINDOW, 40, 40, 480, 360, nullptr, nullptr);
    if (show) ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
  }
  ~CControlHost() override {
    if (m_hWnd) DestroyWindow();
  }
  static CRect ChildRect() { return CRect(0, 0, 400, 280); }
};
