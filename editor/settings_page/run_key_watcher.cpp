#include "editor/settings_page/run_key_watcher.h"

namespace {

struct WatcherStart {
  HANDLE stop;  // the thread's own duplicate; the thread closes it
  HWND window;
  UINT message;
};

DWORD WINAPI WatchRunKey(void* argument) {
  WatcherStart start = *static_cast<WatcherStart*>(argument);
  delete static_cast<WatcherStart*>(argument);
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS) {
    ::CloseHandle(start.stop);
    return 2;
  }
  // The watch is armed again before the window is told, and the window reads
  // the value when told: a change made between a notification and the next
  // arming is read, not lost. The first arming is told too, for changes made
  // before the thread ran.
  DWORD result = 0;
  for (;;) {
    HANDLE changed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!changed) {
      result = 1;
      break;
    }
    ::RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
    if (!::IsWindow(start.window)) {
      ::CloseHandle(changed);
      break;
    }
    ::PostMessageW(start.window, start.message, 0, 0);
    // The stop event first: it wins over a change signalled with it.
    HANDLE waits[2] = {start.stop, changed};
    DWORD which = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    ::CloseHandle(changed);
    if (which != WAIT_OBJECT_0 + 1) break;
  }
  ::RegCloseKey(key);
  ::CloseHandle(start.stop);
  return result;
}

}  // namespace

RunKeyWatcher::~RunKeyWatcher() {
  Stop();
  if (m_thread) {
    ::WaitForSingleObject(m_thread, 5000);
    ::CloseHandle(m_thread);
  }
  if (m_stop) ::CloseHandle(m_stop);
}

bool RunKeyWatcher::Start(HWND window, UINT message) {
  if (m_thread) return false;
  if (!m_stop) m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!m_stop) return false;
  ::ResetEvent(m_stop);
  HANDLE own = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), m_stop, ::GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
    return false;
  auto* start = new WatcherStart{own, window, message};
  m_thread = ::CreateThread(nullptr, 0, WatchRunKey, start, 0, nullptr);
  if (!m_thread) {
    ::CloseHandle(own);
    delete start;
    return false;
  }
  return true;
}

void RunKeyWatcher::Stop() {
  if (m_stop) ::SetEvent(m_stop);
}

bool RunKeyWatcher::IsRunning() const {
  return m_thread && ::WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

DWORD RunKeyWatcher::Wait(DWORD milliseconds) {
  if (!m_thread) return 0;
  if (::WaitForSingleObject(m_thread, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  ::GetExitCodeThread(m_thread, &code);
  return code;
}
