// The two threads that turn the tray program's and a second editor's pulses
// into messages for the main frame. Each waits on {stop event, its event};
// the stop event (the instance event) or any failed wait ends it.
#pragma once
#include <windows.h>

// Opens "Local\Quillora_OptionsChanged"; when it exists a thread sends
// message to window on each pulse. False (no thread) when the tray program
// did not make the event.
bool StartOptionsWatcher(HWND window, UINT message, HANDLE stopEvent);
// Creates "Local\Quillora_AddPhraseFromCB" (auto reset, open to every user)
// and posts message to window on each pulse. False when it cannot be made.
bool StartAddFromClipboardWatcher(HWND window, UINT message, HANDLE stopEvent);

// Watcher threads still running (for tests and diagnostics).
long GetRunningCoopWatcherCount();
