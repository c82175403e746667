// Prints how long the framework's layout of the editor's arrangement takes
// (a rebar with a toolbar on top, the status bar below, a caption pane
// docked left, a gripper pane docked right, the view between), each round
// after a pane changed its width; and one drag step of a pane's inner edge
// with full-window dragging. Beside them the bare Win32 work of the same
// layout: one DeferWindowPos pass moving the same windows by a pixel.
//   bench_bar_layout
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "bench/bench_timer.h"
#include "editor_settings/sizing_bar/sizing_control_bar_cf.h"
#include "editor_settings/sizing_bar/sizing_control_bar_g.h"

namespace {

const int rounds = 200;

class CBenchFrame : public CFrameWnd {
 public:
  CStatusBar m_status;
  CReBar m_rebar;
  CToolBar m_tools;
  CSizingControlBarCF m_phrases;
  CSizingControlBarG m_settings;
  CWnd m_view;
  bool Build() {
    if (!Create(nullptr, L"bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 700))) return false;
    static const UINT kIndicators[] = {ID_SEPARATOR};  // the indicators need the layer's strings
    if (!m_tools.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP)) return false;
    TBBUTTON button = {I_IMAGENONE, 0x8001, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0, 0};
    m_tools.GetToolBarCtrl().AddButtons(1, &button);
    if (!m_rebar.Create(this) || !m_rebar.AddBar(&m_tools, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE)))
      return false;
    if (!m_status.Create(this) || !m_status.SetIndicators(kIndicators, 1)) return false;
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_phrases.Create(L"Phrases", this, CSize(330, 300), TRUE, 0xE840, WS_CHILD | WS_VISIBLE | CBRS_LEFT) ||
        !m_settings.Create(L"Settings", this, CSize(100, 395), TRUE, 0xE841, WS_CHILD | WS_VISIBLE | CBRS_RIGHT))
      return false;
    m_phrases.EnableDocking(CBRS_ALIGN_LEFT);
    m_settings.EnableDocking(CBRS_ALIGN_RIGHT);
    DockControlBar(&m_phrases, AFX_IDW_DOCKBAR_LEFT);
    DockControlBar(&m_settings, AFX_IDW_DOCKBAR_RIGHT);
    if (!m_view.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), this, AFX_IDW_PANE_FIRST))
      return false;
    RecalcLayout();
    return true;
  }
};

}  // namespace

int wmain() {
  ::InitCommonControls();
  auto* frame = new CBenchFrame;
  if (!frame->Build()) {
    std::printf("cannot make the frame\n");
    return 1;
  }
  double start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    frame->m_phrases.m_szVert.cx = 330 + (i & 1);
    frame->RecalcLayout();
  }
  const double layout = (BenchNowMs() - start) / rounds;

  // The same windows moved by the bare calls.
  HWND windows[] = {frame->m_rebar.m_hWnd, frame->m_status.m_hWnd, frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT)->m_hWnd,
                    frame->GetDockBar(AFX_IDW_DOCKBAR_RIGHT)->m_hWnd, frame->m_view.m_hWnd};
  std::vector<RECT> rects;
  for (HWND w : windows) {
    RECT r;
    ::GetWindowRect(w, &r);
    ::MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<LPPOINT>(&r), 2);
    rects.push_back(r);
  }
  start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    HDWP dwp = ::BeginDeferWindowPos(8);
    for (size_t k = 0; k < rects.size(); ++k) {
      const RECT& r = rects[k];
      dwp = ::DeferWindowPos(dwp, windows[k], nullptr, r.left, r.top, r.right - r.left + (i & 1), r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::EndDeferWindowPos(dwp);
  }
  const double bare = (BenchNowMs() - start) / rounds;

  // Drag steps of the phrase pane's inner edge, contents shown while dragging.
  CSizingControlBarCF& pane = frame->m_phrases;
  pane.m_bDragShowContent = TRUE;
  RECT w;
  pane.GetWindowRect(&w);
  POINT edge = {w.right - 2, (w.top + w.bottom) / 2};
  pane.SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(edge.x, edge.y));
  start = BenchNowMs();
  for (int i = 0; i < rounds; ++i) {
    POINT to = {edge.x + 1 + (i % 20), edge.y};
    pane.ScreenToClient(&to);
    pane.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  }
  const double drag = (BenchNowMs() - start) / rounds;
  pane.SendMessage(WM_LBUTTONUP, 0, 0);

  std::printf("layout of the editor's bars, per pass: %.3f ms (bare DeferWindowPos of the same windows: %.3f ms)\n",
              layout, bare);
  std::printf("one drag step of a pane's inner edge: %.3f ms\n", drag);
  frame->DestroyWindow();
  return 0;
}
