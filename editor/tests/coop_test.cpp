// The editor's side of the cooperation, in-process: pulses, watchers, the
// finder of a running editor and the debounced change notice of the frame.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "editor/app/editor_app.h"
#include "editor/coop/coop_signals.h"
#include "editor/coop/coop_watchers.h"
#include "editor/editor_names.h"
#include "editor/frame/main_frame.h"
#include "editor/tests/scaffold_frame.h"
#include "editor_settings/editor_settings.h"
#include "foundation/system/handles.h"
#include "platform/mfc/doc/document.h"
#include "platform/mfc/doc/view.h"
#include "tests/support/test_support.h"

namespace en = editor_names;

namespace {

constexpr UINT kWatchMessage = WM_APP + 7;

// A message-only window that counts kWatchMessage.
struct Counter {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kWatchMessage) {
      ++count;
      return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  Counter() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilloraCoopCounter";
    RegisterClassW(&wc);
    count = 0;
    window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
  ~Counter() { DestroyWindow(window); }
  HWND window = nullptr;
  static int count;
};
int Counter::count = 0;

bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

TEST(CoopSignalsTest, PulsesReachEventsMadeByOthersAndVanishWithout) {
  // Nobody made them: nothing to set.
  EXPECT_FALSE(SignalCoopClient());
  EXPECT_FALSE(SignalEditorEnded());
  EXPECT_FALSE(PulseAddPhraseFromCB());

  UniqueHandle coop(CreateEventW(nullptr, TRUE, FALSE, en::kCoopClientEditorEvent));
  EXPECT_TRUE(SignalCoopClient());
  EXPECT_TRUE(Signalled(coop.Get()));

  // The ended event is set and reset at once: only a waiter sees it.
  EXPECT_EQ(GetEditorEndedEventName(), L"Local\\Quillora_Event_PhraseEditorAgentCoop_Ended");
  UniqueHandle ended(CreateEventW(nullptr, TRUE, FALSE, GetEditorEndedEventName().c_str()));
  std::atomic<bool> released{false};
  UniqueHandle waiting(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread waiter([&] {
    // Ready and waiting in one call: the set-then-reset cannot fall between.
    released = SignalObjectAndWait(waiting.Get(), ended.Get(), 10000, FALSE) == WAIT_OBJECT_0;
  });
  ASSERT_EQ(WaitForSingleObject(waiting.Get(), 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(SignalEditorEnded());
  waiter.join();
  EXPECT_TRUE(released);
  EXPECT_FALSE(Signalled(ended.Get()));
}

TEST(CoopSignalsTest, UpdateCheckSetsTheEventOrSaysFail) {
  {
    UniqueHandle check(CreateEventW(nullptr, TRUE, FALSE, en::kCommandCheckForUpdatesEvent));
    EXPECT_TRUE(RequestUpdateCheck(nullptr));
    EXPECT_TRUE(Signalled(check.Get()));
  }
  std::atomic<bool> closed{false};
  std::thread closer([&] { closed = qlrtest::CloseMessageBox(GetCurrentProcessId(), L"FAIL", 20000); });
  EXPECT_FALSE(RequestUpdateCheck(nullptr));
  closer.join();
  EXPECT_TRUE(closed);
}

TEST(CoopWatchersTest, OptionsWatcherRunsOnlyWhenTheTrayMadeItsEvent) {
  Counter counter;
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const long before = GetRunningCoopWatcherCount();
  EXPECT_FALSE(StartOptionsWatcher(counter.window, kWatchMessage, stop.Get()));
  EXPECT_EQ(GetRunningCoopWatcherCount(), before);

  UniqueHandle options(CreateEventW(nullptr, FALSE, FALSE, en::kOptionsChangedEvent));
  ASSERT_TRUE(StartOptionsWatcher(counter.window, kWatchMessage, stop.Get()));
  const int loads = GetEditorSettings().GetLoadCount();
  SetEvent(options.Get());
  EXPECT_TRUE(qlrtest::PumpUntil([] { return Counter::count == 1; }, 10000));
  // The pulse raised the settings' reload flag: their next use loads them, once.
  EXPECT_EQ(GetEditorSettings().GetLoadCount(), loads + 1);
  EXPECT_EQ(GetEditorSettings().GetLoadCount(), loads + 1);
  SetEvent(options.Get());
  EXPECT_TRUE(qlrtest::PumpUntil([] { return Counter::count == 2; }, 10000));
  // The stop event ends it, even when its owner closed its own handle.
  stop.Reset(nullptr);
  UniqueHandle stop2(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(StartAddFromClipboardWatcher(counter.window, kWatchMessage, stop2.Get()));
  EXPECT_EQ(GetRunningCoopWatcherCount(), before + 2);
  SetEvent(stop2.Get());
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetRunningCoopWatcherCount() == before + 1; }, 10000));
}

TEST(CoopWatchersTest, AddFromClipboardPulsesArePosted) {
  Counter counter;
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const long before = GetRunningCoopWatcherCount();
  ASSERT_TRUE(StartAddFromClipboardWatcher(counter.window, kWatchMessage, stop.Get()));
  EXPECT_TRUE(PulseAddPhraseFromCB());
  EXPECT_TRUE(qlrtest::PumpUntil([] { return Counter::count == 1; }, 10000));
  SetEvent(stop.Get());
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetRunningCoopWatcherCount() == before; }, 10000));
}

