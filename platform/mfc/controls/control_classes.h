// Registration of the system control classes the wrappers create. Each
// family is registered once per process, before its first window.
#pragma once
#include <windows.h>

// InitCommonControlsEx for the given ICC_ flags; false (logged) on failure.
bool AfxEnsureCommonControls(DWORD iccFlags);
// Loads the Rich Edit 2.0 library once and keeps it for the process.
bool AfxEnsureRichEdit();
