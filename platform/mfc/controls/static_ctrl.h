// CStatic: a static text or picture control. An owner-drawn one gets its
// WM_DRAWITEM from the parent through DrawItem.
#pragma once
#include <windows.h>

#include "platform/mfc/window/wnd.h"

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  CStatic() = default;
  using CWnd::Create;
  virtual BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

  HICON SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_GETICON, 0, 0)); }

  // Owner drawing (SS_OWNERDRAW); the default draws nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
