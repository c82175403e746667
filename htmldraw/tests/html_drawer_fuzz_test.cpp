// Hostile markup through the whole drawer (texts come from phrases, tooltips
// and fetched pages): thousands of random and mutated texts measured and
// drawn on a memory context at changing widths, with hover, clicks and timer
// ticks between; every list stays bounded and every text ends quickly.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <random>
#include <set>

#include "foundation/system/shell_open.h"
#include "htmldraw/html_text_drawer.h"
#include "htmldraw/tests/dib_canvas.h"
#include "htmldraw/tests/drawer_test_util.h"
#include "htmldraw/tests/markup_fuzz_util.h"

namespace {

int g_opens = 0;
INT_PTR CountOpen(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) {
  ++g_opens;
  return kShellOpenRecordedResult;
}

class DrawerFuzzTest : public ::testing::Test {
 protected:
  void SetUp() override { SetShellOpenHookForTests(CountOpen); }
  void TearDown() override { SetShellOpenHookForTests(nullptr); }

  // Measures, draws, hovers, clicks and ticks; the time it took in ms.
  DWORD Exercise(const std::wstring& text, int maxWidth, std::mt19937& rng) {
    DWORD start = GetTickCount();
    drawer.SetMaxWidth(maxWidth);
    SIZE size = drawer.Measure(canvas.Dc(), text.c_str());
    EXPECT_GE(size.cx, 0);
    EXPECT_GE(size.cy, 0);
    EXPECT_LE(drawer.Lines().size(), CHtmlTextDrawer::kMaxLines);
    EXPECT_LE(drawer.Animations().size(), CHtmlTextDrawer::kMaxAnimations);
    RECT r = {static_cast<LONG>(rng() % 50), static_cast<LONG>(rng() % 50), 0, 0};
    r.right = r.left + std::min<LONG>(size.cx, 4000);
    r.bottom = r.top + std::min<LONG>(size.cy, 4000);
    for (int i = 0; i < 2; ++i) {
      drawer.Draw(canvas.Dc(), r);
      EXPECT_LE(drawer.LinkAreas().size(), CHtmlTextDrawer::kMaxLinkAreas);
      POINT p = {static_cast<LONG>(rng() % 400), static_cast<LONG>(rng() % 300)};
      drawer.OnSetCursor(p);
      drawer.OnClick(p);
      drawer.OnTimer();
    }
    return GetTickCount() - start;
  }

