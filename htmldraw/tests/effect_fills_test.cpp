#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/tests/dib_canvas.h"

namespace {

using drawtest::Canvas;
using drawtest::ToBgr;
using P = CEffectPainter;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kSentinel = RGB(1, 2, 3);

int Level(COLORREF c) { return GetRValue(c); }

TEST(GradientTest, ThirtyTwoPixelsGetThirtyTwoOnePixelBands) {
  for (bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    Canvas canvas(36, 36, kSentinel);
    RECT r = {2, 2, 34, 34};
    P().DrawGradient(canvas.Dc(), r, kBlack, kWhite, horizontal);
    std::vector<int> levels;
    for (int i = 0; i < 32; ++i) {
      COLORREF c = horizontal ? canvas.At(2 + i, 10) : canvas.At(10, 2 + i);
      EXPECT_EQ(GetRValue(c), GetBValue(c));
      levels.push_back(Level(c));
    }
    // Only the odd bands have a pixel of their own: 255 * (2i + 1) / 64.
    std::set<int> distinct(levels.begin(), levels.end());
    EXPECT_EQ(32u, distinct.size());
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    EXPECT_EQ(3, levels.front());
    EXPECT_EQ(251, levels.back());
    EXPECT_EQ(0, canvas.CountOutside(r, kSentinel));
    // Across the bands the colour does not change.
    for (int i = 0; i < 32; ++i) {
      COLORREF a = horizontal ? canvas.At(2 + i, 2) : canvas.At(2, 2 + i);
      COLORREF b = horizontal ? canvas.At(2 + i, 33) : canvas.At(33, 2 + i);
      ASSERT_EQ(a, b);
    }
  }
}

TEST(GradientTest, WideAreasStartAtTheFirstColour) {
  Canvas canvas(200, 3, kSentinel);
  P().DrawGradient(canvas.Dc(), {0, 0, 200, 3}, RGB(200, 100, 0), RGB(0, 100, 200), true);
  EXPECT_EQ(RGB(200, 100, 0), canvas.At(0, 1));
  EXPECT_EQ(RGB(200, 100, 0), canvas.At(2, 1));  // band 0 spans 200 / 64 = 3 pixels
  EXPECT_EQ(RGB(196, 100, 3), canvas.At(3, 1));  // band 1
  EXPECT_EQ(RGB(3, 100, 196), canvas.At(199, 1));
}

TEST(FillEffectTest, GradientEffectsSplitAtTheMiddle) {
  const COLORREF c1 = kRed, c2 = kGreen, c3 = kBlue;
  const int w = 200, h = 200;
  struct Case {
    int effect;
    POINT at;
    COLORREF expected;
  } cases[] = {
      {P::kFillSolid, {0, 0}, c1},
      {P::kFillSolid, {199, 199}, c1},
      {99, {100, 100}, c1},  // unknown effects are solid
      {P::kFillTransparent, {100, 100}, kSentinel},
      {P::kFillHGradient, {0, 50}, c1},
      {P::kFillHGradient, {199, 50}, RGB(3, 0, 251)},
      {P::kFillVGradient, {50, 0}, c1},
      {P::kFillVGradient, {50, 199}, RGB(3, 0, 251)},
      // red at both edges, blue in the middle
      {P::kFillHCGradient, {0, 9}, c1},
      {P::kFillHCGradient, {100, 9}, c3},
      {P::kFillHCGradient, {99, 9}, RGB(3, 0, 251)},  // last pixel of the left half
      {P::kFillHCGradient, {199, 9}, RGB(251, 0, 3)},
      {P::kFillVCGradient, {9, 0}, c1},
      {P::kFillVCGradient, {9, 100}, c3},
      {P::kFillVCGradient, {9, 199}, RGB(251, 0, 3)},
      {P::kFill3HGradient, {0, 9}, c1},
      {P::kFill3HGradient, {100, 9}, c2},
      {P::kFill3HGradient, {199, 9}, RGB(0, 3, 251)},
      {P::kFill3VGradient, {9, 0}, c1},
      {P::kFill3VGradient, {9, 100}, c2},
      {P::kFill3VGradient, {9, 199}, RGB(0, 3, 251)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "effect " << c.effect << " at " << c.at.x << "," << c.at.y);
    Canvas canvas(w + 4, h + 4, kSentinel);
    RECT r = {2, 2, 2 + w, 2 + h};
    P().FillRectEffect(canvas.Dc(), c.effect, r, c1, c2, c3, 5, 0);
    EXPECT_EQ(c.expected, canvas.At(2 + c.at.x, 2 + c.at.y));
    EXPECT_EQ(0, canvas.CountOutside(r, kSentinel));
  }
}

// Textured fills with end colour black, middle grey 128 and background
// white: brighter pixels have higher palette indices.
struct Texture {
  std::vector<int> level;  // red channel per pixel, row by row
  int w, h;
  int At(int x, int y) const { return level[static_cast<size_t>(y) * w + x]; }
};

// The generator is seeded so that a run sees the same noise every time.
Texture Textured(int effect, int w, int h, int granularity, int tint = 0,
                 COLORREF c1 = kWhite) {
  srand(20261209);
  Canvas canvas(w + 2, h + 2, kSentinel);
  RECT r = {1, 1, 1 + w, 1 + h};
  P().FillRectEffect(canvas.Dc(), effect, r, c1, RGB(128, 128, 128), kBlack, granularity, tint);
  EXPECT_EQ(0, canvas.CountOutside(r, kSentinel)) << "effect " << effect;
  Texture t{{}, w, h};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) t.level.push_back(Level(canvas.At(1 + x, 1 + y)));
  return t;
}

