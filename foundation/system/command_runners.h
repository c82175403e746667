// Running a command line, file or address through the shell with an error
// box, and small texts the boxes are made of. Every start goes through the
// shell-open door (foundation/system/shell_open.h).
#pragma once
#include <windows.h>

#include <string>

struct CQLRRunCommand {
  // 1: a box only when the start fails; 2: always a box, and the owner
  // window is flashed.
  int mode = 1;
  std::wstring command;
};

// Shell "open" of the command; true when the shell started it. On a failure
// with reportErrors (and a last error set) a box gives the reason, the
// command and its length.
bool RunCommand(const std::wstring& command, bool reportErrors, HWND owner);

// Shell "open" of the command, as a command phrase runs it; true when the
// shell started it. The caller's last-error value is kept.
bool RunCommandWithErrorBox(HWND owner, const CQLRRunCommand& run);

// The program's launch sound, played after a successful start of
// RunCommandWithErrorBox; the program that has sounds sets it.
void SetCommandLaunchSound(void (*play)());

// Whether user32 offers AddClipboardFormatListener.
bool IsClipboardFormatListenerAvailable();

// The system's text of the code without its trailing line end.
std::wstring GetFormatMessageText(DWORD code);

// The localised string of the id split at its first LF: the part before it
// (first) or after it; a string without LF whole.
std::wstring GetLngStringPart(UINT id, bool first);
std::wstring GetLngStringSecondPart(UINT id);
