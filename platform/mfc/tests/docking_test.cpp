#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/mfc/tests/dock_demo_frame.h"
#include "tests/support/test_support.h"

namespace {

// The demo frame, destroyed at the end of each test.
struct Demo {
  CDockDemoFrame* frame = CDockDemoFrame::Make();
  ~Demo() {
    if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CRect Client() const {
    CRect r;
    frame->GetClientRect(&r);
    return r;
  }
  CRect View() const { return frame->ClientRectOf(frame->m_view); }
  CRect Dock(UINT id) const { return frame->ClientRectOf(*frame->GetDockBar(id)); }
  void Idle() const { frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE); }
};

// Drags a docked bar from a client point to a screen point through the
// mouse messages its drag loop reads.
void Drag(CControlBar& bar, CPoint from, CPoint toScreen) {
  CPoint to = toScreen;
  bar.ScreenToClient(&to);
  bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
}

HWND MiniFrameOf(const CControlBar& bar) {
  return bar.IsFloating() ? ::GetParent(bar.m_pDockBar->m_hWnd) : nullptr;
}

class CheckState : public CCmdUI {
 public:
  int check = -1;
  void Enable(BOOL) override { m_bEnableChanged = TRUE; }
  void SetCheck(int n) override { check = n; }
};

TEST(DockingTest, BarsOnBothSidesRebarAboveAndStatusBelowFrameTheView) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  const CRect client = d.Client(), view = d.View(), rebar = d.frame->ClientRectOf(d.frame->m_rebar);
  const CRect status = d.frame->ClientRectOf(d.frame->m_statusBar);
  const CRect left = d.Dock(AFX_IDW_DOCKBAR_LEFT), right = d.Dock(AFX_IDW_DOCKBAR_RIGHT);
  EXPECT_EQ(rebar.top, client.top);
  EXPECT_GT(rebar.Height(), 0);
  EXPECT_EQ(rebar.Width(), client.Width());
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(view.top, rebar.bottom);
  EXPECT_EQ(view.bottom, status.top);
  // The sides span what the rebar and status bar leave; the view is between.
  EXPECT_EQ(left.top, rebar.bottom);
  EXPECT_EQ(left.bottom, status.top);
  EXPECT_EQ(left.left, client.left);
  EXPECT_EQ(view.left, left.right);
  EXPECT_EQ(view.right, right.left);
  EXPECT_EQ(right.right, client.right);
  EXPECT_GT(left.Width(), 0);
  EXPECT_GT(right.Width(), 0);
  // Each bar lies inside its side, its inner edge on the side's edge.
  CRect bar = d.frame->ClientRectOf(d.frame->m_left);
  EXPECT_EQ(bar.right, left.right);
  EXPECT_EQ(::GetParent(d.frame->m_left.m_hWnd), d.frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT)->m_hWnd);
  EXPECT_EQ(d.frame->GetControlBar(ID_DOCK_DEMO_RIGHT_BAR), &d.frame->m_right);
  EXPECT_EQ(d.frame->GetControlBar(AFX_IDW_DIALOGBAR), &d.frame->m_dialogBar);
  // The dialog bar came from its template, as a child of the rebar.
  CRect dlu(0, 0, 220, 16);
  ::MapDialogRect(d.frame->m_dialogBar.m_hWnd, &dlu);
  EXPECT_EQ(d.frame->m_dialogBar.m_sizeDefault.cx, dlu.Width());
  EXPECT_EQ(d.frame->m_dialogBar.GetStyle() & (WS_CHILD | WS_CAPTION), static_cast<DWORD>(WS_CHILD));
  EXPECT_EQ(::GetParent(d.frame->m_dialogBar.m_hWnd), d.frame->m_rebar.m_hWnd);
}

