// The services behind the hotkey: brought up on creation and on request,
// taken down on request and at the end.
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/system_helpers.h"
#include "settings/settings.h"
#include "settings/settings_area.h"
#include "tray/app/app_texts.h"
#include "tray/app/problem_list.h"
#include "tray/hook/dll_service.h"
#include "tray/window/tray_window.h"

namespace {

constexpr int kNoSorting = -1;

UINT GetCoreNotifyMessage() {
  static const UINT message = RegisterWindowMessageW(kCoreNotifyMessageName);
  return message;
}

}  // namespace

void CQLRTrayWnd::ReportStartupProblem(std::wstring* errorText, const std::wstring& text) {
  if (errorText) *errorText += L"\n" + text;
  GetProblemList().push_back(text);
}

void CQLRTrayWnd::ReloadPhraseStore() {
  // Whatever asks (a second start, a command another program posted), the
  // ids of an open menu keep naming their phrases until its command is done.
  if (IsPhraseMenuBusy()) {
    m_reloadDeferred = true;
    return;
  }
  CQLRTraySettings& settings = GetSettings();
  m_phraseStore.Clear();
  m_phraseStore.Load(settings.GetPhrasesDirectory(), settings.sorting);
  if (settings.sorting != kNoSorting) m_phraseStore.Sort(settings.sorting, false);
  // The last-used list follows its phrases to their new ids.
  if (m_dataNeededHandler) m_dataNeededHandler->OnPhrasesReloaded();
}

bool CQLRTrayWnd::StartServices(std::wstring* errorText, bool reloadPhrases) {
  PrepareDataNeededHandler();
  if (IsLogOpen()) TermLog();
  CQLRTraySettings& settings = GetSettings();
  if (settings.GetWriteLog()) InitLog(GetLogReportPath().c_str());
  if (reloadPhrases) ReloadPhraseStore();

  if (!m_interchange.Create()) {
    LogError(L"Cannot create wait objects");
    ReportStartupProblem(errorText, L"ERROR: Cannot create wait objects");
    StartClipboardHistoryIfWanted();
    return false;
  }
  if (!RegisterMainHotkey(errorText)) {
    LogError(L"Cannot register hot key");
    m_interchange.Close();
    StartClipboardHistoryIfWanted();
    std::wstring text = L"ERROR: Cannot register hot key " + GetHotkeyText();
    Log(text);
    ReportStartupProblem(errorText, text);
    return false;
  }
  int code = 0;
  if (m_dllService.InstallDLLService_IML_32(m_hWnd, GetCoreNotifyMessage(), GetDataNeededEventName(),
                                            GetDataCompletedEventName(), GetInterchangeAreaName(),
                                            settings.GetWriteLog() != 0, &code, FALSE)) {
    WaitQueryParams params;
    params.trayWnd = m_hWnd;
    params.stopEvent = m_stopEvent;
    params.dataNeeded = m_interchange.DataNeeded();
    params.dataCompleted = m_interchange.DataCompleted();
    params.areaName = GetInterchangeAreaName();
    if (m_waitQuery.StartWaitThread(params)) {
      // Running again, whoever brought them back (a second start, an
      // editor's end): a later settings change applies to them.
      m_servicesStoppedByUser = false;
      m_noInstall = 0;
      // The clipboard may be busy at start-up: then a thread tries again.
      if (settings.clipboardHistory && !IsClipboardHistoryRunning() && !EnableClipboardHistory())
        StartDelayedClipboardHistory();
      return true;
    }
    // Without the thread nobody answers the library's queries: take the
    // library out again rather than report a running service.
    m_dllService.Uninstall();
    UnregisterMainHotkey();
    m_interchange.Close();
    LogError(L"Cannot start wait thread for query");
    ReportStartupProblem(errorText, L"ERROR: Cannot start wait thread for query");
    return false;
  }
  // The text carries its own "ERROR: " prefix, for the log as for the
  // problem list.
  std::wstring text = BuildCoreDllInstallProblemText(m_dllService.LibraryPath(), code);
  Log(text);
  UnregisterMainHotkey();
  m_interchange.Close();
  ReportStartupProblem(errorText, text);
  StartClipboardHistoryIfWanted();
  return false;
}

void CQLRTrayWnd::StopServices() {
  m_waitQuery.Stop();
  if (m_dllService.IsInstalled()) m_dllService.Uninstall();
  UnregisterMainHotkey();
  m_interchange.Close();
}

BOOL CQLRTrayWnd::RegisterMainHotkey(std::wstring* errorText) {
  if (m_hotkeyRegistered) return FALSE;
  CQLRTraySettings& settings = GetSettings();
  // A stored key of 0 means the default hotkey; not saved.
  if (settings.hotkey.key == 0) {
    settings.hotkey.key = VK_RETURN;
    if (settings.hotkey.modifiers == 0) settings.hotkey.modifiers = MOD_ALT | MOD_CONTROL;
  }
  m_hotkeyRegistered =
      RegisterHotKey(m_hWnd, kMainHotkeyId, settings.hotkey.modifiers, settings.hotkey.key);
  if (m_hotkeyRegistered) {
    WriteSettingsArea(settings.hotkey.key, settings.hotkey.modifiers, settings.hotkeyDoubled != 0,
                      std::wstring());
  } else {
    wchar_t text[64];
    swprintf(text, 64, L"Cannot register hotkey. Error: %d", static_cast<int>(GetLastError()));
    ReportStartupProblem(errorText, text);
  }
  return m_hotkeyRegistered;
}

BOOL CQLRTrayWnd::UnregisterMainHotkey() {
  if (!m_hotkeyRegistered) return FALSE;
  if (!UnregisterHotKey(m_hWnd, kMainHotkeyId)) return FALSE;
  m_hotkeyRegistered = FALSE;
  return TRUE;
}
