// The two events with which the clipboard parts of the tray program mark
// their own clipboard writes, so that the history does not record them.
#pragma once
#include <windows.h>

#include <string>

bool CreateCopyEvents();
void CloseCopyEvents();
HANDLE GetStartCopyEvent();
HANDLE GetEndCopyEvent();
bool PulseStartCopyEvent();
bool PulseEndCopyEvent();
// Opens an existing event, sets and resets it; false when it does not exist.
bool PulseNamedEvent(const std::wstring& name);
