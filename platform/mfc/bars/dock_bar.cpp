#include "platform/mfc/bars/dock_bar.h"

#include <algorithm>

#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/window/class_names.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int kOverlap = 2;  // neighbouring bars and rows share their borders

}  // namespace

CDockBar::~CDockBar() {
  for (CControlBar* bar : m_arrBars)
    if (bar && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  if (!AfxEnsureWndClass(kAfxControlBarClass)) return FALSE;
  m_arrBars.assign(1, nullptr);
  if (!CreateBar(kAfxControlBarClass, dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                 pParentWnd, nID))
    return FALSE;
  // Dock bars are the frame's own parts, not bars of its list.
  if (m_pDockSite && !m_bFloating) m_pDockSite->RemoveControlBar(this);
  return TRUE;
}

void CDockBar::OnDestroy() {
  // The bars go with their windows; none keeps pointing here.
  for (CControlBar* bar : m_arrBars)
    if (bar && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
  m_arrBars.assign(1, nullptr);
  CControlBar::OnDestroy();
}

int CDockBar::FindBar(const CControlBar* pBar) const {
  if (!pBar) return -1;
  for (size_t i = 0; i < m_arrBars.size(); ++i)
    if (m_arrBars[i] == pBar) return static_cast<int>(i);
  return -1;
}

int CDockBar::GetBarCount() const {
  return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(), [](CControlBar* b) { return b; }));
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd || !m_hWnd) return;
  if (pBar->m_pDockBar && pBar->m_pDockBar != this) pBar->m_pDockBar->RemoveControlBar(pBar);
  else RemoveControlBar(pBar);
  if (m_arrBars.empty()) m_arrBars.push_back(nullptr);
  if (::GetParent(pBar->m_hWnd) != m_hWnd) ::SetParent(pBar->m_hWnd, m_hWnd);
  pBar->m_pDockBar = this;
  // The bar takes this side's alignment for its own layout.
  pBar->m_dwStyle = (pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | (m_dwStyle & CBRS_ALIGN_ANY);
  if (m_bFloating) pBar->m_dwStyle |= CBRS_FLOATING;
  else pBar->m_dwStyle &= ~CBRS_FLOATING;

  size_t insertAt = m_arrBars.size();  // after the last row's break
  bool newRow = true;
  if (lpRect && !m_bFloating) {
    CRect want(*lpRect);
    ScreenToClient(&want);
    const bool horz = IsHorzDock();
    const int across = horz ? (want.top + want.bottom) / 2 : (want.left + want.right) / 2;
    const int along = horz ? want.left : want.top;
    // Walk the rows; a row under the centre takes the bar in order.
    size_t rowStart = 1;
    for (size_t i = 1; i < m_arrBars.size(); ++i) {
      if (m_arrBars[i]) continue;
      int lo = INT_MAX, hi = INT_MIN;
      for (size_t j = rowStart; j < i; ++j) {
        CControlBar* bar = m_arrBars[j];
        if (!bar->IsVisible()) continue;
        CRect r;
        bar->GetWindowRect(&r);
        ScreenToClient(&r);
        lo = std::min(lo, horz ? static_cast<int>(r.top) : static_cast<int>(r.left));
        hi = std::max(hi, horz ? static_cast<int>(r.bottom) : static_cast<int>(r.right));
      }
      if (lo <= hi && across < lo) {  // before this row: a row of its own
        insertAt = rowStart;
        break;
      }
      if (lo <= hi && across <= hi) {
        insertAt = i;
        newRow = false;
        for (size_t j = rowStart; j < i; ++j) {
          CRect r;
          m_arrBars[j]->GetWindowRect(&r);
          ScreenToClient(&r);
          if (along < (horz ? r.left : r.top)) {
            insertAt = j;
            break;
          }
        }
        break;
      }
      rowStart = i + 1;
    }
  }
  m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(insertAt), pBar);
  if (newRow) m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(insertAt) + 1, nullptr);
  if (m_arrBars.back()) m_arrBars.push_back(nullptr);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos < 0) return FALSE;
  m_arrBars.erase(m_arrBars.begin() + pos);
  // Two breaks in a row mean an empty row.
  if (pos > 0 && pos < static_cast<int>(m_arrBars.size()) && !m_arrBars[pos - 1] && !m_arrBars[pos])
    m_arrBars.erase(m_arrBars.begin() + pos);
  if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  return TRUE;
}

void CDockBar::GetRowBars(const CControlBar* pBar, std::vector<CControlBar*>& row, bool bVisibleOnly) const {
  row.clear();
  int pos = FindBar(pBar);
  if (pos < 0) return;
  int start = pos;
  while (start > 0 && m_arrBars[start - 1]) --start;
  for (size_t i = static_cast<size_t>(start); i < m_arrBars.size() && m_arrBars[i]; ++i)
    if (!bVisibleOnly || m_arrBars[i]->IsVisible()) row.push_back(m_arrBars[i]);
}

