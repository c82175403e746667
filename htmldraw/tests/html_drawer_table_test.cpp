// Tables in the text drawer on a memory context: sizes from columns, rows,
// spacing and borders, spans and reserved slots, fixed columns and the
// surplus of the draw pass, nesting, backgrounds, and the text around them.
// Text extents come from GDI, never hard-coded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmldraw/html_table_layout.h"
#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/dib_canvas.h"
#include "htmldraw/tests/drawer_test_util.h"

using drawertest::BodyExtent;
using drawertest::BodyHeight;

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

class DrawerTableTest : public ::testing::Test {
 protected:
  SIZE Measure(const std::wstring& text) { return drawer.Measure(canvas.Dc(), text.c_str()); }
  void DrawInto(int width) {
    canvas.Fill(kWhite);
    RECT r = {0, 0, width, canvas.Height()};
    drawer.Draw(canvas.Dc(), r);
  }
  // First and last x of colour in row y; -1 when it is not there.
  std::pair<int, int> Span(int y, COLORREF colour) {
    int first = -1, last = -1;
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.At(x, y) != colour) continue;
      if (first < 0) first = x;
      last = x;
    }
    return {first, last};
  }

  drawtest::Canvas canvas{400, 300};
  CHtmlTextDrawer drawer;
};

// Two empty cells of fixed width in one row, spacing 0 unless said.
std::wstring TwoCells(const std::wstring& tableAttributes, int w1, int w2) {
  return L"<table cellpadding=0 " + tableAttributes + L"><tr><td width=" + std::to_wstring(w1) +
         L"></td><td width=" + std::to_wstring(w2) + L"></td></tr></table>";
}

TEST_F(DrawerTableTest, SizeFollowsColumnsSpacingAndBorders) {
  struct Case {
    const char* label;
    std::wstring text;
    int width;  // as laid out (Measure adds 1)
  } cases[] = {
      {"spacing 2, no border", TwoCells(L"cellspacing=2", 10, 20), 10 + 20 + 3 * 2 + 1},
      {"spacing 0", TwoCells(L"cellspacing=0", 10, 20), 10 + 20 + 1},
      {"border 0", TwoCells(L"cellspacing=0 border=0", 10, 20), 31},
      // A border width with no style draws solid; cells then frame in 1 px.
      {"border 2", TwoCells(L"cellspacing=0 border=2", 10, 20), 31 + 2 * 2 + 2 * 2},
      // A double border is two 1-pixel lines 3 pixels deep, whatever its width.
      {"double border 2", TwoCells(L"cellspacing=0 border=2 borderstyle=double", 10, 20), 31 + 6 + 2 * 2},
      {"dashed border 5 counts 1", TwoCells(L"cellspacing=0 border=5 borderstyle=dashed", 10, 20), 31 + 2 + 2 * 2},
      {"style none", TwoCells(L"cellspacing=0 border=5 borderstyle=none", 10, 20), 31},
      {"cell padding", L"<table cellspacing=0 cellpadding=3><tr><td width=10></td></tr></table>", 10 + 6},
      // Boxes of HTML pages: padding per side replaces the cell padding,
      // margins stand around the table.
      {"padding per side", L"<table cellspacing=0 cellpadding=3><tr><td width=10 padding=\"1 2 3 4\"></td></tr></table>",
       10 + 2 + 4},
      {"margins", L"<table cellspacing=0 cellpadding=0 margin=\"1 5 2 7\"><tr><td width=10></td></tr></table>",
       10 + 5 + 7},
  };
  for (const Case& c : cases) {
    SIZE size = Measure(c.text);
    EXPECT_EQ(size.cx, c.width + 1) << c.label;
  }
  // Rows: one empty row of a table with spacing 2 is 2 x 2 high.
  EXPECT_EQ(Measure(TwoCells(L"cellspacing=2", 10, 20)).cy, 4 + 1);
  EXPECT_EQ(Measure(L"<table cellspacing=1 cellpadding=0><tr><td height=7></td></tr><tr><td height=9></td></tr></table>").cy,
            7 + 9 + 3 * 1 + 1 + 1);
}

