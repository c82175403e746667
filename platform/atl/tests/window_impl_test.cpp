#include "platform/atl/window_impl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kCustomMsg = ::RegisterWindowMessageW(L"QLR_TEST_WINDOW_IMPL_MESSAGE");

// A base map that a derived window chains to.
class CBaseRouting {
 public:
  std::vector<std::wstring> seen;
  BEGIN_MSG_MAP(CBaseRouting)
    MESSAGE_HANDLER(WM_APP + 10, OnBaseMessage)
  END_MSG_MAP()
  LRESULT OnBaseMessage(UINT, WPARAM, LPARAM, BOOL&) {
    seen.push_back(L"base");
    return 10;
  }
};

class CRoutingWnd : public CWindowImpl<CRoutingWnd, CWindow, CNullTraits>, public CBaseRouting {
 public:
  DECLARE_WND_CLASS(nullptr)
  CREATESTRUCTW created = {};
  void* createParam = nullptr;
  bool passSetText = true;

  BEGIN_MSG_MAP(CRoutingWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(kCustomMsg, OnCustom)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_APP + 1, OnFirstOfTwo)
    MESSAGE_HANDLER(WM_APP + 1, OnSecondOfTwo)
    MESSAGE_HANDLER(WM_APP + 2, OnDeclines)
    MESSAGE_HANDLER(WM_APP + 3, OnCallsDefault)
    COMMAND_ID_HANDLER(100, OnCommand100)
    COMMAND_HANDLER(101, EN_CHANGE, OnCommand101Change)
    COMMAND_RANGE_HANDLER(200, 210, OnCommandRange)
    NOTIFY_HANDLER(5, 77, OnNotify5)
    NOTIFY_CODE_HANDLER(88, OnNotifyCode88)
    CHAIN_MSG_MAP(CBaseRouting)
  END_MSG_MAP()

  LRESULT OnCreate(UINT, WPARAM, LPARAM lParam, BOOL&) {
    created = *reinterpret_cast<CREATESTRUCTW*>(lParam);
    createParam = created.lpCreateParams;
    return 0;
  }
  LRESULT OnCustom(UINT, WPARAM wParam, LPARAM, BOOL&) {
    seen.push_back(L"custom");
    return static_cast<LRESULT>(wParam) * 2;
  }
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    seen.push_back(L"settext");
    bHandled = passSetText ? FALSE : TRUE;
    return TRUE;
  }
  LRESULT OnFirstOfTwo(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    seen.push_back(L"first");
    bHandled = wParam == 1;  // only wParam 1 stays here
    return 1;
  }
  LRESULT OnSecondOfTwo(UINT, WPARAM, LPARAM, BOOL&) {
    seen.push_back(L"second");
    return 2;
  }
  LRESULT OnDeclines(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    seen.push_back(L"declines");
    bHandled = FALSE;
    return 99;
  }
  LRESULT OnCallsDefault(UINT, WPARAM, LPARAM, BOOL&) {
    // WM_APP+3 reaches DefWindowProcW, which answers 0; prove the current
    // message is what the default processing received.
    seen.push_back(GetCurrentMessage()->message == WM_APP + 3 ? L"current" : L"wrong");
    return DefWindowProc() + 5;
  }
  LRESULT OnCommand100(WORD code, WORD id, HWND, BOOL&) {
    seen.push_back(L"cmd100");
    return code * 1000 + id;
  }
  LRESULT OnCommand101Change(WORD, WORD, HWND, BOOL&) {
    seen.push_back(L"cmd101change");
    return 1;
  }
  LRESULT OnCommandRange(WORD, WORD id, HWND, BOOL&) {
    seen.push_back(L"range" + std::to_wstring(id));
    return id;
  }
  LRESULT OnNotify5(int id, NMHDR* header, BOOL&) {
    seen.push_back(L"notify5");
    return id + static_cast<LRESULT>(header->code);
  }
  LRESULT OnNotifyCode88(int, NMHDR* header, BOOL&) {
    seen.push_back(L"code88-" + std::to_wstring(header->idFrom));
    return 88;
  }
};

LRESULT Notify(HWND h, UINT_PTR id, UINT code) {
  NMHDR nm = {h, id, code};
  return ::SendMessageW(h, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&nm));
}

