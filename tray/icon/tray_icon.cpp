#include "tray/icon/tray_icon.h"

#include <atomic>
#include <cwchar>

#include "foundation/logging/exception_guard.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/ui/icons.h"

namespace {

// The record size of the balloon-capable shell (without the balloon icon):
// the size every shell since then accepts, 952 bytes in the 32-bit program.
constexpr DWORD kRecordSize = NOTIFYICONDATAW_V3_SIZE;
constexpr UINT kTrayVersion = 3;
constexpr UINT kBalloonUserClick = 0x405;

std::atomic<ShellNotifyIconHook> g_notifyHook{nullptr};

template <size_t N>
void CopyText(wchar_t (&field)[N], const std::wstring& text) {
  size_t n = text.size() < N - 1 ? text.size() : N - 1;
  text.copy(field, n);
  field[n] = 0;
}

template <size_t N>
void Terminate(wchar_t (&field)[N]) {
  field[N - 1] = 0;
}

}  // namespace

HICON LoadTrayIcon(bool bActive) {
  return LoadSmallIcon(GetModuleHandleW(nullptr), bActive ? kIconTrayActive : kIconTrayInactive);
}

std::wstring BuildTrayTitle(const std::wstring& versionText, bool isAdmin,
                            const std::wstring& stateText) {
  std::wstring title = versionText;
  if (isAdmin && title.find(L'^') == std::wstring::npos) title += L'^';
  return title + L" - " + stateText;
}

std::wstring BuildTrayTooltip(const std::wstring& title, const std::wstring& info) {
  std::wstring tip = title + L"\r\n" + info;
  if (tip.size() > kTrayTooltipMax) {
    size_t lineEnd = tip.find_first_of(L"\r\n");
    tip.resize(lineEnd != std::wstring::npos && lineEnd < kTrayTooltipMax ? lineEnd : kTrayTooltipMax);
  }
  return tip;
}

namespace {

struct NotifyCall {
  DWORD message;
  NOTIFYICONDATAW* data;
  ShellNotifyIconHook hook;
  BOOL result;
};

// Runs under the guard: no objects with destructors here.
void RunNotifyCall(void* context) {
  NotifyCall* call = static_cast<NotifyCall*>(context);
  NOTIFYICONDATAW* data = call->data;
  data->cbSize = kRecordSize;
  Terminate(data->szTip);
  Terminate(data->szInfo);
  Terminate(data->szInfoTitle);
  call->result = call->hook ? call->hook(call->message, data) : Shell_NotifyIconW(call->message, data);
}

}  // namespace

BOOL CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  NotifyCall call = {message, data, g_notifyHook.load(), FALSE};
  if (!RunGuarded(RunNotifyCall, &call, nullptr)) {
    ShowErrorBox(L"Exception in Shell_Notify");
    return FALSE;
  }
  return call.result;
}

int CheckBalloonTexts(const NOTIFYICONDATAW& data) {
  const struct {
    const wchar_t* text;
    size_t size;
    const wchar_t* error;
  } fields[] = {
      {data.szInfo, ARRAYSIZE(data.szInfo), L"IsBadStringPtr(ni.szInfo,INFINITE)"},
      {data.szInfoTitle, ARRAYSIZE(data.szInfoTitle), L"IsBadStringPtr(ni.szInfoTitle,INFINITE)"},
      {data.szTip, ARRAYSIZE(data.szTip), L"IsBadStringPtr(ni.szTip,INFINITE)"},
  };
  int bad = 0;
  for (const auto& field : fields) {
    if (wmemchr(field.text, L'\0', field.size)) continue;
    LogError(field.error);
    ++bad;
  }
  return bad;
}

void SetShellNotifyIconHookForTests(ShellNotifyIconHook hook) { g_notifyHook = hook; }

BOOL SetTrayIconImage(HWND window, HICON icon) {
  NOTIFYICONDATAW data = {};
  data.hWnd = window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON;
  data.hIcon = icon;
  return CallShellNotifyIcon(NIM_MODIFY, &data);
}

BOOL UpdateTrayIconRecord(NOTIFYICONDATAW* record, HWND window, int mode,
                          const wchar_t* balloonText, bool warning, const TrayIconState& state) {
  record->hWnd = window;
  record->uID = kTrayIconId;
  record->uCallbackMessage = kTrayIconCallbackMessage;
  record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  // The shell copies the icon; ours is freed right after the call.
  UniqueIcon icon(LoadTrayIcon(state.servicesOn));
  record->hIcon = icon.Get();

  std::wstring title = BuildTrayTitle(state.versionText, state.isAdmin, state.stateText);
  CopyText(record->szTip, BuildTrayTooltip(title, state.infoText));
  if (mode == kTrayIconAdd || mode == kTrayIconModifyWithBalloon) {
    if (balloonText) title += std::wstring(L", ") + balloonText;
    CopyText(record->szInfo, state.infoText);
    CopyText(record->szInfoTitle, title);
    record->uFlags |= NIF_INFO;
    record->dwInfoFlags = warning ? NIIF_WARNING : NIIF_USER;
  }
  BOOL result;
  if (mode == kTrayIconAdd) {
    result = CallShellNotifyIcon(NIM_ADD, record);
    record->uVersion = kTrayVersion;
    CallShellNotifyIcon(NIM_SETVERSION, record);
  } else {
    result = CallShellNotifyIcon(NIM_MODIFY, record);
  }
  record->hIcon = nullptr;
  return result;
}

BOOL ShowTrayBalloonRecord(HWND window, const wchar_t* text, DWORD timeMs, bool soundOn,
                           const wchar_t* tooltipAfterRemoval) {
  NOTIFYICONDATAW data = {};
  data.hWnd = window;
  data.uID = kTrayIconId;
  if (text) CopyText(data.szInfo, text);
  data.dwInfoFlags = NIIF_INFO | (soundOn ? 0 : NIIF_NOSOUND);
  data.uFlags = NIF_INFO | NIF_TIP;
  data.uTimeout = timeMs;
  CheckBalloonTexts(data);
  BOOL result = CallShellNotifyIcon(NIM_MODIFY, &data);
  if (!text && tooltipAfterRemoval) {
    NOTIFYICONDATAW tip = {};
    tip.hWnd = window;
    tip.uID = kTrayIconId;
    tip.uFlags = NIF_TIP;
    CopyText(tip.szTip, tooltipAfterRemoval);
    CallShellNotifyIcon(NIM_MODIFY, &tip);
  }
  return result;
}

bool IsTrayMenuRequest(LPARAM mouseMessage) {
  UINT message = static_cast<UINT>(mouseMessage);
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == kBalloonUserClick;
}
