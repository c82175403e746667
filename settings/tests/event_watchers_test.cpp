#include "settings/event_watchers.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/support/test_support.h"

namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool sent;
  bool eventStillSet;  // manual-reset events: state seen while handling
};

std::vector<Received> g_received;
HANDLE g_probe = nullptr;         // the watched event, opened by the test
bool g_probeManual = false;
bool g_signalAgainOnce = false;   // re-signal while the first message is handled
HWND g_window = nullptr;

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_USER || msg == WM_COMMAND) {
    bool stillSet = g_probe && g_probeManual && WaitForSingleObject(g_probe, 0) == WAIT_OBJECT_0;
    g_received.push_back({msg, wp, lp, InSendMessage() != FALSE, stillSet});
    if (g_signalAgainOnce && g_probe) {
      g_signalAgainOnce = false;
      SetEvent(g_probe);
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND TrayWindow() { return g_window; }

class EventWatchersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrWatcherRecorder";
    RegisterClassW(&wc);
    g_window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(g_window, nullptr);
    SetWatcherTrayWindowGetter(&TrayWindow);
    stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_received.clear();
  }
  void TearDown() override {
    SetEvent(stop);
    EXPECT_TRUE(qlrtest::WaitUntil([] { return GetRunningWatcherCount() == 0; }));
    CloseHandle(stop);
    DestroyWindow(g_window);
    SetWatcherTrayWindowGetter(nullptr);
  }

  static int SetFromOtherProcess(const std::wstring& name) {
    return qlrtest::RunProcess(qlrtest::BinFile(L"helper_named_object_peer.exe"), L"set \"" + name + L"\"");
  }

  HANDLE stop = nullptr;
};

constexpr UINT kShowMenu = 32788;
constexpr UINT kLangChanged = 32790;
constexpr UINT kEditorFinished = 32774;

TEST_F(EventWatchersTest, EachWatcherTurnsItsEventIntoItsMessage) {
  enum Order { kResetFirst, kResetAfterSend, kPosted };
  const struct {
    const char* what;
    std::function<bool()> start;
    std::wstring event;
    bool manual;
    UINT message;
    WPARAM wParam;
    Order order;
  } cases[] = {
      {"exit", [&] { return StartInstanceWatchers(stop); }, L"Local\\Quillora_Exit", true,
       GetInstanceMessage(), 1, kResetFirst},
      {"already working", [] { return true; }, L"Local\\Quillora_AlreadyWork", true,
       GetInstanceMessage(), 0, kResetFirst},
      {"edit", [&] { return StartEditEventWatcher(stop); }, L"BD9F528F-8997-48c7-897C-F437765F93D2",
       true, WM_COMMAND, 32772, kResetFirst},
      {"show menu", [&] { return StartShowMenuEventWatcher(stop, g_window, kShowMenu); },
       L"{84F81BCD-0FC6-4782-B39F-C638F539FA14}", false, kShowMenu, 0, kPosted},
      {"language", [&] { return StartLanguageAndUpdateWatchers(stop, g_window, kLangChanged); },
       L"Local\\Quillora_LangUI_Changed", false, kLangChanged, 0, kResetAfterSend},
      {"updates", [] { return true; }, L"Local\\Quillora_CheckForUpdates", false, WM_COMMAND, 32791,
       kResetAfterSend},
      {"editor ended",
       [&] { return StartEditorCoopEndedWatcher({stop, g_window, kEditorFinished}); },
       L"Local\\Quillora_Event_PhraseEditorAgentCoop_Ended", false, kEditorFinished, 0, kPosted},
  };
  EXPECT_EQ(GetInstanceMessage(), RegisterWindowMessageW(L"QLR_7B11E8E0-A712-4caa-A06B-01BEA4F7DFC4"));
  EXPECT_EQ(GetAgentCoopEndedEventName(), L"Local\\Quillora_Event_PhraseEditorAgentCoop_Ended");

  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(c.start());
    g_received.clear();
    g_probe = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, c.event.c_str());
    ASSERT_NE(g_probe, nullptr) << "the starter creates the event";
    g_probeManual = c.manual;
    g_signalAgainOnce = c.order == kResetAfterSend;

    ASSERT_EQ(SetFromOtherProcess(c.event), 0);
    ASSERT_TRUE(qlrtest::PumpUntil([] { return !g_received.empty(); }));
    const Received& r = g_received.front();
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.wParam, c.wParam);
    EXPECT_EQ(r.lParam, 0);
    EXPECT_EQ(r.sent, c.order != kPosted);
    if (c.manual) {
      EXPECT_FALSE(r.eventStillSet) << "a manual event is reset before the send";
    }
    if (c.order == kResetAfterSend) {
      // The signal given while the message was handled is reset afterwards.
      EXPECT_FALSE(qlrtest::PumpUntil([] { return g_received.size() > 1; }, 500));
    }
    if (c.manual) {
      EXPECT_EQ(WaitForSingleObject(g_probe, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    EXPECT_EQ(g_received.size(), 1u);
    CloseHandle(g_probe);
    g_probe = nullptr;
  }
  EXPECT_EQ(GetRunningWatcherCount(), 7);

  // The stop event ends every watcher; each closes the one handle that kept
  // its event alive.
  SetEvent(stop);
  ASSERT_TRUE(qlrtest::WaitUntil([] { return GetRunningWatcherCount() == 0; }));
  for (const auto& c : cases) {
    HANDLE gone = OpenEventW(SYNCHRONIZE, FALSE, c.event.c_str());
    EXPECT_EQ(gone, nullptr) << c.what;
    if (gone) CloseHandle(gone);
  }
}

TEST_F(EventWatchersTest, TwoQuickSignalsGiveOneOrTwoMessages) {
  ASSERT_TRUE(StartLangUIChangedWatcher(stop, g_window, kLangChanged));
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Local\\Quillora_LangUI_Changed");
  ASSERT_NE(event, nullptr);
  SetEvent(event);
  SetEvent(event);
  ASSERT_TRUE(qlrtest::PumpUntil([] { return !g_received.empty(); }));
  qlrtest::PumpUntil([] { return g_received.size() > 2; }, 300);
  EXPECT_GE(g_received.size(), 1u);
  EXPECT_LE(g_received.size(), 2u);
  CloseHandle(event);
}

TEST_F(EventWatchersTest, AWatcherWhoseEventCannotBeMadeReportsFailure) {
  // Another kind of object holds the name.
  HANDLE squatter = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16,
                                       L"Local\\Quillora_CheckForUpdates");
  ASSERT_NE(squatter, nullptr);
  EXPECT_FALSE(StartCheckForUpdatesWatcher(stop, g_window));
  EXPECT_FALSE(StartLanguageAndUpdateWatchers(stop, g_window, kLangChanged));
  EXPECT_EQ(GetRunningWatcherCount(), 1) << "the language watcher alone started";
  CloseHandle(squatter);
}

TEST_F(EventWatchersTest, WatchersWithoutAWindowFollowTheTrayWindow) {
  ASSERT_TRUE(StartEditEventWatcher(stop));
  HWND first = g_window;
  // The tray window may be made again; the watcher asks at each signal.
  g_window = CreateWindowW(L"QlrWatcherRecorder", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(g_window, first);
  DestroyWindow(first);
  ASSERT_EQ(SetFromOtherProcess(L"BD9F528F-8997-48c7-897C-F437765F93D2"), 0);
  ASSERT_TRUE(qlrtest::PumpUntil([] { return !g_received.empty(); }));
  EXPECT_EQ(g_received.front().wParam, 32772u);
}

}  // namespace
