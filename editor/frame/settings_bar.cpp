#include "editor/frame/settings_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "editor/app/editor_access.h"
#include "editor/frame/page_scroller.h"
#include "editor/frame/settings_bar_ids.h"
#include "editor/services/editor_system.h"
#include "editor/settings_page/settings_page.h"
#include "foundation/logging/log.h"
#include "platform/mfc/frame/frame_wnd.h"

namespace {

// Posted to the bar: lay the tab strip and the page out again (after a
// docking change, which need not change the client size).
constexpr UINT kLayoutRequest = WM_APP + 20;
// Posted to the bar from its creation: make the settings page.
constexpr UINT kMakePageRequest = WM_APP + 21;

// The tab that stands for "Hide Settings".
constexpr LPARAM kHideTabData = 1;
constexpr UINT kToggleSettingsCommand = 32777;

// The tab strip paints its tabs only, and not always after an erase; the
// bar clips its children, so the rest of the strip's row would stay black.
// Each paint fills the row first, then lets the strip draw its tabs on it.
LRESULT CALLBACK TabStripProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT && !wParam) {
    PAINTSTRUCT paint = {};
    if (HDC dc = ::BeginPaint(tabs, &paint)) {
      RECT client = {};
      ::GetClientRect(tabs, &client);
      ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
      ::DefSubclassProc(tabs, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    ::EndPaint(tabs, &paint);
    return 0;
  }
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(tabs, TabStripProc, 0);
  return ::DefSubclassProc(tabs, message, wParam, lParam);
}

std::wstring Localized(UINT id, const wchar_t* fallback) {
  std::wstring text = GetLocalizedText(id);
  return text.empty() ? fallback : text;
}

}  // namespace

IMPLEMENT_DYNAMIC(CSettingsBar, CSizingControlBar)

BEGIN_MESSAGE_MAP(CSettingsBar, CSizingControlBar)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_NOTIFY(TCN_SELCHANGE, CSettingsBar::kTabId, OnTabSelChange)
  ON_MESSAGE(kLayoutRequest, OnLayoutRequest)
  ON_MESSAGE(kMakePageRequest, OnMakePageRequest)
  ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
END_MESSAGE_MAP()

CSettingsBar::CSettingsBar() = default;
CSettingsBar::~CSettingsBar() = default;

BOOL CSettingsBar::CreatePane(CFrameWnd* frame, UINT nID, const SettingsPageHost& host, DWORD frameCreated) {
  m_host = host;
  m_nFrameCreated = frameCreated;
  const std::wstring caption = Localized(IDS_SETTINGS_PANE, L"Settings");
  if (!Create(caption.c_str(), frame, CSize(100, 395), FALSE, nID,
              WS_CHILD | WS_VISIBLE | CBRS_RIGHT | CBRS_SIZE_DYNAMIC))
    return FALSE;
  // Floated, it shows the page's width at first (docked, CalcFixedLayout
  // gives the width).
  if (m_pageSize.cx > 0) m_szFloat.cx = std::max(m_szFloat.cx, m_pageSize.cx + ::GetSystemMetrics(SM_CXVSCROLL));
  // A damaged saved size comes back inside the minimum and the screen.
  LoadState(kEditorBarsProfileName);
  EnableDocking(CBRS_ALIGN_RIGHT);
  return frame->DockControlBar(this, AFX_IDW_DOCKBAR_RIGHT);
}

int CSettingsBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CSizingControlBar::OnCreate(lpcs) == -1) return -1;
  if (m_tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 10, 10), this, kTabId)) {
    m_tabs.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::SetWindowSubclass(m_tabs.m_hWnd, TabStripProc, 0, 0);
    FillTabs();
  } else {
    LogError(L"CSettingsBar: the tab strip cannot be created");
  }
  // The page lives in a scroller: the pane may be narrower than the page.
  m_scroller = page_scroller::Create(m_hWnd, kScrollerId);
  if (m_scroller) m_scrollerWnd.Attach(m_scroller);
  // The page (a hundred windows) is made in parts once the frame is up:
  // its window first, hidden at its full size, so the pane is laid out
  // for it and nothing moves when it is shown; then its controls a few at
  // a time, the frame answering in between. The page is made at its
  // template's size: never laid out smaller, it scrolls inside the pane
  // instead.
  auto page = std::make_unique<CSettingsPage>(PageParent(), m_host);
  if (page->CreateInParts()) {
    m_page = std::move(page);
    CRect made;
    m_page->GetWindowRect(&made);
    m_pageSize = SIZE{made.Width(), made.Height()};
    m_nPageStart = GetTickCount();
    ::PostMessageW(m_hWnd, kMakePageRequest, 0, 0);
  } else {
    // The pane stays, empty; the editor runs without its settings page.
    LogError(L"CSettingsBar: the settings page cannot be created");
  }
  AddDocListener(this);
  Layout();
  return 0;
}

