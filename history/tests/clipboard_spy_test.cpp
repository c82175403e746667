#include "history/capture/clipboard_spy.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "foundation/logging/log.h"
#include "foundation/ui/subclass.h"
#include "history/tests/history_test_util.h"
#include "tests/support/test_support.h"

namespace {

struct CountingObserver : IClipboardSpyObserver {
  void OnClipboardChanged(const ClipboardChangeInfo&, std::uint32_t) override { ++changes; }
  void _OnClipboardSpyStateChanged(std::uint32_t) override { ++stateChanges; }
  int changes = 0;
  int stateChanges = 0;
};

// A window that only records the chain messages it receives.
struct Recorder {
  int changeChain = 0;
  int draw = 0;
  WPARAM lastWParam = 0;
  LPARAM lastLParam = 0;
  HWND hwnd = nullptr;

  Recorder() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc = {};
      wc.lpfnWndProc = &Recorder::Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QlrTestChainRecorder";
      RegisterClassW(&wc);
      registered = true;
    }
    hwnd = CreateWindowExW(0, L"QlrTestChainRecorder", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, GetModuleHandleW(nullptr), this);
  }
  ~Recorder() { DestroyWindow(hwnd); }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = histtest::TestWindowObject<Recorder>(hwnd, msg, lParam);
    if (self && msg == WM_CHANGECBCHAIN) {
      ++self->changeChain;
      self->lastWParam = wParam;
      self->lastLParam = lParam;
      return 0;
    }
    if (self && msg == WM_DRAWCLIPBOARD) {
      ++self->draw;
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
};

int g_spyDrawMessages = 0;
LRESULT CountSpyMessages(HWND, UINT msg, WPARAM, LPARAM, LONG_PTR, BOOL*, WNDPROC) {
  if (msg == WM_DRAWCLIPBOARD) ++g_spyDrawMessages;
  return 0;
}

class ClipboardSpyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { histtest::TestLogPath(); }
  void SetUp() override {
    parent = CreateWindowExW(0, L"STATIC", L"spy parent", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    spy().AddObserver(&observer, 0);
    CClipboardSpy::GetTestSeams() = {};
  }
  void TearDown() override {
    spy().Uninstall();
    spy().ClearObservers();
    CClipboardSpy::GetTestSeams() = {};
    DestroyWindow(parent);
  }
  static CClipboardSpy& spy() { return CClipboardSpy::GetInstance(); }
  bool Install(int method) { return spy().Install(method, GetModuleHandleW(nullptr), parent); }
  static void Pump(DWORD ms) { histtest::Pump(ms); }
  static int LogCount(const std::wstring& text) { return histtest::LogCount(text); }
  static int Joins() { return LogCount(L"ReInstall entity for HWNDClipboardSpy IS IMPLEMENTED"); }

  HWND parent = nullptr;
  CountingObserver observer;
};

TEST_F(ClipboardSpyTest, ListenerJoinDeliversNoChangeViewerJoinDeliversOne) {
  struct Case {
    int method;
    int changesAtJoin;
    const wchar_t* logLine;
  } cases[] = {
      {kSpyMethodListener, 0, L"N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"},
      {kSpyMethodViewerChain, 1, L"Well, start ReInstall entity for HWNDClipboardSpy"},
  };
  for (const Case& c : cases) {
    observer = {};
    int lines = LogCount(c.logLine);
    ASSERT_TRUE(Install(c.method)) << c.method;
    EXPECT_TRUE(spy().IsInstalled());
    EXPECT_FALSE(Install(c.method)) << "a second install is refused";
    EXPECT_EQ(spy().GetMethod(), c.method);
    EXPECT_EQ(spy().IsViewerChain(), c.method == kSpyMethodViewerChain);
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return observer.changes >= c.changesAtJoin; }, 10000));
    Pump(300);
    EXPECT_EQ(observer.changes, c.changesAtJoin) << c.method;
    EXPECT_EQ(LogCount(c.logLine), lines + 1) << c.method;

    // One change, one notification.
    ASSERT_TRUE(qlrtest::PutClipboardText(L"spy change " + std::to_wstring(c.method)));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return observer.changes == c.changesAtJoin + 1; }, 10000));
    Pump(300);
    EXPECT_EQ(observer.changes, c.changesAtJoin + 1) << c.method;

    EXPECT_TRUE(spy().Uninstall());
    EXPECT_FALSE(spy().IsInstalled());
    EXPECT_EQ(spy().GetWindow(), nullptr);
  }
}

TEST_F(ClipboardSpyTest, ChainMessagesRelinkForwardAndNeverReachTheWatcherItself) {
  Recorder first, replacement;
  HWND firstNext = SetClipboardViewer(first.hwnd);
  ASSERT_TRUE(Install(kSpyMethodViewerChain));
  ASSERT_EQ(spy().GetNextViewer(), first.hwnd);
  HWND self = spy().GetWindow();
  first.changeChain = 0;

  // The next viewer leaves: relink, and tell nobody.
  SendMessageW(self, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(first.hwnd),
               reinterpret_cast<LPARAM>(replacement.hwnd));
  EXPECT_EQ(spy().GetNextViewer(), replacement.hwnd);
  EXPECT_EQ(first.changeChain, 0);
  EXPECT_EQ(replacement.changeChain, 0);

  // Another window leaves: the next viewer hears of it unchanged.
  HWND other = reinterpret_cast<HWND>(0x12340);
  HWND afterOther = reinterpret_cast<HWND>(0x56780);
  SendMessageW(self, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(other),
               reinterpret_cast<LPARAM>(afterOther));
  EXPECT_EQ(spy().GetNextViewer(), replacement.hwnd);
  EXPECT_EQ(replacement.changeChain, 1);
  EXPECT_EQ(replacement.lastWParam, reinterpret_cast<WPARAM>(other));
  EXPECT_EQ(replacement.lastLParam, reinterpret_cast<LPARAM>(afterOther));

  // A change names the watcher as the window after the leaving one: it
  // must not become its own next viewer.
  SendMessageW(self, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(replacement.hwnd),
               reinterpret_cast<LPARAM>(self));
  EXPECT_EQ(spy().GetNextViewer(), nullptr);
  ASSERT_TRUE(SubclassWindowProc(self, CountSpyMessages, 0));
  g_spyDrawMessages = 0;
  SendMessageW(self, WM_DRAWCLIPBOARD, 0, 0);
  SendMessageW(self, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(other),
               reinterpret_cast<LPARAM>(self));
  EXPECT_EQ(g_spyDrawMessages, 1);
  EXPECT_EQ(replacement.changeChain, 1);
  UnsubclassWindowProc(self);

  spy().Uninstall();
  ChangeClipboardChain(first.hwnd, firstNext);
}