TEST_F(DrawerTableTest, SpansShareTheDifferenceEqually) {
  struct Case {
    std::vector<long long> sizes;
    size_t first, count;
    long long need, test;
    bool last;
    std::vector<long long> expected;
  } cases[] = {
      {{10, 10, 10}, 0, 3, 41, 41, true, {13, 13, 15}},
      {{10, 10, 10}, 0, 3, 41, 41, false, {15, 13, 13}},
      {{5, 5, 9}, 0, 2, 21, 21, true, {10, 11, 9}},
      {{5, 5, 9}, 1, 2, 21, 21, false, {5, 9, 12}},
      {{10, 10}, 0, 2, 25, 20, true, {10, 10}},  // wide enough for the test value
      {{10, 10}, 1, 5, 99, 99, true, {10, 10}},  // past the grid: nothing
  };
  for (auto& c : cases) {
    std::vector<long long> sizes = c.sizes;
    ShareTableSpan(sizes, c.first, c.count, c.need, c.test, c.last);
    EXPECT_EQ(sizes, c.expected);
  }
  // Through the layout: a 41 px cell over three 10 px columns makes them 41.
  SIZE size = Measure(
      L"<table cellspacing=0 cellpadding=0><tr><td width=10></td><td width=10></td><td width=10></td></tr>"
      L"<tr><td colspan=3 width=41></td></tr></table>");
  EXPECT_EQ(size.cx, 41 + 2 + 1);
  // Rows: a 30 px cell over two 5 px rows.
  size = Measure(L"<table cellspacing=0 cellpadding=0><tr><td rowspan=2 height=30></td><td height=5></td></tr>"
                 L"<tr><td height=5></td></tr></table>");
  EXPECT_EQ(size.cy, 30 + 1 + 1);
}

TEST_F(DrawerTableTest, ReservedSlotsAreSkippedAndSpansClamped) {
  struct Case {
    const char* label;
    std::wstring text;
    int width;
  } cases[] = {
      // The 30 px cell of row 2 goes to column 2: column 1 is the rowspan's.
      {"rowspan reserves", L"<table cellspacing=0 cellpadding=0><tr><td rowspan=2 width=10></td><td width=20></td></tr>"
                           L"<tr><td width=30></td></tr></table>", 10 + 30 + 1},
      {"colspan reserves", L"<table cellspacing=0 cellpadding=0><tr><td colspan=2 width=5></td><td width=7></td></tr>"
                           L"<tr><td width=3></td><td width=4></td><td width=9></td></tr></table>", 3 + 4 + 9 + 2},
      // Huge or bad spans count as 1000 at most: the grid has 1000 columns,
      // each empty one adding its 1 px gap.
      {"huge colspan", L"<table cellspacing=0 cellpadding=0><tr><td colspan=2000000000 width=10></td></tr></table>", 10 + 999},
      {"zero and negative", L"<table cellspacing=0 cellpadding=0><tr><td colspan=0 width=10></td><td colspan=-1 width=4></td></tr></table>", 15},
      {"huge rowspan", L"<table cellspacing=0 cellpadding=0><tr><td rowspan=2000000000 width=10></td></tr></table>", 10},
  };
  for (const Case& c : cases) EXPECT_EQ(Measure(c.text).cx, c.width + 1) << c.label;
}

TEST_F(DrawerTableTest, SurplusGoesToLooseColumnsAndAlignmentPlacesTheRest) {
  const std::wstring red = L"<td width=10 height=10 bgeffect=solid bgcolor=#FF0000></td>";
  const std::wstring blue = L"<td height=10 bgeffect=solid bgcolor=#0000FF></td>";
  Measure(L"<table cellspacing=0 cellpadding=0><tr>" + red + blue + L"</tr></table>");
  DrawInto(200);
  EXPECT_EQ(Span(5, kRed), std::make_pair(0, 9));
  EXPECT_EQ(Span(5, kBlue), std::make_pair(11, 199));

  struct Case {
    const wchar_t* align;
    int left;
  } cases[] = {{L"left", 0}, {L"center", (200 - 21) / 2}, {L"right", 200 - 21}};
  for (const Case& c : cases) {
    Measure(L"<table cellspacing=0 cellpadding=0 align=" + std::wstring(c.align) + L"><tr>" + red + red +
            L"</tr></table>");
    DrawInto(200);
    EXPECT_EQ(Span(5, kRed).first, c.left) << c.align;
    EXPECT_EQ(Span(5, kRed).second, c.left + 20) << c.align;
  }
}

