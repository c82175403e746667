#include "foundation/system/security.h"

#include <atomic>

#include <aclapi.h>

#include <vector>

#include "foundation/system/handles.h"

namespace {

HandOverWaitFn g_handOverWait = nullptr;
DWORD WaitForSingleObjectFn(HANDLE event, DWORD timeoutMs) { return WaitForSingleObject(event, timeoutMs); }

const wchar_t kAdminInstanceEventName[] = L"55517695-4FD6-40eb-9E52-997024E979DE";
constexpr DWORD kEveryoneAccess = 0x1F01FF;

HANDLE g_adminInstanceEvent = nullptr;

struct SidOwner {
  PSID sid = nullptr;
  ~SidOwner() {
    if (sid) FreeSid(sid);
  }
};

// Keeps the last-error value of the thread as it was at construction.
class LastErrorKeeper {
 public:
  LastErrorKeeper() : m_error(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(m_error); }

 private:
  DWORD m_error;
};

}  // namespace

bool CreateEveryoneSecurityAttributes(SECURITY_ATTRIBUTES& sa) {
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  SidOwner everyone;
  if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                &everyone.sid))
    return false;
  EXPLICIT_ACCESSW access = {};
  access.grfAccessPermissions = kEveryoneAccess;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(everyone.sid);
  PACL acl = nullptr;
  // The ACL holds its own copy of the SID.
  if (SetEntriesInAclW(1, &access, nullptr, &acl) != ERROR_SUCCESS) return false;
  UniqueLocalMemory aclOwner(acl);
  UniqueLocalMemory sd(LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
  if (!sd) return false;
  if (!InitializeSecurityDescriptor(sd.Get(), SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(sd.Get(), TRUE, acl, FALSE))
    return false;
  sa.nLength = sizeof(SECURITY_ATTRIBUTES);
  sa.bInheritHandle = FALSE;
  sa.lpSecurityDescriptor = sd.Release();
  aclOwner.Release();
  return true;
}

void FreeEveryoneSecurityAttributes(SECURITY_ATTRIBUTES& sa) {
  if (!sa.lpSecurityDescriptor) return;
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  if (GetSecurityDescriptorDacl(sa.lpSecurityDescriptor, &present, &acl, &defaulted) && present &&
      acl)
    LocalFree(acl);
  LocalFree(sa.lpSecurityDescriptor);
  sa.lpSecurityDescriptor = nullptr;
}

bool CheckFileAccess(const std::wstring& path, DWORD desiredAccess) {
  const SECURITY_INFORMATION what =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD needed = 0;
  if (GetFileSecurityW(path.c_str(), what, nullptr, 0, &needed) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
    return false;
  std::vector<BYTE> sd(needed);
  if (!GetFileSecurityW(path.c_str(), what, sd.data(), needed, &needed)) return false;

  UniqueHandle processToken, token;
  if (!OpenProcessToken(GetCurrentProcess(),
                        TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE | STANDARD_RIGHTS_READ,
                        processToken.Put()))
    return false;
  if (!DuplicateToken(processToken.Get(), SecurityImpersonation, token.Put())) return false;

  GENERIC_MAPPING mapping = {};
  mapping.GenericRead = FILE_GENERIC_READ;
  mapping.GenericWrite = FILE_GENERIC_WRITE;
  mapping.GenericExecute = FILE_GENERIC_EXECUTE;
  mapping.GenericAll = FILE_ALL_ACCESS;
  DWORD access = desiredAccess;
  MapGenericMask(&access, &mapping);
  BYTE privileges[20] = {};
  DWORD privilegesSize = sizeof(privileges);
  DWORD granted = 0;
  BOOL status = FALSE;
  return AccessCheck(sd.data(), token.Get(), access, &mapping,
                     reinterpret_cast<PPRIVILEGE_SET>(privileges), &privilegesSize, &granted,
                     &status) &&
         status;
}

bool CanWriteFile(const std::wstring& path) { return CheckFileAccess(path, GENERIC_WRITE); }
bool CanReadFile(const std::wstring& path) { return CheckFileAccess(path, GENERIC_READ); }

bool IsTokenAdmin(bool& isMember, HANDLE token) {
  isMember = false;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  SidOwner admins;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                0, 0, 0, 0, &admins.sid))
    return false;
  // CheckTokenMembership refuses a primary token (it wants the token of an
  // impersonating thread), so a process token is checked through a copy.
  UniqueHandle impersonation;
  HANDLE checked = token;
  TOKEN_TYPE type = TokenImpersonation;
  DWORD size = 0;
  if (token && GetTokenInformation(token, TokenType, &type, sizeof(type), &size) &&
      type == TokenPrimary) {
    if (!DuplicateToken(token, SecurityIdentification, impersonation.Put())) return false;
    checked = impersonation.Get();
  }
  BOOL member = FALSE;
  if (!CheckTokenMembership(checked, admins.sid, &member)) return false;
  isMember = member != FALSE;
  return true;
}

bool IsCurrentUserAdmin(bool& isMember) {
  isMember = false;
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, token.Put()))
    return false;
  return IsTokenAdmin(isMember, token.Get());
}

bool CreateAdminInstanceEvent() {
  if (g_adminInstanceEvent) return true;
  g_adminInstanceEvent = CreateEventW(nullptr, TRUE, FALSE, kAdminInstanceEventName);
  return g_adminInstanceEvent != nullptr;
}

BOOL SignalAdminInstanceEvent() {
  if (!g_adminInstanceEvent) return FALSE;
  BOOL result = SetEvent(g_adminInstanceEvent);
  CloseHandle(g_adminInstanceEvent);
  g_adminInstanceEvent = nullptr;
  return result;
}

bool WaitAdminInstanceEvent(DWORD timeoutMs, DWORD& error) {
  LastErrorKeeper keep;
  error = 0;
  UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, kAdminInstanceEventName));
  if (!event) {
    error = GetLastError();
    return false;
  }
  HandOverWaitFn waitFn = g_handOverWait ? g_handOverWait : WaitForSingleObjectFn;
  DWORD wait = waitFn(event.Get(), timeoutMs);
  if (wait == WAIT_FAILED) error = GetLastError();
  // A failed wait hands nothing over: the old instance may still run.
  return wait == WAIT_OBJECT_0;
}

void SetHandOverWaitForTests(HandOverWaitFn wait) { g_handOverWait = wait; }

bool GetComputerDnsDomain(std::wstring& domain) {
  domain.clear();
  DynamicFunction<BOOL(WINAPI*)(COMPUTER_NAME_FORMAT, LPWSTR, LPDWORD)> fn(L"kernel32.dll",
                                                                          "GetComputerNameExW");
  if (!fn) return false;
  wchar_t buf[15] = {};
  DWORD size = 15;
  if (!fn.Get()(ComputerNameDnsDomain, buf, &size)) return false;
  domain.assign(buf, size < 15 ? size : 0);
  return true;
}

namespace {
std::atomic<AdminTest> g_adminTest{nullptr};
}  // namespace

bool IsRunningAsAdmin() {
  if (AdminTest test = g_adminTest.load()) return test();
  bool member = false;
  return IsCurrentUserAdmin(member) && member;
}

bool IsNotRunningAsAdmin() { return !IsRunningAsAdmin(); }

void SetAdminTestForTests(AdminTest test) { g_adminTest = test; }
