#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/afx.h"
#include "platform/mfc/tests/demo/sdi_demo_ids.h"

namespace {

struct Record {
  int newDocuments = 0;
  int docsDeleted = 0;
  int initialUpdates = 0;
  std::vector<std::wstring> updates;  // "name:hint"
} g_rec;

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)

 public:
  ~CTestDoc() override { ++g_rec.docsDeleted; }
  BOOL OnNewDocument() override {
    ++g_rec.newDocuments;
    return CDocument::OnNewDocument();
  }
  void OnDocCommand() { m_commands += L"doc,"; }
  std::wstring m_commands;
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(ID_DEMO_UNHANDLED, OnDocCommand)
END_MESSAGE_MAP()

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)

 public:
  std::wstring m_name = L"view";
  LPARAM m_lastHint = -1;
  CObject* m_lastObject = nullptr;
  CView* m_deleteOnHint99 = nullptr;
  void OnInitialUpdate() override {
    ++g_rec.initialUpdates;
    CView::OnInitialUpdate();
  }
  void OnUpdate(CView*, LPARAM lHint, CObject* pHint) override {
    g_rec.updates.push_back(m_name + L":" + std::to_wstring(lHint));
    m_lastHint = lHint;
    m_lastObject = pHint;
    if (lHint == 99 && m_deleteOnHint99) {
      delete m_deleteOnHint99;
      m_deleteOnHint99 = nullptr;
    }
  }
};
IMPLEMENT_DYNCREATE(CTestView, CView)

class CTestListView : public CListView {
  DECLARE_DYNCREATE(CTestListView)
};
IMPLEMENT_DYNCREATE(CTestListView, CListView)

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

// A started single-document template with its frame, document and view.
struct Started {
  CSingleDocTemplate* tmpl;
  CDocument* doc = nullptr;
  CFrameWnd* frame = nullptr;
  explicit Started(const CRuntimeClass* viewClass = RUNTIME_CLASS(CTestView)) {
    g_rec = Record();
    tmpl = new CSingleDocTemplate(IDR_DEMO_FRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame), viewClass);
    doc = tmpl->OpenDocumentFile(nullptr, FALSE);
    if (doc) {
      POSITION pos = doc->GetFirstViewPosition();
      CView* view = doc->GetNextView(pos);
      frame = view ? view->GetParentFrame() : nullptr;
    }
  }
  ~Started() {
    if (frame && frame->m_hWnd) frame->DestroyWindow();  // the frame deletes itself, its views and the document
    delete tmpl;
  }
  CView* MakeView(const CRuntimeClass* cls, const RECT& rect, UINT id) {
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    CView* view = static_cast<CView*>(cls->CreateObject());
    EXPECT_TRUE(view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, frame, id, &context));
    return view;
  }
  std::vector<CView*> Views() const {
    std::vector<CView*> all;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;) all.push_back(doc->GetNextView(pos));
    return all;
  }
};

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

CRect ChildRect(CWnd* child) {
  CRect rect;
  child->GetWindowRect(&rect);
  child->GetParent()->ScreenToClient(&rect);
  return rect;
}

TEST(DocTemplateTest, NewDocumentBuildsFrameAndFirstView) {
  Started s;
  ASSERT_NE(s.doc, nullptr);
  ASSERT_NE(s.frame, nullptr);
  EXPECT_TRUE(s.doc->IsKindOf(RUNTIME_CLASS(CTestDoc)));
  EXPECT_TRUE(s.frame->IsKindOf(RUNTIME_CLASS(CTestFrame)));
  EXPECT_EQ(s.doc->GetDocTemplate(), s.tmpl);
  EXPECT_EQ(g_rec.newDocuments, 1);
  ASSERT_EQ(s.Views().size(), 1u);
  CView* view = s.Views()[0];
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CTestView)));
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(view->GetDocument(), s.doc);
  EXPECT_EQ(s.frame->GetActiveView(), view);
  EXPECT_EQ(s.frame->GetActiveDocument(), s.doc);
  EXPECT_EQ(g_rec.initialUpdates, 1);
  EXPECT_EQ(g_rec.updates, std::vector<std::wstring>{L"view:0"});  // the initial update is OnUpdate(NULL, 0, NULL)
  // Menu, title and strings of the template's resource.
  EXPECT_NE(s.frame->m_hMenuDefault, nullptr);
  EXPECT_EQ(::GetMenu(s.frame->m_hWnd), s.frame->m_hMenuDefault);
  EXPECT_NE(s.frame->m_hAccelTable, nullptr);
  EXPECT_EQ(s.frame->GetTitle(), L"SDI demo");
  CString part;
  EXPECT_TRUE(s.tmpl->GetDocString(part, CDocTemplate::docName));
  EXPECT_EQ(part, L"DemoDoc");
  EXPECT_FALSE(s.tmpl->GetDocString(part, CDocTemplate::filterExt));
  EXPECT_EQ(s.frame->GetWindowTextString(), L"SDI demo - DemoDoc");
  POSITION pos = s.tmpl->GetFirstDocPosition();
  EXPECT_EQ(s.tmpl->GetNextDoc(pos), s.doc);
  EXPECT_EQ(pos, nullptr);
  // A second FileNew in SDI starts the same document anew in its frame.
  EXPECT_EQ(s.tmpl->OpenDocumentFile(nullptr, FALSE), s.doc);
  EXPECT_EQ(g_rec.newDocuments, 2);
}

