// The shell's folder browser.
#pragma once
#include <windows.h>

#include <string>

// The chosen folder, or empty when the user cancelled. The browser opens at
// startFolder; OK is enabled only on folders of the file system.
std::wstring BrowseForFolder(HWND parent, const std::wstring& title, const std::wstring& startFolder,
                             bool newFolderButton, bool editBox);
