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
bool IsThemeActiveSafe();
// E_FAIL when visual styles are not available.
HRESULT DrawThemeBackgroundSafe(HTHEME_SAFE theme, HDC dc, int part, int state, const RECT* rect,
                                const RECT* clip);
HRESULT DrawThemeParentBackgroundSafe(HWND hWnd, HDC dc, const RECT* rect);
HRESULT DrawThemeTextSafe(HTHEME_SAFE theme, HDC dc, int part, int state, const wchar_t* text,
                          int length, DWORD flags, DWORD flags2, const RECT* rect);
HRESULT GetThemeBackgroundContentRectSafe(HTHEME_SAFE theme, HDC dc, int part, int state,
                                          const RECT* bounds, RECT* content);
// Draws a caption close button (pushed, hot or normal) themed; false when
// visual styles are off or the theme cannot draw it.
bool DrawThemedCloseButton(HWND hWnd, HDC dc, const RECT* rect, bool pressed, bool hot);
