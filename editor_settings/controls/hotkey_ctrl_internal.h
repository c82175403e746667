// Per-window data of the hotkey control and what its field and its window
// procedure share.
#pragma once
#include <windows.h>

struct HotkeyCtrlData {
  WNDPROC fieldProc = nullptr;  // the field's own procedure
  HWND children[4] = {};        // by child id - 1, kept from their making
  HANDLE blinkEvent = nullptr;  // set while the arrow button blinks
  bool repaintPending = false;
};

inline HotkeyCtrlData* GetHotkeyCtrlData(HWND control) {
  return reinterpret_cast<HotkeyCtrlData*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
}

// Sends WM_NOTIFY with the code (and the record's extra fields) to the
// control's parent.
struct HotkeyNotify;
void SendHotkeyNotify(HWND control, UINT code, HotkeyNotify* record = nullptr);
void PostHotkeyRepaint(HWND control);
LRESULT CALLBACK HotkeyFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam);
void StartArrowBlink(HWND control);
