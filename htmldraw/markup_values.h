// The value kinds of tag attributes and style declarations: numbers, colours,
// lengths with their units, font weights. Every number saturates instead of
// wrapping, and every length ends within what GDI can take.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class NamedColorTable;

// Lengths of any kind end in 0..kMaxStyleLength pixels.
constexpr int kMaxStyleLength = 32767;
// Font heights end in 0..kMaxFontHeight (0 lets GDI choose its default): a
// glyph thousands of pixels high costs the system a second to draw, and no
// screen shows one.
constexpr int kMaxFontHeight = 1024;

// The optionally signed decimal integer at the start of text (after leading
// blanks), saturated to the int range; 0 when there is none.
int ParseLeadingInt(const wchar_t* text);

// An unsigned number, decimal, hexadecimal after "0x" or octal after a
// leading 0, read up to the first character that is no digit of its base;
// saturated at 0xFFFFFFFF.
uint32_t ParseUnsignedNumber(const std::wstring& text);

// A colour value: empty keeps current; "#RRGGBB" (exactly six hexadecimal
// digits, else current); a leading digit: a number taken as the COLORREF
// (above 0xFFFFFF it is white, since the top byte is no colour); else a
// colour name (unknown: current).
COLORREF ParseMarkupColor(const std::wstring& value, COLORREF current, const NamedColorTable& names);

// "normal" or empty 400, "bold" 700, "bolder" 900, "lighter" 100, else the
// decimal number within GDI's 0..1000.
int ParseFontWeight(const std::wstring& value);

// What em, ex and the absolute units stand for: taken from a device context
// when first asked (em and ex from the font selected at that moment), or given.
class StyleLengthUnits {
 public:
  explicit StyleLengthUnits(HDC dc) : m_dc(dc) {}
  StyleLengthUnits(int dpiY, int emHeight, int exHeight)
      : m_dpiY(dpiY), m_em(emHeight), m_ex(exHeight) {}

  int DpiY();
  int EmHeight();
  int ExHeight();

 private:
  HDC m_dc = nullptr;
  int m_dpiY = -1;
  int m_em = -1;
  int m_ex = -1;
};

enum class LengthKind {
  kPlain,     // a length in pixels
  kFontSize,  // bare 1..7 are HTML sizes; the result is a font height
};

// A length: leading "+" or "-" dropped; "N%" of current (rounded); else the
// leading integer with the unit named by the last two characters (px em ex
// in cm mm pt pc); else the whole value as an unsigned number. Empty keeps
// current. The result is clamped to 0..kMaxStyleLength (font sizes to
// 0..kMaxFontHeight).
int ParseStyleLength(const std::wstring& value, int current, StyleLengthUnits& units,
                     LengthKind kind = LengthKind::kPlain);

// A table's bgeffect: "transparent" -1, "solid" 0, then "hgradient" 1 to
// "metal" 15, or such a number (clamped to -1..15); else current.
int ParseBackgroundEffect(const std::wstring& value, int current);

// The font height of HTML size 1..7 (8, 10, 12, 14, 18, 24, 36 pixels).
int HtmlFontSize(int size);
