// The tray menu's commands: quick settings, the clipboard history, the
// services, the web pages and the programs of the suite.
#include "foundation/logging/log.h"
#include "foundation/system/sounds.h"
#include "history/capture/clipboard_handler.h"
#include "online/tray_helpers.h"
#include "online/update_events.h"
#include "online/web_links.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tray/app/app_control.h"
#include "tray/app/instance.h"
#include "tray/icon/tray_icon.h"
#include "tray/menu/tray_menu_ids.h"
#include "tray/window/tray_window.h"

namespace {

// The pages of the Help and Language submenus.
struct WebPageCommand {
  WORD id;
  std::wstring (*address)();
};

const WebPageCommand kWebPages[] = {
    {ID_TRAY_HOME_PAGE, GetHomePageURL},       {ID_TRAY_QUICK_START, GetQuickStartURL},
    {ID_TRAY_FORUM, GetForumURL},              {ID_TRAY_FAQ, GetFAQURL},
    {ID_TRAY_NEWS_FEED, GetNewsFeedURL},       {ID_TRAY_VIDEO, GetVideoPageURL},
    {ID_TRAY_SOCIAL_PAGE, GetSocialPageURL},   {ID_TRAY_SUPPORT, GetSupportPageURL},
    {ID_TRAY_LOCALIZE_HOWTO, GetLocalizationHowToURL},
};

}  // namespace

const CQLRTrayWnd::TrayCommand CQLRTrayWnd::kTrayCommands[] = {
    {ID_TRAY_RUN_AS_ADMIN, &CQLRTrayWnd::OnRunAsAdministrator},
    {ID_TRAY_MAIL_TO_US, &CQLRTrayWnd::OnMailToUs},
    {ID_TRAY_WELCOME, &CQLRTrayWnd::OnStartWelcome},
    {ID_TRAY_AUTOSTART, &CQLRTrayWnd::OnToggleAutoStart},
    {ID_TRAY_SOUNDS, &CQLRTrayWnd::OnToggleSounds},
    {ID_TRAY_WRITE_LOG, &CQLRTrayWnd::OnToggleWriteLog},
    {ID_TRAY_MENU_ON_MOUSE_EVENT, &CQLRTrayWnd::OnMenuOnMouseEvent},
    {ID_TRAY_PANE_ON_START, &CQLRTrayWnd::OnTogglePaneOnStart},
    {ID_TRAY_REREAD_PHRASES, &CQLRTrayWnd::OnRereadPhrases},
    {ID_TRAY_OPEN_SETTINGS_FILE, &CQLRTrayWnd::OnOpenSettingsFile},
    {ID_TRAY_HISTORY_KEEP, &CQLRTrayWnd::OnToggleKeepHistory},
    {ID_TRAY_HISTORY_REKEEP, &CQLRTrayWnd::OnRekeepHistory},
    {ID_TRAY_HISTORY_SAVE_ON_EXIT, &CQLRTrayWnd::OnToggleSaveHistory},
    {ID_TRAY_HISTORY_CLEAR, &CQLRTrayWnd::OnClearHistory},
    {ID_TRAY_PHRASE_FROM_CLIPBOARD, &CQLRTrayWnd::OnPhraseFromClipboard},
    {ID_TRAY_HISTORY_PANE, &CQLRTrayWnd::OnToggleHistoryPane},
    {ID_TRAY_ENABLE_PHRASE_MENU, &CQLRTrayWnd::OnToggleServices},
    {ID_TRAY_SHOW_TRAY_MENU, &CQLRTrayWnd::DisplayTrayMenuAtCursor},
};

LRESULT CQLRTrayWnd::OnTrayMenuCommand(WORD, WORD id, HWND, BOOL& bHandled) {
  for (const WebPageCommand& page : kWebPages) {
    if (page.id == id) {
      OpenURL(m_hWnd, page.address());
      return 0;
    }
  }
  for (const TrayCommand& command : kTrayCommands) {
    if (command.id == id) {
      (this->*command.handler)();
      return 0;
    }
  }
  bHandled = FALSE;
  return 0;
}

void CQLRTrayWnd::OnRunAsAdministrator() {
  ::SetForegroundWindow(m_hWnd);
  RestartAsAdministrator(m_hWnd);
}

void CQLRTrayWnd::OnMailToUs() { SendMailToSupport(m_hWnd); }

void CQLRTrayWnd::OnStartWelcome() { StartWelcomeProgram(m_hWnd, false); }

// Each quick setting tells an open editor, whose page would otherwise save
// its old value back.
void CQLRTrayWnd::OnToggleAutoStart() {
  SetAutoStartEntry(!IsOwnAutoStartSet());
  PulseOptionsChangedEvent();
}

