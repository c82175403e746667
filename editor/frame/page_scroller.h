// A child window that shows one page (a child window of its own) at least at
// the page's own size, with scroll bars while its client area is smaller.
// It scrolls by moving the page, never by copying its bits, so the page
// always paints itself whole.
#pragma once
#include <windows.h>

namespace page_scroller {

// Null when the window cannot be made.
HWND Create(HWND parent, UINT id);
// The page becomes the scroller's child; it is never laid out smaller than
// pageSize (its template's size).
void SetPage(HWND scroller, HWND page, SIZE pageSize);

}  // namespace page_scroller
