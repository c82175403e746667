// Bitmaps and icons with colour effects, masks and shadows; percentage and
// alpha blending.
#include <algorithm>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/work_bitmap.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// COLORREF is red in the low byte; DIB pixels have blue there.
DWORD ToPixel(COLORREF c) {
  return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) |
         GetBValue(c);
}

DWORD Channel(DWORD pixel, int shift) { return (pixel >> shift) & 0xFF; }

// A memory DC holding a bitmap for one scope; false when the bitmap cannot
// be selected (null, or selected into another DC).
class BitmapDc {
 public:
  explicit BitmapDc(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc && bitmap) {
      m_old = SelectObject(m_dc.Get(), bitmap);
      if (m_old == HGDI_ERROR) m_old = nullptr;
    }
  }
  ~BitmapDc() {
    if (m_old) SelectObject(m_dc.Get(), m_old);
  }
  BitmapDc(const BitmapDc&) = delete;
  BitmapDc& operator=(const BitmapDc&) = delete;
  HDC Get() const { return m_dc.Get(); }
  explicit operator bool() const { return m_old != nullptr; }

 private:
  UniqueMemoryDC m_dc;
  HGDIOBJ m_old = nullptr;
};

// The bitmap's natural size brought to width x height in a 32-bit bitmap,
// which keeps an alpha channel that a display-format copy would lose.
HBITMAP SizedCopy(HBITMAP bitmap, SIZE natural, int width, int height) {
  BitmapDc src(bitmap);
  WorkBitmap copy;
  if (!src || !copy.Create(width, height)) return nullptr;
  if (natural.cx == width && natural.cy == height) {
    BitBlt(copy.Dc(), 0, 0, width, height, src.Get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(copy.Dc(), COLORONCOLOR);
    StretchBlt(copy.Dc(), 0, 0, width, height, src.Get(), 0, 0, natural.cx, natural.cy, SRCCOPY);
  }
  return copy.Detach();
}

}  // namespace

SIZE CEffectPainter::GetIconSize(HICON icon) {
  SIZE size = {0, 0};
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return size;
  size.cx = static_cast<LONG>(info.xHotspot) * 2;
  size.cy = static_cast<LONG>(info.yHotspot) * 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return size;
}

SIZE CEffectPainter::GetBitmapSize(HBITMAP bitmap) {
  SIZE size = {0, 0};
  BITMAP bm = {};
  if (bitmap && GetObjectW(bitmap, sizeof(bm), &bm) == sizeof(bm)) {
    size.cx = bm.bmWidth;
    size.cy = bm.bmHeight;
  }
  return size;
}

void CEffectPainter::BlendBlit(HDC dst, int x, int y, int width, int height, HDC src, int srcX,
                               int srcY, int percent) {
  if (!dst || !src || width <= 0 || height <= 0) return;
  if (percent >= 100) {
    BitBlt(dst, x, y, width, height, src, srcX, srcY, SRCCOPY);
    return;
  }
  DWORD p = static_cast<DWORD>(std::max(percent, 0));
  WorkBitmap s, d;
  if (!CopyToWorkBitmap(s, src, srcX, srcY, width, height) ||
      !CopyToWorkBitmap(d, dst, x, y, width, height))
    return;
  DWORD* sp = s.Pixels();
  DWORD* dp = d.Pixels();
  for (size_t i = 0, n = d.Count(); i < n; ++i) {
    DWORD out = 0;
    for (int shift = 0; shift < 32; shift += 8)
      out |= ((Channel(sp[i], shift) * p + Channel(dp[i], shift) * (100 - p)) / 100) << shift;
    dp[i] = out;
  }
  BitBlt(dst, x, y, width, height, d.Dc(), 0, 0, SRCCOPY);
}

void CEffectPainter::AlphaBlit(HDC dst, int x, int y, int width, int height, HDC src, int srcX,
                               int srcY) {
  if (!dst || !src || width <= 0 || height <= 0) return;
  WorkBitmap s, d;
  if (!CopyToWorkBitmap(s, src, srcX, srcY, width, height) ||
      !CopyToWorkBitmap(d, dst, x, y, width, height))
    return;
  DWORD* sp = s.Pixels();
  DWORD* dp = d.Pixels();
  for (size_t i = 0, n = d.Count(); i < n; ++i) {
    DWORD a = sp[i] >> 24;
    DWORD out = dp[i] & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8)
      out |= ((Channel(sp[i], shift) * a + Channel(dp[i], shift) * (255 - a)) / 255) << shift;
    dp[i] = out;
  }
  BitBlt(dst, x, y, width, height, d.Dc(), 0, 0, SRCCOPY);
}

