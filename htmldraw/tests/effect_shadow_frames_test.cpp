#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "foundation/system/handles.h"
#include "htmldraw/effect_painter.h"
#include "htmldraw/tests/dib_canvas.h"

namespace {

using drawtest::Canvas;
using drawtest::MakeBitmap;
using drawtest::MakeSolidBitmap;
using drawtest::ToBgr;
using P = CEffectPainter;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Pixels of [from, to) that lie in [lo, hi).
int Overlap(int from, int to, int lo, int hi) { return std::max(0, std::min(to, hi) - std::max(from, lo)); }

TEST(ShadowTest, SoftShadowBlursOverAnOddWindow) {
  const int n = 20;  // area and shadow bitmap size
  UniqueGdiObject shadow(MakeSolidBitmap(n, n, kBlack));
  struct Case {
    int blur, window;
  } cases[] = {{6, 7}, {7, 7}, {5, 5}, {0, 1}, {-4, 1}, {2, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "blur " << c.blur);
    Canvas canvas(n + 4, n + 4, kWhite);
    P().DrawShadow(canvas.Dc(), 2, 2, n, n, static_cast<HBITMAP>(shadow.Get()), true, c.blur,
                   c.blur);
    // The black shadow is shrunk by the window and centred; each pixel
    // keeps the share of white in its window (outside the area is white).
    const int inset = c.window / 2, lo = inset, hi = inset + n - c.window;
    const int half = c.window / 2;
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        int blacks = Overlap(x - half, x + half + 1, lo, hi) * Overlap(y - half, y + half + 1, lo, hi);
        int level = 255 * (c.window * c.window - blacks) / (c.window * c.window);
        ASSERT_EQ(RGB(level, level, level), canvas.At(2 + x, 2 + y)) << x << "," << y;
      }
    }
    EXPECT_EQ(0, canvas.CountOutside({2, 2, 2 + n, 2 + n}, kWhite));
  }
}

TEST(ShadowTest, HardShadowScalesByTheShadowBitmap) {
  UniqueGdiObject shadow(MakeBitmap(3, 1, [](int x, int) {
    return ToBgr(x == 0 ? RGB(128, 128, 128) : x == 1 ? kBlack : kWhite);
  }));
  Canvas canvas(5, 1, RGB(200, 100, 50));
  P().DrawShadow(canvas.Dc(), 1, 0, 4, 1, static_cast<HBITMAP>(shadow.Get()), false, 9, 9);
  EXPECT_EQ(RGB(200, 100, 50), canvas.At(0, 0));
  EXPECT_EQ(RGB(100, 50, 25), canvas.At(1, 0));
  EXPECT_EQ(kBlack, canvas.At(2, 0));
  EXPECT_EQ(RGB(200, 100, 50), canvas.At(3, 0));
  EXPECT_EQ(RGB(200, 100, 50), canvas.At(4, 0)) << "past the shadow bitmap nothing darkens";
}

TEST(ShadowTest, BlurAsLargeAsTheAreaLeavesItUnchanged) {
  UniqueGdiObject shadow(MakeSolidBitmap(10, 10, kBlack));
  for (int blur : {10, 11, 500, 0x7FFFFFFF}) {
    Canvas canvas(10, 10, RGB(9, 99, 199));
    P().DrawShadow(canvas.Dc(), 0, 0, 10, 10, static_cast<HBITMAP>(shadow.Get()), true, blur, 3);
    EXPECT_EQ(0, canvas.CountOutside({0, 0, 0, 0}, RGB(9, 99, 199))) << blur;
  }
}

// Light pixels form the left and top sides, dark ones the right and bottom.
void ExpectOutline(const Canvas& canvas, int l, int t, int r, int b, COLORREF light,
                   COLORREF dark) {
  for (int y = t; y <= b; ++y) {
    EXPECT_EQ(light, canvas.At(l, y)) << "left " << y;
    EXPECT_EQ(dark, canvas.At(r, y)) << "right " << y;
  }
  for (int x = l; x <= r; ++x) {
    EXPECT_EQ(x == r ? dark : light, canvas.At(x, t)) << "top " << x;
    EXPECT_EQ(x == l ? light : dark, canvas.At(x, b)) << "bottom " << x;
  }
}

int CountColoured(const Canvas& canvas) {
  int count = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) count += canvas.At(x, y) != kWhite;
  return count;
}

TEST(FrameTest, DoubleFrameOfWidthOneIsTwoRectanglesTwoPixelsApart) {
  Canvas canvas(24, 24);
  P().DrawFrame(canvas.Dc(), {2, 2, 20, 20}, kRed, kBlue, P::kBorderDouble, 1);
  ExpectOutline(canvas, 2, 2, 19, 19, kRed, kBlue);
  ExpectOutline(canvas, 4, 4, 17, 17, kRed, kBlue);
  EXPECT_EQ(4 * 17 + 4 * 13, CountColoured(canvas));
}

