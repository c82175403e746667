#include "platform/mfc/doc/list_view.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CListView, CView)

BEGIN_MESSAGE_MAP(CListView, CView)
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CListView::PreCreateWindow(CREATESTRUCT& cs) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  cs.lpszClass = WC_LISTVIEWW;
  return CView::PreCreateWindow(cs);
}

CListCtrl& CListView::GetListCtrl() const {
  m_listCtrl.m_hWnd = m_hWnd;
  return m_listCtrl;
}