HBITMAP CEffectPainter::CreateEffectBitmap(HBITMAP bitmap, int width, int height, UINT effect,
                                           bool maskOn, COLORREF maskColour, COLORREF colour) {
  BitmapDc src(bitmap);
  WorkBitmap work;
  if (!src || !work.Create(width, height)) return nullptr;
  // A monochrome source takes the work DC's text (black) and background
  // (white) colours, which are the defaults of a new DC.
  if (!BitBlt(work.Dc(), 0, 0, width, height, src.Get(), 0, 0, SRCCOPY)) return nullptr;
  GdiFlush();
  const DWORD mask = ToPixel(maskColour);
  const DWORD replace = ToPixel(colour);
  DWORD* px = work.Pixels();
  for (size_t i = 0, n = work.Count(); i < n; ++i) {
    DWORD alpha = px[i] & 0xFF000000;
    DWORD rgb = px[i] & 0x00FFFFFF;
    if (alpha) m_alpha = true;
    if (maskOn && !alpha && rgb == mask) {
      rgb = 0;
    } else if (effect & (kEffectGray | kEffectDarken | kEffectLighten | kEffectReplace)) {
      DWORD r = Channel(rgb, 16), g = Channel(rgb, 8), b = Channel(rgb, 0);
      if (effect & kEffectGray) r = g = b = (r * 299 + g * 587 + b * 114) / 1000;
      if (effect & kEffectDarken) {
        r = r * 3 / 4;
        g = g * 3 / 4;
        b = b * 3 / 4;
      }
      if (effect & kEffectLighten) {
        r = std::min<DWORD>(r * 5 / 4, 255);
        g = std::min<DWORD>(g * 5 / 4, 255);
        b = std::min<DWORD>(b * 5 / 4, 255);
      }
      rgb = (effect & kEffectReplace) ? replace : (r << 16) | (g << 8) | b;
    }
    if (effect & kEffectInvert) rgb ^= 0x00FFFFFF;
    px[i] = alpha | rgb;
  }
  return work.Detach();
}

HICON CEffectPainter::StretchIcon(HICON icon, int width, int height) {
  if (!icon || !IsDrawableSize(width, height)) return nullptr;
  SIZE natural = GetIconSize(icon);
  ICONINFO info = {};
  if (natural.cx <= 0 || natural.cy <= 0 || !GetIconInfo(icon, &info)) return nullptr;
  UniqueGdiObject colourBits(info.hbmColor), maskBits(info.hbmMask);
  if (!colourBits || !maskBits) return nullptr;  // monochrome icons are not drawn
  UniqueGdiObject colour(SizedCopy(info.hbmColor, natural, width, height));
  UniqueGdiObject mask(CreateBitmap(width, height, 1, 1, nullptr));
  if (!colour || !mask) return nullptr;
  {
    BitmapDc from(info.hbmMask), to(static_cast<HBITMAP>(mask.Get()));
    if (!from || !to) return nullptr;
    SetStretchBltMode(to.Get(), COLORONCOLOR);
    StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, natural.cx, natural.cy, SRCCOPY);
  }
  ICONINFO made = {TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()),
                   static_cast<HBITMAP>(colour.Get())};
  return CreateIconIndirect(&made);  // copies both bitmaps
}

void CEffectPainter::DrawMaskedImage(HDC dc, int x, int y, int width, int height, HBITMAP mask,
                                     HBITMAP image, HBITMAP shadow, UINT effect,
                                     bool shadowRoom, int shadowX, int shadowY, int blurX,
                                     int blurY) {
  if (shadowRoom) {
    if (effect & kEffectShadowMask) {
      if (shadow)
        DrawShadow(dc, x + shadowX, y + shadowY, width, height, shadow,
                   (effect & kEffectSoftShadow) != 0, blurX, blurY);
    } else {
      // Room kept for a shadow this state does not show (one that appears
      // on hover): the image sits where the shadow would fall.
      x += shadowX;
      y += shadowY;
    }
  }
  BitmapDc imageDc(image);
  if (!imageDc) return;
  if (m_alpha) {
    AlphaBlit(dc, x, y, width, height, imageDc.Get(), 0, 0);
    return;
  }
  BitmapDc maskDc(mask);
  if (!maskDc) return;
  COLORREF oldText = SetTextColor(dc, kBlack);
  BitBlt(dc, x, y, width, height, maskDc.Get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, width, height, imageDc.Get(), 0, 0, SRCPAINT);
  SetTextColor(dc, oldText);
}