TEST(WindowImplTest, MessagesReachTheirHandlersInMapOrder) {
  CRoutingWnd w;
  RECT r = {10, 20, 210, 120};
  int param = 7;
  ASSERT_TRUE(w.Create(nullptr, r, L"Routing", WS_OVERLAPPED, WS_EX_TOOLWINDOW, 0U, &param));
  EXPECT_EQ(&param, w.createParam);
  EXPECT_EQ(WS_OVERLAPPED, w.created.style & WS_OVERLAPPED);
  EXPECT_EQ(200, w.created.cx);
  EXPECT_EQ(100, w.created.cy);
  EXPECT_TRUE(w.GetExStyle() & WS_EX_TOOLWINDOW);
  // The creation messages come once: sent again (as any program can), they
  // set nothing up a second time.
  int other = 8;
  CREATESTRUCTW again = {&other};
  for (UINT creation : {WM_NCCREATE, WM_CREATE, WM_INITDIALOG})
    EXPECT_EQ(0, ::SendMessageW(w, creation, 0, reinterpret_cast<LPARAM>(&again))) << creation;
  EXPECT_EQ(&param, w.createParam);

  struct Case {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    std::vector<std::wstring> seen;
  } cases[] = {
      {kCustomMsg, 21, 0, 42, {L"custom"}},
      {WM_APP + 1, 1, 0, 1, {L"first"}},
      {WM_APP + 1, 0, 0, 2, {L"first", L"second"}},
      {WM_APP + 2, 0, 0, 0, {L"declines"}},  // default processing answers 0
      {WM_APP + 3, 0, 0, 5, {L"current"}},
      {WM_APP + 10, 0, 0, 10, {L"base"}},
      {WM_COMMAND, MAKEWPARAM(100, 3), 0, 3100, {L"cmd100"}},
      {WM_COMMAND, MAKEWPARAM(101, EN_CHANGE), 0, 1, {L"cmd101change"}},
      {WM_COMMAND, MAKEWPARAM(101, EN_SETFOCUS), 0, 0, {}},
      {WM_COMMAND, MAKEWPARAM(199, 0), 0, 0, {}},
      {WM_COMMAND, MAKEWPARAM(200, 0), 0, 200, {L"range200"}},
      {WM_COMMAND, MAKEWPARAM(210, 0), 0, 210, {L"range210"}},
      {WM_COMMAND, MAKEWPARAM(211, 0), 0, 0, {}},
  };
  for (const Case& c : cases) {
    w.seen.clear();
    LRESULT got = ::SendMessageW(w, c.msg, c.wParam, c.lParam);
    EXPECT_EQ(c.result, got) << "message " << c.msg << " wParam " << c.wParam;
    EXPECT_EQ(c.seen, w.seen) << "message " << c.msg << " wParam " << c.wParam;
  }

  w.seen.clear();
  EXPECT_EQ(5 + 77, Notify(w, 5, 77));
  EXPECT_EQ(88, Notify(w, 6, 88));
  EXPECT_EQ(0, Notify(w, 6, 77));
  EXPECT_EQ((std::vector<std::wstring>{L"notify5", L"code88-6"}), w.seen);
  w.DestroyWindow();
}

TEST(WindowImplTest, UnhandledMessagesGetDefaultProcessing) {
  CRoutingWnd w;
  ASSERT_TRUE(w.Create(nullptr, nullptr, L"before", WS_OVERLAPPED));
  w.passSetText = true;
  w.SetWindowText(L"passed on");
  EXPECT_EQ(L"passed on", w.GetWindowText());
  w.passSetText = false;  // kept by the handler: the default never stores it
  w.SetWindowText(L"swallowed");
  EXPECT_EQ(L"passed on", w.GetWindowText());
  w.DestroyWindow();
}

class CPlainWnd : public CWindowImpl<CPlainWnd> {
 public:
  BEGIN_MSG_MAP(CPlainWnd)
  END_MSG_MAP()
};

class COtherPlainWnd : public CWindowImpl<COtherPlainWnd> {
 public:
  BEGIN_MSG_MAP(COtherPlainWnd)
  END_MSG_MAP()
};

TEST(WindowImplTest, ClassesAreNamedAutomaticallyWithTheUsualLook) {
  CPlainWnd a;
  COtherPlainWnd b;
  ASSERT_TRUE(a.Create(nullptr, nullptr, nullptr, WS_POPUP));
  ASSERT_TRUE(b.Create(nullptr, nullptr, nullptr, WS_POPUP));
  wchar_t nameA[64] = {}, nameB[64] = {};
  ::GetClassNameW(a, nameA, 64);
  ::GetClassNameW(b, nameB, 64);
  EXPECT_EQ(0, wcsncmp(nameA, L"QLR:", 4)) << nameA;
  EXPECT_STRNE(nameA, nameB);
  EXPECT_EQ(static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
            ::GetClassLongPtrW(a, GCL_STYLE));
  EXPECT_EQ(static_cast<ULONG_PTR>(COLOR_WINDOW + 1), ::GetClassLongPtrW(a, GCLP_HBRBACKGROUND));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(::LoadCursorW(nullptr, IDC_ARROW)),
            ::GetClassLongPtrW(a, GCLP_HCURSOR));
  // A second window of the same type shares the class.
  CPlainWnd a2;
  ASSERT_TRUE(a2.Create(nullptr, nullptr, nullptr, WS_POPUP));
  wchar_t nameA2[64] = {};
  ::GetClassNameW(a2, nameA2, 64);
  EXPECT_STREQ(nameA, nameA2);
  EXPECT_EQ(&a2, CWindowImplCore::FromHandle(a2));
}

