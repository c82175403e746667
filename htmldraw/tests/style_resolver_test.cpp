// Resolution of the current style: the body rule, tags, rules and
// attributes, the style stack, and the font selected into the context.
#include <gtest/gtest.h>

#include "htmldraw/markup_values.h"
#include "htmldraw/style_declarations.h"
#include "htmldraw/style_resolver.h"
#include "htmldraw/tests/markup_test_util.h"

using markuptest::DrawnText;
using markuptest::StyledRun;

namespace {

class StyleResolverTest : public ::testing::Test {
 protected:
  std::vector<StyledRun> Walk(const std::wstring& markup) { return markuptest::WalkMarkup(styles, dc.Get(), markup); }
  // The style of the only run of markup.
  HtmlTextStyle StyleOf(const std::wstring& markup) {
    std::vector<StyledRun> runs = Walk(markup);
    EXPECT_EQ(runs.size(), 1u) << markup;
    return runs.empty() ? HtmlTextStyle() : runs.back().style;
  }
  int Dpi() { return GetDeviceCaps(dc.Get(), LOGPIXELSY); }

  markuptest::MemoryContext dc;
  HtmlStyleResolver styles;
};

TEST_F(StyleResolverTest, EachPassStartsFromTheDefaultsAndTheBodyRule) {
  HtmlTextStyle body = StyleOf(L"x");
  EXPECT_EQ(body.fontSize, 10 * Dpi() / 72);
  EXPECT_EQ(body.fontFamily, L"verdana");  // declarations arrive in lower case
  EXPECT_EQ(body.fontWeight, 400);
  EXPECT_EQ(body.textColor, RGB(0, 0, 0));
  EXPECT_EQ(body.innerSpacing, 2);
  EXPECT_EQ(body.vertAlign, kAlignBaseline);
  EXPECT_EQ(body.backgroundMode, kBackgroundTransparent);

  // An unclosed tag does not leak into the next pass.
  Walk(L"<b><font color=red>x");
  HtmlTextStyle again = StyleOf(L"y");
  EXPECT_EQ(again.fontWeight, 400);
  EXPECT_EQ(again.textColor, RGB(0, 0, 0));
  EXPECT_EQ(styles.Depth(), 0u);

  // With no rules at all a named tag only pushes a frame.
  styles.SetStyleSheet(L"");
  HtmlTextStyle bare = StyleOf(L"<h1>x");
  EXPECT_EQ(bare.fontSize, 16);
  EXPECT_EQ(bare.fontFamily, L"Verdana");
  EXPECT_EQ(bare.textColor, RGB(0, 0, 0));
}

TEST_F(StyleResolverTest, RulesAreFoundAndAppliedWhateverTheirCase) {
  styles.SetStyleSheet(L"H1 {COLOR:RED}\r\n.Note {Font-Weight: Bold}\r\nsmall {font-size:50%}");
  EXPECT_EQ(StyleOf(L"<h1>x").textColor, RGB(255, 0, 0));
  EXPECT_EQ(StyleOf(L"<span class=Note>x").fontWeight, 700);
  EXPECT_EQ(StyleOf(L"<small>x").fontSize, 8);  // half the defaults' 16

  styles.SetDefaultStyleSheet();
  const int body = 10 * Dpi() / 72;
  EXPECT_EQ(StyleOf(L"<h6>x").fontSize, MulDiv(body, 65, 100));
  EXPECT_EQ(StyleOf(L"<h2>x").textColor, RGB(0xff, 0x99, 0x00));
  HtmlTextStyle pre = StyleOf(L"<pre>x");
  EXPECT_EQ(pre.fontFamily, L"courier");
  EXPECT_EQ(pre.backgroundMode, kBackgroundOpaque);
  EXPECT_EQ(pre.backgroundColor, RGB(0xfb, 0xed, 0xbb));
  EXPECT_EQ(StyleOf(L"<sub>x").vertAlign, kAlignBottom);
  HtmlTextStyle comment = StyleOf(L"<span class=cpp-comment>x");
  EXPECT_EQ(comment.textColor, RGB(0, 128, 0));
  EXPECT_TRUE(comment.italic);
  EXPECT_FALSE(styles.ApplyRule(L"nosuchrule"));
}

TEST_F(StyleResolverTest, FamilyNamesWithAndWithoutQuotes) {
  styles.SetStyleSheet(L".a {font-family: Courier New} .b {font-family: \"Courier New\"; color:red}");
  EXPECT_EQ(StyleOf(L"<span class=a>x").fontFamily, L"courier");
  HtmlTextStyle b = StyleOf(L"<span class=b>x");
  EXPECT_EQ(b.fontFamily, L"courier new");
  EXPECT_EQ(b.textColor, RGB(255, 0, 0));  // reading goes on after the quotes
}

TEST_F(StyleResolverTest, FontTagAttributes) {
  struct Case {
    const wchar_t* markup;
    int fontSize;  // -1: the body's
    COLORREF color;
    int weight;
    BOOL italic;
  };
  const int body = 10 * Dpi() / 72;
  const COLORREF black = RGB(0, 0, 0);
  const Case cases[] = {
      {L"<font color=#00ff00>x", -1, RGB(0, 255, 0), 400, FALSE},
      {L"<font color=#00ff00><font color=#0f0>x", -1, RGB(0, 255, 0), 400, FALSE},
      {L"<font color=255>x", -1, RGB(255, 0, 0), 400, FALSE},
      {L"<font color=navy>x", -1, RGB(0, 0, 128), 400, FALSE},
      {L"<font size=3>x", 12, black, 400, FALSE},
      {L"<font size=9>x", 9, black, 400, FALSE},
      {L"<font size=\"1in\">x", Dpi(), black, 400, FALSE},
      {L"<font size=99999999em>x", kMaxFontHeight, black, 400, FALSE},
      {L"<font size=-4000000000>x", kMaxFontHeight, black, 400, FALSE},
      {L"<i><font style=b-i>x", -1, black, 700, FALSE},
      {L"<b><font style=-b>x", -1, black, 400, FALSE},
      {L"<font style=+i+b>x", -1, black, 700, TRUE},
      {L"<font weight=bolder>x", -1, black, 900, FALSE},
      {L"<font weight=2147483648>x", -1, black, 1000, FALSE},
      {L"<font color=red size=3 style=i>x", 12, RGB(255, 0, 0), 400, TRUE},
      {L"<font Color=red>x", -1, black, 400, FALSE},  // attribute names are exact
  };
  for (const Case& c : cases) {
    HtmlTextStyle s = StyleOf(c.markup);
    EXPECT_EQ(s.fontSize, c.fontSize < 0 ? body : c.fontSize) << c.markup;
    EXPECT_EQ(s.textColor, c.color) << c.markup;
    EXPECT_EQ(s.fontWeight, c.weight) << c.markup;
    EXPECT_EQ(s.italic, c.italic) << c.markup;
  }
  HtmlTextStyle f = StyleOf(L"<font face='Courier New' style=uso bkgnd=yellow>x");
  EXPECT_EQ(f.fontFamily, L"Courier New");
  EXPECT_TRUE(f.underline && f.strikeout && f.overline);
  EXPECT_EQ(f.backgroundMode, kBackgroundOpaque);
  EXPECT_EQ(f.backgroundColor, RGB(255, 255, 0));
  EXPECT_EQ(StyleOf(L"<font bkgnd=yellow><font bkgnd=transparent>x").backgroundMode, kBackgroundTransparent);
}

TEST_F(StyleResolverTest, FramesRestoreOnlyOnTheirOwnClosingTag) {
  styles.SetStyleSheet(L"");
  struct Expect {
    const wchar_t* text;
    int weight;
    BOOL italic;
    int vertAlign;
  };
  struct Case {
    const wchar_t* markup;
    std::vector<Expect> runs;
    size_t depthAtEnd;
  };
  const Case cases[] = {
      {L"<b>a<b>b</b>c</b>d", {{L"a", 800, FALSE, 3}, {L"b", 900, FALSE, 3}, {L"c", 800, FALSE, 3}, {L"d", 400, FALSE, 3}}, 0},
      {L"<b><i></b>x</i>y", {{L"x", 800, TRUE, 3}, {L"y", 800, FALSE, 3}}, 1},
      {L"</b>x", {{L"x", 400, FALSE, 3}}, 0},
      {L"</i></font></a>x<i>y", {{L"x", 400, FALSE, 3}, {L"y", 400, TRUE, 3}}, 1},
      {L"<bottom>x</vcenter>y", {{L"x", 400, FALSE, 2}, {L"y", 400, FALSE, 3}}, 0},
      {L"<vcenter>x</bottom>y", {{L"x", 400, FALSE, 1}, {L"y", 400, FALSE, 3}}, 0},
      {L"<em>x</i>y", {{L"x", 400, TRUE, 3}, {L"y", 400, FALSE, 3}}, 0},  // em and i share a name
      {L"<b>x<br><hr><t>y</b>z", {{L"x", 800, FALSE, 3}, {L"y", 800, FALSE, 3}, {L"z", 400, FALSE, 3}}, 0},
  };
  for (const Case& c : cases) {
    std::vector<StyledRun> runs = Walk(c.markup);
    ASSERT_EQ(runs.size(), c.runs.size()) << c.markup;
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i].text, c.runs[i].text) << c.markup;
      EXPECT_EQ(runs[i].style.fontWeight, c.runs[i].weight) << c.markup << " run " << i;
      EXPECT_EQ(runs[i].style.italic, c.runs[i].italic) << c.markup << " run " << i;
      EXPECT_EQ(runs[i].style.vertAlign, c.runs[i].vertAlign) << c.markup << " run " << i;
    }
    EXPECT_EQ(styles.Depth(), c.depthAtEnd) << c.markup;
  }
}