TEST(DocTemplateTest, ClosingTheFrameDeletesTheDocument) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  s.frame->DestroyWindow();
  s.frame = nullptr;
  EXPECT_EQ(g_rec.docsDeleted, 1);
  EXPECT_EQ(s.tmpl->GetFirstDocPosition(), nullptr);
}

TEST(DocumentTest, UpdateAllViewsSkipsTheSenderAndViewsGoneOnTheWay) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  auto* first = static_cast<CTestView*>(s.Views()[0]);
  auto* second = static_cast<CTestView*>(s.MakeView(RUNTIME_CLASS(CTestView), CRect(0, 0, 10, 10), 2));
  auto* third = static_cast<CTestView*>(s.MakeView(RUNTIME_CLASS(CTestView), CRect(0, 0, 10, 10), 3));
  first->m_name = L"1";
  second->m_name = L"2";
  third->m_name = L"3";
  ASSERT_EQ(s.Views().size(), 3u);
  CObject* payload = reinterpret_cast<CObject*>(static_cast<LPARAM>(0x12345678));
  g_rec.updates.clear();
  s.doc->UpdateAllViews(second, 7, payload);
  EXPECT_EQ(g_rec.updates, (std::vector<std::wstring>{L"1:7", L"3:7"}));
  EXPECT_EQ(first->m_lastObject, payload);
  g_rec.updates.clear();
  s.doc->UpdateAllViews(nullptr, 8);
  EXPECT_EQ(g_rec.updates, (std::vector<std::wstring>{L"1:8", L"2:8", L"3:8"}));
  // The first view deletes the third while the update runs: the third is
  // not called, and the document forgets it.
  first->m_deleteOnHint99 = third;
  g_rec.updates.clear();
  s.doc->UpdateAllViews(nullptr, 99);
  EXPECT_EQ(g_rec.updates, (std::vector<std::wstring>{L"1:99", L"2:99"}));
  EXPECT_EQ(s.Views().size(), 2u);
}

TEST(DocumentTest, ViewSwapInPlaceKeepsTheDocumentsOtherViews) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  s.frame->MoveWindow(0, 0, 400, 300);
  CView* old = s.frame->GetActiveView();
  ASSERT_NE(old, nullptr);
  CView* other = s.MakeView(RUNTIME_CLASS(CTestView), CRect(0, 0, 5, 5), 7);
  const CRect rect = ChildRect(old);
  const UINT id = static_cast<UINT>(old->GetDlgCtrlID());
  const HWND oldWnd = old->m_hWnd;
  // The swap: the new view where the old one was, then the old one goes.
  old->ShowWindow(SW_HIDE);
  CView* next = s.MakeView(RUNTIME_CLASS(CTestListView), rect, id);
  next->OnInitialUpdate();
  s.frame->SetActiveView(next);
  next->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  s.doc->RemoveView(old);
  delete old;
  next->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
  s.frame->RecalcLayout();

  EXPECT_FALSE(::IsWindow(oldWnd));  // no orphan keeps the pane's id
  EXPECT_EQ(::GetDlgItem(s.frame->m_hWnd, AFX_IDW_PANE_FIRST), next->m_hWnd);
  EXPECT_EQ(Text(ChildRect(next)), Text(rect));
  EXPECT_EQ(s.frame->GetActiveView(), next);
  EXPECT_EQ(s.Views(), (std::vector<CView*>{other, next}));
  EXPECT_EQ(g_rec.docsDeleted, 0);
  // The list view is the list control itself.
  wchar_t cls[32] = {};
  ::GetClassNameW(next->m_hWnd, cls, 32);
  EXPECT_STREQ(cls, L"SysListView32");
  CListCtrl& list = static_cast<CTestListView*>(next)->GetListCtrl();
  EXPECT_EQ(list.m_hWnd, next->m_hWnd);
  EXPECT_EQ(list.InsertItem(0, L"first"), 0);
  EXPECT_EQ(list.GetItemCount(), 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(next->m_hWnd), next);
}

