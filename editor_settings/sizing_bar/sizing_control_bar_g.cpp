#include "editor_settings/sizing_bar/sizing_control_bar_g.h"

IMPLEMENT_DYNAMIC(CSizingControlBarG, CSizingControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBarG, CSizingControlBar)
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONUP()
END_MESSAGE_MAP()

void CSizingControlBarG::NcCalcClient(LPRECT pRc, UINT nDockBarID) {
  const POINT corner = {pRc->left, pRc->top};
  CSizingControlBar::NcCalcClient(pRc, nDockBarID);
  if (!HasGripper()) {
    m_rcClose = CRect();
    return;
  }
  RECT button;
  *pRc = sizing_bar::GripperClientRect(*pRc, IsHorzDocked() != FALSE, &button);
  m_rcClose = button;
  m_rcClose.OffsetRect(-corner.x, -corner.y);
}

CRect CSizingControlBarG::CloseButtonOnScreen() const {
  CRect window;
  GetWindowRect(&window);
  CRect r = m_rcClose;
  r.OffsetRect(window.left, window.top);
  return r;
}

LRESULT CSizingControlBarG::OnNcHitTest(CPoint point) {
  if (HasGripper() && !m_rcClose.IsRectEmpty() && CloseButtonOnScreen().PtInRect(point)) return HTCLOSE;
  return CSizingControlBar::OnNcHitTest(point);
}

void CSizingControlBarG::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCLOSE && !IsTracking()) {
    m_bClosePushed = TRUE;
    RedrawNonClient();
    return;
  }
  CSizingControlBar::OnNcLButtonDown(nHitTest, point);
}

void CSizingControlBarG::OnNcLButtonUp(UINT nHitTest, CPoint) {
  const BOOL wasPushed = m_bClosePushed;
  if (m_bClosePushed) {
    m_bClosePushed = FALSE;
    RedrawNonClient();
  }
  if (nHitTest == HTCLOSE && wasPushed) {
    if (m_pDockSite) m_pDockSite->ShowControlBar(this, FALSE, FALSE);
    return;
  }
  Default();
}

void CSizingControlBarG::OnUpdateCmdUI(CFrameWnd*, BOOL) {
  if (!HasGripper()) return;
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return;
  const BOOL hot = CloseButtonOnScreen().PtInRect(cursor);
  const BOOL pushed = hot && m_bClosePushed && ::GetKeyState(VK_LBUTTON) < 0;
  if (hot != m_bCloseHot || pushed != m_bClosePushed) {
    m_bCloseHot = hot;
    m_bClosePushed = pushed;
    RedrawNonClient();
  }
}

void CSizingControlBarG::NcPaintGripper(CDC* pDC, CRect rcClient) {
  if (!HasGripper()) return;
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
  auto etched = [&](int x, int y, int cx, int cy) {
    // A 3D rectangle: highlight at the top and left, shadow at the others.
    pDC->FillSolidRect(x, y, cx, 1, light);
    pDC->FillSolidRect(x, y, 1, cy, light);
    pDC->FillSolidRect(x + cx - 1, y, 1, cy, dark);
    pDC->FillSolidRect(x, y + cy - 1, cx, 1, dark);
  };
  if (IsHorzDocked()) {
    // Two lines down the band at the bar's left, below the close button.
    const int x = rcClient.left - m_cyGripper + 2, top = m_rcClose.bottom + 2;
    const int length = rcClient.bottom - top;
    if (length > 0) {
      etched(x, top, 3, length);
      etched(x + 3, top, 3, length);
    }
  } else {
    const int y = rcClient.top - m_cyGripper + 2, left = rcClient.left;
    const int length = m_rcClose.left - 2 - left;
    if (length > 0) {
      etched(left, y, length, 3);
      etched(left, y + 3, length, 3);
    }
  }
  PaintCloseButton(pDC);
}

void CSizingControlBarG::PaintCloseButton(CDC* pDC) {
  if (m_rcClose.IsRectEmpty()) return;
  CRect r = m_rcClose;
  UINT state = DFCS_CAPTIONCLOSE | DFCS_FLAT;
  if (m_bClosePushed) state |= DFCS_PUSHED;
  else if (m_bCloseHot) state |= DFCS_HOT;
  ::DrawFrameControl(pDC->GetSafeHdc(), &r, DFC_CAPTION, state);
}
