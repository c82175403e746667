// A message box that closes itself after a time.
#pragma once
#include <windows.h>

// What MessageBoxTimeout returns when the time ran out.
constexpr int kMessageBoxTimedOut = 32000;

// The button the user chose, kMessageBoxTimedOut when the box closed by
// itself after `milliseconds`, or 0 when no box could be shown. The box is
// closed by our own timer: some systems ignore the time-out of
// MessageBoxTimeoutW.
int MessageBoxTimeout(HWND owner, const wchar_t* caption, const wchar_t* text, UINT type,
                      DWORD milliseconds);
