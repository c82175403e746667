// Shell questions a program asks once and keeps. The first ones take long
// (the shell loads its icon handlers and image lists), so they may start on
// a thread of their own, with COM as the shell wants it, while the caller
// goes on making its windows; the first user waits for them. Start and
// Finish are called from one thread.
#pragma once
#include <windows.h>

#include <functional>

class CShellWorkOnce {
 public:
  explicit CShellWorkOnce(std::function<void()> work) : m_work(std::move(work)) {}
  CShellWorkOnce(const CShellWorkOnce&) = delete;
  CShellWorkOnce& operator=(const CShellWorkOnce&) = delete;

  // Starts the work on its thread, unless it was started or is done.
  void Start();
  // Waits for the started work, or does it here when it never started;
  // afterwards the work is done.
  void Finish();
  // Never waits: true when the work is done, joining a started work that
  // has ended; false while it runs or when it never started.
  bool TryFinish();
  // Started on its thread and not joined yet.
  bool IsRunning() const { return m_thread != nullptr; }

 private:
  static DWORD WINAPI Run(void* self);

  std::function<void()> m_work;
  HANDLE m_thread = nullptr;  // until joined
  bool m_done = false;
};