  drawtest::Canvas canvas{400, 300};
  CHtmlTextDrawer drawer;
};

TEST_F(DrawerFuzzTest, RandomAndMutatedTextsEndQuicklyWithBoundedLists) {
  std::mt19937 rng(20261209);
  const int widths[] = {0, 1, 7, 60, 200, 1000};
  DWORD slowest = 0;
  std::wstring seed = drawertest::SampleTooltip();
  for (int i = 0; i < 3000; ++i) {
    std::wstring text = i % 2 ? markupfuzz::RandomText(rng, 1 + rng() % 120) : markupfuzz::Mutate(seed, rng);
    if (i % 50 == 0) seed = drawertest::SampleTooltip();
    else if (i % 2 == 0) seed = text;
    drawer.SetEnabled(i % 7 != 0);
    drawer.SetMultiLine(i % 5 != 0);
    DWORD ms = Exercise(text, widths[rng() % 6], rng);
    slowest = std::max(slowest, ms);
    ASSERT_LT(ms, 5000u) << "text " << i;
    if (HasFailure()) {
      ADD_FAILURE() << "text " << i << " of " << text.size() << " characters";
      return;
    }
  }
  std::printf("3000 hostile texts, slowest measure+draw %lu ms\n", static_cast<unsigned long>(slowest));
}

TEST_F(DrawerFuzzTest, FloodsStopAtTheListBounds) {
  std::mt19937 rng(7);
  struct Case {
    const char* label;
    std::wstring text;
  } cases[] = {
      {"line breaks", [] { std::wstring t; for (int i = 0; i < 120000; ++i) t += L"<br>"; return t; }()},
      {"wrapped letters", std::wstring(150000, L'W')},
      {"links", [] { std::wstring t; for (int i = 0; i < 60000; ++i) t += L"<a msg=m>x</a>\n"; return t; }()},
      {"animations", [] { std::wstring t; for (int i = 0; i < 120000; ++i) t += L"<ilst idres=1 speed=1>"; return t; }()},
      {"huge counts", [] { std::wstring t; for (int i = 0; i < 20000; ++i) t += L"x<br=2000000000><t=2000000000>"; return t; }()},
  };
  for (const Case& c : cases) {
    DWORD ms = Exercise(c.text, 1, rng);
    std::printf("%s: %zu characters, %zu lines, %zu link areas, %lu ms\n", c.label, c.text.size(),
                drawer.Lines().size(), drawer.LinkAreas().size(), static_cast<unsigned long>(ms));
    EXPECT_LT(ms, 60000u) << c.label;
  }
}

// Random tables: unbalanced tags, cells outside rows, empty rows, bad and
// huge spans and sizes, mutated on top.
std::wstring RandomTable(std::mt19937& rng, int depth) {
  static const wchar_t* const kPieces[] = {
      L"<table>", L"</table>", L"<tr>", L"</tr>", L"<td>", L"</td>", L"x", L"word ", L"<br>",
      L"<td colspan=0>", L"<td colspan=-1>", L"<td colspan=2000000000>", L"<td rowspan=2000000000>",
      L"<td rowspan=3 colspan=2>", L"<td width=99999 height=99999>", L"<table border=99999 cellspacing=99999>",
      L"<table border=3 borderstyle=double bgeffect=metal>", L"<td bgeffect=noise valign=bottom align=right>",
      L"<table background=idres:1>", L"<a msg=m>link</a>", L"<ilst idres=1 speed=1>", L"<td width=50%>",
      L"<tr height=40000>", L"<table cellpadding=-5 align=center>"};
  std::wstring text;
  int pieces = 1 + static_cast<int>(rng() % 40);
  for (int i = 0; i < pieces; ++i) {
    if (depth < 4 && rng() % 12 == 0) {
      text += L"<table><tr><td>" + RandomTable(rng, depth + 1) + L"</td></tr></table>";
      continue;
    }
    text += kPieces[rng() % (sizeof(kPieces) / sizeof(kPieces[0]))];
  }
  return text;
}

TEST_F(DrawerFuzzTest, RandomAndMutatedTablesEndQuickly) {
  std::mt19937 rng(36);
  const int widths[] = {0, 1, 30, 200, 1000};
  DWORD slowest = 0;
  for (int i = 0; i < 2000; ++i) {
    std::wstring text = RandomTable(rng, 0);
    if (i % 3 == 0) text = markupfuzz::Mutate(text, rng);
    drawer.SetEnabled(i % 7 != 0);
    DWORD ms = Exercise(text, widths[rng() % 5], rng);
    slowest = std::max(slowest, ms);
    ASSERT_LT(ms, 5000u) << "table " << i;
    if (HasFailure()) {
      ADD_FAILURE() << "table " << i << ": " << std::string(text.begin(), text.end());
      return;
    }
  }
  std::printf("2000 hostile tables, slowest measure+draw %lu ms\n", static_cast<unsigned long>(slowest));
}

TEST_F(DrawerFuzzTest, DeepAndHugeTablesStayBounded) {
  std::mt19937 rng(11);
  struct Case {
    const char* label;
    std::wstring text;
  } cases[] = {
      {"1000 levels deep", [] {
         std::wstring t;
         for (int i = 0; i < 1000; ++i) t += L"<table><tr><td>level ";
         for (int i = 0; i < 1000; ++i) t += L"</td></tr></table>";
         return t;
       }()},
      {"1000 levels unclosed", [] { std::wstring t; for (int i = 0; i < 1000; ++i) t += L"<table><td>x"; return t; }()},
      {"many rows", [] { std::wstring t = L"<table>"; for (int i = 0; i < 5000; ++i) t += L"<tr><td>r</td></tr>"; return t + L"</table>"; }()},
      {"many cells", [] { std::wstring t = L"<table><tr>"; for (int i = 0; i < 5000; ++i) t += L"<td colspan=1000>c"; return t; }()},
      {"huge sizes", [] {
         std::wstring t = L"<table cellspacing=32767 border=32767>";
         for (int i = 0; i < 50; ++i) t += L"<tr><td width=32767 height=32767 colspan=2000000000 rowspan=2000000000>";
         return t;
       }()},
  };
  for (const Case& c : cases) {
    DWORD ms = Exercise(c.text, 0, rng);
    std::printf("%s: %zu characters, %lu ms\n", c.label, c.text.size(), static_cast<unsigned long>(ms));
    EXPECT_LT(ms, 60000u) << c.label;
  }
  // Deeper than the nesting limit the tables flow as text: the deepest words
  // are still drawn, and nothing hangs.
  SIZE size = drawer.Measure(canvas.Dc(), cases[0].text.c_str());
  EXPECT_GT(size.cx, 1);
  EXPECT_GT(size.cy, 1);
}

TEST_F(DrawerFuzzTest, TypicalTooltipWithTwentyLinesAndFiveLinks) {
  std::wstring text = drawertest::SampleTooltip();
  ASSERT_GE(text.size(), 2000u);
  SIZE size = drawer.Measure(canvas.Dc(), text.c_str());
  EXPECT_EQ(drawer.Lines().size(), 20u);
  EXPECT_GT(size.cx, 1);
  EXPECT_GT(size.cy, 20);
  drawtest::Canvas big(size.cx, size.cy);
  RECT r = {0, 0, size.cx, size.cy};
  drawer.Draw(big.Dc(), r);
  std::set<int> links;
  for (const HtmlLinkArea& a : drawer.LinkAreas()) {
    links.insert(a.index);
    EXPECT_LE(a.rect.right, size.cx);
    EXPECT_LE(a.rect.bottom, size.cy);
  }
  EXPECT_EQ(links, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_GE(drawertest::RightmostInk(big, 0, size.cy), size.cx / 2);
}

}  // namespace
