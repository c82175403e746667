#include "platform/mfc/doc/view.h"

#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/window/class_names.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView() {
  LeaveParentFrame();
  if (m_pDocument) m_pDocument->RemoveView(this);
  // Deleted while its window lives (a view replaced by another): the
  // window goes too, so no orphan keeps the pane's id.
  if (m_hWnd) {
    HWND h = UnsubclassWindow();
    if (h) ::DestroyWindow(h);
  }
}

CFrameWnd* CView::GetParentFrame() const {
  if (!m_hWnd) return nullptr;
  for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
    CWnd* object = CWnd::FromHandlePermanent(h);
    if (object && object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(object);
  }
  return nullptr;
}

void CView::LeaveParentFrame() {
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->GetActiveViewPointer() == this) frame->SetActiveView(nullptr, FALSE);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    if (!AfxEnsureWndClass(kAfxViewWndClass)) return FALSE;
    cs.lpszClass = kAfxViewWndClass;
  }
  cs.style |= WS_CLIPSIBLINGS;
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  // The context is ours only when this thread sent it.
  CCreateContext* context = AfxIsMessageFromOwnThread() && lpcs
                                ? static_cast<CCreateContext*>(lpcs->lpCreateParams)
                                : nullptr;
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  LeaveParentFrame();
  CWnd::OnDestroy();
}

void CView::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CDC dc(hdc);
  OnDraw(&dc);
  ::EndPaint(m_hWnd, &ps);
}

int CView::OnMouseActivate(CWnd*, UINT, UINT) {
  int result = static_cast<int>(Default());
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  if (CFrameWnd* frame = GetParentFrame()) {
    if (frame->GetActiveView() != this) frame->SetActiveView(this);
  }
  return result;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) {
  if (m_hWnd) Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView*, CView*) {
  if (!bActivate || !m_hWnd) return;
  // Take the focus only when the frame is the active window: a view made
  // active in a frame in the background leaves the focus where it is.
  CWnd* top = GetTopLevelParent();
  if (top && ::GetActiveWindow() == top->m_hWnd && ::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