// A window on a thread of its own that answers the question with answer,
// after delayMs (or never pumps when hung).
class Answerer {
 public:
  Answerer(UINT message, LRESULT answer, DWORD delayMs) : m_message(message), m_answer(answer), m_delay(delayMs) {
    m_thread = std::thread([this] { Run(); });
    qlrtest::WaitUntil([this] { return m_window.load() != nullptr; });
  }
  ~Answerer() {
    PostMessageW(m_window, WM_CLOSE, 0, 0);
    m_thread.join();
  }
  HWND Window() const { return m_window; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Answerer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == self->m_message) {
      Sleep(self->m_delay);
      return self->m_answer;
    }
    if (msg == WM_CLOSE) {
      DestroyWindow(hwnd);
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  void Run() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilloraEditorAnswerer";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_window = window;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }
  UINT m_message;
  LRESULT m_answer;
  DWORD m_delay;
  std::atomic<HWND> m_window{nullptr};
  std::thread m_thread;
};

TEST(FindRunningEditorTest, TheFirstNonZeroAnswerWinsAndSlowWindowsAreSkipped) {
  const UINT message = RegisterWindowMessageW(L"QLR_test_find_running_editor");
  EXPECT_EQ(FindRunningEditorWindow(message, 300), nullptr);
  Answerer zero(message, 0, 0);
  Answerer slow(message, 1, 3000);  // answers, but after the finder's time
  EXPECT_EQ(FindRunningEditorWindow(message, 300), nullptr);
  Answerer editor(message, 1, 0);
  EXPECT_EQ(FindRunningEditorWindow(message, 300), editor.Window());
}

TEST(MainFrameScaffoldTest, ABurstOfChangesIsAnnouncedOnceAfterTwoQuietSeconds) {
  UniqueHandle coop(CreateEventW(nullptr, TRUE, FALSE, en::kCoopClientEditorEvent));
  ScaffoldFrame s;
  ASSERT_NE(s.frame, nullptr);
  // The frame answers the running-editor question.
  EXPECT_EQ(s.frame->SendMessage(RegisterWindowMessageW(en::kRunningEditorMessage)), 1);

  s.frame->StampChange();
  qlrtest::PumpUntil([] { return false; }, 1500);
  EXPECT_FALSE(Signalled(coop.Get()));
  s.frame->StampChange();
  const DWORD second = GetTickCount();
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return Signalled(coop.Get()); }, 8000));
  const DWORD after = GetTickCount() - second;
  EXPECT_GE(after, 1900u);
  EXPECT_LE(after, 4500u);
  EXPECT_EQ(s.frame->GetChangeTick(), 0u);

  // Closing the frame announces once more, pending change or not.
  ResetEvent(coop.Get());
  s.frame->DestroyWindow();
  s.frame = nullptr;
  EXPECT_TRUE(Signalled(coop.Get()));
}

}  // namespace