CWnd* CSettingsBar::PageParent() { return m_scroller ? &m_scrollerWnd : static_cast<CWnd*>(this); }

bool CSettingsBar::IsPageReady() const { return m_page && m_page->m_hWnd && m_bPageReady; }

LRESULT CSettingsBar::OnMakePageRequest(WPARAM, LPARAM) {
  if (!m_page || m_bPageReady) return 0;
  const CSettingsPage::PartResult result = m_page->MakeNextPart();
  if (result == CSettingsPage::PartResult::kMore) {
    ::PostMessageW(m_hWnd, kMakePageRequest, 0, 0);
    return 0;
  }
  if (result == CSettingsPage::PartResult::kFailed) {
    LogError(L"CSettingsBar: the settings page cannot be created");
    m_page.reset();
    m_pageSize = SIZE{};
    if (m_pDockSite && m_pDockSite->m_hWnd) m_pDockSite->RecalcLayout();
    return 0;
  }
  // Its window had its full size from the first part: the pane was laid
  // out for it then.
  m_bPageReady = true;
  if (m_scroller) page_scroller::SetPage(m_scroller, m_page->m_hWnd, m_pageSize);
  Layout();
  m_page->ShowWindow(SW_SHOW);
  Log(L"Settings page filled " + std::to_wstring(GetTickCount() - m_nFrameCreated) +
      L" ms after the frame's creation (the page itself " + std::to_wstring(GetTickCount() - m_nPageStart) +
      L" ms in parts)");
  return 0;
}

void CSettingsBar::OnDestroy() {
  SaveState(kEditorBarsProfileName);
  // The page saves the settings as it goes.
  if (m_page && m_page->m_hWnd) m_page->DestroyWindow();
  if (m_scrollerWnd.m_hWnd) m_scrollerWnd.Detach();
  CSizingControlBar::OnDestroy();
}

void CSettingsBar::FillTabs() {
  if (!m_tabs.m_hWnd) return;
  const int selected = m_tabs.GetItemCount() > 0 ? m_tabs.GetCurSel() : 0;
  ::SendMessageW(m_tabs.m_hWnd, TCM_DELETEALLITEMS, 0, 0);
  m_tabs.InsertItem(0, Localized(IDS_SETTINGS_TAB_MISC, L"Miscellaneous").c_str(), 0, 0);
  m_tabs.InsertItem(1, Localized(IDS_SETTINGS_TAB_HIDE, L"Hide Settings").c_str(), 1, kHideTabData);
  m_tabs.SetCurSel(selected >= 0 && m_tabs.GetItemParam(selected) != kHideTabData ? selected : 0);
}

