#include <gtest/gtest.h>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/tests/dib_canvas.h"

namespace {

using drawtest::Canvas;
using drawtest::MakeBitmap;
using drawtest::MakeSolidBitmap;
using drawtest::ReadRaw;
using drawtest::ToBgr;
using P = CEffectPainter;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

TEST(EffectBitmapTest, ColourEffectsWorkPerPixel) {
  struct Case {
    UINT effect;
    DWORD in;  // blue low, alpha high
    DWORD out;
    bool maskOn;
  } cases[] = {
      {P::kEffectGray, ToBgr(RGB(255, 0, 0)), 0x4C4C4C, false},  // 76
      {P::kEffectGray, ToBgr(RGB(0, 255, 0)), 0x959595, false},  // 149
      {P::kEffectGray, ToBgr(RGB(0, 0, 255)), 0x1D1D1D, false},  // 29
      {P::kEffectGray, ToBgr(kWhite), 0xFFFFFF, false},
      {P::kEffectDarken, ToBgr(RGB(200, 100, 50)), ToBgr(RGB(150, 75, 37)), false},
      {P::kEffectLighten, ToBgr(RGB(200, 100, 50)), ToBgr(RGB(250, 125, 62)), false},
      {P::kEffectLighten, ToBgr(RGB(240, 240, 240)), 0xFFFFFF, false},
      // gray first, then darken: 76 * 3 / 4
      {P::kEffectGray | P::kEffectDarken, ToBgr(RGB(255, 0, 0)), 0x393939, false},
      {P::kEffectReplace, ToBgr(RGB(1, 2, 3)), ToBgr(RGB(10, 20, 30)), false},
      {P::kEffectInvert, ToBgr(RGB(200, 100, 50)), ToBgr(RGB(55, 155, 205)), false},
      // masked pixels become 0 whatever the effect, and only invert reaches them
      {P::kEffectLighten | P::kEffectReplace, ToBgr(kMagenta), 0, true},
      {P::kEffectInvert, ToBgr(kMagenta), 0xFFFFFF, true},
      {P::kEffectGray, ToBgr(kMagenta), 0x696969, false},  // mask off: 105
      // a pixel with alpha is never masked, and its alpha byte is kept
      {0, 0x80000000 | ToBgr(kMagenta), 0x80000000 | ToBgr(kMagenta), true},
      {P::kEffectDarken, 0x40000000 | ToBgr(RGB(200, 100, 50)),
       0x40000000 | ToBgr(RGB(150, 75, 37)), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "effect " << c.effect << " pixel " << c.in);
    UniqueGdiObject source(MakeBitmap(2, 1, [&](int, int) { return c.in; }));
    P painter;
    UniqueGdiObject made(painter.CreateEffectBitmap(static_cast<HBITMAP>(source.Get()), 2, 1,
                                                    c.effect, c.maskOn, kMagenta,
                                                    RGB(10, 20, 30)));
    ASSERT_TRUE(made);
    EXPECT_EQ(c.out, ReadRaw(static_cast<HBITMAP>(made.Get()), 1, 0));
    EXPECT_EQ((c.in >> 24) != 0, painter.HasAlpha());
  }
}

TEST(EffectBitmapTest, RefusesMissingSourcesAndUnusableSizes) {
  UniqueGdiObject source(MakeSolidBitmap(4, 4, kWhite));
  HBITMAP s = static_cast<HBITMAP>(source.Get());
  P painter;
  EXPECT_EQ(nullptr, painter.CreateEffectBitmap(nullptr, 4, 4, 0, false, 0, 0));
  EXPECT_EQ(nullptr, painter.CreateEffectBitmap(s, 0, 4, 0, false, 0, 0));
  EXPECT_EQ(nullptr, painter.CreateEffectBitmap(s, 4, -1, 0, false, 0, 0));
  EXPECT_EQ(nullptr, painter.CreateEffectBitmap(s, 40000, 40000, 0, false, 0, 0));
  // Larger than the source: the rest is black, nothing is read past it.
  UniqueGdiObject big(painter.CreateEffectBitmap(s, 6, 6, 0, false, 0, 0));
  ASSERT_TRUE(big);
  EXPECT_EQ(0xFFFFFFu, ReadRaw(static_cast<HBITMAP>(big.Get()), 3, 3));
  EXPECT_EQ(0u, ReadRaw(static_cast<HBITMAP>(big.Get()), 5, 5));
}

TEST(EffectBlitTest, BlendMixesByPercentAndFromOneHundredCopies) {
  struct Case {
    int percent;
    COLORREF src, dst, expected;
  } cases[] = {
      {50, kWhite, kBlack, RGB(127, 127, 127)},
      {50, kWhite, kWhite, kWhite},
      {25, RGB(200, 100, 0), RGB(0, 100, 200), RGB(50, 100, 150)},
      {0, kWhite, RGB(9, 8, 7), RGB(9, 8, 7)},
      {-40, kWhite, RGB(9, 8, 7), RGB(9, 8, 7)},
      {100, RGB(1, 2, 3), kWhite, RGB(1, 2, 3)},
      {250, RGB(1, 2, 3), kWhite, RGB(1, 2, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.percent << "%");
    Canvas src(6, 6, c.src), dst(8, 8, RGB(0, 255, 0));
    for (int y = 1; y < 5; ++y)
      for (int x = 1; x < 5; ++x) dst.SetRaw(x, y, ToBgr(c.dst));
    P painter;
    painter.BlendBlit(dst.Dc(), 1, 1, 4, 4, src.Dc(), 2, 2, c.percent);
    EXPECT_EQ(c.expected, dst.At(1, 1));
    EXPECT_EQ(c.expected, dst.At(4, 4));
    EXPECT_EQ(0, dst.CountOutside({1, 1, 5, 5}, RGB(0, 255, 0)));
  }
}

TEST(EffectBlitTest, AlphaBlendsUnpremultipliedSourceByItsAlpha) {
  Canvas src(2, 1), dst(2, 1, RGB(0, 0, 255));
  src.SetRaw(0, 0, 0x80000000 | ToBgr(RGB(255, 0, 0)));
  src.SetRaw(1, 0, 0x00000000 | ToBgr(RGB(255, 0, 0)));
  P painter;
  painter.AlphaBlit(dst.Dc(), 0, 0, 2, 1, src.Dc(), 0, 0);
  EXPECT_EQ(RGB(128, 0, 127), dst.At(0, 0));  // 255*128/255, 255*127/255
  EXPECT_EQ(RGB(0, 0, 255), dst.At(1, 0));    // alpha 0 leaves the destination
}

TEST(EffectDrawTest, MaskColourShowsTheBackgroundThrough) {
  // Magenta frame around a red middle, drawn twice the size.
  UniqueGdiObject bitmap(MakeBitmap(4, 4, [](int x, int y) {
    bool inner = x >= 1 && x <= 2 && y >= 1 && y <= 2;
    return ToBgr(inner ? RGB(255, 0, 0) : kMagenta);
  }));
  for (bool maskOn : {true, false}) {
    SCOPED_TRACE(maskOn ? "mask on" : "mask off");
    Canvas canvas(12, 12, RGB(0, 0, 255));
    P painter;
    painter.DrawBitmap(canvas.Dc(), 2, 2, 8, 8, static_cast<HBITMAP>(bitmap.Get()), maskOn,
                       kMagenta, 0, false, 0, 0, 0, 0, kBlack);
    EXPECT_FALSE(painter.HasAlpha());
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(5, 5));
    EXPECT_EQ(maskOn ? RGB(0, 0, 255) : kMagenta, canvas.At(2, 2));
    EXPECT_EQ(maskOn ? RGB(0, 0, 255) : kMagenta, canvas.At(9, 9));
    EXPECT_EQ(0, canvas.CountOutside({2, 2, 10, 10}, RGB(0, 0, 255)));
  }
}

TEST(EffectDrawTest, DisabledEffectPaintsKeptPixelsInTheColour) {
  UniqueGdiObject bitmap(MakeBitmap(3, 1, [](int x, int) {
    return ToBgr(x == 1 ? kMagenta : RGB(20, 40, 60));
  }));
  Canvas canvas(3, 1, kWhite);
  P painter;
  painter.DrawBitmap(canvas.Dc(), 0, 0, 3, 1, static_cast<HBITMAP>(bitmap.Get()), true, kMagenta,
                     P::kEffectReplace, false, 0, 0, 0, 0, RGB(128, 128, 128));
  EXPECT_EQ(RGB(128, 128, 128), canvas.At(0, 0));
  EXPECT_EQ(kWhite, canvas.At(1, 0));
  EXPECT_EQ(RGB(128, 128, 128), canvas.At(2, 0));
}

TEST(EffectDrawTest, AlphaBitmapIsBlendedAndSetsTheFlag) {
  UniqueGdiObject bitmap(MakeBitmap(2, 1, [](int x, int) -> DWORD {
    return x == 0 ? 0xFF000000 | ToBgr(RGB(255, 0, 0)) : 0x80000000 | ToBgr(RGB(255, 0, 0));
  }));
  Canvas canvas(2, 1, RGB(0, 0, 255));
  P painter;
  painter.DrawBitmap(canvas.Dc(), 0, 0, 2, 1, static_cast<HBITMAP>(bitmap.Get()), false, 0, 0,
                     false, 0, 0, 0, 0, kBlack);
  EXPECT_TRUE(painter.HasAlpha());
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(0, 0));
  EXPECT_EQ(RGB(128, 0, 127), canvas.At(1, 0));
  // The next drawing starts with the flag clear.
  UniqueGdiObject plain(MakeSolidBitmap(1, 1, kBlack));
  painter.DrawBitmap(canvas.Dc(), 0, 0, 1, 1, static_cast<HBITMAP>(plain.Get()), false, 0, 0,
                     false, 0, 0, 0, 0, kBlack);
  EXPECT_FALSE(painter.HasAlpha());
}

