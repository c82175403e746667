// Opening a link target: the shell first, and where it cannot, the program
// registered for ".htm" pages.
#pragma once
#include <windows.h>

#include <string>

// The browser command line for target from the ".htm" open command: the
// command is cut at its first quoted "%1" (the quote included) or else at the
// first "%1", and the target follows as one quoted argument (quotes inside
// it are dropped, so it cannot end the argument early).
std::wstring BrowserCommandLine(const std::wstring& openCommand, const std::wstring& target);

// ShellExecute's "open"; when that fails, the ".htm" program started with the
// target. True when either started.
bool OpenLinkTarget(const std::wstring& target);