TEST(DockingTest, BarsOfOneSideStandInRowsOrShareOneAndLeaveWhenDestroyed) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  CDockBar* side = d.frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT);
  auto extra = std::make_unique<CBoxBar>();
  ASSERT_TRUE(extra->Create(d.frame, CBRS_LEFT, ID_DOCK_DEMO_LEFT_BAR2));
  extra->EnableDocking(CBRS_ALIGN_LEFT);
  ASSERT_TRUE(d.frame->DockControlBar(extra.get(), AFX_IDW_DOCKBAR_LEFT));
  d.frame->RecalcLayout();
  // A row of its own: beside the first bar, with a row break between.
  CRect first = d.frame->ClientRectOf(d.frame->m_left), second = d.frame->ClientRectOf(*extra);
  EXPECT_EQ(second.top, first.top);
  EXPECT_GE(second.left, first.right - 2);
  int pos = side->FindBar(extra.get());
  ASSERT_GT(pos, 1);
  EXPECT_EQ(side->m_arrBars[pos - 1], nullptr);
  EXPECT_TRUE(side->IsFirstInRow(extra.get()) && side->IsLastInRow(extra.get()));
  EXPECT_EQ(d.View().left, d.Dock(AFX_IDW_DOCKBAR_LEFT).right);

  // Dropped below the first bar, it joins that row.
  CRect below;
  d.frame->m_left.GetWindowRect(&below);
  below.OffsetRect(0, below.Height() + 4);
  ASSERT_TRUE(d.frame->DockControlBar(extra.get(), AFX_IDW_DOCKBAR_LEFT, &below));
  d.frame->RecalcLayout();
  first = d.frame->ClientRectOf(d.frame->m_left);
  second = d.frame->ClientRectOf(*extra);
  EXPECT_EQ(second.left, first.left);
  EXPECT_EQ(second.top, first.bottom - 2);
  EXPECT_TRUE(side->IsFirstInRow(&d.frame->m_left));
  EXPECT_FALSE(side->IsLastInRow(&d.frame->m_left));
  EXPECT_TRUE(side->IsLastInRow(extra.get()));
  std::vector<CControlBar*> row;
  side->GetRowBars(extra.get(), row);
  EXPECT_EQ(row.size(), 2u);
  side->InsertRowBreak(side->FindBar(extra.get()));
  EXPECT_TRUE(side->IsFirstInRow(extra.get()));

  // Gone while docked: no trace in the side, and the layout goes on.
  extra->DestroyWindow();
  EXPECT_EQ(side->FindBar(extra.get()), -1);
  EXPECT_EQ(d.frame->GetControlBar(ID_DOCK_DEMO_LEFT_BAR2), nullptr);
  d.frame->RecalcLayout();
  EXPECT_EQ(side->GetBarCount(), 1);
  // An object deleted with its window still docked leaves as well.
  extra = std::make_unique<CBoxBar>();
  ASSERT_TRUE(extra->Create(d.frame, CBRS_LEFT, ID_DOCK_DEMO_LEFT_BAR2));
  extra->EnableDocking(CBRS_ALIGN_LEFT);
  ASSERT_TRUE(d.frame->DockControlBar(extra.get(), AFX_IDW_DOCKBAR_LEFT));
  HWND orphan = extra->m_hWnd;
  extra.reset();
  EXPECT_EQ(side->GetBarCount(), 1);
  d.frame->RecalcLayout();
  ::DestroyWindow(orphan);
}

TEST(DockingTest, HiddenBarsGiveTheViewTheirSpaceAndTheViewCommandsToggleThem) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  const CRect client = d.Client();
  d.frame->ShowControlBar(&d.frame->m_left, FALSE, FALSE);
  EXPECT_EQ(d.View().left, client.left);
  d.frame->ShowControlBar(&d.frame->m_right, FALSE, TRUE);  // delayed: laid out at idle
  d.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_EQ(d.View().right, client.right);
  d.frame->ShowControlBar(&d.frame->m_left, TRUE, FALSE);
  EXPECT_GT(d.View().left, client.left);

  CheckState state;
  state.m_nID = ID_VIEW_STATUS_BAR;
  d.frame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_UPDATE_COMMAND_UI, &state, nullptr);
  EXPECT_EQ(state.check, 1);
  d.frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
  EXPECT_FALSE(d.frame->m_statusBar.IsVisible());
  EXPECT_EQ(d.View().bottom, client.bottom);
  d.frame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_UPDATE_COMMAND_UI, &state, nullptr);
  EXPECT_EQ(state.check, 0);
  d.frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR, 0);
  EXPECT_FALSE(d.frame->m_rebar.IsVisible());
  EXPECT_EQ(d.View().top, client.top);
  d.frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
  EXPECT_TRUE(d.frame->m_statusBar.IsVisible());
  EXPECT_LT(d.View().bottom, client.bottom);
}

