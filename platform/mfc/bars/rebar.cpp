#include "platform/mfc/bars/rebar.h"

#include "platform/mfc/controls/control_classes.h"
#include "platform/mfc/frame/frame_wnd.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
  ON_NOTIFY_REFLECT_EX(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  if (!pParentWnd || !pParentWnd->m_hWnd || !AfxEnsureCommonControls(ICC_COOL_CLASSES)) return FALSE;
  const DWORD style = dwStyle | dwCtrlStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (!CreateBar(REBARCLASSNAMEW, style, pParentWnd, nID)) return FALSE;
  REBARINFO info = {sizeof(info)};
  SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  return TRUE;
}

BOOL CReBar::AddBand(CWnd* pBar, REBARBANDINFOW* pInfo) {
  if (!m_hWnd || !pBar || !pBar->m_hWnd) return FALSE;
  // The band's child must be the rebar's own.
  ::SetParent(pBar->m_hWnd, m_hWnd);
  CSize size;
  if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar))) {
    size = static_cast<CControlBar*>(pBar)->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  } else {
    CRect r;
    pBar->GetWindowRect(&r);
    size = r.Size();
  }
  pInfo->fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
  pInfo->hwndChild = pBar->m_hWnd;
  pInfo->cxMinChild = static_cast<UINT>(size.cx);
  pInfo->cyMinChild = static_cast<UINT>(size.cy);
  pInfo->cx = static_cast<UINT>(size.cx);
  if (!SendMessage(RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pInfo))) return FALSE;
  if (m_pDockSite) m_pDockSite->DelayRecalcLayout();
  return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCWSTR pszText, DWORD dwStyle) {
  REBARBANDINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_COLORS;
  info.fStyle = dwStyle;
  info.clrFore = clrFore;
  info.clrBack = clrBack;
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPWSTR>(pszText);
  }
  return AddBand(pBar, &info);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size(0, 0);
  if (m_hWnd) {
    const int height = static_cast<int>(SendMessage(RB_GETBARHEIGHT));
    CRect r;
    GetWindowRect(&r);
    size = bHorz ? CSize(r.Width(), height) : CSize(height, r.Height());
  }
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

void CReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL CReBar::OnHeightChange(NMHDR*, LRESULT* pResult) {
  // The bands' new height changes what the frame gives the other bars.
  if (m_pDockSite) m_pDockSite->DelayRecalcLayout();
  *pResult = 0;
  return FALSE;
}
