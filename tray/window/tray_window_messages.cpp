// The tray window's answers to the editor, the watcher threads, the phrase
// menu's right-click actions and the other windows of the program, and its
// one-shot timers.
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "history/actions/shell_actions.h"
#include "history/actions/web_search.h"
#include "history/store/history_caption.h"
#include "online/internet_state.h"
#include "online/web_links.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/insertion/insertion_actions.h"
#include "phrases/macros/macro_expand.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tray/app/app_control.h"
#include "tray/app/app_texts.h"
#include "tray/icon/tray_icon.h"
#include "tray/icon/tray_icon_blink.h"
#include "tray/window/tray_messaging.h"
#include "tray/window/tray_window.h"

namespace {

constexpr int kAppEventReloaded = 0;
constexpr DWORD kBlinkHalfRoundMs = 250;
constexpr int kBlinkRounds = 4;

}  // namespace

void CQLRTrayWnd::ApplyLanguageSetting() {
  CQLRTraySettings& settings = GetSettings();
  settings.SetLanguage(ReadLanguage(GetSettingsIniPath()));
  ApplyClientLanguageFile(settings.GetLanguageFilePath());
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
}

void CQLRTrayWnd::RestoreTrayIconImage() {
  // The picture of the state the services are in, so that a stopped program
  // never shows the running icon.
  UniqueIcon icon(LoadTrayIcon(IsServiceRunning()));
  if (icon) SetTrayIconImage(m_hWnd, icon.Get());
}

void CQLRTrayWnd::BlinkTrayIcon() {
  TrayIconBlinkRecord record;
  record.window = m_hWnd;
  record.stopEvent = m_stopEvent;
  record.blinkIconId = kIconTrayAlternate;
  record.normalIconId = IsServiceRunning() ? kIconTrayActive : kIconTrayInactive;
  record.rounds = kBlinkRounds;
  record.halfRoundMs = kBlinkHalfRoundMs;
  record.sound = true;
  StartTrayIconBlink(record);
}

LRESULT CQLRTrayWnd::OnStartEditorCommand(WORD, WORD, HWND, BOOL&) {
  // The editor-start thread reports back through WM_TRAY_EDITOR_STATE.
  if (!StartEditorThread(m_stopEvent, m_hWnd, WM_TRAY_EDITOR_STATE, false, false, std::wstring()))
    LogError(L"Cannot start the thread of the PhraseEditor start");
  return 0;
}

LRESULT CQLRTrayWnd::OnEditorState(UINT, WPARAM wParam, LPARAM, BOOL&) {
  switch (wParam) {
    case kEditorStartFailed:
      MessageBoxW(m_hWnd, L"Cannot start settings module", L"Quillora", MB_ICONERROR);
      StartEditorDirect(true, false, false, std::wstring());
      break;
    case kEditorStarted:
      m_editorStartFolder = GetSettings().GetPhrasesDirectory();
      m_editorEndReloaded = false;
      break;
    case kEditorEnded:
      if (IsPhraseMenuBusy())
        m_deferredEditorClosed = true;
      else
        OnEditorClosed();
      break;
    default:
      break;
  }
  return 1;
}

void CQLRTrayWnd::OnEditorClosed() {
  // The editor this program started ended (also when it did not say so by
  // its event): its settings apply, the services come up anew, a new
  // phrase folder is announced.
  // The editor's end event, when it came first, read the phrases already.
  ReapplyChangedSettings(true, !m_editorEndReloaded);
  m_editorEndReloaded = false;
  bool folderChanged = GetSettings().GetPhrasesDirectory() != m_editorStartFolder;
  UpdateTrayIcon(folderChanged ? kTrayIconModifyWithBalloon : kTrayIconTooltip, nullptr, false);
}

void CQLRTrayWnd::RunDeferredEditorEnds() {
  if (IsPhraseMenuBusy()) return;
  const bool ended = m_deferredEditorEnd;
  const bool closed = m_deferredEditorClosed;
  const bool reload = m_reloadDeferred;
  m_deferredEditorEnd = m_deferredEditorClosed = m_reloadDeferred = false;
  if (ended) OnAnyEditorEnded();
  if (closed) OnEditorClosed();
  if (reload && !ended) ReloadPhraseStore();
}

LRESULT CQLRTrayWnd::OnEditorEnded(UINT, WPARAM, LPARAM, BOOL&) {
  // A reload renumbers the phrases: with a menu open, the id the user picks
  // would name another phrase. It waits until the menu's command is done.
  if (IsPhraseMenuBusy()) {
    Log(L"Detected event: PhraseEditor closed; applied once the phrase menu is done");
    m_deferredEditorEnd = true;
    return 1;
  }
  OnAnyEditorEnded();
  return 1;
}

void CQLRTrayWnd::OnAnyEditorEnded() {
  // Any editor ended, whoever started it. Applying the settings reads the
  // phrases once.
  ReapplyChangedSettings(false, true);
  m_editorEndReloaded = true;
  BlinkTrayIcon();
  NotifyAppEvent(this, kAppEventReloaded, 0);
  Log(L"Detected event: PhraseEditor closed");
}

