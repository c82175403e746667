// Tooltip titles: the control keeps at most 99 characters of a title.
#pragma once
#include <windows.h>

#include <string>

// At most 97 characters of the title, then "…" when it was longer.
std::wstring MakeToolTipTitle(const std::wstring& title);
// TTM_SETTITLE with the shortened title; icon: TTI_ value or icon handle.
BOOL SetToolTipTitle(HWND tooltip, const std::wstring& title, UINT_PTR icon);
