// The main frame's side of the settings pane: its creation, the page's
// host and the show/hide command.
#include "editor/app/editor_access.h"
#include "editor/app/editor_app.h"
#include "editor/app/editor_ids.h"
#include "editor/coop/coop_signals.h"
#include "editor/coop/program_paths.h"
#include "editor/coop/settings_area_reader.h"
#include "editor/frame/main_frame.h"
#include "foundation/logging/log.h"
#include "platform/mfc/doc/view.h"

SettingsPageHost CMainFrame::MakeSettingsPageHost() {
  SettingsPageHost host;
  host.mainWindow = m_hWnd;
  host.trayProgramPath = GetMainExePath();
  host.readMainHotkey = [](HotkeyRecord& hotkey) {
    WORD key = 0, modifiers = 0;
    bool doubled = false;
    if (!ReadMainHotkey(&key, &modifiers, &doubled)) return false;
    hotkey = HotkeyRecord();
    hotkey.key = key;
    hotkey.modifiers = modifiers;
    hotkey.flags = doubled ? HotkeyRecord::kDoublePress : 0;
    return true;
  };
  const HWND frame = m_hWnd;
  host.requestUpdateCheck = [frame] { RequestUpdateCheck(frame); };
  host.updateViews = [](LPARAM hint) { UpdateDocViews(nullptr, hint, 0); };
  // The page's popup is tracked by the page; the provider hears its menu
  // messages through the frame.
  host.menuTips = [this](bool on) {
    if (on)
      m_menuTip.SetDisabled(false);
    else
      m_menuTip.Deactivate();
  };
  host.hideSettings = [this] {
    if (m_wndSettings.m_hWnd && m_wndSettings.IsVisible()) OnViewSettings();
  };
  // The bar is the document's listener and hands hint 4 on to the page.
  return host;
}

BOOL CMainFrame::CreateSettingsPane(DWORD frameCreated) {
  if (!m_wndSettings.CreatePane(this, ID_VIEW_SETTINGS, MakeSettingsPageHost(), frameCreated)) {
    LogError(L"CMainFrame: the settings pane cannot be created");
    return FALSE;
  }
  CQLREditorApp* app = GetEditorApp();
  if (app && app->m_bHideSettings) ShowControlBar(&m_wndSettings, FALSE, FALSE);
  return TRUE;
}

void CMainFrame::OnViewSettings() {
  if (!m_wndSettings.m_hWnd) return;
  const bool hide = m_wndSettings.IsVisible() != FALSE;
  // A hidden window keeps no focus: it goes back to the frame's view.
  const bool hadFocus = hide && m_wndSettings.IsFocusInside();
  ShowControlBar(&m_wndSettings, hide ? FALSE : TRUE, FALSE);
  RecalcLayout();
  if (m_wndPhrases.m_hWnd && m_wndPhrases.IsVisible()) {
    CRect client;
    m_wndPhrases.GetClientRect(&client);
    m_wndPhrases.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
  }
  if (hadFocus) {
    if (CView* view = GetActiveView()) view->SetFocus();
    else SetFocus();
  }
}
