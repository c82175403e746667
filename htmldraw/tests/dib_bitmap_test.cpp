#include "htmldraw/dib_bitmap.h"

#include <gtest/gtest.h>

#include "htmldraw/tests/dib_canvas.h"

namespace {

using drawtest::Canvas;

TEST(DibBitmapTest, RowsArePaddedTo32BitsAndTheHeaderDescribesThem) {
  struct Case {
    int bits, width, height, stride, palette;
  } cases[] = {
      {1, 1, 3, 4, 2},    {1, 32, 1, 4, 2},   {1, 33, 2, 8, 2},  {4, 8, 1, 4, 16},
      {4, 9, 5, 8, 16},   {8, 5, 2, 8, 256},  {8, 400, 3, 400, 256}, {16, 3, 1, 8, 0},
      {24, 3, 2, 12, 0},  {24, 4, 1, 12, 0},  {32, 7, 2, 28, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.width << " wide");
    CDibBitmap dib;
    ASSERT_TRUE(dib.Create(c.width, c.height, c.bits));
    EXPECT_EQ(c.stride, dib.GetStride());
    EXPECT_EQ(c.stride, CDibBitmap::StrideOf(c.bits, c.width));
    EXPECT_EQ(c.palette, dib.GetPaletteCount());
    const BITMAPINFOHEADER& h = dib.GetInfo()->bmiHeader;
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(1, h.biPlanes);
    EXPECT_EQ(c.bits, h.biBitCount);
    EXPECT_EQ(c.width, h.biWidth);
    EXPECT_EQ(c.height, h.biHeight);
    EXPECT_EQ(static_cast<DWORD>(c.stride * c.height), h.biSizeImage);
    // The palette lies zeroed between header and bits.
    const BYTE* palette = reinterpret_cast<const BYTE*>(dib.GetInfo()->bmiColors);
    EXPECT_EQ(palette + c.palette * sizeof(RGBQUAD), dib.GetBits());
    for (int i = 0; i < c.palette * 4; ++i) ASSERT_EQ(0, palette[i]);
  }
}

TEST(DibBitmapTest, RefusesSizesAndDepthsItCannotHold) {
  struct Case {
    int width, height, bits;
  } cases[] = {{0, 5, 8},     {5, 0, 8},      {-3, 5, 8}, {5, -3, 8}, {4, 4, 0},
               {4, 4, 7},     {4, 4, 64},     {40000, 40000, 8}, {0x7FFFFFFF, 2, 32}};
  for (const Case& c : cases) {
    CDibBitmap dib;
    EXPECT_FALSE(dib.Create(c.width, c.height, c.bits)) << c.width << "x" << c.height;
    EXPECT_EQ(nullptr, dib.GetBits());
    EXPECT_EQ(nullptr, dib.GetRow(0));
    dib.Fill(1);                  // harmless on an empty bitmap
    dib.SetPixelIndex(0, 0, 1);
    dib.TintPalette(RGB(1, 2, 3), 50);
    Canvas canvas(4, 4);
    EXPECT_FALSE(dib.Draw(canvas.Dc(), 0, 0));
  }
}

TEST(DibBitmapTest, PixelIndicesLandBottomUpAndOutsideWritesAreIgnored) {
  CDibBitmap dib;
  ASSERT_TRUE(dib.Create(5, 3, 8));
  dib.Fill(7);
  dib.SetPixelIndex(0, 0, 1);  // top row: the last row in memory
  dib.SetPixelIndex(4, 2, 2);  // bottom row: the first in memory
  for (POINT p : {POINT{5, 0}, POINT{-1, 0}, POINT{0, 3}, POINT{0, -1}, POINT{5, 2}})
    dib.SetPixelIndex(p.x, p.y, 9);
  const BYTE* bits = dib.GetBits();
  const int stride = dib.GetStride();
  EXPECT_EQ(1, bits[2 * stride + 0]);
  EXPECT_EQ(2, bits[0 * stride + 4]);
  int sevens = 0, padding = 0;
  for (int row = 0; row < 3; ++row) {
    for (int x = 0; x < 5; ++x) sevens += bits[row * stride + x] == 7;
    for (int x = 5; x < stride; ++x) padding += bits[row * stride + x] != 7;
  }
  EXPECT_EQ(13, sevens);
  EXPECT_EQ(0, padding) << "a write past the row end landed in the padding";

  // Packed depths keep the neighbours of the written pixel.
  CDibBitmap four;
  ASSERT_TRUE(four.Create(3, 1, 4));
  four.Fill(0x00);
  four.SetPixelIndex(0, 0, 0xA);
  four.SetPixelIndex(1, 0, 0x5);
  four.SetPixelIndex(2, 0, 0xF3);  // only the low four bits count
  EXPECT_EQ(0xA5, four.GetBits()[0]);
  EXPECT_EQ(0x30, four.GetBits()[1]);
  CDibBitmap one;
  ASSERT_TRUE(one.Create(10, 1, 1));
  one.Fill(0x00);
  one.SetPixelIndex(0, 0, 1);
  one.SetPixelIndex(9, 0, 1);
  one.SetPixelIndex(10, 0, 1);
  EXPECT_EQ(0x80, one.GetBits()[0]);
  EXPECT_EQ(0x40, one.GetBits()[1]);
  // Above 8 bits a pixel is no palette index: nothing is written.
  CDibBitmap deep;
  ASSERT_TRUE(deep.Create(2, 2, 24));
  deep.Fill(0x11);
  deep.SetPixelIndex(0, 0, 0x99);
  for (int i = 0; i < deep.GetStride() * 2; ++i) ASSERT_EQ(0x11, deep.GetBits()[i]);
}

TEST(DibBitmapTest, PaletteEntriesAndTintStayWithinTheTable) {
  CDibBitmap dib;
  ASSERT_TRUE(dib.Create(2, 2, 4));
  dib.Fill(0x5A);
  for (int i = 0; i < 16; ++i) dib.SetPaletteEntry(i, 200, 100, 0);
  dib.SetPaletteEntry(16, 1, 2, 3);  // past the 16 entries
  dib.SetPaletteEntry(-1, 1, 2, 3);
  EXPECT_EQ(0x5A, dib.GetBits()[0]) << "an entry past the table overwrote the pixels";
  const RGBQUAD* p = dib.GetInfo()->bmiColors;
  EXPECT_EQ(0, p[0].rgbBlue);
  EXPECT_EQ(100, p[0].rgbGreen);
  EXPECT_EQ(200, p[0].rgbRed);
  EXPECT_EQ(0, p[0].rgbReserved);

  struct Case {
    int percent;
    BYTE r, g, b;
  } cases[] = {
      {0, 200, 100, 0},      // unchanged
      {50, 150, 100, 50},    // half way to (100, 100, 100)
      {100, 100, 100, 100},  // the colour itself
      {150, 100, 100, 100},  // more than 100 counts as 100
      {-20, 200, 100, 0},    // below 0 counts as 0
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 16; ++i) dib.SetPaletteEntry(i, 200, 100, 0);
    dib.TintPalette(RGB(100, 100, 100), c.percent);
    for (int i = 0; i < 16; ++i) {
      SCOPED_TRACE(testing::Message() << c.percent << "% entry " << i);
      EXPECT_EQ(c.r, p[i].rgbRed);
      EXPECT_EQ(c.g, p[i].rgbGreen);
      EXPECT_EQ(c.b, p[i].rgbBlue);
    }
  }
}

