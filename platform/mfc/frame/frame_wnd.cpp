// The frame's creation, its views and layout, and its end.
#include "platform/mfc/frame/frame_wnd.h"

#include <commctrl.h>

#include <string>

#include "foundation/logging/log.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/bars/dock_context.h"
#include "platform/mfc/doc/document.h"
#include "platform/mfc/doc/view.h"
#include "platform/mfc/frame/bar_layout.h"
#include "platform/mfc/frame/control_bar.h"
#include "platform/mfc/window/class_names.h"
#include "platform/mfc/window/cmd_ui.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_CLOSE()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ENTERIDLE()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

std::wstring Num(UINT value) { return std::to_wstring(value); }

}  // namespace

CFrameWnd::~CFrameWnd() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  // Bars that outlive the frame no longer point at it.
  for (CControlBar* bar : m_listControlBars) {
    if (bar->m_pDockSite == this) bar->m_pDockSite = nullptr;
    if (bar->m_pDockContext && bar->m_pDockContext->m_pDockSite == this) bar->m_pDockContext->m_pDockSite = nullptr;
  }
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    if (!AfxEnsureWndClass(kAfxFrameWndClass)) return FALSE;
    cs.lpszClass = kAfxFrameWndClass;
  }
  cs.style |= WS_CLIPCHILDREN;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU menu = nullptr;
  if (lpszMenuName) {
    menu = ::LoadMenuW(AfxGetResourceHandle(), lpszMenuName);
    if (!menu) LogError(L"CFrameWnd: LoadMenu failed " + Num(::GetLastError()));
  }
  m_strTitle = lpszWindowName;
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (rect.left == CW_USEDEFAULT) w = h = CW_USEDEFAULT;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, w, h,
                pParentWnd ? pParentWnd->m_hWnd : nullptr, menu, pContext)) {
    // A window that failed in WM_CREATE deleted this object on its way out;
    // the menu was destroyed with it.
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  HINSTANCE res = AfxGetResourceHandle();
  CString title;
  if (title.LoadString(nIDResource)) {
    int newline = title.Find(L'\n');
    if (newline >= 0) title = title.Left(newline);
  }
  m_hIcon = static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(nIDResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  m_hAccelTable = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(nIDResource));
  if (!m_hAccelTable) LogError(L"CFrameWnd: no accelerators " + Num(nIDResource));
  const bool hasMenu = ::FindResourceW(res, MAKEINTRESOURCEW(nIDResource), RT_MENU) != nullptr;
  if (!hasMenu) LogError(L"CFrameWnd: no menu " + Num(nIDResource));
  if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd,
              hasMenu ? MAKEINTRESOURCEW(nIDResource) : nullptr, 0, pContext))
    return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  if (m_hIcon) {
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  }
  // No document's title yet: the caption is the frame's own title.
  if (!pContext) OnUpdateFrameTitle(TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CCreateContext* context =
      lpcs && AfxIsMessageFromOwnThread() ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
  if (!OnCreateClient(lpcs, context)) {
    LogError(L"CFrameWnd: the client area could not be created");
    return -1;
  }
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  if (!pContext || !pContext->m_pNewViewClass) return nullptr;
  const CRuntimeClass* viewClass = pContext->m_pNewViewClass;
  if (!viewClass->IsDerivedFrom(RUNTIME_CLASS(CWnd))) {
    LogError(std::wstring(L"CreateView: ") + viewClass->m_lpszClassName + L" is not a window class");
    return nullptr;
  }
  CObject* object = viewClass->CreateObject();
  if (!object) return nullptr;
  CWnd* view = static_cast<CWnd*>(object);
  // A view that fails deletes itself when its window goes (PostNcDestroy).
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) {
    LogError(std::wstring(L"CreateView: ") + viewClass->m_lpszClassName + L" could not be created");
    return nullptr;
  }
  return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* view = GetActiveView();
  if (!view) {
    CWnd* pane = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
    if (pane && pane->IsKindOf(RUNTIME_CLASS(CView))) {
      view = static_cast<CView*>(pane);
      SetActiveView(view, FALSE);
    }
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  // Bars made after the view in the derived frame's OnCreate take their edges.
  RecalcLayout();
  if (bMakeVisible) {
    ActivateFrame();
    // The view takes the focus now that its frame is shown.
    if (CView* active = GetActiveView()) active->OnActivateView(TRUE, active, active);
  }
  (void)pDoc;
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) nCmdShow = ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW;
  ShowWindow(nCmdShow);
  if (::IsWindowVisible(m_hWnd)) ::BringWindowToTop(m_hWnd);
}

