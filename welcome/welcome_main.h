// The welcome program's start-up: the log line, the single instance, the
// language binding, the window and its message loop.
#pragma once
#include <windows.h>

#include <string>

constexpr wchar_t kWelcomeInstanceEventName[] = L"Local\\Quillora_Welcome_IsRunning";

// True when the command line holds "/auto" anywhere (case-sensitive).
bool HasAutoSwitch(const std::wstring& commandLine);
// The program's exit code: 1 when another instance runs, 0 when the window
// could not be made, else the id of the command that closed it.
int WelcomeMain(HINSTANCE instance, const wchar_t* commandLine, int show);
