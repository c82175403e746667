// Fonts, colours and pens shared by the programs' windows. Each object is
// made on first use and kept for the life of the process.
#pragma once
#include <windows.h>

// The system's small-caption font with face "MS Shell Dlg", bold; null when
// the metrics cannot be read (then tried again on the next call).
HFONT GetBoldDialogFont();
// The same font, normal weight, italic.
HFONT GetItalicDialogFont();

COLORREF GetColorBlue();
COLORREF GetColorRed();
COLORREF GetColorGreen();
HPEN GetBluePen();  // solid, width 2
HPEN GetRedPen();

// Makes the control's text blink: a thread switches the control between a
// bold (or normal, when the parent's font is bold) copy of its parent's font
// and the parent's font, three times. When a message is given, the
// notification window receives it with wParam 1 before and 0 after. False
// when the control does not exist or the thread cannot start.
bool BlinkWindowFontAsync(HWND control, UINT message, HWND notifyWindow);
bool BlinkWindowFont(HWND control);
