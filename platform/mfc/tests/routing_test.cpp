#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/mfc/afx.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::wstring> g_trace;

// Document-like targets of a routing chain.
class CTraceTarget : public CCmdTarget {
 public:
  std::wstring m_name;
  void OnShared() { g_trace.push_back(m_name); }
  void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTraceTarget, CCmdTarget)
  ON_COMMAND(500, OnShared)
END_MESSAGE_MAP()

// The view's document handles 501; the template 502; both handle 500 too.
class CDocTarget : public CTraceTarget {
 public:
  void OnDocOnly() { g_trace.push_back(L"doc-only"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDocTarget, CTraceTarget)
  ON_COMMAND(501, OnDocOnly)
END_MESSAGE_MAP()

class CChildWnd : public CWnd {
 public:
  CCmdTarget* m_pDoc = nullptr;
  CCmdTarget* m_pTemplate = nullptr;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo)) return TRUE;
    if (m_pDoc && m_pDoc->OnCmdMsg(nID, nCode, pExtra, pInfo)) return TRUE;
    return m_pTemplate && m_pTemplate->OnCmdMsg(nID, nCode, pExtra, pInfo);
  }
  void OnViewCmd() { g_trace.push_back(L"view"); }
  void OnClicked() { g_trace.push_back(L"button-reflect"); }
  void OnReflectNotify(NMHDR*, LRESULT* pResult) { g_trace.push_back(L"reflect"); *pResult = 7; }
  BOOL OnReflectNotifyEx(NMHDR* header, LRESULT*) {
    g_trace.push_back(L"reflect-ex");
    return header->idFrom == 1;  // id 1 keeps it, others pass it on
  }
  int OnCreate(LPCREATESTRUCT cs) {
    g_trace.push_back(L"create");
    return CWnd::OnCreate(cs);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CChildWnd, CWnd)
  ON_WM_CREATE()
  ON_COMMAND(503, OnViewCmd)
  ON_NOTIFY_REFLECT(100, OnReflectNotify)
  ON_NOTIFY_REFLECT_EX(101, OnReflectNotifyEx)
  ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

UINT g_registered = 0;

class CTopWnd : public CWnd {
 public:
  CChildWnd* m_pActive = nullptr;
  CCmdTarget* m_pApp = nullptr;
  int m_throws = 0;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
    if (m_pActive && m_pActive->OnCmdMsg(nID, nCode, pExtra, pInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo)) return TRUE;
    return m_pApp && m_pApp->OnCmdMsg(nID, nCode, pExtra, pInfo);
  }
  void OnFrameCmd() { g_trace.push_back(L"frame"); }
  void OnUpdateOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  void OnOff() { g_trace.push_back(L"off-ran"); }
  void OnParentNotify100(NMHDR*, LRESULT*) { g_trace.push_back(L"parent-100"); }
  void OnParentNotify101Range(UINT, NMHDR*, LRESULT*) { g_trace.push_back(L"parent-101"); }
  void OnButton() { g_trace.push_back(L"parent-button"); }
  LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam + 1); }
  LRESULT OnThrow(WPARAM, LPARAM) {
    ++m_throws;
    throw std::runtime_error("handler failed");
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTopWnd, CWnd)
  ON_COMMAND(504, OnFrameCmd)
  ON_COMMAND(505, OnOff)
  ON_UPDATE_COMMAND_UI(505, OnUpdateOff)
  ON_NOTIFY(100, 1, OnParentNotify100)
  ON_NOTIFY_RANGE(101, 1, 2, OnParentNotify101Range)
  ON_BN_CLICKED(7, OnButton)
  ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
  ON_MESSAGE(WM_APP + 5, OnThrow)
END_MESSAGE_MAP()

