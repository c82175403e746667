// Gesture.dll: the shared block, the low-level mouse hook and the four
// exports.
#include <new>

#include "gesture/gesture_api.h"
#include "gesture/installer_identity.h"
#include "gesture/recognizer.h"

namespace {

// Mapped by every process that loads the library, so all of them see the
// installed hook and the last gesture point.
GestureSharedState g_shared __attribute__((section(".LRH"), shared)) = {nullptr, 0, {0, 0}, {0, 0},
                                                                         0, 0, 0};

// This process's installation: it exists exactly while this process holds
// the hook.
class CGestureHookOwner {
 public:
  virtual ~CGestureHookOwner() = default;
};

CGestureHookOwner* g_owner = nullptr;
GestureRecognizer g_recognizer(&g_shared, SystemGestureEnvironment());

void DropOwner() {
  delete g_owner;
  g_owner = nullptr;
}

// The system calls this on the installing thread for every mouse event of
// the desktop. The event goes on first and unchanged.
LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallNextHookEx(g_shared.hook, code, wParam, lParam);
  if (code == HC_ACTION && lParam)
    g_recognizer.Dispatch(wParam, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt);
  return result;
}

}  // namespace

extern "C" int __stdcall Gesture_Install(const GestureInstallParams* params) {
  if (g_owner || !params) return 0;
  std::int32_t mode = params->mode;
  if (mode < kGestureMoveMiddle || mode > kGestureTripleRight) return 0;
  g_owner = new (std::nothrow) CGestureHookOwner;
  if (!g_owner) return 0;
  if (g_shared.hook) {
    if (IsInstallerRunning(g_shared)) {
      DropOwner();
      return 0;
    }
    // Left behind by an installer that ended without uninstalling.
    g_shared.hook = nullptr;
    ForgetInstaller(&g_shared);
  }
  g_recognizer.Prepare(mode);
  RecordInstaller(&g_shared);
  g_shared.hook = SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, params->module, 0);
  if (!g_shared.hook) {
    ForgetInstaller(&g_shared);
    DropOwner();
    return 0;
  }
  return 1;
}

extern "C" int __stdcall Gesture_Uninstall() {
  if (!g_owner || !g_shared.hook) return 0;
  // The caller must not see the removal's own error code.
  DWORD callerError = GetLastError();
  SetLastError(0);
  if (UnhookWindowsHookEx(g_shared.hook) || GetLastError() == 0) {
    g_shared.hook = nullptr;
    ForgetInstaller(&g_shared);
  }
  SetLastError(callerError);
  if (g_shared.hook) return 0;
  DropOwner();
  return 1;
}

extern "C" int __stdcall Gesture_IsInstalled() { return g_owner ? 1 : 0; }

extern "C" int __stdcall Gesture_GetGesturePoint(GesturePoint* point) {
  if (!point || !g_owner) return 0;
  GesturePoint gesture = g_shared.gesture;
  if (!IsPointSet(gesture)) return 0;
  *point = gesture;
  return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  if (reason == DLL_PROCESS_DETACH && g_owner && g_shared.hook &&
      g_shared.installerPid == GetCurrentProcessId()) {
    // An installer ending without uninstalling frees the guard for the next
    // one. When only the library is unloaded, the hook must go with it.
    if (!reserved) UnhookWindowsHookEx(g_shared.hook);
    g_shared.hook = nullptr;
    ForgetInstaller(&g_shared);
    if (!reserved) DropOwner();
  }
  return TRUE;
}
