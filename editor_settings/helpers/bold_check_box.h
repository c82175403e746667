// Check boxes whose text turns bold while they are checked.
#pragma once
#include <windows.h>

// Subclasses the check box (a second call does nothing) so that a
// BM_SETCHECK that changes its state gives it the bold font while checked
// and DEFAULT_GUI_FONT otherwise; the font of the present state is set at
// once. A check box that another procedure subclassed before keeps it: each
// window is passed on to its own previous procedure. False when the window
// does not exist or the process-wide subclass registry holds it for another
// owner.
bool SetBoldWhenChecked(HWND checkBox);
// DEFAULT_GUI_FONT in weight 700; made once.
HFONT GetBoldCheckBoxFont();
