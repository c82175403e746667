// Whether the program's desktop is the one that receives input: the hotkey
// road refuses to open the phrase menu on a locked or switched desktop.
#pragma once
#include <windows.h>

bool IsCurrentDesktopActive();
// Same handle, or two desktops whose names are equal without regard to case.
bool DesktopsAreSame(HDESK first, HDESK second);
