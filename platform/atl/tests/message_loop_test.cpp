#include "platform/atl/message_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/atl/app_module.h"
#include "platform/atl/window_impl.h"

namespace {

std::vector<std::wstring> g_log;

class CCountingIdle : public CIdleHandler {
 public:
  explicit CCountingIdle(const wchar_t* tag) : m_tag(tag) {}
  int calls = 0;
  CMessageLoop* removeFrom = nullptr;
  CIdleHandler* removeOther = nullptr;
  BOOL OnIdle() override {
    ++calls;
    g_log.push_back(m_tag);
    if (removeFrom) {
      removeFrom->RemoveIdleHandler(removeOther ? removeOther : this);
      removeFrom = nullptr;
    }
    return FALSE;
  }

 private:
  std::wstring m_tag;
};

class CTagFilter : public CMessageFilter {
 public:
  CTagFilter(const wchar_t* tag, UINT eats) : m_tag(tag), m_eats(eats) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message < WM_APP) return FALSE;
    g_log.push_back(m_tag);
    return msg->message == m_eats;
  }

 private:
  std::wstring m_tag;
  UINT m_eats;
};

// Receives the posted test messages and, on WM_APP+9, runs a loop of its own.
class CLoopWnd : public CWindowImpl<CLoopWnd> {
 public:
  int nestedResult = -1;
  BEGIN_MSG_MAP(CLoopWnd)
    MESSAGE_RANGE_HANDLER(WM_APP, WM_APP + 8, OnApp)
    MESSAGE_HANDLER(WM_APP + 9, OnNested)
    MESSAGE_HANDLER(WM_APP + 20, OnQuit)
  END_MSG_MAP()
  LRESULT OnApp(UINT msg, WPARAM, LPARAM, BOOL&) {
    g_log.push_back(L"dispatch" + std::to_wstring(msg - WM_APP));
    return 0;
  }
  LRESULT OnNested(UINT, WPARAM, LPARAM, BOOL&) {
    CMessageLoop inner;
    CCountingIdle innerIdle(L"inner-idle");
    inner.AddIdleHandler(&innerIdle);
    PostMessage(WM_APP + 1);
    ::PostQuitMessage(5);
    nestedResult = inner.Run();
    g_log.push_back(L"nested-done");
    PostMessage(WM_APP + 20, 7);
    return 0;
  }
  LRESULT OnQuit(UINT, WPARAM wParam, LPARAM, BOOL&) {
    ::PostQuitMessage(static_cast<int>(wParam));
    return 0;
  }
};

TEST(MessageLoopTest, FiltersRunNewestFirstAndMayEatTheMessage) {
  CLoopWnd w;
  ASSERT_TRUE(w.Create(nullptr, nullptr, nullptr, WS_POPUP));
  CMessageLoop loop;
  CTagFilter older(L"older", WM_APP + 2), newer(L"newer", WM_APP + 3);
  loop.AddMessageFilter(nullptr);  // absent entries are skipped
  loop.AddMessageFilter(&older);
  loop.AddMessageFilter(&newer);
  g_log.clear();
  w.PostMessage(WM_APP + 1);
  w.PostMessage(WM_APP + 2);
  w.PostMessage(WM_APP + 3);
  w.PostMessage(WM_APP + 20, 3);
  EXPECT_EQ(3, loop.Run());
  std::vector<std::wstring> expected = {
      L"newer", L"older", L"dispatch1",  // nobody eats it
      L"newer", L"older",                // the older filter eats WM_APP+2
      L"newer",                          // the newer one eats WM_APP+3
      L"newer", L"older"};               // the quit request is dispatched
  EXPECT_EQ(expected, g_log);
  EXPECT_TRUE(loop.RemoveMessageFilter(&older));
  EXPECT_FALSE(loop.RemoveMessageFilter(&older));
}

TEST(MessageLoopTest, IdleHandlersRunWhenTheQueueEmptiesAfterActivity) {
  CLoopWnd w;
  ASSERT_TRUE(w.Create(nullptr, nullptr, nullptr, WS_POPUP));
  CMessageLoop loop;
  CCountingIdle first(L"idle1"), second(L"idle2");
  loop.AddIdleHandler(&first);
  loop.AddIdleHandler(nullptr);
  loop.AddIdleHandler(&second);
  g_log.clear();
  // The first pass runs before anything is posted: queue it from the pass.
  first.removeFrom = nullptr;
  struct Poster : CIdleHandler {
    CLoopWnd* w;
    int step = 0;
    BOOL OnIdle() override {
      ++step;
      if (step == 1) {
        w->PostMessage(WM_APP + 1);
        w->PostMessage(WM_APP + 2);
      } else if (step == 2) {
        // Mouse moves are no activity: no idle pass follows this one.
        w->PostMessage(WM_MOUSEMOVE);
        w->PostMessage(WM_APP + 20, 0);
      }
      return FALSE;
    }
  } poster;
  poster.w = &w;
  loop.AddIdleHandler(&poster);
  EXPECT_EQ(0, loop.Run());
  std::vector<std::wstring> expected = {L"idle1",     L"idle2",     L"dispatch1",
                                        L"dispatch2", L"idle1",     L"idle2"};
  // After the quit request (an activity message) the loop ends before idle.
  EXPECT_EQ(expected, g_log);
  EXPECT_EQ(2, poster.step);
}

