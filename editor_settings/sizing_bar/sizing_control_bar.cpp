#include "editor_settings/sizing_bar/sizing_control_bar.h"

#include <algorithm>
#include <string>

using sizing_bar::RowBar;
using sizing_bar::Side;

IMPLEMENT_DYNAMIC(CSizingControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBar, CControlBar)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_NCCALCSIZE()
  ON_WM_NCHITTEST()
  ON_WM_NCPAINT()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONDOWN()
  ON_WM_CAPTURECHANGED()
  ON_WM_CLOSE()
  ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {

bool ReadDragFullWindows() {
  BOOL full = FALSE;
  return ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0) && full;
}

CSize AtLeast(CSize size, CSize minimum) {
  return CSize(std::max(size.cx, minimum.cx), std::max(size.cy, minimum.cy));
}

}  // namespace

CSizingControlBar::CSizingControlBar()
    : m_szHorz(200, 200),
      m_szVert(200, 200),
      m_szFloat(200, 200),
      m_szMinHorz(33, 32),
      m_szMinVert(33, 32),
      m_szMinFloat(37, 32) {}

BOOL CSizingControlBar::Create(LPCWSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL, UINT nID,
                               DWORD dwStyle) {
  m_szHorz = m_szVert = m_szFloat = sizeDefault;
  return Create(lpszWindowName, pParentWnd, nID, dwStyle);
}

BOOL CSizingControlBar::Create(LPCWSTR lpszWindowName, CWnd* pParentWnd, UINT nID, DWORD dwStyle) {
  if (!pParentWnd || !pParentWnd->m_hWnd || m_hWnd) return FALSE;
  // The layer's bar class: double clicks, the arrow, the button face.
  if (!AfxEnsureWndClass(kAfxControlBarClass)) return FALSE;
  m_bDragShowContent = ReadDragFullWindows();
  // Sized by the user, also while floating.
  if (!CreateBar(kAfxControlBarClass, dwStyle | WS_CLIPCHILDREN | CBRS_SIZE_DYNAMIC, pParentWnd, nID)) return FALSE;
  if (lpszWindowName) SetWindowText(lpszWindowName);
  return TRUE;
}

int CSizingControlBar::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  m_bDragShowContent = ReadDragFullWindows();
  return 0;
}

namespace {

// The six sizes of the saved state, in their stored order.
struct StateKey {
  const wchar_t* name;
  CSize CSizingControlBar::*size;
  CSize CSizingControlBar::*minimum;
  bool cy;
};
const StateKey kStateKeys[] = {
    {L"sizeHorzCX", &CSizingControlBar::m_szHorz, &CSizingControlBar::m_szMinHorz, false},
    {L"sizeHorzCY", &CSizingControlBar::m_szHorz, &CSizingControlBar::m_szMinHorz, true},
    {L"sizeVertCX", &CSizingControlBar::m_szVert, &CSizingControlBar::m_szMinVert, false},
    {L"sizeVertCY", &CSizingControlBar::m_szVert, &CSizingControlBar::m_szMinVert, true},
    {L"sizeFloatCX", &CSizingControlBar::m_szFloat, &CSizingControlBar::m_szMinFloat, false},
    {L"sizeFloatCY", &CSizingControlBar::m_szFloat, &CSizingControlBar::m_szMinFloat, true},
};

std::wstring StateSection(LPCWSTR profileName, int id) {
  return std::wstring(profileName) + L"-SCBar-" + std::to_wstring(id);
}

}  // namespace

BOOL CSizingControlBar::LoadState(LPCWSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (!app || !m_hWnd || !lpszProfileName) return FALSE;
  const std::wstring section = StateSection(lpszProfileName, GetDlgCtrlID());
  // Never past the screens, so a pane never outgrows the frame.
  int maxX = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), maxY = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (maxX <= 0) maxX = 32767;
  if (maxY <= 0) maxY = 32767;
  for (const StateKey& key : kStateKeys) {
    CSize& size = this->*key.size;
    LONG& value = key.cy ? size.cy : size.cx;
    const CSize& minimum = this->*key.minimum;
    // A missing or non-numeric value reads back as the current size.
    const int stored = static_cast<int>(app->GetProfileInt(section.c_str(), key.name, static_cast<int>(value)));
    value = sizing_bar::ClampStoredSize(stored, key.cy ? minimum.cy : minimum.cx, key.cy ? maxY : maxX);
  }
  return TRUE;
}

