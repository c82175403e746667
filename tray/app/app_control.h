// Starting the editor and restarting the program as administrator, the
// administrators test, message boxes and the system's text of a failure.
#pragma once
#include <windows.h>

#include <string>

// IsRunningAsAdmin, IsNotRunningAsAdmin and their test seam.
#include "foundation/system/security.h"

// wParam of the editor-start thread's message to its window.
constexpr WPARAM kEditorStartFailed = 0;
constexpr WPARAM kEditorStarted = 1;
constexpr WPARAM kEditorEnded = 2;

// " /addfromcb", " /firstrun", " /addseltext" for each flag set, in that order.
std::wstring BuildEditorArguments(bool bAddFromClipboard, bool bFirstRun, bool bAddSelText);

// Starts the editor on a worker thread that sends (message, kEditorStarted)
// to window once it runs, (message, kEditorEnded) when it ended, or
// (message, kEditorStartFailed). False when the thread cannot be made.
bool StartEditorThread(HANDLE stopEvent, HWND window, UINT message, bool bAddFromClipboard,
                       bool bFirstRun, const std::wstring& text);

// The process handle (the caller closes it) or null.
HANDLE ShellExecuteProcess(const std::wstring& path, const std::wstring& arguments, bool bRunAs);
HANDLE CreateProcessSimple(const std::wstring& path, const std::wstring& arguments);

// Starts the program again with administrator rights and ends this one.
bool RestartAsAdministrator(HWND window);

// After a new version's first start: writes the autostart entry when the
// program still runs a second later and does not run from a removable or
// network drive.
void StartAutoStartCheck(HWND window, UINT message);
// The Run value "Quillora" exists.
bool IsOwnAutoStartSet();

// The shell icons of the editor's and the welcome program's files; null
// when the file is missing. The caller destroys them.
HICON GetEditorIcon();
HICON GetWelcomeIcon();

// MessageBoxW with the product name as title, always on top.
int ShowMessageBox(HWND window, UINT type, const std::wstring& text);

// The last error at construction (which is then cleared), as text.
class CLastErrorText {
 public:
  CLastErrorText() : m_code(GetLastError()) { SetLastError(0); }
  explicit CLastErrorText(DWORD code) : m_code(code) {}
  DWORD Code() const { return m_code; }
  std::wstring Format() const;

 private:
  DWORD m_code;
};

// Asks the tray window for its clipboard handler and starts the handler's
// three-second block; false without a running history.
bool BlockClipboardCaptureAsync();
