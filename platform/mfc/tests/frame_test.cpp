#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/afx.h"
#include "platform/mfc/tests/demo/sdi_demo_ids.h"
#include "tests/support/test_support.h"

namespace {

int g_handled = 0;
BOOL g_allowClose = TRUE;
int g_saveAsked = 0;

class CFrameDoc : public CDocument {
  DECLARE_DYNCREATE(CFrameDoc)

 public:
  BOOL SaveModified() override {
    ++g_saveAsked;
    return g_allowClose;
  }
};
IMPLEMENT_DYNCREATE(CFrameDoc, CDocument)

class CKeyView : public CView {
  DECLARE_DYNCREATE(CKeyView)

 public:
  BOOL m_takeKeys = FALSE;
  BOOL PreTranslateMessage(MSG* pMsg) override { return pMsg->message == WM_KEYDOWN && m_takeKeys; }
  void OnHandled() { ++g_handled; }
  void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  void OnUpdateRenamed(CCmdUI* pCmdUI) { pCmdUI->SetText(L"Renamed text"); }
  void OnUpdateSystem(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  void OnSave() {}
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CKeyView, CView)
BEGIN_MESSAGE_MAP(CKeyView, CView)
  ON_COMMAND(ID_DEMO_HANDLED, OnHandled)
  ON_COMMAND(ID_DEMO_CHECKED, OnHandled)
  ON_COMMAND(ID_DEMO_RENAMED, OnHandled)
  ON_COMMAND(ID_DEMO_CUSTOM_PROMPT, OnHandled)
  ON_UPDATE_COMMAND_UI(ID_DEMO_CHECKED, OnUpdateChecked)
  ON_UPDATE_COMMAND_UI(ID_DEMO_RENAMED, OnUpdateRenamed)
END_MESSAGE_MAP()

class CBarFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CBarFrame)

 public:
  CStatusBar m_statusBar;
  int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(kIndicators, 4)) return -1;
    RecalcLayout();
    return 0;
  }
  void GetMessageString(UINT nID, CString& rMessage) const override {
    if (nID == ID_DEMO_CUSTOM_PROMPT) rMessage = L"custom prompt";
    else CFrameWnd::GetMessageString(nID, rMessage);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CBarFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

struct Started {
  CSingleDocTemplate tmpl{IDR_DEMO_FRAME, RUNTIME_CLASS(CFrameDoc), RUNTIME_CLASS(CBarFrame), RUNTIME_CLASS(CKeyView)};
  CBarFrame* frame = nullptr;
  CKeyView* view = nullptr;
  Started() {
    g_handled = g_saveAsked = 0;
    g_allowClose = TRUE;
    CDocument* doc = tmpl.OpenDocumentFile(nullptr, TRUE);
    if (!doc) return;
    POSITION pos = doc->GetFirstViewPosition();
    view = static_cast<CKeyView*>(doc->GetNextView(pos));
    frame = static_cast<CBarFrame*>(view->GetParentFrame());
    frame->MoveWindow(20, 20, 500, 400);
  }
  ~Started() {
    if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CString PaneText(int index) const {
    wchar_t text[128] = {};
    frame->m_statusBar.SendMessage(SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text));
    return CString(text);
  }
};

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

CRect ChildRect(HWND child) {
  CRect rect;
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<LPPOINT>(&rect), 2);
  return rect;
}

// The key state of this thread, with keys pressed or toggled, for the time
// of a test.
struct KeyState {
  BYTE saved[256] = {};
  KeyState() { ::GetKeyboardState(saved); }
  ~KeyState() { ::SetKeyboardState(saved); }
  void Set(int vk, BYTE value) {
    BYTE now[256];
    ::GetKeyboardState(now);
    now[vk] = value;
    ::SetKeyboardState(now);
  }
};

TEST(FrameTest, AcceleratorsReachTheFrameOnlyAfterTheFocusWindowDeclined) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  KeyState keys;
  keys.Set(VK_CONTROL, 0x80);
  MSG msg = {s.view->m_hWnd, WM_KEYDOWN, 'D', 0x00200001, 0, {0, 0}};
  s.view->m_takeKeys = TRUE;
  EXPECT_TRUE(AfxPreTranslateWalk(s.frame, &msg));
  EXPECT_EQ(g_handled, 0);  // the view took the key itself
  s.view->m_takeKeys = FALSE;
  EXPECT_TRUE(AfxPreTranslateWalk(s.frame, &msg));
  EXPECT_EQ(g_handled, 1);  // the frame's table made it a command
  // Without Ctrl the key is no accelerator and goes on to the window.
  keys.Set(VK_CONTROL, 0);
  EXPECT_FALSE(AfxPreTranslateWalk(s.frame, &msg));
  // F6 has an entry but no handler: translated, and nothing happens.
  MSG f6 = {s.view->m_hWnd, WM_KEYDOWN, VK_F6, 0x00400001, 0, {0, 0}};
  AfxPreTranslateWalk(s.frame, &f6);
  EXPECT_EQ(g_handled, 1);
  EXPECT_TRUE(::IsWindow(s.frame->m_hWnd));
}

