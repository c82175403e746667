// The running program takes up what the settings page (or another program
// of the suite) wrote: everything read at start from Settings.ini is read
// and applied again, whoever started the editor.
#include "foundation/localization/language_files.h"
#include "foundation/logging/log.h"
#include "history/capture/clipboard_handler.h"
#include "online/web_links.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tray/icon/tray_icon.h"
#include "tray/window/tray_window.h"

namespace {

// What the running services and the history were started with; a change
// of any of it needs them started again.
struct AppliedSettings {
  int hotkey = 0;
  int hotkeyDoubled = 0;
  int writeLog = 0;
  int clipboardHistory = 0;
  ClipboardHandlerOptions history;
};

AppliedSettings TakeAppliedSettings(const CQLRSettings& settings) {
  AppliedSettings applied;
  // A stored 0 stands for the default key the program registers.
  HotkeyValue hotkey = settings.hotkey;
  if (hotkey.key == 0) hotkey = HotkeyValue();
  applied.hotkey = hotkey.Packed();
  applied.hotkeyDoubled = settings.hotkeyDoubled;
  applied.writeLog = settings.GetWriteLog();
  applied.clipboardHistory = settings.clipboardHistory;
  applied.history = HandlerOptionsFromSettings(settings);
  return applied;
}

}  // namespace

void CQLRTrayWnd::ReapplyChangedSettings(bool restartServices, bool reloadPhrases) {
  CQLRTraySettings& settings = GetSettings();
  const AppliedSettings before = TakeAppliedSettings(settings);
  settings.Load();
  const AppliedSettings after = TakeAppliedSettings(settings);

  // The log first, so that what follows is written by the new choice.
  if (after.writeLog != before.writeLog) {
    if (IsLogOpen()) TermLog();
    if (after.writeLog) InitLog(GetLogReportPath().c_str());
  }
  SetUILanguageIsRussian(IsRussianLangFile(settings.GetLanguageFilePath()));
  ApplyLanguageSetting();
  // Menu options (fonts, paste method, delay, ...) are taken anew each time.
  if (m_dataNeededHandler) m_dataNeededHandler->ReleaseMenuFonts();
  PrepareDataNeededHandler();

  // The hotkey and the core library carry the hotkey and the log choice;
  // services the user stopped (or started without) stay so unless asked.
  // Services that could not start are not retried on every editor's end:
  // each try would log the same failure again.
  const bool servicesChanged = after.hotkey != before.hotkey || after.hotkeyDoubled != before.hotkeyDoubled ||
                               after.writeLog != before.writeLog;
  if (restartServices || (!m_noInstall && !m_servicesStoppedByUser && servicesChanged)) {
    StopServices();
    StartServices(nullptr, reloadPhrases);
  } else if (reloadPhrases) {
    ReloadPhraseStore();
  }
  ApplyClipboardHistorySettings(before.history, before.clipboardHistory != after.clipboardHistory);
  // Automatic update checks follow their switch and their days.
  RescheduleIfUpdateOptionsChanged();
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
  Log(L"Settings applied again");
}

void CQLRTrayWnd::ApplyClipboardHistorySettings(const ClipboardHandlerOptions& before, bool switched) {
  CQLRTraySettings& settings = GetSettings();
  // The on/off switch is applied when it changed only: the tray's Keep
  // command and a session lock also turn a running history on and off.
  if (switched && !settings.clipboardHistory) {
    DisableClipboardHistory();
    return;
  }
  if (switched && !m_sessionPause) {
    StartClipboardHistoryIfWanted();
    return;
  }
  if (!IsClipboardHistoryRunning()) return;
  const ClipboardHandlerOptions options = HandlerOptionsFromSettings(settings);
  if (options.spyMethod != before.spyMethod) {
    // The tracking method is chosen when the handler's window is made.
    DisableClipboardHistory();
    EnableClipboardHistory();
    return;
  }
  // Kinds, maximum and save-on-exit hold from the next copy on.
  m_clipboardHandler->SetOptions(options);
  if (options.saveHistory && !before.saveHistory) m_clipboardHandler->PostSaveRequest();
}
