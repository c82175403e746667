#include "settings/copy_events.h"

#include <atomic>

#include "foundation/system/security.h"
#include "settings/settings_names.h"

namespace sn = settings_names;

namespace {

std::atomic<HANDLE> g_startCopy{nullptr};
std::atomic<HANDLE> g_endCopy{nullptr};

HANDLE CreateCopyEvent(const wchar_t* name) {
  HANDLE event = nullptr;
  {
    EveryoneSecurity everyone;
    event = CreateEventW(everyone.Get(), FALSE, FALSE, name);
  }
  if (!event) event = CreateEventW(nullptr, FALSE, FALSE, name);
  return event;
}

void CloseCopyEvent(std::atomic<HANDLE>& slot) {
  if (HANDLE event = slot.exchange(nullptr)) CloseHandle(event);
}

bool Pulse(HANDLE event) {
  if (!event) return false;
  bool set = SetEvent(event) != FALSE;
  ResetEvent(event);
  return set;
}

}  // namespace

bool CreateCopyEvents() {
  CloseCopyEvents();
  g_startCopy = CreateCopyEvent(sn::kStartCopyEvent);
  g_endCopy = CreateCopyEvent(sn::kEndCopyEvent);
  return g_startCopy.load() && g_endCopy.load();
}

void CloseCopyEvents() {
  CloseCopyEvent(g_startCopy);
  CloseCopyEvent(g_endCopy);
}

HANDLE GetStartCopyEvent() { return g_startCopy.load(); }
HANDLE GetEndCopyEvent() { return g_endCopy.load(); }
bool PulseStartCopyEvent() { return Pulse(g_startCopy.load()); }
bool PulseEndCopyEvent() { return Pulse(g_endCopy.load()); }

bool PulseNamedEvent(const std::wstring& name) {
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
  if (!event) return false;
  bool set = Pulse(event);
  CloseHandle(event);
  return set;
}