CView* CFrameWnd::GetActiveView() const {
  if (!m_pViewActive || !m_hWndViewActive) return nullptr;
  // The view's window must still be bound to the object we were given.
  if (CWnd::FromHandlePermanent(m_hWndViewActive) != static_cast<CWnd*>(m_pViewActive)) return nullptr;
  return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* old = GetActiveView();
  if (pViewNew == old && (pViewNew == nullptr || m_hWndViewActive == pViewNew->m_hWnd)) return;
  m_pViewActive = pViewNew;
  m_hWndViewActive = pViewNew ? pViewNew->m_hWnd : nullptr;
  if (!bNotify) return;
  if (old) old->OnActivateView(FALSE, pViewNew, old);
  // The old view may have changed the active view in its notification.
  if (pViewNew && GetActiveView() == pViewNew) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* view = GetActiveView();
  return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                               LPCRECT lpRectClient, BOOL bStretch) {
  AfxRepositionBars(m_hWnd, nIDFirst, nIDLast, nIDLeftOver, nFlag, lpRectParam, lpRectClient, bStretch);
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (!m_hWnd) return;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  ForgetEmptyMiniFrames();
  // The frame's own bars take their edges first, in z-order; then the
  // dock sides (top and bottom span the width, left and right what is
  // between); the pane gets the rest.
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = TRUE;
  GetClientRect(&layout.rect);
  layout.hDWP = ::BeginDeferWindowPos(8);
  HWND leftOver = nullptr;
  auto isDockSide = [](UINT id) { return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM; };
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == AFX_IDW_PANE_FIRST) leftOver = child;
    else if (!isDockSide(id)) ::SendMessageW(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
    if (HWND dock = ::GetDlgItem(m_hWnd, static_cast<int>(id)))
      ::SendMessageW(dock, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  if (leftOver) {
    RECT rect = layout.rect;
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    AfxRepositionWindow(&layout, leftOver, &rect);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

void CFrameWnd::OnSize(UINT nType, int, int) {
  Default();
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  CView* view = GetActiveView();
  if (view && view->m_hWnd) ::SetFocus(view->m_hWnd);
  else CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnClose() {
  CDocument* doc = GetActiveDocument();
  if (doc && !doc->CanCloseFrame(this)) return;  // the document keeps the frame open
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  // Floating bars go with the frame, not after it.
  DestroyMiniFrames();
  // Views are destroyed after their parent's WM_DESTROY: none stays active.
  m_pViewActive = nullptr;
  m_hWndViewActive = nullptr;
  CWnd::OnDestroy();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  m_nIdleFlags &= ~idleTitle;
  CString text = m_strTitle;
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc && !doc->GetTitle().IsEmpty()) {
    text = (GetStyle() & FWS_PREFIXTITLE) ? doc->GetTitle() + L" - " + m_strTitle
                                           : m_strTitle + L" - " + doc->GetTitle();
  }
  // Only a real change: a new caption text repaints the caption.
  if (GetWindowTextString() != text) SetWindowText(text);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (m_nIdleFlags & idleMenu) {
    m_nIdleFlags &= ~idleMenu;
    DrawMenuBar();
  }
  if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
  if (m_nIdleFlags & idleLayout) RecalcLayout(m_nIdleFlags & idleNotify);
  // Floating bars are not the frame's children: their idle pass comes from here.
  for (HWND mini : std::vector<HWND>(m_miniFrames))
    if (::IsWindow(mini) && ::IsWindowVisible(mini)) ::SendMessageW(mini, WM_IDLEUPDATECMDUI, wParam, 0);
  // The first pass shows the idle prompt.
  if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
  return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CView* view = GetActiveView()) {
    if (view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* bar = GetControlBar(nID);
  if (!bar) return FALSE;
  ShowControlBar(bar, !bar->IsVisible(), FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  CControlBar* bar = GetControlBar(pCmdUI->m_nID);
  if (!bar) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}
