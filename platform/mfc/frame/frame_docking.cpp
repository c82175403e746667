// The frame's docking: its dock sides, the bars it docks and floats, and
// the mini frames of the floating ones.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "foundation/logging/log.h"
#include "platform/mfc/bars/dock_bar.h"
#include "platform/mfc/bars/dock_context.h"
#include "platform/mfc/bars/mini_dock_frame.h"
#include "platform/mfc/frame/control_bar.h"
#include "platform/mfc/frame/frame_wnd.h"

namespace {

struct Side {
  UINT id;
  DWORD align;
};
constexpr Side kSides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                           {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                           {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                           {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};

DWORD AlignOf(UINT id) {
  for (const Side& side : kSides)
    if (side.id == id) return side.align;
  return 0;
}

CMiniDockFrameWnd* MiniFrameOf(CControlBar* bar) {
  if (!bar || !bar->IsFloating() || !bar->m_pDockBar->m_hWnd) return nullptr;
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(bar->m_pDockBar->m_hWnd));
  return parent && parent->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) ? static_cast<CMiniDockFrameWnd*>(parent)
                                                                        : nullptr;
}

}  // namespace

void CFrameWnd::AddControlBar(CControlBar* pBar) {
  if (pBar && std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
    m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                          m_listControlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
  for (CControlBar* bar : m_listControlBars)
    if (bar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == nID) return bar;
  CWnd* bar = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(nID)));
  return bar && bar->IsKindOf(RUNTIME_CLASS(CControlBar)) ? static_cast<CControlBar*>(bar) : nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (!pBar || !pBar->m_hWnd) return;
  pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
  if (CMiniDockFrameWnd* mini = MiniFrameOf(pBar)) {
    mini->RecalcLayout();
    mini->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
  if (bDelay) DelayRecalcLayout();
  else RecalcLayout();
}

CDockBar* CFrameWnd::GetDockBar(UINT nDockBarID) const {
  if (!m_hWnd || !AlignOf(nDockBarID)) return nullptr;
  CWnd* wnd = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(nDockBarID)));
  return wnd && wnd->IsKindOf(RUNTIME_CLASS(CDockBar)) ? static_cast<CDockBar*>(wnd) : nullptr;
}

UINT CFrameWnd::FirstDockBarID(DWORD dwStyle) const {
  for (const Side& side : kSides)
    if ((dwStyle & side.align) && GetDockBar(side.id)) return side.id;
  return 0;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  if (!m_hWnd) return;
  for (const Side& side : kSides) {
    if (!(dwDockStyle & side.align) || GetDockBar(side.id)) continue;
    auto* dock = new CDockBar(FALSE);
    dock->m_bAutoDelete = TRUE;
    if (!dock->Create(this, side.align | WS_CHILD | WS_VISIBLE, side.id)) {
      LogError(L"CFrameWnd: a dock bar could not be made");
      delete dock;
    }
  }
}

BOOL CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd || !m_hWnd) return FALSE;
  if (!nDockBarID) nDockBarID = FirstDockBarID(pBar->m_dwDockStyle);
  CDockBar* dock = GetDockBar(nDockBarID);
  // A bar goes only where it was allowed to (and where the frame docks).
  if (!dock || !(pBar->m_dwDockStyle & AlignOf(nDockBarID))) {
    LogError(L"CFrameWnd: the bar may not dock on side " + std::to_wstring(nDockBarID));
    return FALSE;
  }
  CMiniDockFrameWnd* oldMini = MiniFrameOf(pBar);
  const bool visible = pBar->IsVisible();
  dock->DockControlBar(pBar, lpRect);
  if (pBar->m_pDockSite != this) {
    pBar->m_pDockSite = this;
    AddControlBar(pBar);
  }
  pBar->SetOwner(this);
  if (pBar->m_pDockContext) {
    pBar->m_pDockContext->m_pDockSite = this;
    pBar->m_pDockContext->m_uMRUDockID = nDockBarID;
  }
  if (visible) pBar->ShowWindow(SW_SHOWNA);
  if (oldMini) oldMini->ShowWindow(SW_HIDE);  // emptied: gone at the next layout
  DelayRecalcLayout();
  return TRUE;
}

CMiniDockFrameWnd* CFrameWnd::CreateMiniFrame(CControlBar* pBar, DWORD dwStyle) {
  auto* mini = new CMiniDockFrameWnd;
  const DWORD thick = (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? WS_THICKFRAME : 0;
  if (!mini->Create(this, dwStyle ? dwStyle : CBRS_ALIGN_TOP, thick)) {
    // A window that was made deletes its object when it goes.
    if (!mini->m_hWnd) delete mini;
    LogError(L"CFrameWnd: the mini frame could not be made");
    return nullptr;
  }
  m_miniFrames.push_back(mini->m_hWnd);
  return mini;
}

BOOL CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar || !pBar->m_hWnd || !m_hWnd) return FALSE;
  CMiniDockFrameWnd* mini = MiniFrameOf(pBar);
  if (!mini) {
    mini = CreateMiniFrame(pBar, dwStyle);
    if (!mini) return FALSE;
    const bool visible = pBar->IsVisible();
    mini->m_wndDockBar.DockControlBar(pBar);
    if (pBar->m_pDockSite != this) {
      pBar->m_pDockSite = this;
      AddControlBar(pBar);
    }
    pBar->SetOwner(this);
    if (pBar->m_pDockContext) pBar->m_pDockContext->m_pDockSite = this;
    mini->SetWindowText(pBar->GetWindowTextString());
    if (visible) pBar->ShowWindow(SW_SHOWNA);
  }
  ::SetWindowPos(mini->m_hWnd, nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  mini->RecalcLayout();
  if (pBar->IsVisible()) mini->ShowWindow(SW_SHOWNOACTIVATE);
  DelayRecalcLayout();
  return TRUE;
}

void CFrameWnd::ForgetEmptyMiniFrames() {
  std::vector<HWND> keep;
  for (HWND h : m_miniFrames) {
    if (!::IsWindow(h)) continue;
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    auto* mini = wnd && wnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) ? static_cast<CMiniDockFrameWnd*>(wnd) : nullptr;
    if (mini && !mini->GetBar()) {
      mini->DestroyWindow();
      continue;
    }
    keep.push_back(h);
  }
  m_miniFrames.swap(keep);
}

void CFrameWnd::DestroyMiniFrames() {
  std::vector<HWND> minis;
  minis.swap(m_miniFrames);
  for (HWND h : minis)
    if (::IsWindow(h)) ::DestroyWindow(h);
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
  UINT_PTR id = pNMHDR->idFrom;
  if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));
  if (id == 0 || id > 0xFFFF) return FALSE;
  CString text;
  if (!text.LoadString(static_cast<UINT>(id))) return FALSE;
  int newline = text.Find(L'\n');
  if (newline >= 0) text = text.Mid(newline + 1);
  const size_t room = sizeof(info->szText) / sizeof(info->szText[0]);
  std::wcsncpy(info->szText, text.GetString(), room - 1);
  info->szText[room - 1] = L'\0';
  info->lpszText = info->szText;
  info->hinst = nullptr;
  if (pResult) *pResult = 0;
  return TRUE;
}
