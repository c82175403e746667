// Typing a text into the focused window as synthetic key events, and
// switching the target's keyboard layout with the system's switch keys.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The events of one typed text: every character as a Unicode key pair (tab,
// line feed and carriage return as their virtual keys), then the caret moves:
// left moves after a Shift release, right moves with Shift held (selecting).
std::vector<INPUT> BuildTypeTextInputs(const std::wstring& text, int leftMoves, int rightMoves);

// Types the text in one SendInput call so the user's own keys cannot mix
// into it; false for an empty text.
// Keys sent with SendInput are read by the target later; a key still unread
// when another thread's window takes the focus is lost. Gives the target
// the time to read what was sent before another window is shown.
void LetTargetReadSentKeys(HWND target);

bool TypeText(const std::wstring& text, HWND target, int backspaces, int leftMoves,
              int rightMoves);
void SendBackspaces(int n);

// 1 Alt+Shift, 2 Ctrl+Shift, 3 no hotkey, 4 the grave accent key, 0 unknown;
// read from the user's "Keyboard Layout\Toggle" key.
int GetLayoutSwitchMethod();
// The press of the switch keys for a method (anything unknown: Alt+Shift).
std::vector<INPUT> BuildLayoutSwitchInputs(int method);

// Presses the switch keys until the target thread's layout has the wanted
// language, at most once per installed layout.
void SwitchTargetKeyboardLayout(HKL wanted, DWORD targetThread, HWND target);

// The loop of SwitchTargetKeyboardLayout with its system calls handed in;
// returns how many times the keys were pressed.
struct LayoutSwitchIo {
  int layoutCount = 0;
  bool targetInOtherProcess = false;
  std::function<void(const std::vector<INPUT>&)> send;
  std::function<HKL()> currentLayout;  // of the target thread, after a press
  std::function<void()> letTargetCatchUp;
};
int SwitchKeyboardLayoutWith(HKL wanted, int method, const LayoutSwitchIo& io);
