// CTabCtrl: a tab strip. Every method is the plain message.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/window/wnd.h"

class CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)

 public:
  CTabCtrl() = default;
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Index of the new tab, or -1.
  LONG InsertItem(int nItem, TCITEMW* pTabCtrlItem);
  LONG InsertItem(int nItem, LPCWSTR lpszItem, int nImage, LPARAM lParam);
  // pTabCtrlItem->mask says what is read (TCIF_PARAM, TCIF_IMAGE...).
  BOOL GetItem(int nItem, TCITEMW* pTabCtrlItem) const;
  int GetItemCount() const { return static_cast<int>(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
  int GetCurSel() const { return static_cast<int>(::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0)); }
  // Answers the tab selected before, or -1.
  int SetCurSel(int nItem) { return static_cast<int>(::SendMessageW(m_hWnd, TCM_SETCURSEL, nItem, 0)); }
};
