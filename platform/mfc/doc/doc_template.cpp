#include "platform/mfc/doc/doc_template.h"

#include <algorithm>
#include <string>

#include "foundation/logging/log.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/doc/document.h"
#include "platform/mfc/doc/view.h"
#include "platform/mfc/frame/frame_wnd.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() {
  // Documents still open when the application ends go with their template.
  while (!m_docList.empty()) {
    CDocument* doc = m_docList.back();
    m_docList.pop_back();
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  rString.Empty();
  CString all;
  if (!all.LoadString(m_nIDResource)) return FALSE;
  int start = 0;
  for (int i = 0; i < static_cast<int>(index); ++i) {
    int newline = all.Find(L'\n', start);
    if (newline < 0) return FALSE;
    start = newline + 1;
  }
  int end = all.Find(L'\n', start);
  rString = end < 0 ? all.Mid(start) : all.Mid(start, end - start);
  return !rString.IsEmpty();
}

POSITION CDocTemplate::GetFirstDocPosition() const { return m_docList.empty() ? nullptr : QlrPositionOf(0); }

CDocument* CDocTemplate::GetNextDoc(POSITION& rPos) const {
  size_t index = QlrIndexOf(rPos);
  if (!rPos || index >= m_docList.size()) {
    rPos = nullptr;
    return nullptr;
  }
  rPos = index + 1 < m_docList.size() ? QlrPositionOf(index + 1) : nullptr;
  return m_docList[index];
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
  if (!pDoc || std::find(m_docList.begin(), m_docList.end(), pDoc) != m_docList.end()) return;
  m_docList.push_back(pDoc);
  pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  auto it = std::find(m_docList.begin(), m_docList.end(), pDoc);
  if (it == m_docList.end()) return;
  m_docList.erase(it);
  pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (!m_pDocClass || !m_pDocClass->IsDerivedFrom(RUNTIME_CLASS(CDocument))) {
    LogError(L"CDocTemplate: the document class is not a document");
    return nullptr;
  }
  CObject* object = m_pDocClass->CreateObject();
  if (!object) return nullptr;
  CDocument* doc = static_cast<CDocument*>(object);
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  if (!m_pFrameClass || !m_pFrameClass->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd))) {
    LogError(L"CDocTemplate: the frame class is not a frame window");
    return nullptr;
  }
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* object = m_pFrameClass->CreateObject();
  if (!object) return nullptr;
  CFrameWnd* frame = static_cast<CFrameWnd*>(object);
  // A failed frame deletes itself when its window goes; one that never got
  // a window is deleted here.
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
    LogError(L"CDocTemplate: LoadFrame " + std::to_wstring(m_nIDResource) + L" failed");
    return nullptr;
  }
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  if (pFrame) pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString title;
  GetDocString(title, docName);
  pDocument->SetTitle(title);
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  if (!m_docList.empty() && m_docList.front() != pDoc) {
    LogError(L"CSingleDocTemplate: a second document");
    return;
  }
  CDocTemplate::AddDocument(pDoc);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* doc = m_docList.empty() ? nullptr : m_docList.front();
  CFrameWnd* frame = nullptr;
  if (doc) {
    // The open document starts anew in the frame it has.
    if (!doc->SaveModified()) return nullptr;
    POSITION pos = doc->GetFirstViewPosition();
    if (CView* view = doc->GetNextView(pos)) frame = view->GetParentFrame();
    SetDefaultTitle(doc);
    if (!(lpszPathName ? doc->OnOpenDocument(lpszPathName) : doc->OnNewDocument())) return nullptr;
    if (frame) InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
  }
  doc = CreateNewDocument();
  if (!doc) return nullptr;
  // While the frame is built the document must not close itself when a
  // view comes and goes.
  BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;
  frame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (!frame) {
    delete doc;  // leaves the template in its destructor
    return nullptr;
  }
  CWinThread* thread = AfxGetThread();
  if (thread && !thread->m_pMainWnd) thread->m_pMainWnd = frame;
  SetDefaultTitle(doc);
  if (!(lpszPathName ? doc->OnOpenDocument(lpszPathName) : doc->OnNewDocument())) {
    LogError(L"CSingleDocTemplate: the new document could not be started");
    // The frame's views leave the document, which may close itself; one
    // still listed here is deleted.
    frame->DestroyWindow();
    if (std::find(m_docList.begin(), m_docList.end(), doc) != m_docList.end()) delete doc;
    return nullptr;
  }
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}
