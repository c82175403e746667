// The tray program's entry: decides whether this start is the running
// (first) instance or a second start that hands its request over and ends,
// waits at logon in automode, and runs the tray window's message loop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CCommandLine;
class CIdleHandler;

// Exit codes of a start that does not run the tray window.
constexpr int kExitHandedOver = 1;          // a running instance was signalled, or none to close
constexpr int kExitNoInstanceEvent = 2;     // the instance event could not be created
constexpr int kExitAutomodeCutShort = 12;   // another start waited in automode

// The whole start of the program; the result is the process exit code.
int QuilloraMain(HINSTANCE instance, const wchar_t* commandLine);

// Builds the message loop, creates the tray window and runs the loop until
// the window quits; 0 when the window cannot be created.
int RunTrayWindow(HANDLE instanceEvent, int noInstall, const CCommandLine& commandLine);

// Idle handlers that join the tray thread's message loop when it is built
// (null entries are skipped).
std::vector<CIdleHandler*>& GetIdleHandlerList();

// Logs text + " " + MM/DD/YY + " " + HH:MM:SS (local time) while the log
// is open.
bool LogTimeStamped(const std::wstring& text);
