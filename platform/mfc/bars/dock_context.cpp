#include "platform/mfc/bars/dock_context.h"

#include <algorithm>

#include "platform/mfc/bars/dock_bar.h"
#include "platform/mfc/bars/mini_dock_frame.h"
#include "platform/mfc/frame/frame_wnd.h"

namespace {

constexpr int kDockZone = 20;  // how near a side's edge a drop docks on it

const UINT kSides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};

DWORD AlignOfSide(UINT id) {
  switch (id) {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    default: return 0;
  }
}

bool IsLeftCode(int code) { return code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT; }
bool IsRightCode(int code) { return code == HTRIGHT || code == HTTOPRIGHT || code == HTBOTTOMRIGHT; }
bool IsTopCode(int code) { return code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT; }
bool IsBottomCode(int code) { return code == HTBOTTOM || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT; }

}  // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar ? pBar->m_pDockSite : nullptr) {}

template <typename OnMove>
bool CDockContext::TrackLoop(HWND hWndCapture, CPoint start, OnMove onMove) {
  m_bCancel = false;
  m_ptLast = start;
  ::SetCapture(hWndCapture);
  bool released = false;
  bool done = false;
  MSG msg;
  while (!done && !m_bCancel) {
    if (::GetCapture() != hWndCapture) break;  // another window took the mouse
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // the loop above ours ends too
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        ::ClientToScreen(msg.hwnd, &pt);
        if (pt.x != m_ptLast.x || pt.y != m_ptLast.y) {
          m_ptLast = pt;
          onMove(pt);
        }
        if (msg.message == WM_LBUTTONUP) released = done = true;
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) done = true;
        break;
      case WM_RBUTTONDOWN:
      case WM_CANCELMODE:
        done = true;
        break;
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        break;
    }
  }
  if (::GetCapture() == hWndCapture) ::ReleaseCapture();
  return released && !m_bCancel;
}

void CDockContext::DrawOutline(const CRect& rect) {
  if (rect.IsRectEmpty()) return;
  HDC dc = ::GetDC(nullptr);
  if (!dc) return;
  ::DrawFocusRect(dc, &rect);  // drawn twice, it is gone again
  ::ReleaseDC(nullptr, dc);
}

UINT CDockContext::DockSideAt(CPoint pt) const {
  CFrameWnd* site = m_pBar ? m_pBar->m_pDockSite : nullptr;
  if (!site || !site->m_hWnd) site = m_pDockSite;
  if (!site || !site->m_hWnd) return 0;
  CRect client;
  site->GetClientRect(&client);
  site->ClientToScreen(&client);
  for (UINT id : kSides) {
    if (!(m_pBar->m_dwDockStyle & AlignOfSide(id))) continue;
    CDockBar* dock = site->GetDockBar(id);
    if (!dock || !dock->m_hWnd) continue;
    CRect zone;
    dock->GetWindowRect(&zone);
    // An empty or thin side still takes drops near its edge.
    switch (id) {
      case AFX_IDW_DOCKBAR_TOP:
        zone = CRect(client.left, client.top, client.right, std::max<LONG>(zone.bottom, client.top + kDockZone));
        break;
      case AFX_IDW_DOCKBAR_BOTTOM:
        zone = CRect(client.left, std::min<LONG>(zone.top, client.bottom - kDockZone), client.right, client.bottom);
        break;
      case AFX_IDW_DOCKBAR_LEFT:
        zone = CRect(client.left, client.top, std::max<LONG>(zone.right, client.left + kDockZone), client.bottom);
        break;
      default:
        zone = CRect(std::min<LONG>(zone.left, client.right - kDockZone), client.top, client.right, client.bottom);
        break;
    }
    if (zone.PtInRect(pt)) return id;
  }
  return 0;
}

void CDockContext::StartDrag(CPoint pt) {
  if (!m_pBar || !m_pBar->m_hWnd || m_bDragging || m_bResizing) return;
  CFrameWnd* site = m_pBar->m_pDockSite ? m_pBar->m_pDockSite : m_pDockSite;
  if (!site) return;
  m_pDockSite = site;
  CRect start;
  m_pBar->GetWindowRect(&start);
  const CPoint origin = pt;
  const int dragX = ::GetSystemMetrics(SM_CXDRAG), dragY = ::GetSystemMetrics(SM_CYDRAG);
  bool moved = false;
  m_bDragging = TRUE;
  m_rectDragHorz = CRect();
  bool released = TrackLoop(m_pBar->m_hWnd, pt, [&](CPoint p) {
    if (!moved && std::abs(p.x - origin.x) <= dragX && std::abs(p.y - origin.y) <= dragY) return;
    moved = true;
    DrawOutline(m_rectDragHorz);
    m_rectDragHorz = start;
    m_rectDragHorz.OffsetRect(p.x - origin.x, p.y - origin.y);
    DrawOutline(m_rectDragHorz);
  });
  DrawOutline(m_rectDragHorz);
  m_bDragging = FALSE;
  if (!released || !moved || !m_pBar->m_hWnd) return;
  UINT side = DockSideAt(m_ptLast);
  if (side) {
    site->DockControlBar(m_pBar, side, &m_rectDragHorz);
  } else {
    if (!m_pBar->IsFloating()) {
      m_uMRUDockID = m_pBar->m_pDockBar ? static_cast<UINT>(m_pBar->m_pDockBar->GetDlgCtrlID()) : m_uMRUDockID;
      m_rectMRUDockPos = start;
    }
    site->FloatControlBar(m_pBar, m_rectDragHorz.TopLeft(), m_pBar->m_dwStyle & CBRS_ALIGN_ANY);
  }
  site->RecalcLayout();
}

