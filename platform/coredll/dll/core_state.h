// State of the core hook library. The install configuration lives in a PE
// section shared by every process that loads the library, so that the hook
// running inside another program knows where to write its query.
#pragma once
#include <windows.h>

constexpr int kCoreNameChars = 260;

struct CoreSharedState {
  volatile LONG installed;  // published last at install, cleared first at uninstall
  DWORD installerPid;
  UINT notifyMessage;
  wchar_t queryEventName[kCoreNameChars];
  wchar_t answerEventName[kCoreNameChars];
  wchar_t areaName[kCoreNameChars];
};

CoreSharedState& SharedState();
HMODULE CoreModule();

// The hook procedure (hook.cpp).
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

// The foreground tracker of the installing process (tracker.cpp).
bool StartForegroundTracker();
void StopForegroundTracker();
HWND TargetWindow();
HWND LastOtherWindow();