TEST(FrameTest, PopupUpdateSetsCheckEnableAndTextAndLeavesSystemIdsAlone) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  CMenu* bar = s.frame->GetMenu();
  ASSERT_NE(bar, nullptr);
  CMenu* popup = bar->GetSubMenu(1);
  ASSERT_NE(popup, nullptr);
  auto state = [&](UINT id) { return popup->GetMenuState(id, MF_BYCOMMAND); };
  auto text = [&](UINT id) {
    CString t;
    popup->GetMenuString(id, t, MF_BYCOMMAND);
    return t;
  };
  struct { BOOL autoEnable; BOOL sysMenu; UINT unhandledGray; bool updated; } cases[] = {
      {TRUE, FALSE, MF_GRAYED, true},
      {FALSE, FALSE, 0, true},
      {TRUE, TRUE, 0, false},  // a system menu is not the frame's to update
  };
  for (auto& c : cases) {
    // Fresh states for each round.
    popup->EnableMenuItem(ID_DEMO_UNHANDLED, MF_BYCOMMAND | MF_ENABLED);
    popup->CheckMenuItem(ID_DEMO_CHECKED, MF_BYCOMMAND | MF_UNCHECKED);
    popup->ModifyMenu(ID_DEMO_RENAMED, MF_BYCOMMAND | MF_STRING, ID_DEMO_RENAMED, L"&Renamed");
    s.frame->m_bAutoMenuEnable = c.autoEnable;
    s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), MAKELPARAM(1, c.sysMenu));
    EXPECT_EQ(state(ID_DEMO_UNHANDLED) & MF_GRAYED, c.unhandledGray) << c.autoEnable << c.sysMenu;
    EXPECT_EQ((state(ID_DEMO_CHECKED) & MF_CHECKED) != 0, c.updated);
    EXPECT_EQ(text(ID_DEMO_RENAMED) == L"Renamed text", c.updated);
    EXPECT_EQ(state(ID_DEMO_HANDLED) & MF_GRAYED, 0u);
    // The system command keeps the state the menu gave it.
    EXPECT_EQ(state(0xF120) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    // The popup item is never disabled, though its first item has no handler.
    EXPECT_EQ(popup->GetMenuState(5, MF_BYPOSITION) & MF_GRAYED, 0u);
  }
  EXPECT_EQ(g_handled, 0);
}

TEST(FrameTest, MenuSelectShowsThePromptOfGetMessageString) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  HMENU menu = ::GetSubMenu(::GetMenu(s.frame->m_hWnd), 1);
  CString ready;
  ready.LoadString(AFX_IDS_IDLEMESSAGE);
  EXPECT_EQ(ready, L"Ready");
  // The idle pass shows the idle prompt; a text sent to the frame stays.
  s.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_EQ(s.PaneText(0), ready);
  s.frame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(L"C:\\phrases\\a.quillora"));
  s.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_EQ(s.PaneText(0), L"C:\\phrases\\a.quillora");
  s.frame->SendMessage(WM_SETMESSAGESTRING, ID_DEMO_HANDLED, 0);
  EXPECT_EQ(s.PaneText(0), L"Runs the handled command");
  struct { UINT item; UINT flags; HMENU menu; const wchar_t* expect; } cases[] = {
      {ID_DEMO_HANDLED, MF_STRING, menu, L"Runs the handled command"},  // the part before "\n"
      {ID_DEMO_UNHANDLED, MF_STRING, menu, L"Nobody handles this"},
      {ID_DEMO_CUSTOM_PROMPT, MF_STRING, menu, L"custom prompt"},      // the frame's own override
      {5, MF_POPUP, menu, L""},
      {0xF120, MF_STRING, menu, L""},
      {0, 0xFFFF, nullptr, ready.GetString()},                          // menu closed
  };
  for (auto& c : cases) {
    s.frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(c.item, c.flags), reinterpret_cast<LPARAM>(c.menu));
    EXPECT_EQ(s.PaneText(0), c.expect) << c.item;
    EXPECT_EQ(s.frame->m_statusBar.GetPaneText(0), c.expect);
  }
}