TEST(FrameTest, FramesStayInsideTheirRectangle) {
  struct Case {
    int style, width;
    RECT rect;
  } cases[] = {
      {P::kBorderSolid, 1, {2, 2, 10, 8}},  {P::kBorderSolid, 3, {1, 1, 15, 12}},
      {P::kBorderSolid, 2, {1, 1, 15, 12}}, {P::kBorderDouble, 2, {0, 0, 16, 16}},
      {P::kBorderDouble, 3, {2, 2, 8, 8}},  // no room for the inner frame
      {P::kBorderDashed, 1, {1, 1, 15, 12}}, {P::kBorderDotted, 1, {1, 1, 15, 12}},
      {4, 1, {1, 1, 15, 12}},               {5, 1, {1, 1, 15, 12}},
      {77, 1, {1, 1, 15, 12}},  // unknown styles draw solid
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " width " << c.width);
    Canvas canvas(18, 18);
    P().DrawFrame(canvas.Dc(), c.rect, kRed, kRed, c.style, c.width);
    EXPECT_EQ(0, canvas.CountOutside(c.rect, kWhite));
    // Where the pixels of an even-width pen fall is the platform's choice.
    if (c.width % 2 == 0) continue;
    const int length = c.rect.right - c.rect.left;
    int top = 0;
    for (int x = c.rect.left; x < c.rect.right; ++x) top += canvas.At(x, c.rect.top) == kRed;
    if (c.style >= P::kBorderDashed && c.style <= 5) {  // dashes and dots leave gaps
      EXPECT_GT(top, 0);
      EXPECT_LT(top, length);
      continue;
    }
    EXPECT_EQ(kRed, canvas.At(c.rect.left, c.rect.top + 1));
    EXPECT_EQ(kRed, canvas.At(c.rect.left + 1, c.rect.bottom - 1));
    EXPECT_EQ(kRed, canvas.At(c.rect.right - 1, c.rect.top + 2));
    // Wide pens round their corners.
    if (c.width == 1) {
      EXPECT_EQ(length, top);
    }
  }
  // Nothing for style none, widths below 1 and empty rectangles.
  for (auto draw : {+[](HDC dc) { P().DrawFrame(dc, {1, 1, 9, 9}, kRed, kBlue, 0, 1); },
                    +[](HDC dc) { P().DrawFrame(dc, {1, 1, 9, 9}, kRed, kBlue, 1, 0); },
                    +[](HDC dc) { P().DrawFrame(dc, {1, 1, 9, 9}, kRed, kBlue, 6, -2); },
                    +[](HDC dc) { P().DrawFrame(dc, {9, 1, 1, 9}, kRed, kBlue, 1, 1); },
                    +[](HDC dc) { P().DrawLine(dc, 1, 1, 8, 1, kRed, 0, 1); },
                    +[](HDC dc) { P().DrawLine(dc, 1, 1, 8, 1, kRed, 1, 0); }}) {
    Canvas canvas(10, 10);
    draw(canvas.Dc());
    EXPECT_EQ(0, CountColoured(canvas));
  }
}

TEST(LineTest, DoubleLinesRunBelowAndBesideTheFirst) {
  struct Case {
    POINT a, b;
    int style, width;
    POINT firstPixel, secondPixel;  // second: {-1, -1} when none
  } cases[] = {
      {{2, 5}, {12, 5}, P::kBorderDouble, 1, {2, 5}, {2, 7}},
      {{5, 2}, {5, 12}, P::kBorderDouble, 1, {5, 2}, {7, 2}},
      {{2, 2}, {10, 10}, P::kBorderDouble, 1, {2, 2}, {4, 4}},
      {{2, 3}, {12, 3}, P::kBorderDouble, 2, {2, 3}, {2, 7}},
      {{2, 5}, {12, 5}, P::kBorderSolid, 1, {2, 5}, {-1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a.x << "," << c.a.y << " style " << c.style);
    Canvas canvas(16, 16);
    P().DrawLine(canvas.Dc(), c.a.x, c.a.y, c.b.x, c.b.y, kBlue, c.style, c.width);
    EXPECT_EQ(kBlue, canvas.At(c.firstPixel.x, c.firstPixel.y));
    int length = std::max(std::abs(c.b.x - c.a.x), std::abs(c.b.y - c.a.y));
    int lines = c.secondPixel.x < 0 ? 1 : 2;
    if (c.secondPixel.x >= 0) {
      EXPECT_EQ(kBlue, canvas.At(c.secondPixel.x, c.secondPixel.y));
    }
    // (a diagonal's second line lies along the first)
    if (c.width == 1 && (c.a.x == c.b.x || c.a.y == c.b.y)) {
      EXPECT_EQ(lines * length, CountColoured(canvas));
    }
  }
}

}  // namespace
