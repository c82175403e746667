// PNG files read through the Windows imaging codecs into bitmaps the
// painter draws like 32-bit .bmp files: blue, green, red and a straight
// (not premultiplied) alpha byte per pixel, rows top-down.
#pragma once
#include <windows.h>

#include <string>

// Largest side of a PNG that is decoded; anything bigger is refused before
// its pixels are read.
constexpr UINT kMaxPngSide = 4096;

// True when the path ends in .png (any case).
bool IsPngPath(const std::wstring& path);
// A DIB section of the file's first frame; null when the file is missing,
// not a PNG, corrupt, truncated or larger than kMaxPngSide on a side.
HBITMAP LoadPngFile(const std::wstring& path);