TEST(FrameTest, LayoutGivesTheStatusBarTheBottomAndTheViewTheRest) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  HWND bar = s.frame->m_statusBar.m_hWnd;
  for (SIZE size : {SIZE{500, 400}, SIZE{320, 260}}) {
    s.frame->MoveWindow(20, 20, size.cx, size.cy);
    CRect client;
    s.frame->GetClientRect(&client);
    CRect barRect = ChildRect(bar), viewRect = ChildRect(s.view->m_hWnd);
    EXPECT_GT(barRect.Height(), 0);
    EXPECT_EQ(Text(barRect), Text(CRect(0, client.bottom - barRect.Height(), client.right, client.bottom)));
    EXPECT_EQ(Text(viewRect), Text(CRect(0, 0, client.right, barRect.top)));
  }
  // A command sent to the bar that the bar does not handle reaches its
  // owner, the frame, and through it the view.
  EXPECT_EQ(::SendMessageW(bar, WM_COMMAND, ID_DEMO_HANDLED, 0), 1);
  EXPECT_EQ(g_handled, 1);
  // View > Status Bar hides the bar; the view takes its place.
  CMenu* viewMenu = s.frame->GetMenu()->GetSubMenu(2);
  s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu->m_hMenu), 2);
  EXPECT_TRUE(viewMenu->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
  s.frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
  EXPECT_FALSE(::IsWindowVisible(bar));
  CRect client;
  s.frame->GetClientRect(&client);
  EXPECT_EQ(Text(ChildRect(s.view->m_hWnd)), Text(client));
  s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu->m_hMenu), 2);
  EXPECT_FALSE(viewMenu->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(FrameTest, KeyIndicatorsShowWhileTheirKeyIsToggledOn) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  KeyState keys;
  struct { int vk; UINT id; int pane; } cases[] = {
      {VK_CAPITAL, ID_INDICATOR_CAPS, 1}, {VK_NUMLOCK, ID_INDICATOR_NUM, 2}, {VK_SCROLL, ID_INDICATOR_SCRL, 3}};
  for (auto& c : cases) {
    CString name;
    ASSERT_TRUE(name.LoadString(c.id));
    for (BYTE toggled : {BYTE(1), BYTE(0), BYTE(1)}) {
      keys.Set(c.vk, toggled);
      s.frame->m_statusBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
      EXPECT_EQ(s.PaneText(c.pane), toggled ? name : CString()) << c.id;
    }
  }
}

TEST(FrameTest, CloseAsksTheDocumentAndFalseKeepsTheWindow) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  HWND frame = s.frame->m_hWnd;
  g_allowClose = FALSE;
  s.frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(g_saveAsked, 1);
  EXPECT_TRUE(::IsWindow(frame));
  EXPECT_EQ(s.tmpl.GetFirstDocPosition() != nullptr, true);
  g_allowClose = TRUE;
  ::SendMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(g_saveAsked, 2);
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(s.tmpl.GetFirstDocPosition(), nullptr);  // the document went with its views
  s.frame = nullptr;
}

