// Running a command line through the shell with an error box, as a command
// phrase does.
#pragma once
#include <windows.h>

#include <string>

struct CQLRRunCommand {
  // 1: a box only when the start fails; 2: always a box, and the owner
  // window is flashed.
  int mode = 1;
  std::wstring command;
};

// ShellExecuteW "open" of the command; true when the shell started it. The
// caller's last-error value is kept.
bool RunCommandWithErrorBox(HWND owner, const CQLRRunCommand& run);

// The program's launch sound, played after a successful start; the program
// that has sounds sets it.
void SetCommandLaunchSound(void (*play)());
