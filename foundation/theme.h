// Visual styles bound at run time: every call finds UxTheme.DLL again among
// the modules already loaded in the process (the program never loads it),
// so a system without visual styles simply gets the neutral results.
#pragma once
#include <windows.h>

typedef HANDLE HTHEME_SAFE;

bool IsAppThemedSafe();
HTHEME_SAFE OpenThemeDataSafe(HWND hWnd, const wchar_t* classList);
bool CloseThemeDataSafe(HTHEME_SAFE theme);
// E_FAIL when visual styles are not available.
HRESULT SetWindowThemeSafe(HWND hWnd, const wchar_t* appName, const wchar_t* idList);
// Draws a caption close button (pushed, hot or normal) themed; false when
// visual styles are off or the theme cannot draw it.
bool DrawThemedCloseButton(HWND hWnd, HDC dc, const RECT* rect, bool pressed, bool hot);