TEST(DockingTest, DoubleClickFloatsIntoAMiniFrameWithTheBarsTitleAndDocksBack) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  CBoxBar& left = d.frame->m_left;
  left.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(left.IsFloating());
  HWND mini = MiniFrameOf(left);
  ASSERT_NE(mini, nullptr);
  EXPECT_EQ(::GetWindow(mini, GW_OWNER), d.frame->m_hWnd);
  EXPECT_TRUE(::GetWindowLongPtrW(mini, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(::IsWindowVisible(mini));
  wchar_t title[64] = L"";
  ::GetWindowTextW(mini, title, 64);
  EXPECT_STREQ(title, L"Left");
  left.SetWindowText(L"Phrases [3/4]");
  ::GetWindowTextW(mini, title, 64);
  EXPECT_STREQ(title, L"Phrases [3/4]");
  // The mini frame's client area is the bar.
  CRect miniClient, barRect;
  ::GetClientRect(mini, &miniClient);
  left.GetClientRect(&barRect);
  EXPECT_EQ(miniClient.Size().cx, barRect.Width());
  EXPECT_EQ(d.View().left, d.Client().left);
  EXPECT_EQ(d.frame->GetControlBar(ID_DOCK_DEMO_LEFT_BAR), &left);

  left.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  ASSERT_FALSE(left.IsFloating());
  EXPECT_EQ(left.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_GT(d.View().left, d.Client().left);
  d.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_FALSE(::IsWindow(mini));  // the emptied mini frame went

  // The caption of the mini frame docks the right bar on its own side.
  CBoxBar& right = d.frame->m_right;
  right.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  mini = MiniFrameOf(right);
  ASSERT_NE(mini, nullptr);
  ::SendMessageW(mini, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_FALSE(right.IsFloating());
  EXPECT_EQ(right.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
  // Closing a mini frame hides its bar.
  right.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  ::SendMessageW(MiniFrameOf(right), WM_CLOSE, 0, 0);
  EXPECT_FALSE(right.IsVisible());
}

TEST(DockingTest, DragAwayFromTheSidesFloatsAndARightOnlyBarNeverDocksLeft) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  CRect client = d.Client();
  d.frame->ClientToScreen(&client);
  CRect view = d.View();
  d.frame->ClientToScreen(&view);
  const CPoint middle((view.left + view.right) / 2, (view.top + view.bottom) / 2);

  CBoxBar& left = d.frame->m_left;
  CRect before;
  left.GetWindowRect(&before);
  Drag(left, CPoint(10, 10), middle);
  ASSERT_TRUE(left.IsFloating());
  CRect miniRect;
  ::GetWindowRect(MiniFrameOf(left), &miniRect);
  // The mini frame stands where the bar was dropped.
  EXPECT_EQ(miniRect.left, before.left + middle.x - (before.left + 10));
  EXPECT_EQ(miniRect.top, before.top + middle.y - (before.top + 10));
  EXPECT_EQ(d.View().left, d.Client().left);

  CBoxBar& right = d.frame->m_right;
  EXPECT_FALSE(d.frame->DockControlBar(&right, AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(right.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
  // Dropped on the left side, it floats instead.
  Drag(right, CPoint(10, 10), CPoint(client.left + 3, middle.y));
  ASSERT_TRUE(right.IsFloating());
  right.m_pDockContext->ToggleDocking();
  ASSERT_FALSE(right.IsFloating());
  EXPECT_EQ(right.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
  // On its own side, the drop docks it there.
  Drag(right, CPoint(10, 10), CPoint(client.right - 3, middle.y));
  EXPECT_FALSE(right.IsFloating());
  EXPECT_EQ(right.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
  // A press without a move is no drag.
  right.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  right.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_FALSE(right.IsFloating());
}

TEST(DockingTest, FloatingBarsMiniFrameGoesWithTheBarOrTheFrame) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  // A floating bar destroyed: its mini frame forgets it and goes at the next layout.
  auto extra = std::make_unique<CBoxBar>();
  ASSERT_TRUE(extra->Create(d.frame, CBRS_LEFT, ID_DOCK_DEMO_LEFT_BAR2));
  extra->EnableDocking(CBRS_ALIGN_LEFT);
  ASSERT_TRUE(d.frame->FloatControlBar(extra.get(), CPoint(200, 200)));
  HWND extraMini = MiniFrameOf(*extra);
  ASSERT_NE(extraMini, nullptr);
  CDockBar* floating = extra->m_pDockBar;
  extra->DestroyWindow();
  EXPECT_EQ(floating->FindBar(extra.get()), -1);
  EXPECT_EQ(extra->m_pDockBar, nullptr);
  d.frame->RecalcLayout();
  EXPECT_FALSE(::IsWindow(extraMini));

  d.frame->m_right.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  HWND mini = MiniFrameOf(d.frame->m_right);
  ASSERT_NE(mini, nullptr);
  d.frame->DestroyWindow();
  d.frame = nullptr;
  EXPECT_FALSE(::IsWindow(mini));
}

TEST(DockingTest, ToolbarOnADialogBarFollowsUpdatesShowsTipsAndCommandsTheFrame) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  CToolBar& links = d.frame->m_links;
  CToolBarCtrl& ctrl = links.GetToolBarCtrl();
  d.Idle();
  EXPECT_EQ(ctrl.GetState(ID_DOCK_DEMO_HANDLED) & (TBSTATE_ENABLED | TBSTATE_CHECKED),
            TBSTATE_ENABLED | TBSTATE_CHECKED);
  EXPECT_EQ(ctrl.GetState(ID_DOCK_DEMO_UNHANDLED) & TBSTATE_ENABLED, 0);
  d.frame->m_checked = FALSE;
  d.Idle();
  EXPECT_EQ(ctrl.GetState(ID_DOCK_DEMO_HANDLED) & TBSTATE_CHECKED, 0);
  // The dialog bar's combo box has no command: it stays enabled.
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d.frame->m_dialogBar.m_hWnd, IDC_DOCK_DEMO_COMBO)));
  EXPECT_EQ(links.GetButtonText(0), L"Home");

  // A click on the button reaches the frame through the dialog bar.
  CRect r;
  ctrl.GetItemRect(0, &r);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  links.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  links.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(d.frame->m_handled, 1);

  // Tips: the text after the newline, or the whole string.
  struct { UINT id; const wchar_t* tip; } cases[] = {{ID_DOCK_DEMO_HANDLED, L"Home page"},
                                                     {ID_DOCK_DEMO_UNHANDLED, L"No newline here"}};
  for (auto& c : cases) {
    NMTTDISPINFOW info = {};
    // A notice names a window of this thread (the layer reads no other).
    HWND tips = reinterpret_cast<HWND>(links.SendMessage(TB_GETTOOLTIPS));
    info.hdr.hwndFrom = tips ? tips : links.m_hWnd;
    info.hdr.idFrom = c.id;
    info.hdr.code = TTN_NEEDTEXTW;
    d.frame->m_dialogBar.SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, c.tip);
  }
}

// A dialog bar with a map of its own, and a toolbar that shapes its window.
class CLanguageDemoBar : public CDialogBar {
 public:
  int selChanges = 0;
  int appMessages = 0;
  void OnSelChange() { ++selChanges; }
  LRESULT OnApp(WPARAM, LPARAM) {
    ++appMessages;
    return 7;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLanguageDemoBar, CDialogBar)
  ON_CBN_SELCHANGE(IDC_DOCK_DEMO_COMBO, OnSelChange)
  ON_MESSAGE(WM_APP + 1, OnApp)
END_MESSAGE_MAP()

class CListToolBar : public CToolBar {
 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.style |= TBSTYLE_LIST;
    return CToolBar::PreCreateWindow(cs);
  }
  int OnCreate(LPCREATESTRUCT lpcs) {
    if (CToolBar::OnCreate(lpcs) == -1) return -1;
    TBBUTTON button = {I_IMAGENONE, ID_DOCK_DEMO_HANDLED, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
    GetToolBarCtrl().AddButtons(1, &button);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CListToolBar, CToolBar)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(DockingTest, DerivedDialogBarsAndToolbarsKeepTheirOwnHandlers) {
  Demo d;
  ASSERT_NE(d.frame, nullptr);
  CLanguageDemoBar bar;
  ASSERT_TRUE(bar.Create(d.frame, IDD_DOCK_DEMO_BAR, CBRS_TOP, 0xE806));
  HWND combo = ::GetDlgItem(bar.m_hWnd, IDC_DOCK_DEMO_COMBO);
  ASSERT_NE(combo, nullptr);
  bar.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DOCK_DEMO_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(bar.selChanges, 1);
  EXPECT_EQ(bar.SendMessage(WM_APP + 1), 7);
  EXPECT_EQ(bar.appMessages, 1);
  // A command the bar does not handle goes on to the frame.
  bar.SendMessage(WM_COMMAND, ID_DOCK_DEMO_HANDLED, 0);
  EXPECT_EQ(d.frame->m_handled, 1);
  bar.DestroyWindow();
  EXPECT_EQ(d.frame->GetControlBar(0xE806), nullptr);

  CListToolBar tools;
  ASSERT_TRUE(tools.Create(d.frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE807));
  EXPECT_TRUE(tools.GetStyle() & TBSTYLE_LIST);
  EXPECT_EQ(tools.GetToolBarCtrl().GetButtonCount(), 1);
  EXPECT_EQ(tools.GetItemID(0), static_cast<UINT>(ID_DOCK_DEMO_HANDLED));
  EXPECT_EQ(tools.ItemFromPoint(CPoint(-50, -50)), -1);
}

}  // namespace
