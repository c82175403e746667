#include "history/store/save_load_lock.h"

#include <algorithm>
#include <chrono>

#include "history/store/history_names.h"

namespace {

std::timed_mutex g_saveLoad;
// The thread holding g_saveLoad (0: none); only that thread sets its own id.
std::atomic<DWORD> g_holder{0};
std::mutex g_inFlightLock;
std::vector<std::wstring> g_inFlight;

constexpr DWORD kSliceMs = 50;

HANDLE SaveLoadEvent() {
  // Manual reset, signalled while nobody saves or loads; kept for the process.
  static HANDLE event = CreateEventW(nullptr, TRUE, TRUE, history_names::kSaveLoadEvent);
  return event;
}

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

// Waits in slices, so that a cancel is seen; false when the time ran out.
bool WaitForEvent(HANDLE event, DWORD waitMs, const std::atomic<bool>* cancel) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (Cancelled(cancel)) return false;
    ULONGLONG waited = GetTickCount64() - start;
    if (waitMs != INFINITE && waited >= waitMs) return false;
    DWORD slice = waitMs == INFINITE ? kSliceMs : static_cast<DWORD>(std::min<ULONGLONG>(kSliceMs, waitMs - waited));
    DWORD result = WaitForSingleObject(event, slice);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_TIMEOUT) return false;
  }
}

bool LockMutex(std::unique_lock<std::timed_mutex>& lock, DWORD waitMs, const std::atomic<bool>* cancel) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (Cancelled(cancel)) return false;
    if (lock.try_lock_for(std::chrono::milliseconds(kSliceMs))) return true;
    if (waitMs != INFINITE && GetTickCount64() - start >= waitMs) return false;
  }
}

}  // namespace

CSaveLoadLock::CSaveLoadLock(bool waitForEvent, DWORD waitMs, const std::atomic<bool>* cancel)
    : m_lock(g_saveLoad, std::defer_lock) {
  if (g_holder.load() == GetCurrentThreadId()) {
    m_nested = true;
    return;
  }
  // The event first: a holder in another process is waited for without
  // keeping the threads of this one out.
  HANDLE event = SaveLoadEvent();
  if (event && waitForEvent && !WaitForEvent(event, waitMs, cancel) && Cancelled(cancel)) return;
  if (!LockMutex(m_lock, waitMs, cancel)) return;
  g_holder = GetCurrentThreadId();
  m_event = event;
  if (m_event) ResetEvent(m_event);
}

CSaveLoadLock::~CSaveLoadLock() {
  if (m_lock.owns_lock()) g_holder = 0;
  if (m_event) SetEvent(m_event);
}

void NoteFilesInFlight(const std::vector<std::wstring>& paths) {
  std::lock_guard<std::mutex> lock(g_inFlightLock);
  g_inFlight.insert(g_inFlight.end(), paths.begin(), paths.end());
}

void ForgetFilesInFlight(const std::vector<std::wstring>& paths) {
  std::lock_guard<std::mutex> lock(g_inFlightLock);
  for (const auto& path : paths) {
    auto at = std::find(g_inFlight.begin(), g_inFlight.end(), path);
    if (at != g_inFlight.end()) g_inFlight.erase(at);
  }
}

std::vector<std::wstring> FilesInFlight() {
  std::lock_guard<std::mutex> lock(g_inFlightLock);
  return g_inFlight;
}
