// Layout of the text drawer on a memory context: sizes, wrapping, justify,
// breaks, tabs and rules. Extents come from GDI, so the cases hold for any
// font the system maps the body font to.
#include <gtest/gtest.h>

#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/dib_canvas.h"
#include "htmldraw/tests/drawer_test_util.h"

using drawertest::BodyExtent;
using drawertest::BodyHeight;
using drawertest::LeftmostInk;
using drawertest::RightmostInk;

namespace {

class DrawerLayoutTest : public ::testing::Test {
 protected:
  SIZE Measure(const std::wstring& text) { return drawer.Measure(canvas.Dc(), text.c_str()); }
  void DrawAll() {
    canvas.Fill(RGB(255, 255, 255));
    RECT r = {0, 0, canvas.Width(), canvas.Height()};
    drawer.Draw(canvas.Dc(), r);
  }
  SIZE Ext(const std::wstring& text) { return BodyExtent(canvas.Dc(), text); }

  drawtest::Canvas canvas{400, 300};
  CHtmlTextDrawer drawer;
};

TEST_F(DrawerLayoutTest, MeasuredSizes) {
  SIZE empty = Measure(L"");
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, 0);

  SIZE x = Measure(L"x"), ext = Ext(L"x");
  EXPECT_EQ(x.cx, ext.cx + 1);
  EXPECT_EQ(x.cy, ext.cy + 1);

  // Lays out to nothing: 1 x 1, and a later draw draws nothing.
  SIZE nothing = Measure(L"<b></b>");
  EXPECT_EQ(nothing.cx, 1);
  EXPECT_EQ(nothing.cy, 1);
  DrawAll();
  EXPECT_EQ(RightmostInk(canvas, 0, canvas.Height()), -1);

  // A maximum width bounds the measured width.
  drawer.SetMaxWidth(Ext(L"ab").cx);
  SIZE bounded = Measure(L"abcdefgh");
  EXPECT_LE(bounded.cx, Ext(L"ab").cx + 1);
  EXPECT_GE(drawer.Lines().size(), 2u);
}

TEST_F(DrawerLayoutTest, WrapsAfterABreakCharacterOrCutsAWord) {
  const std::wstring word = L"wwww";
  drawer.SetMaxWidth(Ext(word + L" " + word).cx + 1);  // two words fit, three do not
  Measure(word + L" " + word + L" " + word);
  ASSERT_EQ(drawer.Lines().size(), 2u);
  EXPECT_EQ(drawer.Lines()[0].width, Ext(word + L" " + word).cx);  // the blank is trimmed
  EXPECT_EQ(drawer.Lines()[0].justify, 1);
  EXPECT_EQ(drawer.Lines()[1].width, Ext(word).cx);
  EXPECT_EQ(drawer.Lines()[1].justify, 0);

  // A single word wider than the line is cut between characters.
  drawer.SetMaxWidth(100);
  const std::wstring wide(40, L'W');
  ASSERT_GT(Ext(wide).cx, 100);
  Measure(wide);
  ASSERT_GE(drawer.Lines().size(), 2u);
  int total = 0;
  for (const HtmlLine& line : drawer.Lines()) {
    EXPECT_LE(line.width, 100);
    EXPECT_GT(line.width, 0);
    total += line.width;
  }
  EXPECT_EQ(total, static_cast<int>(wide.size()) * Ext(L"W").cx);

  // A run that does not fit after other content moves to the next line whole.
  drawer.SetMaxWidth(Ext(L"ab").cx + 2);
  Measure(L"ab<b>cd</b>");
  ASSERT_EQ(drawer.Lines().size(), 2u);
  EXPECT_EQ(drawer.Lines()[0].width, Ext(L"ab").cx);
}

TEST_F(DrawerLayoutTest, JustifyStretchesEveryLineButTheLast) {
  const std::wstring four = L"w w w w";
  const int width = Ext(four).cx + Ext(L"w").cx / 2 + 4;  // a fifth word never fits
  const int extra = width - Ext(four).cx;
  const std::wstring words = L"w w w w w w w w w";
  drawer.SetMaxWidth(width);
  Measure(words);
  ASSERT_EQ(drawer.Lines().size(), 3u);
  const int h = drawer.Lines()[0].height;
  auto rightmost = [&](const std::wstring& text, int line) {
    Measure(text);
    canvas.Fill(RGB(255, 255, 255));
    RECT r = {0, 0, width, canvas.Height()};
    drawer.Draw(canvas.Dc(), r);
    return RightmostInk(canvas, line * h, (line + 1) * h);
  };
  for (int line = 0; line < 3; ++line) {
    int plain = rightmost(words, line);
    int justified = rightmost(L"<justify>" + words + L"</justify>", line);
    ASSERT_GE(plain, 0);
    if (line < 2) EXPECT_GE(justified - plain, extra - 2) << "line " << line;
    else EXPECT_EQ(justified, plain) << "the last line keeps its width";
  }
}

