// Session-change notifications (console connect, logon, lock, unlock...) for
// any number of windows. Wtsapi32.dll is loaded on first need and its
// functions looked up by name, so the program also starts where it is
// missing. Every window still registered is unregistered on destruction.
#pragma once
#include <windows.h>

#include <set>
#include <string>

class CWTSNotify {
 public:
  CWTSNotify() = default;
  // A library other than Wtsapi32.dll; tests name one that does not exist.
  explicit CWTSNotify(const wchar_t* libraryName) : m_libraryName(libraryName) {}
  using RegisterFunction = BOOL(WINAPI*)(HWND, DWORD);
  using UnregisterFunction = BOOL(WINAPI*)(HWND);
  // Functions in place of the library's (tests hand in their own).
  CWTSNotify(RegisterFunction registerFn, UnregisterFunction unregisterFn)
      : m_register(registerFn), m_unregister(unregisterFn) {}
  virtual ~CWTSNotify();
  CWTSNotify(const CWTSNotify&) = delete;
  CWTSNotify& operator=(const CWTSNotify&) = delete;

  bool Register(HWND window, bool bThisSessionOnly);
  bool Unregister(HWND window);
  bool IsRegistered(HWND window) const { return m_windows.count(window) != 0; }

  // The name of a WM_WTSSESSION_CHANGE reason for the log.
  static std::wstring ReasonToString(WPARAM reason);

 private:
  HMODULE Load();
  FARPROC Lookup(const char* name);
  RegisterFunction RegisterFn();
  UnregisterFunction UnregisterFn();

  std::wstring m_libraryName = L"Wtsapi32.dll";
  std::set<HWND> m_windows;
  HMODULE m_module = nullptr;
  RegisterFunction m_register = nullptr;
  UnregisterFunction m_unregister = nullptr;
};
