// A thread that tells a window whenever the values of the current user's
// Run key change, until a stop event is set.
#pragma once
#include <windows.h>

constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RunKeyWatcher {
 public:
  RunKeyWatcher() = default;
  ~RunKeyWatcher();  // stops and waits for the thread
  RunKeyWatcher(const RunKeyWatcher&) = delete;
  RunKeyWatcher& operator=(const RunKeyWatcher&) = delete;

  // Posts message to window on every change. The thread keeps its own
  // duplicate of the stop event, so Stop and the destructor may close
  // theirs at once. False when the thread could not start.
  bool Start(HWND window, UINT message);
  // Sets the stop event; the thread ends at its next wait.
  void Stop();
  bool IsRunning() const;
  // Waits for the thread's end; its exit code (0 ended by stop, 1 no
  // event, 2 no key), STILL_ACTIVE after the time-out.
  DWORD Wait(DWORD milliseconds);

 private:
  HANDLE m_stop = nullptr;
  HANDLE m_thread = nullptr;
};