BOOL CDockBar::IsFirstInRow(const CControlBar* pBar) const {
  std::vector<CControlBar*> row;
  GetRowBars(pBar, row);
  return !row.empty() && row.front() == pBar;
}

BOOL CDockBar::IsLastInRow(const CControlBar* pBar) const {
  std::vector<CControlBar*> row;
  GetRowBars(pBar, row);
  return !row.empty() && row.back() == pBar;
}

void CDockBar::InsertRowBreak(int nPos) {
  if (nPos <= 0 || nPos >= static_cast<int>(m_arrBars.size())) return;
  if (!m_arrBars[nPos - 1] || !m_arrBars[nPos]) return;
  m_arrBars.insert(m_arrBars.begin() + nPos, nullptr);
}

CSize CDockBar::BarSize(CControlBar* pBar) const {
  if (m_bFloating) return pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
  const bool horz = IsHorzDock();
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
    return pBar->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
  return pBar->CalcFixedLayout(FALSE, horz);
}

int CDockBar::LayoutRows(int nLength, bool bMove) {
  if (m_bFloating) {
    // One bar, at the origin, at its floating size.
    for (CControlBar* bar : m_arrBars) {
      if (!bar || !bar->IsVisible()) continue;
      CSize size = BarSize(bar);
      if (bMove) AfxRepositionWindow(nullptr, bar->m_hWnd, CRect(0, 0, size.cx, size.cy));
      return 0;
    }
    return 0;
  }
  const bool horz = IsHorzDock();
  // The outer border of the bars hides behind the frame's edge: on the
  // left and top before the start, on the right and bottom past the end.
  const bool farSide = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
  int across = farSide ? 0 : -kOverlap;  // the start of the current row
  int rowThick = 0;
  int along = -kOverlap;
  bool any = false;
  // Bars ask for their size while their row is known: the sizes may
  // depend on which bars share the row (rows are fitted by the bars).
  std::vector<CControlBar*> bars(m_arrBars);
  for (size_t i = 1; i < bars.size(); ++i) {
    CControlBar* bar = bars[i];
    if (!bar) {
      if (rowThick > 0) {
        across += rowThick - kOverlap;
        any = true;
      }
      rowThick = 0;
      along = -kOverlap;
      continue;
    }
    if (!bar->IsVisible()) continue;
    CSize size = BarSize(bar);
    int len = horz ? size.cx : size.cy;
    int thick = horz ? size.cy : size.cx;
    if (len > nLength + 2 * kOverlap && nLength > 0) len = nLength + 2 * kOverlap;
    if (bMove) {
      CRect r = horz ? CRect(along, across, along + len, across + thick) : CRect(across, along, across + thick, along + len);
      AfxRepositionWindow(nullptr, bar->m_hWnd, &r);
    }
    along += len - kOverlap;
    rowThick = std::max(rowThick, thick);
  }
  return any ? across + (farSide ? 0 : kOverlap) : 0;
}

CSize CDockBar::CalcFixedLayout(BOOL, BOOL) {
  CRect client;
  if (m_pDockSite && m_pDockSite->m_hWnd) m_pDockSite->GetClientRect(&client);
  const bool horz = IsHorzDock();
  int length = horz ? client.Width() : client.Height();
  int extent = LayoutRows(length, false);
  return horz ? CSize(32767, extent) : CSize(extent, 32767);
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  if (!lParam || !AfxIsMessageFromOwnThread()) return 0;
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  m_rectLayout = layout->rect;
  const bool horz = IsHorzDock();
  const int length = horz ? m_rectLayout.Width() : m_rectLayout.Height();
  // A measuring pass moves nothing.
  int extent = LayoutRows(length, layout->hDWP != nullptr);
  RECT& free = layout->rect;
  RECT self = free;
  if (m_dwStyle & CBRS_ALIGN_TOP) {
    extent = std::min(extent, static_cast<int>(free.bottom - free.top));
    self.bottom = self.top + extent;
    free.top += extent;
  } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
    extent = std::min(extent, static_cast<int>(free.bottom - free.top));
    self.top = self.bottom - extent;
    free.bottom -= extent;
  } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
    extent = std::min(extent, static_cast<int>(free.right - free.left));
    self.right = self.left + extent;
    free.left += extent;
  } else {
    extent = std::min(extent, static_cast<int>(free.right - free.left));
    self.left = self.right - extent;
    free.right -= extent;
  }
  if (horz) layout->sizeTotal.cy += extent;
  else layout->sizeTotal.cx += extent;
  if (layout->hDWP) AfxRepositionWindow(layout, m_hWnd, &self);
  (void)wParam;
  return 0;
}
