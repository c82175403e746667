#include "platform/mfc/doc/document.h"

#include <algorithm>

#include "platform/mfc/doc/doc_template.h"
#include "platform/mfc/doc/view.h"
#include "platform/mfc/frame/frame_wnd.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
  // Views that outlive the document must not reach back into it.
  for (CView* view : m_viewList) view->m_pDocument = nullptr;
  m_viewList.clear();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::AddView(CView* pView) {
  if (!pView || HasView(pView)) return;
  if (pView->m_pDocument && pView->m_pDocument != this) pView->m_pDocument->RemoveView(pView);
  m_viewList.push_back(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
  if (it == m_viewList.end()) return;
  m_viewList.erase(it);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

bool CDocument::HasView(const CView* pView) const {
  return std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end();
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_viewList.empty() ? nullptr : QlrPositionOf(0);
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  size_t index = QlrIndexOf(rPosition);
  if (!rPosition || index >= m_viewList.size()) {
    rPosition = nullptr;
    return nullptr;
  }
  rPosition = index + 1 < m_viewList.size() ? QlrPositionOf(index + 1) : nullptr;
  return m_viewList[index];
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  // A view may switch or delete views while it updates: walk a copy and
  // ask the live list before each call.
  // The document stays while the walk runs, even when the last view goes:
  // its callers go on using it after this returns.
  const std::vector<CView*> views = m_viewList;
  const BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  for (CView* view : views) {
    if (view == pSender || !HasView(view)) continue;
    view->OnUpdate(pSender, lHint, pHint);
  }
  m_bAutoDelete = autoDelete;
}

void CDocument::SetTitle(LPCWSTR lpszTitle) {
  m_strTitle = lpszTitle;
  // Frames show the new title at their next idle pass.
  for (CView* view : m_viewList) {
    if (CFrameWnd* frame = view->GetParentFrame()) frame->DelayUpdateFrameTitle();
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCWSTR) {
  // Documents here hold no file of their own: opening starts them empty.
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
  // Another frame that still shows the document keeps it alive.
  for (CView* view : m_viewList) {
    CFrameWnd* other = view->GetParentFrame();
    if (other && other != pFrame) return TRUE;
  }
  return SaveModified();
}

void CDocument::OnCloseDocument() {
  if (m_bClosing) return;
  m_bClosing = true;
  // The frames' views remove themselves as they go; the document must not
  // delete itself in the middle of that.
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.empty()) {
    CView* view = m_viewList.front();
    CFrameWnd* frame = view->GetParentFrame();
    size_t before = m_viewList.size();
    if (frame && frame->m_hWnd) frame->DestroyWindow();
    else if (view->m_hWnd) view->DestroyWindow();
    if (m_viewList.size() == before && !m_viewList.empty() && m_viewList.front() == view) RemoveView(view);
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  m_bClosing = false;
  if (m_bAutoDelete) delete this;
}

void CDocument::OnChangedViewList() {
  if (m_viewList.empty() && m_bAutoDelete && !m_bClosing) OnCloseDocument();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
