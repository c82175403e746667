#include "editor_settings/helpers/control_ex.h"

LPARAM CTabCtrlEx::GetItemParam(int index) const {
  TCITEMW item = {};
  item.mask = TCIF_PARAM;
  if (!m_hWnd || !GetItem(index, &item)) return -1;
  return item.lParam;
}

BEGIN_MESSAGE_MAP(CReBarEx, CReBar)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CReBarEx::OnEraseBkgnd(CDC* pDC) {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  ::FillRect(pDC->GetSafeHdc(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}
