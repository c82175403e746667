// The editor's shared fonts and colours. Every font is made on first use
// from the system's caption font and kept for the life of the process;
// while the metrics cannot be read a font stays unmade (null) and the next
// request tries again.
//
// The foundation's bold and italic dialog fonts come from the small-caption
// font; the editor's own come from the caption font, so all of them live in
// the editor namespace.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/localization/dialog_fonts.h"  // GetColorGreen, GetColorBlue, GetColorRed

namespace editor {

HFONT GetDialogFont();           // caption font, weight 400, "MS Shell Dlg"
HFONT GetNormalDialogFont();     // the dialog font with weight 400
HFONT GetBiggerDialogFont();     // the dialog font a quarter higher
HFONT GetLargeDialogFont();      // caption font x 1.5, weight 400
HFONT GetLargeBoldDialogFont();  // caption font x 1.3, weight 700
HFONT GetBoldDialogFont();       // caption font, weight 700
HFONT GetItalicDialogFont();     // the dialog font, weight 400, italic
HFONT GetDefaultGuiFont();       // the stock DEFAULT_GUI_FONT

COLORREF GetGrayTextColor();  // COLOR_GRAYTEXT, read once
COLORREF GetMenuColor();
COLORREF GetWindowFrameColor();

// The colour a phrase is listed in: grey text when disabled, else by its
// colour state (1 green, 2 blue, anything else the window-text colour).
COLORREF GetPhraseTextColor(bool enabled, int colorState);

// "RRGGBB", for colours in markup.
std::wstring ColorToHex(COLORREF colour);

// A new font (the caller deletes it) with the font's LOGFONT and strike-out
// toggled; null when the font cannot be read.
HFONT CreateStrikeOutFont(HFONT font);

}  // namespace editor
