// Measuring and painting the owner-drawn items of the phrase menu: a side
// band on the top-level menu, an icon per kind of phrase, numbers, caret
// marks, hints, labelled separators and the frame of the last used phrase.
#pragma once
#include <windows.h>

#include <cstdint>

// Forgets the current menu and the side band (a new handler starts clean).
void ResetMenuDrawing();
void SetCurrentPhraseMenu(HMENU menu, HWND tracker);
bool IsCurrentPhraseMenu(HMENU menu);
HWND GetCurrentMenuTracker();
// The item height from the system's non-client metrics.
void ReadMenuItemHeight();
int GetMenuItemHeight();
void ResetSideBand();
bool IsSideBandDrawn();

// The font the menu fonts are made from (null: the system's menu font).
void SetMenuFontBase(const LOGFONTW* font);
// The font of a style (MenuFontStyle bits), made once.
HFONT GetMenuFont(int style);
void ReleaseMenuFonts();
// The 16x16 icon of an icon kind (null for none), loaded once.
HICON GetMenuKindIcon(int kind);
void FreeMenuKindIcons();

// The colour of odd item stripes: each channel lowered by 4 (clamped at
// 0), pure black raised by 4.
COLORREF StripeColour(COLORREF base);

BOOL MeasureMenuItem(MEASUREITEMSTRUCT* item);
BOOL DrawMenuItem(DRAWITEMSTRUCT* item);
