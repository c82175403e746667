// The tray menu (menu resource kTrayMenuResource) and its command ids. The
// numbers are fixed: the history pane's menus, the phrase menu and the
// language files name the same commands.
#pragma once
#include <windows.h>

constexpr UINT kTrayMenuResource = 128;

constexpr WORD ID_TRAY_ENABLE_PHRASE_MENU = 32770;
constexpr WORD ID_TRAY_AUTOSTART = 32774;
constexpr WORD ID_TRAY_REREAD_PHRASES = 32775;
constexpr WORD ID_TRAY_LOCALIZE_HOWTO = 32776;
constexpr WORD ID_TRAY_HOME_PAGE = 32781;
constexpr WORD ID_TRAY_FORUM = 32782;
constexpr WORD ID_TRAY_MAIL_TO_US = 32783;
constexpr WORD ID_TRAY_SUPPORT = 32784;
constexpr WORD ID_TRAY_PHRASE_FROM_CLIPBOARD = 32785;
constexpr WORD ID_TRAY_HISTORY_KEEP = 32786;
constexpr WORD ID_TRAY_HISTORY_CLEAR = 32789;
constexpr WORD ID_TRAY_NEWS_FEED = 32790;
constexpr WORD ID_TRAY_HISTORY_PANE = 32792;
constexpr WORD ID_TRAY_HISTORY_SAVE_ON_EXIT = 32809;
constexpr WORD ID_TRAY_WRITE_LOG = 32815;
constexpr WORD ID_TRAY_MENU_ON_MOUSE_EVENT = 32816;
constexpr WORD ID_TRAY_SOUNDS = 32817;
constexpr WORD ID_TRAY_VIDEO = 32818;
constexpr WORD ID_TRAY_HISTORY_REKEEP = 32819;
constexpr WORD ID_TRAY_QUICK_START = 32823;
constexpr WORD ID_TRAY_FAQ = 32825;
constexpr WORD ID_TRAY_PANE_ON_START = 32827;
constexpr WORD ID_TRAY_RUN_AS_ADMIN = 32829;
constexpr WORD ID_TRAY_OPEN_SETTINGS_FILE = 32830;
constexpr WORD ID_TRAY_SOCIAL_PAGE = 32831;
constexpr WORD ID_TRAY_WELCOME = 32832;
constexpr WORD ID_TRAY_SHOW_TRAY_MENU = 32833;  // not in the menu: opens it at the cursor

// Language files listed in the Language submenu; entry 0 is the built-in
// language.
constexpr UINT kLanguageFirstId = 33000;
constexpr int kLanguageMaxEntries = 50;
constexpr UINT kLanguageLastId = kLanguageFirstId + kLanguageMaxEntries - 1;

// Clipboard-history entries of the Clipboard History submenu, newest first.
constexpr UINT kHistoryEntryFirstId = 34000;
constexpr int kHistoryEntryMax = 100;
constexpr UINT kHistoryEntryLastId = kHistoryEntryFirstId + kHistoryEntryMax - 1;
