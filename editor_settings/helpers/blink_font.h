// A font "blink" that draws the eye to a control: its own thread switches
// the control between two fonts three times, then tells a window.
#pragma once
#include <windows.h>

// Who hears of the blink's end. Pointer-sized fields: the record is the
// same on 32- and 64-bit builds of the caller and the thread.
struct BlinkNotifyRecord {
  HWND window = nullptr;  // receives message when it still exists
  UINT message = 0;       // 0: no notice
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LONG_PTR extra[3] = {};
};

// Milliseconds each font stays.
constexpr DWORD kBlinkStepMs = 250;
constexpr int kBlinkCycles = 3;

// Copies the arguments for the thread; false when it could not start.
// notify may be null.
bool BlinkControlFontAsync(HWND control, HFONT normalFont, HFONT blinkFont,
                           const BlinkNotifyRecord* notify);
