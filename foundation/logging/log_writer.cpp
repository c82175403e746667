#include "foundation/logging/log_writer.h"

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
    m_idle.Reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  }

  bool Push(const std::wstring& path, const std::wstring& text) {
    EnterCriticalSection(&m_lock);
    m_items.push_back({path, text});
    bool ok = true;
    if (!m_writerRunning) {
      HANDLE thread = CreateThread(nullptr, 0, &LogQueue::WriterProc, this, 0, nullptr);
      if (thread) {
        m_writer.Reset(thread);
        m_writerRunning = true;
        ResetEvent(m_idle.Get());
      } else {
        m_items.pop_back();
        ok = false;
      }
    }
    LeaveCriticalSection(&m_lock);
    return ok;
  }

  bool Wait(DWORD timeoutMs) {
    EnterCriticalSection(&m_lock);
    HANDLE writer = nullptr;
    if (m_writerRunning && m_writer) {
      DuplicateHandle(GetCurrentProcess(), m_writer.Get(), GetCurrentProcess(), &writer,
                      SYNCHRONIZE, FALSE, 0);
    }
    LeaveCriticalSection(&m_lock);
    if (!writer) return true;
    UniqueHandle writerOwner(writer);
    // A writer killed at process end never reports idle; its end stops the wait.
    HANDLE waits[] = {m_idle.Get(), writer};
    DWORD result = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
    return result == WAIT_OBJECT_0 || WaitForSingleObject(m_idle.Get(), 0) == WAIT_OBJECT_0;
  }

 private:
  static DWORD WINAPI WriterProc(void* param) {
    static_cast<LogQueue*>(param)->Drain();
    return 0;
  }

  void Drain() {
    for (;;) {
      std::wstring path, text;
      EnterCriticalSection(&m_lock);
      if (m_items.empty()) {
        m_writerRunning = false;
        SetEvent(m_idle.Get());
        LeaveCriticalSection(&m_lock);
        return;
      }
      // Consecutive texts for one file go out in one append.
      path = m_items.front().path;
      for (size_t n = 0; n < kBatchTexts && !m_items.empty() && m_items.front().path == path; ++n) {
        text += m_items.front().text;
        if (!EndsWithLineBreak(text)) text += L"\r\n";
        m_items.pop_front();
      }
      LeaveCriticalSection(&m_lock);
      AppendToLogFileLocked(path, text);
    }
  }

  static bool EndsWithLineBreak(const std::wstring& text) {
    return text.size() >= 2 && text[text.size() - 2] == L'\r' && text.back() == L'\n';
  }

  CRITICAL_SECTION m_lock;
  std::deque<PendingText> m_items;
  bool m_writerRunning = false;
  UniqueHandle m_writer;
  UniqueHandle m_idle;
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