TEST(DibBitmapTest, DrawCopiesTheCurrentBitsAndPaletteEveryTime) {
  CDibBitmap dib;
  ASSERT_TRUE(dib.Create(3, 2, 8));
  dib.SetPaletteEntry(1, 255, 0, 0);
  dib.SetPaletteEntry(2, 0, 0, 255);
  dib.Fill(1);
  dib.SetPixelIndex(0, 0, 2);  // top-left
  Canvas canvas(6, 5, RGB(0, 255, 0));
  ASSERT_TRUE(dib.Draw(canvas.Dc(), 2, 1));
  EXPECT_EQ(RGB(0, 0, 255), canvas.At(2, 1));
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(4, 2));
  EXPECT_EQ(RGB(0, 255, 0), canvas.At(1, 1));
  EXPECT_EQ(RGB(0, 255, 0), canvas.At(5, 1));
  EXPECT_EQ(RGB(0, 255, 0), canvas.At(2, 3));

  // Later changes reach the section made by the first draw.
  dib.SetPixelIndex(2, 1, 2);
  dib.SetPaletteEntry(1, 255, 255, 0);
  ASSERT_TRUE(dib.Draw(canvas.Dc(), 0, 0));
  EXPECT_EQ(RGB(0, 0, 255), canvas.At(0, 0));
  EXPECT_EQ(RGB(255, 255, 0), canvas.At(1, 0));
  EXPECT_EQ(RGB(0, 0, 255), canvas.At(2, 1));

  // A new size after drawing gets a section of its own.
  ASSERT_TRUE(dib.Create(1, 1, 8));
  dib.SetPaletteEntry(0, 10, 20, 30);
  dib.Fill(0);
  ASSERT_TRUE(dib.Draw(canvas.Dc(), 5, 4));
  EXPECT_EQ(RGB(10, 20, 30), canvas.At(5, 4));
  EXPECT_FALSE(dib.Draw(nullptr, 0, 0));
}

}  // namespace
