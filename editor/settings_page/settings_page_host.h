// What the settings page needs of the editor around it. The main frame
// fills it in when it creates the page; a field left empty makes the page
// do without (or, for the tray hotkey, read the shared settings area).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "editor_settings/hotkey_record.h"

class CSettingsPage;

struct SettingsPageHost {
  // The main window: it registers the tested hotkey, gets SC_CLOSE from
  // "Save And Close" and the "Open Log File" command.
  HWND mainWindow = nullptr;
  // The tray program whose Run value the autostart box writes; empty: the
  // "Quillora.exe" beside the running program.
  std::wstring trayProgramPath;
  // The tray program's hotkey; false when it does not run.
  std::function<bool(HotkeyRecord& hotkey)> readMainHotkey;
  // Asks the tray program for an update check (the link).
  std::function<void()> requestUpdateCheck;
  // Switches the frame's menu tooltips on and off around the popup.
  std::function<void(bool on)> menuTips;
  // Tells every document view (the menu font changed, ...).
  std::function<void(LPARAM hint)> updateViews;
  // "Hide Settings".
  std::function<void()> hideSettings;
  // Registers the page with the document (add) or takes it off; the
  // document then calls CSettingsPage::OnDocumentUpdate.
  std::function<void(CSettingsPage* page, bool add)> listen;
};

// Document hints the page takes or gives.
constexpr LPARAM kHintLanguageChanged = 4;
constexpr LPARAM kHintMenuFontChanged = 19;
// The main window's "Open Log File" command.
constexpr UINT kCommandOpenLogFile = 32829;
