// The tray program's notification-area icon: its record, title and tooltip
// rules, balloons, and the one wrapper through which every shell call goes.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tray/window/tray_messages.h"

constexpr UINT kTrayIconId = 10;
constexpr UINT kTrayIconCallbackMessage = WM_TRAY_NOTIFY;
// Icon resources: services running / down / spare frame of the program.
constexpr UINT kIconTrayActive = 128;
constexpr UINT kIconTrayInactive = 201;
constexpr UINT kIconTrayAlternate = 202;

enum TrayIconMode {
  kTrayIconAdd = 0,
  kTrayIconModifyWithBalloon = 1,
  kTrayIconTooltip = 2,
};

// The longest tooltip the icon shows; a longer one keeps its first line.
constexpr size_t kTrayTooltipMax = 126;

// The 16-pixel icon of the running (128) or stopped (201) state; the caller
// destroys it.
HICON LoadTrayIcon(bool bActive);

// versionText + "^" for an administrator (once) + " - " + stateText.
std::wstring BuildTrayTitle(const std::wstring& versionText, bool isAdmin,
                            const std::wstring& stateText);
// title + CR LF + info, cut before its first line break when too long, or
// at kTrayTooltipMax characters when it has none.
std::wstring BuildTrayTooltip(const std::wstring& title, const std::wstring& info);

// Shell_NotifyIconW with the record's size set and its texts terminated. A
// fault of the call is caught and shown ("Exception in Shell_Notify"); the
// result is then FALSE.
BOOL CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);
// Logs each balloon text (szInfo, szInfoTitle, szTip) that does not end
// inside its field; the count of those.
int CheckBalloonTexts(const NOTIFYICONDATAW& data);
// Test seam: takes the place of Shell_NotifyIconW in CallShellNotifyIcon
// (null: the shell's). It may be called from any thread.
using ShellNotifyIconHook = BOOL (*)(DWORD message, NOTIFYICONDATAW* data);
void SetShellNotifyIconHookForTests(ShellNotifyIconHook hook);

// Replaces only the picture of the window's tray icon.
BOOL SetTrayIconImage(HWND window, HICON icon);

// What one refresh of the icon shows.
struct TrayIconState {
  bool servicesOn = false;
  bool isAdmin = false;
  std::wstring versionText;  // product name and version
  std::wstring stateText;    // "on", or "OFF" while the services are down
  std::wstring infoText;     // lines joined by CR LF
};

// Fills the record for the mode (add, modify with balloon, tooltip only)
// and calls the shell. balloonText (may be null) is appended to the title.
BOOL UpdateTrayIconRecord(NOTIFYICONDATAW* record, HWND window, int mode,
                          const wchar_t* balloonText, bool warning, const TrayIconState& state);

// A balloon of text (null: removes the balloon and sets the tooltip again
// from tooltipAfterRemoval) shown for timeMs.
BOOL ShowTrayBalloonRecord(HWND window, const wchar_t* text, DWORD timeMs, bool soundOn,
                           const wchar_t* tooltipAfterRemoval);

// Whether a tray notification (the callback's lParam) opens the tray menu.
bool IsTrayMenuRequest(LPARAM mouseMessage);
