#include "tray/menu/tray_menu_state.h"

#include <algorithm>

#include "foundation/localization/language_files.h"
#include "tray/menu/tray_menu_ids.h"

namespace {

constexpr int kCaptionChars = 200;
constexpr wchar_t kDelayOpen[] = L" (+";

void Check(HMENU menu, UINT id, bool on) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Enable(HMENU menu, UINT id, bool on) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

std::wstring ItemText(HMENU menu, UINT item, UINT flags) {
  wchar_t text[kCaptionChars + 1] = {};
  int n = GetMenuStringW(menu, item, text, kCaptionChars + 1, flags);
  return std::wstring(text, n > 0 ? n : 0);
}

bool SetItemText(HMENU menu, UINT item, bool byPosition, const std::wstring& text) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STRING;
  std::wstring copy = text;
  mii.dwTypeData = &copy[0];
  return SetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &mii) != FALSE;
}

bool HoldsCommand(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1); }

}  // namespace

std::wstring CaptionWithCounts(const std::wstring& caption, int first, int second) {
  std::wstring text = caption;
  size_t open = text.find(L'[');
  if (open != std::wstring::npos) {
    if (open > 0 && text[open - 1] == L' ') --open;
    text.erase(open);
  }
  return text + L" [" + std::to_wstring(first) + L"/" + std::to_wstring(second) + L"]";
}

std::wstring CaptionWithDelay(const std::wstring& caption, unsigned seconds) {
  // The kept menu still shows the delay of its last opening.
  std::wstring text = caption;
  size_t old = text.find(kDelayOpen);
  if (old != std::wstring::npos) text.erase(old);
  if (seconds == 0) return text;
  return text + kDelayOpen + std::to_wstring(seconds) + L"sec)";
}

std::wstring GetMenuCommandText(HMENU menu, UINT commandId) { return ItemText(menu, commandId, MF_BYCOMMAND); }

bool SetMenuCommandText(HMENU menu, UINT commandId, const std::wstring& text) {
  return SetItemText(menu, commandId, false, text);
}

HMENU FindSubmenuWithCommand(HMENU menu, UINT commandId, HMENU* parent, int* position) {
  int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, pos, TRUE, &mii)) continue;
    if (!mii.hSubMenu) {
      if (mii.wID == commandId) {
        if (parent) *parent = nullptr;
        if (position) *position = -1;
        return menu;
      }
      continue;
    }
    HMENU found = FindSubmenuWithCommand(mii.hSubMenu, commandId, parent, position);
    if (!found) continue;
    // The deepest popup that holds the command directly gets its parent here.
    if (found == mii.hSubMenu) {
      if (parent) *parent = menu;
      if (position) *position = pos;
    }
    return found;
  }
  return nullptr;
}

int FillLanguageSubmenu(HMENU menu, const std::vector<std::wstring>& languages, const std::wstring& current) {
  HMENU languageMenu = FindSubmenuWithCommand(menu, ID_TRAY_LOCALIZE_HOWTO, nullptr, nullptr);
  if (!languageMenu || languages.empty()) return 0;
  while (GetMenuItemCount(languageMenu) > 1) DeleteMenu(languageMenu, 1, MF_BYPOSITION);
  AppendMenuW(languageMenu, MF_SEPARATOR, 0, nullptr);
  // Entries past the id range are left out: their ids would be taken by
  // the history entries and other commands.
  std::vector<std::wstring> listed(languages.begin(),
                                   languages.begin() + std::min<size_t>(languages.size(), kLanguageMaxEntries));
  BuildLanguageMenu(languageMenu, kLanguageFirstId, listed, current);
  return static_cast<int>(listed.size());
}

void ApplyTrayMenuState(HMENU menu, const TrayMenuState& state) {
  Check(menu, ID_TRAY_ENABLE_PHRASE_MENU, state.servicesOn);
  if (HoldsCommand(menu, ID_TRAY_AUTOSTART)) {
    SetMenuCommandText(menu, ID_TRAY_AUTOSTART,
                       CaptionWithDelay(GetMenuCommandText(menu, ID_TRAY_AUTOSTART), state.delaySeconds));
  }
  Check(menu, ID_TRAY_AUTOSTART, state.autoStart);
  Check(menu, ID_TRAY_SOUNDS, state.sounds);
  Check(menu, ID_TRAY_WRITE_LOG, state.logOpen);
  Check(menu, ID_TRAY_PANE_ON_START, state.paneOnStart);
  Check(menu, ID_TRAY_HISTORY_SAVE_ON_EXIT, state.saveHistoryOnExit);
  Check(menu, ID_TRAY_MENU_ON_MOUSE_EVENT, false);
  Enable(menu, ID_TRAY_MENU_ON_MOUSE_EVENT, false);
  Enable(menu, ID_TRAY_PHRASE_FROM_CLIPBOARD, state.clipboardHasText);
  Enable(menu, ID_TRAY_HISTORY_REKEEP, state.historyRunning);
  Enable(menu, ID_TRAY_HISTORY_CLEAR, state.historyCount > 0);
  Enable(menu, ID_TRAY_RUN_AS_ADMIN, !state.isAdmin);
  if (HoldsCommand(menu, ID_TRAY_REREAD_PHRASES)) {
    SetMenuCommandText(menu, ID_TRAY_REREAD_PHRASES,
                       CaptionWithCounts(GetMenuCommandText(menu, ID_TRAY_REREAD_PHRASES), state.enabledNodes,
                                         state.totalNodes));
  }
  HMENU parent = nullptr;
  int position = -1;
  if (FindSubmenuWithCommand(menu, ID_TRAY_HISTORY_KEEP, &parent, &position) && parent) {
    SetItemText(parent, position, true,
                CaptionWithCounts(ItemText(parent, position, MF_BYPOSITION), state.historyCount, state.historyMax));
    CheckMenuItem(parent, position, MF_BYPOSITION | (state.historyRunning ? MF_CHECKED : MF_UNCHECKED));
  }
  Check(menu, ID_TRAY_HISTORY_KEEP, state.historyRunning);
}
