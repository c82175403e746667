// What the tray menu shows of the program's state when it opens: checks,
// enabled items, captions with counts, and the lists of languages and
// clipboard-history entries. Free functions over a popup menu, so that the
// tray window and its tests feed them the same way.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct TrayMenuState {
  bool servicesOn = false;
  bool autoStart = false;
  bool sounds = false;
  bool logOpen = false;
  bool paneOnStart = false;
  bool saveHistoryOnExit = false;
  bool clipboardHasText = false;
  bool historyRunning = false;
  bool isAdmin = false;
  unsigned delaySeconds = 0;  // the autostart delay shown beside Start With Windows
  int enabledNodes = 0;
  int totalNodes = 0;
  int historyCount = 0;
  int historyMax = 0;
};

// Checks, enables and captions every command of the state found in menu or
// its submenus; commands the menu lacks are left alone. Running it again
// on the same menu changes nothing more.
void ApplyTrayMenuState(HMENU menu, const TrayMenuState& state);

// The caption without its old count (from the first "[" on, with the blank
// before it) and with " [first/second]" appended.
std::wstring CaptionWithCounts(const std::wstring& caption, int first, int second);
// The caption with " (+<seconds>sec)" in place of an old one; for 0 without
// any.
std::wstring CaptionWithDelay(const std::wstring& caption, unsigned seconds);

// The popup that directly holds the command, searched depth first, with
// its parent menu and its position there (both null / -1 for menu itself).
HMENU FindSubmenuWithCommand(HMENU menu, UINT commandId, HMENU* parent, int* position);

// Fills the submenu holding the localisation how-to: its first item stays,
// a separator and one item per language file follow with ids from
// kLanguageFirstId, at most kLanguageMaxEntries of them. Returns how many
// entries were listed; 0 (and the submenu untouched) for an empty list.
int FillLanguageSubmenu(HMENU menu, const std::vector<std::wstring>& languages,
                        const std::wstring& current);

// The menu's caption of a command (at most 200 characters); empty when missing.
std::wstring GetMenuCommandText(HMENU menu, UINT commandId);
bool SetMenuCommandText(HMENU menu, UINT commandId, const std::wstring& text);