LRESULT CQLRTrayWnd::OnGestureQuery(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT CQLRTrayWnd::OnIsMenuFree(UINT, WPARAM, LPARAM, BOOL&) {
  return m_dataNeededHandler && m_dataNeededHandler->IsMenuShown() ? 0 : 1;
}

LRESULT CQLRTrayWnd::OnUpdateDue(UINT, WPARAM, LPARAM, BOOL&) {
  UpdateTrayIcon(kTrayIconModifyWithBalloon, nullptr, false);
  if (IsInternetConnected() == kInternetConnected) PostMessage(WM_COMMAND, ID_TRAY_CHECK_FOR_UPDATES);
  return 1;
}

LRESULT CQLRTrayWnd::OnRemoveBalloon(UINT, WPARAM, LPARAM, BOOL&) {
  ShowTrayBalloon(nullptr, 0);
  return 1;
}

// The tray menu has no tooltip window yet, so there is nothing to hide.
LRESULT CQLRTrayWnd::OnHideMenuTip(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_trayMenuTip) m_trayMenuTip->HideTip();
  return 1;
}

LRESULT CQLRTrayWnd::OnRightMenuCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  const int commandId = static_cast<int>(lParam);
  CCHItem* entry = commandId >= kHistoryCommandBase && m_menuHistory
                       ? m_menuHistory->ShownItem(commandId - kHistoryCommandBase)
                       : nullptr;
  if (wParam == kRightActionCopy) {
    if (commandId >= kHistoryCommandBase)
      CopyHistoryEntryToClipboard(entry);
    else
      CopyPhraseToClipboard(commandId);
  } else if (wParam >= kRightActionOpenHistoryLink && wParam <= kRightActionOpenHistoryWith) {
    if (commandId < kHistoryCommandBase) {
      MessageBoxW(m_hWnd, L"nIndex < 0", L"Quillora", MB_ICONERROR);
    } else if (entry && wParam == kRightActionOpenHistoryLink) {
      std::wstring text = HistoryItemPlainText(*entry);
      if (!text.empty()) OpenLinkText(m_hWnd, text);
    } else if (entry && OpenHistoryItemAsFile(entry, m_hWnd, wParam == kRightActionOpenHistoryFile)) {
      EndMenu();
    }
  } else if (wParam >= kRightActionSearchFirst && wParam <= kRightActionSearchLast) {
    std::wstring text;
    int dataType = 0;
    if (commandId >= kHistoryCommandBase) {
      if (entry && entry->kind <= kHistoryKindRtf) text = HistoryItemPlainText(*entry);
      if (!text.empty()) SearchTextOnWeb(text, static_cast<int>(wParam), m_hWnd);
    } else if (GetExpandedPhraseText(commandId, &text, &dataType, nullptr)) {
      SearchTextOnWeb(text, static_cast<int>(wParam), m_hWnd);
    }
  }
  return 1;
}

void CQLRTrayWnd::CopyHistoryEntryToClipboard(const CCHItem* entry) {
  // Every form the entry holds; the history keeps the entry when the copy
  // comes back to it.
  if (entry && IsClipboardHistoryRunning() && m_clipboardHandler->PutItemOnClipboard(*entry))
    m_clipboardKeeper.Disarm();
}

LRESULT CQLRTrayWnd::OnLanguageChanged(UINT, WPARAM, LPARAM, BOOL&) {
  ApplyChangedLanguage();
  return 1;
}

void CQLRTrayWnd::ApplyChangedLanguage() {
  ApplyLanguageSetting();
  m_trayMenuCache.Forget();
  SetUILanguageIsRussian(IsRussianLangFile(GetSettings().GetLanguageFilePath()));
  m_phraseStore.ClearTextCaches();
  NotifyAppEvent(this, kAppEventReloaded, 0);
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
}

LRESULT CQLRTrayWnd::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (wParam != kTimerRemoveBalloon && wParam != kTimerShowMenu && wParam != kTimerPaneBlink) {
    bHandled = FALSE;
    return 0;
  }
  // Each timer does its work once per start.
  KillTimer(wParam);
  if (wParam == kTimerPaneBlink)
    OnPaneBlinkTimer();
  else if (wParam == kTimerRemoveBalloon)
    ShowTrayBalloon(nullptr, 0);
  else
  {
    ShowMenuForTarget(false);
    if (m_floatPane && m_floatPane->IsWindow()) m_floatPane->ShowCollapsed();
  }
  return 0;
}

LRESULT CQLRTrayWnd::OnPaneShowMenu(WORD, WORD, HWND, BOOL&) {
  SetTimer(kTimerShowMenu, kShowMenuDelayMs);
  // The pane's caption menu takes 0 for a refusal.
  return 1;
}

bool CQLRTrayWnd::GetExpandedPhraseText(int commandId, std::wstring* text, int* dataType, LCID* locale) {
  std::wstring data;
  if (GetCommandText(commandId, &data, dataType) != kPhraseSource) return false;
  // A keyboard-layout macro only switches the target's layout on insertion;
  // it is no part of the text.
  TakeKeyboardLayoutMacro(data);
  HWND target = m_dataNeededHandler ? m_dataNeededHandler->GetTargetWindow() : nullptr;
  CQLRInsertRequest request = MakeInsertRequest(target, *dataType);
  CQLRActionList actions;
  request.BuildActions(actions, data);
  *text = actions.JoinTexts();
  if (locale) *locale = request.GetLocale();
  return true;
}

void CQLRTrayWnd::CopyPhraseToClipboard(int commandId) {
  // Clipboard-history items are copied here once the history exists.
  std::wstring text;
  int dataType = 0;
  LCID locale = 0;
  if (!GetExpandedPhraseText(commandId, &text, &dataType, &locale)) return;
  bool copied = dataType == CQLRInsertRequest::kRtf
                    ? CQLRAction_TextCommon::MutiCopy_Impl(false, text, 0, locale, false)
                    : PutTextOnClipboard(text);
  // The copy is what the user asked the clipboard to hold now: the request
  // must not put the old contents back when the menu closes.
  if (copied) m_clipboardKeeper.Disarm();
}