void CEffectPainter::DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap,
                                bool maskOn, COLORREF maskColour, UINT effect, bool shadowRoom,
                                int shadowX, int shadowY, int blurX, int blurY,
                                COLORREF colour) {
  m_alpha = false;
  if (!dc || !bitmap || !IsDrawableSize(width, height)) return;
  SIZE natural = GetBitmapSize(bitmap);
  if (natural.cx <= 0 || natural.cy <= 0) return;
  UniqueGdiObject copy(SizedCopy(bitmap, natural, width, height));
  if (!copy) return;
  HBITMAP source = static_cast<HBITMAP>(copy.Get());
  UniqueGdiObject mask(CreateEffectBitmap(source, width, height, kEffectReplace | kEffectInvert,
                                          maskOn, maskColour, kWhite));
  UniqueGdiObject image(
      CreateEffectBitmap(source, width, height, effect, maskOn, maskColour, colour));
  UniqueGdiObject shadow;
  if (shadowRoom && (effect & kEffectShadowMask))
    shadow.Reset(CreateEffectBitmap(source, width, height, kEffectReplace | kEffectInvert,
                                    maskOn, maskColour, colour ^ 0x00FFFFFF));
  if (!mask || !image) return;
  DrawMaskedImage(dc, x, y, width, height, static_cast<HBITMAP>(mask.Get()),
                  static_cast<HBITMAP>(image.Get()), static_cast<HBITMAP>(shadow.Get()), effect,
                  shadowRoom, shadowX, shadowY, blurX, blurY);
}

void CEffectPainter::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon,
                              UINT effect, bool shadowRoom, int shadowX, int shadowY, int blurX,
                              int blurY, COLORREF colour) {
  m_alpha = false;
  if (!dc || !icon || !IsDrawableSize(width, height)) return;
  SIZE natural = GetIconSize(icon);
  UniqueIcon sized(natural.cx == width && natural.cy == height ? CopyIcon(icon)
                                                               : StretchIcon(icon, width, height));
  ICONINFO info = {};
  if (!sized || !GetIconInfo(sized.Get(), &info)) return;
  UniqueGdiObject colourBits(info.hbmColor), maskBits(info.hbmMask);
  if (!colourBits || !maskBits) return;
  // The icon's own mask (white = transparent) says which pixels are kept,
  // so black pixels of the picture stay visible.
  UniqueGdiObject mask(CreateEffectBitmap(info.hbmMask, width, height,
                                          kEffectReplace | kEffectInvert, true, kWhite, kWhite));
  UniqueGdiObject image(
      (effect & kEffectReplace)
          ? CreateEffectBitmap(info.hbmMask, width, height, effect, true, kWhite, colour)
          : CreateEffectBitmap(info.hbmColor, width, height, effect, true, kBlack, colour));
  UniqueGdiObject shadow;
  if (shadowRoom && (effect & kEffectShadowMask))
    shadow.Reset(CreateEffectBitmap(info.hbmMask, width, height, kEffectReplace | kEffectInvert,
                                    true, kWhite, colour ^ 0x00FFFFFF));
  if (!mask || !image) return;
  DrawMaskedImage(dc, x, y, width, height, static_cast<HBITMAP>(mask.Get()),
                  static_cast<HBITMAP>(image.Get()), static_cast<HBITMAP>(shadow.Get()), effect,
                  shadowRoom, shadowX, shadowY, blurX, blurY);
}

void CEffectPainter::DrawStripFrame(HDC dc, int x, int y, int width, int height, HBITMAP strip,
                                    int index, int frameWidth, int frameHeight, bool maskOn,
                                    COLORREF maskColour, UINT effect, bool shadowRoom,
                                    int shadowX, int shadowY, int blurX, int blurY,
                                    COLORREF colour) {
  if (!strip || frameWidth <= 0 || frameHeight <= 0 || index < 0) return;
  SIZE size = GetBitmapSize(strip);
  int columns = size.cx / frameWidth, rows = size.cy / frameHeight;
  if (index >= static_cast<long long>(columns) * rows) return;
  WorkBitmap frame;
  if (!frame.Create(frameWidth, frameHeight)) return;
  {
    BitmapDc src(strip);
    if (!src) return;
    BitBlt(frame.Dc(), 0, 0, frameWidth, frameHeight, src.Get(), (index % columns) * frameWidth,
           (index / columns) * frameHeight, SRCCOPY);
  }
  UniqueGdiObject cut(frame.Detach());
  DrawBitmap(dc, x, y, width, height, static_cast<HBITMAP>(cut.Get()), maskOn, maskColour,
             effect, shadowRoom, shadowX, shadowY, blurX, blurY, colour);
}
