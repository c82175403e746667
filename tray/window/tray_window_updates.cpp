// The tray window's side of the update check: the manual check, the
// schedule of automatic checks, the result message and the done callback.
#include "foundation/logging/log.h"
#include "online/internet_state.h"
#include "online/update_check.h"
#include "online/update_dlg/update_dlg.h"
#include "online/update_events.h"
#include "online/web_links.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tray/app/app_texts.h"
#include "tray/icon/tray_icon.h"
#include "tray/program/resource.h"
#include "tray/window/tray_window.h"

namespace {

constexpr DWORD kAnimationIntervalMs = 250;
constexpr DWORD kCheckBalloonMs = 30000;
constexpr UINT kFlashCount = 3;

using InternetGoOnlineFn = BOOL(WINAPI*)(LPWSTR url, HWND parent, DWORD reserved);

bool AutoChecksOn() {
  return ReadSettingsInt(settings_names::kAutoCheckForUpdates, GetSettings().autoCheckForUpdates) != 0;
}

}  // namespace

void CQLRTrayWnd::OnUpdateCheckDone(const UpdateCallbackRecord& record, int callbackArg) {
  SYSTEMTIME now = {};
  GetSystemTime(&now);
  CQLRSettings::SetLastCheckForUpdates(now);
  // A scheduled check schedules the next one, unless the user has turned
  // automatic checks off since.
  if (callbackArg == 1 && AutoChecksOn())
    ScheduleNextUpdateCheck(record.owner, record.message, record.stopEvent, now, OnUpdateCheckDone,
                            GetSettings().GetDaysCheckForUpdates(), 1);
  PulseOptionsChanged();
}

void CQLRTrayWnd::ScheduleAutomaticUpdateCheck() {
  const CQLRSettings& settings = GetSettings();
  m_scheduledAutoCheck = settings.autoCheckForUpdates != 0;
  m_scheduledCheckDays = settings.GetDaysCheckForUpdates();
  if (!m_scheduledAutoCheck) {
    CancelScheduledUpdateCheck();
    return;
  }
  SYSTEMTIME last = {};
  GetSystemTime(&last);
  CQLRSettings::GetLastCheckForUpdates(last);
  ScheduleNextUpdateCheck(m_hWnd, WM_TRAY_UPDATE_RESULT, m_stopEvent, last, OnUpdateCheckDone,
                          m_scheduledCheckDays, 1);
}

void CQLRTrayWnd::RescheduleIfUpdateOptionsChanged() {
  const CQLRSettings& settings = GetSettings();
  if ((settings.autoCheckForUpdates != 0) == m_scheduledAutoCheck &&
      settings.GetDaysCheckForUpdates() == m_scheduledCheckDays)
    return;
  Log(L"Update check options changed: automatic=" + std::to_wstring(settings.autoCheckForUpdates != 0) +
      L" days=" + std::to_wstring(settings.GetDaysCheckForUpdates()));
  ScheduleAutomaticUpdateCheck();
}

int CQLRTrayWnd::TrayMessageBox(const std::wstring& text, UINT type, bool showWindow) {
  LONG_PTR oldExStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
  wchar_t oldTitle[256] = {};
  if (showWindow) {
    ::GetWindowTextW(m_hWnd, oldTitle, 256);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, oldExStyle | WS_EX_APPWINDOW);
    ShowWindow(SW_SHOW);
    std::wstring title = L"Quillora: " + text.substr(0, text.find_first_of(L"\r\n"));
    ::SetWindowTextW(m_hWnd, title.c_str());
    type &= ~static_cast<UINT>(MB_TOPMOST);
    FLASHWINFO flash = {sizeof(flash), m_hWnd, FLASHW_ALL, kFlashCount, 0};
    FlashWindowEx(&flash);
  }
  int answer = MessageBoxW(m_hWnd, text.c_str(), L"Quillora", type);
  if (showWindow) {
    ShowWindow(SW_HIDE);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, oldExStyle);
    ::SetWindowTextW(m_hWnd, oldTitle);
  }
  return answer;
}

LRESULT CQLRTrayWnd::OnCheckForUpdatesCommand(WORD, WORD, HWND, BOOL&) {
  DynamicFunction<InternetGoOnlineFn> goOnline(L"wininet.dll", "InternetGoOnlineW");
  if (goOnline) {
    std::wstring home = GetHomePageURL();
    if (!goOnline.Get()(&home[0], m_hWnd, 0)) return 0;
  }
  if (IsInternetConnected() != kInternetConnected &&
      TrayMessageBox(GetClientString(IDS_NO_CONNECTION), MB_OKCANCEL | MB_ICONQUESTION, true) == IDCANCEL) {
    Log(L"Check for updates cancelled: no connection");
    return 0;
  }
  if (!m_trayIconAnimation.IsRunning()) {
    TrayIconAnimationRecord record;
    record.window = m_hWnd;
    record.iconId = kTrayIconId;
    record.intervalMs = kAnimationIntervalMs;
    UniqueIcon icon(LoadTrayIcon(true));
    record.baseIcon = icon.Get();
    record.param = reinterpret_cast<LPARAM>(m_hWnd);
    m_trayIconAnimation.Start(record);
  }
  if (!StartCheckForUpdates(m_hWnd, WM_TRAY_UPDATE_RESULT, m_stopEvent, OnUpdateCheckDone, 0)) {
    m_trayIconAnimation.Stop();
    RestoreTrayIconImage();
    return 0;
  }
  ShowTrayBalloon(GetClientString(IDS_CHECK_FOR_UPDATES).c_str(), kCheckBalloonMs);
  return 0;
}

LRESULT CQLRTrayWnd::OnUpdateResult(UINT, WPARAM, LPARAM lParam, BOOL&) {
  ShowTrayBalloon(nullptr, 0);
  m_trayIconAnimation.Stop();
  RestoreTrayIconImage();
  // Any program can send this message id: only a record that a worker of
  // this process is handing over is read.
  const auto* info = reinterpret_cast<const CUpdateInfo*>(lParam);
  if (!IsLiveUpdateInfo(info)) return 1;
  Log(L"Update check result: version=[" + info->versionText + L"] error=[" + info->errorText +
      L"] news=" + std::to_wstring(info->news.size()));
  // One dialog at a time: a further result only brings it to the front.
  if (HWND open = GetUpdateDlgWindow()) {
    if (::IsIconic(open)) ::ShowWindow(open, SW_RESTORE);
    ::ShowWindow(open, SW_SHOW);
    ::SetForegroundWindow(open);
    ::BringWindowToTop(open);
    return 1;
  }
  if (info->autoMode) {
    std::vector<int> skipped;
    if (CQLRSettings::LoadSkippedVersions(skipped) && !skipped.empty() &&
        skipped == info->offeredVersion) {
      Log(L"Skip the verion on web site:" + CVersionNumber::ToString(info->offeredVersion));
      return 1;
    }
  }
  // The record lives on the worker's stack until this handler returns, so
  // the dialog runs here; the exit command ends it first (OnExitCommand).
  CQLRUpdateDlg dialog(info);
  dialog.DoModal(nullptr);
  // The dialog holds the automatic-check options.
  RescheduleIfUpdateOptionsChanged();
  return 1;
}