void CDockContext::ToggleDocking() {
  if (!m_pBar || !m_pBar->m_hWnd || m_bDragging || m_bResizing) return;
  CFrameWnd* site = m_pBar->m_pDockSite ? m_pBar->m_pDockSite : m_pDockSite;
  if (!site || !site->m_hWnd) return;
  m_pDockSite = site;
  if (m_pBar->IsFloating()) {
    UINT side = m_uMRUDockID;
    if (!side || !(m_pBar->m_dwDockStyle & AlignOfSide(side)) || !site->GetDockBar(side))
      side = site->FirstDockBarID(m_pBar->m_dwDockStyle);
    if (!side) return;  // nowhere it may go: it stays floating
    HWND mini = ::GetParent(m_pBar->m_pDockBar->m_hWnd);
    CRect miniRect;
    ::GetWindowRect(mini, &miniRect);
    m_ptMRUFloatPos = miniRect.TopLeft();
    m_bHaveFloatPos = true;
    site->DockControlBar(m_pBar, side, m_rectMRUDockPos.IsRectEmpty() ? nullptr : &m_rectMRUDockPos);
  } else {
    if (m_pBar->m_pDockBar) m_uMRUDockID = static_cast<UINT>(m_pBar->m_pDockBar->GetDlgCtrlID());
    m_pBar->GetWindowRect(&m_rectMRUDockPos);
    CPoint at = m_bHaveFloatPos ? m_ptMRUFloatPos : m_rectMRUDockPos.TopLeft();
    site->FloatControlBar(m_pBar, at, m_pBar->m_dwStyle & CBRS_ALIGN_ANY);
  }
  site->RecalcLayout();
}

void CDockContext::StartResize(int nHitTest, CPoint pt) {
  if (!m_pBar || !m_pBar->IsFloating() || m_bDragging || m_bResizing) return;
  if (nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT) return;
  HWND mini = ::GetParent(m_pBar->m_pDockBar->m_hWnd);
  CWnd* miniWnd = CWnd::FromHandlePermanent(mini);
  if (!miniWnd || !miniWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) return;
  auto* frame = static_cast<CMiniDockFrameWnd*>(miniWnd);
  ::GetWindowRect(mini, &m_rectFrameDragHorz);
  CRect client;
  ::GetClientRect(mini, &client);
  const CSize nc(m_rectFrameDragHorz.Width() - client.Width(), m_rectFrameDragHorz.Height() - client.Height());
  m_nHitTest = nHitTest;
  m_bResizing = TRUE;
  const CRect start = m_rectFrameDragHorz;
  TrackLoop(mini, pt, [&](CPoint p) {
    CRect want = start;
    if (IsLeftCode(nHitTest)) want.left += p.x - pt.x;
    if (IsRightCode(nHitTest)) want.right += p.x - pt.x;
    if (IsTopCode(nHitTest)) want.top += p.y - pt.y;
    if (IsBottomCode(nHitTest)) want.bottom += p.y - pt.y;
    const bool lengthY = nHitTest == HTTOP || nHitTest == HTBOTTOM;
    int length = lengthY ? want.Height() - nc.cy : want.Width() - nc.cx;
    CSize size = m_pBar->CalcDynamicLayout(std::max(length, 0), LM_HORZ | LM_COMMIT | (lengthY ? LM_LENGTHY : 0));
    // The border across from the dragged one stays in place.
    const int w = size.cx + nc.cx, h = size.cy + nc.cy;
    const int x = IsLeftCode(nHitTest) ? start.right - w : start.left;
    const int y = IsTopCode(nHitTest) ? start.bottom - h : start.top;
    ::SetWindowPos(mini, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout(FALSE);
  });
  m_bResizing = FALSE;
  m_nHitTest = HTNOWHERE;
}
