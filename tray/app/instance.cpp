#include "tray/app/instance.h"

#include "foundation/files/paths.h"
#include "foundation/files/program_names.h"
#include "foundation/system/handles.h"
#include "foundation/system/registry.h"
#include "foundation/system/security.h"
#include "settings/settings_names.h"
#include "tray/app/command_line.h"

namespace sn = settings_names;

namespace {

constexpr wchar_t kInstanceEvent[] = L"9DDB575E-846B-4600-880F-98319D699611";
constexpr wchar_t kAutomodeEvent[] = L"9DDB575E-846B-4600-880F-98319D699612";
constexpr wchar_t kAutoStartValue[] = L"Quillora";

HANDLE CreateSharedEvent(const wchar_t* name, bool manualReset, bool* alreadyExisted) {
  EveryoneSecurity everyone;
  HANDLE event = CreateEventW(everyone.Get(), manualReset, FALSE, name);
  if (!event && everyone.Get()) event = CreateEventW(nullptr, manualReset, FALSE, name);
  if (alreadyExisted) *alreadyExisted = event && GetLastError() == ERROR_ALREADY_EXISTS;
  return event;
}

}  // namespace

const wchar_t* GetInstanceEventName() { return kInstanceEvent; }
const wchar_t* GetAutomodeEventName() { return kAutomodeEvent; }

bool IsFirstInstanceRunning() {
  UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, kInstanceEvent));
  return event.IsValid();
}

HANDLE CreateInstanceEvent(bool* alreadyExisted) {
  return CreateSharedEvent(kInstanceEvent, true, alreadyExisted);
}

void SetInstanceEvent(HANDLE event) { SetFirstInstanceEvent(event); }
HANDLE GetInstanceEvent() { return GetFirstInstanceEvent(); }

HANDLE CreateAutomodeEvent() { return CreateSharedEvent(kAutomodeEvent, false, nullptr); }

bool SignalAutomodeEvent() {
  UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, kAutomodeEvent));
  return event && SetEvent(event.Get());
}

bool SignalNamedEvent(const wchar_t* name) {
  UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, name));
  return event && SetEvent(event.Get());
}

bool SignalExitEvent() { return SignalNamedEvent(sn::kExitEvent); }
bool SignalAlreadyWorkEvent() { return SignalNamedEvent(sn::kAlreadyWorkEvent); }
bool SignalEditEvent() { return SignalNamedEvent(sn::kEditEvent); }
bool SignalShowMenuEvent() { return SignalNamedEvent(sn::kShowMenuEvent); }

std::wstring GetAutoStartEntryData() {
  return GetModulePath() + L" /" + GetSwitchName(kSwitchAutoload);
}

bool SetAutoStartEntry(bool set) {
  return SetAutoStart(set, kAutoStartValue, set ? GetAutoStartEntryData().c_str() : nullptr);
}