TEST(EffectDrawTest, ShadowRoomWithoutShadowMovesTheImageByTheOffsets) {
  UniqueGdiObject bitmap(MakeSolidBitmap(2, 2, RGB(255, 0, 0)));
  Canvas canvas(8, 8, kWhite);
  P painter;
  painter.DrawBitmap(canvas.Dc(), 1, 1, 2, 2, static_cast<HBITMAP>(bitmap.Get()), false, 0, 0,
                     true, 3, 2, 0, 0, kBlack);
  EXPECT_EQ(0, canvas.CountOutside({4, 3, 6, 5}, kWhite));
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(4, 3));
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(5, 4));
}

TEST(EffectDrawTest, HardShadowFallsAtTheOffsetsInTheShadowColour) {
  UniqueGdiObject bitmap(MakeSolidBitmap(2, 2, RGB(255, 0, 0)));
  Canvas canvas(8, 8, kWhite);
  P painter;
  painter.DrawBitmap(canvas.Dc(), 1, 1, 2, 2, static_cast<HBITMAP>(bitmap.Get()), false, 0,
                     P::kEffectHardShadow, true, 2, 2, 0, 0, RGB(64, 64, 64));
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(1, 1));
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(2, 2));
  EXPECT_EQ(RGB(64, 64, 64), canvas.At(3, 3));  // shadow only, beside the image
  EXPECT_EQ(RGB(64, 64, 64), canvas.At(4, 4));
  EXPECT_EQ(kWhite, canvas.At(5, 5));
  EXPECT_EQ(0, canvas.CountOutside({1, 1, 5, 5}, kWhite));
}