// Deletes itself at its final message; a WM_CLOSE handler destroys the
// window, so the final message arrives while a handler still runs.
class CSelfDeletingWnd : public CWindowImpl<CSelfDeletingWnd> {
 public:
  static int finals;
  static HWND lastFinal;
  bool inClose = false;
  BEGIN_MSG_MAP(CSelfDeletingWnd)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
  END_MSG_MAP()
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    inClose = true;
    DestroyWindow();
    // Still alive here: the final message waits for this handler.
    EXPECT_EQ(0, finals);
    inClose = false;
    return 0;
  }
  void OnFinalMessage(HWND h) override {
    EXPECT_FALSE(inClose);
    EXPECT_EQ(nullptr, m_hWnd);
    ++finals;
    lastFinal = h;
    delete this;
  }
};
int CSelfDeletingWnd::finals = 0;
HWND CSelfDeletingWnd::lastFinal = nullptr;

TEST(WindowImplTest, FinalMessageComesOnceAfterTheOutermostHandler) {
  auto* w = new CSelfDeletingWnd;
  HWND h = w->Create(nullptr, nullptr, nullptr, WS_POPUP);
  ASSERT_TRUE(h);
  ::SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_EQ(1, CSelfDeletingWnd::finals);
  EXPECT_EQ(h, CSelfDeletingWnd::lastFinal);
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(nullptr, CWindowImplCore::FromHandle(h));
}

class CFailingCreateWnd : public CWindowImpl<CFailingCreateWnd> {
 public:
  int finals = 0;
  BEGIN_MSG_MAP(CFailingCreateWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
  END_MSG_MAP()
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return -1; }
  void OnFinalMessage(HWND) override { ++finals; }
};

TEST(WindowImplTest, FailedCreationLeavesNoHandleAndEndsTheObjectsWindow) {
  CFailingCreateWnd w;
  EXPECT_EQ(nullptr, w.Create(nullptr, nullptr, nullptr, WS_POPUP));
  EXPECT_EQ(nullptr, w.m_hWnd);
  EXPECT_EQ(1, w.finals);
  // The object can create a window again afterwards.
  CPlainWnd p;
  EXPECT_TRUE(p.Create(nullptr, nullptr, nullptr, WS_POPUP));
}

TEST(WindowImplTest, ObjectGoingAwayTakesItsWindowWithIt) {
  HWND h = nullptr;
  {
    CPlainWnd w;
    h = w.Create(nullptr, nullptr, nullptr, WS_POPUP);
    ASSERT_TRUE(h);
  }
  EXPECT_FALSE(::IsWindow(h));
}

class CChildCreatingWnd : public CWindowImpl<CChildCreatingWnd> {
 public:
  CPlainWnd child;
  BEGIN_MSG_MAP(CChildCreatingWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
  END_MSG_MAP()
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    RECT r = {0, 0, 10, 10};
    return child.Create(m_hWnd, r, nullptr, 0, 0, 1204) ? 0 : -1;
  }
};

TEST(WindowImplTest, WindowsCreatedInsideCreationBindToTheirOwnObjects) {
  CChildCreatingWnd parent;
  ASSERT_TRUE(parent.Create(nullptr, nullptr, nullptr, WS_POPUP));
  ASSERT_TRUE(parent.child.m_hWnd);
  EXPECT_EQ(parent.m_hWnd, ::GetParent(parent.child));
  EXPECT_EQ(1204, parent.child.GetDlgCtrlID());
  EXPECT_EQ(&parent, CWindowImplCore::FromHandle(parent));
  EXPECT_EQ(&parent.child, CWindowImplCore::FromHandle(parent.child));
  parent.DestroyWindow();
  EXPECT_EQ(nullptr, parent.child.m_hWnd);  // the child's final message came too
}

TEST(WindowTest, StyleChangesReportWhetherAnythingChanged) {
  CPlainWnd w;
  ASSERT_TRUE(w.Create(nullptr, nullptr, nullptr, WS_POPUP));
  EXPECT_TRUE(w.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED));
  EXPECT_TRUE(w.GetStyle() & WS_BORDER);
  EXPECT_FALSE(w.ModifyStyle(0, WS_BORDER));
  EXPECT_TRUE(w.ModifyStyleEx(0, WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
  EXPECT_TRUE(w.ModifyStyleEx(WS_EX_TOOLWINDOW, 0));
  EXPECT_FALSE(w.GetExStyle() & WS_EX_TOOLWINDOW);
}

TEST(WindowTest, CenterWindowKeepsTheWindowInTheWorkArea) {
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CPlainWnd w;
  RECT r = {work.right - 10, work.bottom - 10, work.right + 190, work.bottom + 90};
  ASSERT_TRUE(w.Create(nullptr, r, nullptr, WS_POPUP));
  ASSERT_TRUE(w.CenterWindow());
  RECT got;
  w.GetWindowRect(&got);
  EXPECT_EQ(200, got.right - got.left);
  int midX = (work.left + work.right) / 2, midY = (work.top + work.bottom) / 2;
  EXPECT_NEAR(midX, (got.left + got.right) / 2, 1);
  EXPECT_NEAR(midY, (got.top + got.bottom) / 2, 1);
}

}  // namespace
