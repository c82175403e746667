// The services behind the hotkey: brought up on creation and on request,
// taken down on request and at the end.
#include "foundation/log.h"
#include "foundation/system_helpers.h"
#include "tray/app_texts.h"
#include "tray/problem_list.h"
#include "tray/settings/settings.h"
#include "tray/settings/settings_area.h"
#include "tray/tray_window.h"

namespace {

constexpr int kMainHotkeyId = 1;
constexpr int kNoSorting = -1;

}  // namespace

void CQLRTrayWnd::ReportStartupProblem(std::wstring* errorText, const std::wstring& text) {
  if (errorText) *errorText += L"\n" + text;
  GetProblemList().push_back(text);
}

void CQLRTrayWnd::ReloadPhraseStore() {
  CQLRTraySettings& settings = GetSettings();
  m_phraseStore.Clear();
  m_phraseStore.Load(settings.GetPhrasesDirectory(), settings.sorting);
  if (settings.sorting != kNoSorting) m_phraseStore.Sort(settings.sorting, false);
}

bool CQLRTrayWnd::StartServices(std::wstring* errorText) {
  // The phrase-menu handler is created here once it exists.
  if (IsLogOpen()) TermLog();
  if (GetSettings().GetWriteLog()) InitLog(GetLogReportPath().c_str());
  ReloadPhraseStore();

  // The interchange objects with the core library are created here, before
  // the hotkey, once the library binding is part of the program.
  if (!RegisterMainHotkey(errorText)) {
    LogError(L"Cannot register hot key");
    std::wstring text = L"ERROR: Cannot register hot key " + GetHotkeyText();
    Log(text);
    ReportStartupProblem(errorText, text);
    return false;
  }
  // The core library is installed and its query wait thread started here
  // once the binding is part of the program; until then the services stay
  // down with the hotkey registered.
  return m_serviceRunning;
}

void CQLRTrayWnd::StopServices() {
  // The core library is uninstalled here once the binding exists.
  UnregisterMainHotkey();
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