BOOL CSizingControlBar::HasSavedState(LPCWSTR lpszProfileName) const {
  CWinApp* app = AfxGetApp();
  if (!app || !m_hWnd || !lpszProfileName) return FALSE;
  const std::wstring section = StateSection(lpszProfileName, GetDlgCtrlID());
  // A stored value reads the same whatever the default.
  for (const StateKey& key : kStateKeys)
    if (app->GetProfileInt(section.c_str(), key.name, 0) == app->GetProfileInt(section.c_str(), key.name, 1))
      return TRUE;
  return FALSE;
}

BOOL CSizingControlBar::SaveState(LPCWSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (!app || !m_hWnd || !lpszProfileName) return FALSE;
  const std::wstring section = StateSection(lpszProfileName, GetDlgCtrlID());
  BOOL ok = TRUE;
  for (const StateKey& key : kStateKeys) {
    const CSize& size = this->*key.size;
    if (!app->WriteProfileInt(section.c_str(), key.name, static_cast<int>(key.cy ? size.cy : size.cx))) ok = FALSE;
  }
  return ok;
}

Side CSizingControlBar::CurrentSide() const {
  if (!m_pDockBar || m_pDockBar->m_bFloating || !m_pDockBar->m_hWnd) return Side::kFloating;
  switch (m_pDockBar->GetDlgCtrlID()) {
    case AFX_IDW_DOCKBAR_TOP: return Side::kTop;
    case AFX_IDW_DOCKBAR_BOTTOM: return Side::kBottom;
    case AFX_IDW_DOCKBAR_LEFT: return Side::kLeft;
    case AFX_IDW_DOCKBAR_RIGHT: return Side::kRight;
    default: return Side::kFloating;
  }
}

BOOL CSizingControlBar::IsHorzDocked() const { return sizing_bar::IsHorz(CurrentSide()); }
BOOL CSizingControlBar::IsVertDocked() const { return sizing_bar::IsVert(CurrentSide()); }
BOOL CSizingControlBar::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

void CSizingControlBar::GetRowBars(std::vector<CControlBar*>& bars) const {
  bars.clear();
  if (m_pDockBar && !m_pDockBar->m_bFloating) m_pDockBar->GetRowBars(this, bars);
}

std::vector<RowBar> CSizingControlBar::RowSizes(const std::vector<CControlBar*>& bars) const {
  const bool horz = IsHorzDocked() != FALSE;
  std::vector<RowBar> sizes;
  for (CControlBar* bar : bars) {
    RowBar row;
    if (bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) {
      auto* s = static_cast<CSizingControlBar*>(bar);
      row.length = horz ? s->m_szHorz.cx : s->m_szVert.cy;
      row.minLength = horz ? s->m_szMinHorz.cx : s->m_szMinVert.cy;
      row.thickness = horz ? s->m_szHorz.cy : s->m_szVert.cx;
      row.justResized = s->m_bJustResized;
    } else {
      CRect r;
      bar->GetWindowRect(&r);
      row.sizing = false;
      row.length = row.minLength = horz ? r.Width() : r.Height();
      row.thickness = horz ? r.Height() : r.Width();
    }
    sizes.push_back(row);
  }
  return sizes;
}

void CSizingControlBar::SetRowSizes(const std::vector<CControlBar*>& bars, const std::vector<RowBar>& sizes) {
  const bool horz = IsHorzDocked() != FALSE;
  for (size_t i = 0; i < bars.size() && i < sizes.size(); ++i) {
    if (!sizes[i].sizing || !bars[i]->IsKindOf(RUNTIME_CLASS(CSizingControlBar))) continue;
    auto* s = static_cast<CSizingControlBar*>(bars[i]);
    CSize& size = horz ? s->m_szHorz : s->m_szVert;
    (horz ? size.cx : size.cy) = sizes[i].length;
    (horz ? size.cy : size.cx) = sizes[i].thickness;
    s->m_bJustResized = sizes[i].justResized;
  }
}

int CSizingControlBar::RowLength() const {
  CRect layout = m_pDockBar ? m_pDockBar->m_rectLayout : CRect();
  if (layout.IsRectEmpty() && m_pDockSite && m_pDockSite->m_hWnd) m_pDockSite->GetClientRect(&layout);
  return IsHorzDocked() ? layout.Width() + 2 : layout.Height() - 2;
}

