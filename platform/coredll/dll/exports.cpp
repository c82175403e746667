// The four exports of the core hook library and its entry point.
#include <cwchar>

#include "foundation/system/shared_records.h"
#include "platform/coredll/dll/core_state.h"

namespace {

CoreSharedState g_shared __attribute__((section(".qlrshr"), shared)) = {0, 0, 0, {0}, {0}, {0}};

HMODULE g_module = nullptr;
HHOOK g_hook = nullptr;  // only in the installing process

bool CopyName(wchar_t* field, int fieldChars, const wchar_t* name) {
  if (!name || !name[0]) return false;
  size_t n = wcsnlen(name, fieldChars);
  if (n >= static_cast<size_t>(fieldChars)) return false;
  wmemcpy(field, name, n + 1);
  return true;
}

bool ProcessIsAlive(DWORD pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return false;
  bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return alive;
}

// A flag left by an installer that ended without uninstalling does not
// count: the library may stay loaded in hooked programs after it is gone.
bool IsInstalledSomewhere() {
  if (!g_shared.installed) return false;
  if (g_shared.installerPid == GetCurrentProcessId()) return g_hook != nullptr;
  return ProcessIsAlive(g_shared.installerPid);
}

}  // namespace

CoreSharedState& SharedState() { return g_shared; }
HMODULE CoreModule() { return g_module; }

extern "C" BOOL __stdcall LR_Install(LRInstallRecord* record) {
  if (!record) return FALSE;
  record->resultCode = kLRSuccess;
  if (IsInstalledSomewhere()) {
    record->resultCode = kLRAlreadyInstalled;
    return FALSE;
  }
  InterlockedExchange(&g_shared.installed, 0);
  if (record->notifyMessage == 0 ||
      !CopyName(g_shared.queryEventName, kCoreNameChars, record->queryEventName) ||
      !CopyName(g_shared.answerEventName, kCoreNameChars, record->answerEventName) ||
      !CopyName(g_shared.areaName, kCoreNameChars, record->areaName)) {
    record->resultCode = kLRInvalidNames;
    return FALSE;
  }
  // The library writes no log and knows no gestures: the log path, its
  // atom and the gesture flag are not kept.
  g_shared.notifyMessage = record->notifyMessage;
  g_shared.installerPid = GetCurrentProcessId();

  g_hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, g_module, 0);
  if (!g_hook) {
    record->resultCode = kLRCannotHook;
    return FALSE;
  }
  if (!StartForegroundTracker()) {
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    record->resultCode = kLRCannotHook;
    return FALSE;
  }
  InterlockedExchange(&g_shared.installed, 1);
  return TRUE;
}

extern "C" BOOL __stdcall LR_Uninstall() {
  if (!g_hook) return FALSE;
  InterlockedExchange(&g_shared.installed, 0);
  UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  StopForegroundTracker();
  return TRUE;
}

extern "C" HWND __stdcall LR_GetTargetWindow() { return TargetWindow(); }
extern "C" HWND __stdcall LR_GetTargetWindowOther() { return LastOtherWindow(); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr && g_hook) {
    // Freed without LR_Uninstall: take the hook away with the code it runs.
    InterlockedExchange(&g_shared.installed, 0);
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
  }
  return TRUE;
}
