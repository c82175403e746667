// Registry reads, the autostart value under the Run key, and the programs
// the shell uses for web links and file types.
#pragma once
#include <windows.h>

#include <string>

// The string value (REG_SZ or REG_EXPAND_SZ, not expanded) of subKey under
// root; false when missing, of another type or longer than maxChars - 1.
bool RegReadString(HKEY root, const wchar_t* subKey, const wchar_t* valueName, size_t maxChars,
                   std::wstring& out);

// Writes (set) or deletes the value under "...\CurrentVersion\Run" of the
// current user (currentUser) or of the machine.
bool SetRunValue(bool currentUser, bool set, const wchar_t* valueName, const wchar_t* data);
bool SetAutoStart(bool set, const wchar_t* valueName, const wchar_t* data);
// True when the Run value, cut before its switches ("/..."), names
// programPath (letter case ignored).
bool IsRunValueThisProgram(bool currentUser, const wchar_t* valueName,
                           const std::wstring& programPath);
bool IsAutoStartSet(const wchar_t* valueName);

// The program of the "http" protocol's open command, unquoted.
std::wstring GetHttpHandlerPath();
// The existing program file of the open command of a file type.
std::wstring GetAppForExtension(const std::wstring& ext);
std::wstring GetDefaultBrowserPath();
std::wstring GetIEVersion();
