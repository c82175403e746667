// Copying and deleting files and folder trees through the shell, which asks
// the user where asked to and keeps deleted files in the recycle bin.
#pragma once
#include <windows.h>

#include <string>

// Copies a file or directory tree through the shell; false when it failed
// or was cancelled.
bool ShellCopy(HWND owner, const std::wstring& from, const std::wstring& to, bool confirm);
// Deletes a file or directory tree into the recycle bin; false when it
// failed or the user cancelled. The shell keeps an undo only for a fully
// qualified path and deletes anything else for good, so the path is made
// absolute first (against the current folder); an empty path is refused.
// The first form reads at most length characters of path (null: false).
bool DeleteToRecycleBin(HWND owner, const wchar_t* path, size_t length, bool confirm);
bool DeleteToRecycleBin(HWND owner, const std::wstring& path, bool confirm);
