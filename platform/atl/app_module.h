// The program's module: its instance handles and the message loop of each
// thread.
#pragma once
#include <windows.h>

#include <vector>

class CMessageLoop;

class CAppModule {
 public:
  CAppModule();
  ~CAppModule();
  CAppModule(const CAppModule&) = delete;
  CAppModule& operator=(const CAppModule&) = delete;

  // Makes this the process's module. The first two arguments exist for the
  // usual call shape and are ignored.
  HRESULT Init(const void* objectMap, HINSTANCE instance, const void* libId = nullptr);
  void Term();

  HINSTANCE GetModuleInstance() const { return m_instance; }
  HINSTANCE GetResourceInstance() const { return m_resourceInstance; }
  HINSTANCE SetResourceInstance(HINSTANCE instance);

  // One loop per thread; a second one for the same thread is refused.
  BOOL AddMessageLoop(CMessageLoop* loop);
  BOOL RemoveMessageLoop();
  CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

  // The module Init made current, or null.
  static CAppModule* Current();

 private:
  HINSTANCE m_instance = nullptr;
  HINSTANCE m_resourceInstance = nullptr;
  struct LoopEntry {
    DWORD threadId;
    CMessageLoop* loop;
  };
  std::vector<LoopEntry> m_loops;  // guarded by m_lock
  mutable CRITICAL_SECTION m_lock;
};

// The instance of the current module, else of the program file.
HINSTANCE GetModuleInstanceHandle();
// The instance that holds dialogs, icons and strings.
HINSTANCE GetResourceInstanceHandle();
