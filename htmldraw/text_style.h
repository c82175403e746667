// The text style the drawer keeps while it walks the markup: one current
// style, one per frame of the style stack, one per table, row and cell.
#pragma once
#include <windows.h>

#include <string>

enum HtmlBackgroundMode { kBackgroundTransparent = 1, kBackgroundOpaque = 2 };
enum HtmlHorzAlign { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2, kAlignJustify = 3 };
enum HtmlVertAlign { kAlignTop = 0, kAlignVCenter = 1, kAlignBottom = 2, kAlignBaseline = 3 };
enum HtmlBorderStyle {
  kBorderNone = 0,
  kBorderSolid = 1,
  kBorderDashed = 2,
  kBorderDotted = 3,
  kBorderDouble = 6,
};
enum HtmlTextTransform { kTransformNone = 0, kTransformUpper = 1, kTransformLower = 2, kTransformCapitalize = 3 };
enum HtmlLinkKind { kLinkNone = 0, kLinkHref = 1, kLinkMsg = 2 };

struct HtmlTextStyle {
  std::wstring name;  // style name of the frame
  int fontSize = 16;  // font cell height in logical units
  int fontWeight = FW_NORMAL;
  BOOL italic = FALSE;
  BOOL underline = FALSE;
  BOOL strikeout = FALSE;
  BOOL overline = FALSE;
  std::wstring fontFamily = L"Verdana";
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF backgroundColor = RGB(255, 255, 255);
  COLORREF borderColorLight = RGB(0, 0, 0);
  COLORREF borderColorDark = RGB(0, 0, 0);
  COLORREF backgroundMidColor = RGB(255, 255, 255);
  COLORREF backgroundEndColor = RGB(255, 255, 255);
  int backgroundMode = kBackgroundTransparent;
  int backgroundEffect = -1;    // -1 transparent, 0 solid, 1..15 the painter's effects
  std::wstring backgroundImage; // "idres:", "iddll:" or "file:" and the value (tables; text: a file)
  int backgroundRepeat = 0;     // text: 0 both ways, 1 across, 2 down
  int horzAlign = kAlignLeft;
  int vertAlign = kAlignBaseline;
  int borderStyle = kBorderNone;
  int borderWidth = 0;
  int width = 0;   // tables and cells; 0 = automatic
  int height = 0;
  int textTransform = kTransformNone;
  int innerSpacing = 2;  // CSS margin, table cellpadding
  int outerSpacing = 0;  // CSS padding, table cellspacing
  int linkKind = kLinkNone;
  std::wstring linkTarget;
};

// The font GDI makes for a style: height, weight, the three font flags and
// the family (cut to what LOGFONT holds), DEFAULT_CHARSET, the rest zero.
LOGFONTW StyleLogFont(const HtmlTextStyle& style);

// Applies a text transform to one run: upper, lower, or capitalised (lower
// case, then a letter a-z at the start or after a blank made upper case).
void ApplyTextTransform(std::wstring& run, int transform);
