// Garbled markup and style sheets (they come from phrase files, users and web
// pages): thousands of random and mutated texts run through preparation,
// lexer, attribute scanner, style sheet reader and the style resolution, and
// must end quickly with every style value inside its bounds.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "htmldraw/markup_values.h"
#include "htmldraw/style_declarations.h"
#include "htmldraw/tests/markup_fuzz_util.h"
#include "htmldraw/tests/markup_test_util.h"

namespace {

using markupfuzz::Mutate;
using markupfuzz::RandomText;
using markupfuzz::kPieceCount;
using markupfuzz::kPieces;

void ExpectStyleInBounds(const HtmlTextStyle& s, const std::wstring& input) {
  EXPECT_GE(s.fontSize, 0) << input;
  EXPECT_LE(s.fontSize, kMaxFontHeight) << input;
  EXPECT_GE(s.fontWeight, 0) << input;
  EXPECT_LE(s.fontWeight, 1000) << input;
  for (int length : {s.borderWidth, s.innerSpacing, s.outerSpacing}) {
    EXPECT_GE(length, 0) << input;
    EXPECT_LE(length, kMaxStyleLength) << input;
  }
}

// Everything but the frame name, which every closing tag empties.
bool SameValues(HtmlTextStyle a, HtmlTextStyle b) {
  a.name.clear();
  b.name.clear();
  return a.fontSize == b.fontSize && a.fontWeight == b.fontWeight && a.italic == b.italic &&
         a.underline == b.underline && a.strikeout == b.strikeout && a.overline == b.overline &&
         a.fontFamily == b.fontFamily && a.textColor == b.textColor && a.backgroundColor == b.backgroundColor &&
         a.backgroundMode == b.backgroundMode && a.horzAlign == b.horzAlign && a.vertAlign == b.vertAlign &&
         a.borderStyle == b.borderStyle && a.borderWidth == b.borderWidth && a.textTransform == b.textTransform &&
         a.innerSpacing == b.innerSpacing && a.outerSpacing == b.outerSpacing && a.linkKind == b.linkKind &&
         a.linkTarget == b.linkTarget && a.borderColorLight == b.borderColorLight &&
         a.borderColorDark == b.borderColorDark;
}

// One pass over a markup text as the drawer makes it, checking after each
// tag that the stack, the lengths and unbalanced closes behave.
void RunMarkup(HtmlStyleResolver& styles, HDC dc, const std::wstring& raw, bool multiLine, std::mt19937& rng) {
  std::wstring prepared = PrepareMarkupText(raw, multiLine);
  styles.Begin(dc);
  MarkupLexer lexer(prepared);
  MarkupToken token;
  size_t tokens = 0;
  while (lexer.Next(token)) {
    ASSERT_LE(++tokens, prepared.size() + 1) << raw;
    if (token.kind == MarkupToken::kText) {
      ASSERT_FALSE(token.text.empty()) << raw;
      std::wstring run = token.text;
      ApplyTextTransform(run, styles.Current().textTransform);
      ASSERT_EQ(run.size(), token.text.size());
      continue;
    }
    ASSERT_NE(token.tag, nullptr);
    MarkupAttributeScanner scan(token.attributes);
    std::wstring name, value;
    size_t attributes = 0;
    while (scan.Next(name, value)) {
      ASSERT_LE(++attributes, token.attributes.size()) << raw;
      ASSERT_FALSE(name.empty()) << raw;
      StyleLengthUnits units(dc);
      int length = ParseStyleLength(value, 10, units);
      ASSERT_TRUE(length >= 0 && length <= kMaxStyleLength) << value;
    }
    int count = MarkupRepeatCount(token.attributes);
    ASSERT_TRUE(count >= 1 && count <= kMaxMarkupRepeat) << token.attributes;

    const size_t depthBefore = styles.Depth();
    const HtmlTextStyle before = styles.Current();
    const bool closesTop = token.closing && styles.TopFrame() && styles.TopFrame()->name == token.tag->styleName;
    styles.ApplyTag(token, rng() % 2 == 0);
    ASSERT_LE(styles.Depth(), HtmlStyleResolver::kMaxStackDepth) << raw;
    if (closesTop && !token.tag->IsObject()) {
      ASSERT_EQ(styles.Depth(), depthBefore - 1) << raw;
    } else if (token.closing || token.tag->IsObject()) {
      // Unbalanced closes and object tags change nothing.
      ASSERT_EQ(styles.Depth(), depthBefore) << raw;
      ASSERT_TRUE(SameValues(before, styles.Current())) << raw;
    }
    ExpectStyleInBounds(styles.Current(), raw);
    ASSERT_NE(styles.Font(), nullptr);
  }
  styles.End();
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

TEST(MarkupFuzzTest, ThousandsOfGarbledTextsAndSheetsStayInBounds) {
  std::mt19937 rng(20261209);
  markuptest::MemoryContext dc;
  HtmlStyleResolver styles;
  const std::wstring seeds[] = {
      L"<b>Bold</b> and <i>italic <u>under</u></i><br=2><font color=#ff0000 size=3 face=\"Courier New\">red</font>",
      L"<center><h1>Title</h1></center><hr width=50% size=2><a href=\"http://x\">link</a> &amp;lt; &copy;\r\n\tx",
      L"<span class=cpp-comment>// c</span><bottom>b</vcenter><font style=b-i weight=bolder bkgnd=yellow>w</font>",
  };
  const std::wstring sheets[] = {DefaultStyleSheetText(),
                                 L"h1 {font-size:14pt; border-width:thick; border-style:dotted}\r\n.a {margin:1em}"};
  double slowest = 0;
  int runs = 0;
  for (int i = 0; i < 4000; ++i) {
    std::wstring markup = i % 2 ? RandomText(rng, 1 + rng() % 120) : Mutate(seeds[rng() % 3], rng);
    std::wstring sheet = i % 3 ? RandomText(rng, rng() % 60) : Mutate(sheets[rng() % 2], rng);
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    styles.SetStyleSheet(sheet.c_str());
    for (const auto& rule : styles.Sheet().Rules()) {
      HtmlTextStyle s;
      StyleColorContext colors;
      colors.names = &styles.Colors();
      StyleLengthUnits units(dc.Get());
      ApplyStyleDeclarations(rule.second, s, colors, units);
      ExpectStyleInBounds(s, sheet);
      EXPECT_TRUE(styles.Sheet().FindRule(rule.first) != nullptr);
    }
    styles.SetEnabled(rng() % 5 != 0);
    RunMarkup(styles, dc.Get(), markup, rng() % 4 != 0, rng);
    if (HasFatalFailure()) return;
    QueryPerformanceCounter(&t1);
    slowest = std::max(slowest, Seconds(t0, t1));
    ++runs;
  }
  printf("%d texts and sheets, slowest %.3f ms\n", runs, slowest * 1000);
  EXPECT_LT(slowest, 5.0);  // a hang would stop far later; this only catches runaway work
}

TEST(MarkupFuzzTest, HugeHostileTextsEndInLinearTime) {
  markuptest::MemoryContext dc;
  HtmlStyleResolver styles;
  struct Case {
    const char* label;
    const wchar_t* piece;
    size_t repeat;
  };
  const Case cases[] = {
      {"unclosed <", L"<a", 100000},  // not searched to the end again and again
      {"&amp;", L"&amp;", 100000},    // entity replacement is not quadratic
      {"&lt;", L"&lt;", 100000},
      {"line feeds", L"\n", 100000},
      {"<u>", L"<u>", 50000},         // the stack stops at its bound
      {"</b>", L"</b>", 50000},
      {"huge font", L"<font size=99999999em color=0xFFFFFFFFFF>", 5000},
      {"classes", L"<span class=a class=a class=a class=a>", 5000},
      {"plain", L"x", 200000},
  };
  styles.SetStyleSheet(L".a {font-size:200%; margin:2em; border-width:thick}");
  std::mt19937 rng(7);
  for (const Case& c : cases) {
    std::wstring text;
    for (size_t i = 0; i < c.repeat; ++i) text += c.piece;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    RunMarkup(styles, dc.Get(), text, true, rng);
    if (HasFatalFailure()) return;
    QueryPerformanceCounter(&t1);
    printf("%hs x %zu: %.1f ms\n", c.label, c.repeat, Seconds(t0, t1) * 1000);
    EXPECT_LT(Seconds(t0, t1), 20.0) << c.label;
  }
  // A style sheet of many rules and an unclosed one.
  std::wstring sheet;
  for (int i = 0; i < 20000; ++i) sheet += L".r" + std::to_wstring(i % 500) + L" {color:red} ";
  sheet += L"h1 {";
  for (int i = 0; i < 100000; ++i) sheet += L"{";
  LARGE_INTEGER t0, t1;
  QueryPerformanceCounter(&t0);
  styles.SetStyleSheet(sheet.c_str());
  QueryPerformanceCounter(&t1);
  EXPECT_EQ(styles.Sheet().RuleCount(), 500u);
  EXPECT_LT(Seconds(t0, t1), 20.0);
}

}  // namespace
