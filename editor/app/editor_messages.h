// The editor's registered window messages, registered once when the program
// starts and kept in process-wide variables.
#pragma once
#include <windows.h>

extern const UINT WM_QLR_RUNNING_EDITOR;   // answers 1: this window is the editor
extern const UINT WM_QLR_OPTIONS_CHANGED;  // reload the editor settings
extern const UINT WM_QLR_ADD_FROM_CB;      // add a phrase from the clipboard
extern const UINT WM_QLR_ADD_FROM_SELTEXT; // add a phrase from the selected text
