// A frame laid out like the editor's: a rebar with a dialog bar (holding
// a toolbar) on top, the status bar at the bottom, one bar docked on the
// left and one on the right, and a plain view between them. Tests make one
// with `new` (the frame deletes itself with its window). The header holds
// the frame's message map: one test program includes it once.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/afx.h"
#include "platform/mfc/tests/dock_demo_ids.h"

// A bar of a fixed size that docks where it is told.
class CBoxBar : public CControlBar {
 public:
  CSize m_size{90, 120};
  BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID) {
    if (!AfxEnsureWndClass(kAfxControlBarClass)) return FALSE;
    return CreateBar(kAfxControlBarClass, dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, pParent, nID);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    CSize size = m_size;
    if (bStretch) (bHorz ? size.cx : size.cy) = 32767;
    return size;
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class CDockDemoFrame : public CFrameWnd {
 public:
  CStatusBar m_statusBar;
  CReBar m_rebar;
  CDialogBar m_dialogBar;
  CToolBar m_links;
  CBoxBar m_left, m_right;
  CWnd m_view;
  int m_handled = 0;
  BOOL m_checked = TRUE;
  bool m_withRebar = true;

  static CDockDemoFrame* Make(bool withRebar = true) {
    auto* frame = new CDockDemoFrame;
    frame->m_withRebar = withRebar;
    if (!frame->Create(nullptr, L"dock demo", WS_OVERLAPPEDWINDOW, CRect(30, 30, 670, 510))) return nullptr;
    frame->RecalcLayout();
    return frame;
  }
  CRect ClientRectOf(const CWnd& wnd) const {
    CRect r;
    ::GetWindowRect(wnd.m_hWnd, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&r), 2);
    return r;
  }

  int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    if (m_withRebar) {
      if (!m_dialogBar.Create(this, IDD_DOCK_DEMO_BAR, CBRS_TOP, AFX_IDW_DIALOGBAR)) return -1;
      if (!m_links.CreateEx(&m_dialogBar, TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS,
                            WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0), ID_DOCK_DEMO_LINKS))
        return -1;
      TBBUTTON buttons[2] = {};
      buttons[0] = {I_IMAGENONE, ID_DOCK_DEMO_HANDLED, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0, 0};
      buttons[1] = {I_IMAGENONE, ID_DOCK_DEMO_UNHANDLED, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0, 0};
      m_links.GetToolBarCtrl().AddButtons(2, buttons);
      m_links.SetButtonText(0, L"Home");
      m_links.SetButtonText(1, L"Nowhere");
      m_links.MoveWindow(120, 0, 200, 24);
      if (!m_rebar.Create(this, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_REBAR)) return -1;
      if (!m_rebar.AddBar(&m_dialogBar, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE), nullptr,
                          RBBS_GRIPPERALWAYS))
        return -1;
    }
    static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(kIndicators, 2)) return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_left.Create(this, CBRS_LEFT, ID_DOCK_DEMO_LEFT_BAR) ||
        !m_right.Create(this, CBRS_RIGHT, ID_DOCK_DEMO_RIGHT_BAR))
      return -1;
    m_left.SetWindowText(L"Left");
    m_right.SetWindowText(L"Right");
    m_left.EnableDocking(CBRS_ALIGN_LEFT);
    m_right.EnableDocking(CBRS_ALIGN_RIGHT);
    if (!DockControlBar(&m_left, AFX_IDW_DOCKBAR_LEFT) || !DockControlBar(&m_right, AFX_IDW_DOCKBAR_RIGHT))
      return -1;
    if (!m_view.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this, AFX_IDW_PANE_FIRST))
      return -1;
    RecalcLayout();
    return 0;
  }
  void OnHandled() { ++m_handled; }
  void OnUpdateHandled(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_checked ? 1 : 0);
  }
  // The rebar is the bar behind the toolbar command.
  void OnViewToolbar() { ShowControlBar(&m_rebar, !m_rebar.IsVisible(), FALSE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockDemoFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_DOCK_DEMO_HANDLED, OnHandled)
  ON_UPDATE_COMMAND_UI(ID_DOCK_DEMO_HANDLED, OnUpdateHandled)
  ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbar)
END_MESSAGE_MAP()