TEST(TexturedFillTest, FullTintTurnsEveryTextureIntoTheBackgroundColour) {
  for (int effect = P::kFillNoise; effect <= P::kFillMetal; ++effect) {
    for (int tint : {100, 150}) {
      SCOPED_TRACE(testing::Message() << "effect " << effect << " tint " << tint);
      Canvas canvas(42, 22, kSentinel);
      RECT r = {1, 1, 41, 21};
      P().FillRectEffect(canvas.Dc(), effect, r, RGB(10, 200, 30), kBlack, kBlue, 9, tint);
      EXPECT_EQ(0, canvas.CountOutside(r, kSentinel));
      int others = 0;
      for (int y = 1; y < 21; ++y)
        for (int x = 1; x < 41; ++x) others += canvas.At(x, y) != RGB(10, 200, 30);
      EXPECT_EQ(0, others);
    }
  }
}

TEST(TexturedFillTest, ShadesRunFromEndColourToBackgroundColour) {
  // Granularity 0: the noise term is 0 (1 only for the generator's top value).
  Texture hshade = Textured(P::kFillHShade, 30, 64, 0);
  Texture vshade = Textured(P::kFillVShade, 64, 30, 0);
  for (int i = 0; i < 30; ++i) {
    EXPECT_LE(hshade.At(i, 0), 1) << "top row is the end colour";
    EXPECT_GE(hshade.At(i, 63), 240) << "bottom row near the background colour";
    EXPECT_GE(vshade.At(0, i), 250) << "left column is the background colour";
    EXPECT_LE(vshade.At(63, i), 8) << "right column near the end colour";
  }
  for (int i = 1; i < 64; ++i) {
    EXPECT_LE(hshade.At(5, i - 1), hshade.At(5, i) + 1);
    EXPECT_GE(vshade.At(i - 1, 5) + 1, vshade.At(i, 5));
  }
  // diagshade: brightest at the bottom left, darkest at the top right
  Texture diag = Textured(P::kFillDiagShade, 50, 50, 0);
  EXPECT_GT(diag.At(0, 49), diag.At(25, 25));
  EXPECT_GT(diag.At(25, 25), diag.At(49, 0));
}

TEST(TexturedFillTest, BumpsAreMidGreyAcrossTheMiddleAndNoiseStaysInItsRange) {
  Texture hbump = Textured(P::kFillHBump, 20, 51, 0);
  Texture vbump = Textured(P::kFillVBump, 51, 20, 0);
  for (int i = 0; i < 20; ++i) {
    EXPECT_NEAR(128, hbump.At(i, 25), 2);  // t = 0 in the middle row
    EXPECT_LT(hbump.At(i, 0), 40);         // t = -127 at the top
    EXPECT_GT(hbump.At(i, 50), 200);
    EXPECT_NEAR(128, vbump.At(25, i), 2);
    EXPECT_GT(vbump.At(1, i), 200);  // t = 123 next to the left edge
  }
  // Noise with granularity 20: indices 128 - 20 ... 128 + 20.
  Texture noise = Textured(P::kFillNoise, 40, 40, 20);
  auto [lo, hi] = std::minmax_element(noise.level.begin(), noise.level.end());
  EXPECT_GE(*lo, 106);
  EXPECT_LE(*hi, 150);
  EXPECT_GT(*hi - *lo, 10) << "no noise";
  // softbump keeps g ... 255 - g before the noise
  Texture soft = Textured(P::kFillSoftBump, 40, 40, 0);
  EXPECT_GT(soft.At(0, 39), 200);  // bright corner: both terms high
  EXPECT_LT(soft.At(39, 0), 50);
}

