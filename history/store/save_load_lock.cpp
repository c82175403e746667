#include "history/store/save_load_lock.h"

#include "history/store/history_names.h"

namespace {

std::mutex g_saveLoad;

HANDLE SaveLoadEvent() {
  // Manual reset, signalled while nobody saves or loads; kept for the process.
  static HANDLE event = CreateEventW(nullptr, TRUE, TRUE, history_names::kSaveLoadEvent);
  return event;
}

}  // namespace

CSaveLoadLock::CSaveLoadLock(bool waitForEvent) : m_lock(g_saveLoad), m_event(SaveLoadEvent()) {
  if (!m_event) return;
  if (waitForEvent) WaitForSingleObject(m_event, INFINITE);
  ResetEvent(m_event);
}

CSaveLoadLock::~CSaveLoadLock() {
  if (m_event) SetEvent(m_event);
}
