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

// Private messages of the editor, the watchers, the phrase menu and the
// other windows of the program.
// The history caption into a buffer of wParam characters at lParam, from
// this thread only; the caption's length.
constexpr UINT WM_TRAY_HISTORY_CAPTION = 32775;
constexpr UINT WM_TRAY_SHOW_PANE = 32776;               // wParam 1: show and activate the pane
constexpr UINT WM_TRAY_START_CLIPBOARD_HISTORY = 32778;  // from the delayed start thread
constexpr UINT WM_TRAY_GESTURE_QUERY = 32779;       // always 0
constexpr UINT WM_TRAY_IS_MENU_FREE = 32781;        // 1 unless the phrase menu is shown
constexpr UINT WM_TRAY_UPDATE_DUE = 32782;          // the scheduled update check is due
constexpr UINT WM_TRAY_CLIPBOARD_HANDLER = 32783;   // the clipboard handler object or 0
constexpr UINT WM_TRAY_REMOVE_BALLOON = 32784;
constexpr UINT WM_TRAY_HIDE_MENU_TIP = 32785;
constexpr UINT WM_TRAY_RIGHT_MENU_COMMAND = 32789;  // wParam: action; lParam: command id

// The control id of the clipboard handler window, the tray window's child.
constexpr UINT kClipboardHandlerControlId = 1333;

// Timers of the tray window; each runs once per start.
constexpr UINT_PTR kTimerPaneBlink = 1244;
constexpr UINT kPaneBlinkDelayMs = 1000;
constexpr UINT_PTR kTimerRemoveBalloon = 1245;
constexpr UINT_PTR kTimerShowMenu = 1247;
constexpr UINT kShowMenuDelayMs = 500;

// The id under which the tray window registers its hotkey.
constexpr int kMainHotkeyId = 1;

// Commands (WM_COMMAND wParam).
constexpr WORD ID_TRAY_START_EDITOR = 32772;
constexpr WORD ID_TRAY_CHECK_FOR_UPDATES = 32791;
constexpr WORD ID_TRAY_EXIT = 57665;
constexpr WORD ID_TRAY_ABOUT = 57664;
constexpr WORD ID_TRAY_PANE_SHOW_MENU = 32844;  // from the history pane's caption menu

// wParam of the registered instance message from a second start.
constexpr WPARAM kInstanceAlreadyWorking = 0;
constexpr WPARAM kInstanceExit = 1;

// Actions of WM_TRAY_RIGHT_MENU_COMMAND.
constexpr WPARAM kRightActionCopy = 0;
constexpr WPARAM kRightActionOpenHistoryLink = 1;
constexpr WPARAM kRightActionOpenHistoryFile = 2;
constexpr WPARAM kRightActionOpenHistoryWith = 3;
constexpr WPARAM kRightActionSearchFirst = 4;  // web search engines 4..7
constexpr WPARAM kRightActionSearchLast = 7;
// Command ids from here on are clipboard-history items (id - 2000).
constexpr int kHistoryCommandBase = 2000;
// How long the exit notice shows before the program ends.
constexpr DWORD kExitNoticeMs = 500;
