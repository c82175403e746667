// Dragging a sizing bar's edge.
#include <algorithm>

#include "editor_settings/sizing_bar/sizing_control_bar.h"

using sizing_bar::RowBar;
using sizing_bar::Side;

int CSizingControlBar::FreeAcross() const {
  const bool horz = IsHorzDocked() != FALSE;
  if (m_pDockSite && m_pDockSite->m_hWnd) {
    if (HWND pane = ::GetDlgItem(m_pDockSite->m_hWnd, AFX_IDW_PANE_FIRST)) {
      CRect r;
      ::GetWindowRect(pane, &r);
      return std::max(0, static_cast<int>(horz ? r.Height() : r.Width()));
    }
  }
  if (!m_pDockBar || !m_pDockBar->m_hWnd) return 0;
  CRect dock;
  m_pDockBar->GetWindowRect(&dock);
  const CRect& layout = m_pDockBar->m_rectLayout;
  return std::max(0, horz ? layout.Height() - dock.Height() : layout.Width() - dock.Width());
}

void CSizingControlBar::StartTracking(UINT nHitTest, CPoint point) {
  GetRowBars(m_trackRow);
  auto self = std::find(m_trackRow.begin(), m_trackRow.end(), static_cast<CControlBar*>(this));
  if (self == m_trackRow.end()) return;
  m_nTrackIndex = static_cast<size_t>(self - m_trackRow.begin());
  m_trackStart = RowSizes(m_trackRow);
  const Side side = CurrentSide();
  const bool horz = sizing_bar::IsHorz(side);
  m_htEdge = nHitTest;
  m_bTrackInner = (side == Side::kTop && nHitTest == HTBOTTOM) || (side == Side::kBottom && nHitTest == HTTOP) ||
                  (side == Side::kLeft && nHitTest == HTRIGHT) || (side == Side::kRight && nHitTest == HTLEFT);
  m_bTrackAlongX = horz ? !m_bTrackInner : m_bTrackInner;
  m_nTrackStartPos = m_nTrackPos = m_nTrackPosOld = m_bTrackAlongX ? point.x : point.y;
  int minGrowth = 0, maxGrowth = 0;
  if (m_bTrackInner) {
    int thickness = 0, minThickness = 0;
    for (size_t i = 0; i < m_trackRow.size(); ++i) {
      if (!m_trackStart[i].sizing) continue;
      auto* bar = static_cast<CSizingControlBar*>(m_trackRow[i]);
      thickness = std::max(thickness, m_trackStart[i].thickness);
      minThickness = std::max(minThickness, static_cast<int>(horz ? bar->m_szMinHorz.cy : bar->m_szMinVert.cx));
    }
    m_nTrackThickness = thickness;
    minGrowth = std::min(0, minThickness - thickness);
    maxGrowth = FreeAcross();
    m_nGrowSign = (side == Side::kTop || side == Side::kLeft) ? 1 : -1;
  } else {
    const bool atEnd = nHitTest == HTRIGHT || nHitTest == HTBOTTOM;
    sizing_bar::SideTrackLimits(m_trackStart, m_nTrackIndex, atEnd, &minGrowth, &maxGrowth);
    m_nGrowSign = atEnd ? 1 : -1;
  }
  const int a = m_nTrackStartPos + m_nGrowSign * minGrowth, b = m_nTrackStartPos + m_nGrowSign * maxGrowth;
  m_nTrackPosMin = std::min(a, b);
  m_nTrackPosMax = std::max(a, b);
  m_bTracking = TRUE;
  ::SetCapture(m_hWnd);
  if (!m_bDragShowContent) OnTrackInvertTracker();
}

void CSizingControlBar::OnTrackUpdateSize(CPoint& point) {
  if (!m_bTracking) return;
  const int pos = std::clamp(static_cast<int>(m_bTrackAlongX ? point.x : point.y), m_nTrackPosMin, m_nTrackPosMax);
  if (pos == m_nTrackPos) return;
  if (!m_bDragShowContent) OnTrackInvertTracker();  // the old tracker goes
  m_nTrackPosOld = m_nTrackPos;
  m_nTrackPos = pos;
  const int growth = m_nGrowSign * (pos - m_nTrackStartPos);
  std::vector<RowBar> sizes = m_trackStart;
  if (m_bTrackInner) {
    for (RowBar& r : sizes)
      if (r.sizing) r.thickness = m_nTrackThickness + growth;
  } else {
    sizing_bar::ApplySideTrack(sizes, m_nTrackIndex, m_nGrowSign > 0, growth);
  }
  SetRowSizes(m_trackRow, sizes);
  if (m_bDragShowContent) {
    if (m_pDockSite) m_pDockSite->RecalcLayout();
  } else {
    OnTrackInvertTracker();
  }
}

void CSizingControlBar::StopTracking() {
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  if (!m_bDragShowContent) OnTrackInvertTracker();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  m_trackRow.clear();
  if (m_pDockSite && m_pDockSite->m_hWnd) m_pDockSite->RecalcLayout();
}

void CSizingControlBar::OnTrackInvertTracker() {
  if (!m_pDockSite || !m_pDockSite->m_hWnd) return;
  // A band at the edge's place, across the bar (the row for the inner edge).
  CRect r;
  if (m_bTrackInner && m_pDockBar && m_pDockBar->m_hWnd) m_pDockBar->GetWindowRect(&r);
  else GetWindowRect(&r);
  if (m_bTrackAlongX) {
    r.left = m_nTrackPos - 2;
    r.right = m_nTrackPos + 2;
  } else {
    r.top = m_nTrackPos - 2;
    r.bottom = m_nTrackPos + 2;
  }
  CRect frame;
  m_pDockSite->GetWindowRect(&frame);
  r.OffsetRect(-frame.left, -frame.top);
  static const WORD kPattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
  HBITMAP bits = ::CreateBitmap(8, 8, 1, 1, kPattern);
  HBRUSH halftone = bits ? ::CreatePatternBrush(bits) : nullptr;
  HDC dc = ::GetWindowDC(m_pDockSite->m_hWnd);
  if (dc && halftone) {
    HGDIOBJ old = ::SelectObject(dc, halftone);
    ::PatBlt(dc, r.left, r.top, r.Width(), r.Height(), PATINVERT);
    ::SelectObject(dc, old);
  }
  if (dc) ::ReleaseDC(m_pDockSite->m_hWnd, dc);
  if (halftone) ::DeleteObject(halftone);
  if (bits) ::DeleteObject(bits);
}
