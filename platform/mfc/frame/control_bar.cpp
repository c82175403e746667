#include "platform/mfc/frame/control_bar.h"

#include "platform/mfc/bars/dock_bar.h"
#include "platform/mfc/bars/dock_context.h"
#include "platform/mfc/frame/frame_wnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CControlBar::~CControlBar() {
  // An object that outlives its window, or goes without one, leaves its
  // dock bar and frame all the same.
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  delete m_pDockContext;
}

BOOL CControlBar::IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE); }

BOOL CControlBar::IsFloating() const { return m_pDockBar && m_pDockBar->m_bFloating; }

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
  if (!m_pDockContext) m_pDockContext = new CDockContext(this);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode) {
  return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (!pDC || !pDC->GetSafeHdc()) return;
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
  const DWORD borders = m_dwStyle & CBRS_BORDER_ANY;
  // Each border is an etched line: shadow outside, highlight inside.
  if (borders & CBRS_BORDER_LEFT) {
    pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), dark);
    pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), light);
    rect.left += 2;
  }
  if (borders & CBRS_BORDER_TOP) {
    pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, dark);
    pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
    rect.top += 2;
  }
  if (borders & CBRS_BORDER_RIGHT) {
    pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), light);
    pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), dark);
    rect.right -= 2;
  }
  if (borders & CBRS_BORDER_BOTTOM) {
    pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, light);
    pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, dark);
    rect.bottom -= 2;
  }
}

void CControlBar::OnDestroy() {
  if (m_pDockContext) {
    m_pDockContext->CancelLoop();
    m_pDockContext->m_pDockSite = nullptr;  // the frame may go before this object
  }
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  if (m_pDockSite) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite->DelayRecalcLayout();
    m_pDockSite = nullptr;
  }
  Default();
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pDockContext && m_pDockBar && !IsFloating() && ItemFromPoint(point) < 0) {
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
    return;
  }
  (void)nFlags;
  Default();
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pDockContext && m_pDockBar && ItemFromPoint(point) < 0) {
    m_pDockContext->ToggleDocking();
    return;
  }
  (void)nFlags;
  Default();
}

BOOL CControlBar::CreateBar(LPCWSTR lpszClassName, DWORD dwStyle, CWnd* pParentWnd, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  if (pParentWnd && pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    // Docked or floating, the bar's commands go to its frame.
    SetOwner(pParentWnd);
  }
  if (!CWnd::Create(lpszClassName, nullptr, dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParentWnd, nID)) {
    m_pDockSite = nullptr;
    return FALSE;
  }
  if (m_pDockSite) m_pDockSite->AddControlBar(this);
  return TRUE;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CRect rect;
  if (m_hWnd) GetWindowRect(&rect);
  CSize size(rect.Width(), rect.Height());
  if (bStretch) {
    if (bHorz) size.cx = 32767;
    else size.cy = 32767;
  }
  return size;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  // Only this thread's layout passes carry a valid pointer.
  if (!lParam || !AfxIsMessageFromOwnThread()) return 0;
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (!IsVisible() || !(m_dwStyle & CBRS_ALIGN_ANY)) return 0;
  const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  CSize size = CalcFixedLayout(layout->bStretch, horz);
  RECT& free = layout->rect;
  const int freeW = free.right - free.left, freeH = free.bottom - free.top;
  // A bar never takes more than is free.
  if (horz) {
    size.cx = layout->bStretch || size.cx > freeW ? freeW : size.cx;
    if (size.cy > freeH) size.cy = freeH;
  } else {
    size.cy = layout->bStretch || size.cy > freeH ? freeH : size.cy;
    if (size.cx > freeW) size.cx = freeW;
  }
  if (size.cx < 0) size.cx = 0;
  if (size.cy < 0) size.cy = 0;
  RECT bar = free;
  if (m_dwStyle & CBRS_ALIGN_TOP) {
    bar.bottom = bar.top + size.cy;
    free.top += size.cy;
  } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
    bar.top = bar.bottom - size.cy;
    free.bottom -= size.cy;
  } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
    bar.right = bar.left + size.cx;
    free.left += size.cx;
  } else {
    bar.left = bar.right - size.cx;
    free.right -= size.cx;
  }
  if (horz) {
    bar.right = bar.left + size.cx;
    layout->sizeTotal.cy += size.cy;
    if (size.cx > layout->sizeTotal.cx) layout->sizeTotal.cx = size.cx;
  } else {
    bar.bottom = bar.top + size.cy;
    layout->sizeTotal.cx += size.cx;
    if (size.cy > layout->sizeTotal.cy) layout->sizeTotal.cy = size.cy;
  }
  // A query pass (no deferred moves) only measures.
  if (layout->hDWP) AfxRepositionWindow(layout, m_hWnd, &bar);
  return 0;
}

CFrameWnd* CControlBar::GetTargetFrame() const {
  CWnd* owner = GetOwner();
  if (owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(owner);
  if (m_pDockSite) return m_pDockSite;
  // A bar inside another bar (a toolbar on a dialog bar) serves that bar's frame.
  if (owner && owner != this && owner->IsKindOf(RUNTIME_CLASS(CControlBar)))
    return static_cast<CControlBar*>(owner)->GetTargetFrame();
  CWnd* top = GetTopLevelParent();
  return top && top->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(top) : nullptr;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!IsVisible()) return 0;
  if (CFrameWnd* target = GetTargetFrame()) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
  return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
      LRESULT result = 0;
      if (OnWndMsg(message, wParam, lParam, &result)) return result;
      CWnd* owner = GetOwner();
      if (owner && owner->m_hWnd && owner->m_hWnd != m_hWnd) return owner->SendMessage(message, wParam, lParam);
      break;
    }
    case WM_SETTEXT: {
      LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      // A floating bar's mini frame carries its title.
      if (IsFloating() && m_pDockBar->m_hWnd) {
        HWND mini = ::GetParent(m_pDockBar->m_hWnd);
        if (mini && lParam) ::SetWindowTextW(mini, reinterpret_cast<LPCWSTR>(lParam));
      }
      return result;
    }
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
