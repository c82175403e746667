// Icon helpers: loading at a size, shell icons of file types and folders,
// and recoloured, grey and turned copies of icons. Every icon returned
// belongs to the caller, who destroys it.
#pragma once
#include <windows.h>

HICON LoadIconSize(HINSTANCE module, UINT resourceId, int size);
HICON LoadSmallIcon(HINSTANCE module, UINT resourceId);

// The shell's icon of an existing file or folder; with noIcon the shell is
// asked for nothing (and null comes back).
HICON GetFileIconByPath(const wchar_t* path, bool noIcon);
// The icon of a file type by its name or extension; the file need not exist.
HICON GetShellFileIcon(const wchar_t* pathOrName, bool large);
// The small icon of the ".txt" file type.
HICON GetTxtFileIcon();
// The system's folder icon, open or closed: the stock icon where the system
// has one, else the shell's icon of a folder.
HICON GetFolderIcon(bool open, bool large);
// Test seam: a stand-in for SHGetStockIconInfo (null: the system's own).
void SetStockIconFunction(FARPROC fn);

// Each opaque (or non-black) pixel becomes palette[255 - mean of its RGB],
// index 0 raised to 1, with its own alpha kept. Null when the icon has no
// colour bitmap that can be read.
HICON CreateRecoloredIcon(HICON icon, const COLORREF palette[256]);
// Grey of each pixel's mean (white gives grey 254), alpha kept.
HICON CreateGrayIcon(HICON icon);
// Turned by 90 degrees: source pixel (x, y) lands at (y, width - 1 - x).
HICON CreateRotatedIcon(HICON icon);
