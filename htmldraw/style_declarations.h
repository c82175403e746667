// Applies the declaration text of a style rule (or a style attribute) to a
// text style.
#pragma once
#include <windows.h>

#include <string>

#include "htmldraw/text_style.h"

class NamedColorTable;
class StyleLengthUnits;

// How colour values resolve: by name and number, or, while the drawer is
// disabled, all to the disabled colour.
struct StyleColorContext {
  const NamedColorTable* names = nullptr;
  bool enabled = true;
  COLORREF disabledColor = RGB(128, 128, 128);

  COLORREF Resolve(const std::wstring& value, COLORREF current) const;
};

// The text is lower-cased first, so properties and values are
// case-insensitive; unknown properties and (mostly) empty values change
// nothing.
void ApplyStyleDeclarations(const std::wstring& text, HtmlTextStyle& style, const StyleColorContext& colors,
                            StyleLengthUnits& units);

// A text background: "transparent" or empty, else an opaque colour (while
// disabled always transparent). Shared by the background-color property and
// the font tag's bkgnd attribute.
void ApplyTextBackground(const std::wstring& value, HtmlTextStyle& style, const StyleColorContext& colors);
