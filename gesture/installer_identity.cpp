#include "gesture/installer_identity.h"

#include "foundation/system/handles.h"

namespace {

bool CreationTime(HANDLE process, FILETIME* created) {
  FILETIME exited, kernel, user;
  return GetProcessTimes(process, created, &exited, &kernel, &user) != FALSE;
}

}  // namespace

void RecordInstaller(GestureSharedState* shared) {
  FILETIME created = {};
  CreationTime(GetCurrentProcess(), &created);
  shared->installerStartLow = created.dwLowDateTime;
  shared->installerStartHigh = created.dwHighDateTime;
  shared->installerPid = GetCurrentProcessId();
}

void ForgetInstaller(GestureSharedState* shared) {
  shared->installerPid = 0;
  shared->installerStartLow = shared->installerStartHigh = 0;
}

bool IsInstallerRunning(const GestureSharedState& shared) {
  DWORD pid = shared.installerPid;
  if (pid == 0 || pid == GetCurrentProcessId()) return false;
  UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  if (WaitForSingleObject(process.Get(), 0) != WAIT_TIMEOUT) return false;
  FILETIME created = {};
  if (!CreationTime(process.Get(), &created)) return true;
  // Another process that took over the ended installer's id.
  return created.dwLowDateTime == shared.installerStartLow &&
         created.dwHighDateTime == shared.installerStartHigh;
}
