// Which window an insertion goes to. The installing process (the tray
// program) polls the foreground window, since Wine sends no out-of-context
// foreground WinEvents, and remembers the last one of another program.
#include <atomic>

#include "foundation/ui/window_helpers.h"
#include "platform/coredll/dll/core_state.h"

namespace {

constexpr DWORD kPollMs = 50;

std::atomic<HWND> g_lastOther{nullptr};
HANDLE g_stop = nullptr;
HANDLE g_thread = nullptr;

// A window of another program the user may insert into: the desktop and
// the shell are in front when no program is, and never a target.
bool IsOtherProcessWindow(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd) || IsDesktopOrShellWindow(hwnd)) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid != 0 && pid != GetCurrentProcessId();
}

void Poll() {
  HWND foreground = GetForegroundWindow();
  if (IsOtherProcessWindow(foreground)) g_lastOther.store(foreground);
}

DWORD WINAPI TrackerProc(void* param) {
  HANDLE stop = static_cast<HANDLE>(param);
  do {
    Poll();
  } while (WaitForSingleObject(stop, kPollMs) == WAIT_TIMEOUT);
  // The reference taken at start keeps this code loaded until here.
  FreeLibraryAndExitThread(CoreModule(), 0);
}

}  // namespace

bool StartForegroundTracker() {
  g_lastOther.store(nullptr);
  Poll();
  g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HMODULE self = nullptr;
  if (!g_stop || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                     reinterpret_cast<LPCWSTR>(&TrackerProc), &self)) {
    if (g_stop) CloseHandle(g_stop);
    g_stop = nullptr;
    return false;
  }
  g_thread = CreateThread(nullptr, 0, TrackerProc, g_stop, 0, nullptr);
  if (!g_thread) {
    FreeLibrary(self);
    CloseHandle(g_stop);
    g_stop = nullptr;
    return false;
  }
  return true;
}

void StopForegroundTracker() {
  if (!g_thread) return;
  SetEvent(g_stop);
  WaitForSingleObject(g_thread, 5000);
  CloseHandle(g_thread);
  CloseHandle(g_stop);
  g_thread = nullptr;
  g_stop = nullptr;
}

HWND TargetWindow() {
  HWND foreground = GetForegroundWindow();
  return IsOtherProcessWindow(foreground) ? foreground : LastOtherWindow();
}

HWND LastOtherWindow() {
  HWND last = g_lastOther.load();
  return IsOtherProcessWindow(last) ? last : nullptr;
}
