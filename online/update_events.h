// The named events of the update machinery that the tray program owns, the
// start of the welcome program, and the date arithmetic of the update
// schedule.
#pragma once
#include <windows.h>

// "Local\Quillora_OptionsChanged" (auto reset), created on the first call
// and kept for the process's life; null when it cannot be created (the next
// call tries again).
HANDLE GetOptionsChangedEvent();
// Sets and at once resets that event from a short thread, so that the
// editor reloads the options; true when the thread started.
bool PulseOptionsChanged();
// The same set and reset, done on the calling thread.
void PulseOptionsChangedNow();
inline bool PulseOptionsChangedEvent() { return PulseOptionsChanged(); }

// Name of the event through which the editor asks for an update check.
const wchar_t* GetCommandCheckForUpdatesEventName();
// Watches that event (manual reset) until stopEvent is set; each time it is
// set, the owner receives WM_COMMAND commandId. False when the watcher
// could not be started.
bool StartCommandCheckForUpdatesWatcher(HWND owner, UINT commandId, HANDLE stopEvent);

// Starts the welcome program beside this one, with "/auto" when autoStart;
// true when the shell started it.
bool RunWelcomeProgram(HWND parent, bool autoStart);
inline bool StartWelcomeProgram(HWND parent, bool autoStart) {
  return RunWelcomeProgram(parent, autoStart);
}

// Adds whole (or fractional, or negative) days to a time, keeping its
// milliseconds; false when a conversion fails (time left unchanged).
bool AddDaysToSystemTime(SYSTEMTIME& time, double days);
bool SystemTimeToLocalSystemTime(const SYSTEMTIME& utc, SYSTEMTIME& local);

// Closes the cached event at the end of the program's run.
void ReleaseOptionsChangedEvent();
