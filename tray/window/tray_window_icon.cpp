// The tray window's notification-area icon: adding it (retried while the
// shell is not ready), refreshing its tooltip and state, balloons, and the
// mouse notifications it sends.
#include "foundation/logging/log.h"
#include "settings/settings.h"
#include "tray/app/app_control.h"
#include "tray/app/app_texts.h"
#include "tray/hook/retry_sender.h"
#include "tray/icon/event_sounds.h"
#include "tray/icon/tray_icon.h"
#include "tray/program/resource.h"
#include "tray/window/tray_window.h"

namespace {

constexpr DWORD kIconInstallIntervalMs = 2000;
constexpr int kIconInstallTries = 200;

}  // namespace

std::wstring CQLRTrayWnd::GetTrayInfoText() const {
  int enabled = 0, total = 0;
  m_phraseStore.CountNodes(&enabled, &total);
  wchar_t counts[40];
  swprintf(counts, 40, L"%d/%d", enabled, total);
  return GetClientString(IDS_HOT_KEY) + L": " + GetHotkeyText() + L"\r\n" +
         GetClientString(IDS_RIGHT_CLICK_FOR_MENU) + L"\r\n" + GetClientString(IDS_FOLDER) + L": " +
         GetSettings().GetPhrasesDirectory() + L" [" + counts + L"]";
}

BOOL CQLRTrayWnd::UpdateTrayIcon(int mode, const wchar_t* balloonText, bool warning) {
  TrayIconState state;
  state.servicesOn = IsServiceRunning();
  state.isAdmin = IsRunningAsAdmin();
  state.versionText = GetProgramVersionText(false, false);
  state.stateText = state.servicesOn ? GetOnText() : GetOffText();
  state.infoText = GetTrayInfoText();
  return UpdateTrayIconRecord(&m_trayIcon, m_hWnd, mode, balloonText, warning, state);
}

void CQLRTrayWnd::ShowTrayBalloon(const wchar_t* text, DWORD timeMs) {
  BOOL shown =
      ShowTrayBalloonRecord(m_hWnd, text, timeMs, GetSettings().soundOnEvents != 0, m_trayIcon.szInfo);
  // Shells keep a balloon longer than asked (or until the user is back):
  // the timer takes it away after its time.
  if (shown && text) SetTimer(kTimerRemoveBalloon, timeMs);
}

void CQLRTrayWnd::StartTrayIconInstaller() {
  RetrySenderRecord record;
  record.window = m_hWnd;
  record.message = WM_TRAY_INSTALL_ICON;
  record.intervalMs = kIconInstallIntervalMs;
  record.tries = kIconInstallTries;
  record.stopEvent = m_stopEvent;
  if (!StartRetrySender(record)) {
    BOOL handled = TRUE;
    OnInstallTrayIcon(WM_TRAY_INSTALL_ICON, 0, 0, handled);
  }
}

LRESULT CQLRTrayWnd::OnInstallTrayIcon(UINT, WPARAM, LPARAM, BOOL&) {
  if (!UpdateTrayIcon(kTrayIconAdd, nullptr, false)) {
    LogError(L"cannot install tray icon");
    return 0;
  }
  PlayStartSound();
  return 1;
}

LRESULT CQLRTrayWnd::OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&) {
  StartTrayIconInstaller();
  return 0;
}

LRESULT CQLRTrayWnd::_OnWmTrayEvent(UINT, WPARAM, LPARAM lParam, BOOL&) {
  wchar_t line[64];
  swprintf(line, 64, L"_OnWmTrayEvent lParam=%d", static_cast<int>(lParam));
  Log(line);
  if (!IsTrayMenuRequest(lParam)) return 0;
  DisplayTrayMenuAtCursor();
  return 1;
}
