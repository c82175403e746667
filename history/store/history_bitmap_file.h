// A history bitmap on disk is a plain ".bmp" file; loaded back it becomes a
// DIB section. The file may have been edited by anyone: every size in it is
// checked against the file before a byte is read.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// Null, with the reason, for anything but a complete uncompressed BMP.
HBITMAP BitmapFromBmpBytes(const unsigned char* bytes, size_t size, std::wstring* problem);
