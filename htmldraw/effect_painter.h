// Drawing that plain GDI calls do not give: bitmaps and icons with colour
// effects, masks and drop shadows, alpha and percentage blending, gradients
// and textured fills for backgrounds, and frames and lines in the border
// styles. The HTML drawer embeds one; the tooltip uses it too.
#pragma once
#include <windows.h>

#include "htmldraw/dib_bitmap.h"

class CEffectPainter {
 public:
  // Bits of the effect word (an image's style letters).
  enum Effect : UINT {
    kEffectGray = 0x1,
    kEffectDarken = 0x2,
    kEffectLighten = 0x4,
    kEffectReplace = 0x8,  // disabled: every kept pixel takes the colour
    kEffectHardShadow = 0x100,
    kEffectSoftShadow = 0x200,
    kEffectShadowMask = kEffectHardShadow | kEffectSoftShadow,
    kEffectInvert = 0x8000,  // applies to masked pixels too
  };

  // Background effects of tables, cells and tips.
  enum Fill : int {
    kFillTransparent = -1,
    kFillSolid = 0,
    kFillHGradient = 1,
    kFillVGradient = 2,
    kFillHCGradient = 3,
    kFillVCGradient = 4,
    kFill3HGradient = 5,
    kFill3VGradient = 6,
    kFillNoise = 7,
    kFillDiagShade = 8,
    kFillHShade = 9,
    kFillVShade = 10,
    kFillHBump = 11,
    kFillVBump = 12,
    kFillSoftBump = 13,
    kFillHardBump = 14,
    kFillMetal = 15,
  };

  // Border styles of frames and lines.
  enum Border : int {
    kBorderNone = 0,
    kBorderSolid = 1,
    kBorderDashed = 2,
    kBorderDotted = 3,
    kBorderDashDot = 4,
    kBorderDashDotDot = 5,
    kBorderDouble = 6,
  };

  // Bitmaps handed to the painter must not be selected into a DC: it
  // selects them into DCs of its own (a selected one draws nothing).

  CEffectPainter() = default;
  virtual ~CEffectPainter() = default;
  CEffectPainter(const CEffectPainter&) = delete;
  CEffectPainter& operator=(const CEffectPainter&) = delete;

  // Twice the hotspot (an icon's hotspot is its centre); 0 x 0 for null.
  static SIZE GetIconSize(HICON icon);
  static SIZE GetBitmapSize(HBITMAP bitmap);

  // Source over destination at percent opacity; 100 or more is a plain copy.
  void BlendBlit(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                 int percent);
  // Source over destination by the source's own (not premultiplied) alpha.
  void AlphaBlit(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY);

  // A new 32-bit bitmap (the caller deletes it) of the bitmap's top-left
  // width x height pixels with the effects applied; null on failure. A
  // pixel with a non-zero alpha byte sets the alpha flag and is never masked.
  HBITMAP CreateEffectBitmap(HBITMAP bitmap, int width, int height, UINT effect, bool maskOn,
                             COLORREF maskColour, COLORREF colour);
  // A new icon (the caller destroys it) stretched to width x height.
  HICON StretchIcon(HICON icon, int width, int height);

  // 64 bands from c1 to c2 across the width (horizontal) or the height.
  void DrawGradient(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, bool horizontal);
  // One of the background effects with background, middle and end colours.
  void FillRectEffect(HDC dc, int effect, const RECT& rect, COLORREF c1, COLORREF c2,
                      COLORREF c3, int granularity, int tint);
  // The tile repeated over the area, cut at its right and bottom edges.
  void TileBitmap(HDC dc, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                  int tileWidth, int tileHeight);

  // The bitmap at width x height; with shadow room and a shadow bit its
  // shadow falls at the shadow offsets, without a shadow bit the image
  // itself moves there (its place when a hover style adds the shadow).
  void DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool maskOn,
                  COLORREF maskColour, UINT effect, bool shadowRoom, int shadowX, int shadowY,
                  int blurX, int blurY, COLORREF colour);
  void DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, UINT effect,
                bool shadowRoom, int shadowX, int shadowY, int blurX, int blurY,
                COLORREF colour);
  // Frame number index (row by row) of a strip of equal frames.
  void DrawStripFrame(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index,
                      int frameWidth, int frameHeight, bool maskOn, COLORREF maskColour,
                      UINT effect, bool shadowRoom, int shadowX, int shadowY, int blurX,
                      int blurY, COLORREF colour);
  // Darkens the area where the shadow bitmap is dark (white leaves it).
  void DrawShadow(HDC dc, int x, int y, int width, int height, HBITMAP shadow, bool soft,
                  int blurX, int blurY);

  // Left and top sides in the light colour, right and bottom in the dark
  // one, inside the rectangle (right and bottom exclusive); a double frame
  // repeats it 2 x width further in. Nothing for a pen too wide to fit.
  void DrawFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int borderStyle,
                 int width);
  // A double line repeats the line 2 x width below (unless it is vertical)
  // and to the right (unless it is horizontal).
  void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int borderStyle,
                int width);

  // Set when a bitmap drawn last had a pixel with a non-zero alpha byte.
  bool HasAlpha() const { return m_alpha; }

 private:
  // Draws a textured fill into m_texture; false when it cannot be made.
  bool FillTexture(int effect, int width, int height, COLORREF c1, COLORREF c2, COLORREF c3,
                   int granularity, int tint);
  // The mask / image / shadow sequence shared by bitmaps and icons.
  void DrawMaskedImage(HDC dc, int x, int y, int width, int height, HBITMAP mask,
                       HBITMAP image, HBITMAP shadow, UINT effect, bool shadowRoom,
                       int shadowX, int shadowY, int blurX, int blurY);

  CDibBitmap m_texture;  // 8-bit palette bitmap reused by the textured fills
  bool m_alpha = false;
};
