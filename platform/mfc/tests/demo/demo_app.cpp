// A small program built on the layer alone: an application object, a main
// window with a child pane and a button, and commands that travel through
// them without any frame class.
//   (no switch)  runs until its window is closed; exit code 0
//   /route       sends its own commands, checks where each arrived, ends;
//                exit code = the number of commands that went astray
#include "platform/mfc/afx.h"

#include <string>

namespace {

constexpr UINT ID_MAIN_CMD = 100;     // the main window's own command
constexpr UINT ID_PANE_CMD = 101;     // the active pane's command
constexpr UINT ID_APP_CMD = 102;      // the application's command
constexpr UINT ID_DISABLED_CMD = 103; // disabled by its update handler
constexpr UINT IDC_PANE = 200;
constexpr UINT IDC_BUTTON = 201;
constexpr UINT WM_DEMO_CHECK = WM_APP + 1;

struct Counts {
  int main = 0, pane = 0, app = 0, disabled = 0, button = 0;
} g_counts;

class CDemoPane : public CWnd {
 public:
  void OnPaneCommand() { ++g_counts.pane; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDemoPane, CWnd)
  ON_COMMAND(ID_PANE_CMD, OnPaneCommand)
END_MESSAGE_MAP()

class CDemoWnd : public CWnd {
 public:
  CDemoPane m_pane;
  CWnd m_button;

  // The pane first, then this window, then the application.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (m_pane.m_hWnd && m_pane.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  void PostNcDestroy() override { delete this; }

  int OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    if (!m_pane.Create(nullptr, L"pane", WS_VISIBLE, CRect(0, 0, 200, 100), this, IDC_PANE)) return -1;
    if (!m_button.Create(L"Button", L"Main", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 110, 100, 140), this,
                         IDC_BUTTON))
      return -1;
    return 0;
  }
  void OnMainCommand() { ++g_counts.main; }
  void OnDisabledCommand() { ++g_counts.disabled; }
  void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  void OnButton() { ++g_counts.button; }
  LRESULT OnCheck(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDemoWnd, CWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_MAIN_CMD, OnMainCommand)
  ON_COMMAND(ID_DISABLED_CMD, OnDisabledCommand)
  ON_UPDATE_COMMAND_UI(ID_DISABLED_CMD, OnUpdateDisabled)
  ON_BN_CLICKED(IDC_BUTTON, OnButton)
  ON_MESSAGE(WM_DEMO_CHECK, OnCheck)
END_MESSAGE_MAP()

class CDemoApp : public CWinApp {
 public:
  int m_astray = 0;
  BOOL InitInstance() override;
  int ExitInstance() override { return m_astray + CWinApp::ExitInstance(); }
  void OnAppCommand() { ++g_counts.app; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDemoApp, CWinApp)
  ON_COMMAND(ID_APP_CMD, OnAppCommand)
END_MESSAGE_MAP()

CDemoApp theApp;

LRESULT CDemoWnd::OnCheck(WPARAM, LPARAM) {
  for (UINT id : {ID_MAIN_CMD, ID_PANE_CMD, ID_APP_CMD, ID_DISABLED_CMD}) SendMessage(WM_COMMAND, id, 0);
  ::SendMessageW(m_button.m_hWnd, BM_CLICK, 0, 0);
  const Counts& c = g_counts;
  theApp.m_astray = (c.main != 1) + (c.pane != 1) + (c.app != 1) + (c.disabled != 0) + (c.button != 1);
  DestroyWindow();
  return 0;
}

BOOL CDemoApp::InitInstance() {
  CDemoWnd* wnd = new CDemoWnd;
  if (!wnd->CreateEx(0, nullptr, L"Quillora framework demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                     300, nullptr, nullptr)) {
    return FALSE;  // the failed window deleted itself
  }
  m_pMainWnd = wnd;
  if (std::wstring(m_lpCmdLine ? m_lpCmdLine : L"").find(L"/route") != std::wstring::npos)
    wnd->PostMessage(WM_DEMO_CHECK);
  return TRUE;
}

}  // namespace
