#include "foundation/system/shell_work_once.h"

#include <objbase.h>

DWORD WINAPI CShellWorkOnce::Run(void* self) {
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  static_cast<CShellWorkOnce*>(self)->m_work();
  if (SUCCEEDED(com)) ::CoUninitialize();
  return 0;
}

void CShellWorkOnce::Start() {
  if (m_done || m_thread) return;
  m_thread = ::CreateThread(nullptr, 0, &CShellWorkOnce::Run, this, 0, nullptr);
}

void CShellWorkOnce::Finish() {
  if (m_done) return;
  if (m_thread) {
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    m_thread = nullptr;
  } else {
    m_work();
  }
  m_done = true;
}

bool CShellWorkOnce::TryFinish() {
  if (m_done) return true;
  if (!m_thread || ::WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0) return false;
  Finish();
  return true;
}