TEST_F(StyleResolverTest, TheStackStopsGrowingAtItsBoundAndStillUnwinds) {
  std::wstring deep;
  for (int i = 0; i < 1000; ++i) deep += L"<u>";
  deep += L"x";
  std::vector<StyledRun> runs = Walk(deep);
  EXPECT_EQ(styles.Depth(), HtmlStyleResolver::kMaxStackDepth);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_FALSE(runs[0].style.underline);  // an even number of toggles took effect
  for (int i = 0; i < 1000; ++i) deep += L"</u>";
  deep += L"y";
  runs = Walk(deep);
  EXPECT_EQ(styles.Depth(), 0u);
  EXPECT_FALSE(runs.back().style.underline);
}

TEST_F(StyleResolverTest, LinksTakeTheirTargetAndTheLinkOrHoverRule) {
  auto openLink = [&](const wchar_t* attributes, bool hovered) {
    styles.Begin(dc.Get());
    MarkupToken token;
    token.kind = MarkupToken::kTag;
    token.tag = FindMarkupTag(L"a", 1);
    token.attributes = attributes;
    styles.ApplyTag(token, hovered);
    HtmlTextStyle s = styles.Current();
    styles.End();
    return s;
  };
  HtmlTextStyle href = openLink(L"href=\"http://x/?a=1\"", false);
  EXPECT_EQ(href.linkKind, kLinkHref);
  EXPECT_EQ(href.linkTarget, L"http://x/?a=1");
  EXPECT_FALSE(href.underline);
  EXPECT_EQ(href.textColor, RGB(0, 0, 255));
  EXPECT_TRUE(openLink(L"href=x", true).underline);
  HtmlTextStyle msg = openLink(L"msg='hello there'", false);
  EXPECT_EQ(msg.linkKind, kLinkMsg);
  EXPECT_EQ(msg.linkTarget, L"hello there");
  HtmlTextStyle bare = openLink(L"", false);
  EXPECT_EQ(bare.linkKind, kLinkMsg);
  EXPECT_EQ(bare.linkTarget, L"");
  EXPECT_EQ(Walk(L"<a href=x>l</a>y").back().style.linkKind, kLinkNone);
}