TEST(DocumentTest, ActiveViewThatGoesAwayLeavesNoDanglingPointer) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  auto* doc = static_cast<CTestDoc*>(s.doc);
  // Deleted while still active, and destroyed while still active.
  for (int round = 0; round < 2; ++round) {
    CView* view = s.MakeView(RUNTIME_CLASS(CTestView), CRect(0, 0, 10, 10), 40 + round);
    s.frame->SetActiveView(view, FALSE);
    ASSERT_EQ(s.frame->GetActiveView(), view);
    if (round == 0) delete view;
    else view->DestroyWindow();
    EXPECT_EQ(s.frame->GetActiveView(), nullptr) << round;
    EXPECT_EQ(s.frame->GetActiveDocument(), nullptr) << round;
    // Commands still route (frame, application) without the view.
    EXPECT_EQ(s.frame->SendMessage(WM_COMMAND, ID_DEMO_UNHANDLED, 0), 0);
    EXPECT_EQ(doc->m_commands, L"");
  }
  EXPECT_EQ(s.Views().size(), 1u);
  // A click makes a view the active one.
  CView* clicked = s.MakeView(RUNTIME_CLASS(CTestView), CRect(0, 0, 10, 10), 50);
  clicked->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(s.frame->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(s.frame->GetActiveView(), clicked);
  // Routing reaches the document through the active view.
  s.frame->SetActiveView(s.Views()[0], FALSE);
  EXPECT_EQ(s.frame->SendMessage(WM_COMMAND, ID_DEMO_UNHANDLED, 0), 1);
  EXPECT_EQ(doc->m_commands, L"doc,");
}

}  // namespace

namespace {

int g_templatesDeleted = 0;

class CCountedTemplate : public CSingleDocTemplate {
 public:
  CCountedTemplate()
      : CSingleDocTemplate(IDR_DEMO_FRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                           RUNTIME_CLASS(CTestView)) {}
  ~CCountedTemplate() override { ++g_templatesDeleted; }
};

TEST(DocTemplateTest, ApplicationListsOwnsAndOpensItsTemplates) {
  g_templatesDeleted = 0;
  {
    CWinApp app(L"TemplateTest");
    CCommandLineInfo info;
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_FALSE(app.ProcessShellCommand(info));  // no template: nothing to run
    EXPECT_EQ(app.GetFirstDocTemplatePosition(), nullptr);
    auto* first = new CCountedTemplate;
    auto* second = new CCountedTemplate;
    app.AddDocTemplate(first);
    app.AddDocTemplate(second);
    POSITION pos = app.GetFirstDocTemplatePosition();
    EXPECT_EQ(app.GetNextDocTemplate(pos), first);
    EXPECT_EQ(app.GetNextDocTemplate(pos), second);
    EXPECT_EQ(pos, nullptr);
    // FileNew opens a document of the first template; its frame becomes
    // the main window.
    g_rec = Record();
    EXPECT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(app.m_pMainWnd, nullptr);
    EXPECT_EQ(g_rec.newDocuments, 1);
    POSITION docs = first->GetFirstDocPosition();
    EXPECT_NE(first->GetNextDoc(docs), nullptr);
    EXPECT_EQ(second->GetFirstDocPosition(), nullptr);
    app.m_pMainWnd->DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    // The end of the main window asked the loop to end; this test runs none.
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
  EXPECT_EQ(g_templatesDeleted, 2);
}

}  // namespace
