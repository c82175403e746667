// The kernel objects by which starts of the tray program find each other:
// the instance event of the running (first) instance, the automode event of
// a start that waits at logon, and the hand-over events a second start
// signals. Also the autostart entry.
#pragma once
#include <windows.h>

#include <string>

const wchar_t* GetInstanceEventName();
const wchar_t* GetAutomodeEventName();

// A first instance runs (its instance event exists).
bool IsFirstInstanceRunning();

// Creates the instance event (manual reset, not signalled). Null when it
// cannot be created; alreadyExisted tells that another start created it
// first, in which case that start is the running instance.
HANDLE CreateInstanceEvent(bool* alreadyExisted = nullptr);
void SetInstanceEvent(HANDLE event);
HANDLE GetInstanceEvent();

// The automode event exists only while an "autoload" start waits.
HANDLE CreateAutomodeEvent();
// Ends the wait of such a start; false when none waits.
bool SignalAutomodeEvent();

// Opens, sets and closes a named event; false when it does not exist.
bool SignalNamedEvent(const wchar_t* name);
bool SignalExitEvent();
bool SignalAlreadyWorkEvent();
bool SignalEditEvent();
bool SignalShowMenuEvent();

// Writes or deletes the Run value "Quillora": the program's path and
// " /autoload".
bool SetAutoStartEntry(bool set);
std::wstring GetAutoStartEntryData();