TEST_F(StyleResolverTest, TextTransformsApplyToTheRuns) {
  styles.SetStyleSheet(L".c {text-transform:capitalize} .u {text-transform:UPPERCASE} .l {text-transform:lowercase}");
  EXPECT_EQ(DrawnText(Walk(L"<span class=c>hello wORLD</span>")), L"Hello World");
  EXPECT_EQ(DrawnText(Walk(L"<span class=c>  two  words\x00E9t\x00E9</span>")), L"  Two  Words\x00E9t\x00E9");
  EXPECT_EQ(DrawnText(Walk(L"<span class=u>abc \x00E9</span> def")), L"ABC \x00C9 def");
  EXPECT_EQ(DrawnText(Walk(L"<span class=l>ABC</span>")), L"abc");
}

TEST_F(StyleResolverTest, WhileDisabledColoursAreTheDisabledColour) {
  styles.SetEnabled(false);
  styles.SetDisabledColor(RGB(1, 2, 3));
  styles.SetStyleSheet(L".bg {background-color:red; color:blue}");
  EXPECT_EQ(StyleOf(L"x").textColor, RGB(1, 2, 3));
  EXPECT_EQ(StyleOf(L"<font color=red>x").textColor, RGB(1, 2, 3));
  EXPECT_EQ(StyleOf(L"<font bkgnd=red>x").backgroundMode, kBackgroundTransparent);
  HtmlTextStyle bg = StyleOf(L"<span class=bg>x");
  EXPECT_EQ(bg.backgroundMode, kBackgroundTransparent);
  EXPECT_EQ(bg.textColor, RGB(1, 2, 3));
  EXPECT_EQ(styles.ResolveColor(L"red", 0), RGB(1, 2, 3));
  styles.SetEnabled(true);
  EXPECT_EQ(StyleOf(L"<font color=red>x").textColor, RGB(255, 0, 0));
}