TEST_F(DrawerTableTest, NestedTableIsLaidOutInsideItsCell) {
  const std::wstring inner =
      L"<table cellspacing=0 cellpadding=0><tr><td width=25 height=6 bgeffect=solid bgcolor=#FF0000></td>"
      L"<td width=4></td></tr></table>";
  // Without skipping the nested table the inner "</td>" would end the outer
  // cell and the inner second cell would count as an outer column.
  SIZE size = Measure(L"<table cellspacing=0 cellpadding=0><tr><td>" + inner +
                      L"</td><td width=10 height=6 bgeffect=solid bgcolor=#0000FF></td></tr></table>");
  EXPECT_EQ(size.cx, 25 + 4 + 1 + 10 + 1 + 1);
  DrawInto(size.cx - 1);
  EXPECT_EQ(Span(2, kRed), std::make_pair(0, 24));
  EXPECT_EQ(Span(2, kBlue), std::make_pair(31, 40));
}

TEST_F(DrawerTableTest, BackgroundTilesAnImageOrPaintsTheEffect) {
  Measure(L"<table cellspacing=0 cellpadding=0 background=idres:300><tr><td width=40 height=8></td></tr></table>");
  DrawInto(40);
  EXPECT_EQ(canvas.At(1, 1), kRed);
  EXPECT_EQ(canvas.At(5, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(17, 1), kRed);   // the second tile
  EXPECT_EQ(canvas.At(1, 5), kRed);    // and below
  Measure(L"<table cellspacing=0 cellpadding=0 background=idres:300 bgeffect=solid bgcolor=#0000FF>"
          L"<tr><td width=40 height=8></td></tr></table>");
  DrawInto(40);
  EXPECT_EQ(canvas.At(1, 1), kBlue);
  EXPECT_EQ(canvas.At(17, 5), kBlue);
  // Disabled: no table background.
  drawer.SetEnabled(false);
  Measure(L"<table cellspacing=0 cellpadding=0 bgeffect=solid bgcolor=#0000FF><tr><td width=40 height=8></td></tr></table>");
  DrawInto(40);
  EXPECT_EQ(canvas.At(1, 1), kWhite);
}

TEST_F(DrawerTableTest, TextAroundATableStartsOnNewLines) {
  const int lineH = BodyHeight(canvas.Dc());
  const int abc = BodyExtent(canvas.Dc(), L"abc").cx;
  SIZE size = Measure(L"abc<table cellspacing=0 cellpadding=0><tr><td width=300 height=10 bgeffect=solid "
                      L"bgcolor=#0000FF></td></tr></table>de");
  EXPECT_EQ(size.cx, std::max(abc, 300) + 1);
  EXPECT_EQ(size.cy, lineH + 10 + lineH + 1);
  EXPECT_EQ(drawer.Lines().size(), 2u);
  DrawInto(size.cx - 1);
  EXPECT_EQ(Span(lineH + 5, kBlue), std::make_pair(0, 299));
  EXPECT_GE(drawertest::RightmostInk(canvas, 0, lineH), 0);                    // abc above
  EXPECT_GE(drawertest::RightmostInk(canvas, lineH + 10, lineH * 2 + 10), 0);  // de below
  EXPECT_EQ(Span(lineH + 10 + lineH / 2, kBlue).first, -1);
  // Text wider than the table: the widths combine by maximum.
  size = Measure(L"a long line of text above<table cellspacing=0><tr><td width=5></td></tr></table>");
  EXPECT_EQ(size.cx, BodyExtent(canvas.Dc(), L"a long line of text above").cx + 1);
}

TEST_F(DrawerTableTest, LinksInCellsAreNumberedInTextOrderAlsoInAWrappedTable) {
  Measure(L"<a msg=one>one</a><table><tr><td><a msg=two>two</a></td><td><a msg=three>three</a></td></tr></table>"
          L"<a msg=four>four</a>");
  DrawInto(400);
  std::vector<int> order;
  for (const HtmlLinkArea& a : drawer.LinkAreas()) order.push_back(a.index);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
  // Drawn twice, the same areas.
  DrawInto(400);
  EXPECT_EQ(drawer.LinkAreas().size(), 4u);

  // A table too wide for its room narrows its widest columns and their text
  // wraps; a narrow column keeps its width, the links keep their numbers.
  const int line = Measure(L"x").cy - 1;
  const int x = Measure(L"x").cx - 1;
  drawer.SetMaxWidth(150);
  const std::wstring words = L"many words that wrap inside their cell";
  SIZE size = Measure(L"<a msg=zero>0</a><table cellspacing=0 cellpadding=0><tr><td bgeffect=solid bgcolor=#FF0000>x</td>"
                      L"<td><a msg=one>" + words + L"</a></td><td>" + words + L"</td></tr></table><a msg=two>two</a>");
  EXPECT_LE(size.cx, 151);
  EXPECT_GE(size.cy, 1 + 4 * line);
  DrawInto(150);
  EXPECT_EQ(Span(3 * line + line / 2, kRed), std::make_pair(0, x - 1));  // below its text
  order.clear();
  for (const HtmlLinkArea& a : drawer.LinkAreas()) {
    order.push_back(a.index);
    EXPECT_LE(a.rect.right, 150);
  }
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(order.front(), 0);
  EXPECT_EQ(order[1], 1);
  EXPECT_EQ(order.back(), 2);
}


TEST_F(DrawerTableTest, OwnWidthHeightAndRowHeightAreTheLeastTaken) {
  // The table's width goes to the loose column; its height to the rows.
  SIZE size = Measure(L"<table cellspacing=0 cellpadding=0 width=100 height=50><tr><td width=10 height=5></td>"
                      L"<td height=5></td></tr><tr><td height=5></td><td></td></tr></table>");
  EXPECT_EQ(size.cx, 100 + 1);
  EXPECT_EQ(size.cy, 50 + 1);
  // A row's height holds even when its cells need less; a smaller one is outgrown.
  EXPECT_EQ(Measure(L"<table cellspacing=0 cellpadding=0><tr height=30><td height=5></td></tr>"
                    L"<tr height=2><td height=7></td></tr></table>").cy,
            30 + 7 + 1 + 1);
  // Percentages of the table's width reach its cells through the row.
  EXPECT_EQ(Measure(L"<table cellspacing=0 cellpadding=0 width=80><tr width=100%><td width=50%></td></tr></table>").cx,
            80 + 1);

  // A table of a width of its own keeps it in a wider space and is placed by
  // its alignment; without one it grows to the space.
  const std::wstring red = L"<td height=10 bgeffect=solid bgcolor=#FF0000></td>";
  Measure(L"<table cellspacing=0 cellpadding=0 width=60 align=right><tr>" + red + L"</tr></table>");
  DrawInto(200);
  EXPECT_EQ(Span(5, kRed), std::make_pair(140, 199));
  Measure(L"<table cellspacing=0 cellpadding=0><tr>" + red + L"</tr></table>");
  DrawInto(200);
  EXPECT_EQ(Span(5, kRed), std::make_pair(0, 199));
}

TEST_F(DrawerTableTest, DrawsReadTheMeasureBack) {
  // Nested tables, text around them, and draws of several widths: each draw
  // lays the same cells out, and a draw shares its surplus afresh.
  const std::wstring red = L"<td height=10 bgeffect=solid bgcolor=#FF0000></td>";
  const std::wstring blue = L"<td width=10 height=10 bgeffect=solid bgcolor=#0000FF></td>";
  Measure(L"top<table cellspacing=0 cellpadding=0><tr><td><table cellspacing=0 cellpadding=0><tr>" + blue +
          L"</tr></table></td>" + red + L"</tr></table>bottom<table cellspacing=0 cellpadding=0><tr>" + blue +
          L"</tr></table>");
  const int y = BodyHeight(canvas.Dc()) + 5;
  DrawInto(300);
  EXPECT_EQ(Span(y, kBlue).first, 0);
  EXPECT_EQ(Span(y, kRed).second, 299);
  DrawInto(100);
  EXPECT_EQ(Span(y, kBlue).first, 0);
  EXPECT_EQ(Span(y, kRed).second, 99);
  DrawInto(300);
  EXPECT_EQ(Span(y, kRed).second, 299);
  // Disabled after the measure: the cells' colours follow all the same.
  drawer.SetDisabledColor(RGB(0, 255, 0));
  drawer.SetEnabled(false);
  Measure(L"<table cellspacing=0 cellpadding=0><tr><td><b>WWWW</b></td></tr></table>");
  drawer.SetEnabled(true);
  DrawInto(300);
  EXPECT_EQ(Span(BodyHeight(canvas.Dc()) / 2, RGB(0, 255, 0)).first, -1);
  EXPECT_NE(Span(BodyHeight(canvas.Dc()) / 2, RGB(0, 0, 0)).first, -1);
}

}  // namespace