void CSizingControlBar::FitOwnRow() {
  std::vector<CControlBar*> bars;
  GetRowBars(bars);
  if (bars.empty()) return;
  std::vector<RowBar> sizes = RowSizes(bars);
  const int split = sizing_bar::FitRow(sizes, RowLength());
  SetRowSizes(bars, sizes);
  if (split > 0 && split < static_cast<int>(bars.size()))
    m_pDockBar->InsertRowBreak(m_pDockBar->FindBar(bars[static_cast<size_t>(split)]));
}

void CSizingControlBar::AlignControlBars() {
  std::vector<CControlBar*> bars;
  GetRowBars(bars);
  std::vector<RowBar> sizes = RowSizes(bars);
  int thickness = 0;
  for (const RowBar& r : sizes)
    if (r.sizing) thickness = std::max(thickness, r.thickness);
  for (RowBar& r : sizes)
    if (r.sizing) r.thickness = thickness;
  SetRowSizes(bars, sizes);
}

CSize CSizingControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (bStretch) return bHorz ? CSize(32767, m_szHorz.cy) : CSize(m_szVert.cx, 32767);
  // The first bar of a row fits the whole row before the others answer.
  if (!IsFloating() && m_pDockBar->IsFirstInRow(this)) FitOwnRow();
  const UINT before = m_nEdgeFlags;
  const bool first = m_pDockBar && m_pDockBar->IsFirstInRow(this), last = m_pDockBar && m_pDockBar->IsLastInRow(this);
  if (m_hWnd && sizing_bar::EdgeFlags(CurrentSide(), first, last) != before)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return bHorz ? AtLeast(m_szHorz, m_szMinHorz) : AtLeast(m_szVert, m_szMinVert);
}

CSize CSizingControlBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) return CControlBar::CalcDynamicLayout(nLength, dwMode);
  CDockContext* context = m_pDockContext;
  if ((dwMode & LM_COMMIT) && context && context->m_bResizing) {
    const int code = context->m_nHitTest;
    const bool corner = code == HTTOPLEFT || code == HTTOPRIGHT || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT;
    if (corner) {
      // The floating size follows the cursor, from the frame as it was.
      const CRect& frame = context->m_rectFrameDragHorz;
      CRect now, client;
      HWND mini = m_pDockBar && m_pDockBar->m_hWnd ? ::GetParent(m_pDockBar->m_hWnd) : nullptr;
      if (mini) {
        ::GetWindowRect(mini, &now);
        ::GetClientRect(mini, &client);
      }
      const int ncX = now.Width() - client.Width(), ncY = now.Height() - client.Height();
      const CPoint pt = context->m_ptLast;
      const int w = (code == HTTOPLEFT || code == HTBOTTOMLEFT) ? frame.right - pt.x : pt.x - frame.left;
      const int h = (code == HTTOPLEFT || code == HTTOPRIGHT) ? frame.bottom - pt.y : pt.y - frame.top;
      m_szFloat = CSize(w - ncX, h - ncY);
    } else if (nLength >= 0) {
      (dwMode & LM_LENGTHY ? m_szFloat.cy : m_szFloat.cx) = nLength;
    }
    m_szFloat = AtLeast(m_szFloat, m_szMinFloat);
  }
  return AtLeast(m_szFloat, m_szMinFloat);
}

void CSizingControlBar::NcCalcClient(LPRECT pRc, UINT nDockBarID) {
  m_nDockBarID = nDockBarID;
  const Side side = CurrentSide();
  const bool first = m_pDockBar && m_pDockBar->IsFirstInRow(this), last = m_pDockBar && m_pDockBar->IsLastInRow(this);
  m_nEdgeFlags = sizing_bar::EdgeFlags(side, first, last);
  *pRc = sizing_bar::ClientRectIn(*pRc, side == Side::kFloating);
  if (side == Side::kFloating && m_pDockBar && m_pDockBar->m_hWnd) {
    // The mini frame does not size itself; its client area clips the bar.
    HWND mini = ::GetParent(m_pDockBar->m_hWnd);
    if (mini && (::GetWindowLongPtrW(mini, GWL_STYLE) & WS_THICKFRAME)) {
      CWnd::ModifyStyle(mini, WS_THICKFRAME, 0, SWP_FRAMECHANGED);
      m_pDockBar->ModifyStyle(0, WS_CLIPCHILDREN);
      // Its thinner frame leaves more client area: it fits the bar again.
      CWnd* frame = CWnd::FromHandlePermanent(mini);
      if (frame && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        static_cast<CMiniDockFrameWnd*>(frame)->RecalcLayout();
    }
  }
}

void CSizingControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  if (!lpncsp) return;
  UINT id = m_pDockBar && m_pDockBar->m_hWnd ? static_cast<UINT>(m_pDockBar->GetDlgCtrlID()) : 0;
  if (m_pDockBar && m_pDockBar->m_bFloating) id = AFX_IDW_DOCKBAR_FLOAT;
  NcCalcClient(&lpncsp->rgrc[0], id);
}

