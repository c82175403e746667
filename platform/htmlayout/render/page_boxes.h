// The box of a block element as the page's style sheets give it: margins,
// padding, border and background, width, floating, absolute position and
// horizontal flow, in pixels of the width it is laid out in.
#pragma once
#include <windows.h>

#include <string>

#include "platform/htmlayout/render/page_styles.h"

namespace hl {

enum class BoxFloat { kNone, kLeft, kRight };

// A background image as the style gives it: the address as written, the
// repeat keyword, and position and size in the drawer's words ("N" pixels
// or "N%" of the room left, horizontal then vertical).
struct BoxImage {
  std::wstring url;
  std::wstring repeat = L"repeat";
  std::wstring position = L"0 0";
  std::wstring size;  // "W H" pixels; empty: the image's own
};

struct BoxStyle {
  int margin[4] = {0, 0, 0, 0};   // top right bottom left
  int padding[4] = {0, 0, 0, 0};
  int borderWidth = 0;            // 0: no border; a double one is 3 deep
  std::wstring borderStyle;       // solid, dashed, dotted or double
  COLORREF borderColor[4] = {0, 0, 0, 0};
  bool sideColors = false;        // the sides differ
  int radius = 0;
  bool hasBackground = false;
  COLORREF background = 0;
  int width = -1;                 // content width; -1: as wide as it can be
  std::wstring textIndent;        // the drawer's length; empty: none
  BoxImage image;
  BoxFloat floating = BoxFloat::kNone;
  bool absolute = false;
  int offset[4] = {-1, -1, -1, -1};  // top right bottom left of an absolute box; -1: none
  bool horizontal = false;           // flow: horizontal

  // Whether the element needs a box of its own at all.
  bool Drawn() const;
  int Horizontal() const { return margin[1] + margin[3] + padding[1] + padding[3] + 2 * borderWidth; }
};

// A length: pixels (px, pt and bare numbers alike) or a percentage of base;
// -1 when absent or unreadable. Bounded to 1 << 24.
int PageLength(const std::wstring& value, int base);
// A colour by name or #RRGGBB (or #RGB); otherwise when unreadable.
COLORREF PageColor(const std::wstring& value, COLORREF otherwise);

BoxStyle ReadBoxStyle(const StyleDeclarations& declarations, int parentWidth);
// The background image of the declarations (background-image or the
// background shorthand, with repeat, position and size); empty url: none.
BoxImage ReadBoxImage(const StyleDeclarations& declarations);

}  // namespace hl
