// Saving and loading the history never run at the same time: inside the
// process a lock is taken (the named event alone is waited for and then
// reset, which two threads can pass together), and the named event
// "Local\Quillora_SaveLoad_CH" tells other processes.
#pragma once
#include <windows.h>

#include <mutex>

class CSaveLoadLock {
 public:
  // waitForEvent: wait for a holder in another process first (a save does;
  // the load only marks the event).
  explicit CSaveLoadLock(bool waitForEvent);
  ~CSaveLoadLock();
  CSaveLoadLock(const CSaveLoadLock&) = delete;
  CSaveLoadLock& operator=(const CSaveLoadLock&) = delete;

 private:
  std::unique_lock<std::mutex> m_lock;
  HANDLE m_event;
};
