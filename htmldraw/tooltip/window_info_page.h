// The page the tooltip shows in window-information mode: the window under
// the cursor, its parent and the cursor position, as markup.
#pragma once
#include <windows.h>

#include <string>

// The deepest visible window at a screen point, disabled ones included.
HWND WindowUnderPoint(POINT point);

std::wstring BuildWindowInfoPage(HWND window, POINT cursor, bool hasTool);
