#include "platform/mfc/controls/tab_ctrl.h"

#include "platform/mfc/controls/control_classes.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!AfxEnsureCommonControls(ICC_TAB_CLASSES)) return FALSE;
  return CWnd::Create(WC_TABCONTROLW, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, TCITEMW* pTabCtrlItem) {
  return static_cast<LONG>(
      ::SendMessageW(m_hWnd, TCM_INSERTITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

LONG CTabCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage, LPARAM lParam) {
  TCITEMW item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = const_cast<LPWSTR>(lpszItem);
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(nItem, &item);
}

BOOL CTabCtrl::GetItem(int nItem, TCITEMW* pTabCtrlItem) const {
  return ::SendMessageW(m_hWnd, TCM_GETITEMW, static_cast<WPARAM>(nItem),
                        reinterpret_cast<LPARAM>(pTabCtrlItem)) != 0;
}
