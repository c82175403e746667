// Security attributes that let every program of the suite open a shared
// object, access checks on files, the administrators test, the hand-over
// event to an instance restarted as administrator, and the DNS domain.
#pragma once
#include <windows.h>

#include <string>

// Fills sa with a new descriptor whose DACL grants everyone (S-1-1-0) full
// access. False (and nothing left allocated) when it cannot be built; the
// caller then uses default security. Free a built set with
// FreeEveryoneSecurityAttributes.
bool CreateEveryoneSecurityAttributes(SECURITY_ATTRIBUTES& sa);
void FreeEveryoneSecurityAttributes(SECURITY_ATTRIBUTES& sa);

// Owner of one everyone-access set: Get() is what a creating call takes,
// null (default security) when the set could not be built.
class EveryoneSecurity {
 public:
  EveryoneSecurity() { m_ok = CreateEveryoneSecurityAttributes(m_sa); }
  ~EveryoneSecurity() {
    if (m_ok) FreeEveryoneSecurityAttributes(m_sa);
  }
  EveryoneSecurity(const EveryoneSecurity&) = delete;
  EveryoneSecurity& operator=(const EveryoneSecurity&) = delete;
  SECURITY_ATTRIBUTES* Get() { return m_ok ? &m_sa : nullptr; }

 private:
  SECURITY_ATTRIBUTES m_sa = {};
  bool m_ok = false;
};

// True when the current user's token is granted desiredAccess (generic
// rights, mapped for files) on the file or folder.
bool CheckFileAccess(const std::wstring& path, DWORD desiredAccess);
bool CanWriteFile(const std::wstring& path);
bool CanReadFile(const std::wstring& path);

// Administrators-group membership of the process token / of a token. The
// result says whether the test could be made; the answer is in isMember.
bool IsCurrentUserAdmin(bool& isMember);
bool IsTokenAdmin(bool& isMember, HANDLE token);
// True only when the test could be made and the process is a member.
bool IsRunningAsAdmin();
bool IsNotRunningAsAdmin();
// Test seam: decides the administrators test (null: the real one).
using AdminTest = bool (*)();
void SetAdminTestForTests(AdminTest test);

// Hand-over from an instance to its copy restarted as administrator.
bool CreateAdminInstanceEvent();
BOOL SignalAdminInstanceEvent();
// True when the event was set within the time-out; false after a time-out
// (error 0), and with the platform's error code in error when the event
// does not exist or the wait failed. The thread's last error is kept.
bool WaitAdminInstanceEvent(DWORD timeoutMs, DWORD& error);
// Test seam: the wait on the opened event (null: WaitForSingleObject).
using HandOverWaitFn = DWORD (*)(HANDLE event, DWORD timeoutMs);
void SetHandOverWaitForTests(HandOverWaitFn wait);

// The computer's DNS domain name; empty when unknown or longer than 14.
bool GetComputerDnsDomain(std::wstring& domain);
