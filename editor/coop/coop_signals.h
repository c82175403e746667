// The editor's pulses to the tray program and the finder of a running
// editor. Every event the other side creates is opened, never created:
// when nobody made it, the pulse is dropped.
#pragma once
#include <windows.h>

#include <string>

// Asks every top-level window the running-editor question (each gets
// kFindEditorTimeoutMs, hung ones are skipped); the first that answers
// non-zero is the editor. With activate it is brought to the front (and
// restored when minimised). The window found, or null.
HWND FindRunningEditorWindow(UINT message, UINT timeoutMs);
bool FindRunningEditor(UINT message, bool activate);

// Opens, sets and closes "Local\Quillora_CoopClientEditor".
bool SignalCoopClient();
// Opens the tray program's ended event, sets and at once resets it.
bool SignalEditorEnded();
std::wstring GetEditorEndedEventName();
// Sets the tray program's check-for-updates event; without a tray program
// a warning box "FAIL" is shown (owned by owner). False when not set.
bool RequestUpdateCheck(HWND owner);
// Sets the add-from-clipboard event of a running editor; false when there
// is none.
bool PulseAddPhraseFromCB();