// An icon whose left half is transparent and right half black (opaque),
// with a white pixel at the top right.
HICON MakeIcon(int size, bool withAlpha) {
  UniqueGdiObject colour(MakeBitmap(size, size, [&](int x, int y) -> DWORD {
    DWORD alpha = withAlpha && x >= size / 2 ? 0xFF000000 : 0;
    if (x == size - 1 && y == 0) return alpha | 0xFFFFFF;
    return alpha;
  }));
  std::vector<WORD> rows(static_cast<size_t>(size), 0);  // one WORD per row: size <= 16
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size / 2; ++x) rows[static_cast<size_t>(y)] |= 0x80 >> x;
  UniqueGdiObject mask(CreateBitmap(size, size, 1, 1, rows.data()));
  ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()),
                   static_cast<HBITMAP>(colour.Get())};
  return CreateIconIndirect(&info);
}

TEST(EffectDrawTest, IconsKeepTheirMaskAndBlackPixels) {
  UniqueIcon icon(MakeIcon(8, false));
  ASSERT_TRUE(icon);
  SIZE size = P::GetIconSize(icon.Get());
  EXPECT_EQ(8, size.cx);
  EXPECT_EQ(8, size.cy);
  for (int drawn : {8, 16}) {  // natural size and stretched
    SCOPED_TRACE(drawn);
    Canvas canvas(20, 20, RGB(0, 0, 255));
    P painter;
    painter.DrawIcon(canvas.Dc(), 2, 2, drawn, drawn, icon.Get(), 0, false, 0, 0, 0, 0, kBlack);
    int s = drawn / 8;  // pixels per icon pixel
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(2, 2 + drawn - 1));           // transparent half
    EXPECT_EQ(kBlack, canvas.At(2 + drawn - 2 * s, 2 + drawn - 1));    // black, opaque
    EXPECT_EQ(kWhite, canvas.At(2 + drawn - 1, 2));
    EXPECT_EQ(0, canvas.CountOutside({2, 2, 2 + drawn, 2 + drawn}, RGB(0, 0, 255)));

    // Disabled: the opaque half in the colour, the rest untouched.
    Canvas disabled(20, 20, RGB(0, 0, 255));
    painter.DrawIcon(disabled.Dc(), 2, 2, drawn, drawn, icon.Get(), P::kEffectReplace, false, 0, 0,
                     0, 0, RGB(90, 90, 90));
    EXPECT_EQ(RGB(90, 90, 90), disabled.At(2 + drawn - 1, 2));
    EXPECT_EQ(RGB(0, 0, 255), disabled.At(2, 2));
  }
  UniqueIcon stretched(P().StretchIcon(icon.Get(), 12, 12));
  ASSERT_TRUE(stretched);
  EXPECT_EQ(12, P::GetIconSize(stretched.Get()).cx);
  SIZE none = P::GetIconSize(nullptr);
  EXPECT_EQ(0, none.cx + none.cy);
}

