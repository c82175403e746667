// Message and command ids through which the parts of the tray program and
// the other programs of the suite reach the tray window. The values are
// fixed: other processes and threads send them.
#pragma once
#include <windows.h>

// Private messages.
constexpr UINT WM_TRAY_INSTALL_ICON = 32769;
constexpr UINT WM_TRAY_NOTIFY = 32770;
constexpr UINT WM_TRAY_QUERY = 32771;
constexpr UINT WM_TRAY_EDITOR_STATE = 32772;
constexpr UINT WM_TRAY_UPDATE_RESULT = 32773;
constexpr UINT WM_TRAY_EDITOR_ENDED = 32774;
constexpr UINT WM_TRAY_COMMAND_FROM_SELF = 32780;  // the phrase menu's choice: id or -1 / target
constexpr UINT WM_WAIT_QUERY_COMPLETE_ERROR = 32786;  // the query wait thread ended on an error
constexpr UINT WM_TRAY_SHOW_MENU = 32788;
constexpr UINT WM_TRAY_LANGUAGE_CHANGED = 32790;

// Commands (WM_COMMAND wParam).
constexpr WORD ID_TRAY_START_EDITOR = 32772;
constexpr WORD ID_TRAY_CHECK_FOR_UPDATES = 32791;
constexpr WORD ID_TRAY_EXIT = 57665;

// wParam of the registered instance message from a second start.
constexpr WPARAM kInstanceAlreadyWorking = 0;
constexpr WPARAM kInstanceExit = 1;
// How long the exit notice shows before the program ends.
constexpr DWORD kExitNoticeMs = 500;
