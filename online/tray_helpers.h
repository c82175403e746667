// Small helpers of the tray program: paths of the suite's files, the
// administrators tests, cached system objects, the opening of Settings.ini,
// and the watcher that tells the tray window when the editor has finished.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/localization/language_files.h"  // GetClientSuffix
#include "foundation/system/system_helpers.h"      // DayOfWeek, GetSizeAllCursor

std::wstring GetEditorPath();      // program folder + the editor's file name
std::wstring GetModuleFilePath();  // the running program file; empty on failure
std::wstring GetCoreDllPath();     // program folder + "Quillora.dll"
std::wstring GetLogFilePath();
std::wstring FormatIntToString(int n);
// The runtime library "Mfc42.DLL" as the system's search finds it, or
// "Not found"; always true.
bool GetMfcRuntimePath(std::wstring& path);

// Whether the administrators-group test could be made; the answer in member.
bool CheckUserIsAdmin(bool& member);
// True only when the test succeeded and the user is a member.
bool IsUserAdmin();

// False when the desktop composition cannot be asked or is off.
bool IsDwmCompositionEnabled();

// Opens Settings.ini with its associated program; on failure shows the
// system's error text. The caller's last error is kept either way.
bool OpenSettingsFile(HWND window);

// Posts message (wParam and lParam 0) to window each time the editor
// signals that it has finished, until stopEvent is set.
struct EditorFinishedRecord {
  HANDLE stopEvent = nullptr;
  HWND window = nullptr;
  UINT message = 0;
};
bool StartEditorFinishedWatcher(const EditorFinishedRecord& record);