LRESULT CSizingControlBar::OnNcHitTest(CPoint point) {
  if (IsFloating()) return HTCLIENT;
  CRect window;
  GetWindowRect(&window);
  return sizing_bar::HitTestEdges(window, m_nEdgeFlags, IsHorzDocked() != FALSE, point);
}

HBRUSH CSizingControlBar::GetBackgroundBrush() const {
  auto brush = static_cast<UINT_PTR>(::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND));
  // A system colour index plus one, or a real brush.
  if (brush > 0 && brush <= COLOR_MENUBAR + 1) return ::GetSysColorBrush(static_cast<int>(brush) - 1);
  return brush ? reinterpret_cast<HBRUSH>(brush) : ::GetSysColorBrush(COLOR_BTNFACE);
}

void CSizingControlBar::DrawNonClient(HDC hdc) {
  CRect window;
  GetWindowRect(&window);
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  // The non-client part is the bands around the client area; each is drawn
  // off screen on its own and copied at once. A buffer of the whole window
  // would be filled, page by page, over the client area too: a pane of the
  // screen's height costs several milliseconds per paint that way.
  const CRect bands[] = {
      {window.left, window.top, window.right, client.top},
      {window.left, client.bottom, window.right, window.bottom},
      {window.left, client.top, client.left, client.bottom},
      {client.right, client.top, window.right, client.bottom},
  };
  HDC mem = ::CreateCompatibleDC(hdc);
  if (!mem) return;
  for (const CRect& band : bands) {
    if (band.IsRectEmpty()) continue;
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, band.Width(), band.Height());
    if (!bitmap) continue;
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    // Drawn in window coordinates; only the band lands in the buffer.
    ::SetViewportOrgEx(mem, -band.left, -band.top, nullptr);
    ::FillRect(mem, &band, GetBackgroundBrush());
    {
      CDC dc(mem);
      CRect borders = window;
      DrawBorders(&dc, borders);
      NcPaintGripper(&dc, client);
      NcPaintExtra(&dc, client);
    }
    ::SetViewportOrgEx(mem, 0, 0, nullptr);
    ::BitBlt(hdc, band.left, band.top, band.Width(), band.Height(), mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(mem);
}

void CSizingControlBar::OnNcPaint() {
  HDC dc = ::GetWindowDC(m_hWnd);
  if (!dc) return;
  DrawNonClient(dc);
  ::ReleaseDC(m_hWnd, dc);
}

void CSizingControlBar::RedrawNonClient() {
  if (m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

void CSizingControlBar::OnSize(UINT, int cx, int cy) {
  Default();
  if (!(m_dwStyle & SCBS_SIZECHILD)) return;
  if (HWND child = ::GetWindow(m_hWnd, GW_CHILD)) ::MoveWindow(child, 0, 0, cx, cy, TRUE);
}

void CSizingControlBar::OnSettingChange(UINT, LPCWSTR) {
  Default();
  m_bDragShowContent = ReadDragFullWindows();
}

void CSizingControlBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (m_bTracking) return;
  if (!IsFloating() && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    StartTracking(nHitTest, point);
    return;
  }
  Default();
}

void CSizingControlBar::OnNcLButtonDblClk(UINT nHitTest, CPoint) {
  if (m_pDockContext && !m_bTracking && (nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT) && nHitTest != HTCLOSE) {
    m_pDockContext->ToggleDocking();
    return;
  }
  Default();
}

void CSizingControlBar::OnMouseMove(UINT, CPoint point) {
  if (!m_bTracking) {
    Default();
    return;
  }
  ClientToScreen(&point);
  OnTrackUpdateSize(point);
}

void CSizingControlBar::OnLButtonUp(UINT, CPoint) {
  if (m_bTracking) StopTracking();
  else Default();
}

void CSizingControlBar::OnRButtonDown(UINT, CPoint) {
  if (m_bTracking) StopTracking();
  else Default();
}

void CSizingControlBar::OnCaptureChanged(CWnd* pWnd) {
  if (m_bTracking && (!pWnd || pWnd->m_hWnd != m_hWnd)) StopTracking();
  else Default();
}
