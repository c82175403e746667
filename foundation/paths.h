// Paths of the running program.
#pragma once
#include <string>

// Full path of the running program file.
std::wstring GetModulePath();
// Program folder; with withSlash it ends with exactly one backslash, without
// it all trailing backslashes are removed.
std::wstring GetAppFolderEx(bool withSlash);
std::wstring GetAppFolder();
std::wstring GetAppFolderWithSlash();
