// Runs a phrase's command on a worker thread, as Test Run does: the command
// is expanded with the phrase macros, started with the shell, and a box
// owned by the owner window tells the outcome.
#pragma once
#include <windows.h>

#include <string>

// Mode 1: a box only when the start failed; mode 2: always a box, and the
// owner flashes. The clipboard is read here, on the caller's thread. False
// when no worker could be started.
bool RunCommandAsync(HWND owner, const std::wstring& command, int mode);
// The command with its macros expanded for the keyboard layout of the
// owner's thread; selectedText and clipboardText stand for the selected
// text and the clipboard's.
void ExpandCommand(HWND owner, const std::wstring& command, const std::wstring& selectedText,
                   const std::wstring& clipboardText, std::wstring* out);
// The box text: the system's text, then the command as run and as written.
std::wstring FormatCommandRunText(const std::wstring& systemText, const std::wstring& expanded,
                                  const std::wstring& source);