class CAppTarget : public CTraceTarget {
 public:
  void OnAppOnly() { g_trace.push_back(L"app"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAppTarget, CTraceTarget)
  ON_COMMAND(506, OnAppOnly)
END_MESSAGE_MAP()

// A top window with an active child "view" whose document and template
// route behind it, and an application behind the top window.
struct Tree {
  CDocTarget doc;
  CTraceTarget tmpl;
  CAppTarget app;
  CTopWnd top;
  CChildWnd* child = new CChildWnd;  // owned by its window below
  Tree() {
    doc.m_name = L"doc";
    tmpl.m_name = L"template";
    app.m_name = L"app";
    child->m_pDoc = &doc;
    child->m_pTemplate = &tmpl;
    EXPECT_TRUE(top.CreateEx(0, nullptr, L"top", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    EXPECT_TRUE(child->Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 100, 100), &top, 1));
    top.m_pActive = child;
    top.m_pApp = &app;
    g_trace.clear();
  }
  ~Tree() {
    top.DestroyWindow();
    delete child;
  }
  std::wstring Run(UINT id) {
    g_trace.clear();
    top.SendMessage(WM_COMMAND, id, 0);
    std::wstring all;
    for (auto& t : g_trace) all += (all.empty() ? L"" : L",") + t;
    return all;
  }
};

TEST(CommandRoutingTest, ViewThenDocumentThenTemplateThenFrameThenApp) {
  Tree tree;
  struct { UINT id; const wchar_t* expect; } cases[] = {
      {503, L"view"}, {500, L"doc"}, {501, L"doc-only"}, {504, L"frame"}, {506, L"app"}, {599, L""}};
  for (auto& c : cases) EXPECT_EQ(tree.Run(c.id), c.expect) << c.id;
  // The template answers when the view has no document.
  tree.child->m_pDoc = nullptr;
  EXPECT_EQ(tree.Run(500), L"template");
  // A target called directly routes through its own map only.
  g_trace.clear();
  EXPECT_TRUE(tree.doc.OnCmdMsg(501, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(tree.doc.OnCmdMsg(504, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(g_trace.size(), 1u);
}

TEST(CommandRoutingTest, ProbeModeFindsTheHandlerAndRunsNothing) {
  Tree tree;
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(tree.top.OnCmdMsg(501, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &tree.doc);
  EXPECT_NE(info.pEntry, nullptr);
  info = {nullptr, nullptr};
  EXPECT_FALSE(tree.top.OnCmdMsg(599, CN_COMMAND, nullptr, &info));
  EXPECT_TRUE(g_trace.empty());
}

TEST(CommandRoutingTest, DisabledMenuCommandIsDroppedButReportedHandled) {
  Tree tree;
  EXPECT_EQ(tree.Run(505), L"");
  EXPECT_EQ(tree.top.SendMessage(WM_COMMAND, MAKEWPARAM(505, 1), 0), 1);  // accelerator form
  EXPECT_TRUE(g_trace.empty());
}

TEST(CommandUpdateTest, AutoDisableOnlyBelowSystemCommands) {
  Tree tree;
  struct { UINT id; BOOL autoDisable; BOOL enabled; } cases[] = {
      {599, TRUE, FALSE},     // no handler: disabled
      {599, FALSE, TRUE},     // auto-disable off
      {503, TRUE, TRUE},      // a handler exists (in the view)
      {0xF060, TRUE, TRUE},   // system command: never auto-disabled
      {505, TRUE, FALSE},     // its update handler disabled it
  };
  for (auto& c : cases) {
    CTestCmdUI state;
    state.m_nID = c.id;
    state.DoUpdate(&tree.top, c.autoDisable);
    EXPECT_EQ(state.m_bEnabled, c.enabled) << c.id;
  }
  EXPECT_TRUE(g_trace.empty());  // probing ran no command
}

TEST(CommandUpdateTest, DialogControlsDisablePushButtonsOnly) {
  Tree tree;
  HWND push = ::CreateWindowW(L"Button", L"p", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, tree.top, (HMENU)601, nullptr, nullptr);
  HWND check = ::CreateWindowW(L"Button", L"c", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, tree.top, (HMENU)602, nullptr, nullptr);
  HWND radio = ::CreateWindowW(L"Button", L"r", WS_CHILD | BS_AUTORADIOBUTTON, 0, 0, 10, 10, tree.top, (HMENU)603, nullptr, nullptr);
  HWND handled = ::CreateWindowW(L"Button", L"h", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, tree.top, (HMENU)504, nullptr, nullptr);
  tree.top.UpdateDialogControls(&tree.top, TRUE);
  EXPECT_FALSE(::IsWindowEnabled(push));
  EXPECT_TRUE(::IsWindowEnabled(check));
  EXPECT_TRUE(::IsWindowEnabled(radio));
  EXPECT_TRUE(::IsWindowEnabled(handled));
}

TEST(NotificationTest, ReflectedToTheChildFirstAndExDecidesForTheParent) {
  Tree tree;
  struct { UINT code; UINT_PTR id; const wchar_t* expect; LRESULT result; } cases[] = {
      {100, 1, L"reflect", 7},                 // plain reflection keeps it from the parent
      {101, 1, L"reflect-ex", 0},              // _EX handler keeps it
      {101, 2, L"reflect-ex,parent-101", 0},   // _EX handler passes it on
      {102, 1, L"", 0},                        // nobody: default answer
  };
  for (auto& c : cases) {
    HWND from = c.id == 1 ? tree.child->m_hWnd : nullptr;
    NMHDR header = {from, c.id, c.code};
    g_trace.clear();
    LRESULT r = tree.top.SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&header));
    std::wstring all;
    for (auto& t : g_trace) all += (all.empty() ? L"" : L",") + t;
    // id 2 comes from a window without an object: only the parent's map.
    if (c.id == 2) {
      header.hwndFrom = tree.child->m_hWnd;
      g_trace.clear();
      r = tree.top.SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&header));
      all.clear();
      for (auto& t : g_trace) all += (all.empty() ? L"" : L",") + t;
    }
    EXPECT_EQ(all, c.expect) << c.code << "/" << c.id;
    EXPECT_EQ(r, c.result) << c.code;
  }
  // A control notification: the child's reflected handler takes it.
  g_trace.clear();
  tree.top.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(tree.child->m_hWnd));
  ASSERT_EQ(g_trace.size(), 1u);
  EXPECT_EQ(g_trace[0], L"button-reflect");
  // From a control without an object, the parent's entry.
  HWND plain = ::CreateWindowW(L"Button", L"b", WS_CHILD, 0, 0, 10, 10, tree.top, (HMENU)7, nullptr, nullptr);
  g_trace.clear();
  tree.top.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(plain));
  ASSERT_EQ(g_trace.size(), 1u);
  EXPECT_EQ(g_trace[0], L"parent-button");
}

TEST(MessageMapTest, RegisteredMessagesAreMatchedByTheirRunTimeId) {
  Tree tree;
  EXPECT_EQ(tree.top.SendMessage(0xC123, 4, 0), 0);  // not registered yet: nothing
  g_registered = ::RegisterWindowMessageW(L"QuilloraMfcTest.Registered");
  ASSERT_NE(g_registered, 0u);
  EXPECT_EQ(tree.top.SendMessage(g_registered, 4, 0), 5);
}

TEST(WindowProcTest, ExceptionInHandlerIsLoggedAndContained) {
  Tree tree;
  EXPECT_EQ(tree.top.SendMessage(WM_APP + 5, 0, 0), 0);
  EXPECT_EQ(tree.top.m_throws, 1);
  EXPECT_TRUE(tree.top.IsWindow());  // the window still works
  EXPECT_EQ(tree.Run(504), L"frame");
}

// The object of a system-class window created through Create sees its
// creation messages.
class CCreateWatch : public CWnd {
 public:
  int m_creates = 0, m_ncCreates = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCCREATE) ++m_ncCreates;
    if (message == WM_CREATE) ++m_creates;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST(WindowCreateTest, SystemClassesKeepTheirClassAndReachTheObject) {
  ::InitCommonControls();
  ASSERT_TRUE(AfxInitRichEdit2());
  Tree tree;
  for (const wchar_t* cls : {WC_TREEVIEWW, WC_LISTVIEWW, L"RichEdit20W", TOOLBARCLASSNAMEW}) {
    CCreateWatch watch;
    ASSERT_TRUE(watch.Create(cls, L"", WS_VISIBLE, CRect(0, 0, 50, 50), &tree.top, 900)) << cls;
    wchar_t actual[64] = {};
    ::GetClassNameW(watch.m_hWnd, actual, 64);
    EXPECT_STREQ(actual, cls);
    EXPECT_EQ(watch.m_ncCreates, 1) << cls;
    EXPECT_EQ(watch.m_creates, 1) << cls;
    // Sent again (as any program can), they reach neither the object nor
    // the control, which would set itself up anew.
    CREATESTRUCTW again = {};
    for (UINT creation : {WM_NCCREATE, WM_CREATE, WM_INITDIALOG})
      EXPECT_EQ(watch.SendMessage(creation, 0, reinterpret_cast<LPARAM>(&again)), 0) << cls << " " << creation;
    EXPECT_EQ(watch.m_ncCreates, 1) << cls;
    EXPECT_EQ(watch.m_creates, 1) << cls;
    EXPECT_EQ(CWnd::FromHandlePermanent(watch.m_hWnd), &watch);
    watch.DestroyWindow();
    EXPECT_EQ(watch.m_hWnd, nullptr);
  }
}

class COwnThreadWnd : public CWnd {
 public:
  int m_own = -1;
  LRESULT OnAsk(WPARAM, LPARAM) {
    m_own = AfxIsMessageFromOwnThread() ? 1 : 0;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COwnThreadWnd, CWnd)
  ON_MESSAGE(WM_APP + 9, OnAsk)
END_MESSAGE_MAP()

TEST(OwnThreadTest, PointerMessagesAreTrustedOnlyFromTheOwnThread) {
  COwnThreadWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"own", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
  wnd.SendMessage(WM_APP + 9);
  EXPECT_EQ(wnd.m_own, 1);
  wnd.m_own = -1;
  HWND h = wnd.m_hWnd;
  std::thread other([h] { ::SendMessageW(h, WM_APP + 9, 0, 0); });
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return wnd.m_own != -1; }));
  other.join();
  EXPECT_EQ(wnd.m_own, 0);
  wnd.DestroyWindow();
}

}  // namespace