TEST_F(DrawerLayoutTest, BreaksAndTabs) {
  const int h = BodyHeight(canvas.Dc());
  SIZE three = Measure(L"a<br=3>b");
  EXPECT_EQ(three.cy, 4 * h + 1);
  DrawAll();
  EXPECT_EQ(RightmostInk(canvas, h, 3 * h), -1) << "nothing between the lines";
  EXPECT_GE(RightmostInk(canvas, 3 * h, 4 * h), 0) << "b three line heights down";

  struct Case {
    const wchar_t* text;
    int tabs;  // where b starts, in tab widths
  } cases[] = {{L"a<t>b", 1}, {L"a<t=2>b", 2}, {L"<t>b", 1}, {L"a\tb", 1}, {L"a<t=0>b", 1}};
  for (const Case& c : cases) {
    Measure(c.text);
    ASSERT_EQ(drawer.Lines().size(), 1u) << c.text;
    EXPECT_EQ(drawer.Lines()[0].width, 32 * c.tabs + Ext(L"b").cx) << c.text;
  }
  // Drawn, b begins at the tab stop.
  Measure(L"a<t=2>b");
  DrawAll();
  EXPECT_GE(LeftmostInk(canvas, 0, h) , 0);
  canvas.Fill(RGB(255, 255, 255));
  Measure(L"<t=2>b");
  DrawAll();
  int left = LeftmostInk(canvas, 0, h);
  EXPECT_GE(left, 64);
  EXPECT_LT(left, 64 + Ext(L"b").cx);

  // Without multi-line, line feeds and tabs vanish.
  drawer.SetMultiLine(false);
  Measure(L"a\nb\tc");
  ASSERT_EQ(drawer.Lines().size(), 1u);
  EXPECT_EQ(drawer.Lines()[0].width, Ext(L"abc").cx);
}

TEST_F(DrawerLayoutTest, HugeRepeatCountsAreClampedAndFinishAtOnce) {
  const int h = BodyHeight(canvas.Dc());
  DWORD start = GetTickCount();
  SIZE br = Measure(L"a<br=2000000000>b");
  DrawAll();
  EXPECT_EQ(br.cy, 101 * h + 1);
  Measure(L"a<t=2000000000>b");
  ASSERT_EQ(drawer.Lines().size(), 1u);
  EXPECT_EQ(drawer.Lines()[0].width, 32 * 100 + Ext(L"b").cx);
  DrawAll();
  EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST_F(DrawerLayoutTest, RulesTakePercentagesOfTheDrawingWidth) {
  SIZE size = Measure(L"<hr width=50%>");
  ASSERT_EQ(drawer.Lines().size(), 1u);
  EXPECT_EQ(drawer.Lines()[0].width, 1);
  EXPECT_EQ(drawer.Lines()[0].percentSum, 50);
  EXPECT_EQ(size.cx, 2);
  EXPECT_EQ(size.cy, 1 + 8 + 1);  // rule size + 8, plus one
  canvas.Fill(RGB(255, 255, 255));
  RECT r = {0, 0, 200, 10};
  drawer.Draw(canvas.Dc(), r);
  int right = RightmostInk(canvas, 0, 10);
  EXPECT_GE(right, 95);
  EXPECT_LE(right, 105);
  EXPECT_LE(LeftmostInk(canvas, 0, 10), 1);

  // A pixel width counts as is; a percentage line adds its share of the
  // widest line before it.
  Measure(L"<hr width=40 size=3>");
  EXPECT_EQ(drawer.Lines()[0].width, 40);
  EXPECT_EQ(drawer.Lines()[0].height, 11);
  const int abc = Ext(L"abcdefgh").cx;
  SIZE mixed = Measure(L"abcdefgh<br>x<hr width=100%>");
  EXPECT_EQ(mixed.cx, Ext(L"x").cx + 1 + abc + 1);
}

TEST_F(DrawerLayoutTest, AlignmentPlacesLinesInTheDrawingWidth) {
  const int w = Ext(L"abc").cx, h = BodyHeight(canvas.Dc());
  struct Case {
    const wchar_t* text;
    int left;
  } cases[] = {{L"abc", 0}, {L"<center>abc</center>", (400 - w) / 2}, {L"<right>abc</right>", 400 - w}};
  for (const Case& c : cases) {
    Measure(c.text);
    DrawAll();
    int left = LeftmostInk(canvas, 0, h);
    EXPECT_GE(left, c.left) << c.text;
    EXPECT_LT(left, c.left + w / 3 + 1) << c.text;
  }
}

}  // namespace