TEST(EffectDrawTest, StripFramesAreCutRowByRow) {
  // Two rows of three 2 x 2 frames, frame k in colour (k * 40, 0, 0).
  UniqueGdiObject strip(MakeBitmap(6, 4, [](int x, int y) {
    return ToBgr(RGB((y / 2 * 3 + x / 2) * 40 + 10, 0, 0));
  }));
  HBITMAP s = static_cast<HBITMAP>(strip.Get());
  struct Case {
    int index, frameW, frameH;
    COLORREF expected;  // white: nothing drawn
  } cases[] = {
      {0, 2, 2, RGB(10, 0, 0)},  {2, 2, 2, RGB(90, 0, 0)},  {4, 2, 2, RGB(170, 0, 0)},
      {6, 2, 2, kWhite},         {-1, 2, 2, kWhite},        {0, 0, 2, kWhite},
      {0, 2, -2, kWhite},        {1, 7, 2, kWhite},  // wider than the strip: no frames
      {1, 2, 4, RGB(50, 0, 0)},  // three 2 x 4 frames, drawn shrunk
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "frame " << c.index << " of " << c.frameW << "x" << c.frameH);
    Canvas canvas(4, 4, kWhite);
    P painter;
    painter.DrawStripFrame(canvas.Dc(), 1, 1, 2, 2, s, c.index, c.frameW, c.frameH, false, 0, 0,
                           false, 0, 0, 0, 0, kBlack);
    EXPECT_EQ(c.expected, canvas.At(2, 1));
    EXPECT_EQ(0, canvas.CountOutside({1, 1, 3, 3}, kWhite));
  }
}

}  // namespace
