// A single-document program on the framework layer: a template with a
// document, a frame with a status bar and a view. It starts with a new
// document whatever its arguments are.
//   /quit   checks what the start built, then closes its frame; exit code 0
//           when the document, the frame and the active view were all there
#include <string>

#include "platform/mfc/afx.h"
#include "platform/mfc/tests/demo/sdi_demo_ids.h"

namespace {

constexpr UINT WM_DEMO_CHECK = WM_APP + 1;

int g_newDocuments = 0;
bool g_startComplete = false;

class CDemoDoc : public CDocument {
  DECLARE_DYNCREATE(CDemoDoc)

 public:
  BOOL OnNewDocument() override {
    if (!CDocument::OnNewDocument()) return FALSE;
    ++g_newDocuments;
    return TRUE;
  }
};
IMPLEMENT_DYNCREATE(CDemoDoc, CDocument)

class CDemoView : public CView {
  DECLARE_DYNCREATE(CDemoView)

 public:
  void OnDraw(CDC* pDC) override {
    ::TextOutW(pDC->GetSafeHdc(), 10, 10, L"Quillora", 8);
  }
  void OnHandled() { GetParentFrame()->SetMessageText(L"handled"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDemoView, CView)
BEGIN_MESSAGE_MAP(CDemoView, CView)
  ON_COMMAND(ID_DEMO_HANDLED, OnHandled)
END_MESSAGE_MAP()

class CDemoFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CDemoFrame)

 public:
  CStatusBar m_statusBar;

  int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(kIndicators, 4)) return -1;
    RecalcLayout();
    return 0;
  }
  LRESULT OnCheck(WPARAM, LPARAM) {
    CView* view = GetActiveView();
    g_startComplete = g_newDocuments == 1 && view && view->GetDlgCtrlID() == AFX_IDW_PANE_FIRST &&
                      GetActiveDocument() && GetActiveDocument()->IsKindOf(RUNTIME_CLASS(CDemoDoc));
    PostMessage(WM_CLOSE);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDemoFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CDemoFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_DEMO_CHECK, OnCheck)
END_MESSAGE_MAP()

class CDemoCommandLine : public CCommandLineInfo {
 public:
  bool m_quit = false;
  void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override {
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    if (bFlag && ::lstrcmpiW(pszParam, L"quit") == 0) m_quit = true;
  }
};

class CDemoApp : public CWinApp {
 public:
  bool m_quit = false;
  BOOL InitInstance() override {
    AddDocTemplate(new CSingleDocTemplate(IDR_DEMO_FRAME, RUNTIME_CLASS(CDemoDoc), RUNTIME_CLASS(CDemoFrame),
                                          RUNTIME_CLASS(CDemoView)));
    CDemoCommandLine cmdInfo;
    ParseCommandLine(cmdInfo);
    m_quit = cmdInfo.m_quit;
    if (!ProcessShellCommand(cmdInfo)) return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    if (m_quit) m_pMainWnd->PostMessage(WM_DEMO_CHECK);
    return TRUE;
  }
  int ExitInstance() override {
    int code = CWinApp::ExitInstance();
    if (m_quit && !g_startComplete) return 3;
    return code;
  }
};

CDemoApp theApp;

}  // namespace