TEST(TexturedFillTest, HardBumpCutsBothEdgesOnlyWhereTheAreaAllowsIt) {
  Texture t = Textured(P::kFillHardBump, 64, 40, 0);
  // Middle row: the left edge cut starts at the background colour, the
  // right edge at 128 * (w - x) / d with d = 10.
  EXPECT_GE(t.At(0, 20), 250);
  EXPECT_LE(t.At(63, 20), 14);
  EXPECT_NEAR(128, t.At(32, 20), 4);
  // Narrower than 6 pixels or a single row: first pass only, no division.
  Texture narrow = Textured(P::kFillHardBump, 5, 40, 0);
  Texture flat = Textured(P::kFillHardBump, 64, 1, 0);
  for (int y = 0; y < 40; ++y) EXPECT_NEAR(narrow.At(0, y), narrow.At(4, y), 1);
  EXPECT_NEAR(flat.At(0, 0), flat.At(63, 0), 1);
}

TEST(TexturedFillTest, MetalIsDrawnWithinTheArea) {
  for (SIZE s : {SIZE{3, 3}, SIZE{200, 7}, SIZE{7, 200}, SIZE{40000, 2}}) {
    SCOPED_TRACE(testing::Message() << s.cx << "x" << s.cy);
    Texture t = Textured(P::kFillMetal, s.cx, s.cy, 3);
    EXPECT_EQ(static_cast<size_t>(s.cx) * s.cy, t.level.size());
  }
}

// Best of several runs, so that a busy machine does not decide the figure.
double BestMs(const std::function<void()>& draw) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  double best = 1e9;
  for (int i = 0; i < 20; ++i) {
    QueryPerformanceCounter(&a);
    draw();
    GdiFlush();
    QueryPerformanceCounter(&b);
    best = std::min(best, 1000.0 * (b.QuadPart - a.QuadPart) / f.QuadPart);
  }
  return best;
}

TEST(FillSpeedTest, TooltipBackgroundTakesAtMostThreeMilliseconds) {
  Canvas canvas(400, 300);
  RECT r = {0, 0, 400, 300};
  P painter;
  struct Case {
    const char* name;
    int effect;
  } cases[] = {{"hgradient", P::kFillHGradient}, {"vcgradient", P::kFillVCGradient},
               {"hbump", P::kFillHBump},         {"softbump", P::kFillSoftBump},
               {"hardbump", P::kFillHardBump},   {"noise", P::kFillNoise}};
  for (const Case& c : cases) {
    double ms = BestMs([&] {
      painter.FillRectEffect(canvas.Dc(), c.effect, r, kWhite, RGB(200, 200, 255), kBlue, 5, 0);
    });
    printf("400 x 300 %s: %.2f ms\n", c.name, ms);
    EXPECT_LE(ms, 3.0) << c.name;
  }
}

TEST(TileTest, TilesRepeatFromTheAreaOriginAndAreCutAtItsEdges) {
  Canvas tile(5, 5, kBlack);
  // The 3 x 2 tile sits at (1, 2) of its source.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) tile.SetRaw(1 + x, 2 + y, ToBgr(RGB(x * 50 + 10, y * 100 + 20, 0)));
  Canvas canvas(20, 12, kSentinel);
  P().TileBitmap(canvas.Dc(), 3, 1, 11, 7, tile.Dc(), 1, 2, 3, 2);
  for (int y = 1; y < 8; ++y)
    for (int x = 3; x < 14; ++x)
      ASSERT_EQ(RGB((x - 3) % 3 * 50 + 10, (y - 1) % 2 * 100 + 20, 0), canvas.At(x, y))
          << x << "," << y;
  EXPECT_EQ(0, canvas.CountOutside({3, 1, 14, 8}, kSentinel));

  // An area far larger than the DC, starting before it, with a one-pixel
  // tile: only what the DC shows is drawn, in the area's tile grid.
  Canvas small(30, 20, kSentinel);
  P().TileBitmap(small.Dc(), -40001, -7, 80000, 80000, tile.Dc(), 1, 2, 2, 1);
  EXPECT_EQ(RGB(60, 20, 0), small.At(0, 0));  // (0 + 40001) % 2 = 1: second tile pixel
  EXPECT_EQ(RGB(10, 20, 0), small.At(1, 5));
  EXPECT_EQ(RGB(10, 20, 0), small.At(29, 19));
}

}  // namespace
