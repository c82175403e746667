// Saving and loading the history never run at the same time: inside the
// process a lock is taken (the named event alone is waited for and then
// reset, which two threads can pass together), and the named event
// "Local\Quillora_SaveLoad_CH" tells other processes.
//
// Nobody holds the lock while sending a message to another thread, so the
// UI thread may take it: it waits at most for one item written or one load.
// A thread that holds it already (the load setting a loaded item's
// protection) passes through a second one.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class CSaveLoadLock {
 public:
  // waitForEvent: wait for a holder in another process first (a save does;
  // the load only marks the event). waitMs bounds each of the two waits;
  // a set cancel flag ends them early. Held() tells whether the lock was had.
  explicit CSaveLoadLock(bool waitForEvent, DWORD waitMs = INFINITE,
                         const std::atomic<bool>* cancel = nullptr);
  ~CSaveLoadLock();
  CSaveLoadLock(const CSaveLoadLock&) = delete;
  CSaveLoadLock& operator=(const CSaveLoadLock&) = delete;
  bool Held() const { return m_nested || m_lock.owns_lock(); }

 private:
  std::unique_lock<std::timed_mutex> m_lock;
  bool m_nested = false;
  HANDLE m_event = nullptr;
};

// Files a save thread has written whose item the UI thread has not taken
// yet: clearing the history folder must leave them, or the item would
// point at deleted files.
void NoteFilesInFlight(const std::vector<std::wstring>& paths);
void ForgetFilesInFlight(const std::vector<std::wstring>& paths);
std::vector<std::wstring> FilesInFlight();