TEST_F(ClipboardSpyTest, WatchdogRepairsOnlyALostNotification) {
  for (int method : {kSpyMethodListener, kSpyMethodViewerChain}) {
    ASSERT_TRUE(Install(method)) << method;
    Pump(200);
    observer = {};
    int joins = Joins();

    // Two changes, both delivered: no repair at the next ticks.
    ASSERT_TRUE(qlrtest::PutClipboardText(L"one"));
    ASSERT_TRUE(qlrtest::PutClipboardText(L"two"));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return observer.changes == 2; }, 10000)) << method;
    Pump(2 * GetClipboardSpyTimerInterval() + 200);
    EXPECT_EQ(Joins(), joins) << method;

    // A lost notification: exactly one leave-and-join, and the change it
    // found is not captured.
    CClipboardSpy::GetTestSeams().dropNotifications = 1;
    ASSERT_TRUE(qlrtest::PutClipboardText(L"lost"));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return Joins() == joins + 1; }, 10000)) << method;
    Pump(2 * GetClipboardSpyTimerInterval() + 200);
    EXPECT_EQ(Joins(), joins + 1) << method;
    EXPECT_EQ(observer.changes, 2) << method;
    EXPECT_TRUE(spy().IsInstalled());
    EXPECT_EQ(spy().GetMethod(), method);

    // Still watching after the repair.
    ASSERT_TRUE(qlrtest::PutClipboardText(L"after repair"));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return observer.changes == 3; }, 10000)) << method;
    spy().Uninstall();
  }
}

TEST_F(ClipboardSpyTest, FailedRepairReportsTheStateChange) {
  ASSERT_TRUE(Install(kSpyMethodListener));
  Pump(200);
  int failures = LogCount(L"REINSTALL: InstalledNew=0");
  CClipboardSpy::GetTestSeams().dropNotifications = 1;
  CClipboardSpy::GetTestSeams().failJoins = true;
  ASSERT_TRUE(qlrtest::PutClipboardText(L"lost, and no way back"));
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return observer.stateChanges == 1; }, 10000));
  EXPECT_FALSE(spy().IsInstalled());
  EXPECT_EQ(LogCount(L"REINSTALL: InstalledNew=0"), failures + 1);
  // No further repair is tried.
  CClipboardSpy::GetTestSeams().failJoins = false;
  ASSERT_TRUE(qlrtest::PutClipboardText(L"unseen"));
  Pump(2 * GetClipboardSpyTimerInterval() + 200);
  EXPECT_FALSE(spy().IsInstalled());
  EXPECT_EQ(observer.stateChanges, 1);
  EXPECT_EQ(observer.changes, 0);
  // A new install works again.
  EXPECT_TRUE(Install(kSpyMethodListener));
}

TEST_F(ClipboardSpyTest, ViewerInAnotherProcessGetsOneDrawPerChangeAndNothingHangs) {
  qlrtest::ChildProcess viewer;
  ASSERT_TRUE(viewer.Start(qlrtest::BinFile(L"helper_clipboard_viewer.exe"), L""));
  HWND viewerWindow = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] {
        viewerWindow = qlrtest::FindProcessWindow(viewer.Pid(), L"QlrTestClipboardViewer", L"joined");
        return viewerWindow != nullptr;
      },
      30000));
  auto drawCount = [&](LRESULT* count) {
    DWORD_PTR result = 0;
    bool answered = SendMessageTimeoutW(viewerWindow, WM_APP, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
    *count = static_cast<LRESULT>(result);
    return answered;
  };
  ASSERT_TRUE(Install(kSpyMethodViewerChain));
  EXPECT_EQ(spy().GetNextViewer(), viewerWindow);
  Pump(300);
  LRESULT base = 0;
  ASSERT_TRUE(drawCount(&base));

  for (int change = 1; change <= 3; ++change) {
    ASSERT_TRUE(qlrtest::PutClipboardText(L"viewer change " + std::to_wstring(change)));
    LRESULT count = 0;
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return drawCount(&count) && count >= base + change; }, 10000));
    Pump(300);
    ASSERT_TRUE(drawCount(&count)) << "the viewer hangs after change " << change;
    EXPECT_EQ(count, base + change);
  }
  // The viewer's own next viewer is not the watcher: no cycle.
  DWORD_PTR next = 0;
  ASSERT_TRUE(SendMessageTimeoutW(viewerWindow, WM_APP + 1, 0, 0, SMTO_NORMAL, 2000, &next));
  EXPECT_NE(reinterpret_cast<HWND>(next), spy().GetWindow());

  spy().Uninstall();
  PostMessageW(viewerWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(viewer.Wait(10000), 0);
}

}  // namespace
