// Shell execution, system error texts and small string helpers.
#pragma once
#include <windows.h>

#include <string>

// The system's text for an error code; empty when it has none.
std::wstring FormatSystemMessage(DWORD code);
// ShellExecuteW; on failure errorText (when given) receives the system's
// text for the result code.
bool ShellExecuteWithError(HWND owner, const wchar_t* verb, const wchar_t* file,
                           const wchar_t* parameters, const wchar_t* folder, int show,
                           std::wstring* errorText);
// Appends a backslash to a non-empty path that does not end with one.
void AddTrailingBackslash(std::wstring* path);
// Equality of two strings; a null string counts as empty.
bool StrEqualW(const wchar_t* a, const wchar_t* b);