TEST(MessageLoopTest, HandlersMayRemoveThemselvesOrOthersDuringAPass) {
  CLoopWnd w;
  ASSERT_TRUE(w.Create(nullptr, nullptr, nullptr, WS_POPUP));
  CMessageLoop loop;
  CCountingIdle a(L"a"), b(L"b"), c(L"c");
  loop.AddIdleHandler(&a);
  loop.AddIdleHandler(&b);
  loop.AddIdleHandler(&c);
  a.removeFrom = &loop;
  a.removeOther = &b;  // b must not run in this very pass
  c.removeFrom = &loop;  // c removes itself after running
  g_log.clear();
  loop.OnIdle(0);
  loop.OnIdle(0);
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"a"}), g_log);
  EXPECT_FALSE(loop.RemoveIdleHandler(&b));
  EXPECT_TRUE(loop.RemoveIdleHandler(&a));
}

TEST(MessageLoopTest, NestedLoopEndsWithItsOwnQuitAndTheOuterGoesOn) {
  CLoopWnd w;
  ASSERT_TRUE(w.Create(nullptr, nullptr, nullptr, WS_POPUP));
  CMessageLoop outer;
  CCountingIdle outerIdle(L"outer-idle");
  g_log.clear();
  w.PostMessage(WM_APP + 9);
  w.PostMessage(WM_APP + 2);
  outer.AddIdleHandler(&outerIdle);
  EXPECT_EQ(7, outer.Run());
  EXPECT_EQ(5, w.nestedResult);
  // The inner loop dispatched the outer loop's queued messages too (one
  // queue per thread) but only called its own idle handler.
  std::vector<std::wstring> expected = {L"dispatch2", L"dispatch1", L"nested-done"};
  std::vector<std::wstring> got;
  for (const auto& e : g_log) {
    if (e.find(L"idle") == std::wstring::npos) got.push_back(e);
  }
  EXPECT_EQ(expected, got);
  for (size_t i = 0; i < g_log.size(); ++i) {
    if (g_log[i] == L"outer-idle") {
      EXPECT_TRUE(i == 0 || i > 3) << "outer idle ran inside the nested loop";
    }
  }
}

TEST(AppModuleTest, OneLoopPerThreadAndInstancesFromInit) {
  CAppModule module;
  HINSTANCE self = ::GetModuleHandleW(nullptr);
  ASSERT_EQ(S_OK, module.Init(nullptr, self));
  EXPECT_EQ(&module, CAppModule::Current());
  EXPECT_EQ(self, GetModuleInstanceHandle());
  EXPECT_EQ(self, GetResourceInstanceHandle());

  CMessageLoop loop, second;
  EXPECT_TRUE(module.AddMessageLoop(&loop));
  EXPECT_FALSE(module.AddMessageLoop(&second));
  EXPECT_EQ(&loop, module.GetMessageLoop());

  struct Probe {
    CAppModule* module;
    CMessageLoop* seen = reinterpret_cast<CMessageLoop*>(1);
    BOOL added = FALSE;
    CMessageLoop own;
  } probe{&module};
  HANDLE t = ::CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* pr = static_cast<Probe*>(p);
        pr->seen = pr->module->GetMessageLoop();
        pr->added = pr->module->AddMessageLoop(&pr->own);
        pr->module->RemoveMessageLoop();
        return 0;
      },
      &probe, 0, nullptr);
  ASSERT_TRUE(t);
  ::WaitForSingleObject(t, 5000);
  ::CloseHandle(t);
  EXPECT_EQ(nullptr, probe.seen);
  EXPECT_TRUE(probe.added);
  EXPECT_EQ(&loop, module.GetMessageLoop());
  EXPECT_TRUE(module.RemoveMessageLoop());
  EXPECT_EQ(nullptr, module.GetMessageLoop());
  module.Term();
  EXPECT_EQ(nullptr, CAppModule::Current());
}

// The shape of a program's main window: a hidden top-level window that is
// its thread's message filter and idle handler and ends the loop when it
// is destroyed.
class CMainShapedWnd : public CWindowImpl<CMainShapedWnd, CWindow, CFrameWinTraits>,
                       public CMessageFilter,
                       public CIdleHandler {
 public:
  int filtered = 0;
  int idles = 0;
  BEGIN_MSG_MAP(CMainShapedWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->hwnd == m_hWnd) ++filtered;
    return FALSE;
  }
  BOOL OnIdle() override {
    if (++idles == 1) PostMessage(WM_CLOSE);  // DefWindowProc destroys the window
    return FALSE;
  }
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    CMessageLoop* loop = CAppModule::Current()->GetMessageLoop();
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
    return 0;
  }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    CMessageLoop* loop = CAppModule::Current()->GetMessageLoop();
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
    ::PostQuitMessage(0);
    return 0;
  }
};

TEST(AppModuleTest, MainWindowRunsItsThreadsLoopUntilItIsDestroyed) {
  CAppModule module;
  module.Init(nullptr, ::GetModuleHandleW(nullptr));
  CMessageLoop loop;
  ASSERT_TRUE(module.AddMessageLoop(&loop));
  CMainShapedWnd wnd;
  RECT r = {-100, -100, -5, -5};
  ASSERT_TRUE(wnd.Create(nullptr, r, L"Quillora", 0x008D0000));
  EXPECT_EQ(static_cast<DWORD>(0x008D0000), wnd.GetStyle() & 0x008D0000);
  EXPECT_FALSE(wnd.IsWindowVisible());
  EXPECT_EQ(0, loop.Run());
  EXPECT_GE(wnd.filtered, 1);  // the posted WM_CLOSE passed the filter
  EXPECT_EQ(1, wnd.idles);  // removed before the loop went idle again
  EXPECT_EQ(nullptr, wnd.m_hWnd);
  module.RemoveMessageLoop();
  module.Term();
}

}  // namespace
