// The toolbars' images from bitmap strips of the program's resources.
#pragma once
#include <windows.h>

class CImageList;

// Adds the count images of the strip (magenta is transparent); when the
// strip cannot be loaded or added, as many empty images, so the button
// image indices hold.
void AddImageStrip(CImageList& list, UINT bitmapId, int count);
