#include "platform/mfc/bars/mini_dock_frame.h"

#include "platform/mfc/bars/dock_context.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/window/class_names.h"

IMPLEMENT_DYNAMIC(CMiniDockFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CWnd)
  ON_WM_CLOSE()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

constexpr int kSizingBand = 4;  // the borders that size the frame, in pixels

}  // namespace

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pParent, DWORD dwBarStyle, DWORD dwWindowStyle) {
  if (!pParent || !pParent->m_hWnd || !AfxEnsureWndClass(kAfxMiniFrameClass)) return FALSE;
  m_pDockSite = pParent;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | dwWindowStyle;
  if (!CreateEx(WS_EX_TOOLWINDOW, kAfxMiniFrameClass, L"", style, 0, 0, 60, 40, pParent->m_hWnd, nullptr))
    return FALSE;
  if (!m_wndDockBar.Create(this, (dwBarStyle & CBRS_ALIGN_ANY) | WS_CHILD | WS_VISIBLE, AFX_IDW_DOCKBAR_FLOAT)) {
    DestroyWindow();
    return FALSE;
  }
  m_wndDockBar.m_pDockSite = pParent;
  m_wndDockBar.SetOwner(pParent);
  return TRUE;
}

CControlBar* CMiniDockFrameWnd::GetBar() const {
  for (CControlBar* bar : m_wndDockBar.m_arrBars)
    if (bar) return bar;
  return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  if (!m_hWnd || !m_wndDockBar.m_hWnd) return;
  CControlBar* bar = GetBar();
  CSize size(0, 0);
  if (bar && bar->m_hWnd) size = bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  const int w = size.cx + window.Width() - client.Width(), h = size.cy + window.Height() - client.Height();
  if (w != window.Width() || h != window.Height())
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(m_wndDockBar.m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (bar && bar->m_hWnd)
    ::SetWindowPos(bar->m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMiniDockFrameWnd::OnClose() {
  CControlBar* bar = GetBar();
  if (bar && m_pDockSite && m_pDockSite->m_hWnd) m_pDockSite->ShowControlBar(bar, FALSE, FALSE);
  else ShowWindow(SW_HIDE);
}

LRESULT CMiniDockFrameWnd::OnNcHitTest(CPoint point) {
  LRESULT code = Default();
  CControlBar* bar = GetBar();
  if (!bar || !(bar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
    // A fixed-size bar: its frame does not size.
    return (code >= HTLEFT && code <= HTBOTTOMRIGHT) ? HTBORDER : code;
  }
  if (code >= HTLEFT && code <= HTBOTTOMRIGHT) return code;
  CRect r;
  GetWindowRect(&r);
  const bool left = point.x < r.left + kSizingBand, right = point.x >= r.right - kSizingBand;
  const bool top = point.y < r.top + kSizingBand, bottom = point.y >= r.bottom - kSizingBand;
  if (top && left) return HTTOPLEFT;
  if (top && right) return HTTOPRIGHT;
  if (bottom && left) return HTBOTTOMLEFT;
  if (bottom && right) return HTBOTTOMRIGHT;
  if (left) return HTLEFT;
  if (right) return HTRIGHT;
  if (top) return HTTOP;
  if (bottom) return HTBOTTOM;
  return code;
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  CControlBar* bar = GetBar();
  if (bar && bar->m_pDockContext && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    bar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
    return;
  }
  Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint) {
  CControlBar* bar = GetBar();
  if (nHitTest == HTCAPTION && bar && bar->m_pDockContext) {
    bar->m_pDockContext->ToggleDocking();
    return;
  }
  Default();
}

LRESULT CMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  if (IsWindowVisible()) SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, lParam, TRUE, TRUE);
  return 0;
}
