// The box of a page block as a table cell draws it: a fill with rounded
// corners, a border of a style and width with a colour per side, and a
// background image placed, sized and repeated inside it.
#pragma once
#include <windows.h>

#include <string>

class CEffectPainter;

enum class BoxRepeat { kBoth, kX, kY, kNone };

struct BoxBackgroundImage {
  std::wstring file;  // a local image file; empty: none
  BoxRepeat repeat = BoxRepeat::kBoth;
  // Where the first tile stands in the box: pixels from its left and top,
  // or (with the flag) a percentage of the room the image leaves.
  int position[2] = {0, 0};
  bool percent[2] = {false, false};
  int size[2] = {0, 0};  // 0: the image's own
};

// "repeat", "repeat-x", "repeat-y" or "no-repeat" (else repeat).
BoxRepeat ParseBoxRepeat(const std::wstring& value);
// Two "N" or "N%" words, horizontal then vertical, into the image's position.
void ParseBoxPosition(const std::wstring& value, BoxBackgroundImage& image);

void FillRoundedBox(HDC dc, const RECT& rect, int radius, COLORREF color);

// The border inside rect: solid, dashed and dotted ones width pixels deep,
// a double one two one-pixel lines three pixels deep. The corners belong to
// the top and bottom sides, the straight parts between them to the left and
// right ones.
void DrawBoxBorder(HDC dc, const RECT& rect, int radius, const COLORREF sides[4], int style, int width);

// The image over the box (cut at its edges and rounded corners). Repeated
// tiles are copied from one drawn over what lies under its place, so that
// a small tile over a large box costs a few copies.
void DrawBoxBackgroundImage(HDC dc, CEffectPainter& painter, const RECT& box, int radius,
                            const BoxBackgroundImage& image);
