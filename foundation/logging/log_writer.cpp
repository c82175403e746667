#include "foundation/logging/log_writer.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "foundation/logging/log_file.h"
#include "foundation/system/handles.h"

namespace {

struct PendingText {
  std::wstring path;
  std::wstring text;
};

// Lines queued before the program ends are still written: the end of the
// process waits for them, a few seconds at most (longer than one wait for
// a stale lock).
constexpr DWORD kExitWaitMs = kLogLockWaitMs + 1000;
// One append takes at most this many queued texts.
constexpr size_t kBatchTexts = 512;

class LogQueue {
 public:
  LogQueue() {
    InitializeCriticalSection(&m_lock);
    InitializeConditionVariable(&m_work);
    InitializeConditionVariable(&m_idle);
  }

  bool Push(const std::wstring& path, const std::wstring& text) {
    EnterCriticalSection(&m_lock);
    // One writer lives as long as the process: starting a thread for each
    // burst of lines cost the caller more than the lines themselves.
    if (!m_writer) m_writer.Reset(CreateThread(nullptr, 0, &LogQueue::WriterProc, this, 0, nullptr));
    const bool ok = m_writer.Get() != nullptr;
    if (ok) {
      m_items.push_back({path, text});
      // Waking the writer asks nothing of the system when no one waits.
      WakeConditionVariable(&m_work);
    }
    LeaveCriticalSection(&m_lock);
    return ok;
  }

  bool Wait(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    EnterCriticalSection(&m_lock);
    bool idle = m_items.empty() && !m_writing;
    while (!idle && m_writer) {
      const DWORD waited = GetTickCount() - start;
      if (waited >= timeoutMs) break;
      // A writer killed at process end never reports idle; its end stops
      // the wait.
      if (WaitForSingleObject(m_writer.Get(), 0) != WAIT_TIMEOUT) break;
      SleepConditionVariableCS(&m_idle, &m_lock, std::min<DWORD>(kWaitSliceMs, timeoutMs - waited));
      idle = m_items.empty() && !m_writing;
    }
    LeaveCriticalSection(&m_lock);
    return idle;
  }

 private:
  static DWORD WINAPI WriterProc(void* param) {
    static_cast<LogQueue*>(param)->Drain();
    return 0;
  }

  void Drain() {
    EnterCriticalSection(&m_lock);
    for (;;) {
      while (m_items.empty()) {
        m_writing = false;
        WakeAllConditionVariable(&m_idle);
        SleepConditionVariableCS(&m_work, &m_lock, INFINITE);
      }
      m_writing = true;
      // Consecutive texts for one file go out in one append.
      std::wstring path = m_items.front().path, text;
      for (size_t n = 0; n < kBatchTexts && !m_items.empty() && m_items.front().path == path; ++n) {
        text += m_items.front().text;
        if (!EndsWithLineBreak(text)) text += L"\r\n";
        m_items.pop_front();
      }
      LeaveCriticalSection(&m_lock);
      AppendToLogFileLocked(path, text);
      EnterCriticalSection(&m_lock);
    }
  }

  static bool EndsWithLineBreak(const std::wstring& text) {
    return text.size() >= 2 && text[text.size() - 2] == L'\r' && text.back() == L'\n';
  }

  static constexpr DWORD kWaitSliceMs = 50;

  CRITICAL_SECTION m_lock;
  CONDITION_VARIABLE m_work;
  CONDITION_VARIABLE m_idle;
  std::deque<PendingText> m_items;
  bool m_writing = false;  // a batch taken from the queue is being written
  UniqueHandle m_writer;
};

// The end of the process waits for queued lines.
struct ExitWait {
  LogQueue* queue;
  ~ExitWait() { queue->Wait(kExitWaitMs); }
};

LogQueue& Queue() {
  // Never destroyed: a writer still busy after the exit wait keeps using it.
  static LogQueue* queue = new LogQueue;
  static ExitWait exitWait{queue};
  return *queue;
}

}  // namespace

bool QueueLogText(const std::wstring& path, const std::wstring& text) {
  return Queue().Push(path, text);
}

bool WaitLogQueueEmpty(DWORD timeoutMs) { return Queue().Wait(timeoutMs); }
