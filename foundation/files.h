// File and folder tests.
#pragma once
#include <string>

// 2 when PathFileExistsW says the path exists, 1 when it says it does not,
// 0 when shlwapi or the function cannot be loaded.
int PathFileExistsDyn(const wchar_t* path);
// True when the path names an existing file, not a folder.
bool IsFileExist(const std::wstring& path);
