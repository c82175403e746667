#include "platform/mfc/controls/toolbar_ctrl.h"

#include "platform/mfc/controls/control_classes.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!AfxEnsureCommonControls(ICC_BAR_CLASSES)) return FALSE;
  if (!CWnd::Create(TOOLBARCLASSNAMEW, nullptr, dwStyle, rect, pParentWnd, nID)) return FALSE;
  Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return TRUE;
}

int CToolBarCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  int result = CWnd::OnCreate(lpCreateStruct);
  if (result != -1) Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return result;
}

HIMAGELIST CToolBarCtrl::SetImageList(CImageList* pImageList) {
  return reinterpret_cast<HIMAGELIST>(Send(TB_SETIMAGELIST, 0, AfxImageListHandle(pImageList)));
}

int CToolBarCtrl::GetButtonInfo(int nID, TBBUTTONINFOW* ptbbi) const {
  ptbbi->cbSize = sizeof(TBBUTTONINFOW);
  return static_cast<int>(Send(TB_GETBUTTONINFOW, static_cast<WPARAM>(nID), ptbbi));
}

BOOL CToolBarCtrl::SetButtonInfo(int nID, TBBUTTONINFOW* ptbbi) {
  ptbbi->cbSize = sizeof(TBBUTTONINFOW);
  return Send(TB_SETBUTTONINFOW, static_cast<WPARAM>(nID), ptbbi) != 0;
}

void CToolBarCtrl::SetOwner(CWnd* pWnd) {
  CWnd::SetOwner(pWnd);
  Send(TB_SETPARENT, reinterpret_cast<WPARAM>(pWnd ? pWnd->m_hWnd : nullptr), 0);
}
