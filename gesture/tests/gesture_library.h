// The built Gesture.dll loaded into a test program: its exports, its shared
// block, an installing thread with a message loop, the gesture event as the
// waiter creates it, and real mouse input at exact screen positions.
#pragma once
#include <windows.h>

#include <cstring>
#include <ostream>
#include <string>

#include "foundation/system/handles.h"
#include "gesture/gesture_api.h"
#include "gesture/shared_state.h"
#include "tests/support/test_support.h"

inline bool operator==(const GesturePoint& a, const GesturePoint& b) {
  return a.x == b.x && a.y == b.y;
}
inline std::ostream& operator<<(std::ostream& os, const GesturePoint& p) {
  return os << "(" << p.x << ", " << p.y << ")";
}

namespace gesturetest {

class GestureLibrary {
 public:
  bool Load() {
    m_module.Reset(LoadLibraryW(qlrtest::BinFile(L"Gesture.dll").c_str()));
    if (!m_module) return false;
    Install = reinterpret_cast<GestureInstallFn>(Proc("Gesture_Install"));
    Uninstall = reinterpret_cast<GestureNoArgFn>(Proc("Gesture_Uninstall"));
    IsInstalled = reinterpret_cast<GestureNoArgFn>(Proc("Gesture_IsInstalled"));
    GetGesturePoint = reinterpret_cast<GestureGetPointFn>(Proc("Gesture_GetGesturePoint"));
    return Install && Uninstall && IsInstalled && GetGesturePoint && Shared();
  }
  HMODULE Module() const { return m_module.Get(); }

  // The shared block as mapped into this process: the start of the
  // library's ".LRH" section.
  GestureSharedState* Shared() const {
    auto* base = reinterpret_cast<BYTE*>(m_module.Get());
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
      if (std::memcmp(section->Name, ".LRH\0\0\0\0", 8) == 0)
        return reinterpret_cast<GestureSharedState*>(base + section->VirtualAddress);
    }
    return nullptr;
  }

  GestureInstallFn Install = nullptr;
  GestureNoArgFn Uninstall = nullptr;
  GestureNoArgFn IsInstalled = nullptr;
  GestureGetPointFn GetGesturePoint = nullptr;

 private:
  FARPROC Proc(const char* name) { return GetProcAddress(m_module.Get(), name); }
  UniqueModule m_module;
};

// Installs on its own thread, which then runs a message loop (the system
// calls the hook there) until Stop uninstalls on the same thread.
class InstallerThread {
 public:
  explicit InstallerThread(const GestureLibrary& library) : m_library(library) {}
  ~InstallerThread() { Stop(); }
  InstallerThread(const InstallerThread&) = delete;
  InstallerThread& operator=(const InstallerThread&) = delete;

  // Gesture_Install's result; -1 when the thread did not report in time.
  int Start(std::int32_t mode) {
    Stop();
    m_mode = mode;
    m_ready.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_thread.Reset(CreateThread(nullptr, 0, &InstallerThread::Run, this, 0, &m_threadId));
    if (!m_thread || WaitForSingleObject(m_ready.Get(), 30000) != WAIT_OBJECT_0) return -1;
    return m_installResult;
  }

  // Gesture_Uninstall's result on the installing thread (-1: no thread).
  // The thread sets kCallerError before the call; ErrorAfterUninstall is
  // what it saw after it.
  int Stop() {
    if (!m_thread) return -1;
    // The thread's queue exists once it reported in.
    PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(m_thread.Get(), 30000);
    m_thread.Reset();
    return m_uninstallResult;
  }

 private:
  static DWORD WINAPI Run(void* param) {
    auto* self = static_cast<InstallerThread*>(param);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue, before anyone posts to it
    GestureInstallParams params = {0, 0, self->m_mode, self->m_library.Module()};
    self->m_installResult = self->m_library.Install(&params);
    self->m_uninstallResult = -1;
    SetEvent(self->m_ready.Get());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (self->m_installResult) {
      SetLastError(kCallerError);
      self->m_uninstallResult = self->m_library.Uninstall();
      self->m_errorAfterUninstall = GetLastError();
    }
    return 0;
  }

 public:
  static constexpr DWORD kCallerError = 0x5EED;
  DWORD ErrorAfterUninstall() const { return m_errorAfterUninstall; }

 private:

  const GestureLibrary& m_library;
  std::int32_t m_mode = 0;
  UniqueHandle m_ready;
  UniqueHandle m_thread;
  DWORD m_threadId = 0;
  int m_installResult = 0;
  int m_uninstallResult = -1;
  DWORD m_errorAfterUninstall = 0;
};

// Another process that installs the library (helper_gesture_installer).
class PeerInstaller {
 public:
  PeerInstaller() {
    static int count = 0;
    m_tag = L"Local\\qlr_gesture_peer_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++count);
    m_installed.Reset(CreateEventW(nullptr, TRUE, FALSE, (m_tag + L"_installed").c_str()));
    m_stop.Reset(CreateEventW(nullptr, TRUE, FALSE, (m_tag + L"_stop").c_str()));
  }
  // keep: the peer ends without uninstalling when stopped.
  bool Start(std::int32_t mode, bool keep = false) {
    std::wstring args = std::to_wstring(mode) + L" " + m_tag + (keep ? L" keep" : L"");
    return m_installed && m_stop &&
           m_process.Start(qlrtest::BinFile(L"helper_gesture_installer.exe"), args);
  }
  // True once the peer holds the hook; false when it ended or the time passed.
  bool WaitInstalled(DWORD timeoutMs = 30000) {
    HANDLE handles[] = {m_installed.Get(), m_process.Handle()};
    return WaitForMultipleObjects(2, handles, FALSE, timeoutMs) == WAIT_OBJECT_0;
  }
  int Stop(DWORD timeoutMs = 30000) {
    SetEvent(m_stop.Get());
    return m_process.Wait(timeoutMs);
  }
  qlrtest::ChildProcess& Process() { return m_process; }

 private:
  std::wstring m_tag;
  UniqueHandle m_installed;
  UniqueHandle m_stop;
  qlrtest::ChildProcess m_process;
};

// The gesture event as its waiter creates it (auto-reset).
class GestureEvent {
 public:
  GestureEvent() : m_event(CreateEventW(nullptr, FALSE, FALSE, kGestureEventName)) {}
  bool IsValid() const { return m_event.IsValid(); }
  // The hook runs before SendInput returns, so a set event is seen at once;
  // the time-out only covers a busy machine.
  bool WasSet(DWORD timeoutMs = 10000) const {
    return WaitForSingleObject(m_event.Get(), timeoutMs) == WAIT_OBJECT_0;
  }
  bool IsSetNow() const { return WasSet(0); }

 private:
  UniqueHandle m_event;
};

// Puts the pointer at an exact position (the next button event carries it).
// The position is set again while waiting: on a busy display a pointer
// event of an earlier input can still arrive and move it back.
inline bool PlaceCursor(int x, int y) {
  return qlrtest::WaitUntil([&] {
    POINT p;
    if (GetCursorPos(&p) && p.x == x && p.y == y) return true;
    SetCursorPos(x, y);
    return false;
  }, 10000);
}

inline bool SendButton(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return SendInput(1, &input, sizeof(input)) == 1;
}

inline bool ButtonAt(int x, int y, DWORD flags) { return PlaceCursor(x, y) && SendButton(flags); }

// A snapshot of the shared block, comparable as bytes.
inline bool SameState(const GestureSharedState& a, const GestureSharedState& b) {
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}

}  // namespace gesturetest
