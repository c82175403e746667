// Small window and menu helpers shared by the programs' windows.
#pragma once
#include <windows.h>

#include <string>

// Follows GetParent to the last window that has none (the window itself
// when it has no parent; null for null).
HWND GetTopLevelParent(HWND hWnd);
// The desktop window (also a window of its class "#32769") or the shell's
// desktop window: never a window to insert into.
bool IsDesktopOrShellWindow(HWND hWnd);
// ChangeWindowMessageFilter when the system has it, else 0.
BOOL ChangeWindowMessageFilterSafe(UINT message, DWORD flag);

// HWND_TOPMOST (on) or HWND_NOTOPMOST (off) without moving, sizing or
// activating; WS_EX_TOPMOST follows when that succeeds.
BOOL SetWindowTopmost(HWND hWnd, bool on);

// A tooltip title of more than 97 characters cut to 97 and "…"; sent with
// TTM_SETTITLEW and the icon (or icon index) in wParam; the control's answer.
std::wstring CutTipTitle(const std::wstring& title);
LRESULT SetControlTextCut(HWND tooltip, const std::wstring& title, WPARAM iconOrIndex);

void SetLayeredStyle(HWND hWnd);
// Clears WS_EX_LAYERED; false (and nothing changed) when it was not set.
bool RemoveLayeredStyle(HWND hWnd);

// Layered-window attributes through a user32 held for the object's life.
class CLayeredWindow {
 public:
  CLayeredWindow();
  virtual ~CLayeredWindow();
  CLayeredWindow(const CLayeredWindow&) = delete;
  CLayeredWindow& operator=(const CLayeredWindow&) = delete;

  // percent 0..255, counted as at most 100.
  BOOL SetTransparency(HWND hWnd, BYTE percent);
  // Success without calling anything when the library could not be loaded;
  // 0 when the function is missing.
  BOOL SetLayeredWindowAttributes(HWND hWnd, COLORREF key, BYTE alpha, DWORD flags);

 private:
  HMODULE m_user32;
};

// Alpha for a transparency percentage: min(percent, 100) * 255 / 100.
BYTE TransparencyAlpha(BYTE percent);

// By command: a radio check mark, or a plain unchecked string item.
bool SetMenuItemRadioCheck(bool checked, UINT commandId, HMENU menu);
bool SetMenuItemText(const wchar_t* text, UINT commandId, HMENU menu);