TEST_F(StyleResolverTest, TheContextGetsTheStylesFontAndColoursAndItsOwnFontBack) {
  HGDIOBJ own = GetCurrentObject(dc.Get(), OBJ_FONT);
  styles.Begin(dc.Get());
  MarkupToken token;
  std::wstring prepared = L"<font size=3 face=Arial color=#102030 bkgnd=#405060 style=bius>";
  MarkupLexer lexer(prepared);
  ASSERT_TRUE(lexer.Next(token));
  styles.ApplyTag(token);
  HGDIOBJ selected = GetCurrentObject(dc.Get(), OBJ_FONT);
  EXPECT_EQ(selected, styles.Font());
  LOGFONTW lf = {};
  ASSERT_EQ(GetObjectW(selected, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfHeight, 12);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
  EXPECT_STREQ(lf.lfFaceName, L"Arial");
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(GetBkColor(dc.Get()), RGB(0x40, 0x50, 0x60));
  EXPECT_EQ(GetBkMode(dc.Get()), OPAQUE);
  styles.End();
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), own);

  // A family longer than a font can name is cut, not overrun; a huge size
  // still makes a font GDI measures with.
  styles.SetStyleSheet(L"body {font-family:abcdefghijklmnopqrstuvwxyzabcdefghijklmnop; font-size:2000000000px}");
  styles.Begin(dc.Get());
  ASSERT_EQ(GetObjectW(GetCurrentObject(dc.Get(), OBJ_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(L"abcdefghijklmnopqrstuvwxyzabcdefghijklmnop").substr(0, LF_FACESIZE - 1));
  EXPECT_EQ(lf.lfHeight, kMaxFontHeight);
  TEXTMETRICW tm = {};
  EXPECT_TRUE(GetTextMetricsW(dc.Get(), &tm));
  EXPECT_GT(tm.tmHeight, 0);
  styles.End();
}

TEST(StyleDeclarationsTest, PropertiesAndTheirValues) {
  NamedColorTable names;
  StyleColorContext colors;
  colors.names = &names;
  // Each case starts from the defaults with a 4-pixel solid border.
  auto apply = [&](const wchar_t* declarations) {
    HtmlTextStyle s;
    s.borderWidth = 4;
    s.borderStyle = kBorderSolid;
    StyleLengthUnits units(96, 16, 8);
    ApplyStyleDeclarations(declarations, s, colors, units);
    return s;
  };
  struct Case {
    const wchar_t* declarations;
    int HtmlTextStyle::*field;
    int value;
  };
  const Case cases[] = {
      {L"border-width:0", &HtmlTextStyle::borderStyle, kBorderNone},
      {L"border-width:0", &HtmlTextStyle::borderWidth, 0},
      {L"border-style:none; border-width:3px", &HtmlTextStyle::borderStyle, kBorderSolid},
      {L"border-style:none; border-width:3px", &HtmlTextStyle::borderWidth, 3},
      {L"border-width:0; border-style:dotted", &HtmlTextStyle::borderWidth, 1},
      {L"border-width:0; border-style:dotted", &HtmlTextStyle::borderStyle, kBorderDotted},
      {L"border-style:double", &HtmlTextStyle::borderWidth, 4},
      {L"border-style:wavy", &HtmlTextStyle::borderStyle, kBorderSolid},
      {L"border-style:", &HtmlTextStyle::borderStyle, kBorderNone},
      {L"border-width:thin", &HtmlTextStyle::borderWidth, 3},
      {L"border-width:thick", &HtmlTextStyle::borderWidth, 5},
      {L"border-width:medium", &HtmlTextStyle::borderWidth, 4},
      {L"size:2000000000", &HtmlTextStyle::borderWidth, kMaxStyleLength},
      {L"border-width:", &HtmlTextStyle::borderWidth, 4},
      {L"margin:7px", &HtmlTextStyle::innerSpacing, 7},
      {L"padding:1in", &HtmlTextStyle::outerSpacing, 96},
      {L"margin:-99999999999", &HtmlTextStyle::innerSpacing, kMaxStyleLength},
      {L"font-size:+12px", &HtmlTextStyle::fontSize, 12},
      {L"font-size:-12px", &HtmlTextStyle::fontSize, 12},
      {L"font-size:10pt", &HtmlTextStyle::fontSize, 13},
      {L"font-size:2", &HtmlTextStyle::fontSize, 10},
      {L"font-size:200%", &HtmlTextStyle::fontSize, 32},
      {L"font-size:", &HtmlTextStyle::fontSize, 16},
      {L"font-weight:bold; font-weight", &HtmlTextStyle::fontWeight, 400},  // no colon: an empty value
      {L"font-weight:bold", &HtmlTextStyle::fontWeight, 700},
      {L"FONT-WEIGHT : 600", &HtmlTextStyle::fontWeight, 600},
      {L"font-style:italic", &HtmlTextStyle::italic, TRUE},
      {L"font-style:oblique; font-style:normal", &HtmlTextStyle::italic, FALSE},
      {L"text-align:right", &HtmlTextStyle::horzAlign, kAlignRight},
      {L"text-align:right; text-align:justify", &HtmlTextStyle::horzAlign, kAlignRight},
      {L"text-align:center; text-align:", &HtmlTextStyle::horzAlign, kAlignLeft},
      {L"vertical-align:top", &HtmlTextStyle::vertAlign, kAlignTop},
      {L"vertical-align:middle", &HtmlTextStyle::vertAlign, kAlignVCenter},
      {L"vertical-align:top; vertical-align:", &HtmlTextStyle::vertAlign, kAlignBaseline},
      {L"text-transform:capitalize", &HtmlTextStyle::textTransform, kTransformCapitalize},
      {L"text-decoration:underline,overline", &HtmlTextStyle::underline, TRUE},
      {L"text-decoration:underline,overline", &HtmlTextStyle::overline, TRUE},
      {L"text-decoration:line-through; text-decoration:none", &HtmlTextStyle::strikeout, FALSE},
      {L"text-decoration:line-through", &HtmlTextStyle::strikeout, TRUE},
      {L"color: ; font-weight:bold", &HtmlTextStyle::fontWeight, 400},  // ";" is skipped: the value is "font-weight:bold"
      {L"background-color:silver", &HtmlTextStyle::backgroundMode, kBackgroundOpaque},
      {L"background-color:silver; background-color:transparent", &HtmlTextStyle::backgroundMode, kBackgroundTransparent},
      {L"unknown:5; margin:3", &HtmlTextStyle::innerSpacing, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(apply(c.declarations).*c.field, c.value) << c.declarations;
  struct ColorCase {
    const wchar_t* declarations;
    COLORREF HtmlTextStyle::*field;
    COLORREF value;
  };
  const ColorCase colorCases[] = {
      {L"color:#FF0000", &HtmlTextStyle::textColor, RGB(255, 0, 0)},
      {L"color:RED", &HtmlTextStyle::textColor, RGB(255, 0, 0)},
      {L"border-color:lime", &HtmlTextStyle::borderColorDark, RGB(0, 255, 0)},
      {L"background-color:silver", &HtmlTextStyle::backgroundColor, RGB(192, 192, 192)},
  };
  for (const ColorCase& c : colorCases) EXPECT_EQ(apply(c.declarations).*c.field, c.value) << c.declarations;
}

}  // namespace