void CQLRTrayWnd::OnToggleSounds() {
  CQLRTraySettings& settings = GetSettings();
  settings.soundOnEvents = settings.soundOnEvents ? 0 : 1;
  settings.Save();
  PulseOptionsChangedEvent();
  if (settings.soundOnEvents) PlayNotificationSound(true);
}

void CQLRTrayWnd::OnToggleWriteLog() {
  if (!IsLogOpen())
    InitLog(GetLogReportPath().c_str());
  else
    TermLog();
  CQLRTraySettings& settings = GetSettings();
  settings.SetWriteLog(IsLogOpen() ? 1 : 0);
  settings.Save();
  PulseOptionsChangedEvent();
}

void CQLRTrayWnd::OnMenuOnMouseEvent() {
  GetSettings().Save();
  PulseOptionsChangedEvent();
}

void CQLRTrayWnd::OnTogglePaneOnStart() {
  CQLRTraySettings& settings = GetSettings();
  settings.showHistoryPaneOnStart = settings.showHistoryPaneOnStart ? 0 : 1;
  settings.Save();
  PulseOptionsChangedEvent();
}

void CQLRTrayWnd::OnRereadPhrases() {
  ReloadPhraseStore();
  UpdateTrayIcon(kTrayIconModifyWithBalloon, nullptr, false);
}

void CQLRTrayWnd::OnOpenSettingsFile() { OpenSettingsFile(m_hWnd); }

void CQLRTrayWnd::OnToggleKeepHistory() {
  // The user's choice stands: a session unlock does not undo it.
  m_sessionPause = FALSE;
  if (!IsClipboardHistoryRunning())
    EnableClipboardHistory();
  else
    DisableClipboardHistory();
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
  PulseOptionsChangedEvent();
}

void CQLRTrayWnd::OnRekeepHistory() {
  DisableClipboardHistory();
  EnableClipboardHistory();
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
}

void CQLRTrayWnd::OnToggleSaveHistory() {
  CQLRTraySettings& settings = GetSettings();
  settings.SetSaveClipboardHistory(settings.GetSaveClipboardHistory() ? 0 : 1);
  settings.Save();
  PulseOptionsChangedEvent();
  if (!IsClipboardHistoryRunning()) return;
  // The running handler saves by its own copy of the options.
  m_clipboardHandler->SetOptions(HandlerOptionsFromSettings(settings));
  if (settings.GetSaveClipboardHistory()) m_clipboardHandler->PostSaveRequest();
}

void CQLRTrayWnd::OnClearHistory() {
  if (!IsClipboardHistoryRunning()) return;
  m_clipboardHandler->ClearHistory();
  // An open pane shows the cleared history: count, rows, caption and title.
  if (m_floatPane && m_floatPane->IsWindow()) m_floatPane->Invalidate();
}

LRESULT CQLRTrayWnd::OnHistoryEntryCommand(WORD, WORD id, HWND, BOOL&) {
  if (!IsClipboardHistoryRunning()) return 0;
  m_clipboardHandler->CopyItemToClipboard(static_cast<int>(id - kHistoryEntryFirstId));
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
  return 0;
}

void CQLRTrayWnd::OnPhraseFromClipboard() {
  if (!StartEditorThread(m_stopEvent, m_hWnd, WM_TRAY_EDITOR_STATE, true, false, std::wstring()))
    LogError(L"Cannot start the thread of the PhraseEditor start");
}

void CQLRTrayWnd::OnToggleHistoryPane() { ShowFloatPane(kPaneToggle); }

void CQLRTrayWnd::OnToggleServices() {
  if (!IsServiceRunning()) {
    std::wstring text;
    if (!StartServices(&text) && !text.empty()) ShowMessageBox(m_hWnd, MB_ICONERROR, L"ERROR\n\n" + text);
  } else {
    StopServices();
  }
  m_servicesStoppedByUser = !IsServiceRunning();
  UpdateTrayIcon(kTrayIconModifyWithBalloon, nullptr, false);
}

LRESULT CQLRTrayWnd::OnLanguageCommand(WORD, WORD id, HWND, BOOL&) {
  const size_t index = id - kLanguageFirstId;
  if (index >= m_menuLanguages.size()) return 0;
  const std::wstring language = m_menuLanguages[index];
  CQLRTraySettings& settings = GetSettings();
  settings.SetLanguage(language);
  WriteLanguage(language, GetSettingsIniPath());
  PulseOptionsChangedEvent();
  // Read back and applied as when the welcome program changed it; the
  // event itself is not pulsed, so the change is not applied twice.
  ApplyChangedLanguage();
  DisplayTrayMenuWithPoint(m_lastTrayClick.x, m_lastTrayClick.y);
  return 0;
}
