#include "tray/app/wts_notify.h"

#include <map>

namespace {

constexpr DWORD kNotifyForThisSession = 0;
constexpr DWORD kNotifyForAllSessions = 1;

const std::map<WPARAM, std::wstring>& ReasonNames() {
  static const std::map<WPARAM, std::wstring> names = {
      {1, L"WTS_CONSOLE_CONNECT"},   {2, L"WTS_CONSOLE_DISCONNECT"},
      {3, L"WTS_REMOTE_CONNECT"},    {4, L"WTS_REMOTE_DISCONNECT"},
      {5, L"WTS_SESSION_LOGON"},     {6, L"WTS_SESSION_LOGOFF"},
      {7, L"WTS_SESSION_LOCK"},      {8, L"WTS_SESSION_UNLOCK"},
      {9, L"WTS_SESSION_REMOTE_CONTROL"},
  };
  return names;
}

}  // namespace

CWTSNotify::~CWTSNotify() {
  if (!m_windows.empty()) {
    if (UnregisterFunction fn = UnregisterFn())
      for (HWND window : m_windows) fn(window);
    m_windows.clear();
  }
  if (m_module) FreeLibrary(m_module);
}

HMODULE CWTSNotify::Load() {
  if (!m_module) m_module = LoadLibraryW(m_libraryName.c_str());
  return m_module;
}

FARPROC CWTSNotify::Lookup(const char* name) {
  HMODULE module = Load();
  return module ? GetProcAddress(module, name) : nullptr;
}

CWTSNotify::RegisterFunction CWTSNotify::RegisterFn() {
  if (!m_register) m_register = reinterpret_cast<RegisterFunction>(Lookup("WTSRegisterSessionNotification"));
  return m_register;
}

CWTSNotify::UnregisterFunction CWTSNotify::UnregisterFn() {
  if (!m_unregister) m_unregister = reinterpret_cast<UnregisterFunction>(Lookup("WTSUnRegisterSessionNotification"));
  return m_unregister;
}

bool CWTSNotify::Register(HWND window, bool bThisSessionOnly) {
  if (!::IsWindow(window) || IsRegistered(window)) return false;
  RegisterFunction fn = RegisterFn();
  if (!fn) return false;
  if (!fn(window, bThisSessionOnly ? kNotifyForThisSession : kNotifyForAllSessions)) return false;
  m_windows.insert(window);
  return true;
}

bool CWTSNotify::Unregister(HWND window) {
  UnregisterFunction fn = UnregisterFn();
  if (!fn) return false;
  SetLastError(ERROR_SUCCESS);
  // A refusal that names no error is no failure: Wine's session functions
  // keep no registration (registering only says yes), so there is none to
  // drop, and every exit would log an error that is none.
  if (!fn(window) && GetLastError() != ERROR_SUCCESS) return false;
  m_windows.erase(window);
  return true;
}

std::wstring CWTSNotify::ReasonToString(WPARAM reason) {
  auto it = ReasonNames().find(reason);
  if (it != ReasonNames().end()) return it->second;
  wchar_t text[160];
  swprintf(text, 160, L"Оппа-ньки! Что за нафиг WTSSessionChangeReason_2_Str: wReason=%d",
           static_cast<int>(reason));
  return text;
}