void CSettingsBar::Layout() {
  m_bLayoutPosted = false;
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  int top = 0;
  if (m_tabs.m_hWnd) {
    // A single tab has nothing to choose: the strip then goes.
    const bool strip = m_tabs.GetItemCount() > 1;
    if (strip) {
      const int height = ::GetSystemMetrics(SM_CYCAPTION);
      m_tabs.SetWindowPos(nullptr, 0, 0, client.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      top = height + kPageGap;
    } else {
      m_tabs.ShowWindow(SW_HIDE);
    }
  }
  const int height = std::max(0, client.Height() - top);
  if (m_scroller)
    ::SetWindowPos(m_scroller, nullptr, 0, top, client.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  else if (m_page && m_page->m_hWnd)
    m_page->SetWindowPos(nullptr, 0, top, client.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  RedrawAll();
}

void CSettingsBar::RedrawAll() {
  // Moved or sized, the bits the system kept or copied belong to the old
  // layout (a second copy of the page's left column, black blocks where
  // nothing painted): the whole pane paints itself again.
  if (m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

LRESULT CSettingsBar::OnWindowPosChanged(WPARAM, LPARAM lParam) {
  const LRESULT result = Default();
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (pos && (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_SHOWWINDOW)))
    RedrawAll();
  return result;
}

int CSettingsBar::OwnWidth() const {
  CRect frame;
  m_pDockSite->GetClientRect(&frame);
  // The other panes docked beside the view keep their widths.
  int others = 0;
  for (CControlBar* bar : m_pDockSite->ControlBars()) {
    if (bar == this || !bar->m_hWnd || !bar->IsWindowVisible() || !bar->m_pDockBar || bar->m_pDockBar->m_bFloating ||
        !bar->m_pDockBar->m_hWnd)
      continue;
    const int side = bar->m_pDockBar->GetDlgCtrlID();
    if (side != AFX_IDW_DOCKBAR_LEFT && side != AFX_IDW_DOCKBAR_RIGHT) continue;
    CRect r;
    bar->GetWindowRect(&r);
    others += bar->IsKindOf(RUNTIME_CLASS(CSizingControlBar)) ? static_cast<CSizingControlBar*>(bar)->m_szVert.cx
                                                               : r.Width();
  }
  // The page, the bar's edges and, when the page is taller than the pane,
  // the vertical scroll bar.
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  int wanted = m_pageSize.cx + std::max(0, window.Width() - client.Width());
  const int strip = m_tabs.m_hWnd && m_tabs.IsWindowVisible() ? ::GetSystemMetrics(SM_CYCAPTION) + kPageGap : 0;
  if (client.Height() > 0 && client.Height() - strip < m_pageSize.cy) wanted += ::GetSystemMetrics(SM_CXVSCROLL);
  const int room = frame.Width() - others - kViewRoom;
  return std::max(static_cast<int>(m_szMinVert.cx), std::min(wanted, room));
}

CSize CSettingsBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (!m_bUserSized && !bHorz && m_pageSize.cx > 0 && m_pDockSite && m_pDockSite->m_hWnd) m_szVert.cx = OwnWidth();
  CSize size = CSizingControlBar::CalcFixedLayout(bStretch, bHorz);
  if (bHorz || !m_pDockSite || !m_pDockSite->m_hWnd) return size;
  CRect frame;
  m_pDockSite->GetClientRect(&frame);
  const int room = frame.Width() - m_szMinVert.cx;
  if (room > m_szMinVert.cx && size.cx > room) size.cx = room;
  return size;
}

CSize CSettingsBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  // Floating, the user sizes it through its frame.
  if ((dwMode & LM_COMMIT) && m_pDockContext && m_pDockContext->m_bResizing) m_bUserSized = true;
  return CSizingControlBar::CalcDynamicLayout(nLength, dwMode);
}

void CSettingsBar::StopTracking() {
  if (m_bTracking) m_bUserSized = true;
  CSizingControlBar::StopTracking();
}

BOOL CSettingsBar::LoadState(LPCWSTR lpszProfileName) {
  m_bUserSized = HasSavedState(lpszProfileName) != FALSE;
  return m_bUserSized ? CSizingControlBar::LoadState(lpszProfileName) : TRUE;
}

BOOL CSettingsBar::SaveState(LPCWSTR lpszProfileName) {
  return m_bUserSized ? CSizingControlBar::SaveState(lpszProfileName) : TRUE;
}

void CSettingsBar::OnSize(UINT nType, int cx, int cy) {
  CSizingControlBar::OnSize(nType, cx, cy);
  Layout();
}

void CSettingsBar::NcCalcClient(LPRECT pRc, UINT nDockBarID) {
  CSizingControlBar::NcCalcClient(pRc, nDockBarID);
  // Floated or docked again: the client area may keep its size, so no
  // WM_SIZE follows; the layout comes once the move is done.
  if (nDockBarID != m_nLaidOutDockBar && m_hWnd) {
    m_nLaidOutDockBar = nDockBarID;
    if (!m_bLayoutPosted) m_bLayoutPosted = ::PostMessageW(m_hWnd, kLayoutRequest, 0, 0) != FALSE;
  }
}

LRESULT CSettingsBar::OnLayoutRequest(WPARAM, LPARAM) {
  Layout();
  return 0;
}

void CSettingsBar::OnTabSelChange(NMHDR*, LRESULT* result) {
  *result = 0;
  const int selected = m_tabs.GetCurSel();
  if (selected < 0 || m_tabs.GetItemParam(selected) != kHideTabData) return;
  // The tab is a command, not a page: the page's tab is selected again.
  for (int i = 0; i < m_tabs.GetItemCount(); ++i) {
    if (m_tabs.GetItemParam(i) != kHideTabData) {
      m_tabs.SetCurSel(i);
      break;
    }
  }
  HWND main = m_host.mainWindow ? m_host.mainWindow : (m_pDockSite ? m_pDockSite->m_hWnd : nullptr);
  if (main) ::PostMessageW(main, WM_COMMAND, kToggleSettingsCommand, 0);
}

void CSettingsBar::ReloadPage() {
  if (IsPageReady()) m_page->LoadControls();
}

bool CSettingsBar::SavePageBeforeClose() { return !IsPageReady() || m_page->SaveBeforeClose(); }

bool CSettingsBar::IsFocusInside() const {
  HWND focus = ::GetFocus();
  return focus && m_hWnd && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
}

void CSettingsBar::OnDocUpdate(CView*, LPARAM lHint, LPARAM) {
  if (lHint != kHintLanguage) return;
  const std::wstring caption = Localized(IDS_SETTINGS_PANE, L"Settings");
  SetWindowText(caption.c_str());
  FillTabs();
  Layout();
  // A page still being made is filled in the language of then.
  if (IsPageReady()) m_page->OnDocumentUpdate(lHint);
}
