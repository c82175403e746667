#include "platform/atl/app_module.h"

#include <atomic>

namespace {

std::atomic<CAppModule*> g_current{nullptr};

}  // namespace

CAppModule::CAppModule() { ::InitializeCriticalSection(&m_lock); }

CAppModule::~CAppModule() {
  Term();
  ::DeleteCriticalSection(&m_lock);
}

HRESULT CAppModule::Init(const void*, HINSTANCE instance, const void*) {
  if (!instance) instance = ::GetModuleHandleW(nullptr);
  m_instance = instance;
  m_resourceInstance = instance;
  g_current.store(this);
  return S_OK;
}

void CAppModule::Term() {
  CAppModule* self = this;
  g_current.compare_exchange_strong(self, nullptr);
  ::EnterCriticalSection(&m_lock);
  m_loops.clear();
  ::LeaveCriticalSection(&m_lock);
}

HINSTANCE CAppModule::SetResourceInstance(HINSTANCE instance) {
  HINSTANCE old = m_resourceInstance;
  m_resourceInstance = instance;
  return old;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
  if (!loop) return FALSE;
  DWORD tid = ::GetCurrentThreadId();
  ::EnterCriticalSection(&m_lock);
  BOOL ok = TRUE;
  for (const LoopEntry& e : m_loops) {
    if (e.threadId == tid) ok = FALSE;
  }
  if (ok) m_loops.push_back({tid, loop});
  ::LeaveCriticalSection(&m_lock);
  return ok;
}

BOOL CAppModule::RemoveMessageLoop() {
  DWORD tid = ::GetCurrentThreadId();
  BOOL found = FALSE;
  ::EnterCriticalSection(&m_lock);
  for (auto it = m_loops.begin(); it != m_loops.end(); ++it) {
    if (it->threadId == tid) {
      m_loops.erase(it);
      found = TRUE;
      break;
    }
  }
  ::LeaveCriticalSection(&m_lock);
  return found;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
  CMessageLoop* loop = nullptr;
  ::EnterCriticalSection(&m_lock);
  for (const LoopEntry& e : m_loops) {
    if (e.threadId == threadId) loop = e.loop;
  }
  ::LeaveCriticalSection(&m_lock);
  return loop;
}

CAppModule* CAppModule::Current() { return g_current.load(); }

HINSTANCE GetModuleInstanceHandle() {
  CAppModule* m = CAppModule::Current();
  return m && m->GetModuleInstance() ? m->GetModuleInstance() : ::GetModuleHandleW(nullptr);
}

HINSTANCE GetResourceInstanceHandle() {
  CAppModule* m = CAppModule::Current();
  return m && m->GetResourceInstance() ? m->GetResourceInstance() : ::GetModuleHandleW(nullptr);
}