TEST(FrameTest, IdlePassRefreshesTheTitleAndAReplacedMenuIsTheFramesOwn) {
  Started s;
  ASSERT_NE(s.frame, nullptr);
  EXPECT_EQ(s.frame->GetWindowTextString(), L"SDI demo - DemoDoc");
  s.frame->GetActiveDocument()->SetTitle(L"Renamed");
  EXPECT_EQ(s.frame->GetWindowTextString(), L"SDI demo - DemoDoc");  // not before the idle pass
  s.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_EQ(s.frame->GetWindowTextString(), L"SDI demo - Renamed");
  // Without FWS_ADDTOTITLE the caption is the frame's title alone.
  s.frame->ModifyStyle(FWS_ADDTOTITLE, 0);
  s.frame->OnUpdateFrameTitle(TRUE);
  EXPECT_EQ(s.frame->GetWindowTextString(), L"SDI demo");

  // The language switch's way: a freshly loaded menu replaces the old one.
  CMenu fresh;
  ASSERT_TRUE(fresh.LoadMenu(IDR_DEMO_FRAME));
  CMenu* fileMenu = fresh.GetSubMenu(0);
  ASSERT_NE(fileMenu, nullptr);
  EXPECT_TRUE(fileMenu->ModifyMenu(ID_FILE_SAVE, MF_BYCOMMAND | MF_STRING, ID_FILE_SAVE, L"&Speichern"));
  HMENU old = ::GetMenu(s.frame->m_hWnd);
  ASSERT_TRUE(s.frame->SetMenu(&fresh));
  s.frame->m_hMenuDefault = fresh.Detach();
  ::DestroyMenu(old);
  s.frame->DrawMenuBar();
  EXPECT_EQ(s.frame->GetMenu()->m_hMenu, s.frame->m_hMenuDefault);
  CString text;
  EXPECT_EQ(s.frame->GetMenu()->GetSubMenu(0)->GetMenuString(ID_FILE_SAVE, text, MF_BYCOMMAND), 10);
  EXPECT_EQ(text, L"&Speichern");
  // The new menu's popups are updated like the old ones.
  CMenu* demo = s.frame->GetMenu()->GetSubMenu(1);
  s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(demo->m_hMenu), 1);
  EXPECT_TRUE(demo->GetMenuState(ID_DEMO_CHECKED, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(MenuTest, ItemsAreInsertedRemovedMarkedAndNamed) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  EXPECT_TRUE(menu.AppendMenu(MF_STRING, 10, L"ten"));
  EXPECT_TRUE(menu.AppendMenu(MF_STRING, 30, L"thirty"));
  EXPECT_TRUE(menu.InsertMenu(1, MF_BYPOSITION | MF_STRING, 20, L"twenty"));
  CMenu sub;
  ASSERT_TRUE(sub.CreatePopupMenu());
  sub.AppendMenu(MF_STRING, 41, L"inner");
  HMENU subHandle = sub.Detach();
  EXPECT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), L"more"));
  ASSERT_EQ(menu.GetMenuItemCount(), 4);
  EXPECT_EQ(menu.GetMenuItemID(1), 20u);
  EXPECT_EQ(menu.GetMenuItemID(3), static_cast<UINT>(-1));
  EXPECT_EQ(menu.GetSubMenu(3)->m_hMenu, subHandle);
  CString text;
  EXPECT_EQ(menu.GetMenuString(2, text, MF_BYPOSITION), 6);
  EXPECT_EQ(text, L"thirty");
  EXPECT_EQ(menu.GetMenuString(99, text, MF_BYCOMMAND), 0);
  EXPECT_EQ(text, L"");
  EXPECT_TRUE(menu.CheckMenuRadioItem(10, 30, 20, MF_BYCOMMAND));
  EXPECT_TRUE(menu.GetMenuState(20, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(menu.GetMenuState(10, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(menu.SetDefaultItem(30));
  EXPECT_EQ(menu.GetDefaultItem(0), 30u);
  // RemoveMenu leaves the popup alive; DeleteMenu destroys it.
  EXPECT_TRUE(menu.RemoveMenu(3, MF_BYPOSITION));
  EXPECT_TRUE(::IsMenu(subHandle));
  EXPECT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), L"more"));
  EXPECT_TRUE(menu.DeleteMenu(3, MF_BYPOSITION));
  EXPECT_FALSE(::IsMenu(subHandle));
  EXPECT_TRUE(menu.DeleteMenu(10, MF_BYCOMMAND));
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
  // Attach takes a handle only into an empty wrapper; the wrapper destroys
  // what it holds.
  HMENU handle = menu.m_hMenu;
  CMenu other;
  EXPECT_FALSE(menu.Attach(handle));
  EXPECT_TRUE(other.Attach(menu.Detach()));
  EXPECT_EQ(CMenu::FromHandle(handle)->m_hMenu, handle);
  EXPECT_TRUE(other.DestroyMenu());
  EXPECT_FALSE(::IsMenu(handle));
}

TEST(SdiDemoTest, StartsWithANewDocumentWhateverTheArguments) {
  std::wstring many;
  for (int i = 0; i < 200; ++i) many += (i % 3 == 0 ? L"/opt" : i % 3 == 1 ? L"-x" : L"file") + std::to_wstring(i) + L" ";
  const std::wstring cases[] = {
      L"/quit",
      L"/p /dde -x /quit",
      L"C:\\no\\such\\file.txt /quit",
      L"\"\" /quit \"\"",
      L"/ - -quit",
      many + L"/quit",
      L"/Unregister /pt printer driver port /quit",
  };
  for (const auto& args : cases) {
    EXPECT_EQ(qlrtest::RunProcess(qlrtest::BinFile(L"mfc_sdi_demo.exe"), args, 60000), 0) << args.substr(0, 60);
  }
}

}  // namespace
