// A short blink of the tray icon that tells the user the program took up a
// change (the editor closed): a worker thread shows a second picture and
// the normal one in turn.
#pragma once
#include <windows.h>

struct TrayIconBlinkRecord {
  HWND window = nullptr;       // owner of the tray icon
  HANDLE stopEvent = nullptr;  // ends the blink early (the program ends)
  UINT blinkIconId = 0;        // icon resources of the running program
  UINT normalIconId = 0;
  int rounds = 4;
  DWORD halfRoundMs = 250;
  bool sound = false;          // the system's notification sound first
};

// False when the thread cannot be made.
bool StartTrayIconBlink(const TrayIconBlinkRecord& record);
// The same on the calling thread; returns when the blink is over, false
// (and nothing shown) when an icon resource is missing.
bool RunTrayIconBlink(const TrayIconBlinkRecord& record);
