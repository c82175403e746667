// How the other parts of the tray program reach the tray window and each
// other: private messages, information texts for the about dialog, the
// event registries, and a direct start of the editor.
#pragma once
#include <windows.h>

#include <string>

#include "online/tray_helpers.h"  // GetMfcRuntimePath

// The registered message that carries an information text to the tray
// window (lParam: the text).
UINT GetTrayPaneMessage();

LRESULT SendTrayCommand_Ext32779();
LRESULT SendTrayCommand_Ext32785();
LRESULT SendTrayWndPaneMessage(const std::wstring& text);

// Every registered listener / observer but the sender.
void NotifyAppEvent(const void* sender, int code, int value);
int BroadcastToObservers(const void* sender, int a, int b);

// Starts the editor with the shell, maximised; with bShowError a failure is
// also shown to the user.
bool StartEditorDirect(bool bShowError, bool bAddFromClipboard, bool bFirstRun,
                       const std::wstring& text);

