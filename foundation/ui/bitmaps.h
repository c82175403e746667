// Bitmaps to files and to the clipboard, and bitmap comparison.
#pragma once
#include <windows.h>

#include <string>

// A zeroed BITMAPINFO (LocalAlloc; free with LocalFree) describing the
// bitmap as an uncompressed DIB of its own depth, with room for the colour
// table below 24 bits. Null when the bitmap cannot be read.
BITMAPINFO* CreateBitmapInfo(HBITMAP bitmap);
// Writes the bitmap as a .bmp file in the format info describes.
bool WriteBitmapFile(const std::wstring& path, BITMAPINFO* info, HBITMAP bitmap, HDC dc);
bool SaveBitmapToFile(const std::wstring& path, HBITMAP bitmap);
// Replaces the clipboard's content by a copy of the bitmap (CF_BITMAP).
bool CopyBitmapToClipboard(HBITMAP bitmap);
// Same handle, or same size, depth and pixels.
bool IsSameBitmap(HBITMAP a, HBITMAP b);
