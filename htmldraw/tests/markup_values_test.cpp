// Numbers, colours, lengths and weights of attributes and declarations.
#include <gtest/gtest.h>

#include <climits>

#include "htmldraw/markup_values.h"
#include "htmldraw/named_colors.h"

namespace {

TEST(MarkupValuesTest, NumbersSaturateInsteadOfWrapping) {
  struct Case {
    const wchar_t* text;
    int leading;
    uint32_t unsignedValue;
  };
  const Case cases[] = {
      {L"12", 12, 12},
      {L"0x1F", 0, 31},
      {L"0X1f", 0, 31},
      {L"017", 17, 15},  // octal after a leading 0
      {L"089", 89, 0},   // 8 is no octal digit
      {L"-5", -5, 0},
      {L"+7px", 7, 0},
      {L"  42", 42, 0},
      {L"2147483647", INT_MAX, 2147483647u},
      {L"2147483648", INT_MAX, 2147483648u},
      {L"-2147483649", INT_MIN, 0},
      {L"99999999999999999999", INT_MAX, 0xFFFFFFFFu},
      {L"0xFFFFFFFFFFFF", 0, 0xFFFFFFFFu},
      {L"4294967296", INT_MAX, 0xFFFFFFFFu},
      {L"", 0, 0},
      {L"abc", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseLeadingInt(c.text), c.leading) << c.text;
    EXPECT_EQ(ParseUnsignedNumber(c.text), c.unsignedValue) << c.text;
  }
}

TEST(MarkupValuesTest, ColoursByNameHexAndNumber) {
  NamedColorTable names;
  const COLORREF current = RGB(1, 2, 3);
  struct Case {
    const wchar_t* value;
    COLORREF color;
  };
  const Case cases[] = {
      {L"#00ff00", RGB(0, 255, 0)},
      {L"#FF9900", RGB(255, 153, 0)},
      {L"#0f0", current},        // only six digits make a colour
      {L"#00ff000", current},
      {L"#00gg00", current},
      {L"#", current},
      {L"255", RGB(255, 0, 0)},  // a number is the COLORREF itself
      {L"0xff0000", RGB(0, 0, 255)},
      {L"0377", RGB(255, 0, 0)},
      {L"99999999999", RGB(255, 255, 255)},  // beyond a colour: clamped, not wrapped
      {L"red", RGB(255, 0, 0)},
      {L"green", RGB(0, 128, 0)},
      {L"lightgrey", RGB(211, 211, 211)},
      {L"lightgray", current},   // only the spelling of the table
      {L"grey", current},
      {L"Red", current},         // names are lower case
      {L"", current},
      {L"nosuchcolour", current},
      {L"windowtext", GetSysColor(COLOR_WINDOWTEXT)},
      {L"infobackground", GetSysColor(COLOR_INFOBK)},
      {L"threedlightshadow", GetSysColor(COLOR_3DLIGHT)},
      {L"scrollbar", GetSysColor(COLOR_SCROLLBAR)},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseMarkupColor(c.value, current, names), c.color) << c.value;
  EXPECT_EQ(names.Count(), 139u + 28u);
  COLORREF found;
  EXPECT_FALSE(names.Find(std::wstring(L"red\0x", 5), found));
}

TEST(MarkupValuesTest, LengthsInEveryUnitAreClamped) {
  StyleLengthUnits units(96, 20, 9);
  struct Case {
    const wchar_t* value;
    int current;
    LengthKind kind;
    int pixels;
  };
  const LengthKind plain = LengthKind::kPlain, font = LengthKind::kFontSize;
  const Case cases[] = {
      {L"10pt", 0, plain, 13},
      {L"1in", 0, plain, 96},
      {L"1cm", 0, plain, 37},
      {L"10mm", 0, plain, 37},
      {L"2pc", 0, plain, 32},
      {L"+12px", 0, plain, 12},
      {L"-12px", 0, plain, 12},  // lengths are never negative
      {L"2em", 0, plain, 40},
      {L"3ex", 0, plain, 27},
      {L"1.5em", 0, plain, 20},  // the integer part
      {L"50%", 17, plain, 9},    // rounded half away from zero
      {L"65%", 16, font, 10},
      {L"", 7, plain, 7},
      {L"12", 0, plain, 12},
      {L"0x10", 0, plain, 16},
      {L"3", 0, plain, 3},
      {L"3", 0, font, 12},       // an HTML size
      {L"1", 0, font, 8},
      {L"7", 0, font, 36},
      {L"9", 0, font, 9},
      {L"3px", 0, font, 3},
      {L"abc", 5, plain, 0},
      {L"--5px", 0, plain, 0},
      {L"2000000000", 0, plain, kMaxStyleLength},
      {L"2000000000px", 0, plain, kMaxStyleLength},
      {L"99999999em", 0, font, kMaxFontHeight},
      {L"99999999999999in", 0, plain, kMaxStyleLength},
      {L"99999999%", 30000, plain, kMaxStyleLength},
      {L"-99999999999%", 30000, plain, kMaxStyleLength},
      {L"2000000000cm", 0, plain, kMaxStyleLength},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseStyleLength(c.value, c.current, units, c.kind), c.pixels) << c.value;
}

TEST(MarkupValuesTest, LengthUnitsComeFromTheContextAndItsFont) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  LOGFONTW lf = {};
  lf.lfHeight = 30;
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm = {};
  ASSERT_TRUE(GetTextMetricsW(dc, &tm));
  SIZE x = {};
  ASSERT_TRUE(GetTextExtentPoint32W(dc, L"x", 1, &x));
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);

  StyleLengthUnits units(dc);
  EXPECT_EQ(ParseStyleLength(L"2em", 0, units), 2 * tm.tmHeight);
  EXPECT_EQ(ParseStyleLength(L"2ex", 0, units), 2 * x.cy);
  EXPECT_EQ(ParseStyleLength(L"1in", 0, units), dpi);
  EXPECT_EQ(ParseStyleLength(L"10pt", 0, units), 10 * dpi / 72);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

TEST(MarkupValuesTest, FontWeights) {
  struct Case {
    const wchar_t* value;
    int weight;
  };
  const Case cases[] = {{L"", 400},       {L"normal", 400}, {L"bold", 700}, {L"bolder", 900},
                        {L"lighter", 100}, {L"600", 600},    {L"x", 0},      {L"5000", 1000},
                        {L"-3", 0},        {L"99999999999", 1000}};
  for (const Case& c : cases) EXPECT_EQ(ParseFontWeight(c.value), c.weight) << c.value;
}

TEST(MarkupValuesTest, BackgroundEffectsByNameOrNumber) {
  struct Case {
    const wchar_t* value;
    int effect;
  };
  const Case cases[] = {{L"transparent", -1}, {L"solid", 0},    {L"hgradient", 1}, {L"3hgradient", 5},
                        {L"3vgradient", 6},   {L"noise", 7},    {L"metal", 15},    {L"7", 7},
                        {L"-1", -1},          {L"99999999999", 15}, {L"-5", -1},   {L"Metal", 4},
                        {L"", 4},             {L"sparkle", 4}};
  for (const Case& c : cases) EXPECT_EQ(ParseBackgroundEffect(c.value, 4), c.effect) << c.value;
}

}  // namespace
